// "Formatted text (RAW)": a title line, the counting time per step, the
// number of points N (at least 2), then N pairs of 2-theta and intensity;
// whatever follows the N pairs is ignored.
// It does not state the step: it is taken from the first two points, and the
// last point's angle ends the range. The file's own angle and count of each
// point go to the extras. xye files are read in xye.cpp.
#include "formats/text/scans.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/free_format.h"
#include "formats/text/text_raw_checks.h"

namespace talvo {

Read_Result Read_Text_Raw(const Input_File& source, Store& store) {
  Text_Input input(source.bytes, source.name);
  store.Sample_ID = Fit32(input.Read_Line("a title line"));
  store.Time_Step = static_cast<float>(input.Read_Number_Within(Single_Range, "the counting time"));
  const double count = input.Read_Number("the number of points");
  Check_Whole_Point_Count(count, input.file_name());
  const int32_t n = Announced_Points(input.file_name(), count, 2, std::numeric_limits<int32_t>::max() - 1);
  store.Nb_Points = n;
  // A pair takes at least four bytes: a count beyond that is found short
  // before it costs memory.
  const auto room = std::min<std::size_t>(static_cast<std::size_t>(n), source.bytes.size() / 4) + 1;
  store.Intensities.assign(1, 0.0f);
  store.Intensities.reserve(room);
  Pattern_Extras& extras = store.Extras;
  extras.Angles.assign(1, 0.0);
  extras.Angles.reserve(room);
  extras.Counts.assign(1, 0.0);
  extras.Counts.reserve(room);
  for (int32_t i = 1; i <= n; ++i) {
    if (input.Only_Blanks_Remain())
      throw Failure(input.file_name() + " ends after " + std::to_string(i - 1) + " of the " + std::to_string(n) +
                    " points it announces.");
    const double angle = input.Read_Number_Within(Double_Range, "a 2-theta angle");
    const double intensity = input.Read_Number_Within(Single_Range, "an intensity");
    store.Range_Limits[i == 1 ? 0 : 1] = angle;
    store.Intensities.push_back(static_cast<float>(intensity));
    extras.Angles.push_back(angle);
    extras.Counts.push_back(intensity);
    if (i == 2) store.Step_Size = store.Range_Limits[1] - store.Range_Limits[0];
  }
  Read_Result result;
  if (auto unread = More_Numbers_Follow(input, n)) result.warnings.push_back(*unread);
  Set_Scan_Items(store);
  store.Lambda1 = Copper_K_Alpha1;
  return result;
}

}  // namespace talvo
