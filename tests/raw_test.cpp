#include "formats/diffracplus/raw.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "core/store.h"
#include "fixtures/raw_builder.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Raw1_File;
using testing::Raw2_File;
using testing::Raw_Scan;
using testing::Read_Bytes;
using testing::Recording_Platform;
using testing::Temp_Dir;

class Raw : public ::testing::Test {
 protected:
  Temp_Dir dir;
  Recording_Platform platform;
  Store store;

  // The failure text of reading `bytes` with `reader`, or "" when it read.
  template <typename Reader>
  std::string Failure_Of(Reader reader, const std::vector<uint8_t>& bytes, const char* name = "QTZ.RAW") {
    try {
      testing::Read_Path(reader, dir.Write(name, bytes), store);
    } catch (const Failure& failure) {
      return failure.what();
    }
    return "";
  }
};

TEST_F(Raw, Version1FieldsComeFromTheirOffsets) {
  Raw_Scan scan;
  scan.ranges = 2;
  const auto bytes = Raw1_File(scan);
  testing::Read_Path(Read_Raw1, dir.Write("v1.raw", bytes), store);
  EXPECT_EQ(store.Is_Peak_List, 0);
  EXPECT_EQ(store.Nb_Points, 3);
  EXPECT_FLOAT_EQ(store.Time_Step, 1.5f);
  EXPECT_EQ(store.Step_Size, static_cast<double>(0.02f));  // the Single widened, not 0.02
  EXPECT_FLOAT_EQ(store.Start_2Theta, 10.0f);
  EXPECT_FLOAT_EQ(store.Start_Theta, 5.0f);
  EXPECT_EQ(store.Sample_ID, "Quartz standard" + std::string(17, ' '));
  EXPECT_FLOAT_EQ(store.Lambda1, 1.54056f);
  EXPECT_FLOAT_EQ(store.Lambda2, 1.54439f);
  EXPECT_EQ(store.Nb_Ranges, 2);
  ASSERT_EQ(store.Intensities.size(), 4u);
  EXPECT_FLOAT_EQ(store.Intensities[1], 120);
  EXPECT_FLOAT_EQ(store.Intensities[2], 340.5f);
  EXPECT_FLOAT_EQ(store.Intensities[3], 98);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 340.5);
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.0);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 2 * static_cast<double>(0.02f) + 10.0);
  EXPECT_EQ(std::string(store.File_Sig.data(), 4), "RAW ");
  EXPECT_EQ(store.Raw1_Header[16 - 4], 0x11);  // uninterpreted bytes kept as read
}

TEST_F(Raw, Version2FieldsComeFromTheirOffsetsAndThePointerIsLeftAlone) {
  Raw_Scan scan;
  scan.ranges = 3;  // read as its first range only
  const auto bytes = Raw2_File(scan);
  testing::Read_Path(Read_Raw2, dir.Write("v2.raw", bytes), store);
  EXPECT_EQ(store.Nb_Points, 3);
  EXPECT_FLOAT_EQ(store.Time_Step, 1.5f);
  EXPECT_EQ(store.Step_Size, static_cast<double>(0.02f));
  EXPECT_FLOAT_EQ(store.Start_2Theta, 10.0f);
  EXPECT_FLOAT_EQ(store.Start_Theta, 5.0f);
  EXPECT_FLOAT_EQ(store.Lambda1, 1.54056f);
  EXPECT_FLOAT_EQ(store.Lambda2, 1.54439f);
  EXPECT_EQ(store.Nb_Ranges, 3);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 340.5);
  EXPECT_FLOAT_EQ(store.Intensities[3], 98);
  // The sample field keeps its 32 bytes exactly, NULs included.
  EXPECT_EQ(store.Sample_ID, std::string("Quartz standard") + std::string(17, '\0'));
  EXPECT_TRUE(std::equal(store.Raw2_Header.begin(), store.Raw2_Header.end(), bytes.begin() + 4));
  EXPECT_TRUE(std::equal(store.Raw2_Range_Header.begin(), store.Raw2_Range_Header.end(), bytes.begin() + 256));
  EXPECT_TRUE(platform.calls.empty());
}

TEST_F(Raw, TheRangeHeaderLengthPlacesTheFirstIntensity) {
  Raw_Scan scan;
  scan.intensities = {7, 8};
  testing::Read_Path(Read_Raw2, dir.Write("l304.raw", Raw2_File(scan, 304)), store);
  EXPECT_FLOAT_EQ(store.Intensities[1], 7);  // at byte 560, 244 bytes skipped
  EXPECT_FLOAT_EQ(store.Intensities[2], 8);
  for (int16_t short_length : {0, 30, -5}) {
    auto bytes = Raw2_File(scan, 60);
    bytes[256] = static_cast<uint8_t>(short_length & 0xFF);
    bytes[257] = static_cast<uint8_t>((short_length >> 8) & 0xFF);
    testing::Read_Path(Read_Raw2, dir.Write("short.raw", bytes), store);
    EXPECT_FLOAT_EQ(store.Intensities[1], 7) << short_length;  // at byte 316: nothing skipped
  }
}

TEST_F(Raw, OnePointGivesARangeOfOneAngle) {
  Raw_Scan scan;
  scan.intensities = {42};
  testing::Read_Path(Read_Raw2, dir.Write("one.raw", Raw2_File(scan)), store);
  EXPECT_EQ(store.Nb_Points, 1);
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.0);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 10.0);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 42);
}

TEST_F(Raw, DamagedFilesFailWithTheFileAndTheProblem) {
  Raw_Scan scan;
  scan.intensities.assign(1000, 5.0f);
  auto v2 = Raw2_File(scan);
  EXPECT_EQ(Failure_Of(Read_Raw2, std::vector<uint8_t>(v2.begin(), v2.begin() + 316 + 4 * 500)),
            "QTZ.RAW ends after 500 of the 1000 intensities its header announces.");
  EXPECT_EQ(Failure_Of(Read_Raw2, std::vector<uint8_t>(v2.begin(), v2.begin() + 318)),
            "QTZ.RAW ends after 0 of the 1000 intensities its header announces.");
  EXPECT_EQ(Failure_Of(Read_Raw2, std::vector<uint8_t>(v2.begin(), v2.begin() + 200)),
            "QTZ.RAW ends inside its 316-byte RAW version 2 header (byte 200 of the 256 needed).");
  EXPECT_EQ(Failure_Of(Read_Raw2, Raw2_File(scan, 60, 0)), "QTZ.RAW announces 0 points; a scan holds from 1 to 32767.");
  EXPECT_EQ(Failure_Of(Read_Raw2, Raw2_File(scan, 60, -5)),  // the 16-bit count is sign-extended
            "QTZ.RAW announces -5 points; a scan holds from 1 to 32767.");
  auto long_length = Raw2_File(Raw_Scan{});
  long_length[256] = 0x30;  // 30000 = 0x7530
  long_length[257] = 0x75;
  EXPECT_EQ(Failure_Of(Read_Raw2, long_length),
            "QTZ.RAW announces a range header of 30000 bytes, which runs past the end of the file (328 bytes).");

  scan.intensities.assign(40000, 1.0f);
  EXPECT_EQ(Failure_Of(Read_Raw1, Raw1_File(scan)), "QTZ.RAW announces 40000 points; a scan holds from 1 to 32767.");
  auto v1 = Raw1_File(Raw_Scan{});
  EXPECT_EQ(Failure_Of(Read_Raw1, std::vector<uint8_t>(v1.begin(), v1.end() - 2)),
            "QTZ.RAW ends after 2 of the 3 intensities its header announces.");
  EXPECT_EQ(Failure_Of(Read_Raw1, std::vector<uint8_t>(v1.begin(), v1.begin() + 100)),
            "QTZ.RAW ends inside its 156-byte RAW header (byte 100 of the 156 needed).");
}

TEST_F(Raw, AMissingFileIsNamedByTheWholePathTried) {
  try {
    testing::Read_Path(Read_Raw2, dir.Path("NONE.RAW"), store);
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.what(), dir.Path("NONE.RAW") + ": the file does not exist.");
  }
}

TEST_F(Raw, WritingAfterStartUpHasZeroBytesInEveryKeptField) {
  store.Nb_Points = 2;
  store.Intensities = {0, 11, 22};
  store.Sample_ID = std::string("Sample A") + std::string(24, ' ');
  platform.date = "08/12/2026";
  const std::string path = dir.Path("out.raw");
  Write_Raw2(path, store, platform);
  const auto bytes = Read_Bytes(path);
  ASSERT_EQ(bytes.size(), 316u + 8);
  Raw_Scan expected;
  expected.sample = "Sample A";
  testing::Bytes_Builder b(316);
  b.Text(0, "RAW2").I16(4, 1).Text(8, "Sample A" + std::string(24, ' ')).Text(168, "08/12/2026          ");
  b.F32(190, 1.54051f).F32(194, 1.54051f);
  b.I16(256, 60).I16(258, 2).F32(264, 1.0f).F32(268, 0.02f).F32(272, 3.0f).F32(276, 1.5f);
  b.Append_F32(11).Append_F32(22);
  EXPECT_EQ(bytes, b.Bytes());
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal"}));
}

TEST_F(Raw, ReadWriteRoundTripKeepsTheHeaderButRangesDateAndLength) {
  Raw_Scan scan;
  scan.ranges = 3;
  const auto input = Raw2_File(scan, 304);
  testing::Read_Path(Read_Raw2, dir.Write("in.raw", input), store);
  const std::string out = dir.Path("out.raw");
  Write_Raw2(out, store, platform);
  const auto output = Read_Bytes(out);
  ASSERT_EQ(output.size(), 316u + 12);
  for (std::size_t i = 0; i < 316; ++i) {
    if (i == 4 || i == 5 || (i >= 168 && i < 188) || i == 256 || i == 257) continue;
    EXPECT_EQ(output[i], input[i]) << "byte " << i;
  }
  EXPECT_EQ(output[4], 1);
  EXPECT_EQ(output[5], 0);
  EXPECT_EQ(output[256], 60);
  EXPECT_TRUE(std::equal(output.begin() + 316, output.end(), input.begin() + 560));
  Store again;
  testing::Read_Path(Read_Raw2, out, again);
  EXPECT_EQ(again.Intensities, store.Intensities);
  EXPECT_EQ(again.Sample_ID, store.Sample_ID);
  EXPECT_EQ(again.Step_Size, store.Step_Size);
  EXPECT_EQ(again.Nb_Ranges, 1);
}

TEST_F(Raw, WritingReplacesALongerFileAndAFailedWriteLeavesItWhole) {
  const std::string path = dir.Write("out.raw", std::vector<uint8_t>(5000, 0xAB));
  store.Nb_Points = 1;
  store.Intensities = {0, 5};
  Write_Raw2(path, store, platform);
  EXPECT_EQ(Read_Bytes(path).size(), 320u);

  const auto before = Read_Bytes(path);
  store.Nb_Points = 3350;  // the start-up count with one intensity held
  try {
    Write_Raw2(path, store, platform);
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(),
                 "The pattern holds 1 intensities, fewer than its 3350 points. Nothing was written to out.raw.");
  }
  store.Nb_Points = 40000;
  EXPECT_THROW(Write_Raw2(path, store, platform), Failure);
  EXPECT_EQ(Read_Bytes(path), before);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"out.raw"});  // no temporary left behind
}

// A reader may hold more intensities than the count (a long scan cut by the
// import dialog): the file takes the counted ones, and no more than 32767.
TEST_F(Raw, WritingTakesTheCountedPointsOfALongerScan) {
  store.Intensities.assign(40001, 7.0f);
  store.Intensities[3] = 9;
  store.Nb_Points = 3;
  Write_Raw2(dir.Path("out.raw"), store, platform);
  const auto bytes = Read_Bytes(dir.Path("out.raw"));
  ASSERT_EQ(bytes.size(), 316u + 12);
  EXPECT_EQ(Failure_Of(Read_Raw2, bytes), "");
  EXPECT_EQ(store.Intensities, (std::vector<float>{0, 7, 7, 9}));

  store.Intensities.assign(40001, 7.0f);
  store.Nb_Points = 32768;
  try {
    Write_Raw2(dir.Path("long.raw"), store, platform);
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.what(), Too_Many_Points(32768, "long.raw"));
  }
}

TEST_F(Raw, AnOutputInAMissingFolderFails) {
  store.Nb_Points = 1;
  store.Intensities = {0, 5};
  EXPECT_THROW(Write_Raw2(dir.Path("no/such/folder/out.raw"), store, platform), Failure);
}

// The ".RAW" text export: 22 header lines, then free-format numbers.
std::string Raw_Ascii(const std::string& after_time, const std::string& intensities) {
  std::string text = ".RAW text export\r\nline 2\r\nline 3\r\nMy sample\r\n";
  for (int line = 5; line <= 22; ++line) text += "header " + std::to_string(line) + "\r\n";
  text += "12.5\r\n0.05\r\n4 0\r\n2.5" + after_time;
  for (int line = 1; line <= 11; ++line) text += "skipped " + std::to_string(line) + "\r\n";
  return text + intensities;
}

TEST_F(Raw, TextExportReadsItsNumbersWhateverTheirLayout) {
  for (const std::string& intensities : {std::string("10\r\n20\r\n40\r\n30\r\n"), std::string("10 20,40\r\n30")}) {
    // The time ends its line: the twelve line reads begin on the next line.
    testing::Read_Path(Read_Raw_Ascii, dir.Write("a.raw", Raw_Ascii("\r\nskipped 0\r\n", intensities)), store);
    EXPECT_EQ(store.Sample_ID, "My sample" + std::string(23, ' '));
    EXPECT_EQ(store.Nb_Points, 4);
    EXPECT_DOUBLE_EQ(store.Step_Size, 0.05);
    EXPECT_FLOAT_EQ(store.Time_Step, 2.5f);
    EXPECT_FLOAT_EQ(store.Start_2Theta, 12.5f);
    EXPECT_FLOAT_EQ(store.Start_Theta, 6.25f);
    EXPECT_DOUBLE_EQ(store.Range_Limits[1], 12.5 + 3 * 0.05);
    EXPECT_EQ(store.Intensities, (std::vector<float>{0, 10, 20, 40, 30}));
    EXPECT_DOUBLE_EQ(store.Max_Intensity, 40);
    EXPECT_FLOAT_EQ(store.Lambda1, 1.54051f);
    EXPECT_EQ(store.Nb_Ranges, 1);
  }
  // The time ends at a blank: the first line read takes the rest of its line.
  testing::Read_Path(Read_Raw_Ascii, dir.Write("b.raw", Raw_Ascii(" s\r\n", "1 2 3 4")), store);
  EXPECT_EQ(store.Intensities, (std::vector<float>{0, 1, 2, 3, 4}));
}

// The number after the step count is not used, whatever it holds; a file
// whose CR LF went through one more conversion (CR CR LF) reads the same.
TEST_F(Raw, TextExportPassesOverItsUnusedNumberAndDoubledCarriageReturns) {
  auto with = [](std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
    return text;
  };
  const std::string plain = Raw_Ascii("\r\nx\r\n", "10 20 40 30\r\n");
  for (const std::string& text : {with(plain, "4 0\r\n", "4 -\r\n"), with(plain, "4 0\r\n", "4 nan\r\n"),
                                  with(plain, "4 0\r\n", "4,,"), with(plain, "\r\n", "\r\r\n")}) {
    testing::Read_Path(Read_Raw_Ascii, dir.Write("c.raw", text), store);
    EXPECT_EQ(store.Sample_ID, "My sample" + std::string(23, ' '));
    EXPECT_EQ(store.Nb_Points, 4);
    EXPECT_FLOAT_EQ(store.Start_2Theta, 12.5f);
    EXPECT_DOUBLE_EQ(store.Step_Size, 0.05);
    EXPECT_FLOAT_EQ(store.Time_Step, 2.5f);
    EXPECT_EQ(store.Intensities, (std::vector<float>{0, 10, 20, 40, 30}));
  }
}

// A time or an intensity beyond the range of a Single has no value to keep.
TEST_F(Raw, TextExportRefusesNumbersTooLargeForTheirItem) {
  auto failure_of = [&](const std::string& text) {
    return Failure_Of(Read_Raw_Ascii, std::vector<uint8_t>(text.begin(), text.end()), "Q.RAW");
  };
  std::string huge_time = Raw_Ascii("\r\nx\r\n", "1 2 3 4\r\n");
  huge_time.replace(huge_time.find("\r\n2.5"), 5, "\r\n1e39");
  EXPECT_EQ(failure_of(huge_time), "Q.RAW: the number \"1e39\" on line 26 is too large for the time per step.");
  EXPECT_EQ(failure_of(Raw_Ascii("\r\nx\r\n", "1 2\r\n-1e39 4\r\n")),
            "Q.RAW: the number \"-1e39\" on line 40 is too large for an intensity.");
}

TEST_F(Raw, TextExportThatEndsEarlyFails) {
  EXPECT_EQ(Failure_Of(
                Read_Raw_Ascii,
                [&] {
                  const std::string text = Raw_Ascii("\r\nx\r\n", "1 2\r\n\r\n");
                  return std::vector<uint8_t>(text.begin(), text.end());
                }(),
                "Q.RAW"),
            "Q.RAW ends after 2 of the 4 intensities it announces.");
}

}  // namespace
}  // namespace talvo
