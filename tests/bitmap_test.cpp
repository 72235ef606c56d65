// The bitmap writer against the files the QPainter painter wrote, pixel by
// pixel, and the drawing of lines that leave the picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "fixtures/bitmap_scans.h"
#include "fixtures/bmp_pixels.h"
#include "fixtures/temp_dir.h"
#include "formats/bitmap/bmp.h"
#include "formats/bitmap/raster.h"

namespace talvo {
namespace {

using testing::Bitmap_Scan;
using testing::Bitmap_Scans;
using testing::Bitmap_Store;
using testing::Compare_Pixels;

class Reference_Bitmap : public ::testing::TestWithParam<Bitmap_Scan> {};

TEST_P(Reference_Bitmap, IsWrittenByteForByte) {
  const auto want = testing::Read_Bytes(std::string(TALVO_TEST_DATA) + "/bitmaps/" + GetParam().file);
  const std::string bytes = Bmp_Bytes(Curve_Bitmap(Bitmap_Store(GetParam())));
  const std::vector<uint8_t> got(bytes.begin(), bytes.end());
  ASSERT_EQ(got.size(), want.size());
  EXPECT_TRUE(std::equal(got.begin(), got.begin() + 54, want.begin())) << "the headers differ";
  const auto diff = Compare_Pixels(want, got);
  EXPECT_EQ(diff.count, 0) << "pixels that differ:" << diff.first;
}

INSTANTIATE_TEST_SUITE_P(Scans, Reference_Bitmap, ::testing::ValuesIn(Bitmap_Scans()), [](const auto& info) {
  std::string name = info.param.file.substr(0, info.param.file.find('.'));
  std::erase(name, '-');
  return name;
});

// Lines in pixel coordinates (a 10 x 10 picture over (0, 0)-(10, 10)): the
// pixels each one sets.
struct Line_Case {
  const char* what;
  step::Line line;
  std::vector<std::pair<int, int>> black;
};

const Line_Case Line_Cases[] = {
    {"a level line takes the pixel of each centre it covers, and its square caps add half a pixel",
     {1.5, 2.5, 4.5, 2.5, Black},
     {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {"a steep line takes one pixel per row", {2.5, 1.5, 3.5, 4.5, Black}, {{2, 1}, {2, 2}, {3, 3}, {3, 4}}},
    {"a line through the whole picture and beyond sets nothing outside it",
     {-30, 5.5, 40, 5.5, Black},
     {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}}},
    {"a line wholly left of the picture sets nothing", {-9, 0, -2, 9, Black}, {}},
    {"a line of no length is one dot, at the nearest pixel", {3.6, 4.4, 3.6, 4.4, Black}, {{4, 4}}},
    {"a line of a fifth of a pixel takes the pixel whose centre its caps cover", {2.6, 2.5, 2.8, 2.5, Black}, {{2, 2}}},
    {"a line shorter than 1/64 pixel sets nothing", {2.5, 2.5, 2.51, 2.5, Black}, {}},
    {"a dot far outside the picture sets nothing", {1e300, 4, 1e300, 4, Black}, {}},
};

TEST(Draw_Steps, SetsThePixelsOfEachLine) {
  for (const auto& c : Line_Cases) {
    Raster picture(10, 10, White);
    Draw_Steps(picture, {step::Coordinates{0, 0, 10, 10}, c.line});
    std::vector<std::pair<int, int>> black;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        if (picture.Pixel(x, y) == Black) black.emplace_back(x, y);
    std::vector<std::pair<int, int>> want = c.black;
    std::sort(want.begin(), want.end(),
              [](auto a, auto b) { return std::pair(a.second, a.first) < std::pair(b.second, b.first); });
    EXPECT_EQ(black, want) << c.what;
  }
}

TEST(Draw_Steps, DrawsNothingInACoordinateSystemOfNoExtentOrBeforeOne) {
  Raster picture(10, 10, White);
  Draw_Steps(picture, {step::Line{0, 0, 9, 9, Black}, step::Coordinates{1, 5, 1, 0}, step::Line{0, 0, 9, 9, Black}});
  EXPECT_EQ(picture, Raster(10, 10, White));
}

}  // namespace
}  // namespace talvo
