// Step scans in text: formatted scans and xye.
#pragma once

#include <string>

#include "core/input_file.h"

namespace talvo {

class Platform;
struct Store;

Read_Result Read_Text_Raw(const Input_File& source, Store& store);
Read_Result Read_Xye(const Input_File& source, Store& store);

}  // namespace talvo
