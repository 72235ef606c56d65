// talvo-convert's bitmap export, from a RAW file to the bitmap's pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "fixtures/bmp_pixels.h"
#include "fixtures/raw_builder.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Bmp_Pixel;
using testing::Bmp_U32;
using testing::Raw2_File;
using testing::Raw_Scan;
using testing::Read_Bytes;
using testing::Read_Text;
using testing::Run_Convert;
using testing::Temp_Dir;

constexpr uint32_t Black = 0, White = 0xFFFFFF;

TEST(Talvo_Convert_Bitmap, ARawScanBecomesA320By240CurveTouchingTheTopAtItsLargestPoint) {
  Temp_Dir dir;
  Raw_Scan scan;
  scan.intensities.assign(100, 100);
  scan.intensities[49] = 1000;  // point 50, the largest
  dir.Write("QTZ.RAW", Raw2_File(scan));
  dir.Write("QTZ.BMP", std::string_view("old"));
  const auto result = Run_Convert(dir, "--from raw --to bmp -o QTZ.BMP QTZ.RAW");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const auto bmp = Read_Bytes(dir.Path("QTZ.BMP"));
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(std::string(bmp.begin(), bmp.begin() + 2), "BM");
  EXPECT_EQ(Bmp_U32(bmp, 18), 320u);
  EXPECT_EQ(Bmp_U32(bmp, 22), 240u);
  EXPECT_EQ(bmp[28], 24);  // bits per pixel
  EXPECT_EQ(bmp.size(), Bmp_U32(bmp, 10) + 320u * 3 * 240);

  // Point 50 of 100 sits at (50 - 1) * 320 / 99 = 158.4 pixels.
  int top_black = 0;
  for (int x = 0; x < 320; ++x)
    if (Bmp_Pixel(bmp, x, 0) == Black) {
      ++top_black;
      EXPECT_NEAR(x, 158, 2);
    }
  EXPECT_GE(top_black, 1);
  // The level counts of 100 are drawn across the whole width, edge to edge.
  const int level = 240 - 24;  // 100 of 1000 up from the bottom edge
  EXPECT_TRUE(Bmp_Pixel(bmp, 0, level) == Black || Bmp_Pixel(bmp, 0, level - 1) == Black);
  EXPECT_TRUE(Bmp_Pixel(bmp, 319, level) == Black || Bmp_Pixel(bmp, 319, level - 1) == Black);
  EXPECT_EQ(Bmp_Pixel(bmp, 100, 100), White);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"QTZ.BMP", "QTZ.RAW"}));
}

// Counts of 0 lie on the bottom row, as the largest count lies on the top
// row: a scan of zeros is a line along the bottom with no column left empty.
TEST(Talvo_Convert_Bitmap, ZeroCountsLieOnTheBottomRowAndThePeakOnTheTopRow) {
  Temp_Dir dir;
  Raw_Scan scan;
  scan.intensities.assign(100, 0);
  scan.intensities[49] = 500;
  dir.Write("ZERO.RAW", Raw2_File(scan));
  ASSERT_EQ(Run_Convert(dir, "--to bmp -o ZERO.BMP ZERO.RAW").status, 0);
  const auto bmp = Read_Bytes(dir.Path("ZERO.BMP"));
  int bottom_black = 0, top_black = 0;
  for (int x = 0; x < 320; ++x) {
    bottom_black += Bmp_Pixel(bmp, x, 239) == Black;
    top_black += Bmp_Pixel(bmp, x, 0) == Black;
    bool column_drawn = false;
    for (int y = 0; y < 240; ++y) column_drawn = column_drawn || Bmp_Pixel(bmp, x, y) == Black;
    EXPECT_TRUE(column_drawn) << "column " << x;
  }
  EXPECT_GE(bottom_black, 300);
  EXPECT_GE(top_black, 1);
  EXPECT_EQ(Bmp_Pixel(bmp, 20, 238), White);
}

TEST(Talvo_Convert_Bitmap, AScanOfOnePointIsRefusedAndAnExistingFileKept) {
  Temp_Dir dir;
  Raw_Scan scan;
  scan.intensities = {100};
  dir.Write("ONE.RAW", Raw2_File(scan));
  dir.Write("ONE.BMP", std::string_view("old"));
  const auto result = Run_Convert(dir, "--from raw --to bmp -o ONE.BMP ONE.RAW");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "ONE.RAW: error: The scan has 1 point; a bitmap of its curve needs at least 2. Nothing was written to "
            "ONE.BMP.\n");
  EXPECT_EQ(Read_Text(dir.Path("ONE.BMP")), "old");
}

// Every sample converts to the bitmap today's QPainter painter wrote for it;
// the step scans are one pattern, and so give one file.
struct Sample_Bitmap {
  const char* from;
  const char* sample;
  const char* reference;
};

const Sample_Bitmap Sample_Bitmaps[] = {
    {"raw", "quartz.raw", "sample-scan.bmp"},
    {"raw", "quartz-v1.raw", "sample-scan.bmp"},
    {"auto", "quartz-text.raw", "sample-scan.bmp"},
    {"text-raw", "quartz-scan.txt", "sample-scan.bmp"},
    {"xye", "quartz.xye", "sample-scan.bmp"},
    {"gsas", "quartz.gsas", "sample-scan.bmp"},
    {"oxford", "quartz.dat", "sample-scan.bmp"},
    {"dif", "quartz.dif", "sample-dif.bmp"},
    {"uxd", "quartz.uxd", "sample-uxd.bmp"},
    {"text-di", "quartz-di.txt", "sample-di.bmp"},
    {"diamond", "quartz-diamond.txt", "sample-di.bmp"},
};

TEST(Talvo_Convert_Bitmap, EverySampleGivesItsReferenceBitmapPixelForPixel) {
  Temp_Dir dir;
  for (const auto& s : Sample_Bitmaps) {
    const auto result = Run_Convert(
        dir, std::string("--from ") + s.from + " --to bmp -o OUT.BMP '" + TALVO_SAMPLES + "/" + s.sample + "'");
    ASSERT_EQ(result.status, 0) << s.sample << ": " << result.err;
    const auto got = Read_Bytes(dir.Path("OUT.BMP"));
    const auto want = Read_Bytes(std::string(TALVO_TEST_DATA) + "/bitmaps/" + s.reference);
    const auto diff = testing::Compare_Pixels(want, got);
    EXPECT_EQ(diff.count, 0) << s.sample << ", pixels that differ:" << diff.first;
    EXPECT_EQ(got, want) << s.sample;
  }
}

// The bitmap is drawn by the engine: no Qt library is loaded, directly or
// through another library.
TEST(Talvo_Convert_Bitmap, LinksNoQtLibrary) {
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(
      popen(("ldd '" + std::string(TALVO_CONVERT) + "' 2>&1").c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string libraries;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) libraries += buffer;
  if (libraries.find("libc.so") == std::string::npos) GTEST_SKIP() << "ldd does not list the libraries: " << libraries;
  EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
}

}  // namespace
}  // namespace talvo
