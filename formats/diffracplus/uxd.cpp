// UXD (Universal X-Ray Data) peak lists: free-format text fields, of which
// only two keywords act:
//   _SAMPLE='name'   the sample name: the field's characters from the 10th to
//                    the next-to-last, so the quotes of 'name' fall away
//   _D-I             everything after it is d-spacing / intensity pairs
// A keyword field runs to a comma or the line end, blanks included; its key
// is the text between "_" and the first "=", compared with case. The file's
// own wavelength is not read: the d-spacings are turned into 2-theta with
// the Lambda1 the store holds. A file without _D-I is a scan export, read by
// uxd_scan.cpp.
#include "formats/diffracplus/uxd.h"

#include <limits>

#include "core/failure.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/diffracplus/uxd_scan.h"
#include "formats/text/free_format.h"
#include "formats/text/peak_table.h"

namespace talvo {

namespace {

std::string Key_Of(const std::string& field) {
  const std::size_t equals = field.find('=');
  return field.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
}

// A field too short to hold a quoted name (_SAMPLE=) names no sample.
void Read_Sample(const std::string& field, Store& store) {
  Set_Dif_Title(store, Fit32(field.size() < 10 ? std::string() : field.substr(9, field.size() - 10)));
}

void Read_Pairs(Text_Input& input, Store& store) {
  Peak_Table_Fill peaks(store, input.file_name());
  // Blank lines and blanks after the last pair end the list.
  while (!input.Only_Blanks_Remain()) {
    const double d = input.Read_Number_Within(Double_Range, "a d-spacing");
    const double intensity = input.Read_Number_Within(Double_Range, "a peak intensity");
    peaks.Add(d, intensity);
  }
  if (peaks.Count() == 0) throw Failure(input.file_name() + " has a _D-I section without any peak.");
  peaks.Scale();
  peaks.To_Two_Theta();
  peaks.Finish();
}

}  // namespace

Read_Result Read_Uxd(const Input_File& source, Store& store) {
  Text_Input input(source.bytes, source.name);
  store.Is_Peak_List = False16;
  bool peak_list = false;
  while (!peak_list && !input.Only_Blanks_Remain()) {
    const std::string field = input.Read_Text_Field("a field");
    if (field.empty() || field[0] != '_') continue;
    const std::string key = Key_Of(field);
    if (key == "SAMPLE") {
      Read_Sample(field, store);
    } else if (key == "D-I") {
      Read_Pairs(input, store);
      peak_list = true;
    }
  }
  // Without a peak list the file is a scan export.
  if (!peak_list) Read_Uxd_Scan(source.bytes, input.file_name(), store);
  return {};
}

}  // namespace talvo
