// GSAS raw-data scans with uncertainties in.
#pragma once

#include <string>

#include "core/input_file.h"

namespace talvo {

struct Store;

Read_Result Read_Gsas(const Input_File& source, Store& store);

}  // namespace talvo
