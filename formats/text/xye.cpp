// "Mercury text raw data (xye)": the wavelength, then triples of 2-theta,
// intensity and its uncertainty (discarded) up to the end of the file. The
// step is taken from the first two points, and the last point's angle ends
// the range.
#include "formats/text/xye.h"

#include <cmath>
#include <exception>
#include <limits>
#include <vector>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "formats/text/free_format.h"
#include "formats/text/lines.h"
#include "formats/text/text_scan.h"

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
  float intensity;
};

// The file as header, optional wavelength line and data lines.
struct Xye_Layout {
  std::optional<float> wavelength;
  std::vector<std::vector<std::string_view>> rows;  // the words of each data line
  bool valid = false;
};

Xye_Layout Layout_Of(std::span<const uint8_t> bytes) {
  const auto lines = Split_Lines(bytes);
  Xye_Layout layout;
  std::size_t i = 0;
  while (i < lines.size() && !Begins_With_Number(lines[i])) ++i;
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
    points.push_back({*angle, static_cast<float>(*intensity)});
  }
  return points;
}

}  // namespace

void Read_Xye_Fields(std::span<const uint8_t> bytes, const std::string& file_name, Store& store) {
  Text_Input input(bytes, file_name);
  store.Lambda1 = static_cast<float>(input.Read_Number_Within(Single_Range, "the wavelength"));
  store.Intensities.assign(1, 0.0f);
  int32_t n = 0;
  // Blank lines and blanks after the last triple end the scan.
  while (n < 2 || !input.Only_Blanks_Remain()) {
    if (n == Max_Points)
      throw Failure(input.file_name() + " holds more than 32767 points; a scan holds at most 32767.");
    ++n;
    store.Range_Limits[n == 1 ? 0 : 1] = input.Read_Number_Within(Double_Range, "a 2-theta angle");
    store.Intensities.push_back(static_cast<float>(input.Read_Number_Within(Single_Range, "an intensity")));
    // Not used: "nan", a dash or an empty field there costs the file nothing.
    input.Read_Numeric_Field("the uncertainty of an intensity");
    if (n == 2) store.Step_Size = store.Range_Limits[1] - store.Range_Limits[0];
  }
  store.Nb_Points = n;
  store.Time_Step = 1.0f;
  Set_Maximum(store);
}

std::optional<Read_Result> Read_Xye_Lines(std::span<const uint8_t> bytes, const std::string& file_name, Store& store) {
  const Xye_Layout layout = Layout_Of(bytes);
  const auto points = Points_Of(layout);
  if (!points || points->size() < 2) return std::nullopt;
  if (points->size() > static_cast<std::size_t>(Max_Points))
    throw Failure(file_name + " holds more than 32767 points; a scan holds at most 32767.");
  store.Lambda1 = layout.wavelength.value_or(Copper_K_Alpha1);
  store.Nb_Points = static_cast<int32_t>(points->size());
  store.Intensities.assign(1, 0.0f);
  for (const auto& point : *points) store.Intensities.push_back(point.intensity);
  store.Range_Limits = {points->front().angle, points->back().angle};
  store.Step_Size = (*points)[1].angle - (*points)[0].angle;
  store.Time_Step = 1.0f;
  Set_Maximum(store);
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

Read_Result Read_Xye(const Input_File& source, Store& store) {
  const auto& bytes = source.bytes;
  const std::string& name = source.name;
  if (Xye_Columns_Misread_As_Fields(bytes))
    if (auto result = Read_Xye_Lines(bytes, name, store)) return *result;
  try {
    Read_Xye_Fields(bytes, name, store);
  } catch (const Failure&) {
    if (auto result = Read_Xye_Lines(bytes, name, store)) return *result;
    throw;
  }
  Set_Scan_Items(store);
  return {};
}

}  // namespace talvo
