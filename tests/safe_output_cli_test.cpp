// talvo-convert never replaces an input, refuses a bad output folder before
// reading, and reports a write cut short without leaving debris.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/raw_builder.h"
#include "fixtures/run_convert.h"

namespace talvo {
namespace {

using testing::Raw1_File;
using testing::Raw2_File;
using testing::Raw_Scan;
using testing::Read_Bytes;
using testing::Read_Text;
using testing::Run_Convert;
using testing::Temp_Dir;

TEST(Talvo_Convert_Output, ABatchSkipsTheOutputThatWouldReplaceItsInput) {
  Temp_Dir dir;
  const auto original = Raw1_File(Raw_Scan{});
  dir.Write("a.raw", original);
  dir.Write("b.RAW", Raw2_File(Raw_Scan{}));
  dir.Write("c.RAW", Raw1_File(Raw_Scan{}));
  const auto result = Run_Convert(dir, "--from auto --to raw2 -o '*.raw' a.raw b.RAW c.RAW");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "a.raw: error: " + dir.Path("a.raw") +
                            " is the file being converted: it cannot also be its output.\n");
  EXPECT_EQ(Read_Bytes(dir.Path("a.raw")), original);
  EXPECT_EQ(Read_Bytes(dir.Path("b.raw")).size(), 328u);
  EXPECT_EQ(Read_Bytes(dir.Path("c.raw")).size(), 328u);
}

TEST(Talvo_Convert_Output, AMissingFolderIsNamedAndNothingIsWritten) {
  Temp_Dir dir;
  dir.Write("QTZ.RAW", Raw2_File(Raw_Scan{}));
  const auto result = Run_Convert(dir, "--to bmp -o none/q.bmp QTZ.RAW");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "QTZ.RAW: error: The folder " + dir.Path("none") + " does not exist: q.bmp cannot be written.\n");
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"QTZ.RAW"});
}

TEST(Talvo_Convert_Output, AFileSizeLimitKeepsTheOldOutputByteForByte) {
  Temp_Dir dir;
  Raw_Scan scan;
  scan.intensities.assign(3000, 1234.5f);
  dir.Write("BIG.RAW", Raw2_File(scan));
  dir.Write("out.txt", std::string("the old output\r\n"));
  const auto result = Run_Convert(dir, "-o out.txt BIG.RAW", "prlimit --fsize=20000");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "BIG.RAW: error: out.txt cannot be written: file too large.\n");
  EXPECT_EQ(Read_Text(dir.Path("out.txt")), "the old output\r\n");
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"BIG.RAW", "out.txt"}));
}

}  // namespace
}  // namespace talvo
