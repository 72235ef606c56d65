// UXD peak lists in.
#pragma once

#include <string>

#include "core/input_file.h"

namespace talvo {

struct Store;

Read_Result Read_Uxd(const Input_File& source, Store& store);

}  // namespace talvo
