// What "Formatted text (RAW)" files tell about themselves beyond the points
// they announce: a point count that is no whole number says the file is in
// another layout; numbers after the counted pairs say the count is short.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/input_file.h"

namespace talvo {

class Text_Input;

// Throws Failure, saying what the layout is, when `count` is no whole number.
void Check_Whole_Point_Count(double count, const std::string& file_name);

// After the counted pairs: a warning, for talvo-convert only, when a number
// follows them.
std::optional<Read_Result::Warning> More_Numbers_Follow(Text_Input& input, int32_t points);

}  // namespace talvo
