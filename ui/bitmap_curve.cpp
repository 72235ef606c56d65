#include "ui/bitmap_curve.h"

#include <algorithm>

#include "core/store.h"

namespace talvo {

Steps Bitmap_Curve(const Store& store) {
  Steps steps;
  steps.push_back(step::Coordinates{1, store.Max_Intensity, double(store.Nb_Points), 0});
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
