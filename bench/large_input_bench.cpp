// Every reader on inputs of 1 MiB: a sample grown by repeating its data, and
// three kinds of rubbish. Each must finish well under a second, whether it
// reads the file or refuses it.
#include <benchmark/benchmark.h>

#include <map>
#include <random>

#include "fixtures/fuzz_entry.h"
#include "fixtures/sample_files.h"

namespace {

using namespace talvo::testing;
using Bytes = std::vector<uint8_t>;

constexpr std::size_t MiB = 1 << 20;

// The shipped sample each reader reads; the readers of the zip and XML
// formats have none (their inputs are only random and repeated bytes here).
const std::map<std::string_view, std::string_view>& Sample_Names() {
  static const std::map<std::string_view, std::string_view> names = {{"raw1", "quartz-v1.raw"},
                                                                     {"raw2", "quartz.raw"},
                                                                     {"raw_ascii", "quartz-text.raw"},
                                                                     {"dif", "quartz.dif"},
                                                                     {"uxd", "quartz.uxd"},
                                                                     {"text_di", "quartz-di.txt"},
                                                                     {"diamond", "quartz-diamond.txt"},
                                                                     {"text_raw", "quartz-scan.txt"},
                                                                     {"xye", "quartz.xye"},
                                                                     {"gsas", "quartz.gsas"},
                                                                     {"oxford", "quartz.dat"}};
  return names;
}

const Sample_File& Sample_For(std::string_view reader) {
  static const auto samples = Sample_Files();
  for (const auto& sample : samples)
    if (sample.name == Sample_Names().at(reader)) return sample;
  std::abort();
}

// The sample with its second half repeated until the file holds 1 MiB.
Bytes Grown(const Bytes& file) {
  Bytes grown = file;
  const Bytes tail(file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2), file.end());
  while (grown.size() < MiB) grown.insert(grown.end(), tail.begin(), tail.end());
  grown.resize(MiB);
  return grown;
}

Bytes Random_Bytes() {
  std::mt19937 generator(7);
  Bytes bytes(MiB);
  for (auto& byte : bytes) byte = static_cast<uint8_t>(generator());
  return bytes;
}

Bytes Repeated(std::string_view unit) {
  Bytes bytes;
  while (bytes.size() < MiB) bytes.insert(bytes.end(), unit.begin(), unit.end());
  return bytes;
}

void BM_Reader_1MiB(benchmark::State& state, std::string_view reader, int kind) {
  Bytes input;
  switch (kind) {
    case 0:
      input = Grown(Sample_For(reader).bytes);
      break;
    case 1:
      input = Random_Bytes();
      break;
    case 2:
      input = Repeated("1 ");
      break;
    default:
      input = Repeated("\r\n");
      break;
  }
  for (auto _ : state) benchmark::DoNotOptimize(Fuzz_Reader(reader, input).failed);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
}

const int registered = [] {
  const char* kinds[] = {"grown", "random", "ones", "line_ends"};
  static const std::vector<std::string> readers = Fuzz_Readers();  // the benchmarks keep views of the names
  for (const std::string_view reader : readers)
    for (int kind = Sample_Names().contains(reader) ? 0 : 1; kind < 4; ++kind)
      benchmark::RegisterBenchmark(("BM_Reader_1MiB/" + std::string(reader) + "/" + kinds[kind]).c_str(),
                                   BM_Reader_1MiB, reader, kind)
          ->Unit(benchmark::kMillisecond);
  return 0;
}();

}  // namespace
