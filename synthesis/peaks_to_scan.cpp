#include "synthesis/peaks_to_scan.h"

#include <algorithm>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/platform.h"
#include "core/store.h"
#include "synthesis/noise.h"
#include "synthesis/profiles.h"

namespace talvo {

void Peaks_To_Scan(Store& store, Platform& platform) {
  platform.Set_Busy(true);
  {
    const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
    store.Start_2Theta = static_cast<float>(r0);
    store.Start_Theta = static_cast<float>(r0 / 2);
    // A range without a count (a zero step read from a file) opens the
    // dialog with no points, for the user to correct.
    store.Nb_Points = Round_To_Int32((r1 - r0) / store.Step_Size).value_or(0);
  }
  platform.Show_Dif2Raw(store, Dif2Raw_Opening::Before_Synthesis);

  const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
  const int32_t n = store.Nb_Points;
  if (n < 1 || n > Max_Points || store.FWHM == 0 || !(r1 > r0))
    throw Failure("The synthesis parameters give no scan: " + std::to_string(n) + " points from " +
                  General_Number(r0, 15, '.') + " to " + General_Number(r1, 15, '.') + " with an FWHM of " +
                  General_Number(store.FWHM, 7, '.') + ".");

  Synthesis_Params params;
  params.peaks = std::span<const Peak>(store.Peaks.data() + 1, std::clamp<int>(store.Nb_Peaks, 0, Max_Peaks));
  params.r0 = r0;
  params.r1 = r1;
  params.n = n;
  params.fwhm = store.FWHM;
  params.profile = store.Profile_Function;
  params.bkg = store.Bkg_Level;
  params.noise = store.Noise_Height;
  store.Intensities = Synthesise(params, Program_Noise());

  float max = store.Intensities[1];
  for (int32_t k = 2; k <= n; ++k)
    if (store.Intensities[k] > max) max = store.Intensities[k];
  store.Max_Intensity = max;
  platform.Set_Busy(false);
}

}  // namespace talvo
