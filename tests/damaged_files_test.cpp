// Damaged files: every sample cut short or overwritten in its header, and
// every input a fuzzer found a fault with, converted after a good file. A
// file that cannot be read must leave the store exactly as the good file left
// it and write nothing (Fuzz_Convert aborts the test otherwise).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "core/failure.h"
#include "fixtures/fuzz_entry.h"
#include "fixtures/raw34_builder.h"
#include "fixtures/sample_files.h"
#include "fixtures/temp_dir.h"
#include "formats/bruker/raw_any.h"
#include "formats/rigaku/ras.h"

namespace talvo::testing {
namespace {

constexpr std::string_view Raw2 = "Diffrac-Plus RAW (Version 2)";

using Bytes = std::vector<uint8_t>;

// Copies of a file cut short at its signature, inside its header and inside
// its data, and with bytes of its header or its numbers overwritten.
std::vector<Bytes> Damaged_Copies(const Bytes& file) {
  std::vector<Bytes> copies;
  for (std::size_t length :
       {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{5}, std::size_t{40}, std::size_t{200},
        std::size_t{256}, std::size_t{300}, file.size() / 3, file.size() / 2, file.size() - 1})
    if (length < file.size()) copies.emplace_back(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
  for (std::size_t at : {std::size_t{4}, std::size_t{5}, std::size_t{6}, std::size_t{160}, std::size_t{256},
                         std::size_t{258}, std::size_t{262}}) {
    if (at + 2 > file.size()) continue;
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      Bytes copy = file;
      copy[at] = copy[at + 1] = value;
      copies.push_back(copy);
    }
  }
  // Numbers a text field may hold that no scan can: an overflow to infinity,
  // NaN, a letter where a digit belongs, a huge count.
  for (const std::string insert : {"1e999", "nan", "x", "99999999999", "-1"}) {
    for (std::size_t at : {file.size() / 5, file.size() / 2}) {
      Bytes copy = file;
      copy.insert(copy.begin() + static_cast<std::ptrdiff_t>(at), insert.begin(), insert.end());
      copies.push_back(copy);
    }
  }
  return copies;
}

TEST(DamagedFiles, LeaveTheStoreAsTheGoodFileLeftItAndWriteNothing) {
  for (const auto& sample : Sample_Files()) {
    SCOPED_TRACE(sample.name);
    const auto good = Fuzz_Convert(sample.input_type, Raw2, sample.bytes);
    ASSERT_FALSE(good.failed);
    int refused = 0;
    for (const auto& copy : Damaged_Copies(sample.bytes))
      refused += Fuzz_Convert(sample.input_type, Raw2, copy, good.store).failed ? 1 : 0;
    EXPECT_GT(refused, 0);
  }
}

TEST(DamagedFiles, FileCutAtTheSignatureIsRefused) {
  for (const auto& sample : Sample_Files()) {
    SCOPED_TRACE(sample.name);
    EXPECT_TRUE(Fuzz_Convert(sample.input_type, Raw2, Bytes(sample.bytes.begin(), sample.bytes.begin() + 4)).failed);
  }
}

// The smallest file that shows each fault of a RAW version 3 or 4 or a RAS
// file: the message the reader gives, and, converted after a good file, the
// store as that file left it and nothing written.
Bytes With_I32(Bytes bytes, std::size_t at, int32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
  return bytes;
}
Bytes With_F32(Bytes bytes, std::size_t at, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return With_I32(std::move(bytes), at, static_cast<int32_t>(bits));
}
Bytes Cut(Bytes bytes, std::size_t length) {
  bytes.resize(length);
  return bytes;
}
Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// One range of one count: version 3 is 712 + 304 + 4 bytes, its count at
// 1016; version 4 has its range header at 291 (61 + the USER, SAMPLEID and
// hardware segments), its sub-header of two drive segments at 451 and its
// count at 635.
Bytes Small_Raw3() {
  testing::Raw34_Scan scan;
  scan.ranges[0].counts = {5};
  return testing::Raw3_File(scan);
}
Bytes Small_Raw4() {
  testing::Raw34_Scan scan;
  scan.ranges[0].counts = {5};
  return testing::Raw4_File(scan);
}
const std::string Ras_Head =
    "*RAS_DATA_START\r\n*RAS_HEADER_START\r\n*MEAS_SCAN_AXIS_X \"2-Theta\"\r\n*MEAS_DATA_COUNT \"1\"\r\n"
    "*RAS_HEADER_END\r\n*RAS_INT_START\r\n";

struct Damage {
  const char* what;
  bool ras;
  Bytes file;
  std::string message;
};

std::vector<Damage> Damages() {
  const Bytes v3 = Small_Raw3(), v4 = Small_Raw4();
  const float infinity = std::numeric_limits<float>::infinity();
  return {
      {"v3 cut in its header", false, Cut(v3, 500),
       "in.raw ends inside its 712-byte RAW version 3 header (byte 500 of the 712 needed)."},
      {"v3 absurd range count", false, With_I32(v3, 12, 0x7FFFFFFF),
       "in.raw announces 2147483647 ranges; its 1020 bytes hold at most 1."},
      {"v3 no range", false, With_I32(v3, 12, 0), "in.raw announces 0 ranges; its 1020 bytes hold at most 1."},
      {"v3 range header too short", false, With_I32(v3, 712, 16),
       "in.raw: the header of its range 1 gives its own length as 16 bytes, too short for the 260 its fields take."},
      {"v3 supplementary header past the end", false, With_I32(v3, 712 + 256, 0x7FFFFFFF),
       "in.raw: the header of its range 1 announces 304 bytes and a supplementary header of 2147483647, which do "
       "not fit in the file (1020 bytes)."},
      {"v3 counts past the end", false, With_I32(v3, 716, 1000000),
       "in.raw ends after 1 of the 1000000 counts its range 1 announces."},
      {"v3 negative count of steps", false, With_I32(v3, 716, -3),
       "in.raw ends after 1 of the -3 counts its range 1 announces."},
      {"v3 NaN count", false, With_F32(v3, 1016, std::nanf("")), "in.raw: point 1 of its scan has no finite count."},
      {"v4 cut in its header", false, Cut(v4, 40),
       "in.raw ends inside its 61-byte RAW version 4 header (byte 40 of the 61 needed)."},
      {"v4 segment of no length", false, With_I32(v4, 65, 0),
       "in.raw: its segment at byte 61 (type 10) claims 0 bytes, fewer than its own head."},
      {"v4 segment past the end", false, With_I32(v4, 65, 0x7FFFFFFF),
       "in.raw: its segment at byte 61 (type 10) claims 2147483647 bytes, past the end of the file."},
      {"v4 segments and no range", false, Cut(v4, 291), "in.raw holds no scan."},
      {"v4 cut in its range header", false, Cut(v4, 391),
       "in.raw ends inside the header of its range 1 (byte 391 of the 451 needed)."},
      {"v4 sub-header past the end", false, With_I32(v4, 291 + 140, 1 << 30),
       "in.raw: the header of its range 1 announces a sub-header of 1073741824 bytes, which runs past the end of "
       "the file (639 bytes)."},
      {"v4 two-byte counts", false, With_I32(v4, 291 + 136, 2),
       "in.raw: its range 1 stores each count in 2 bytes; a RAW version 4 file read here stores them as 4-byte "
       "reals."},
      {"v4 counts past the end", false, With_I32(v4, 295, 0x7FFFFFFF),
       "in.raw ends after 1 of the 2147483647 counts its range 1 announces."},
      {"v4 infinite count", false, With_F32(v4, 635, infinity), "in.raw: point 1 of its scan has no finite count."},
      {"RAS without a scan", true, Text("*RAS_DATA_START\r\n*RAS_DATA_END\r\n"),
       "in.ras holds no *RAS_HEADER_START block: it is not a Rigaku RAS file."},
      {"RAS cut in its header", true, Text("*RAS_HEADER_START\r\n*FILE_SAMPLE \"x\"\r\n"),
       "in.ras ends inside the header of its scan 1."},
      {"RAS cut in its points", true, Text(Ras_Head + "2.0 5 1\r\n"),
       "in.ras ends inside the points of its scan 1 (no *RAS_INT_END)."},
      {"RAS points without a header", true, Text("*RAS_INT_START\r\n2 5\r\n*RAS_INT_END\r\n"),
       "in.ras, line 1: a table of points without its *RAS_HEADER_START header."},
      {"RAS header line of no key", true, Text("*RAS_HEADER_START\r\nMEAS 1\r\n"),
       "in.ras, line 2: the header of scan 1 holds a line that is no *KEY \"value\" line."},
      {"RAS letter among the points", true, Text(Ras_Head + "2.0 5x 1\r\n*RAS_INT_END\r\n"),
       "in.ras, line 7: a point of scan 1 is not an angle, an intensity and an attenuation factor."},
      {"RAS overflowing number", true, Text(Ras_Head + "2.0 1e999\r\n*RAS_INT_END\r\n"),
       "in.ras, line 7: a point of scan 1 is not an angle, an intensity and an attenuation factor."},
      {"RAS count that disagrees", true, Text(Ras_Head + "2.0 5\r\n2.02 6\r\n*RAS_INT_END\r\n"),
       "in.ras: scan 1 announces 1 points but lists 2."},
      {"RAS NaN intensity", true, Text(Ras_Head + "2.0 nan\r\n*RAS_INT_END\r\n"),
       "in.ras: point 1 of its scan has no finite count."},
  };
}

TEST(DamagedFiles, RawAndRasFaultsAreNamedAndLeaveTheStoreAsItWas) {
  const auto good = Fuzz_Convert(Raw_Any_Type, Raw2, Small_Raw3());
  ASSERT_FALSE(good.failed);
  for (const auto& damage : Damages()) {
    SCOPED_TRACE(damage.what);
    Store store;
    try {
      if (damage.ras)
        Read_Ras({"in.ras", "in.ras", damage.file}, store);
      else
        Read_Raw_Any({"in.raw", "in.raw", damage.file}, store);
      ADD_FAILURE() << "read";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.what(), damage.message);
    }
    EXPECT_TRUE(Fuzz_Convert(damage.ras ? Ras_Type : Raw_Any_Type, Raw2, damage.file, good.store).read_failed);
  }
}

// Inputs that once found a fault, kept in fuzz/regression/<target>/.
TEST(DamagedFiles, RegressionInputsRunClean) {
  const std::filesystem::path root = TALVO_FUZZ_REGRESSION;
  if (!std::filesystem::exists(root)) GTEST_SKIP() << "no regression inputs";
  for (const auto& folder : std::filesystem::directory_iterator(root)) {
    const auto target = folder.path().filename().string();
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      SCOPED_TRACE(file.path().string());
      const auto bytes = Read_Bytes(file.path().string());
      if (target == "dispatch") {
        Fuzz_Dispatch(bytes);
      } else {
        ASSERT_FALSE(Fuzz_Input_Type(target).empty()) << "unknown target " << target;
        Fuzz_Reader(target, bytes);
        Fuzz_Convert(Fuzz_Input_Type(target), Raw2, bytes);
      }
    }
  }
}

}  // namespace
}  // namespace talvo::testing
