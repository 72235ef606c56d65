// Whole-file input and all-or-nothing output.
//
// Input files are read whole into memory and parsed with bounds checks.
// Output goes to a temporary file beside the target, renamed over the target
// only when complete, so an existing file survives any failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/input_file.h"
#include "core/path_names.h"  // File_Name_Of

namespace talvo {

// Paths handed around the program are UTF-8 text.
std::filesystem::path Path_From_Utf8(const std::string& path);
// The path as the user can look for it: absolute, without "." and "..".
std::string Full_Path_Of(const std::string& path);

// Throws Failure naming the file when it is missing (Input_Missing) or is a
// folder or cannot be read (Input_Unreadable). The message of a missing or
// unreadable file shows the whole path that was tried, so that a path cut
// at a blank can be spotted.
std::vector<uint8_t> Read_Whole_File(const std::string& path);
// The same, with the path and the name a reader's messages use.
Input_File Load_Input_File(const std::string& path);

// Throws Failure (Output_Unwritable) naming the file and the reason when it cannot be created
// or written (a full disk, a file-size limit, an I/O error); the temporary
// file is removed and an existing target is left as it was.
void Write_File_Atomically(const std::string& path, std::string_view bytes);

}  // namespace talvo
