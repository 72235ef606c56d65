// The text formats end to end through talvo-convert: peak lists to Treor and
// U-Fit, a text scan to RAW version 2, a RAW scan to formatted text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "fixtures/raw_builder.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Raw2_File;
using testing::Raw_Scan;
using testing::Read_Bytes;
using testing::Read_Text;
using testing::Run_Convert;
using testing::Run_Result;
using testing::Temp_Dir;

const std::string Title = "Quartz peaks                    \r\n";

TEST(Text_Formats_Cli, PeakListsToTreorAndUFit) {
  Temp_Dir dir;
  dir.Write("Q.UXD", "; peaks\r\n_WL1=1.5406\r\n_SAMPLE='Quartz peaks'\r\n_D-I\r\n2.5 100\r\n2.0 50\r\n1.5 25\r\n");
  dir.Write("Q.TXT", "Quartz peaks\r\n2.5 100\r\n2.0 50\r\n1.5 25\r\n");
  dir.Write("D.TXT", "h k l\r\n1 0 2.5 100 0 1 0 0 1\r\n2 0 2.0 50 0 1 1 0 1\r\n3 0 1.5 25 0 1 1 1 1\r\n");
  Run_Result result = Run_Convert(dir, "--from uxd --to treor -o Q.tre Q.UXD");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string treor = Title +
                            "   35.8898          100\r\n"
                            "   45.3033           50\r\n"
                            "   61.7949           25\r\n"
                            "  CHOICE=4,\r\n  VOL=-2000,\r\n  END*\r\n";
  EXPECT_EQ(Read_Text(dir.Path("Q.tre")), treor);
  result = Run_Convert(dir, "--from text-di --to ufit -o Q.dif Q.TXT");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Read_Text(dir.Path("Q.dif")), Title + "\r\n35.890, 100.0, 0\r\n45.303, 50.0, 0\r\n61.795, 25.0, 0\r\n");
  // A Diamond list has no title: a fresh run writes the start-up NUL bytes as blanks.
  std::filesystem::create_directory(dir.Path("out"));
  result = Run_Convert(dir, "--from diamond --to treor -o 'out/*.tre' D.TXT");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Read_Text(dir.Path("out/D.tre")), std::string(32, ' ') + treor.substr(32));
}

TEST(Text_Formats_Cli, ScansToFormattedTextAndRawVersion2) {
  Temp_Dir dir;
  Raw_Scan scan;
  scan.sample = "Quartz";
  scan.step = 0.02f;
  scan.intensities = {5, 7.26f, 6};
  dir.Write("S.RAW", Raw2_File(scan));
  Run_Result result = Run_Convert(dir, "--from raw --to text-raw -o S.txt S.RAW");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string sample = "Quartz                          ";
  const std::string header_tail = "\r\nLambda\t1.54056\r\n2 Theta\t" + sample + "\r\n";
  EXPECT_EQ(Read_Text(dir.Path("S.txt")), "Mesure\t" + sample +
                                              "\r\nNombre de points\t3\r\nSecondes par pas\t1.5\r\n"
                                              "Largeur du pas en 2 Th\xE9ta\t.020" +
                                              header_tail + "10.00\t5.0\r\n10.02\t7.3\r\n10.04\t6.0\r\n");

  dir.Write("T.TXT", "Text scan\r\n2.5\r\n3\r\n10.00 5\r\n10.02 7\r\n10.04 6\r\n");
  result = Run_Convert(dir, "--from text-raw --to raw2 -o T.raw T.TXT");
  ASSERT_EQ(result.status, 0) << result.err;
  const auto raw = Read_Bytes(dir.Path("T.raw"));
  ASSERT_EQ(raw.size(), 316u + 12);
  auto f32 = [&](std::size_t at) {
    float v;
    std::memcpy(&v, &raw[at], 4);
    return v;
  };
  EXPECT_EQ(std::string(raw.begin() + 8, raw.begin() + 17), "Text scan");
  EXPECT_EQ(raw[256 + 2], 3);
  EXPECT_EQ(f32(256 + 8), 2.5f);                                // time per step
  EXPECT_EQ(f32(256 + 12), static_cast<float>(10.02 - 10.00));  // step
  EXPECT_EQ(f32(256 + 16), 10.0f);                              // first 2-theta
  EXPECT_EQ(f32(190), 1.54051f);
  EXPECT_EQ(f32(316 + 4), 7.0f);
}

TEST(Text_Formats_Cli, AUxdPoleFigureIsRefusedAndWritesNothing) {
  Temp_Dir dir;
  dir.Write("POLE.UXD", "_SAMPLE='P'\n_DRIVE='PHI'\n_STEPSIZE=5\n_2THETACPS\n0.0 120\n5.0 130\n");
  const Run_Result result = Run_Convert(dir, "--from uxd --to raw2 -o POLE.raw POLE.UXD");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "POLE.UXD: error: POLE.UXD holds a scan driven in PHI, not in 2-theta (a pole figure or a rocking "
            "curve), in its first range; nothing was read.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("POLE.raw")));
}

}  // namespace
}  // namespace talvo
