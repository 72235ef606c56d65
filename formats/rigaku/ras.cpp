// A RAS file is text (Shift-JIS or Windows-1252 in its names, ASCII in every
// value read here), CR LF or LF line ends:
//
//   *RAS_DATA_START
//   *RAS_HEADER_START
//   *KEY "value"                    one per line, in any order
//   *RAS_HEADER_END
//   *RAS_INT_START
//   2.0000 7994.0000 1.0000         angle, intensity, attenuation factor
//   *RAS_INT_END
//   (*RAS_HEADER_START ... *RAS_INT_END again for each further scan)
//   *RAS_DATA_END
//
// The keys read: MEAS_SCAN_AXIS_X (and _INTERNAL) the axis driven,
// MEAS_SCAN_STEP, MEAS_SCAN_SPEED with MEAS_SCAN_SPEED_UNIT ("deg/min" in a
// continuous scan, seconds in a step scan), MEAS_SCAN_UNIT_Y ("counts" or
// "cps"), MEAS_DATA_COUNT, HW_XG_WAVE_LENGTH_ALPHA1/_ALPHA2, HW_XG_TARGET_NAME,
// FILE_SAMPLE and MEAS_SCAN_START_TIME. An intensity is the file's value
// times its attenuation factor; counts per second become counts with the
// counting time per step.
#include "formats/rigaku/ras.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp1252.h"
#include "core/failure.h"
#include "core/scan_range.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/lines.h"

namespace talvo {

namespace {

using Header = std::map<std::string, std::string, std::less<>>;

struct Ras_Scan {
  Header header;
  std::size_t first_line = 0;  // of its *RAS_HEADER_START, 1-based
  std::vector<double> angles, intensities, factors;
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A whole field as a number ("." the decimal point), or nothing.
std::optional<double> Number(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// `*KEY "value"`: the key and the text between the first and the last quote.
void Read_Header_Line(std::string_view line, Header& header) {
  line.remove_prefix(1);
  const std::size_t blank = line.find_first_of(" \t");
  const std::string key(line.substr(0, blank));
  std::string_view value = blank == std::string_view::npos ? std::string_view{} : Trimmed(line.substr(blank));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  header.insert_or_assign(key, std::string(value));
}

std::string Value(const Header& header, std::string_view key) {
  const auto found = header.find(key);
  return found == header.end() ? std::string() : found->second;
}

std::optional<double> Number_Of(const Header& header, std::string_view key) {
  return Number(Value(header, key));
}

std::vector<Ras_Scan> Parse(const std::string& name, const std::vector<std::string_view>& lines) {
  enum class Where { Outside, Header, Between, Data } where = Where::Outside;
  std::vector<Ras_Scan> scans;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = Trimmed(lines[i]);
    const std::string at = name + ", line " + std::to_string(i + 1) + ": ";
    if (line.empty()) continue;
    switch (where) {
      case Where::Outside:
        if (line == "*RAS_HEADER_START") {
          scans.emplace_back().first_line = i + 1;
          where = Where::Header;
        } else if (line == "*RAS_INT_START") {
          throw Failure(at + "a table of points without its *RAS_HEADER_START header.");
        }
        break;
      case Where::Header:
        if (line == "*RAS_HEADER_END") {
          where = Where::Between;
        } else if (line.front() == '*') {
          Read_Header_Line(line, scans.back().header);
        } else {
          throw Failure(at + "the header of scan " + std::to_string(scans.size()) +
                        " holds a line that is no *KEY \"value\" line.");
        }
        break;
      case Where::Between:
        if (line != "*RAS_INT_START")
          throw Failure(at + "*RAS_INT_START was expected after the header of scan " + std::to_string(scans.size()) +
                        ".");
        where = Where::Data;
        break;
      case Where::Data: {
        if (line == "*RAS_INT_END") {
          where = Where::Outside;
          break;
        }
        const auto words = Words_Of(line);
        std::optional<double> angle, intensity, factor = 1.0;
        if (words.size() >= 2) {
          angle = Number(words[0]);
          intensity = Number(words[1]);
        }
        if (words.size() >= 3) factor = Number(words[2]);
        if (words.size() < 2 || words.size() > 3 || !angle || !intensity || !factor)
          throw Failure(at + "a point of scan " + std::to_string(scans.size()) +
                        " is not an angle, an intensity and an attenuation factor.");
        Ras_Scan& scan = scans.back();
        scan.angles.push_back(*angle);
        scan.intensities.push_back(*intensity);
        scan.factors.push_back(*factor);
        break;
      }
    }
  }
  if (where == Where::Header || where == Where::Between)
    throw Failure(name + " ends inside the header of its scan " + std::to_string(scans.size()) + ".");
  if (where == Where::Data)
    throw Failure(name + " ends inside the points of its scan " + std::to_string(scans.size()) + " (no *RAS_INT_END).");
  if (scans.empty()) throw Failure(name + " holds no *RAS_HEADER_START block: it is not a Rigaku RAS file.");
  return scans;
}

// Seconds per step, from the scan speed: degrees per minute (or second) in
// a continuous scan, seconds per step in a step scan.
std::optional<double> Counting_Time(const Header& header, double step) {
  const auto speed = Number_Of(header, "MEAS_SCAN_SPEED");
  if (!speed || !std::isfinite(*speed) || *speed <= 0) return std::nullopt;
  std::string unit = Value(header, "MEAS_SCAN_SPEED_UNIT");
  for (char& c : unit) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (unit == "deg/min" || unit == "degree/min" || unit == "°/min") return 60 * std::fabs(step) / *speed;
  if (unit == "deg/sec" || unit == "deg/s") return std::fabs(step) / *speed;
  if (unit == "sec" || unit == "s" || unit == "sec/step" || unit == "s/step") return *speed;
  return std::nullopt;
}

// The axis named as the file names it; "" when one of its names is a 2-theta
// drive (SmartLab writes "2-Theta" and "TwoTheta" for one axis).
std::string Drive(const Header& header) {
  const std::string shown = Value(header, "MEAS_SCAN_AXIS_X");
  const std::string internal = Value(header, "MEAS_SCAN_AXIS_X_INTERNAL");
  if (Is_Two_Theta_Drive(shown) || (!internal.empty() && Is_Two_Theta_Drive(internal))) return "";
  return shown.empty() ? internal : shown;
}

Scan_Range Range_Of(const std::string& name, std::size_t number, const Ras_Scan& scan) {
  const Header& header = scan.header;
  const std::size_t n = scan.angles.size();
  if (const auto stated = Number_Of(header, "MEAS_DATA_COUNT"))
    if (*stated != static_cast<double>(n))
      throw Failure(name + ": scan " + std::to_string(number) + " announces " + Value(header, "MEAS_DATA_COUNT") +
                    " points but lists " + std::to_string(n) + ".");
  Scan_Range range;
  range.drive = Drive(header);
  range.angles = scan.angles;
  range.start = n > 0 ? scan.angles.front() : Number_Of(header, "MEAS_SCAN_START").value_or(0);
  const auto step = Number_Of(header, "MEAS_SCAN_STEP");
  range.step = step && *step != 0 ? *step : (n > 1 ? (scan.angles.back() - scan.angles.front()) / double(n - 1) : 0);
  range.counting_time = Counting_Time(header, range.step);
  std::string unit = Value(header, "MEAS_SCAN_UNIT_Y");
  const bool per_second = unit == "cps" || unit == "CPS";
  if (per_second && !range.counting_time)
    throw Failure(name + ": scan " + std::to_string(number) +
                  " gives counts per second without a scan speed to turn them into counts.");
  const double time = per_second ? *range.counting_time : 1.0;
  range.counts.reserve(n);
  for (std::size_t k = 0; k < n; ++k) range.counts.push_back(scan.intensities[k] * scan.factors[k] * time);
  return range;
}

// The text of a header value as UTF-8: kept when it is UTF-8 already, else
// taken as Windows-1252.
std::string As_Utf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return Cp1252_To_Utf8(text);
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return Cp1252_To_Utf8(text);
    i += length;
  }
  return text;
}

}  // namespace

Read_Result Read_Ras(const Input_File& source, Store& store) {
  const std::vector<Ras_Scan> scans = Parse(source.name, Split_Lines(source.bytes));
  std::vector<Scan_Range> ranges;
  ranges.reserve(scans.size());
  for (std::size_t k = 0; k < scans.size(); ++k) ranges.push_back(Range_Of(source.name, k + 1, scans[k]));

  Read_Result result;
  result.warnings = Store_Range(source.name, ranges, store.Extras.Range_Wanted, store);
  // Store_Range has refused a scan the file does not hold; 0 asks for the first.
  const Header& header = scans[static_cast<std::size_t>(std::max(store.Extras.Range_Wanted, 1) - 1)].header;
  Pattern_Extras& extras = store.Extras;
  const auto alpha1 = Number_Of(header, "HW_XG_WAVE_LENGTH_ALPHA1");
  const auto alpha2 = Number_Of(header, "HW_XG_WAVE_LENGTH_ALPHA2");
  if (alpha1 && std::isfinite(*alpha1) && *alpha1 > 0 && *alpha1 < 1e6) {
    extras.K_Alpha1 = *alpha1;
    store.Lambda1 = static_cast<float>(*alpha1);
    store.Lambda2 = store.Lambda1;
  }
  if (alpha2 && std::isfinite(*alpha2) && *alpha2 > 0 && *alpha2 < 1e6) {
    extras.K_Alpha2 = *alpha2;
    store.Lambda2 = static_cast<float>(*alpha2);
  }
  extras.Anode = Value(header, "HW_XG_TARGET_NAME");
  extras.Sample = As_Utf8(Value(header, "FILE_SAMPLE"));
  extras.Date = Value(header, "MEAS_SCAN_START_TIME");
  extras.Source_Type = Ras_Type;
  store.Sample_ID = Fit32(Utf8_To_Cp1252(extras.Sample));
  return result;
}

}  // namespace talvo
