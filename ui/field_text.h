// Numbers in the text fields of the parameter dialogs.
//
// A field shows a number in the general decimal form of the user's regional
// settings: their decimal separator, no thousands separator, trailing zeros
// dropped, up to 7 significant digits for a 32-bit item and 15 for a 64-bit
// one. A field is read back with its first comma taken as the decimal point,
// then by the leading-number rule, so "1,5", "1.5" and "1,5,7" all give 1.5
// and text that does not begin with a number gives 0.
#pragma once

#include <string>

namespace talvo {

std::string Field_Text(float value, char separator);
std::string Field_Text(double value, char separator);

double Field_Number(const std::string& text);

}  // namespace talvo
