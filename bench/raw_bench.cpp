// Reading and writing a RAW version 2 file at the largest scan size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/dispatch.h"
#include "core/file_io.h"
#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "formats/diffracplus/raw.h"
#include "formats/format_table.h"

namespace {

using namespace talvo;

Store Largest_Scan() {
  Store store;
  store.Nb_Points = Max_Points;
  store.Intensities.resize(Max_Points + 1);
  for (int k = 1; k <= Max_Points; ++k) store.Intensities[k] = static_cast<float>(100 + k % 977);
  return store;
}

std::string Bench_Path(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

void BM_Write_Raw2(benchmark::State& state) {
  const Store store = Largest_Scan();
  testing::Recording_Platform platform;
  const std::string path = Bench_Path("talvo-bench-write.raw");
  for (auto _ : state) {
    Write_Raw2(path, store, platform);
    platform.calls.clear();
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * (316 + 4 * Max_Points));
}
BENCHMARK(BM_Write_Raw2)->Unit(benchmark::kMicrosecond);

void BM_Read_Raw2(benchmark::State& state) {
  testing::Recording_Platform platform;
  const std::string path = Bench_Path("talvo-bench-read.raw");
  Write_Raw2(path, Largest_Scan(), platform);
  Store store;
  for (auto _ : state) {
    Read_Raw2(Load_Input_File(path), store);
    benchmark::DoNotOptimize(store.Max_Intensity);
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * (316 + 4 * Max_Points));
}
BENCHMARK(BM_Read_Raw2)->Unit(benchmark::kMicrosecond);

// A 10-point file read by type name as the front ends read it (the file
// opened, classified and read into a fresh store): what a call of the Python
// module's talvo.read costs beyond this is the module's own overhead.
void BM_Read_Only_Small_Raw2(benchmark::State& state) {
  testing::Recording_Platform platform;
  Store small;
  small.Nb_Points = 10;
  small.Intensities.assign(11, 5.0f);
  const std::string path = Bench_Path("talvo-bench-small.raw");
  Write_Raw2(path, small, platform);
  for (auto _ : state) {
    Store store;
    platform.calls.clear();
    Session session{store, platform, Format_Table()};
    benchmark::DoNotOptimize(Read_Only(session, "Diffrac-Plus RAW", path));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_Read_Only_Small_Raw2)->Unit(benchmark::kMicrosecond);

}  // namespace
