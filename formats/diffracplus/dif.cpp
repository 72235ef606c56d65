// DIF version 2: the 256-byte file header of RAW version 2, then blocks of
// peaks, little-endian, packed.
//
//   file header                 block header (from its start)
//   0   char[4]  "DIF2"         0   int16  header length L (66 + 30 + extra)
//   4   int16    blocks         2   int16  type: 0 or 1, any other ends the read
//   8   char[32] sample         6   int16  peaks P
//   190 float    lambda 1       66  30 bytes of extension
//   194 float    lambda 2       96  L - 96 extra bytes, when L > 96
//                               L   P peak records: float 2-theta, float intensity,
//                                   then 8 (type 0) or 32 (type 1) bytes
//
// The block count is counted down as blocks are read; at least one block is
// read whatever the header announces.
#include "formats/diffracplus/dif.h"

#include <cmath>
#include <string>
#include <utility>

#include "core/bytes.h"
#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"

namespace talvo {

namespace {

constexpr std::size_t Header_Size = 256;
constexpr std::size_t Block_Header_Size = 66;
constexpr std::size_t Extension_Size = 30;
constexpr int16_t Extended_Header = Block_Header_Size + Extension_Size;

std::size_t Record_Size(int16_t type) {
  return type == 0 ? 16 : 40;
}

// Reads the peak records of one block into the table, returning the offset
// after them and raising the running maximum.
std::size_t Read_Peaks(const Bytes_View& file, std::size_t at, int16_t type, int16_t count, int block, Store& store,
                       double& max) {
  if (count < 1) return at;
  if (store.Nb_Peaks + count > Max_Peaks)
    throw Failure(file.file_name() + " holds more than " + std::to_string(Max_Peaks) + " peaks (block " +
                  std::to_string(block) + " brings the count to " + std::to_string(store.Nb_Peaks + count) +
                  "); a peak list holds at most " + std::to_string(Max_Peaks) + ".");
  const std::size_t size = Record_Size(type);
  const std::string what = "the " + std::to_string(count) + " peak records of block " + std::to_string(block);
  file.Need(at, size * static_cast<std::size_t>(count), what);
  for (int i = 0; i < count; ++i, at += size) {
    const float two_theta = file.F32(at, what);
    const float intensity = file.F32(at + 4, what);
    // Bragg angles lie strictly between 0 and 180 degrees; anything else
    // would give a scan range and a d-spacing that mean nothing.
    if (!(two_theta > 0.0f && two_theta < 180.0f))
      throw Failure(file.file_name() + ": peak " + std::to_string(store.Nb_Peaks + 1) + " lies at 2-theta " +
                    General_Number(two_theta, 7, '.') + ", outside 0 to 180 degrees.");
    // NaN or infinity would pass through the scaling into every writer.
    if (!std::isfinite(intensity))
      throw Failure(file.file_name() + ": peak " + std::to_string(store.Nb_Peaks + 1) +
                    " has an intensity that is not a number.");
    store.Nb_Peaks = static_cast<int16_t>(store.Nb_Peaks + 1);
    store.Peaks[store.Nb_Peaks] = {two_theta, intensity};
    if (intensity > max) max = intensity;
  }
  return at;
}

void Scale_And_Set_Range(Store& store, double max) {
  if (max != 0) {
    const double factor = 100 / max;
    for (int k = 1; k <= store.Nb_Peaks; ++k) store.Peaks[k].Intensity *= factor;
  }
  const double margin = 2 * static_cast<double>(store.FWHM);
  double first = store.Peaks[1].Position, last = store.Peaks[store.Nb_Peaks].Position;
  // A list in decreasing 2-theta gives the same range as the list reversed.
  if (first > last) std::swap(first, last);
  store.Range_Limits = {first - margin, last + margin};
  store.Max_Intensity = 100;
}

}  // namespace

std::size_t Skip_Bytes(const Bytes_View& file, std::size_t offset, int16_t n, const std::string& what) {
  if (n < 1) return offset;
  const auto count = static_cast<std::size_t>(n);
  if (offset > file.size() || count > file.size() - offset)
    throw Failure(file.file_name() + ": " + what + " runs past the end of the file (" + std::to_string(file.size()) +
                  " bytes).");
  return offset + count;
}

Read_Result Read_Dif(const Input_File& source, Store& store) {
  const Bytes_View file(source.bytes, source.name);
  const std::string header = "its 256-byte DIF header";
  file.Need(0, Header_Size, header);
  file.Copy(0, store.File_Sig, header);
  file.Copy(4, store.Dif_Header, header);
  store.Nb_Ranges = file.I16(4, header);
  store.Sample_ID = file.Text(8, 32, header);
  store.Lambda1 = file.F32(190, header);
  store.Lambda2 = file.F32(194, header);
  store.Nb_Peaks = 0;
  store.Is_Peak_List = True16;

  double max = 0;
  std::size_t at = Header_Size;
  int block = 0;
  do {
    ++block;
    const std::string what = "the header of block " + std::to_string(block);
    file.Copy(at, store.Dif_Block_Header, what);
    const int16_t length = file.I16(at, what);
    const int16_t type = file.I16(at + 2, what);
    const int16_t count = file.I16(at + 6, what);
    if (type != 0 && type != 1) {
      store.Nb_Ranges = -1;
      break;
    }
    file.Need(at + Block_Header_Size, Extension_Size, "the header extension of block " + std::to_string(block));
    const int extra = length - Extended_Header;  // may be negative: nothing to skip
    at = Skip_Bytes(file, at + Extended_Header, extra > 0 ? static_cast<int16_t>(extra) : int16_t{0},
                    "the " + std::to_string(length) + "-byte header of block " + std::to_string(block));
    at = Read_Peaks(file, at, type, count, block, store, max);
    store.Nb_Ranges = store.Nb_Ranges - 1;
  } while (store.Nb_Ranges > 0);

  if (store.Nb_Peaks == 0) throw Failure(file.file_name() + " holds no peak.");
  Scale_And_Set_Range(store, max);
  return {};
}

}  // namespace talvo
