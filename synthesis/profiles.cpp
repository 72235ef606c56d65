// Two evaluations of one sum. Synthesise_Straight is the loop as the
// synthesis is defined: peaks outer, points inner, scalar exp2 and pow.
// Synthesise gives the same points faster:
//
// - Points are taken in chunks that stay in the first-level cache, each
//   chunk running every peak in table order, so each point still adds its
//   peaks in order and rounds to a float after each. Chunks are independent
//   and shared between threads; the noise is drawn beforehand in point order.
// - The 2-theta of each point is computed once instead of once per peak.
// - Gauss: exp2(-u^2) is exactly 0 for u^2 >= 1075, so a peak adds an exact
//   zero to every point farther than 33 half-widths; those points are
//   skipped (a negative zero added is a no-op; a positive zero is one unless
//   the point is -0, which cannot happen while no contribution and no
//   starting value is negative). Inside the window scalar std::exp2 is used,
//   so every point is equal to the straightforward loop's.
// - Gauss and Pearson VII, while every start value and every contribution
//   is positive (so a point only rises): a peak is skipped for a chunk when
//   a bound of what it adds there is below an eighth of the float step of
//   the chunk's smallest value, as such an addition rounds back to the
//   point's own value.
// - Lorentz: the divisions vectorise as they are, so every point is equal.
// - Pearson VII: the power is taken four or eight points at a time with
//   glibc's vector pow (AVX2 or AVX-512, chosen at run time) in GCC builds
//   on machines that have it. It may round differently from the scalar pow
//   in the last bit of a double, which can move a point by one float step
//   in the rare case where the sum lies on a float rounding boundary.
//   Otherwise std::pow is used and the points are equal.
//
// The file is compiled without floating-point contraction, so that
// 1 + c * u^2 rounds twice here as in the straightforward loop.
#include "synthesis/profiles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>

#include "synthesis/noise.h"

// Clang 14 passes these vector arguments in memory, not in the registers the
// routines take them in, so the vector pow is GCC's alone.
#if defined(TALVO_HAVE_MVEC) && defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#include <immintrin.h>
#define TALVO_VECTOR_POW 1
// glibc's vector pow, by the x86-64 vector function ABI: AVX2, 4 lanes and
// AVX-512, 8 lanes.
extern "C" __m256d _ZGVdN4vv_pow(__m256d, __m256d);
extern "C" __m512d _ZGVeN8vv_pow(__m512d, __m512d);
#endif

namespace talvo {

double Pearson_M() {
  return std::exp(1.0);
}
double Pearson_C() {
  return std::exp2(1 / Pearson_M()) - 1;
}

std::vector<float> Synthesise_Straight(const Synthesis_Params& params, Noise_Sequence& noise) {
  const int32_t n = params.n;
  std::vector<float> y(static_cast<std::size_t>(n) + 1, 0.0f);
  const double m = Pearson_M(), c = Pearson_C();
  const double half = params.fwhm * 0.5;
  bool first = true;
  for (const Peak& peak : params.peaks) {
    const double a = 10 * peak.Intensity;
    const double p = peak.Position;
    for (int32_t k = 1; k <= n; ++k) {
      const double two_theta = (params.r1 - params.r0) * (k - 1) / n + params.r0;
      double value = first ? static_cast<double>(params.noise) * noise.Next() + params.bkg : y[k];
      const double u = (two_theta - p) / half;
      switch (params.profile) {
        case 1:
          value += a * std::exp2(-(u * u));
          break;
        case 2:
          value += a / (1 + u * u);
          break;
        case 3:
          value += a / std::pow(1 + c * (u * u), m);
          break;
        default:
          break;
      }
      y[k] = static_cast<float>(value);
    }
    first = false;
  }
  return y;
}

namespace {

constexpr int32_t Chunk = 1024;     // points: x, the start values and y stay in L1
constexpr double Gauss_Reach = 33;  // half-widths; exp2(-33^2) is 0

struct Term {
  double a, p;
  int32_t lo, hi;  // points where the profile may add something other than 0
};

struct Work {
  const std::vector<double>& x;   // 2-theta of each point
  const std::vector<double>& y0;  // background and noise
  std::vector<float>& y;
  const std::vector<Term>& terms;
  int16_t profile;
  double h, c, m;
  bool rising;  // every start value and every contribution is positive
};

// The power of a block of Pearson VII denominators, by the widest routine at hand.
using Pow_Block = void (*)(const double* s, double* out, int32_t count, double m);

void Pow_Scalar(const double* s, double* out, int32_t count, double m) {
  for (int32_t i = 0; i < count; ++i) out[i] = std::pow(s[i], m);
}

// The float step above the smallest start value of a chunk: no point of the
// chunk ever has a smaller one while the points only rise. 0 when the
// smallest value is not a positive normal float.
inline double Smallest_Step(const double* y0, int32_t count) {
  double low = y0[0];
  for (int32_t i = 1; i < count; ++i) low = std::min(low, y0[i]);
  float below = static_cast<float>(low);
  if (static_cast<double>(below) > low) below = std::nextafter(below, 0.0f);
  if (!(below >= std::numeric_limits<float>::min()) || !std::isfinite(below)) return 0;
  return static_cast<double>(std::nextafter(below, std::numeric_limits<float>::infinity())) - below;
}

// True when a Gauss or Pearson VII peak adds less than `limit` to every
// point of a chunk spanning [x0, x1]: each computed step of the profile is
// monotonic in the distance, so the point nearest the peak bounds them all;
// the bound is widened well past the rounding of exp2, pow and the division.
// A point of float step q that receives less than q / 8 rounds back to
// itself.
inline bool Adds_Below(double a, double p, double x0, double x1, const Work& w, double limit) {
  double nearest;
  if (p <= x0)
    nearest = x0 - p;
  else if (p >= x1)
    nearest = p - x1;
  else
    return false;
  const double u = nearest / std::fabs(w.h);
  if (w.profile == 1) return a * std::exp2(-(u * u)) * (1 + 1e-12) < limit;
  const double power = std::pow(1 + w.c * (u * u), w.m) * (1 - 1e-12);
  return a / power * (1 + 1e-12) < limit;
}

// One chunk of points [k0, k1) through every peak in table order.
template <Pow_Block Pow>
[[gnu::always_inline]] inline void Run_Chunk(const Work& w, int32_t k0, int32_t k1) {
  const double* x = w.x.data();
  float* y = w.y.data();
  const double h = w.h, c = w.c, m = w.m;
  alignas(64) double s[Chunk], power[Chunk];
  const double step = (w.profile == 1 || w.profile == 3) && w.rising ? Smallest_Step(w.y0.data() + k0, k1 - k0) : 0;
  bool first = true;
  for (const Term& t : w.terms) {
    const double a = t.a, p = t.p;
    const int32_t lo = first ? k0 : std::max(k0, t.lo), hi = first ? k1 : std::min(k1, t.hi + 1);
    const double* start = first ? w.y0.data() : nullptr;
    if (lo >= hi) continue;
    if (!first && step > 0 && Adds_Below(a, p, x[k0], x[k1 - 1], w, step / 8)) continue;
    first = false;
    switch (w.profile) {
      case 1:
        for (int32_t k = lo; k < hi; ++k) {
          const double u = (x[k] - p) / h;
          const double value = start ? start[k] : static_cast<double>(y[k]);
          y[k] = static_cast<float>(value + a * std::exp2(-(u * u)));
        }
        break;
      case 2:
        if (start) {
#pragma omp simd
          for (int32_t k = lo; k < hi; ++k) {
            const double u = (x[k] - p) / h;
            y[k] = static_cast<float>(start[k] + a / (1 + u * u));
          }
        } else {
#pragma omp simd
          for (int32_t k = lo; k < hi; ++k) {
            const double u = (x[k] - p) / h;
            y[k] = static_cast<float>(static_cast<double>(y[k]) + a / (1 + u * u));
          }
        }
        break;
      case 3: {
        const int32_t count = hi - lo;
#pragma omp simd
        for (int32_t i = 0; i < count; ++i) {
          const double u = (x[lo + i] - p) / h;
          s[i] = 1 + c * (u * u);
        }
        Pow(s, power, count, m);
        if (start) {
#pragma omp simd
          for (int32_t i = 0; i < count; ++i) y[lo + i] = static_cast<float>(start[lo + i] + a / power[i]);
        } else {
#pragma omp simd
          for (int32_t i = 0; i < count; ++i)
            y[lo + i] = static_cast<float>(static_cast<double>(y[lo + i]) + a / power[i]);
        }
        break;
      }
      default:
        if (start)
          for (int32_t k = lo; k < hi; ++k) y[k] = static_cast<float>(start[k]);
        break;
    }
  }
}

void Run_Scalar(const Work& w, int32_t k0, int32_t k1) {
  Run_Chunk<Pow_Scalar>(w, k0, k1);
}

#ifdef TALVO_VECTOR_POW
[[gnu::target("avx2")]] void Pow_Avx2(const double* s, double* out, int32_t count, double m) {
  const __m256d power = _mm256_set1_pd(m);
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) _mm256_storeu_pd(out + i, _ZGVdN4vv_pow(_mm256_loadu_pd(s + i), power));
  for (; i < count; ++i) out[i] = std::pow(s[i], m);
}
[[gnu::target("avx512f")]] void Pow_Avx512(const double* s, double* out, int32_t count, double m) {
  const __m512d power = _mm512_set1_pd(m);
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) _mm512_storeu_pd(out + i, _ZGVeN8vv_pow(_mm512_loadu_pd(s + i), power));
  for (; i < count; ++i) out[i] = std::pow(s[i], m);
}
[[gnu::target("avx2")]] void Run_Avx2(const Work& w, int32_t k0, int32_t k1) {
  Run_Chunk<Pow_Avx2>(w, k0, k1);
}
[[gnu::target("avx512f")]] void Run_Avx512(const Work& w, int32_t k0, int32_t k1) {
  Run_Chunk<Pow_Avx512>(w, k0, k1);
}
#endif

using Runner = void (*)(const Work&, int32_t, int32_t);

// The widest kernel the machine runs, no wider than `widest`.
Runner Kernel_For(Kernel widest) {
#ifdef TALVO_VECTOR_POW
  __builtin_cpu_init();
  if (widest == Kernel::Widest && __builtin_cpu_supports("avx512f")) return &Run_Avx512;
  if (widest != Kernel::Portable && __builtin_cpu_supports("avx2")) return &Run_Avx2;
#else
  (void)widest;
#endif
  return &Run_Scalar;
}

// Points 1..n where a Gauss peak at p may add anything but an exact zero:
// outside, the computed |2-theta - p| is at least 33 half-widths.
void Gauss_Window(const std::vector<double>& x, int32_t n, double h, Term& t) {
  const double reach = Gauss_Reach * std::fabs(h);
  const auto first = x.begin() + 1, last = x.begin() + n + 1;
  const auto lo = std::partition_point(first, last, [&](double xk) { return xk - t.p <= -reach; });
  const auto hi = std::partition_point(lo, last, [&](double xk) { return xk - t.p < reach; });
  t.lo = static_cast<int32_t>(lo - x.begin());
  t.hi = static_cast<int32_t>(hi - x.begin()) - 1;
}

}  // namespace

std::vector<float> Synthesise(const Synthesis_Params& params, Noise_Sequence& noise) {
  const int32_t n = params.n;
  std::vector<float> y(static_cast<std::size_t>(n) + 1, 0.0f);
  if (params.peaks.empty()) return y;

  std::vector<double> x(static_cast<std::size_t>(n) + 1, 0.0), y0(static_cast<std::size_t>(n) + 1, 0.0);
  bool start_signed = false;
  for (int32_t k = 1; k <= n; ++k) {
    x[k] = (params.r1 - params.r0) * (k - 1) / n + params.r0;
    y0[k] = static_cast<double>(params.noise) * noise.Next() + params.bkg;
    start_signed = start_signed || std::signbit(y0[k]);
  }

  const double h = params.fwhm * 0.5;
  std::vector<Term> terms;
  terms.reserve(params.peaks.size());
  bool contribution_signed = false;
  for (const Peak& peak : params.peaks) {
    terms.push_back({10 * peak.Intensity, peak.Position, 1, n});
    contribution_signed = contribution_signed || std::signbit(terms.back().a);
  }
  // The window skips exact zeros, which only finite terms give.
  if (params.profile == 1 && std::isfinite(h) && h != 0) {
    for (Term& t : terms) {
      const bool positive_zero = !std::signbit(t.a);
      if (!std::isfinite(t.a) || !std::isfinite(t.p)) continue;
      if (positive_zero && (start_signed || contribution_signed)) continue;  // a point might be -0
      Gauss_Window(x, n, h, t);
    }
  }

  const bool rising =
      !contribution_signed && !start_signed && std::isfinite(h) && h != 0 &&
      std::all_of(terms.begin(), terms.end(), [](const Term& t) { return std::isfinite(t.a) && std::isfinite(t.p); });
  const Work work{x, y0, y, terms, params.profile, h, Pearson_C(), Pearson_M(), rising};
  const Runner run = Kernel_For(params.kernel);
  const int32_t chunks = (n + Chunk - 1) / Chunk;
  auto run_chunks = [&](int32_t from, int32_t to) {
    for (int32_t i = from; i < to; ++i) run(work, 1 + i * Chunk, std::min(n + 1, 1 + (i + 1) * Chunk));
  };
  const double evaluations = static_cast<double>(n) * static_cast<double>(terms.size());
  const int32_t wanted =
      params.threads > 0 ? params.threads : static_cast<int32_t>(std::thread::hardware_concurrency());
  const int32_t threads = evaluations < 1e6 ? 1 : std::clamp<int32_t>(wanted, 1, std::min(chunks, 8));
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(threads));
  int32_t inline_from = chunks;  // chunks no thread could be started for
  for (int32_t i = 1; i < threads && inline_from == chunks; ++i) {
    try {
      pool.emplace_back(run_chunks, chunks * i / threads, chunks * (i + 1) / threads);
    } catch (const std::system_error&) {
      inline_from = chunks * i / threads;
    }
  }
  run_chunks(0, chunks / threads);
  run_chunks(inline_from, chunks);
  for (auto& thread : pool) thread.join();
  return y;
}

}  // namespace talvo
