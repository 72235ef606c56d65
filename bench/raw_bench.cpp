// Reading and writing a RAW version 2 file at the largest scan size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/file_io.h"
#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "formats/diffracplus/raw.h"

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

}  // namespace
