// One range of a step scan as today's instrument formats hold it, and how
// it becomes the pattern the store holds. A reader of such a format parses
// every range of its file into Scan_Range records and stores the one the
// conversion asked for (Extras.Range_Wanted) with Store_Range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/failure.h"
#include "core/input_file.h"

namespace talvo {

struct Store;

struct Scan_Range {
  double start = 0;                     // 2-theta of the first point, degrees
  double step = 0;                      // degrees per point
  std::vector<double> counts;           // one per point, point 1 first
  std::vector<double> angles;           // the file's own 2-theta of each point, or empty
  std::vector<double> uncertainties;    // the file's uncertainty of each count, or empty
  std::optional<double> counting_time;  // seconds per step
  // The axis the range is driven in, as the file names it; empty, or any
  // name Is_Two_Theta_Drive accepts, for a 2-theta scan.
  std::string drive;
};

// "1 point", "2 points": a count of points in a message.
std::string Points_Text(std::size_t n);

// True for the names formats give a 2-theta or coupled 2-theta/omega scan
// ("2Theta", "2THETA", "TwoTheta", "Locked Coupled", "2Theta-Omega", ...).
bool Is_Two_Theta_Drive(const std::string& drive);

// The failure of a file asked for a range it does not hold.
Failure No_Such_Range(const std::string& file_name, int32_t count, int32_t number);

// Puts range `number` (1-based; 0 for the first) of `ranges` into the store as its step
// scan, with the per-point items, the counting time and
// Extras.Range_Count; the wavelength, sample and the other description
// items are the reader's. Throws Failure naming the file when the file holds
// no such range, when that range is not driven in 2-theta, holds no point
// or a count that is not a finite number. Returns the warning the
// conversion shows when the file holds several ranges and none was chosen.
std::vector<Read_Result::Warning> Store_Range(const std::string& file_name, const std::vector<Scan_Range>& ranges,
                                              int32_t number, Store& store);

}  // namespace talvo
