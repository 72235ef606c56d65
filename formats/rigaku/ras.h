// Rigaku RAS text files: one or more scans, each a header of "*KEY "value""
// lines and a table of angle, intensity and attenuation factor.
#pragma once

#include "core/input_file.h"

namespace talvo {

struct Store;

inline constexpr const char* Ras_Type = "Rigaku RAS";

// Parses every scan of the file and stores scan Extras.Range_Wanted.
Read_Result Read_Ras(const Input_File& source, Store& store);

}  // namespace talvo
