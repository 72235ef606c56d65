// talvo-convert's bitmap export, from a RAW file to the bitmap's pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
using testing::Temp_Dir;

uint32_t U32(const std::vector<uint8_t>& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | uint32_t(b.at(at + 3)) << 24;
}

// A pixel of a 24-bit bottom-up Windows bitmap, by its own layout; y is
// counted from the top row.
uint32_t Pixel(const std::vector<uint8_t>& bmp, int x, int y) {
  const std::size_t stride = (U32(bmp, 18) * 3 + 3) / 4 * 4;
  const std::size_t at = U32(bmp, 10) + (U32(bmp, 22) - 1 - y) * stride + x * 3;
  return bmp.at(at) | bmp.at(at + 1) << 8 | bmp.at(at + 2) << 16;
}

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
  EXPECT_EQ(U32(bmp, 18), 320u);
  EXPECT_EQ(U32(bmp, 22), 240u);
  EXPECT_EQ(bmp[28], 24);  // bits per pixel
  EXPECT_EQ(bmp.size(), U32(bmp, 10) + 320u * 3 * 240);

  // Point 50 of 100 sits at (50 - 1) * 320 / 99 = 158.4 pixels.
  int top_black = 0;
  for (int x = 0; x < 320; ++x)
    if (Pixel(bmp, x, 0) == Black) {
      ++top_black;
      EXPECT_NEAR(x, 158, 2);
    }
  EXPECT_GE(top_black, 1);
  // The level counts of 100 are drawn across the whole width, edge to edge.
  const int level = 240 - 24;  // 100 of 1000 up from the bottom edge
  EXPECT_TRUE(Pixel(bmp, 0, level) == Black || Pixel(bmp, 0, level - 1) == Black);
  EXPECT_TRUE(Pixel(bmp, 319, level) == Black || Pixel(bmp, 319, level - 1) == Black);
  EXPECT_EQ(Pixel(bmp, 100, 100), White);
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
    bottom_black += Pixel(bmp, x, 239) == Black;
    top_black += Pixel(bmp, x, 0) == Black;
    bool column_drawn = false;
    for (int y = 0; y < 240; ++y) column_drawn = column_drawn || Pixel(bmp, x, y) == Black;
    EXPECT_TRUE(column_drawn) << "column " << x;
  }
  EXPECT_GE(bottom_black, 300);
  EXPECT_GE(top_black, 1);
  EXPECT_EQ(Pixel(bmp, 20, 238), White);
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

}  // namespace
}  // namespace talvo
