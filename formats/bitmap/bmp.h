// The scan's curve out as a Windows bitmap.
#pragma once

#include <string>

#include "formats/bitmap/raster.h"

namespace talvo {

class Platform;
struct Store;

// Refuses a scan whose curve cannot be drawn (fewer than two points, more
// than a 16-bit count, intensities missing, a largest count of 0), then has
// the platform's bitmap window draw the curve and save it as `path`.
void Write_Bmp(const std::string& path, const Store& store, Platform& platform);

// The retained picture of the bitmap export: 320 x 240, white.
Raster Blank_Bitmap();
// The blank picture with the scan's curve drawn on it, as the bitmap window
// holds it after its first activation.
Raster Curve_Bitmap(const Store& store);

// The picture as the bytes of a 24-bit Windows bitmap file at 96 dots per inch.
std::string Bmp_Bytes(const Raster& picture);
// Written beside `path` and renamed over it; throws Failure naming the file.
void Save_Bmp(const Raster& picture, const std::string& path);

}  // namespace talvo
