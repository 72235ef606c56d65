// The picture of the preview window: a square frame with ticks and labels,
// the scan as a red polyline or the peaks as dark blue sticks.
#pragma once

#include "ui/drawing.h"

namespace talvo {

struct Store;

// The preview's coordinate system: x from -15 to 110, y from -20 up to 110;
// the frame is the square (0, 0)-(100, 100).
inline constexpr step::Coordinates Preview_Coordinates{-15, 110, 110, -20};

// Twips per pixel at 96 dots per inch.
inline constexpr double Twips_Per_Pixel = 15;

// The steps of the preview of `store` in a window whose outer width is
// `window_twips` (1/1440 inch), labels written with `separator` as the
// decimal separator. With a Max_Intensity of 0 or an empty range the frame,
// ticks and labels are drawn without data.
Steps Preview_Plot(const Store& store, double window_twips, char separator);

}  // namespace talvo
