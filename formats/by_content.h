// "Any type (by content)": the file's type found from what it holds rather
// than from the type chosen, then read by that type's reader.
#pragma once

#include <string_view>

#include "core/input_file.h"

namespace talvo {

struct Store;

// The key of the input type the file's content shows: binary signatures,
// the XML root element, the names of a zip archive's members, a GSAS bank
// line, UXD keywords, the columns of numeric text. Throws Failure naming
// the candidates when the content does not tell them apart (the peak-list
// text layouts), and naming the file when it matches no type.
std::string_view Type_By_Content(const Input_File& file);

// Reads the file with the reader of Type_By_Content's type, as that type
// would, and warns when the type is not the one its extension names.
Read_Result Read_By_Content(const Input_File& file, Store& store);

}  // namespace talvo
