// RAW version 3 ("RAW1.01"), little-endian, packed: a 712-byte file header,
// then for each range a range header of L bytes (304), a supplementary
// header of S bytes and N counts.
//
//   file header                      range header (offsets from its start)
//   0    char[8]   "RAW1.01"         0    int32   header length L (304)
//   8    int32     file status       4    int32   steps N
//   12   int32     ranges            8    double  theta of the first step
//   16   char[10]  date              16   double  2-theta of the first step
//   26   char[10]  time              176  double  step width, degrees 2-theta
//   36   char[72]  user              192  float   counting time per step, s
//   108  char[218] site              240  double  wavelength used, angstrom
//   326  char[60]  sample            256  int32   supplementary header size S
//   386  char[160] comment           L    S bytes not interpreted
//   608  char[4]   anode             L+S  float   N counts
//   616  double    K-alpha average
//   624  double    K-alpha1
//   632  double    K-alpha2
//   648  double    K-alpha2 / K-alpha1 ratio
//
// The range header does not name the axis driven: every range is taken as a
// 2-theta scan.
#include <string>

#include "core/bytes.h"
#include "core/failure.h"
#include "core/store.h"
#include "formats/bruker/raw_any.h"

namespace talvo {

namespace {

namespace v3 {
constexpr std::size_t Ranges = 12, Date = 16, Time = 26, Sample = 326, Sample_Width = 60, Anode = 608, K_Alpha1 = 624,
                      K_Alpha2 = 632, K_Ratio = 648, File_Header = 712;
constexpr std::size_t Length = 0, Steps = 4, Start_2Theta = 16, Step = 176, Time_Step = 192, Used_Lambda = 240,
                      Supplementary = 256;
constexpr std::size_t Range_Header = 304;
constexpr std::size_t Fields_Read = Supplementary + 4;  // the shortest range header that holds every field read
}  // namespace v3

std::string Range_Name(std::size_t k) {
  return "range " + std::to_string(k + 1);
}

}  // namespace

Read_Result Read_Raw3(const Input_File& source, Store& store) {
  const Bytes_View file(source.bytes, source.name);
  const std::string header = "its 712-byte RAW version 3 header";
  file.Need(0, v3::File_Header, header);

  const int32_t count = file.I32(v3::Ranges, header);
  const std::size_t room = (file.size() - v3::File_Header) / v3::Range_Header;
  if (count < 1 || static_cast<std::size_t>(count) > room)
    throw Failure(source.name + " announces " + std::to_string(count) + " ranges; its " + std::to_string(file.size()) +
                  " bytes hold " + (room == 0 ? "none" : "at most " + std::to_string(room)) + ".");

  Raw_Measurement measurement;
  measurement.sample = Header_Text(file.Text(v3::Sample, v3::Sample_Width, header));
  const std::string date = Header_Text(file.Text(v3::Date, 10, header));
  const std::string time = Header_Text(file.Text(v3::Time, 10, header));
  measurement.date = time.empty() ? date : date + " " + time;
  measurement.anode = Header_Text(file.Text(v3::Anode, 4, header));
  measurement.k_alpha1 = Raw_F64(file, v3::K_Alpha1, header);
  measurement.k_alpha2 = Raw_F64(file, v3::K_Alpha2, header);
  measurement.k_ratio = Raw_F64(file, v3::K_Ratio, header);

  std::size_t at = v3::File_Header;
  for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
    const std::string what = "the header of its " + Range_Name(k);
    file.Need(at, v3::Fields_Read, what);
    const int32_t length = file.I32(at + v3::Length, what);
    const int32_t supplementary = file.I32(at + v3::Supplementary, what);
    if (length < static_cast<int32_t>(v3::Fields_Read))
      throw Failure(source.name + ": the header of its " + Range_Name(k) + " gives its own length as " +
                    std::to_string(length) + " bytes, too short for the " + std::to_string(v3::Fields_Read) +
                    " its fields take.");
    if (supplementary < 0 ||
        static_cast<std::size_t>(length) + static_cast<std::size_t>(supplementary) > file.size() - at)
      throw Failure(source.name + ": the header of its " + Range_Name(k) + " announces " + std::to_string(length) +
                    " bytes and a supplementary header of " + std::to_string(supplementary) +
                    ", which do not fit in the file (" + std::to_string(file.size()) + " bytes).");
    const std::size_t data = at + static_cast<std::size_t>(length) + static_cast<std::size_t>(supplementary);
    const int32_t steps = file.I32(at + v3::Steps, what);
    const std::size_t available = (file.size() - data) / 4;
    if (steps < 0 || static_cast<std::size_t>(steps) > available)
      throw Failure(source.name + " ends after " + std::to_string(available) + " of the " + std::to_string(steps) +
                    " counts its " + Range_Name(k) + " announces.");

    Scan_Range range;
    range.start = Raw_F64(file, at + v3::Start_2Theta, what);
    range.step = Raw_F64(file, at + v3::Step, what);
    range.counting_time = file.F32(at + v3::Time_Step, what);
    if (k == 0) measurement.used_lambda = Raw_F64(file, at + v3::Used_Lambda, what);
    range.counts = Raw_Counts(file, data, static_cast<std::size_t>(steps));
    measurement.ranges.push_back(std::move(range));
    at = data + 4 * static_cast<std::size_t>(steps);
  }
  return Store_Raw_Measurement(source.name, measurement, store);
}

}  // namespace talvo
