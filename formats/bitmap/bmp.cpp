#include "formats/bitmap/bmp.h"

#include <cmath>

#include "core/failure.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/store.h"

namespace talvo {

namespace {

// The curve is drawn over the point index, from point 1 at the left edge to
// the last point at the right edge and from 0 up to Max_Intensity: each of
// these scans would give it a coordinate system of no extent, or loop past
// what a 16-bit count reaches.
void Check_Drawable(const std::string& path, const Store& store) {
  const std::string nothing = " Nothing was written to " + File_Name_Of(path) + ".";
  const int32_t n = store.Nb_Points;
  if (n < 2)
    throw Failure("The scan has " + std::to_string(n) + (n == 1 ? " point" : " points") +
                  "; a bitmap of its curve needs at least 2." + nothing);
  if (n > Max_Points)
    throw Failure("The scan has " + std::to_string(n) + " points; a bitmap draws at most " +
                  std::to_string(Max_Points) + "." + nothing);
  if (!Holds_Points(store, n))
    throw Failure("The pattern holds " + std::to_string(store.Intensities.empty() ? 0 : store.Intensities.size() - 1) +
                  " intensities, fewer than its " + std::to_string(n) + " points." + nothing);
  if (!std::isfinite(store.Max_Intensity))
    throw Failure("The scan's largest count is not a number, so its curve cannot be drawn." + nothing);
  if (store.Max_Intensity == 0) throw Failure("The scan's largest count is 0, so its curve has no height." + nothing);
  for (int32_t k = 1; k <= n; ++k)
    if (!std::isfinite(store.Intensities[static_cast<std::size_t>(k)]))
      throw Failure("Point " + std::to_string(k) + " of the scan holds a count that is not a number, so its curve " +
                    "cannot be drawn." + nothing);
}

}  // namespace

void Write_Bmp(const std::string& path, const Store& store, Platform& platform) {
  Check_Drawable(path, store);
  platform.Show_Bmp_Saver(store, path);
}

}  // namespace talvo
