// GSAS raw data as GSAS and the programs that follow it write it: a bank line
// of blank-separated fields, counts alone (STD), counts with uncertainties
// (ESD) or one point per line (FXYE), several banks in one file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/input_file.h"

namespace talvo {

struct Store;

// Reads the first angle-scan bank of the file into the store: title, start,
// step, counting time 1 and the intensities from the first positive one on.
// Also the per-point extras: the counts as written, the uncertainties (ESD,
// FXYE) and the file's angles (FXYE). Empty when no line after the title
// begins with "BANK", or the first angle bank's record type is none of ESD,
// STD and FXYE: the file is not GSAS raw data as this reader knows it. Throws Failure, the store untouched,
// for a bank line that does not read, time-of-flight data, another bin
// type, or a bank without a positive intensity. A file that ends before the
// records its bank line announces is read and warned about.
std::optional<Read_Result> Read_Gsas_Free(std::span<const uint8_t> bytes, const std::string& file_name, Store& store);

// A count field by the leading-number rule; a value no 32-bit item holds
// reads as 0, as a field that does not read.
double Gsas_Value(std::string_view field);

// The lines that hold something after the title and the bank line, that is
// the records of a file whose bank line is the second line.
int32_t Gsas_Records_After_Line_2(std::span<const uint8_t> bytes);

// The warning for a file that holds fewer records than announced.
std::optional<Read_Result::Warning> Gsas_Early_End(const std::string& file_name, int64_t announced, int64_t found);

}  // namespace talvo
