// A UXD scan export: "_KEY=value" lines, ";" comment lines, and per range
//   _DRIVE        the axis driven: 'COUPLED', '2THETA', 'THETA/2THETA' and
//                 'DETECTOR' move 2-theta; 'PHI', 'CHI', 'OMEGA' or 'THETA'
//                 alone measure pole figures and rocking curves
//   _START, _STEPSIZE, _STEPTIME   first angle, step, seconds per step
//   _COUNTS or _CPS               then the counts, any number per line
//   _2THETACOUNTS or _2THETACPS   then one angle and its count per line
// _SAMPLE and _WL1 stand in the file header. Only the first range is read.
#include "formats/diffracplus/uxd_scan.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/cp1252.h"
#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/free_format.h"
#include "formats/text/lines.h"

namespace talvo {

namespace {

struct Uxd_Range {
  std::optional<std::string> sample;
  std::optional<float> wavelength;
  std::string drive;
  std::optional<double> start, step;
  float step_time = 1.0f;
  bool pairs = false;
  bool data_key = false;
  std::vector<double> angles;
  std::vector<float> counts;
};

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value of "_KEY=value", without its quotes.
std::string Value_Of(std::string_view line) {
  const auto equals = line.find('=');
  std::string_view value = equals == std::string_view::npos ? std::string_view() : Trimmed(line.substr(equals + 1));
  if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string_view Key_Of(std::string_view line) {
  return Trimmed(line.substr(1, line.find('=') == std::string_view::npos ? line.npos : line.find('=') - 1));
}

[[noreturn]] void Refuse(const std::string& file_name, const std::string& reason) {
  throw Failure(file_name + " " + reason + "; nothing was read.");
}

double Number_Of(std::string_view text, const std::string& file_name, std::size_t line, std::string_view what) {
  const Leading number = Parse_Leading_Number(text);
  if (!number.found || !(std::fabs(number.value) <= Single_Range))
    Refuse(file_name, "holds \"" + Cp1252_To_Utf8(text) + "\" on line " + std::to_string(line + 1) + " where " +
                          std::string(what) + " was expected");
  return number.value;
}

void Read_Key(std::string_view line, Uxd_Range& range, const std::string& file_name, std::size_t at) {
  const std::string_view key = Key_Of(line);
  if (key == "SAMPLE")
    range.sample = Fit32(Value_Of(line));
  else if (key == "WL1")
    range.wavelength = static_cast<float>(Number_Of(Value_Of(line), file_name, at, "a wavelength"));
  else if (key == "DRIVE")
    range.drive = Value_Of(line);
  else if (key == "START")
    range.start = Number_Of(Value_Of(line), file_name, at, "a start angle");
  else if (key == "STEPSIZE")
    range.step = Number_Of(Value_Of(line), file_name, at, "a step");
  else if (key == "STEPTIME")
    range.step_time = static_cast<float>(Number_Of(Value_Of(line), file_name, at, "a counting time"));
  else if (key == "COUNTS" || key == "CPS")
    range.data_key = true;
  else if (key == "2THETACOUNTS" || key == "2THETACPS")
    range.data_key = range.pairs = true;
}

void Read_Data_Line(std::string_view line, Uxd_Range& range, const std::string& file_name, std::size_t at) {
  const auto words = Words_Of(line);
  if (range.pairs) {
    if (words.size() < 2)
      Refuse(file_name, "holds a line of one number where an angle and its count were expected (line " +
                            std::to_string(at + 1) + ")");
    range.angles.push_back(Number_Of(words[0], file_name, at, "a 2-theta angle"));
    range.counts.push_back(static_cast<float>(Number_Of(words[1], file_name, at, "a count")));
    return;
  }
  for (const auto word : words) range.counts.push_back(static_cast<float>(Number_Of(word, file_name, at, "a count")));
}

Uxd_Range First_Range(const std::vector<std::string_view>& lines, const std::string& file_name) {
  Uxd_Range range;
  for (std::size_t at = 0; at < lines.size(); ++at) {
    const std::string_view line = Trimmed(lines[at]);
    const bool keyword = !line.empty() && (line[0] == '_' || line[0] == ';');
    if (range.data_key && keyword) break;  // the next range begins
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '_')
      Read_Key(line, range, file_name, at);
    else if (range.data_key)
      Read_Data_Line(line, range, file_name, at);
  }
  return range;
}

bool Drives_Two_Theta(std::string drive) {
  for (auto& c : drive) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return drive.empty() || drive.find("2THETA") != std::string::npos || drive.find("COUPLED") != std::string::npos ||
         drive.find("DETECTOR") != std::string::npos;
}

void Check(const Uxd_Range& range, const std::string& file_name) {
  if (!Drives_Two_Theta(range.drive))
    Refuse(file_name, "holds a scan driven in " + Cp1252_To_Utf8(range.drive) +
                          ", not in 2-theta (a pole figure or a rocking curve), in its first range");
  if (range.counts.empty())
    Refuse(file_name,
           "holds neither a peak list (_D-I) nor scan counts (_COUNTS, _CPS, _2THETACOUNTS or "
           "_2THETACPS)");
  // A longer scan is read whole, for the outputs without the 16-bit limit;
  // the writers with it refuse it themselves.
  if (range.counts.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - 1)
    Refuse(file_name, "holds more points in its first range than a scan can count");
  if (!range.pairs && !range.start) Refuse(file_name, "gives no start angle (_START) for its counts");
  if (!range.step && !(range.pairs && range.angles.size() >= 2))
    Refuse(file_name, "gives no step (_STEPSIZE) for its counts");
}

void Fill_Store(const Uxd_Range& range, Store& store) {
  const double start = range.start.value_or(range.pairs ? range.angles.front() : 0.0);
  const double step =
      range.step.value_or(range.pairs && range.angles.size() >= 2 ? range.angles[1] - range.angles[0] : 0.0);
  const auto n = static_cast<int32_t>(range.counts.size());
  if (range.sample) store.Sample_ID = *range.sample;
  if (range.wavelength) store.Lambda1 = *range.wavelength;
  store.Time_Step = range.step_time;
  store.Step_Size = step;
  store.Range_Limits = {start, range.pairs ? range.angles.back() : start + (n - 1) * step};
  store.Nb_Points = n;
  store.Intensities.assign(1, 0.0f);
  store.Intensities.insert(store.Intensities.end(), range.counts.begin(), range.counts.end());
  Set_Scan_Items(store);
}

}  // namespace

Read_Result Read_Uxd_Scan(std::span<const uint8_t> bytes, const std::string& file_name, Store& store) {
  const Uxd_Range range = First_Range(Split_Lines(bytes), file_name);
  Check(range, file_name);
  Fill_Store(range, store);
  return {};
}

}  // namespace talvo
