#include "synthesis/profiles.h"

#include <cmath>

#include "synthesis/noise.h"

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

std::vector<float> Synthesise(const Synthesis_Params& params, Noise_Sequence& noise) {
  return Synthesise_Straight(params, noise);
}

}  // namespace talvo
