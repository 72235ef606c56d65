// Bruker Diffrac-Plus DIF version 2 peak lists in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/input_file.h"

namespace talvo {

class Bytes_View;
struct Store;

// Reads every block of the file into the peak table, positions in degrees
// 2-theta as the records hold them, intensities scaled so that the strongest
// is 100, and the range widened by 2 x FWHM on each side.
Read_Result Read_Dif(const Input_File& source, Store& store);

// The offset `n` bytes after `offset` in `file`; n < 1 skips nothing. Throws
// Failure, naming `what`, when the skipped bytes run past the end of the file.
std::size_t Skip_Bytes(const Bytes_View& file, std::size_t offset, int16_t n, const std::string& what);

}  // namespace talvo
