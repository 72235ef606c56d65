// Reading XRDML scans of 32 767 and 1 000 000 points (one Gonio scan,
// 2-theta start and end, integer counts), with the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <string>

#include "core/store.h"
#include "formats/panalytical/xrdml.h"

namespace {

std::vector<uint8_t> Xrdml_Scan(int points) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xrdMeasurements "
      "xmlns=\"http://www.xrdml.com/XRDMeasurement/1.5\"><xrdMeasurement><usedWavelength><kAlpha1>1.5405980</kAlpha1>"
      "</usedWavelength><scan scanAxis=\"Gonio\"><dataPoints><positions "
      "axis=\"2Theta\"><startPosition>3</startPosition>"
      "<endPosition>" +
      std::to_string(3 + 0.01 * (points - 1)) +
      "</endPosition></positions><commonCountingTime>1</commonCountingTime><intensities unit=\"counts\">";
  for (int k = 0; k < points; ++k)
    text +=
        std::to_string(static_cast<int>(100 + 900 * std::exp(-std::pow((k % 2000) - 1000, 2) / 5e3) + k * 7919 % 97)) +
        ' ';
  text += "</intensities></dataPoints></scan></xrdMeasurement></xrdMeasurements>\n";
  return {text.begin(), text.end()};
}

double Peak_Memory_MiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_Read_Xrdml(benchmark::State& state) {
  const talvo::Input_File file{"bench.xrdml", "bench.xrdml", Xrdml_Scan(static_cast<int>(state.range(0)))};
  for (auto _ : state) {
    talvo::Store store;
    talvo::Read_Xrdml(file, store);
    benchmark::DoNotOptimize(store.Intensities.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.bytes.size()));
  state.counters["file_MiB"] = static_cast<double>(file.bytes.size()) / (1 << 20);
  state.counters["peak_rss_MiB"] = Peak_Memory_MiB();
}
BENCHMARK(BM_Read_Xrdml)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
