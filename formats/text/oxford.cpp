// Oxford text scans:
//   line 1      the title; "[PowderGraph" titles take the sample name from
//               the file name, confirmed by the user
//   line 2      ignored
//   then records of five free-format numbers: 2-theta, a number not used,
//   the intensity, a fourth number that must be present, a fifth not used.
//   A record may run over several lines.
// The first two records give the step. From the third record on, the data
// end after a record whose 2-theta is 0, or at a record whose fourth number
// is -999 (not kept). Every record ends the data when it is cut short before
// its fourth number (not kept). A scan may start at 0 degrees: a 2-theta of 0
// in the first two records ends nothing. A zero-intensity record followed by
// another record restarts the scan: what is kept is the run after the last
// restart. The counting time and wavelength are not in the file; the import
// dialog asks for them, and its count limits the points written, so a long
// file is read whole.
#include "formats/text/oxford.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/cp1252.h"
#include "core/failure.h"
#include "core/numbers.h"
#include "core/path_names.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/free_format.h"

namespace talvo {

namespace {

// A fourth number the writing program left at this value marks the end of
// its data.
constexpr double End_Mark = -999.0;

struct Record {
  double two_theta;
  float intensity;
};

// One numeric field by the leading-number rule (text gives 0); empty when the
// file has no field left.
std::optional<double> Next_Number(Text_Input& in) {
  if (in.Only_Blanks_Remain()) return std::nullopt;
  return Leading_Number(in.Read_Numeric_Field());
}

// The records up to the end of the data.
std::vector<Record> Read_Records(Text_Input& in) {
  std::vector<Record> records;
  while (!in.Only_Blanks_Remain()) {
    const auto two_theta = Next_Number(in);
    Next_Number(in);
    const auto intensity = Next_Number(in);
    const auto fourth = Next_Number(in);
    if (!fourth) break;  // cut short before its fourth number
    if (records.size() >= 2 && *fourth == End_Mark) break;
    Next_Number(in);
    // A number such as 1e999 overflows to infinity, and an intensity beyond
    // the range of a float would become one: no scan can hold either.
    if (!std::isfinite(*two_theta) || !(std::fabs(*intensity) <= std::numeric_limits<float>::max()))
      throw Failure(in.file_name() + ": record " + std::to_string(records.size() + 1) +
                    " holds a 2-theta or an intensity too large for a scan.");
    records.push_back({*two_theta, static_cast<float>(*intensity)});
    if (records.size() > 2 && *two_theta == 0) break;
  }
  return records;
}

// The title as the sample name: a leading "[" dropped, the text cut before a
// "]" that is not its first character.
std::string Title_Name(const std::string& title32) {
  std::string name = title32;
  if (!name.empty() && name.front() == '[') name.erase(0, 1);
  if (const auto close = name.find(']'); close != std::string::npos && close > 0) name.resize(close);
  return Fit32(name);
}

// The file name without its last four characters (the extension), after the
// last "\" or "/".
std::string Path_Name(const std::string& path) {
  std::string name = Utf8_To_Cp1252(path);
  name.resize(name.size() >= 4 ? name.size() - 4 : 0);
  return Fit32(File_Name_Of(name));
}

}  // namespace

Read_Result Read_Oxford(const Input_File& source, Store& store) {
  Text_Input in(source.bytes, source.name);
  const std::string title = Fit32(in.At_End() ? std::string() : in.Read_Line());
  if (!in.At_End()) in.Read_Line();
  const std::vector<Record> records = Read_Records(in);
  if (records.empty())
    throw Failure(in.file_name() + " holds no record of five numbers after its two header lines; nothing was read.");

  // A zero-intensity record restarts the scan unless it is the last one read.
  std::size_t first = 0;
  for (std::size_t k = 0; k + 1 < records.size(); ++k)
    if (records[k].intensity == 0) first = k + 1;
  const auto kept = static_cast<int64_t>(records.size() - first);

  // A "[PowderGraph" title names no sample: the file's name is proposed,
  // and the conversion asks the user to confirm it.
  Read_Result result;
  if (title.compare(0, 12, "[PowderGraph") == 0) {
    store.Sample_ID = Path_Name(source.path);
    result.proposed_sample = store.Sample_ID;
  } else {
    store.Sample_ID = Title_Name(title);
  }

  store.Nb_Points = static_cast<int32_t>(kept);
  store.Intensities.assign(static_cast<std::size_t>(kept) + 1, 0.0f);
  for (std::size_t k = first; k < records.size(); ++k) store.Intensities[k - first + 1] = records[k].intensity;
  store.Time_Step = 1.0f;
  // The step comes from the first two records of the file, whatever is kept.
  // A file of one record has none: the dialog shows 0 for the user to
  // correct, rather than the step of an earlier file.
  store.Range_Limits[1] = records[std::min<std::size_t>(1, records.size() - 1)].two_theta;
  store.Step_Size = store.Range_Limits[1] - records[0].two_theta;
  store.Range_Limits[0] = records[first].two_theta;
  Set_Scan_Items(store);
  return result;
}

}  // namespace talvo
