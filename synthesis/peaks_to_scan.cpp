#include "synthesis/peaks_to_scan.h"

#include <algorithm>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "synthesis/noise.h"
#include "synthesis/profiles.h"

namespace talvo {

void Prepare_Synthesis(Store& store) {
  const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
  store.Start_2Theta = static_cast<float>(r0);
  store.Start_Theta = static_cast<float>(r0 / 2);
  // A range without a count (a zero step read from a file) opens the
  // dialog with no points, for the user to correct.
  store.Nb_Points = Round_To_Int32((r1 - r0) / store.Step_Size).value_or(0);
}

void Synthesise_Scan(Store& store) {
  Synthesise_Scan_With(store, Program_Noise());
}

void Synthesise_Scan_With(Store& store, Noise_Sequence& noise) {
  const double r0 = store.Range_Limits[0], r1 = store.Range_Limits[1];
  const int32_t n = store.Nb_Points;
  // The range runs from r0 towards r1 in the direction of the step.
  const bool beyond = store.Step_Size < 0 ? r1 < r0 : r1 > r0;
  if (n < 1 || n > Max_Points || store.FWHM == 0 || !beyond)
    throw Failure("The synthesis parameters give no scan: " + std::to_string(n) + " points from " +
                  General_Number(r0, 15, '.') + " to " + General_Number(r1, 15, '.') + " with an FWHM of " +
                  General_Number(store.FWHM, 7, '.') + ".");

  Synthesis_Params params;
  params.peaks = std::span<const Peak>(store.Peaks.data() + 1, std::clamp<int>(store.Nb_Peaks, 0, Max_Peaks));
  params.r0 = r0;
  params.r1 = r1;
  params.n = n;
  params.fwhm = store.FWHM;
  params.profile = Profile_Of(store.Profile_Function);
  params.bkg = store.Bkg_Level;
  params.noise = store.Noise_Height;
  store.Intensities = Synthesise(params, noise);
  store.Max_Intensity = Largest_Intensity(store.Intensities, n);
}

}  // namespace talvo
