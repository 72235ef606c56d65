// The signature check and the dispatcher under libFuzzer: the first byte of
// an input picks the input type, the second the output type.
#include <cstddef>
#include <cstdint>

#include "fixtures/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  talvo::testing::Fuzz_Dispatch({data, size});
  return 0;
}
