// The scan's curve out as a Windows bitmap.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

// Refuses a scan whose curve cannot be drawn (fewer than two points, more
// than a 16-bit count, intensities missing, a largest count of 0), then has
// the platform's bitmap window draw the curve and save it as `path`.
void Write_Bmp(const std::string& path, const Store& store, Platform& platform);

}  // namespace talvo
