// Windows-1252 <-> UTF-8.
//
// Texts of the store and of data files are Windows-1252 bytes. Texts handed
// to the platform services (messages, prompts, titles, paths) are UTF-8.
// These two functions are the only crossing between the two.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

std::string Cp1252_To_Utf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become '?'; so does malformed UTF-8.
std::string Utf8_To_Cp1252(std::string_view utf8);

}  // namespace talvo
