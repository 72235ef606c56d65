// Bruker Diffrac-Plus RAW step scans: version 1 and 2 in, version 2 out,
// and the ".RAW" text export in.
#pragma once

#include <string>

#include "core/input_file.h"

namespace talvo {

class Platform;
struct Store;

Read_Result Read_Raw1(const Input_File& source, Store& store);
Read_Result Read_Raw2(const Input_File& source, Store& store);
Read_Result Read_Raw_Ascii(const Input_File& source, Store& store);
void Write_Raw2(const std::string& path, const Store& store, Platform& platform);

}  // namespace talvo
