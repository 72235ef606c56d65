// The real files at the limits of the system's layouts through
// talvo-convert: a scan of 49493 points, a time-of-flight xye, uneven steps,
// and a synthesis from 70 degrees down.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/store.h"
#include "fixtures/dif_builder.h"
#include "fixtures/read_file.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"
#include "formats/diffracplus/raw.h"

namespace talvo {
namespace {

using testing::Run_Convert;
using testing::Run_Result;
using testing::Temp_Dir;

Store Read_Back(const std::string& path) {
  Store store;
  testing::Read_Path(Read_Raw2, path, store);
  return store;
}

void Copy_Real(const Temp_Dir& dir, const std::string& name) {
  std::filesystem::copy_file(std::string(TALVO_TEST_DATA) + "/real/" + name, dir.Path(name));
}

TEST(Scan_Limits_Cli, RealFilesConvertRefuseOrWarnAsTheySay) {
  const std::string fxye = "fxye_11bmb_8714.fxye", tof = "g2tut_PG3_20255-4_10K_mantid.xye",
                    uneven = "g2tut_Cr2WO6_T4K_xye.dat";
  const struct {
    std::string arguments;
    int status;
    std::string err;
    bool written;
  } cases[] = {
      {"--from gsas --to raw2 -o out.raw " + fxye, 1, fxye + ": error: " + Too_Many_Points(49493, "out.raw") + "\n",
       false},
      {"--from gsas --to text-raw -o out.raw " + fxye, 1, fxye + ": error: " + Too_Many_Points(49493, "out.raw") + "\n",
       false},
      {"--from gsas --to raw2 --end 30 -o out.raw " + fxye, 0, "", true},
      {"--from xye --to raw2 -o out.raw " + tof, 1,
       tof + ": error: " + tof +
           " holds a scan over time-of-flight, not 2-theta: its header says so on line 3 (\"' The X-axis unit is: "
           "Time-of-flight\"); nothing was read.\n",
       false},
      {"--from xye --to raw2 -o out.raw " + uneven, 0,
       uneven + ": warning: " + uneven +
           ": its steps run from 0.028 to 0.108 degrees; written with the step of its first two points, its angles "
           "differ from the file's by up to 10.65 degrees (point 1717).\n",
       true},
  };
  for (const auto& c : cases) {
    Temp_Dir dir;
    for (const auto& name : {fxye, tof, uneven}) Copy_Real(dir, name);
    const Run_Result result = Run_Convert(dir, c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments;
    EXPECT_EQ(result.err, c.err) << c.arguments;
    EXPECT_EQ(std::filesystem::exists(dir.Path("out.raw")), c.written) << c.arguments;
  }
}

// A UXD scan longer than the 16-bit layouts is read whole: the outputs
// without the limit take every point, the others say why they cannot.
TEST(Scan_Limits_Cli, ALongUxdScanIsReadWhole) {
  std::string text = "_START=10\n_STEPSIZE=0.01\n_COUNTS\n";
  for (int k = 0; k <= Max_Points; ++k) text += k == Max_Points ? "9\n" : "7\n";
  const struct {
    const char* to;
    int status;
    std::string err;
  } cases[] = {
      {"raw2", 1, "long.uxd: error: " + Too_Many_Points(32768, "out") + "\n"},
      {"xy", 0, ""},
  };
  for (const auto& c : cases) {
    Temp_Dir dir;
    dir.Write("long.uxd", text);
    const Run_Result result = Run_Convert(dir, std::string("--from uxd --to ") + c.to + " -o out long.uxd");
    EXPECT_EQ(result.status, c.status) << c.to;
    EXPECT_EQ(result.err, c.err) << c.to;
    EXPECT_EQ(std::filesystem::exists(dir.Path("out")), c.status == 0) << c.to;
    if (c.status == 0) {
      const std::string xy = testing::Read_Text(dir.Path("out"));
      EXPECT_TRUE(xy.ends_with("\r\n337.67 9\r\n")) << xy.substr(xy.size() - 40);
    }
  }
}

TEST(Scan_Limits_Cli, TheEndAngleConvertsTheFirstPartOfALongScan) {
  Temp_Dir dir;
  Copy_Real(dir, "fxye_11bmb_8714.fxye");
  ASSERT_EQ(Run_Convert(dir, "--from gsas --to raw2 --end 30 -o out.raw fxye_11bmb_8714.fxye").status, 0);
  const Store raw = Read_Back(dir.Path("out.raw"));
  EXPECT_EQ(raw.Nb_Points, 29504);  // (30 - 0.5) / 0.00099987, rounded
  EXPECT_EQ(raw.Start_2Theta, 0.5f);
  EXPECT_EQ(raw.Intensities[1], 142.728866f);
  EXPECT_EQ(raw.Intensities[2], 103.315073f);
}

TEST(Scan_Limits_Cli, ASynthesisRunsDownFromSeventyAndAPlainPairFileIsPointedToXye) {
  Temp_Dir dir;
  dir.Write("QTZ.DIF", testing::Dif_Builder().Block({{20, 50}, {30, 200}, {40, 25}}).Bytes());
  Run_Result result =
      Run_Convert(dir, "--from dif --to raw2 --start 70 --end 3 --step -0.02 --noise 0 -o down.raw QTZ.DIF");
  ASSERT_EQ(result.status, 0) << result.err;
  const Store raw = Read_Back(dir.Path("down.raw"));
  EXPECT_EQ(raw.Nb_Points, 3350);
  EXPECT_EQ(raw.Start_2Theta, 70);
  EXPECT_FLOAT_EQ(static_cast<float>(raw.Step_Size), -0.02f);
  EXPECT_GT(raw.Intensities[2001], 1000);  // the strongest peak, at 30 degrees
  EXPECT_EQ(raw.Intensities[1], 10);

  dir.Write("pairs.txt", "Quartz\r\n1\r\n2\r\n10 5\r\n10.02 7\r\n10.04 6\r\n");
  result = Run_Convert(dir, "--from text-raw --to raw2 -o pairs.raw pairs.txt");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "pairs.txt: warning: pairs.txt: more numbers follow the 2 points the file announces; they were not read. "
            "A file of 2-theta and intensity pairs without this layout's header is read with the xye type (--from "
            "xye).\n");
}

}  // namespace
}  // namespace talvo
