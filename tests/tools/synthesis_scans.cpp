// Writes synthesised scans without noise into the folder given, one file of
// little-endian 32-bit floats per profile and evaluation: scan<profile>-
// straight.bin, -program.bin (the widest kernel the machine has, threads)
// and -portable.bin. Builds by other compilers and for other platforms must
// write the same bytes; CI compares them.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/store.h"
#include "synthesis/noise.h"
#include "synthesis/profiles.h"

namespace {

using namespace talvo;

// 300 lines over 5..90 degrees from the standard Mersenne twister's integers
// (the same on every platform, unlike its real distributions), intensities
// 0.01..100, and two lines beyond the range.
std::vector<Peak> Peak_List() {
  std::mt19937 random;
  std::vector<Peak> peaks(300);
  for (auto& peak : peaks)
    peak = {5 + static_cast<double>(random() % 8500000) / 100000, static_cast<double>(1 + random() % 10000) / 100};
  peaks.push_back({-3, 50});
  peaks.push_back({97.5, 100});
  return peaks;
}

std::string Bytes(const std::vector<float>& scan) {
  std::string bytes;
  for (std::size_t k = 1; k < scan.size(); ++k)
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<char>(std::bit_cast<uint32_t>(scan[k]) >> shift));
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: synthesis_scans FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::vector<Peak> peaks = Peak_List();
  for (int16_t profile = 1; profile <= 3; ++profile) {
    Synthesis_Params params{
        .peaks = peaks, .r0 = 5, .r1 = 90, .n = Max_Points, .profile = Profile_Of(profile), .noise = 0};
    Noise_Sequence noise;
    const std::string name = (folder / ("scan" + std::to_string(profile))).string();
    Write_File_Atomically(name + "-straight.bin", Bytes(Synthesise_Straight(params, noise)));
    Write_File_Atomically(name + "-program.bin", Bytes(Synthesise(params, noise)));
    params.kernel = Kernel::Portable;
    Write_File_Atomically(name + "-portable.bin", Bytes(Synthesise(params, noise)));
  }
  return 0;
}
