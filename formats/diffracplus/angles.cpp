#include "formats/diffracplus/angles.h"

#include <cmath>

namespace talvo {

double D_To_2Theta(double d, float lambda) {
  const double x = static_cast<double>(lambda) / (2 * d);
  return 2 * std::atan(x / std::sqrt(1 - x * x)) * 180 / Pi;
}

double TwoTheta_To_D(double two_theta, float lambda) {
  return static_cast<double>(lambda) / (2 * std::sin((two_theta / 2) * (Pi / 180)));
}

}  // namespace talvo
