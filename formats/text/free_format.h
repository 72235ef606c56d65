// Free-format reading of a text file held in memory, shared by every text
// reader.
//
// A line ends at CR LF (LF alone, CR alone and CR CR LF are taken as one line
// end too).
// A field read skips leading blanks, tabs and line ends. A numeric field ends
// at a blank, a tab, a comma or a line end (blanks then a comma count as one
// delimiter); a text field at a comma or a line end, or at its closing double
// quote when it begins with one. The delimiter
// is consumed: after a number that ends its line, the next read starts on
// the next line. Reading past the end of the file throws Failure.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "core/numbers.h"

namespace talvo {

// The ranges of the items a number read goes into, for Read_Number_Within.
inline constexpr double Single_Range = std::numeric_limits<float>::max();
inline constexpr double Double_Range = std::numeric_limits<double>::max();

class Text_Input {
 public:
  Text_Input(std::span<const uint8_t> bytes, std::string file_name);

  // True when no character remains.
  bool At_End() const { return pos_ >= text_.size(); }
  // True when nothing but blanks, tabs and line ends remains.
  bool Only_Blanks_Remain() const;

  // The rest of the current line, without its line end.
  std::string Read_Line(std::string_view what = "a line");
  std::string Read_Text_Field(std::string_view what = "a text field");
  // The raw text of a numeric field.
  std::string Read_Numeric_Field(std::string_view what = "a number");
  // A numeric field by the leading-number rule; a field that does not begin
  // with a number throws Failure naming `what` and the line.
  double Read_Number(std::string_view what = "a number");
  // A number as Read_Number that must also lie within -limit..limit, the
  // range of the item it goes into (1e999 is a number, but no item holds it).
  double Read_Number_Within(double limit, std::string_view what = "a number");

  const std::string& file_name() const { return file_name_; }

 private:
  bool Is_Line_End(std::size_t at) const { return at < text_.size() && (text_[at] == '\r' || text_[at] == '\n'); }
  void Consume_Line_End();
  void Skip_Separators();
  [[noreturn]] void Fail_At_End(std::string_view what) const;

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int field_line_ = 1;  // line of the last numeric field
  std::string file_name_;
};

}  // namespace talvo
