#include "ui/field_text.h"

#include "core/numbers.h"

namespace talvo {

std::string Field_Text(float value, char separator) {
  return General_Number(value, 7, separator);
}

std::string Field_Text(double value, char separator) {
  return General_Number(value, 15, separator);
}

double Field_Number(const std::string& text) {
  return Leading_Number(Comma_To_Dot(text));
}

}  // namespace talvo
