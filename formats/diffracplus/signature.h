// The file type by its first four bytes.
#pragma once

#include <cstdint>
#include <string>

#include "core/input_file.h"

namespace talvo {

struct Store;

namespace signature {
constexpr int16_t Dif1 = 1, Dif2 = 2, Dif3 = 9;
constexpr int16_t Raw1 = 3, Raw2 = 4, Raw3 = 7, Raw_Ascii = 8;
constexpr int16_t Unknown = -1;
}  // namespace signature

// The signature code of the file; its first four bytes go into File_Sig.
// A file of four bytes or fewer is Unknown and leaves File_Sig alone.
// Throws Failure when the file is missing or unreadable.
int16_t File_Signature(const std::string& path, Store& store);
// The same for a file already read.
int16_t File_Signature(const Input_File& file, Store& store);

}  // namespace talvo
