// Two evaluations of one sum. Synthesise_Straight is the loop as the
// synthesis is defined: peaks outer, points inner. Synthesise gives the same
// points, bit for bit, faster:
//
// - Points are taken in chunks that stay in the first-level cache, each
//   chunk running every peak in table order, so each point still adds its
//   peaks in order and rounds to a float after each. Chunks are independent
//   and shared between threads; the noise is drawn beforehand in point order.
// - The 2-theta of each point is computed once instead of once per peak.
// - Both loops take 2^-u^2 and the Pearson VII power from the two functions
//   below, written here in plain arithmetic rather than taken from the C
//   library: the library's scalar and vector routines, and the libraries of
//   different platforms, may round differently in the last bit, which can
//   move a point by one float step. Written once, the same operations in
//   the same order give the same bits in a scalar loop and in 2, 4 or 8
//   vector lanes, whichever the compiler, C library and processor (CI
//   compares the GCC, clang and MinGW builds).
// - A peak's contribution is skipped where it cannot change a point; the
//   rule and why it holds are under Skip rule below.
// - Where the processor has fused multiply-adds, u = (x - p) / h is
//   computed without the divider, to the same bits (see Quotient).
//
// The file is compiled without floating-point contraction: every product
// and sum rounds on its own, as written, so that a fused multiply-add on one
// processor cannot make it differ from another.
#include "synthesis/profiles.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>

#include "synthesis/noise.h"

// Every double operation must round to double, not to a wider format.
static_assert(FLT_EVAL_METHOD == 0);

namespace talvo {

namespace {

// A double-double: the unevaluated sum hi + lo, |lo| <= half an ulp of hi.
struct Double_Double {
  double hi, lo;
};

// a + b exactly, for any a and b.
[[gnu::always_inline]] inline Double_Double Two_Sum(double a, double b) {
  const double sum = a + b, b_part = sum - a;
  return {sum, (a - (sum - b_part)) + (b - b_part)};
}

// a * b exactly (Dekker), without a fused multiply-add, for |a|, |b| < 2^996.
[[gnu::always_inline]] inline Double_Double Two_Product(double a, double b) {
  constexpr double Split = 134217729;  // 2^27 + 1
  const double a_split = a * Split, b_split = b * Split;
  const double a_hi = a_split - (a_split - a), a_lo = a - a_hi;
  const double b_hi = b_split - (b_split - b), b_lo = b - b_hi;
  const double product = a * b;
  return {product, ((a_hi * b_hi - product) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo};
}

// condition ? a : b, by bit masks: both are computed anyway, and a branch
// would keep the loops that use it from being vectorised.
[[gnu::always_inline]] inline double Select(bool condition, double a, double b) {
  const uint64_t mask = uint64_t{0} - static_cast<uint64_t>(condition);
  return std::bit_cast<double>((std::bit_cast<uint64_t>(a) & mask) | (std::bit_cast<uint64_t>(b) & ~mask));
}

// The nearest integer to |v| < 2^51, as a double, whatever the rounding
// functions of the library.
[[gnu::always_inline]] inline double Nearest_Integer(double v) {
  constexpr double Shift = 0x1.8p52;
  return (v + Shift) - Shift;
}

// 2^k for an integer-valued k in -1022..1023.
[[gnu::always_inline]] inline double Power_Of_Two(double k) {
  return std::bit_cast<double>(std::bit_cast<uint64_t>(k + (0x1p52 + 1023)) << 52);
}

// v * 2^n for an integer-valued n in -2000..2000, rounding once: to
// infinity above the largest double, to a subnormal or 0 below the
// smallest normal.
[[gnu::always_inline]] inline double Scale(double v, double n) {
  const double half = Nearest_Integer(n * 0.5);
  return v * Power_Of_Two(half) * Power_Of_Two(n - half);
}

// e^(a + b) for |a + b| <= 0.35: a Taylor polynomial to the 14th power
// (truncation below 2^-63) added to 1 + r in double-double, so that little
// more than the final rounding remains.
[[gnu::always_inline]] inline double Exp_Reduced(double a, double b) {
  const Double_Double r = Two_Sum(a, b);
  const double x = r.hi;
  const double tail =
      x * x *
      (1.0 / 2 +
       x * (1.0 / 6 +
            x * (1.0 / 24 +
                 x * (1.0 / 120 +
                      x * (1.0 / 720 +
                           x * (1.0 / 5040 +
                                x * (1.0 / 40320 +
                                     x * (1.0 / 362880 +
                                          x * (1.0 / 3628800 +
                                               x * (1.0 / 39916800 +
                                                    x * (1.0 / 479001600 +
                                                         x * (1.0 / 6227020800 + x * (1.0 / 87178291200)))))))))))));
  const double one = 1 + x, one_error = x - (one - 1);  // exact: |x| <= 1
  return one + (one_error + (tail + r.lo * (1 + x)));
}

constexpr double Ln2_Hi = 0x1.62e42feep-1;  // 32 bits: n * Ln2_Hi is exact for n < 2^21
constexpr double Ln2_Lo = 1.90821492927058770002e-10;
constexpr double Ln2 = 0x1.62e42fefa39efp-1;           // ln 2 rounded
constexpr double Ln2_Tail = 2.319046813846299558e-17;  // ln 2 - Ln2
constexpr double Inverse_Ln2 = 1.44269504088896338700;

// ln x for a finite x >= 1, as a double-double good to about 2^-60
// relative: x = 2^k * f with f in [sqrt(1/2), sqrt(2)), ln f = 2 atanh(s),
// s = (f - 1) / (f + 1), |s| <= 0.172, by its series to s^21.
[[gnu::always_inline]] inline Double_Double Log(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  double k = std::bit_cast<double>(0x4330000000000000u | (bits >> 52)) - (0x1p52 + 1023);
  double f = std::bit_cast<double>((bits & 0x000fffffffffffffu) | 0x3ff0000000000000u);
  const bool above = f > 0x1.6a09e667f3bcdp+0;  // sqrt(2)
  f = Select(above, f * 0.5, f);
  k = Select(above, k + 1, k);
  const double g = f - 1;  // exact
  const double d_hi = 2 + g, d_lo = g - (d_hi - 2);
  // One division: s within 2 ulps of g / d, and the exact residual of s d
  // gives the low part.
  const double inverse_d = 1 / d_hi, s = g * inverse_d;
  const Double_Double sd = Two_Product(s, d_hi);
  const double s_lo = ((g - sd.hi) - sd.lo - s * d_lo) * inverse_d;
  const double z = s * s;
  const double series =
      2 * s * z *
      (1.0 / 3 +
       z * (1.0 / 5 +
            z * (1.0 / 7 +
                 z * (1.0 / 9 +
                      z * (1.0 / 11 +
                           z * (1.0 / 13 + z * (1.0 / 15 + z * (1.0 / 17 + z * (1.0 / 19 + z * (1.0 / 21))))))))));
  const Double_Double head = Two_Sum(k * Ln2_Hi, 2 * s);
  const double lo = head.lo + (2 * s_lo + series + k * Ln2_Lo);
  const double hi = head.hi + lo;
  return {hi, lo - (hi - head.hi)};
}

}  // namespace

// x^m for x >= 1 (NaN and infinity pass through) and m the Pearson VII
// exponent: e^(m ln x), ln x and its product with m in double-double, the
// exponential reduced by multiples of ln 2. From 1 to the largest double it
// lies within 0.62 ulp of the exact power (measured against long double)
// and within 1 ulp of std::pow (tested); where the power exceeds the largest
// double it is infinite.
[[gnu::always_inline]] inline double Pearson_Power_Inline(double x) {
  const Double_Double ln = Log(x);
  const Double_Double y_hi = Two_Product(Pearson_M(), ln.hi);
  const double y_lo = y_hi.lo + Pearson_M() * ln.lo;
  // Above 2000 ln 2 every power overflows; the cap keeps 2^n buildable.
  const double nearest = Nearest_Integer(y_hi.hi * Inverse_Ln2);
  const double n = Select(nearest <= 2000, nearest, 2000);
  const double r_hi = y_hi.hi - n * Ln2_Hi;  // exact (Sterbenz)
  const double r_lo = y_lo - n * Ln2_Lo;
  const double power = Scale(Exp_Reduced(r_hi, r_lo), n);
  return Select(x <= std::numeric_limits<double>::max(), power, x);
}

// 2^t for t <= 0 (NaN passes through): 2^n * e^(r ln 2), n the nearest integer
// to t, r = t - n exact, r ln 2 in double-double. Within 0.62 ulp of the
// exact value for normal results (measured) and 1 ulp of std::exp2
// (tested), rounded once where subnormal, and exactly 0 below -1075.
[[gnu::always_inline]] inline double Gauss_Exp2_Inline(double t) {
  const double clamped = Select(t >= -1100, t, -1100);
  const double n = Nearest_Integer(clamped);
  const double r = clamped - n;  // exact
  const Double_Double w = Two_Product(r, Ln2);
  const double value = Scale(Exp_Reduced(w.hi, w.lo + r * Ln2_Tail), n);
  return Select(t == t, Select(t >= -1080, value, 0), t);  // NaN passes through
}

double Pearson_Power(double x) {
  return Pearson_Power_Inline(x);
}
double Gauss_Exp2(double t) {
  return Gauss_Exp2_Inline(t);
}

std::vector<float> Synthesise_Straight(const Synthesis_Params& params, Noise_Sequence& noise) {
  const int32_t n = params.n;
  std::vector<float> y(static_cast<std::size_t>(n) + 1, 0.0f);
  const double c = Pearson_C();
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
        case Profile::Gauss:
          value += a * Gauss_Exp2(-(u * u));
          break;
        case Profile::Lorentz:
          value += a / (1 + u * u);
          break;
        case Profile::Pearson_VII:
          value += a / Pearson_Power(1 + c * (u * u));
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
constexpr double Gauss_Reach = 33;  // half-widths; 2^-(33^2) is 0

struct Term {
  double a, p;
  int32_t lo, hi;  // points where the profile may add something other than 0
};

struct Work {
  const std::vector<double>& x;   // 2-theta of each point
  const std::vector<double>& y0;  // background and noise
  std::vector<float>& y;
  const std::vector<Term>& terms;
  Profile profile;
  double h;
  bool rising;          // see Skip rule
  double inverse_h;     // 1 / h, rounded once
  bool fused_quotient;  // see Quotient
};

// (x - p) / h, rounded once as the division rounds it. With a fused
// multiply-add at hand, and every operand inside [2^-300, 2^300] or 0 (so
// that nothing overflows or underflows: `fused_quotient`), the division is
// replaced by Markstein's correction of q = d * (1 / h): r = d - q h is
// exact, and q + r / h rounded once is the correctly rounded quotient,
// because 1 / h is rounded once and q lies within an ulp of d / h. That
// takes three vector operations where the division takes the divider for
// several cycles, and the divider bounds these loops.
template <bool Fused>
[[gnu::always_inline]] inline double Quotient(double d, double h, double inverse_h) {
  if constexpr (Fused) {
    const double q = d * inverse_h;
    return std::fma(std::fma(-q, h, d), inverse_h, q);
  } else {
    return d / h;
  }
}

// A Lorentz peak over points [lo, hi), onto the start values or the points.
template <bool Fused>
[[gnu::always_inline]] inline void Lorentz(const Work& w, const double* start, double a, double p, int32_t lo,
                                           int32_t hi) {
  const double* x = w.x.data();
  float* y = w.y.data();
  const double h = w.h, inverse_h = w.inverse_h;
  if (start) {
#pragma omp simd
    for (int32_t k = lo; k < hi; ++k) {
      const double u = Quotient<Fused>(x[k] - p, h, inverse_h);
      y[k] = static_cast<float>(start[k] + a / (1 + u * u));
    }
  } else {
#pragma omp simd
    for (int32_t k = lo; k < hi; ++k) {
      const double u = Quotient<Fused>(x[k] - p, h, inverse_h);
      y[k] = static_cast<float>(static_cast<double>(y[k]) + a / (1 + u * u));
    }
  }
}

// Skip rule. A Gauss or Pearson VII peak is left out of a chunk of points,
// after the chunk's first peak, when Adds_Nothing holds for it. That gives
// the points the straightforward loop gives because of four invariants,
// each tested at its edge:
//
// 1. Points only rise. `rising` holds when every start value (background
//    plus noise) and every amplitude is finite with its sign bit clear, and
//    the width is finite and not 0. Then every contribution is +0 or more,
//    and a float plus a non-negative amount rounds to the float or above.
//    One negative amplitude, or a start value of -0, turns the rule off.
// 2. A floor for the float step. The first peak rounds start value y0 to a
//    float; every later value of the point is at least that float, which is
//    at least `below`, the largest float not above the chunk's smallest
//    start value. The gap from a positive float to the next grows with it,
//    so every point of the chunk has a gap of at least q, the gap above
//    `below` (Smallest_Step).
// 3. What rounds back. A float v with gap q' >= q plus d, 0 <= d < q' / 2,
//    rounds to v: v + d is nearer v than the next float up. d = q' / 2 can
//    round up (ties go to the even neighbour), so the rule asks for d below
//    q / 8, well clear of the tie.
// 4. A bound for d. The computed steps of each profile are monotonic in the
//    distance |2-theta - p| or within an ulp of a monotonic function:
//    subtraction, division, squaring and 1 + c u^2 round monotonically,
//    Gauss_Exp2 and Pearson_Power lie within 1 ulp of the exact, monotonic,
//    functions. So the chunk point nearest the peak bounds every point's
//    contribution to within a few ulps; the bound is widened by 1e-12
//    relative, far past those. A peak inside the chunk is never skipped.
inline bool Adds_Nothing(double bound, double step) {
  return bound * (1 + 1e-12) < step / 8;
}

// The float gap q above the smallest start value of a chunk (invariant 2);
// 0 when that value is not a positive normal float, which turns the rule
// off.
inline double Smallest_Step(const double* y0, int32_t count) {
  double low = y0[0];
  for (int32_t i = 1; i < count; ++i) low = std::min(low, y0[i]);
  float below = static_cast<float>(low);
  if (static_cast<double>(below) > low) below = std::nextafter(below, 0.0f);
  if (!(below >= std::numeric_limits<float>::min()) || !std::isfinite(below)) return 0;
  return static_cast<double>(std::nextafter(below, std::numeric_limits<float>::infinity())) - below;
}

// Invariant 4: the contribution of a peak at p to the point of [x0, x1]
// nearest to it, or infinity when p lies inside.
inline double Nearest_Contribution(double a, double p, double x0, double x1, const Work& w) {
  if (x1 < x0) std::swap(x0, x1);  // a falling scan
  double nearest;
  if (p <= x0)
    nearest = x0 - p;
  else if (p >= x1)
    nearest = p - x1;
  else
    return std::numeric_limits<double>::infinity();
  const double u = nearest / std::fabs(w.h);
  if (w.profile == Profile::Gauss) return a * Gauss_Exp2_Inline(-(u * u));
  return a / (Pearson_Power_Inline(1 + Pearson_C() * (u * u)) * (1 - 1e-12));
}

// One chunk of points [k0, k1) through every peak in table order. Each
// loop is the straightforward loop's arithmetic, vectorised as it stands,
// but for the quotient u, fused where the machine and the operands allow.
template <bool Fused>
[[gnu::always_inline]] inline void Run_Chunk(const Work& w, int32_t k0, int32_t k1) {
  const double* x = w.x.data();
  float* y = w.y.data();
  const double h = w.h, inverse_h = w.inverse_h, c = Pearson_C();
  const double step = (w.profile == Profile::Gauss || w.profile == Profile::Pearson_VII) && w.rising
                          ? Smallest_Step(w.y0.data() + k0, k1 - k0)
                          : 0;
  bool first = true;
  for (const Term& t : w.terms) {
    const double a = t.a, p = t.p;
    const int32_t lo = first ? k0 : std::max(k0, t.lo), hi = first ? k1 : std::min(k1, t.hi + 1);
    if (lo >= hi) continue;
    if (!first && step > 0 && Adds_Nothing(Nearest_Contribution(a, p, x[k0], x[k1 - 1], w), step)) continue;
    // The first peak adds to the start values, the others to the points.
    const double* start = first ? w.y0.data() : nullptr;
    first = false;
    switch (w.profile) {
      case Profile::Gauss:
        if (start) {
#pragma omp simd
          for (int32_t k = lo; k < hi; ++k) {
            const double u = Quotient<Fused>(x[k] - p, h, inverse_h);
            y[k] = static_cast<float>(start[k] + a * Gauss_Exp2_Inline(-(u * u)));
          }
        } else {
#pragma omp simd
          for (int32_t k = lo; k < hi; ++k) {
            const double u = Quotient<Fused>(x[k] - p, h, inverse_h);
            y[k] = static_cast<float>(static_cast<double>(y[k]) + a * Gauss_Exp2_Inline(-(u * u)));
          }
        }
        break;
      case Profile::Lorentz:
        Lorentz<Fused>(w, start, a, p, lo, hi);
        break;
      case Profile::Pearson_VII:
        if (start) {
#pragma omp simd
          for (int32_t k = lo; k < hi; ++k) {
            const double u = Quotient<Fused>(x[k] - p, h, inverse_h);
            y[k] = static_cast<float>(start[k] + a / Pearson_Power_Inline(1 + c * (u * u)));
          }
        } else {
#pragma omp simd
          for (int32_t k = lo; k < hi; ++k) {
            const double u = Quotient<Fused>(x[k] - p, h, inverse_h);
            y[k] = static_cast<float>(static_cast<double>(y[k]) + a / Pearson_Power_Inline(1 + c * (u * u)));
          }
        }
        break;
      default:
        if (start)
          for (int32_t k = lo; k < hi; ++k) y[k] = static_cast<float>(start[k]);
        break;
    }
  }
}

void Run_Portable(const Work& w, int32_t k0, int32_t k1) {
  Run_Chunk<false>(w, k0, k1);
}

// The same loops compiled for wider vectors, chosen at run time.
#if defined(__x86_64__) && defined(__GNUC__)
#define TALVO_WIDE_KERNELS 1
[[gnu::target("avx2,fma")]] void Run_Avx2(const Work& w, int32_t k0, int32_t k1) {
  w.fused_quotient ? Run_Chunk<true>(w, k0, k1) : Run_Chunk<false>(w, k0, k1);
}
[[gnu::target("avx512f,fma")]] void Run_Avx512(const Work& w, int32_t k0, int32_t k1) {
  w.fused_quotient ? Run_Chunk<true>(w, k0, k1) : Run_Chunk<false>(w, k0, k1);
}
#endif

using Runner = void (*)(const Work&, int32_t, int32_t);

// The widest kernel the machine runs, no wider than `widest`.
Runner Kernel_For(Kernel widest) {
#ifdef TALVO_WIDE_KERNELS
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("fma")) return &Run_Portable;
  if (widest == Kernel::Widest && __builtin_cpu_supports("avx512f")) return &Run_Avx512;
  if (widest != Kernel::Portable && __builtin_cpu_supports("avx2")) return &Run_Avx2;
#else
  (void)widest;
#endif
  return &Run_Portable;
}

// Points 1..n where a Gauss peak at p may add anything but an exact zero:
// outside, the computed |2-theta - p| is at least 33 half-widths.
void Gauss_Window(const std::vector<double>& x, int32_t n, double h, Term& t) {
  const double reach = Gauss_Reach * std::fabs(h);
  const auto first = x.begin() + 1, last = x.begin() + n + 1;
  // The points run up, or down for a negative step.
  const bool falling = n >= 2 && x[static_cast<std::size_t>(n)] < x[1];
  const auto before = [&](double xk) { return falling ? xk - t.p >= reach : xk - t.p <= -reach; };
  const auto inside = [&](double xk) { return falling ? xk - t.p > -reach : xk - t.p < reach; };
  const auto lo = std::partition_point(first, last, before);
  const auto hi = std::partition_point(lo, last, inside);
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
  // The Gauss window skips the exact zeros of 2^-u^2 far from a peak. A
  // zero added is a no-op unless it is +0 and the point is -0, which only a
  // start value or a contribution with its sign bit set can make.
  if (params.profile == Profile::Gauss && std::isfinite(h) && h != 0) {
    for (Term& t : terms) {
      const bool positive_zero = !std::signbit(t.a);
      if (!std::isfinite(t.a) || !std::isfinite(t.p)) continue;
      if (positive_zero && (start_signed || contribution_signed)) continue;
      Gauss_Window(x, n, h, t);
    }
  }

  const bool rising =
      !contribution_signed && !start_signed && std::isfinite(h) && h != 0 &&
      std::all_of(terms.begin(), terms.end(), [](const Term& t) { return std::isfinite(t.a) && std::isfinite(t.p); });
  // Inside [2^-300, 2^300], or 0, the Lorentz quotient may be fused.
  auto moderate = [](double v) { return v == 0 || (std::fabs(v) >= 0x1p-300 && std::fabs(v) <= 0x1p300); };
  const bool fused_quotient = moderate(h) && h != 0 && std::all_of(x.begin(), x.end(), moderate) &&
                              std::all_of(terms.begin(), terms.end(), [&](const Term& t) { return moderate(t.p); });
  const Work work{x, y0, y, terms, params.profile, h, rising, 1 / h, fused_quotient};
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
