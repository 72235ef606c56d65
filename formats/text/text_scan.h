// What the text step-scan readers set the same way once their points are
// read.
#pragma once

#include "core/store.h"

namespace talvo {

// The largest intensity of points 1..Nb_Points, compared as 32-bit items.
inline void Set_Maximum(Store& store) {
  store.Max_Intensity = Largest_Intensity(store.Intensities, store.Nb_Points);
}

// A single-range step scan starting at Range_Limits(0).
inline void Set_Scan_Items(Store& store) {
  store.Is_Peak_List = False16;
  store.Nb_Ranges = 1;
  store.Start_2Theta = static_cast<float>(store.Range_Limits[0]);
  store.Start_Theta = static_cast<float>(store.Range_Limits[0] / 2);
}

}  // namespace talvo
