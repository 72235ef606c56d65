#include "formats/text/free_format.h"

#include <cmath>

#include "core/cp1252.h"
#include "core/failure.h"

namespace talvo {

namespace {

bool Is_Blank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

Text_Input::Text_Input(std::span<const uint8_t> bytes, std::string file_name)
    : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()), file_name_(std::move(file_name)) {}

bool Text_Input::Only_Blanks_Remain() const {
  for (std::size_t i = pos_; i < text_.size(); ++i)
    if (!Is_Blank(text_[i]) && text_[i] != '\r' && text_[i] != '\n') return false;
  return true;
}

void Text_Input::Consume_Line_End() {
  // A file whose CR LF went through one more conversion has CR CR LF: one
  // line end, not an empty line after each line.
  if (text_.substr(pos_, 3) == "\r\r\n") ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  ++line_;
}

void Text_Input::Skip_Separators() {
  while (pos_ < text_.size()) {
    if (Is_Blank(text_[pos_]))
      ++pos_;
    else if (Is_Line_End(pos_))
      Consume_Line_End();
    else
      break;
  }
}

void Text_Input::Fail_At_End(std::string_view what) const {
  throw Failure(file_name_ + " ends where " + std::string(what) + " was expected (line " + std::to_string(line_) +
                ").");
}

std::string Text_Input::Read_Line(std::string_view what) {
  if (At_End()) Fail_At_End(what);
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !Is_Line_End(pos_)) ++pos_;
  std::string line(text_.substr(start, pos_ - start));
  if (pos_ < text_.size()) Consume_Line_End();
  return line;
}

std::string Text_Input::Read_Text_Field(std::string_view what) {
  Skip_Separators();
  if (At_End()) Fail_At_End(what);
  if (text_[pos_] == '"') {
    const std::size_t start = ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"' && !Is_Line_End(pos_)) ++pos_;
    std::string field(text_.substr(start, pos_ - start));
    if (pos_ < text_.size() && text_[pos_] == '"') ++pos_;
    while (pos_ < text_.size() && Is_Blank(text_[pos_])) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == ',')
      ++pos_;
    else if (Is_Line_End(pos_))
      Consume_Line_End();
    return field;
  }
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !Is_Line_End(pos_)) ++pos_;
  std::string field(text_.substr(start, pos_ - start));
  if (pos_ < text_.size() && text_[pos_] == ',')
    ++pos_;
  else if (Is_Line_End(pos_))
    Consume_Line_End();
  return field;
}

std::string Text_Input::Read_Numeric_Field(std::string_view what) {
  Skip_Separators();
  if (At_End()) Fail_At_End(what);
  field_line_ = line_;
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !Is_Blank(text_[pos_]) && text_[pos_] != ',' && !Is_Line_End(pos_)) ++pos_;
  std::string field(text_.substr(start, pos_ - start));
  if (Is_Line_End(pos_)) {
    Consume_Line_End();
  } else if (pos_ < text_.size()) {
    // A comma after blanks is the same delimiter: "1.5 ,25" is two numbers.
    std::size_t next = pos_;
    while (next < text_.size() && Is_Blank(text_[next])) ++next;
    pos_ = next < text_.size() && text_[next] == ',' ? next + 1 : pos_ + 1;
  }
  return field;
}

double Text_Input::Read_Number(std::string_view what) {
  return Read_Number_Within(HUGE_VAL, what);
}

double Text_Input::Read_Number_Within(double limit, std::string_view what) {
  const std::string field = Read_Numeric_Field(what);
  const Leading number = Parse_Leading_Number(field);
  if (!number.found)
    throw Failure(file_name_ + ": " + std::string(what) + " was expected on line " + std::to_string(field_line_) +
                  ", but it holds \"" + Cp1252_To_Utf8(field) + "\".");
  if (!(std::fabs(number.value) <= limit))
    throw Failure(file_name_ + ": the number \"" + Cp1252_To_Utf8(field) + "\" on line " + std::to_string(field_line_) +
                  " is too large for " + std::string(what) + ".");
  return number.value;
}

}  // namespace talvo
