// "Formatted text (RAW)": a title line, the counting time per step, the
// number of points N (2 to 32767), then N pairs of 2-theta and intensity;
// whatever follows the N pairs is ignored.
// It does not state the step: it is taken from the first two points, and the
// last point's angle ends the range. xye files are read in xye.cpp.
#include "formats/text/scans.h"

#include <limits>
#include <optional>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/free_format.h"
#include "formats/text/text_raw_checks.h"
#include "formats/text/text_scan.h"

namespace talvo {

Read_Result Read_Text_Raw(const Input_File& source, Store& store) {
  Text_Input input(source.bytes, source.name);
  store.Sample_ID = Fit32(input.Read_Line("a title line"));
  store.Time_Step = static_cast<float>(input.Read_Number_Within(Single_Range, "the counting time"));
  const double count = input.Read_Number("the number of points");
  Check_Whole_Point_Count(count, input.file_name());
  const int32_t n = Announced_Points(input.file_name(), count, 2);
  store.Nb_Points = n;
  store.Intensities.assign(static_cast<std::size_t>(n) + 1, 0.0f);
  for (int32_t i = 1; i <= n; ++i) {
    if (input.Only_Blanks_Remain())
      throw Failure(input.file_name() + " ends after " + std::to_string(i - 1) + " of the " + std::to_string(n) +
                    " points it announces.");
    store.Range_Limits[i == 1 ? 0 : 1] = input.Read_Number_Within(Double_Range, "a 2-theta angle");
    store.Intensities[i] = static_cast<float>(input.Read_Number_Within(Single_Range, "an intensity"));
    if (i == 2) store.Step_Size = store.Range_Limits[1] - store.Range_Limits[0];
  }
  Set_Maximum(store);
  Read_Result result;
  if (auto unread = More_Numbers_Follow(input, n)) result.warnings.push_back(*unread);
  Set_Scan_Items(store);
  store.Lambda1 = Copper_K_Alpha1;
  return result;
}

}  // namespace talvo
