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

// Version 1: offsets from the start of the file.
namespace v1 {
constexpr std::size_t Steps = 4, Time = 8, Step = 12, Start_2Theta = 24, Start_Theta = 28, Sample = 40, Lambda1 = 72,
                      Lambda2 = 76, Ranges = 152, Data = 156;
}  // namespace v1

// Version 2: the file header's offsets from the start of the file, the
// range header's from its own start at byte 256.
namespace v2 {
constexpr std::size_t Ranges = 4, Sample = 8, Date = 168, Date_Width = 20, Lambda1 = 190, Lambda2 = 194,
                      Range_Header = 256, Data = 316;
constexpr std::size_t Length = 0, Steps = 2, Time = 8, Step = 12, Start_2Theta = 16, Start_Theta = 20;
constexpr int Range_Header_Length = 60;
// Raw2_Header holds the file header from byte 4, after the signature.
constexpr std::size_t In_Header(std::size_t file_offset) {
  return file_offset - 4;
}
}  // namespace v2

// Reads N intensities from `offset` into slots 1..N, with the running
// maximum compared in single precision.
void Read_Intensities(const Bytes_View& file, std::size_t offset, int32_t n, Store& store) {
  const std::size_t available = file.size() > offset ? (file.size() - offset) / 4 : 0;
  if (available < static_cast<std::size_t>(n))
    throw Failure(file.file_name() + " ends after " + std::to_string(available) + " of the " + std::to_string(n) +
                  " intensities its header announces.");
  store.Intensities.assign(static_cast<std::size_t>(n) + 1, 0.0f);
  for (int32_t k = 1; k <= n; ++k)
    store.Intensities[k] = file.F32(offset + 4 * static_cast<std::size_t>(k - 1), "the intensities");
  store.Max_Intensity = Largest_Intensity(store.Intensities, n);
}

void Set_Range(Store& store) {
  store.Range_Limits[0] = store.Start_2Theta;
  store.Range_Limits[1] = (store.Nb_Points - 1) * store.Step_Size + static_cast<double>(store.Start_2Theta);
}

}  // namespace

Read_Result Read_Raw1(const Input_File& source, Store& store) {
  const Bytes_View file(source.bytes, source.name);
  const std::string header = "its 156-byte RAW header";
  store.Is_Peak_List = False16;
  file.Copy(0, store.File_Sig, header);
  file.Copy(4, store.Raw1_Header, header);
  const int32_t n = Announced_Points(file.file_name(), file.I32(v1::Steps, header));
  Read_Intensities(file, v1::Data, n, store);
  store.Nb_Points = n;
  store.Time_Step = file.F32(v1::Time, header);
  store.Step_Size = file.F32(v1::Step, header);
  store.Start_2Theta = file.F32(v1::Start_2Theta, header);
  store.Start_Theta = file.F32(v1::Start_Theta, header);
  store.Sample_ID = file.Text(v1::Sample, 32, header);
  store.Lambda1 = file.F32(v1::Lambda1, header);
  store.Lambda2 = file.F32(v1::Lambda2, header);
  store.Nb_Ranges = file.I32(v1::Ranges, header);
  Set_Range(store);
  return {};
}

Read_Result Read_Raw2(const Input_File& source, Store& store) {
  const Bytes_View file(source.bytes, source.name);
  const std::string header = "its 316-byte RAW version 2 header";
  const std::size_t range = v2::Range_Header;
  store.Is_Peak_List = False16;
  file.Copy(0, store.File_Sig, header);
  file.Copy(4, store.Raw2_Header, header);
  file.Copy(range, store.Raw2_Range_Header, header);
  // The range-header length counts the supplementary header that follows the
  // 60 bytes read; a length of 60 or less means there is none.
  const int length = file.I16(range + v2::Length, header);
  const std::size_t data =
      v2::Data + (length > v2::Range_Header_Length ? static_cast<std::size_t>(length - v2::Range_Header_Length) : 0);
  if (data > file.size())
    throw Failure(file.file_name() + " announces a range header of " + std::to_string(length) +
                  " bytes, which runs past the end of the file (" + std::to_string(file.size()) + " bytes).");
  const int32_t n = Announced_Points(file.file_name(), file.I16(range + v2::Steps, header));
  Read_Intensities(file, data, n, store);
  store.Nb_Points = n;
  store.Step_Size = file.F32(range + v2::Step, header);
  store.Time_Step = file.F32(range + v2::Time, header);
  store.Start_2Theta = file.F32(range + v2::Start_2Theta, header);
  store.Start_Theta = file.F32(range + v2::Start_Theta, header);
  store.Sample_ID = file.Text(v2::Sample, 32, header);
  store.Lambda1 = file.F32(v2::Lambda1, header);
  store.Lambda2 = file.F32(v2::Lambda2, header);
  store.Nb_Ranges = file.I16(v2::Ranges, header);
  Set_Range(store);
  return {};
}

void Write_Raw2(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const std::string name = File_Name_Of(path);
  if (store.Nb_Points > Max_Points) throw Failure(Too_Many_Points(store.Nb_Points, name));
  if (store.Nb_Points < 1)
    throw Failure("The pattern has " + std::to_string(store.Nb_Points) + " points; a RAW file holds " + Points_Limit() +
                  ". Nothing was written to " + name + ".");
  const auto n = static_cast<int16_t>(store.Nb_Points);
  if (!Holds_Points(store, n))
    throw Failure("The pattern holds " + std::to_string(store.Intensities.empty() ? 0 : store.Intensities.size() - 1) +
                  " intensities, fewer than its " + std::to_string(n) + " points. Nothing was written to " + name +
                  ".");
  // Every byte the program does not interpret is written as the RAW
  // version 2 file read in this conversion had it.
  auto header = store.Raw2_Header;
  auto range = store.Raw2_Range_Header;
  using v2::In_Header;
  Put_I16(&header[In_Header(v2::Ranges)], 1);
  const std::string sample = Fit32(store.Sample_ID);  // 32 bytes as held, NULs included
  std::copy(sample.begin(), sample.end(), header.begin() + In_Header(v2::Sample));
  std::string date = Utf8_To_Cp1252(platform.Short_Date()).substr(0, v2::Date_Width);
  date.resize(v2::Date_Width, ' ');
  std::copy(date.begin(), date.end(), header.begin() + In_Header(v2::Date));
  Put_F32(&header[In_Header(v2::Lambda1)], store.Lambda1);
  Put_F32(&header[In_Header(v2::Lambda2)], store.Lambda2);
  Put_I16(&range[v2::Length], v2::Range_Header_Length);
  Put_I16(&range[v2::Steps], n);
  Put_F32(&range[v2::Time], store.Time_Step);
  Put_F32(&range[v2::Step], static_cast<float>(store.Step_Size));
  Put_F32(&range[v2::Start_2Theta], store.Start_2Theta);
  Put_F32(&range[v2::Start_Theta], store.Start_Theta);

  std::string out(v2::Data + 4 * static_cast<std::size_t>(n), '\0');
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  std::copy(std::begin("RAW2"), std::begin("RAW2") + 4, bytes);
  std::copy(header.begin(), header.end(), bytes + 4);
  std::copy(range.begin(), range.end(), bytes + v2::Range_Header);
  for (int k = 1; k <= n; ++k) Put_F32(bytes + v2::Data + 4 * static_cast<std::size_t>(k - 1), store.Intensities[k]);
  Write_File_Atomically(path, out);
  busy.Normal();
}

}  // namespace talvo
