// One reader under libFuzzer. The build makes one target per reader of the
// registry as a link to this program, named fuzz_<reader> (see
// CMakeLists.txt); the name it is started under picks the reader.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fixtures/fuzz_entry.h"

namespace {

std::string reader;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const std::string program = *argc > 0 ? (*argv)[0] : "";
  const std::string name = program.substr(program.find_last_of('/') + 1);
  reader = name.rfind("fuzz_", 0) == 0 ? name.substr(5) : name;
  if (talvo::testing::Fuzz_Input_Type(reader).empty()) {
    std::fprintf(stderr, "%s: no reader named \"%s\" (start it as fuzz_<reader>)\n", program.c_str(), reader.c_str());
    std::exit(2);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  talvo::testing::Fuzz_Reader(reader, {data, size});
  return 0;
}
