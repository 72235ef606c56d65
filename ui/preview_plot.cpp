#include "ui/preview_plot.h"

#include <algorithm>
#include <cmath>

#include "core/store.h"
#include "formats/text/number_pattern.h"

namespace talvo {

namespace {

// Out of line: GCC 12 inlines the vector's growth of a variant holding a
// string and warns falsely about it (-Wrestrict, -Wmaybe-uninitialized).
[[gnu::noinline]] void Add(Steps& steps, Step step) {
  steps.push_back(std::move(step));
}

// The width of one label character in x units, from the window's width:
// labels are centred and right-aligned with this estimate, so they keep
// their place when the window is resized.
double Character_Width(double window_twips) {
  return window_twips > 0 ? 13200 / window_twips : 0;
}

void Frame_And_Labels(Steps& steps, const Store& store, double cw, char separator) {
  const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
  Add(steps, step::Filled_Rectangle{0, 0, 100, 100, Black, White});
  for (int i = 0; i <= 100; i += 10) {
    Add(steps, step::Line{double(i), 0, double(i), -1.5, Black});
    Add(steps, step::Line{0, double(i), -1, double(i), Black});
    if (i % 20 == 0) {
      std::string text = Format_Number(r0 + (r1 - r0) * i / 100, "0.00", separator);
      const double x = i - double(text.size()) * cw / 2;
      Add(steps, step::Text{x, -2, std::move(text), step::Align::Centre, Black});
    }
    std::string text = Format_Number(i * store.Max_Intensity / 100, "0", separator);
    const double x = -2 - double(text.size()) * cw;
    Add(steps, step::Text{x, i + cw / 0.6, std::move(text), step::Align::Right, Black});
  }
}

// Data is drawn only where both scale factors exist.
bool Has_Scale(const Store& store) {
  const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
  return store.Max_Intensity != 0 && std::isfinite(store.Max_Intensity) && r1 != r0 && std::isfinite(r0) &&
         std::isfinite(r1);
}

bool In_Range(double t, double r0, double r1) {
  return t >= r0 && t <= r1;
}  // false for NaN

void Peak_Sticks(Steps& steps, const Store& store, double s) {
  const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
  const int count = std::clamp<int>(store.Nb_Peaks, 0, Max_Peaks);
  for (int k = 1; k <= count; ++k) {
    const Peak& peak = store.Peaks[k];
    const double t = peak.Position;  // stored in 2-theta
    if (!In_Range(t, r0, r1)) continue;
    const double x = (t - r0) * 100 / (r1 - r0);
    const double y = peak.Intensity * s;
    if (!std::isfinite(y)) continue;
    Add(steps, step::Line{x, y, x, 0, Dark_Blue});
  }
}

void Scan_Curve(Steps& steps, const Store& store, double s) {
  const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
  // Only the points the store holds: the start-up store announces 3350
  // points and holds none.
  int32_t count = std::clamp<int32_t>(store.Nb_Points, 0, Max_Points);
  count = std::min<int32_t>(count, static_cast<int32_t>(std::max<std::size_t>(store.Intensities.size(), 1) - 1));
  bool first = true;
  double last_x = 0, last_y = 0;
  for (int32_t k = 1; k <= count; ++k) {
    const double t = (k - 1) * store.Step_Size + store.Start_2Theta;
    if (!In_Range(t, r0, r1)) continue;
    const double x = (t - r0) * 100 / (r1 - r0);
    const double y = store.Intensities[k] * s;
    if (!std::isfinite(y)) continue;
    if (first) {
      Add(steps, step::Dot{x, y, Red});
      first = false;
    } else {
      Add(steps, step::Line{last_x, last_y, x, y, Red});
    }
    last_x = x;
    last_y = y;
  }
}

}  // namespace

Steps Preview_Plot(const Store& store, double window_twips, char separator) {
  Steps steps;
  Add(steps, Preview_Coordinates);
  Frame_And_Labels(steps, store, Character_Width(window_twips), separator);
  if (!Has_Scale(store)) return steps;
  const double s = 100 / store.Max_Intensity;
  if (store.Is_Peak_List != 0)
    Peak_Sticks(steps, store, s);
  else
    Scan_Curve(steps, store, s);
  return steps;
}

}  // namespace talvo
