#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace talvo {

namespace {

bool Is_Digit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t Skip_Digits(std::string_view text, std::size_t i) {
  while (i < text.size() && Is_Digit(text[i])) ++i;
  return i;
}

// from_chars leaves the value alone when it is out of range; tell overflow
// from underflow by the decimal exponent of the first significant digit.
double Out_Of_Range_Value(std::string_view number) {
  bool negative = !number.empty() && number.front() == '-';
  std::size_t e = number.find_first_of("eE");
  std::string_view mantissa = number.substr(0, e);
  long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = number.substr(e + 1);
    bool exp_negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 100000L);
    if (exp_negative) exponent = -exponent;
  }
  std::size_t point = mantissa.find('.');
  std::size_t integer_digits = point == std::string_view::npos ? mantissa.size() : point;
  std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return 0.0;
  // decimal position of the first non-zero digit: 1 for 1..9, 0 for 0.1..0.9
  const long magnitude = first < integer_digits ? static_cast<long>(integer_digits - first)
                                                : -static_cast<long>(first - integer_digits - 1);
  const double big = std::numeric_limits<double>::infinity();
  if (magnitude + exponent > 0) return negative ? -big : big;
  return negative ? -0.0 : 0.0;
}

}  // namespace

Leading Parse_Leading_Number(std::string_view text) {
  Leading result;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t int_start = i;
  i = Skip_Digits(text, i);
  bool digits = i > int_start;
  if (i < text.size() && text[i] == '.') {
    std::size_t frac_end = Skip_Digits(text, i + 1);
    if (frac_end > i + 1) {
      digits = true;
      i = frac_end;
    } else if (digits) {
      i = i + 1;  // "5." is the number 5
    }
  }
  if (!digits) return result;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t exp_end = Skip_Digits(text, j);
    if (exp_end > j) i = exp_end;
  }
  std::string number(text.substr(start, i - start));
  if (!number.empty() && number.front() == '+') number.erase(0, 1);
  if (!number.empty() && number.back() == '.') number.pop_back();
  double value = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range) value = Out_Of_Range_Value(number);
  (void)end;
  result.value = value;
  result.found = true;
  result.length = i;
  return result;
}

std::string Comma_To_Dot(std::string_view text) {
  std::string out(text);
  if (auto comma = out.find(','); comma != std::string::npos) out[comma] = '.';
  return out;
}

double Round_Half_Even(double value) {
  return std::nearbyint(value);
}

std::optional<int16_t> Round_To_Int16(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;
  return static_cast<int16_t>(r);
}

std::optional<int32_t> Round_To_Int32(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
  return static_cast<int32_t>(r);
}

std::string General_Number(double value, int digits, char separator) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0) return "0";
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  (void)error;
  std::string text(buffer, end);
  // to_chars writes "1e-05"; the dialogs show "1E-05".
  if (auto e = text.find('e'); e != std::string::npos) text[e] = 'E';
  if (auto point = text.find('.'); point != std::string::npos) text[point] = separator;
  return text;
}

}  // namespace talvo
