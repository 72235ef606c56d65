#include "formats/text/number_pattern.h"

#include <charconv>
#include <cmath>

namespace talvo {

namespace {

bool Is_Placeholder(char c) { return c == '0' || c == '#'; }

// Digits printed beyond the pattern's decimals: enough to see the exact
// binary value decide a half-way case for every value a pattern can round
// to a non-zero digit.
constexpr int Guard_Digits = 25;

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
  // Exact decimal digits of |value|, then rounding at the pattern's decimals.
  char buffer[400];
  const auto printed = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                     fraction_digits_ + Guard_Digits);
  std::string digits(buffer, printed.ptr);
  const std::size_t point = digits.find('.');
  std::string integer = digits.substr(0, point);
  std::string fraction = digits.substr(point + 1, fraction_digits_);
  const std::string_view rest = std::string_view(digits).substr(point + 1 + fraction_digits_);
  if (!rest.empty() && rest[0] >= '5') {
    // Half-way or above: away from zero. Carry through the decimals and the
    // integer digits.
    int i = static_cast<int>(fraction.size()) - 1;
    for (; i >= 0 && fraction[i] == '9'; --i) fraction[i] = '0';
    if (i >= 0) {
      ++fraction[i];
    } else {
      int j = static_cast<int>(integer.size()) - 1;
      for (; j >= 0 && integer[j] == '9'; --j) integer[j] = '0';
      if (j >= 0)
        ++integer[j];
      else
        integer.insert(integer.begin(), '1');
    }
  }
  const bool zero = integer.find_first_not_of('0') == std::string::npos &&
                    fraction.find_first_not_of('0') == std::string::npos;
  const std::size_t significant = integer.find_first_not_of('0');
  integer = significant == std::string::npos ? "" : integer.substr(significant);
  if (static_cast<int>(integer.size()) < integer_zeros_) integer.insert(0, integer_zeros_ - integer.size(), '0');
  std::size_t shown = fraction.size();
  while (static_cast<int>(shown) > fraction_zeros_ && fraction[shown - 1] == '0') --shown;
  fraction.resize(shown);

  if (value < 0 && !zero) out += '-';
  out += prefix_;
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
