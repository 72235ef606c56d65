// "Mercury text raw data (xye)": step scans as 2-theta, intensity and its
// uncertainty, with the wavelength in front, and the xye files other
// programs write.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/input_file.h"

namespace talvo {

struct Store;

Read_Result Read_Xye(const Input_File& source, Store& store);

// The wavelength, then triples read field by field to the end of the file,
// however they are spread over lines. Throws Failure where the file ends
// inside a triple or a number is missing.
void Read_Xye_Fields(std::span<const uint8_t> bytes, const std::string& file_name, Store& store);

// The files the field reading refuses or misreads, read line by line: header
// and comment lines (those that do not begin with a number) skipped, the
// wavelength line optional (1.54051 without it), then data lines of
// (2-theta, intensity) pairs with 2-theta rising, or of three or more
// numbers of which the first two are read. Empty, the store untouched, when
// the file is in none of these layouts.
std::optional<Read_Result> Read_Xye_Lines(std::span<const uint8_t> bytes, const std::string& file_name, Store& store);

// True when every data line holds the same number of fields, not a multiple
// of three, with 2-theta rising line by line: read field by field, such a
// file would take one column for another.
bool Xye_Columns_Misread_As_Fields(std::span<const uint8_t> bytes);

}  // namespace talvo
