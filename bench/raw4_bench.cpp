// Reading a RAW version 4 file against the same scan as RAW version 2, at
// the largest scan the system's writers take.
#include <benchmark/benchmark.h>

#include "core/store.h"
#include "fixtures/raw34_builder.h"
#include "formats/bruker/raw_any.h"
#include "formats/diffracplus/raw.h"

namespace {

using namespace talvo;

std::vector<float> Largest_Counts() {
  std::vector<float> counts(Max_Points);
  for (int k = 0; k < Max_Points; ++k) counts[k] = static_cast<float>(100 + k % 977);
  return counts;
}

template <typename Read>
void Run(benchmark::State& state, const std::vector<uint8_t>& bytes, Read read) {
  const Input_File file{"bench.raw", "bench.raw", bytes};
  for (auto _ : state) {
    Store store;
    read(file, store);
    benchmark::DoNotOptimize(store.Max_Intensity);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_Read_Raw2_Largest(benchmark::State& state) {
  testing::Raw_Scan scan;
  scan.intensities = Largest_Counts();
  Run(state, testing::Raw2_File(scan), Read_Raw2);
}
BENCHMARK(BM_Read_Raw2_Largest)->Unit(benchmark::kMicrosecond);

void BM_Read_Raw4_Largest(benchmark::State& state) {
  testing::Raw34_Scan scan;
  scan.ranges[0].counts = Largest_Counts();
  Run(state, testing::Raw4_File(scan), Read_Raw_Any);
}
BENCHMARK(BM_Read_Raw4_Largest)->Unit(benchmark::kMicrosecond);

}  // namespace
