// Numbers as the program reads and rounds them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// The leading-number rule: after leading blanks, the longest leading part of
// the text that forms a decimal number (optional sign, digits, an optional
// "." with digits, an optional exponent) is its value. "." is the only
// decimal point. Text that does not begin with a number gives 0.
struct Leading {
  double value = 0;
  bool found = false;      // the text began with a number
  std::size_t length = 0;  // characters taken, leading blanks included
};
Leading Parse_Leading_Number(std::string_view text);
inline double Leading_Number(std::string_view text) {
  return Parse_Leading_Number(text).value;
}

// The text with its first "," replaced by ".".
std::string Comma_To_Dot(std::string_view text);

// Real to integer: nearest, halves to the even neighbour. Empty when the
// value is NaN or does not fit.
std::optional<int16_t> Round_To_Int16(double value);
std::optional<int32_t> Round_To_Int32(double value);
// Nearest whole number, halves to even, as a real.
double Round_Half_Even(double value);

// A number as the parameter dialogs show it: the general decimal form with up
// to `digits` significant digits (7 for a 32-bit item, 15 for a 64-bit one),
// trailing zeros dropped, `separator` as the decimal separator.
std::string General_Number(double value, int digits, char separator);

}  // namespace talvo
