// The pattern store: the one diffraction pattern the program holds, the
// synthesis settings, and the working copies of the binary file headers.
//
// Every reader fills a Store, every writer reads one; nothing else joins them.
// The dispatcher hands a reader a copy and keeps it only when the read
// finished, so a failed read leaves the previous pattern whole.
//
// Field widths are those of the file formats and must not be widened:
// int16_t for Integer, int32_t for Long, float for Single, double for Double.
// A default-constructed Store is the start-up state of the program.
//
// Peak positions are stored in degrees 2-theta, whatever the input file held:
// Read_Dif keeps the 2-theta of its records, the UXD and text readers convert
// d-spacings with D_To_2Theta and Lambda1; the synthesis, the preview and the
// peak-list writers take the stored value as 2-theta without conversion.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/extras.h"

namespace talvo {

constexpr int16_t True16 = -1;  // booleans of the store are 16-bit, -1 true
constexpr int16_t False16 = 0;

// The wavelengths the program proposes where a file names none, angstrom.
constexpr float Copper_K_Alpha1 = 1.54051f;  // bits 0x3FC52F6F; the start-up Lambda1
constexpr float Molybdenum_K_Alpha1 = 0.70926f;

constexpr int Max_Points = 32767;  // every loop over scan points counts in 16 bits
constexpr int Max_Peaks = 500;     // Peaks has slots 0..500, slot 0 holds no peak

struct Peak {
  double Position = 0;  // degrees 2-theta
  double Intensity = 0;
  bool operator==(const Peak&) const = default;
};

// Sizes of the binary header records (the bytes after the 4-byte signature).
constexpr std::size_t Raw1_Header_Size = 152;       // file bytes 4..155
constexpr std::size_t Raw2_Header_Size = 252;       // file bytes 4..255
constexpr std::size_t Raw2_Range_Header_Size = 60;  // file bytes 256..315
constexpr std::size_t Dif_Block_Header_Size = 66;

// Offset of the 32-byte sample field inside Raw2_Header and Dif_Header
// (file offset 8 minus the 4 signature bytes).
constexpr std::size_t Header_Sample_Offset = 4;

struct Store {
  // Kind of pattern
  int16_t Is_Peak_List = False16;

  // Step scan. Intensities[k] is point k, k = 1..Nb_Points; slot 0 holds no
  // point. Empty means "not allocated" (the start-up state, with 3350 points).
  int32_t Nb_Points = 3350;
  std::vector<float> Intensities;
  float Start_2Theta = 3.0f;
  float Start_Theta = 1.5f;
  double Step_Size = 0.02;
  float Time_Step = 1.0f;

  // Peak list: peak k in slot k, k = 1..Nb_Peaks
  std::array<Peak, Max_Peaks + 1> Peaks{};
  int16_t Nb_Peaks = 0;

  // Shared description
  std::array<double, 2> Range_Limits{0.0, 0.0};
  double Max_Intensity = 0;
  std::string Sample_ID = std::string(32, ' ');  // 32 Windows-1252 bytes
  float Lambda1 = Copper_K_Alpha1;
  float Lambda2 = Copper_K_Alpha1;
  int32_t Nb_Ranges = 1;

  // Synthesis settings
  float FWHM = 0.3f;
  int16_t Profile_Function = 1;  // 1 Gauss, 2 Lorentz, 3 Pearson VII
  float Bkg_Level = 10.0f;
  float Noise_Height = 3.0f;
  int16_t Preserve_Range = False16;

  // Working copies of the binary headers; all zero bytes at start-up.
  std::array<char, 4> File_Sig{};
  std::array<uint8_t, Raw1_Header_Size> Raw1_Header{};
  std::array<uint8_t, Raw2_Header_Size> Raw2_Header{};
  std::array<uint8_t, Raw2_Range_Header_Size> Raw2_Range_Header{};
  std::array<uint8_t, Raw2_Header_Size> Dif_Header{};
  std::array<uint8_t, Dif_Block_Header_Size> Dif_Block_Header{};

  // What the file read carries beyond these items (core/extras.h).
  Pattern_Extras Extras;

  bool operator==(const Store&) const = default;
};

// The 32-character title of the current peak list: the sample field of
// Dif_Header, exactly as held (NUL bytes included).
std::string Dif_Title(const Store& store);
void Set_Dif_Title(Store& store, const std::string& text32);

// The largest of points 1..n (n >= 1), compared as the 32-bit items they are:
// a later point replaces the maximum only when it is greater.
float Largest_Intensity(const std::vector<float>& intensities, int32_t n);

// What every reader of a single-range step scan sets once points
// 1..Nb_Points are in Intensities and the first angle in Range_Limits[0]: a
// scan, not a peak list, of one range; both start angles from that angle; and
// the largest intensity. The RAW readers keep the range count and the theta
// angle their header holds, and set the rest themselves.
void Set_Scan_Items(Store& store);

// The counts a scan can hold, as every message that gives the limit says
// it: "from 1 to 32767" (a reader that needs two points, or a dialog whose
// file held more, passes its own bounds).
std::string Points_Limit(int32_t minimum = 1, int32_t maximum = Max_Points);

// The point count a file announces, as the scan's count: throws Failure
// naming the file when it is no whole number from `minimum` to `maximum`.
int32_t Announced_Points(const std::string& file_name, double count, int32_t minimum = 1, int32_t maximum = Max_Points);

// What a writer of 16-bit point counts says of a scan of `points` points,
// more than Max_Points, before it writes nothing to `output_name`.
std::string Too_Many_Points(int32_t points, const std::string& output_name);

// True when Intensities holds points 1..n.
inline bool Holds_Points(const Store& store, int32_t n) {
  return n >= 0 && store.Intensities.size() >= static_cast<std::size_t>(n) + 1;
}

}  // namespace talvo
