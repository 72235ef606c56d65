// What a file carries beyond the store's items: the angle of each point
// where the file lists them, counts at the precision the file gives them,
// uncertainties, both wavelengths and their ratio, the measurement's
// description, and which of the file's ranges the store holds.
//
// The readers of today's instrument formats (and the text readers whose
// files list each point's angle) fill it; the writers of today's analysis
// formats read it. The system's readers leave it empty and its writers never
// look at it, so every item of the store keeps its meaning and width.
//
// The per-point vectors are indexed as Store::Intensities: slot k is point
// k, k = 1..Nb_Points, slot 0 holds nothing. An empty vector means the file
// does not give that item; a filled one has exactly Nb_Points + 1 slots.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvo {

struct Pattern_Extras {
  // Per point, slot 0 unused; empty when the file does not give them. A
  // writer without an uncertainty of the file takes sqrt(max(count, 1)).
  std::vector<double> Angles;         // the file's own 2-theta of each point, degrees
  std::vector<double> Counts;         // intensities as the file states them (double precision)
  std::vector<double> Uncertainties;  // standard uncertainty of each intensity, in the same units

  // The measurement, where the file states it.
  std::optional<double> Counting_Time;  // seconds per step
  std::optional<double> K_Alpha1;       // angstrom
  std::optional<double> K_Alpha2;       // angstrom
  std::optional<double> K_Ratio;        // K-alpha2 / K-alpha1 intensity ratio
  std::string Anode;                    // element symbol, "Cu"
  std::string Sample;                   // the whole sample name, UTF-8 (the store keeps 32 bytes)
  std::string Date;                     // the measurement's date and time as the file writes it
  std::string Source_Type;              // display name of the type the file was read as
  std::string Source_File;              // the name of the file read, without its folder (UTF-8)

  // Ranges: which of the file's ranges the reader reads, asked by the
  // conversion before the read (1-based; 0 takes the first and warns when
  // the file holds more), and how many the file holds.
  int32_t Range_Wanted = 0;
  int32_t Range_Count = 1;

  bool operator==(const Pattern_Extras&) const = default;
};

// True when the per-point vector `values` is filled for a scan of n points.
inline bool Holds_Per_Point(const std::vector<double>& values, int32_t n) {
  return n >= 1 && values.size() == static_cast<std::size_t>(n) + 1;
}

}  // namespace talvo
