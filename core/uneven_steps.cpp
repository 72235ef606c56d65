#include "core/uneven_steps.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/numbers.h"
#include "core/store.h"

namespace talvo {

namespace {

// Degrees to four significant digits, in fixed notation: 10.41, 0.028,
// 0.0009999.
std::string Degrees(double value) {
  if (value == 0 || !std::isfinite(value)) return General_Number(value, 4, '.');
  const int decimals = std::clamp(3 - static_cast<int>(std::floor(std::log10(std::fabs(value)))), 0, 15);
  char buffer[400];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
  std::string text(buffer, end);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

}  // namespace

std::optional<std::string> Uneven_Steps_Warning(const std::string& file_name, const Store& store) {
  const int32_t n = store.Nb_Points;
  const auto& angles = store.Extras.Angles;
  if (n < 2 || !Holds_Per_Point(angles, n)) return std::nullopt;
  double written = store.Start_2Theta;
  double largest = 0;
  int32_t where = 0;
  for (int32_t k = 1; k <= n; ++k) {
    const double difference = std::fabs(angles[static_cast<std::size_t>(k)] - written);
    if (difference > largest) {
      largest = difference;
      where = k;
    }
    written += store.Step_Size;
  }
  if (!(largest > std::fabs(store.Step_Size) / 2)) return std::nullopt;
  double narrowest = HUGE_VAL, widest = -HUGE_VAL;
  for (std::size_t k = 2; k <= static_cast<std::size_t>(n); ++k) {
    narrowest = std::min(narrowest, angles[k] - angles[k - 1]);
    widest = std::max(widest, angles[k] - angles[k - 1]);
  }
  return file_name + ": its steps run from " + Degrees(narrowest) + " to " + Degrees(widest) +
         " degrees; written with the step of its first two points, its angles differ from the file's by up to " +
         Degrees(largest) + " degrees (point " + std::to_string(where) + ").";
}

}  // namespace talvo
