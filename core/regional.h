// The user's regional settings as the C library resolves them: the decimal
// separator from the numeric category and the short date from the time
// category, each on its own. A locale that is not installed in another
// category (LC_CTYPE, LC_MESSAGES, ...) does not send them back to "C".
#pragma once

#include <ctime>
#include <string>

namespace talvo {

char Regional_Decimal_Separator();
// `when` written in the time category's short date form ("%x").
std::string Regional_Short_Date(const std::tm& when);
// Today's date, local time, in that form.
std::string Regional_Short_Date_Today();

}  // namespace talvo
