// The description of a measurement that the XML and zip formats state
// beside their scans, and how it fills the store and its extras.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

struct Store;

struct Measurement {
  std::optional<double> k_alpha1, k_alpha2, k_ratio;  // angstrom, and the Ka2/Ka1 intensity ratio
  std::string anode;                                  // "Cu"
  std::string sample;                                 // UTF-8
  std::string date;                                   // as the file writes it
};

// Lambda1 and Lambda2 (copper K-alpha1 where the file names no wavelength,
// Lambda2 = Lambda1 without a K-alpha2), Sample_ID (the sample in
// Windows-1252, cut or padded to 32), and the extras, with `type_name` as
// the type the file was read as.
void Store_Measurement(const Measurement& measurement, std::string_view type_name, Store& store);

// The index, from 0, of the range Store_Range has just stored: the one asked
// for, or the first when none was.
std::size_t Stored_Index(const Store& store);

// A seconds-per-step time from a scan speed: `step` degrees at `speed` in
// `unit` ("deg/min", "deg/s"); empty for another unit or a speed of 0.
std::optional<double> Time_Per_Step(double step, double speed, std::string_view unit);

}  // namespace talvo
