// Synthesis at the limit: 500 peaks over 32767 points, for each profile, by
// the straightforward loop (peaks outer, points inner, scalar) and by the
// evaluation the program uses, with two threads and with one, with the
// widest kernel the machine has, with AVX2 and with the portable one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "core/store.h"
#include "synthesis/noise.h"
#include "synthesis/profiles.h"

namespace {

using namespace talvo;

// A powder pattern's worth of lines spread over 5..90 degrees, in the order
// a peak list gives them.
const std::vector<Peak>& Bench_Peaks() {
  static const std::vector<Peak> peaks = [] {
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> angle(5.6, 89.4), intensity(1, 100);
    std::vector<Peak> list(Max_Peaks);
    for (auto& peak : list) peak = {angle(random), intensity(random)};
    std::sort(list.begin(), list.end(), [](const Peak& a, const Peak& b) { return a.Position < b.Position; });
    return list;
  }();
  return peaks;
}

Synthesis_Params Bench_Params(int16_t profile) {
  Synthesis_Params params;
  params.peaks = Bench_Peaks();
  params.r0 = 5;
  params.r1 = 90;
  params.n = Max_Points;
  params.profile = Profile_Of(profile);
  return params;
}

template <std::vector<float> (*Synthesise_Fn)(const Synthesis_Params&, Noise_Sequence&), int Threads = 0,
          Kernel Widest = Kernel::Widest>
void BM_Synthesis(benchmark::State& state) {
  Synthesis_Params params = Bench_Params(static_cast<int16_t>(state.range(0)));
  params.threads = Threads;
  params.kernel = Widest;
  Noise_Sequence noise;
  for (auto _ : state) {
    auto scan = Synthesise_Fn(params, noise);
    benchmark::DoNotOptimize(scan.data());
  }
  state.SetItemsProcessed(state.iterations() * Max_Peaks * Max_Points);
}

BENCHMARK(BM_Synthesis<Synthesise_Straight>)
    ->Name("Synthesis/straight")
    ->ArgName("profile")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Synthesis<Synthesise, 2>)
    ->Name("Synthesis/program")
    ->ArgName("profile")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Synthesis<Synthesise, 1>)
    ->Name("Synthesis/program_one_thread")
    ->ArgName("profile")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Synthesis<Synthesise, 1, Kernel::Avx2>)
    ->Name("Synthesis/program_one_thread_avx2")
    ->ArgName("profile")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Synthesis<Synthesise, 2, Kernel::Portable>)
    ->Name("Synthesis/program_portable")
    ->ArgName("profile")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Synthesis<Synthesise, 1, Kernel::Portable>)
    ->Name("Synthesis/program_one_thread_portable")
    ->ArgName("profile")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);

// How far the program's points lie from the straightforward loop's, in
// float steps (0 by construction): one run of each, reported as counters.
void BM_Agreement(benchmark::State& state) {
  const Synthesis_Params params = Bench_Params(static_cast<int16_t>(state.range(0)));
  double differing = 0, widest = 0;
  for (auto _ : state) {
    Noise_Sequence a, b;
    const auto straight = Synthesise_Straight(params, a);
    const auto fast = Synthesise(params, b);
    for (std::size_t k = 1; k < fast.size(); ++k) {
      if (fast[k] == straight[k]) continue;
      ++differing;
      double steps = 0;
      for (float v = fast[k]; v != straight[k] && steps < 100; ++steps) v = std::nextafter(v, straight[k]);
      widest = std::max(widest, steps);
    }
  }
  state.counters["differing_points"] = differing;
  state.counters["widest_float_steps"] = widest;
}
BENCHMARK(BM_Agreement)
    ->Name("Synthesis/agreement")
    ->ArgName("profile")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
