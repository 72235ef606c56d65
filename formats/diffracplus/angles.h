// Bragg's law in double precision, with pi taken as 3.14159265358979.
#pragma once

namespace talvo {

constexpr double Pi = 3.14159265358979;

// 2-theta in degrees of a d-spacing (angstrom) at wavelength lambda:
// 2 * atan(x / sqrt(1 - x^2)) * 180 / pi with x = lambda / (2d).
double D_To_2Theta(double d, float lambda);
// d-spacing in angstrom of a 2-theta angle: lambda / (2 sin(2-theta / 2 * pi / 180)).
double TwoTheta_To_D(double two_theta, float lambda);

}  // namespace talvo
