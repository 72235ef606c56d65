#include "formats/text/number_pattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace talvo {

namespace {

bool Is_Placeholder(char c) {
  return c == '0' || c == '#';
}

// True when |value| lies exactly half-way between two neighbours at
// `decimals` decimals: value = (2k + 1) / (2 * 10^decimals). Such a value is
// a binary fraction only when value * 2^(decimals + 1) is an odd integer,
// which is an exact test on a double.
bool Is_Exact_Tie(double magnitude, int decimals) {
  const double scaled = std::ldexp(magnitude, decimals + 1);
  if (!(scaled < 0x1p53)) return false;  // every double from 2^53 on is even
  return scaled == std::floor(scaled) && std::fmod(scaled, 2.0) == 1.0;
}

// Room for the 309 integer digits of the largest double, the point and the
// decimals of every ordinary pattern.
constexpr int Buffer_Decimals = 64;

}  // namespace

Number_Pattern::Number_Pattern(std::string_view pattern) {
  std::size_t first = pattern.find_first_of("0#.");
  if (first == std::string_view::npos) {
    prefix_ = std::string(pattern);
    return;
  }
  std::size_t last = pattern.find_last_of("0#.");
  prefix_ = std::string(pattern.substr(0, first));
  suffix_ = std::string(pattern.substr(last + 1));
  bool in_fraction = false;
  for (char c : pattern.substr(first, last - first + 1)) {
    if (c == '.') {
      in_fraction = true;
      has_point_ = true;
    } else if (Is_Placeholder(c)) {
      if (in_fraction) {
        ++fraction_digits_;
        if (c == '0') fraction_zeros_ = fraction_digits_;  // a "0" shows every decimal before it
      } else if (c == '0') {
        ++integer_zeros_;
      }
    }
  }
}

void Number_Pattern::Append(std::string& out, double value, char separator) const {
  if (!std::isfinite(value)) {
    out += prefix_;
    out += std::isnan(value) ? "NaN" : value < 0 ? "-Infinity" : "Infinity";
    out += suffix_;
    return;
  }
  // to_chars rounds the exact binary value correctly, but an exact tie to
  // even; a tie goes away from zero here, so it is moved up by one unit in
  // the last place first, which to_chars then rounds up.
  double magnitude = std::fabs(value);
  if (Is_Exact_Tie(magnitude, fraction_digits_)) magnitude = std::nextafter(magnitude, HUGE_VAL);
  char fixed[320 + Buffer_Decimals];
  std::string wide;
  char* begin = fixed;
  char* end = fixed + sizeof fixed;
  if (fraction_digits_ > Buffer_Decimals) {
    wide.resize(320 + static_cast<std::size_t>(fraction_digits_));
    begin = wide.data();
    end = begin + wide.size();
  }
  const auto printed = std::to_chars(begin, end, magnitude, std::chars_format::fixed, fraction_digits_);
  const std::string_view digits(begin, static_cast<std::size_t>(printed.ptr - begin));
  const std::size_t point = digits.find('.');
  std::string_view integer = digits.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);

  integer.remove_prefix(std::min(integer.find_first_not_of('0'), integer.size()));
  const bool zero = integer.empty() && fraction.find_first_not_of('0') == std::string_view::npos;
  std::size_t shown = fraction.size();
  while (static_cast<int>(shown) > fraction_zeros_ && fraction[shown - 1] == '0') --shown;
  fraction = fraction.substr(0, shown);

  if (value < 0 && !zero) out += '-';
  out += prefix_;
  if (static_cast<int>(integer.size()) < integer_zeros_) out.append(integer_zeros_ - integer.size(), '0');
  out += integer;
  if (has_point_ && (!fraction.empty() || fraction_digits_ == 0)) {
    out += separator;
    out += fraction;
  }
  out += suffix_;
}

std::string Number_Pattern::Format(double value, char separator) const {
  std::string out;
  Append(out, value, separator);
  return out;
}

std::string Format_Number(double value, std::string_view pattern, char separator) {
  return Number_Pattern(pattern).Format(value, separator);
}

}  // namespace talvo
