// "Formatted text (D/I)": a title line, then position / intensity pairs.
// "Diamond text (D/I)": a header line, then nine numbers per peak:
//   1 index   2 (real)   3 position   4 intensity   5 (real)   6..9 (whole)
// of which only the position and the intensity are used.
// After the first line both are read as free-format fields, so only the
// order of the numbers matters. A list whose first position exceeds its
// second is taken for d-spacings (descending d) and turned into 2-theta at
// 1.54051 angstrom; any other list is taken for 2-theta as read.
#include "formats/text/peak_lists.h"

#include <cstdint>
#include <limits>

#include "core/store.h"
#include "core/text32.h"
#include "formats/text/free_format.h"
#include "formats/text/peak_table.h"

namespace talvo {

namespace {

enum class Layout { Text_DI, Diamond };

Read_Result Read_Peak_List(const Input_File& source, Store& store, Layout layout) {
  store.Lambda1 = Copper_K_Alpha1;
  Text_Input input(source.bytes, source.name);
  const std::string first_line = input.Read_Line(layout == Layout::Text_DI ? "a title line" : "a header line");
  if (layout == Layout::Text_DI) Set_Dif_Title(store, Fit32(first_line));

  Peak_Table_Fill peaks(store, input.file_name());
  // Blank lines and blanks after the last record end the list.
  do {
    double position = 0, intensity = 0;
    if (layout == Layout::Text_DI) {
      position = input.Read_Number_Within(Double_Range, "a peak position");
      intensity = input.Read_Number_Within(Double_Range, "a peak intensity");
    } else {
      // The other seven fields are not used: whatever they hold, text or
      // nothing included, only their place counts.
      input.Read_Numeric_Field("the peak number");
      input.Read_Numeric_Field("the second number of a peak line");
      position = input.Read_Number_Within(Double_Range, "a peak position");
      intensity = input.Read_Number_Within(Double_Range, "a peak intensity");
      input.Read_Numeric_Field("the fifth number of a peak line");
      for (int field = 6; field <= 9; ++field) input.Read_Numeric_Field("the last four numbers of a peak line");
    }
    peaks.Add(position, intensity);
  } while (!input.Only_Blanks_Remain());

  peaks.Scale();
  // A single peak has no second position to compare with: it stays 2-theta.
  if (peaks.Count() >= 2 && store.Peaks[1].Position > store.Peaks[2].Position) peaks.To_Two_Theta();
  peaks.Finish();
  return {};
}

}  // namespace

Read_Result Read_Text_DI(const Input_File& source, Store& store) {
  return Read_Peak_List(source, store, Layout::Text_DI);
}

Read_Result Read_Diamond(const Input_File& source, Store& store) {
  return Read_Peak_List(source, store, Layout::Diamond);
}

}  // namespace talvo
