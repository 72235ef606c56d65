// What the main window's two name fields hold: the text a file dialog's
// choice (or a drop) puts into a field, and the path the Preview menu reads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvo {

// One path, or the folder followed by the names, separated by single
// blanks: the form the conversion request splits. With `quote` (the input
// field), an item that holds a blank stands in double quotes.
std::string Browse_Text(const std::vector<std::string>& paths, bool quote);

// The field with the quotes of a quoted path removed; empty when the field
// is empty or "*.*".
std::string Preview_Path(std::string_view in_field);

}  // namespace talvo
