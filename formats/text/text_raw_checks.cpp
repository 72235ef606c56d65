#include "formats/text/text_raw_checks.h"

#include <cmath>

#include "core/failure.h"
#include "core/numbers.h"
#include "formats/text/free_format.h"

namespace talvo {

void Check_Whole_Point_Count(double count, const std::string& file_name) {
  if (!std::isfinite(count) || count == std::floor(count)) return;
  throw Failure(file_name + " gives " + General_Number(count, 15, '.') +
                " as its number of points, which is not a whole number: it is not a \"Formatted text (RAW)\" "
                "file, which holds a title line, the counting time per step, the number of points, then that "
                "many pairs of 2-theta and intensity.");
}

std::optional<Read_Result::Warning> More_Numbers_Follow(Text_Input& input, int32_t points) {
  if (input.Only_Blanks_Remain() || !Parse_Leading_Number(input.Read_Numeric_Field()).found) return std::nullopt;
  return Read_Result::Warning{input.file_name() + ": more numbers follow the " + std::to_string(points) +
                                  " points the file announces; they were not read. A file of 2-theta and "
                                  "intensity pairs without this layout's header is read with the xye type "
                                  "(--from xye).",
                              false};
}

}  // namespace talvo
