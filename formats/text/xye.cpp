// "Mercury text raw data (xye)": the wavelength, then triples of 2-theta,
// intensity and its uncertainty up to the end of the file. The step is taken
// from the first two points, and the last point's angle ends the range; the
// file's own angle, count and uncertainty of each point go to the extras.
// A file whose header names another x axis (time-of-flight, d-spacing, Q),
// or whose x values leave 0..180 degrees, holds no 2-theta scan and is
// refused.
#include "formats/text/xye.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <limits>
#include <vector>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "formats/text/free_format.h"
#include "formats/text/lines.h"

namespace talvo {

namespace {

bool Begins_With_Number(std::string_view line) {
  return Parse_Leading_Number(line).found;
}

std::optional<double> Number_Within(std::string_view word, double limit) {
  const Leading number = Parse_Leading_Number(word);
  if (!number.found || !(std::fabs(number.value) <= limit)) return std::nullopt;
  return number.value;
}

struct Point {
  double angle;
  double intensity;
  std::optional<double> sigma;
};

// The file as header, optional wavelength line and data lines.
struct Xye_Layout {
  std::vector<std::string_view> header;  // the lines before the first that begins with a number
  std::optional<float> wavelength;
  std::vector<std::vector<std::string_view>> rows;  // the words of each data line
  bool valid = false;
};

Xye_Layout Layout_Of(std::span<const uint8_t> bytes) {
  const auto lines = Split_Lines(bytes);
  Xye_Layout layout;
  std::size_t i = 0;
  while (i < lines.size() && !Begins_With_Number(lines[i])) layout.header.push_back(lines[i++]);
  if (i == lines.size()) return layout;
  const auto first = Words_Of(lines[i]);
  if (first.size() == 1) {
    const auto wavelength = Number_Within(first[0], Single_Range);
    if (!wavelength) return layout;
    layout.wavelength = static_cast<float>(*wavelength);
    ++i;
  }
  std::size_t end = lines.size();
  while (end > i && Is_Blank_Line(lines[end - 1])) --end;
  for (; i < end; ++i) {
    if (!Begins_With_Number(lines[i])) return layout;
    layout.rows.push_back(Words_Of(lines[i]));
  }
  layout.valid = true;
  return layout;
}

// The points of the data lines, or empty when a line is not one of them.
std::optional<std::vector<Point>> Points_Of(const Xye_Layout& layout) {
  if (!layout.valid || layout.rows.empty()) return std::nullopt;
  const bool pairs = layout.rows.front().size() == 2;
  std::vector<Point> points;
  for (const auto& row : layout.rows) {
    if (pairs ? row.size() != 2 : row.size() < 3) return std::nullopt;
    const auto angle = Number_Within(row[0], Double_Range);
    const auto intensity = Number_Within(row[1], Single_Range);
    if (!angle || !intensity) return std::nullopt;
    // Pairs carry no third column to tell them from triples spread over
    // lines: only a rising 2-theta does.
    if (pairs && !points.empty() && !(*angle > points.back().angle)) return std::nullopt;
    points.push_back({*angle, *intensity, pairs ? std::nullopt : Number_Within(row[2], Single_Range)});
  }
  return points;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// What an x-axis name calls the axis when it is none of 2-theta's: "" for
// 2-theta and for names this reader does not know. A unit in brackets is
// left out; a `caption` (a column's first word) must be the name whole, a
// unit as a file states it need only begin with it.
std::string Other_Axis(std::string_view name, bool caption) {
  std::string lower = Lower(name.substr(0, name.find_first_of("([")));
  std::erase_if(lower, [](char c) { return c == ' ' || c == '\t' || c == '_' || c == '-'; });
  const auto named = [&](std::string_view axis) { return caption ? lower == axis : lower.starts_with(axis); };
  if (lower.find("theta") != std::string::npos || lower.find("deg") != std::string::npos) return "";
  if (named("timeofflight") || named("tof")) return "time-of-flight";
  if (named("dspacing") || lower == "d") return "d-spacing";
  if (named("momentumtransfer") || lower == "q") return "Q";
  return "";
}

// Refuses a file whose header names its x axis as another than 2-theta:
// "The X-axis unit is: Time-of-flight" (as Mantid writes it) anywhere in the
// header, or a caption of columns whose first word is such a name.
void Check_X_Axis_Named(const std::vector<std::string_view>& header, const std::string& file_name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    const std::string lower = Lower(header[i]);
    std::string axis;
    if (const auto unit = lower.find("x-axis unit"); unit != std::string::npos) {
      const auto colon = header[i].find_first_of(":=", unit);
      if (colon != std::string_view::npos) axis = Other_Axis(header[i].substr(colon + 1), false);
    } else if (i + 1 == header.size()) {
      const std::size_t first = header[i].find_first_not_of("#'!;/* \t");
      if (first != std::string_view::npos) {
        const auto words = Words_Of(header[i].substr(first));
        if (words.size() >= 2) axis = Other_Axis(words[0], true);
      }
    }
    if (!axis.empty())
      throw Failure(file_name + " holds a scan over " + axis + ", not 2-theta: its header says so on line " +
                    std::to_string(i + 1) + " (\"" + std::string(header[i]) + "\"); nothing was read.");
  }
}

// Refuses x values outside 0..180 degrees: no 2-theta scan has them.
void Check_Two_Theta_Range(const std::vector<double>& angles, const std::string& file_name) {
  if (angles.size() < 2) return;
  const auto [low, high] = std::minmax_element(angles.begin() + 1, angles.end());
  if (*low >= 0 && *high <= 180) return;
  throw Failure(file_name + " holds x values from " + General_Number(*low, 15, '.') + " to " +
                General_Number(*high, 15, '.') +
                ", outside 0 to 180 degrees: its x axis is not 2-theta; nothing was read.");
}

}  // namespace

void Read_Xye_Fields(std::span<const uint8_t> bytes, const std::string& file_name, Store& store) {
  Text_Input input(bytes, file_name);
  store.Lambda1 = static_cast<float>(input.Read_Number_Within(Single_Range, "the wavelength"));
  store.Intensities.assign(1, 0.0f);
  Pattern_Extras& extras = store.Extras;
  extras.Angles.assign(1, 0.0);
  extras.Counts.assign(1, 0.0);
  extras.Uncertainties.assign(1, 0.0);
  bool sigmas = true;
  int32_t n = 0;
  // Blank lines and blanks after the last triple end the scan.
  while (n < 2 || !input.Only_Blanks_Remain()) {
    if (n == std::numeric_limits<int32_t>::max())
      throw Failure(input.file_name() + " holds more points than a scan can count.");
    ++n;
    const double angle = input.Read_Number_Within(Double_Range, "a 2-theta angle");
    const double count = input.Read_Number_Within(Single_Range, "an intensity");
    store.Range_Limits[n == 1 ? 0 : 1] = angle;
    store.Intensities.push_back(static_cast<float>(count));
    extras.Angles.push_back(angle);
    extras.Counts.push_back(count);
    // "nan", a dash or an empty field there costs the file nothing but its
    // uncertainties.
    const Leading sigma = Parse_Leading_Number(input.Read_Numeric_Field("the uncertainty of an intensity"));
    sigmas = sigmas && sigma.found && std::isfinite(sigma.value);
    extras.Uncertainties.push_back(sigma.value);
    if (n == 2) store.Step_Size = store.Range_Limits[1] - store.Range_Limits[0];
  }
  if (!sigmas) extras.Uncertainties.clear();
  store.Nb_Points = n;
  store.Time_Step = 1.0f;
  Set_Scan_Items(store);
}

std::optional<Read_Result> Read_Xye_Lines(std::span<const uint8_t> bytes, const std::string& file_name, Store& store) {
  const Xye_Layout layout = Layout_Of(bytes);
  const auto points = Points_Of(layout);
  if (!points || points->size() < 2) return std::nullopt;
  if (points->size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max() - 1))
    throw Failure(file_name + " holds more points than a scan can count.");
  store.Lambda1 = layout.wavelength.value_or(Copper_K_Alpha1);
  store.Nb_Points = static_cast<int32_t>(points->size());
  store.Intensities.assign(1, 0.0f);
  Pattern_Extras& extras = store.Extras;
  extras.Angles.assign(1, 0.0);
  extras.Counts.assign(1, 0.0);
  extras.Uncertainties.assign(1, 0.0);
  bool sigmas = true;
  for (const auto& point : *points) {
    store.Intensities.push_back(static_cast<float>(point.intensity));
    extras.Angles.push_back(point.angle);
    extras.Counts.push_back(point.intensity);
    sigmas = sigmas && point.sigma.has_value();
    extras.Uncertainties.push_back(point.sigma.value_or(0));
  }
  if (!sigmas) extras.Uncertainties.clear();
  store.Range_Limits = {points->front().angle, points->back().angle};
  store.Step_Size = (*points)[1].angle - (*points)[0].angle;
  store.Time_Step = 1.0f;
  Set_Scan_Items(store);
  return Read_Result{};
}

bool Xye_Columns_Misread_As_Fields(std::span<const uint8_t> bytes) {
  const Xye_Layout layout = Layout_Of(bytes);
  if (!layout.valid || layout.rows.size() < 2) return false;
  const std::size_t width = layout.rows.front().size();
  if (width % 3 == 0) return false;
  double last = -HUGE_VAL;
  for (const auto& row : layout.rows) {
    const auto angle = Number_Within(row[0], Double_Range);
    if (row.size() != width || !angle || !(*angle > last)) return false;
    last = *angle;
  }
  return true;
}

namespace {

Read_Result Read_Xye_Scan(std::span<const uint8_t> bytes, const std::string& name, Store& store) {
  if (Xye_Columns_Misread_As_Fields(bytes))
    if (auto result = Read_Xye_Lines(bytes, name, store)) return *result;
  try {
    Read_Xye_Fields(bytes, name, store);
  } catch (const Failure&) {
    if (auto result = Read_Xye_Lines(bytes, name, store)) return *result;
    throw;
  }
  return {};
}

}  // namespace

Read_Result Read_Xye(const Input_File& source, Store& store) {
  Check_X_Axis_Named(Layout_Of(source.bytes).header, source.name);
  Read_Result result = Read_Xye_Scan(source.bytes, source.name, store);
  Check_Two_Theta_Range(store.Extras.Angles, source.name);
  return result;
}

}  // namespace talvo
