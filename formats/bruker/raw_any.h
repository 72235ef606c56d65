// Bruker RAW step scans of every version, under one input type: versions 1
// and 2 as the Diffrac-Plus RAW type reads them, version 3 ("RAW1.01") and
// version 4 ("RAW4.00") with every range they hold.
#pragma once

#include <string>
#include <vector>

#include "core/bytes.h"
#include "core/input_file.h"
#include "core/scan_range.h"

namespace talvo {

struct Store;

// The display name of the type these readers serve.
inline constexpr const char* Raw_Any_Type = "Bruker RAW (versions 1 to 4)";

// By the file's own signature: "RAW " and "RAW2" go to Read_Raw1 and
// Read_Raw2 unchanged (their first range only), "RAW1.01" to Read_Raw3,
// "RAW4.00" to Read_Raw4. Anything else is refused.
Read_Result Read_Raw_Any(const Input_File& source, Store& store);

Read_Result Read_Raw3(const Input_File& source, Store& store);
Read_Result Read_Raw4(const Input_File& source, Store& store);

// What a version 3 or 4 file says about its measurement, beside its ranges.
struct Raw_Measurement {
  std::string sample;                              // Windows-1252 bytes, up to the first NUL
  std::string date;                                // "dd/mm/yy hh:mm:ss" as the file writes it
  std::string anode;                               // as the file writes it ("CU", "Cu")
  double k_alpha1 = 0, k_alpha2 = 0, k_ratio = 0;  // 0: not given
  double used_lambda = 0;                          // the first range's wavelength, 0: not given
  std::vector<Scan_Range> ranges;
};

// Puts range Extras.Range_Wanted of `measurement` into the store with the
// measurement's wavelengths, sample, anode and date.
Read_Result Store_Raw_Measurement(const std::string& file_name, const Raw_Measurement& measurement, Store& store);

// A little-endian 64-bit real of a binary file.
double Raw_F64(const Bytes_View& file, std::size_t offset, const std::string& what);

// `n` 4-byte real counts from `at`, which the caller has checked the file
// holds.
std::vector<double> Raw_Counts(const Bytes_View& file, std::size_t at, std::size_t n);

// A text field of a binary header: the bytes up to the first NUL, without
// trailing blanks.
std::string Header_Text(const std::string& field);

}  // namespace talvo
