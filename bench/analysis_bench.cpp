// Writing a scan of 32767 points in each analysis format.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "formats/analysis/analysis_writers.h"

namespace {

using namespace talvo;

// 3 by 0.01 degrees, counts with a fraction, as a RAW version 2 scan holds them.
Store Largest_Scan() {
  Store store;
  store.Nb_Points = Max_Points;
  store.Intensities.resize(Max_Points + 1);
  for (int k = 1; k <= Max_Points; ++k) store.Intensities[k] = static_cast<float>(100 + k % 977) + (k % 97) / 7.0f;
  store.Start_2Theta = 3.0f;
  store.Range_Limits = {3.0, 3.0 + (Max_Points - 1) * 0.01};
  store.Step_Size = 0.01f;
  return store;
}

template <void (*Write)(const std::string&, const Store&, Platform&)>
void BM_Write(benchmark::State& state) {
  const Store store = Largest_Scan();
  testing::Recording_Platform platform;
  const std::string path = (std::filesystem::temp_directory_path() / "talvo-bench-analysis.out").string();
  for (auto _ : state) {
    Write(path, store, platform);
    platform.calls.clear();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}
BENCHMARK(BM_Write<Write_Xy>)->Name("BM_Write_Xy")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write<Write_Xye>)->Name("BM_Write_Xye")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write<Write_Csv>)->Name("BM_Write_Csv")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write<Write_Fxye>)->Name("BM_Write_Fxye")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write<Write_Cif>)->Name("BM_Write_Cif")->Unit(benchmark::kMicrosecond);

}  // namespace
