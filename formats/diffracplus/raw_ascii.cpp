// The ".RAW" text export of a step scan:
//   lines 1-3   ignored (line 1 begins with ".RAW")
//   line 4      sample identification
//   lines 5-22  ignored
//   then free-format numbers: first 2-theta, step width, the number of
//   steps N and one discarded integer, the time per step, twelve discarded
//   line reads (the first takes what follows the time on its line), and the
//   N intensities.
#include <limits>
#include <string>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/diffracplus/raw.h"
#include "formats/text/free_format.h"

namespace talvo {

Read_Result Read_Raw_Ascii(const Input_File& source, Store& store) {
  Text_Input in(source.bytes, source.name);
  for (int line = 1; line <= 3; ++line) in.Read_Line("the header lines");
  store.Sample_ID = Fit32(in.Read_Line("the sample identification (line 4)"));
  for (int line = 5; line <= 22; ++line) in.Read_Line("the header lines");
  store.Range_Limits[0] = in.Read_Number_Within(Double_Range, "the first 2-theta");
  store.Step_Size = in.Read_Number_Within(Double_Range, "the step width");
  const double count = in.Read_Number("the number of steps");
  in.Read_Numeric_Field("the number that follows the number of steps");  // not used, whatever it holds
  store.Time_Step = static_cast<float>(in.Read_Number_Within(Single_Range, "the time per step"));
  const int32_t n = Announced_Points(in.file_name(), count);
  for (int line = 1; line <= 12; ++line) in.Read_Line("the lines before the intensities");
  store.Nb_Points = n;
  store.Intensities.assign(static_cast<std::size_t>(n) + 1, 0.0f);
  for (int k = 1; k <= n; ++k) {
    if (in.Only_Blanks_Remain())
      throw Failure(in.file_name() + " ends after " + std::to_string(k - 1) + " of the " + std::to_string(n) +
                    " intensities it announces.");
    store.Intensities[k] = static_cast<float>(in.Read_Number_Within(Single_Range, "an intensity"));
  }
  Set_Scan_Items(store);
  store.Lambda1 = Copper_K_Alpha1;
  store.Range_Limits[1] = store.Range_Limits[0] + (n - 1) * store.Step_Size;
  return {};
}

}  // namespace talvo
