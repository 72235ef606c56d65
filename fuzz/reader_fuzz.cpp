// One reader under libFuzzer; TALVO_FUZZ_READER names it (see CMakeLists.txt).
#include <cstddef>
#include <cstdint>

#include "fixtures/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  talvo::testing::Fuzz_Reader(TALVO_FUZZ_READER, {data, size});
  return 0;
}
