// Storing one range of a file that holds several, and the names of the
// outputs of every range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/dispatch.h"
#include "core/failure.h"
#include "core/scan_range.h"
#include "core/store.h"

namespace talvo {
namespace {

Scan_Range Range(std::vector<double> counts, std::vector<double> angles = {}, std::string drive = "") {
  Scan_Range range;
  range.counts = std::move(counts);
  range.angles = std::move(angles);
  range.drive = std::move(drive);
  return range;
}

std::vector<Scan_Range> Two_Ranges() {
  Scan_Range first = Range({5, 7, 6}, {}, "2Theta");
  first.start = 10;
  first.step = 0.02;
  first.counting_time = 4.0;
  Scan_Range second = Range({1, 2}, {80, 80.6});
  second.start = 80;
  second.step = 0.5;
  second.uncertainties = {1, 1.5};
  return {first, second};
}

TEST(Store_Range, PutsTheChosenRangeAndItsPerPointItemsIntoTheStore) {
  Store store;
  auto warnings = Store_Range("k.raw", Two_Ranges(), 0, store);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].text,
            "k.raw holds 2 ranges; range 1 was converted (talvo-convert --range N takes another, --range all each "
            "one).");
  EXPECT_EQ(store.Nb_Points, 3);
  EXPECT_EQ(store.Intensities, (std::vector<float>{0, 5, 7, 6}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 10.04);
  EXPECT_EQ(store.Time_Step, 4.0f);
  EXPECT_EQ(store.Max_Intensity, 7);
  EXPECT_EQ(store.Extras.Counts, (std::vector<double>{0, 5, 7, 6}));
  EXPECT_TRUE(store.Extras.Angles.empty());
  EXPECT_EQ(store.Extras.Range_Count, 2);

  EXPECT_TRUE(Store_Range("k.raw", Two_Ranges(), 2, store).empty());  // chosen: no warning
  EXPECT_EQ(store.Nb_Points, 2);
  EXPECT_EQ(store.Start_2Theta, 80.0f);
  EXPECT_EQ(store.Time_Step, 1.0f);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 80.6);  // the file's own last angle
  EXPECT_EQ(store.Extras.Angles, (std::vector<double>{0, 80, 80.6}));
  EXPECT_EQ(store.Extras.Uncertainties, (std::vector<double>{0, 1, 1.5}));
}

TEST(Store_Range, RefusesWhatIsNoPowderScanAndLeavesTheStore) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    Scan_Range range;
    int32_t number;
    const char* message;
  } cases[] = {
      {Range({1}), 2, "f.x holds 1 range; there is no range 2."},
      {Range({1}, {}, "Omega"), 1,
       "f.x: its scan is driven in Omega, not in 2-theta (a rocking curve, pole figure or map, not a powder "
       "pattern)."},
      {Range({}), 1, "f.x: its scan holds no point."},
      {Range({1, nan}), 1, "f.x: point 2 of its scan has no finite count."},
      {Range({1, 1e39}), 1, "f.x: point 2 of its scan has no finite count."},
      {Range({1, 2}, {1}), 1, "f.x: its scan lists 1 point but 2 points of counts."},
      {Range({1}, {nan}), 1, "f.x: its scan lists an angle that is not a number."},
  };
  for (const auto& c : cases) {
    Store store;
    try {
      Store_Range("f.x", {c.range}, c.number, store);
      ADD_FAILURE() << c.message;
    } catch (const Failure& failure) {
      EXPECT_EQ(std::string(failure.what()), c.message);
    }
    EXPECT_EQ(store, Store{});
  }
}

TEST(Store_Range, TwoThetaDrivesAreKnownByTheirNamesInAnySpelling) {
  for (const char* drive : {"", "2Theta", "2THETA", "TwoTheta", "Locked Coupled", "2Theta-Omega", "Gonio"})
    EXPECT_TRUE(Is_Two_Theta_Drive(drive)) << drive;
  for (const char* drive : {"Omega", "Phi", "Chi", "Theta", "Z"}) EXPECT_FALSE(Is_Two_Theta_Drive(drive)) << drive;
}

TEST(Range_Output, TheRangeNumberFollowsTheBaseName) {
  const std::pair<const char*, const char*> cases[] = {
      {"out/sample.txt", "out/sample-2.txt"},
      {"sample", "sample-2"},
      {"a.b/sample.tar.gz", "a.b/sample-2.tar.gz"},
      {"C:\\x.y\\s.raw", "C:\\x.y\\s-2.raw"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(Range_Output(in, 2), out);
}

}  // namespace
}  // namespace talvo
