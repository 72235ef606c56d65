// Peak lists in text: formatted D/I and Diamond listings.
#pragma once

#include <string>

#include "core/input_file.h"

namespace talvo {

struct Store;

Read_Result Read_Text_DI(const Input_File& source, Store& store);
Read_Result Read_Diamond(const Input_File& source, Store& store);

}  // namespace talvo
