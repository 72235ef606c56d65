#include "ui/p_dif2raw.h"

#include <gtest/gtest.h>

#include "cli/cli_platform.h"
#include "core/store.h"
#include "fixtures/recording_platform.h"

namespace talvo {
namespace {

using testing::Recording_Platform;

class Dif2Raw_Dialog : public ::testing::Test {
 protected:
  Store store;
  Recording_Platform platform;
  P_dif2raw dialog{store, platform};

  // Opens on the store, types `end` (and `step`) and closes.
  std::optional<P_dif2raw::Refusal> Close_With(const std::string& start, const std::string& end,
                                               const std::string& step) {
    dialog.Form_Load();
    dialog.T_Start = start;
    dialog.T_End = end;
    dialog.T_SSize = step;
    return dialog.Form_Unload();
  }
};

TEST_F(Dif2Raw_Dialog, OpensOnTheStartUpStoreInTheRegionalForm) {
  platform.separator = ',';
  platform.busy = true;
  dialog.Form_Load();
  EXPECT_EQ(dialog.T_Time, "1");
  EXPECT_EQ(dialog.T_SSize, "0,02");
  EXPECT_EQ(dialog.T_Start, "3");
  EXPECT_EQ(dialog.T_End, "70");
  EXPECT_EQ(dialog.T_Lambda, "1,54051");
  EXPECT_EQ(dialog.T_Anode, "Cu");
  EXPECT_EQ(dialog.T_Bkg, "10");
  EXPECT_EQ(dialog.T_Noise, "3");
  EXPECT_EQ(dialog.T_FWHM, "0,3");  // 7 digits of the Single, not 0.300000011920929
  EXPECT_EQ(dialog.O_Function, Profile::Gauss);
  EXPECT_FALSE(dialog.Ch_range_limits);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"normal"}));
}

TEST_F(Dif2Raw_Dialog, ClosingRoundsTheEndToAWholeDegreeAndKeepsTheCount) {
  EXPECT_FALSE(Close_With("3", "70.7", "0.02"));
  EXPECT_EQ(store.Nb_Points, 3385);
  EXPECT_EQ(store.Range_Limits[1], 71);
  EXPECT_EQ(store.Range_Limits[0], 3);
  EXPECT_EQ(store.Start_2Theta, 3.0f);
  EXPECT_EQ(store.Start_Theta, 1.5f);
  EXPECT_EQ(platform.calls.back(), "busy");

  EXPECT_FALSE(Close_With("3", "70", "0.03"));
  EXPECT_EQ(store.Nb_Points, 2233);
  EXPECT_EQ(store.Range_Limits[1], 70);  // although 3 + 2233 x 0.03 = 69.99
  EXPECT_EQ(store.Step_Size, 0.03);
}

TEST_F(Dif2Raw_Dialog, FieldsAreReadWithADecimalCommaAndTheLeadingNumberRule) {
  dialog.Form_Load();
  dialog.T_End = "70,7";
  dialog.T_Time = "2,5 s";
  dialog.T_Bkg = "abc";
  dialog.T_Noise = " -1.5e1x";
  dialog.T_FWHM = "0,25";
  dialog.T_Lambda = "1,78892";
  dialog.O_Function = Profile::Pearson_VII;
  dialog.Ch_range_limits = true;
  EXPECT_FALSE(dialog.Form_Unload());
  EXPECT_EQ(store.Nb_Points, 3385);
  EXPECT_EQ(store.Time_Step, 2.5f);
  EXPECT_EQ(store.Bkg_Level, 0.0f);
  EXPECT_EQ(store.Noise_Height, -15.0f);
  EXPECT_EQ(store.FWHM, 0.25f);
  EXPECT_EQ(store.Lambda1, 1.78892f);
  EXPECT_EQ(store.Profile_Function, 3);
  EXPECT_EQ(store.Preserve_Range, True16);

  // Reopening: not the copper wavelength, so no anode; the tick is kept.
  P_dif2raw again(store, platform);
  again.Form_Load();
  EXPECT_EQ(again.T_Anode, "");
  EXPECT_EQ(again.T_Lambda, "1.78892");
  EXPECT_EQ(again.O_Function, Profile::Pearson_VII);
  EXPECT_TRUE(again.Ch_range_limits);
  EXPECT_EQ(again.T_End, "71");
}

// The store's number opens as its profile, and only a choice replaces it: a
// number that names no profile survives a closing without one.
TEST_F(Dif2Raw_Dialog, TheStoredNumberOpensAsItsProfileAndOnlyAChoiceReplacesIt) {
  const std::pair<int16_t, Profile> cases[] = {{1, Profile::Gauss}, {2, Profile::Lorentz}, {3, Profile::Pearson_VII},
                                               {0, Profile::None},  {4, Profile::None},    {-1, Profile::None}};
  for (const auto& [stored, shown] : cases) {
    store.Profile_Function = stored;
    dialog.Form_Load();
    EXPECT_EQ(dialog.O_Function, shown) << stored;
    EXPECT_FALSE(dialog.Form_Unload());
    EXPECT_EQ(store.Profile_Function, stored);
  }
}

// talvo-convert's --profile names, typed into the dialog before a synthesis.
TEST(Dif2Raw_Profile_Option, EachNameStoresItsProfile) {
  const std::pair<const char*, int16_t> cases[] = {{"gauss", 1}, {"lorentz", 2}, {"pearson7", 3}};
  for (const auto& [name, stored] : cases) {
    Store store;
    store.Profile_Function = 0;
    Cli_Platform platform;
    platform.parameters["profile"] = name;
    platform.Show_Dif2Raw(store, Dif2Raw_Opening::Before_Synthesis);
    EXPECT_EQ(store.Profile_Function, stored) << name;
  }
}

TEST_F(Dif2Raw_Dialog, EveryAnodeAndEveryKeystrokeLooksTheWavelengthUp) {
  const std::vector<std::pair<std::string, std::string>> table = {
      {"Ag", "0.55936"}, {"mo", "0.70926"}, {"ZN", "1.4351"},  {"Cu", "1.54051"}, {"nI", "1.65784"}, {"Co", "1.78892"},
      {"fe", "1.93597"}, {"Mn", "2.10174"}, {"cr", "2.28962"}, {"XX", ""},        {" Cu", ""},       {"", ""}};
  dialog.Form_Load();
  for (const auto& [code, lambda] : table) {
    dialog.T_Anode = code;
    dialog.T_Anode_Change();
    EXPECT_EQ(dialog.T_Lambda, lambda) << code;
  }
  dialog.T_Lambda = "9";
  dialog.T_Anode = "C";
  dialog.T_Anode_Change();
  EXPECT_EQ(dialog.T_Lambda, "");
  dialog.T_Anode = "Cu";
  dialog.T_Anode_Change();
  EXPECT_EQ(dialog.T_Lambda, "1.54051");
  dialog.T_Anode = "XX";
  dialog.T_Anode_Change();
  EXPECT_FALSE(dialog.Form_Unload());
  EXPECT_EQ(store.Lambda1, 0.0f);
}

TEST_F(Dif2Raw_Dialog, ValuesThatGiveNoScanAreRefusedAndNothingIsStored) {
  store.Step_Size = 0.05;
  const Store before = store;
  struct Case {
    std::string start, end, step, fwhm;
    P_dif2raw::Field field;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"3", "70", "0", "0.3", P_dif2raw::Field::Step, "The Step Size must not be 0."},
      {"3", "70", "-0.02", "0.3", P_dif2raw::Field::End,
       "From the Start angle 3 to the End angle 70 in steps of -0.02 there would be -3350 points; a scan holds "
       "from 1 to 32767 points."},
      {"3", "70", "0.02", "0", P_dif2raw::Field::FWHM, "The FWHM must not be 0."},
      {"3", "70", "0.02", "1e-50", P_dif2raw::Field::FWHM, "The FWHM must not be 0."},  // 0 as a Single
      {"3", "700", "0.02", "0.3", P_dif2raw::Field::End,
       "From the Start angle 3 to the End angle 700 in steps of 0.02 there would be 34850 points; a scan holds "
       "from 1 to 32767 points."},
      {"3", "3", "0.02", "0.3", P_dif2raw::Field::End,
       "From the Start angle 3 to the End angle 3 in steps of 0.02 there would be 0 points; a scan holds from 1 "
       "to 32767 points."},
      {"40", "20", "0.02", "0.3", P_dif2raw::Field::End,
       "From the Start angle 40 to the End angle 20 in steps of 0.02 there would be -1000 points; a scan holds "
       "from 1 to 32767 points."},
      {"3.2", "3.4", "0.02", "0.3", P_dif2raw::Field::End,
       "The End angle 3.4 gives a scan ending at 3 degrees (the end is rounded to a whole degree), which is not "
       "above the Start angle 3.2."},
      {"40.6", "40.55", "-0.02", "0.3", P_dif2raw::Field::End,  // a falling range must end below its start
       "The End angle 40.55 gives a scan ending at 41 degrees (the end is rounded to a whole degree), which is not "
       "below the Start angle 40.6 for a negative step."},
  };
  for (const auto& c : cases) {
    dialog.Form_Load();
    platform.calls.clear();
    dialog.T_Start = c.start;
    dialog.T_End = c.end;
    dialog.T_SSize = c.step;
    dialog.T_FWHM = c.fwhm;
    dialog.T_Time = "9";
    const auto refusal = dialog.Form_Unload();
    ASSERT_TRUE(refusal) << c.end;
    EXPECT_EQ(refusal->field, c.field);
    EXPECT_EQ(refusal->text, c.text);
    EXPECT_EQ(store, before);
    EXPECT_TRUE(platform.calls.empty());  // the pointer stays normal for the correction
  }
  // The largest count and the first end above the start are accepted.
  EXPECT_FALSE(Close_With("0", "655.34", "0.02"));
  EXPECT_EQ(store.Nb_Points, 32767);
  EXPECT_FALSE(Close_With("3.2", "3.6", "0.02"));
  EXPECT_EQ(store.Range_Limits[1], 4);
}

// From the menu no synthesis follows: only a step of 0 and a count outside
// 1..32767 are refused, and the rest is stored as typed.
TEST_F(Dif2Raw_Dialog, OpenedFromTheMenuItStoresWhatNoSynthesisNeedsChecked) {
  P_dif2raw menu{store, platform, Dif2Raw_Opening::From_Menu};
  struct Case {
    std::string start, end, step, fwhm;
    int32_t points;
    double stored_end;
  };
  for (const Case& c : std::vector<Case>{{"40", "20", "-0.02", "0.3", 1000, 20},  // descending
                                         {"3.2", "3.4", "0.02", "0.3", 10, 3},    // the end rounds below the start
                                         {"3", "70", "0.02", "0", 3350, 70}}) {
    menu.Form_Load();
    menu.T_Start = c.start;
    menu.T_End = c.end;
    menu.T_SSize = c.step;
    menu.T_FWHM = c.fwhm;
    ASSERT_FALSE(menu.Form_Unload()) << c.end;
    EXPECT_EQ(store.Nb_Points, c.points);
    EXPECT_EQ(store.Step_Size, std::stod(c.step));
    EXPECT_EQ(store.Range_Limits[0], std::stod(c.start));
    EXPECT_EQ(store.Range_Limits[1], c.stored_end);
    EXPECT_EQ(store.FWHM, std::stof(c.fwhm));
  }
  const Store before = store;
  for (const auto& [end, step] : std::vector<std::pair<std::string, std::string>>{{"70", "0"}, {"20", "0.02"}}) {
    menu.Form_Load();
    menu.T_Start = "40";
    menu.T_End = end;
    menu.T_SSize = step;
    EXPECT_TRUE(menu.Form_Unload()) << step;
    EXPECT_EQ(store, before);
  }
}

}  // namespace
}  // namespace talvo
