// RAW version 1 (156-byte header) and version 2 (256-byte file header, then
// for the first range a range header of L bytes), little-endian, packed.
//
//   version 1                     version 2 file header      range header (from 256)
//   0   char[4]  "RAW "           0   char[4]  "RAW2"        0   int16  length L
//   4   int32    steps N          4   int16    ranges        2   int16  steps N
//   8   float    time/step        8   char[32] sample        8   float  time/step
//   12  float    step width       168 char[20] date          12  float  step width
//   24  float    first 2-theta    190 float    lambda 1      16  float  first 2-theta
//   28  float    first theta      194 float    lambda 2      20  float  first theta
//   40  char[32] sample                                      L   float  N intensities
//   72  float    lambda 1
//   76  float    lambda 2
//   152 int32    ranges
//   156 float    N intensities
//
// Multi-range files are read as far as their first range. Bytes the program
// does not interpret are kept in Raw2_Header and Raw2_Range_Header and
// written again by Write_Raw2.
#include "formats/diffracplus/raw.h"

#include <string>

#include "core/busy.h"
#include "core/bytes.h"
#include "core/cp1252.h"
#include "core/failure.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/store.h"
#include "core/text32.h"

namespace talvo {

namespace {

constexpr std::size_t Raw1_Data = 156;
constexpr std::size_t Raw2_Range = 256;
constexpr std::size_t Raw2_Data = 316;

void Check_Point_Count(const std::string& name, int32_t n) {
  if (n < 1 || n > Max_Points)
    throw Failure(name + " announces " + std::to_string(n) +
                  " intensities; a RAW scan holds from 1 to 32767 points.");
}

// Reads N intensities from `offset` into slots 1..N, with the running
// maximum compared in single precision.
void Read_Intensities(const Bytes_View& file, std::size_t offset, int32_t n, Store& store) {
  const std::size_t available = file.size() > offset ? (file.size() - offset) / 4 : 0;
  if (available < static_cast<std::size_t>(n))
    throw Failure(file.file_name() + " ends after " + std::to_string(available) + " of the " + std::to_string(n) +
                  " intensities its header announces.");
  store.Intensities.assign(static_cast<std::size_t>(n) + 1, 0.0f);
  float max = 0;
  for (int32_t k = 1; k <= n; ++k) {
    const float value = file.F32(offset + 4 * static_cast<std::size_t>(k - 1), "the intensities");
    store.Intensities[k] = value;
    if (k == 1 || value > max) max = value;
  }
  store.Max_Intensity = max;
}

void Set_Range(Store& store) {
  store.Range_Limits[0] = store.Start_2Theta;
  store.Range_Limits[1] = (store.Nb_Points - 1) * store.Step_Size + static_cast<double>(store.Start_2Theta);
}


}  // namespace

void Read_Raw1(const std::string& path, Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const auto bytes = Read_Whole_File(path);
  const Bytes_View file(bytes, File_Name_Of(path));
  store.Is_Peak_List = False16;
  file.Copy(0, store.File_Sig, "its 156-byte RAW header");
  file.Copy(4, store.Raw1_Header, "its 156-byte RAW header");
  const int32_t n = file.I32(4, "its RAW header");
  Check_Point_Count(file.file_name(), n);
  Read_Intensities(file, Raw1_Data, n, store);
  store.Nb_Points = n;
  store.Time_Step = file.F32(8, "its RAW header");
  store.Step_Size = file.F32(12, "its RAW header");
  store.Start_2Theta = file.F32(24, "its RAW header");
  store.Start_Theta = file.F32(28, "its RAW header");
  store.Sample_ID = file.Text(40, 32, "its RAW header");
  store.Lambda1 = file.F32(72, "its RAW header");
  store.Lambda2 = file.F32(76, "its RAW header");
  store.Nb_Ranges = file.I32(152, "its RAW header");
  Set_Range(store);
  busy.Normal();
}

void Read_Raw2(const std::string& path, Store& store, Platform&) {
  const auto bytes = Read_Whole_File(path);
  const Bytes_View file(bytes, File_Name_Of(path));
  const std::string header = "its 316-byte RAW version 2 header";
  store.Is_Peak_List = False16;
  file.Copy(0, store.File_Sig, header);
  file.Copy(4, store.Raw2_Header, header);
  file.Copy(Raw2_Range, store.Raw2_Range_Header, header);
  // The range-header length counts the supplementary header that follows the
  // 60 bytes read; a length of 60 or less means there is none.
  const int length = file.I16(Raw2_Range, header);
  const std::size_t data = Raw2_Data + (length > 60 ? static_cast<std::size_t>(length - 60) : 0);
  if (data > file.size())
    throw Failure(file.file_name() + " announces a range header of " + std::to_string(length) +
                  " bytes, which runs past the end of the file (" + std::to_string(file.size()) + " bytes).");
  const int32_t n = file.I16(Raw2_Range + 2, header);
  Check_Point_Count(file.file_name(), n);
  Read_Intensities(file, data, n, store);
  store.Nb_Points = n;
  store.Step_Size = file.F32(Raw2_Range + 12, header);
  store.Time_Step = file.F32(Raw2_Range + 8, header);
  store.Start_2Theta = file.F32(Raw2_Range + 16, header);
  store.Start_Theta = file.F32(Raw2_Range + 20, header);
  store.Sample_ID = file.Text(8, 32, header);
  store.Lambda1 = file.F32(190, header);
  store.Lambda2 = file.F32(194, header);
  store.Nb_Ranges = file.I16(4, header);
  Set_Range(store);
}

void Write_Raw2(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const std::string name = File_Name_Of(path);
  if (store.Nb_Points < 1 || store.Nb_Points > Max_Points)
    throw Failure("The pattern has " + std::to_string(store.Nb_Points) +
                  " points; a RAW file holds from 1 to 32767. Nothing was written to " + name + ".");
  const auto n = static_cast<int16_t>(store.Nb_Points);
  if (!Holds_Points(store, n))
    throw Failure("The pattern holds " +
                  std::to_string(store.Intensities.empty() ? 0 : store.Intensities.size() - 1) +
                  " intensities, fewer than its " + std::to_string(n) + " points. Nothing was written to " + name +
                  ".");
  auto header = store.Raw2_Header;
  auto range = store.Raw2_Range_Header;
  Put_I16(&header[0], 1);  // range count, file offset 4
  const std::string sample = Fit32(store.Sample_ID);  // 32 bytes as held, NULs included
  std::copy(sample.begin(), sample.end(), header.begin() + Header_Sample_Offset);
  std::string date = Utf8_To_Cp1252(platform.Short_Date()).substr(0, 20);
  date.resize(20, ' ');
  std::copy(date.begin(), date.end(), header.begin() + (168 - 4));
  Put_F32(&header[190 - 4], store.Lambda1);
  Put_F32(&header[194 - 4], store.Lambda2);
  Put_I16(&range[0], 60);
  Put_I16(&range[2], n);
  Put_F32(&range[8], store.Time_Step);
  Put_F32(&range[12], static_cast<float>(store.Step_Size));
  Put_F32(&range[16], store.Start_2Theta);
  Put_F32(&range[20], store.Start_Theta);

  std::string out(Raw2_Data + 4 * static_cast<std::size_t>(n), '\0');
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  std::copy(std::begin("RAW2"), std::begin("RAW2") + 4, bytes);
  std::copy(header.begin(), header.end(), bytes + 4);
  std::copy(range.begin(), range.end(), bytes + Raw2_Range);
  for (int k = 1; k <= n; ++k) Put_F32(bytes + Raw2_Data + 4 * static_cast<std::size_t>(k - 1), store.Intensities[k]);
  Write_File_Atomically(path, out);
  busy.Normal();
}

}  // namespace talvo
