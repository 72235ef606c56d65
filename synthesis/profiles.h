// The profile sum of a synthesised scan.
//
// Point k (1..N) lies at (R1 - R0) * (k - 1) / N + R0. Each peak adds
// A * profile(u), u = (2-theta - P) / (FWHM * 0.5), A = 10 * intensity, in
// 64-bit precision, and the point is rounded to a 32-bit float after each
// peak, the peaks taken in table order. The first peak lays down the
// background and one noise draw per point, in point order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/profile.h"
#include "core/store.h"

namespace talvo {

class Noise_Sequence;

// The vector instructions Synthesise may use: the widest the machine has
// (AVX-512 where present), at most AVX2, or those every x86-64 machine has.
// All give the same points.
enum class Kernel { Widest, Avx2, Portable };

struct Synthesis_Params {
  std::span<const Peak> peaks;  // in table order
  double r0 = 0, r1 = 0;
  int32_t n = 0;                     // points, at least 1
  float fwhm = 0.3f;                 // not 0
  Profile profile = Profile::Gauss;  // None adds no peak
  float bkg = 10, noise = 3;
  int threads = 0;  // worker threads of Synthesise; 0: one per processor
  Kernel kernel = Kernel::Widest;
};

// Pearson VII shape: m = e (the double nearest it), and the factor
// 2^(1/m) - 1 of u^2, rounded to a double.
constexpr double Pearson_M() {
  return 0x1.5bf0a8b145769p+1;
}
constexpr double Pearson_C() {
  return 0x1.296cf18b35978p-2;
}

// The two transcendental steps of the profiles, the same bits on every
// platform and in every kernel: x^Pearson_M() for x >= 1, within 1 ulp;
// 2^t for t <= 0, within 1 ulp (rounded once where subnormal, 0 below
// -1075).
double Pearson_Power(double x);
double Gauss_Exp2(double t);

// Intensities in slots 1..n, slot 0 holding 0; every slot 0 without peaks.
// The straightforward evaluation: peaks outer, points inner.
std::vector<float> Synthesise_Straight(const Synthesis_Params& params, Noise_Sequence& noise);
// The same sums, bit for bit, evaluated faster; see profiles.cpp for how.
std::vector<float> Synthesise(const Synthesis_Params& params, Noise_Sequence& noise);

}  // namespace talvo
