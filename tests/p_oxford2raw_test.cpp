#include "ui/p_oxford2raw.h"

#include <gtest/gtest.h>

#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"
#include "ui/field_text.h"

namespace talvo {
namespace {

using testing::Recording_Platform;
using testing::Temp_Dir;

class Oxford_Dialog : public ::testing::Test {
 protected:
  Recording_Platform platform;
  Store store;

  // A store as a reader leaves it: `points` intensities from `start`.
  void Scan(int points, float start, double step) {
    store.Nb_Points = points;
    store.Intensities.assign(static_cast<std::size_t>(points) + 1, 1.0f);
    store.Start_2Theta = start;
    store.Range_Limits[0] = start;
    store.Step_Size = step;
  }
};

TEST_F(Oxford_Dialog, OpensOnTheStoreWithTheEndRoundedToEven) {
  Scan(10, 10, 0.25);
  store.Sample_ID = "Quartz" + std::string(26, ' ');
  store.Lambda1 = 0.70926f;
  P_oxford2raw dialog(store, platform);
  dialog.Form_Load();
  EXPECT_EQ(dialog.T_Time, "1");
  EXPECT_EQ(dialog.T_SSize, "0.25");
  EXPECT_EQ(dialog.T_Start, "10");
  EXPECT_EQ(dialog.T_End, "12");  // 12.5 to even
  EXPECT_EQ(dialog.T_Lambda, "0.70926");
  EXPECT_EQ(dialog.T_Anode, "");
  EXPECT_EQ(dialog.E_Lambda, "Anode");
  EXPECT_EQ(dialog.T_Spid, store.Sample_ID);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"normal"}));

  ASSERT_EQ(dialog.Form_Unload(), std::nullopt);
  EXPECT_EQ(store.Nb_Points, 8);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 12);
  EXPECT_EQ(store.Lambda1, 0.70926f);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"normal", "busy"}));
}

TEST_F(Oxford_Dialog, TheCopperKAlpha1OpensAsCuWithTheMeanWavelength) {
  Scan(100, 3, 0.02);
  P_oxford2raw dialog(store, platform);  // the start-up wavelength, 1.54051
  dialog.Form_Load();
  EXPECT_EQ(dialog.T_Anode, "Cu");
  EXPECT_EQ(dialog.E_Lambda, "Lambda K1");
  EXPECT_EQ(dialog.T_Lambda, "1.5419");
  ASSERT_EQ(dialog.Form_Unload(), std::nullopt);
  EXPECT_EQ(store.Lambda1, 1.5419f);
}

TEST_F(Oxford_Dialog, NumbersUseTheRegionalSeparatorAndTheirOwnPrecision) {
  Scan(3, 10.0f, 10.02 - 10.00);
  store.Time_Step = 1.5f;
  store.Lambda1 = 0.70926f;
  platform.separator = ',';
  P_oxford2raw dialog(store, platform);
  dialog.Form_Load();
  EXPECT_EQ(dialog.T_Time, "1,5");
  EXPECT_EQ(dialog.T_SSize, "0,0199999999999996");  // a 64-bit step, 15 digits
  EXPECT_EQ(dialog.T_Lambda, "0,70926");            // a 32-bit wavelength, 7 digits
  dialog.T_Anode_Change("mo");
  EXPECT_EQ(dialog.T_Lambda, "0,71073");
}

TEST_F(Oxford_Dialog, FieldsAreReadWithTheirFirstCommaAsThePoint) {
  EXPECT_DOUBLE_EQ(Field_Number("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(Field_Number("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(Field_Number("1,5,7"), 1.5);
  EXPECT_DOUBLE_EQ(Field_Number(" 12,5 s"), 12.5);
  EXPECT_DOUBLE_EQ(Field_Number(","), 0);
  EXPECT_DOUBLE_EQ(Field_Number("abc"), 0);

  Scan(100, 10, 0.02);
  P_oxford2raw dialog(store, platform);
  dialog.Form_Load();
  dialog.T_Time = "2,5";
  dialog.T_Start = "10,5";
  dialog.T_End = "11,5";
  dialog.T_SSize = "0,02";
  dialog.T_Lambda = "1,78892";
  ASSERT_EQ(dialog.Form_Unload(), std::nullopt);
  EXPECT_FLOAT_EQ(store.Time_Step, 2.5f);
  EXPECT_FLOAT_EQ(store.Start_2Theta, 10.5f);
  EXPECT_FLOAT_EQ(store.Start_Theta, 5.25f);
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.5);
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.02);
  EXPECT_EQ(store.Nb_Points, 50);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 12);  // 11.5 to even
  EXPECT_EQ(store.Lambda1, 1.78892f);
}

TEST_F(Oxford_Dialog, TheAnodeLookupRunsOnEveryKeystroke) {
  P_oxford2raw dialog(store, platform);
  dialog.Form_Load();
  const std::vector<std::tuple<std::string, std::string, std::string>> steps = {
      {"m", "Lambda K1", ""},         {"mo", "Lambda Moy", "0.71073"}, {"zn", "Lambda K1", "1.4351"},
      {"CU", "Lambda Moy", "1.5419"}, {" Cu", "Lambda K1", ""},        {"ag", "Lambda K1", "0.55936"},
      {"Cr", "Lambda K1", "2.28962"}, {"X", "Lambda K1", ""},          {"", "Lambda K1", ""},
  };
  for (const auto& [typed, caption, lambda] : steps) {
    dialog.T_Anode_Change(typed);
    EXPECT_EQ(dialog.E_Lambda, caption) << typed;
    EXPECT_EQ(dialog.T_Lambda, lambda) << typed;
  }
  ASSERT_EQ(dialog.Form_Unload(), std::nullopt);
  EXPECT_EQ(store.Lambda1, 0.0f);  // an unknown anode leaves no wavelength
}

TEST_F(Oxford_Dialog, ClosingNeverAnnouncesMorePointsThanWereRead) {
  Scan(1000, 10.7f, 0.02);
  P_oxford2raw dialog(store, platform);
  dialog.Form_Load();
  EXPECT_EQ(dialog.T_End, "31");
  ASSERT_EQ(dialog.Form_Unload(), std::nullopt);  // 1015 steps to 31
  EXPECT_EQ(store.Nb_Points, 1000);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 31);  // 10.7 + 1000 x 0.02, rounded

  Scan(1000, 10.7f, 0.02);
  P_oxford2raw narrower(store, platform);
  narrower.Form_Load();
  narrower.T_End = "12.7";
  ASSERT_EQ(narrower.Form_Unload(), std::nullopt);
  EXPECT_EQ(store.Nb_Points, 100);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 13);
}

TEST_F(Oxford_Dialog, ADescendingScanStillCloses) {
  Scan(500, 30, -0.02);
  P_oxford2raw dialog(store, platform);
  dialog.Form_Load();
  EXPECT_EQ(dialog.T_End, "20");
  ASSERT_EQ(dialog.Form_Unload(), std::nullopt);
  EXPECT_EQ(store.Nb_Points, 500);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 20);
}

TEST_F(Oxford_Dialog, FieldsThatGiveNoScanAreRefusedAndNothingIsStored) {
  const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
      {"10", "20", "0", "Step Size: the step size must not be 0."},
      {"10", "20", "abc", "Step Size: the step size must not be 0."},
      {"10", "10", "0.02",
       "End angle: from the start angle to the end angle in steps of this size the scan would have 0 points; it must "
       "have from 1 to 32767."},
      {"20", "10", "0.02",
       "End angle: from the start angle to the end angle in steps of this size the scan would have -500 points; it "
       "must have from 1 to 32767."},
      {"0", "655.36", "0.02",
       "End angle: from the start angle to the end angle in steps of this size the scan would have 32768 points; it "
       "must have from 1 to 32767."},
      {"10", "20", "-0.02",  // a descending count below 1
       "End angle: from the start angle to the end angle in steps of this size the scan would have -500 points; it "
       "must have from 1 to 32767."},
  };
  Scan(100, 10, 0.02);
  const Store before = store;
  for (const auto& [start, end, step, message] : cases) {
    P_oxford2raw dialog(store, platform);
    dialog.Form_Load();
    dialog.T_Start = start;
    dialog.T_End = end;
    dialog.T_SSize = step;
    dialog.T_Time = "9";
    EXPECT_EQ(dialog.Form_Unload(), message) << start << " " << end << " " << step;
    EXPECT_EQ(store, before);
  }
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "busy"), 0);

  P_oxford2raw limit(store, platform);  // 32767 steps still close
  limit.Form_Load();
  limit.T_Start = "0";
  limit.T_End = "655.34";
  EXPECT_EQ(limit.Form_Unload(), std::nullopt);
  EXPECT_EQ(store.Nb_Points, 100);
}

// The end is stored rounded to a whole degree, even when that brings it back
// to the start or behind it: the count stands.
TEST_F(Oxford_Dialog, AnEndThatRoundsBackToTheStartKeepsItsCount) {
  for (const auto& [start, step, end, points, stored_end] :
       std::vector<std::tuple<float, double, std::string, int, double>>{
           {5.0f, 0.025, "5.25", 7, 5}, {10.3f, 0.02, "10.4", 5, 10}, {9.6f, -0.01, "9.55", 5, 10}}) {
    Scan(7, start, step);
    P_oxford2raw dialog(store, platform);
    dialog.Form_Load();
    dialog.T_End = end;
    ASSERT_EQ(dialog.Form_Unload(), std::nullopt) << end;
    EXPECT_EQ(store.Nb_Points, points) << end;
    EXPECT_FLOAT_EQ(store.Start_2Theta, start);
    EXPECT_DOUBLE_EQ(store.Range_Limits[1], stored_end) << end;
  }
}

TEST_F(Oxford_Dialog, ShowsTheFileBeingImported) {
  P_oxford2raw dialog(store, platform, "Ros\xE9 quartz\r\n1 2 3 4 5\r\n");
  EXPECT_EQ(dialog.Lines(), "Ros\xE9 quartz\r\n1 2 3 4 5\r\n");
}

}  // namespace
}  // namespace talvo
