// Fixed-width text items: the 32-character sample names and titles.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

// Text put into a 32-character item: left-justified, cut at 32 or padded
// with blanks. Bytes read from a file go into the item unchanged instead.
std::string Fit32(std::string_view text);

// A 32-character item as a text file shows it: NUL bytes become blanks.
std::string Blank_Nuls(std::string_view text);

}  // namespace talvo
