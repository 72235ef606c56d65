// Writes the sample files and their README into the folder given (samples/).
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fixtures/sample_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_samples FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const auto& sample : talvo::testing::Sample_Files()) {
    std::ofstream out(folder / sample.name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(sample.bytes.data()), static_cast<std::streamsize>(sample.bytes.size()));
  }
  std::ofstream(folder / "README.md", std::ios::binary) << talvo::testing::Samples_Readme();
  return 0;
}
