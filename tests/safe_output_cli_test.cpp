// talvo-convert never replaces an input, refuses a bad output folder before
// reading, and reports a write cut short without leaving debris.
#include <gtest/gtest.h>
#include <unistd.h>

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
  EXPECT_EQ(result.err,
            "a.raw: error: " + dir.Path("a.raw") + " is the file being converted: it cannot also be its output.\n");
  EXPECT_EQ(Read_Bytes(dir.Path("a.raw")), original);
  EXPECT_EQ(Read_Bytes(dir.Path("b.raw")).size(), 328u);
  EXPECT_EQ(Read_Bytes(dir.Path("c.raw")).size(), 328u);
}

TEST(Talvo_Convert_Output, AMissingFolderIsNamedAndNothingIsWritten) {
  Temp_Dir dir;
  dir.Write("QTZ.RAW", Raw2_File(Raw_Scan{}));
  const auto result = Run_Convert(dir, "--to bmp -o none/q.bmp QTZ.RAW");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "QTZ.RAW: error: The folder " + dir.Path("none") + " does not exist: q.bmp cannot be written.\n");
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

// A relative -o is taken from the current folder; without -o the output lies
// beside the input with the output type's extension.
TEST(Talvo_Convert_Output, RelativeOutputsAndDefaultNames) {
  Temp_Dir dir;
  std::filesystem::create_directories(dir.Path("data"));
  dir.Write("data/A.RAW", Raw2_File(Raw_Scan{}));
  EXPECT_EQ(Run_Convert(dir, "-o b.txt data/A.RAW").status, 0);
  EXPECT_EQ(Run_Convert(dir, "-o '*.csv' data/A.RAW").status, 0);
  EXPECT_EQ(Run_Convert(dir, "--to treor data/A.RAW").status, 1);  // a scan to a peak type: refused
  EXPECT_EQ(Run_Convert(dir, "data/A.RAW").status, 0);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"A.csv", "b.txt", "data"}));
  EXPECT_TRUE(std::filesystem::exists(dir.Path("data/A.txt")));
  const auto usage = Run_Convert(dir, "--step 0.02x data/A.RAW");
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.err, "talvo-convert: option --step: \"0.02x\" is not a number\nTry 'talvo-convert --help'.\n");
}

}  // namespace
}  // namespace talvo
