#include "formats/text/number_pattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

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

constexpr double Powers_Of_Ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The fast way for ordinary values: |value| * 10^decimals rounded to a whole
// number from the exact binary value, ties away from zero. The product is
// p + e exactly (e from fma); p - floor(p) - 0.5 is exact and, when not
// zero, at least one unit in the last place of p, which |e| never reaches,
// so its sign decides, and e decides when it is zero. False for values out
// of its range (p from 2^52 on, or more than 22 decimals).
bool Scaled_Round(double magnitude, int decimals, uint64_t& scaled) {
  if (decimals > 22) return false;
  const double scale = Powers_Of_Ten[decimals];
  const double p = magnitude * scale;
  if (!(p < 0x1p52)) return false;
  const double e = std::fma(magnitude, scale, -p);
  scaled = static_cast<uint64_t>(p);  // the floor: p is not negative
  const double above_half = (p - static_cast<double>(scaled)) - 0.5;
  if (above_half > 0 || (above_half == 0 && e >= 0)) ++scaled;
  return true;
}

constexpr char Digit_Pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the last `count` decimal digits of `value` backwards from `end`, two
// at a time; returns where they begin and leaves the digits not written in
// `value`.
char* Digits_Backwards(char* end, uint64_t& value, int count) {
  for (; count >= 2; count -= 2, value /= 100) {
    const char* pair = Digit_Pairs + 2 * (value % 100);
    *--end = pair[1];
    *--end = pair[0];
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return end;
}

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

// The longest text of a finite double in fixed notation: 309 integer digits.
constexpr std::size_t Max_Integer_Digits = 309;

std::size_t Number_Pattern::Max_Length() const {
  // A sign, the literals, the integer digits (or the always-shown zeros),
  // the separator and the decimals; "-Infinity" is shorter.
  return 1 + prefix_.size() + std::max<std::size_t>(Max_Integer_Digits, static_cast<std::size_t>(integer_zeros_)) + 1 +
         static_cast<std::size_t>(fraction_digits_) + suffix_.size();
}

char* Number_Pattern::Put(char* p, double value, char separator) const {
  if (!std::isfinite(value)) {
    p = std::copy(prefix_.begin(), prefix_.end(), p);
    const std::string_view word = std::isnan(value) ? "NaN" : value < 0 ? "-Infinity" : "Infinity";
    p = std::copy(word.begin(), word.end(), p);
    return std::copy(suffix_.begin(), suffix_.end(), p);
  }
  const double magnitude = std::fabs(value);
  if (uint64_t scaled = 0;
      fraction_digits_ <= 15 && integer_zeros_ <= 16 && Scaled_Round(magnitude, fraction_digits_, scaled))
    return Put_Scaled(p, scaled, value < 0, separator);
  // Values out of the short way's range: very large ones, more than 15
  // decimals, more than 16 integer zeros. to_chars rounds the exact binary
  // value correctly, but an exact tie to even; a tie has exactly one decimal
  // more, a 5, which is printed, dropped, and the rest rounded up.
  const bool tie = Is_Exact_Tie(magnitude, fraction_digits_);
  std::string wide(Max_Integer_Digits + 22 + static_cast<std::size_t>(fraction_digits_), '\0');
  const auto printed = std::to_chars(wide.data(), wide.data() + wide.size(), magnitude, std::chars_format::fixed,
                                     fraction_digits_ + (tie ? 1 : 0));
  wide.resize(static_cast<std::size_t>(printed.ptr - wide.data()));
  if (tie) {
    wide.pop_back();                             // the 5
    if (fraction_digits_ == 0) wide.pop_back();  // and the point before it
    int i = static_cast<int>(wide.size()) - 1;
    for (; i >= 0 && (wide[i] == '9' || wide[i] == '.'); --i)
      if (wide[i] == '9') wide[i] = '0';
    if (i >= 0)
      ++wide[i];
    else
      wide.insert(wide.begin(), '1');
  }
  const std::size_t point = wide.find('.');
  std::string_view integer = std::string_view(wide).substr(0, point);
  std::string_view fraction =
      point == std::string::npos ? std::string_view() : std::string_view(wide).substr(point + 1);

  std::size_t leading = 0;
  while (leading < integer.size() && integer[leading] == '0') ++leading;
  integer.remove_prefix(leading);
  std::size_t shown = fraction.size();
  while (static_cast<int>(shown) > fraction_zeros_ && fraction[shown - 1] == '0') --shown;
  bool zero = integer.empty();
  for (std::size_t k = 0; zero && k < fraction.size(); ++k) zero = fraction[k] == '0';
  fraction = fraction.substr(0, shown);

  if (value < 0 && !zero) *p++ = '-';
  p = std::copy(prefix_.begin(), prefix_.end(), p);
  for (auto k = static_cast<int>(integer.size()); k < integer_zeros_; ++k) *p++ = '0';
  for (const char digit : integer) *p++ = digit;
  if (has_point_ && (!fraction.empty() || fraction_digits_ == 0)) {
    *p++ = separator;
    for (const char digit : fraction) *p++ = digit;
  }
  return std::copy(suffix_.begin(), suffix_.end(), p);
}

char* Number_Pattern::Put_Scaled(char* p, uint64_t scaled, bool negative, char separator) const {
  static constexpr uint64_t Units[] = {1,
                                       10,
                                       100,
                                       1000,
                                       10000,
                                       100000,
                                       1000000,
                                       10000000,
                                       100000000,
                                       1000000000,
                                       10000000000,
                                       100000000000,
                                       1000000000000,
                                       10000000000000,
                                       100000000000000,
                                       1000000000000000};
  const uint64_t unit = Units[fraction_digits_];
  uint64_t whole = scaled / unit, part = scaled % unit;
  int shown = fraction_digits_;
  for (; shown > fraction_zeros_ && part % 10 == 0; --shown) part /= 10;

  if (negative && scaled != 0) *p++ = '-';
  p = std::copy(prefix_.begin(), prefix_.end(), p);
  // The digits around the separator at text + 24: at most 16 before it
  // (scaled is below 2^53), at most 16 from it on. They are copied to `p`
  // as 40 bytes, which its room always holds, then `p` moves past them.
  char text[64] = {};
  char* const point = text + 24;
  char* first = point;
  for (; whole >= 100; whole /= 100) {
    const char* pair = Digit_Pairs + 2 * (whole % 100);
    *--first = pair[1];
    *--first = pair[0];
  }
  if (whole >= 10) {
    *--first = Digit_Pairs[2 * whole + 1];
    *--first = Digit_Pairs[2 * whole];
  } else if (whole != 0) {
    *--first = static_cast<char>('0' + whole);
  }
  while (point - first < integer_zeros_) *--first = '0';
  char* last = point;
  if (has_point_ && (shown > 0 || fraction_digits_ == 0)) {
    *last++ = separator;
    last += shown;
    Digits_Backwards(last, part, shown);
  }
  std::memcpy(p, first, 40);
  p += last - first;
  return std::copy(suffix_.begin(), suffix_.end(), p);
}

void Number_Pattern::Append(std::string& out, double value, char separator) const {
  // Written on the stack, then one growth of `out`: a scan writes tens of
  // thousands of them.
  char text[512];
  if (Max_Length() <= sizeof text) {
    out.append(text, Put(text, value, separator));
    return;
  }
  std::string long_text(Max_Length(), '\0');
  out.append(long_text.data(), Put(long_text.data(), value, separator));
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
