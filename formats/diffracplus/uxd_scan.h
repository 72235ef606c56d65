// UXD files as diffractometers export their scans: keyword lines, then the
// counts of each range.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/input_file.h"

namespace talvo {

struct Store;

// Reads the step scan of the file's first range into the store. Throws
// Failure, the store untouched, when the range holds no data, is driven in
// another axis than 2-theta, or lacks its start or step. A range of more
// than 32767 points is read whole.
Read_Result Read_Uxd_Scan(std::span<const uint8_t> bytes, const std::string& file_name, Store& store);

}  // namespace talvo
