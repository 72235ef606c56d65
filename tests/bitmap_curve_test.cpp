// The bitmap export's curve and the scans it refuses before any window opens.
#include "ui/bitmap_curve.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/failure.h"
#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "formats/bitmap/bmp.h"

namespace talvo {
namespace {

using testing::Recording_Platform;

Store Scan(std::vector<float> counts, double max) {
  Store store;
  store.Nb_Points = static_cast<int32_t>(counts.size());
  store.Intensities = {0};
  store.Intensities.insert(store.Intensities.end(), counts.begin(), counts.end());
  store.Max_Intensity = max;
  store.Range_Limits = {50, 60};  // not used: the x axis is the point index
  return store;
}

TEST(Bitmap_Curve, RunsOverThePointIndexFromOneUnitLeftOfTheEdge) {
  const Steps steps = Bitmap_Curve(Scan({5, 40, 12, 7}, 40));
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_EQ(std::get<step::Coordinates>(steps[0]), (step::Coordinates{1, 40, 4, -40.0 / 239}));
  EXPECT_EQ(std::get<step::Line>(steps[1]), (step::Line{0, 5, 1, 5, Black}));
  EXPECT_EQ(std::get<step::Line>(steps[2]), (step::Line{1, 5, 2, 40, Black}));
  EXPECT_EQ(std::get<step::Line>(steps[3]), (step::Line{2, 40, 3, 12, Black}));
  EXPECT_EQ(std::get<step::Line>(steps[4]), (step::Line{3, 12, 4, 7, Black}));
}

void Expect_Refused(const Store& store, const std::string& words) {
  Recording_Platform platform;
  try {
    Write_Bmp("/out/QTZ.BMP", store, platform);
    ADD_FAILURE() << "not refused: " << words;
  } catch (const Failure& failure) {
    const std::string text = failure.what();
    EXPECT_NE(text.find(words), std::string::npos) << text;
    EXPECT_NE(text.find("Nothing was written to QTZ.BMP."), std::string::npos) << text;
  }
  EXPECT_TRUE(platform.calls.empty());
}

TEST(Write_Bmp, RefusesAScanWhoseCurveCannotBeDrawn) {
  Expect_Refused(Scan({100}, 100), "The scan has 1 point;");
  Expect_Refused(Scan({0, 0, 0}, 0), "largest count is 0");
  Store start;  // 3350 points announced, none held
  start.Max_Intensity = 100;
  Expect_Refused(start, "holds 0 intensities, fewer than its 3350 points");
  Store many = Scan(std::vector<float>(32768, 1), 1);
  Expect_Refused(many, "The scan holds 32768 points; this output type takes at most 32767.");
  Store short_scan = Scan({1, 2, 3}, 3);
  short_scan.Nb_Points = 5;
  Expect_Refused(short_scan, "holds 3 intensities, fewer than its 5 points");
  // NaN or infinity, as a binary RAW file may hold them, has no place on the curve.
  Expect_Refused(Scan({1, INFINITY, 3}, INFINITY), "largest count is not a number");
  Expect_Refused(Scan({1, NAN, 3}, 3), "Point 2 of the scan holds a count that is not a number");
}

TEST(Write_Bmp, HandsADrawableScanToTheBitmapWindowWithTheFileName) {
  Recording_Platform platform;
  std::string shown;
  platform.on_bmp_saver = [&](const Store&, const std::string& path) { shown = path; };
  Write_Bmp("/out/QTZ.BMP", Scan({1, 2}, 2), platform);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"bmp"}));
  EXPECT_EQ(shown, "/out/QTZ.BMP");
}

}  // namespace
}  // namespace talvo
