#include "ui/bitmap_curve.h"

#include <algorithm>

#include "core/store.h"

namespace talvo {

Steps Bitmap_Curve(const Store& store) {
  Steps steps;
  // The area's height spans one row more than the rows a curve can use: with
  // 0 at the bottom edge, a count of 0 would fall on the row below the
  // picture. The bottom edge lies one row's worth below 0, so that 0 is drawn
  // on the bottom row as Max_Intensity is drawn on the top row.
  const double bottom = -store.Max_Intensity / (Bitmap_Height - 1);
  steps.push_back(step::Coordinates{1, store.Max_Intensity, double(store.Nb_Points), bottom});
  int32_t count = std::clamp<int32_t>(store.Nb_Points, 0, Max_Points);
  count = std::min<int32_t>(count, static_cast<int32_t>(std::max<std::size_t>(store.Intensities.size(), 1) - 1));
  if (count < 1) return steps;
  // The current point starts one unit left of the area's edge, so the first
  // segment runs level into point 1.
  double x = 0, y = store.Intensities[1];
  for (int32_t k = 1; k <= count; ++k) {
    const double next = store.Intensities[k];
    steps.push_back(step::Line{x, y, double(k), next, Black});
    x = k;
    y = next;
  }
  return steps;
}

}  // namespace talvo
