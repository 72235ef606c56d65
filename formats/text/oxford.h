// Oxford text scans in.
#pragma once

#include <string>

#include "core/input_file.h"

namespace talvo {

struct Store;

Read_Result Read_Oxford(const Input_File& source, Store& store);

}  // namespace talvo
