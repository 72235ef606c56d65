// Step scans in text: formatted scans and xye.
#pragma once

#include <string>

#include "core/input_file.h"
#include "formats/text/xye.h"  // Read_Xye, read with the scans

namespace talvo {

struct Store;

Read_Result Read_Text_Raw(const Input_File& source, Store& store);

}  // namespace talvo
