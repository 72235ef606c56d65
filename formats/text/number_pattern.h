// Numbers written by format patterns: "0" is a digit always shown, "#" a
// digit shown only when significant, "." marks the decimals, and any other
// character is written as it stands. "##.000" writes 0.02 as ".020",
// "#####0.0" writes 1234.56 as "1234.6", "  0" writes 5 as "  5".
//
// The value is rounded to the pattern's decimals from its exact binary
// value (2.675 is stored below the half, and "0.00" gives "2.67"); a value
// exactly half-way rounds away from zero (0.125 gives "0.13" and 62.5 with
// "0" gives "63"), as spreadsheet and report tools round such patterns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

class Number_Pattern {
 public:
  explicit Number_Pattern(std::string_view pattern);

  // Appends the value written by the pattern, with `separator` as the
  // decimal separator.
  void Append(std::string& out, double value, char separator) const;
  std::string Format(double value, char separator) const;

  // The same text written at `p`, which has room for Max_Length() bytes;
  // returns its end.
  char* Put(char* p, double value, char separator) const;
  std::size_t Max_Length() const;

 private:
  // The text of a value whose |value| * 10^decimals rounds to `scaled`, for
  // at most 15 decimals and 16 integer digits always shown.
  char* Put_Scaled(char* p, uint64_t scaled, bool negative, char separator) const;

  std::string prefix_;     // literal characters before the first digit
  int integer_zeros_ = 0;  // integer digits always shown
  bool has_point_ = false;
  int fraction_zeros_ = 0;   // decimals always shown
  int fraction_digits_ = 0;  // decimals in all ("0" and "#")
  std::string suffix_;       // literal characters after the last digit
};

std::string Format_Number(double value, std::string_view pattern, char separator);

}  // namespace talvo
