#include "formats/text/peak_lists.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>

#include "core/store.h"
#include "core/text32.h"
#include "fixtures/format_session.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Format_Session;
using testing::Recording_Platform;
using testing::Temp_Dir;

// The reader's file, under the name its messages give.
Store Read(testing::Read_Fn reader, const std::string& text, Store store = Store{}) {
  return testing::Read_Text_File(reader, "LIST.TXT", text, store);
}

TEST(Read_Text_DI, ADescendingListIsInDSpacingsAndBecomes2Theta) {
  Store before;
  before.Lambda1 = 0.7093f;  // replaced by 1.54051
  before.Sample_ID = Fit32("scan");
  before.Peaks[4] = {99, 99};
  const Store store = Read(Read_Text_DI, "Quartz peaks\r\n2.5 100\r\n2.0 50\r\n1.5 25\r\n", before);
  EXPECT_EQ(std::bit_cast<uint32_t>(store.Lambda1), 0x3FC52F6Fu);
  EXPECT_EQ(store.Is_Peak_List, True16);
  ASSERT_EQ(store.Nb_Peaks, 3);
  EXPECT_NEAR(store.Peaks[1].Position, 35.889772137396, 1e-11);
  EXPECT_NEAR(store.Peaks[2].Position, 45.303313504066, 1e-11);
  EXPECT_NEAR(store.Peaks[3].Position, 61.794938754006, 1e-11);
  EXPECT_EQ(store.Peaks[1].Intensity, 100);
  EXPECT_EQ(store.Peaks[2].Intensity, 50);
  EXPECT_EQ(store.Peaks[3].Intensity, 25);
  EXPECT_EQ(store.Peaks[4], (Peak{99, 99}));  // beyond the list, as it was
  EXPECT_EQ(store.Range_Limits[0], store.Peaks[1].Position);
  EXPECT_EQ(store.Range_Limits[1], store.Peaks[3].Position);
  EXPECT_EQ(store.Max_Intensity, 100);
  EXPECT_EQ(Dif_Title(store), Fit32("Quartz peaks"));
  EXPECT_EQ(store.Sample_ID, Fit32("scan"));
}

TEST(Read_Text_DI, AnAscendingListStaysAsRead) {
  const Store store = Read(Read_Text_DI, "t\r\n1.5 25\r\n2.0 50\r\n2.5 100\r\n");
  EXPECT_EQ(store.Peaks[1].Position, 1.5);
  EXPECT_EQ(store.Peaks[2].Position, 2.0);
  EXPECT_EQ(store.Peaks[3].Position, 2.5);
  EXPECT_EQ(store.Range_Limits, (std::array<double, 2>{1.5, 2.5}));
  // Equal first positions are not descending either.
  EXPECT_EQ(Read(Read_Text_DI, "t\r\n2.5 25\r\n2.5 50\r\n").Peaks[1].Position, 2.5);
  // A single peak has nothing to compare with and is taken as 2-theta.
  const Store single = Read(Read_Text_DI, "t\r\n31.5 80\r\n");
  EXPECT_EQ(single.Nb_Peaks, 1);
  EXPECT_EQ(single.Peaks[1], (Peak{31.5, 100}));
  EXPECT_EQ(single.Range_Limits, (std::array<double, 2>{31.5, 31.5}));
}

TEST(Read_Text_DI, OnlyTheOrderOfTheNumbersMatters) {
  const Store blanks = Read(Read_Text_DI, "t\r\n2.5 100\r\n2.0 50\r\n1.5 25\r\n");
  const Store commas = Read(Read_Text_DI, "t\r\n2.5,100\r\n2.0, 50\r\n1.5 ,25\r\n\r\n  \r\n");
  const Store lines = Read(Read_Text_DI, "t\r\n2.5\r\n100\r\n2.0\r\n50\r\n1.5\r\n25");
  EXPECT_EQ(commas.Peaks, blanks.Peaks);
  EXPECT_EQ(lines.Peaks, blanks.Peaks);
  EXPECT_EQ(commas.Nb_Peaks, 3);
  EXPECT_EQ(lines.Nb_Peaks, 3);
}

TEST(Read_Text_DI, ScalesOnceByTheMaximumRoundedWhileReading) {
  Store store = Read(Read_Text_DI, "t\r\n10 40.6\r\n20 20\r\n");
  EXPECT_NEAR(store.Peaks[1].Intensity, 99.0243902439, 1e-9);  // M = 41
  EXPECT_NEAR(store.Peaks[2].Intensity, 48.7804878049, 1e-9);
  store = Read(Read_Text_DI, "t\r\n10 45.4\r\n20 44.5\r\n");
  EXPECT_NEAR(store.Peaks[1].Intensity, 100.888888889, 1e-9);  // M = 45
  store = Read(Read_Text_DI, "t\r\n10 44.5\r\n");
  EXPECT_EQ(store.Peaks[1].Intensity, 44.5 * (100.0 / 44));  // 44.5 rounds to the even 44
  // The factor is formed once and multiplied: 11 * (100 / 11) is not 100.
  store = Read(Read_Text_DI, "t\r\n10 11\r\n");
  EXPECT_EQ(store.Peaks[1].Intensity, 11 * (100.0 / 11));
  EXPECT_NE(store.Peaks[1].Intensity, 100.0);
}

TEST(Read_Text_DI, ALongTitleIsCutToItsFirst32Characters) {
  const Store store = Read(Read_Text_DI, "0123456789012345678901234567890123456789\r\n1 1\r\n");
  EXPECT_EQ(Dif_Title(store), "01234567890123456789012345678901");
}

TEST(Read_Text_DI, AReversedRangeIsSwapped) {
  // Descending first two, so all are d-spacings; 3.0 lands below 2.5.
  const Store store = Read(Read_Text_DI, "t\r\n2.5 10\r\n2.0 20\r\n3.0 30\r\n");
  EXPECT_EQ(store.Range_Limits[0], store.Peaks[3].Position);
  EXPECT_EQ(store.Range_Limits[1], store.Peaks[1].Position);
}

TEST(Read_Diamond, TakesTheThirdAndFourthOfNineNumbersAndKeepsTheTitle) {
  Store before;
  Set_Dif_Title(before, "earlier list");
  const Store store = Read(Read_Diamond,
                           "  h  k  l  2theta  d  I\r\n"
                           "1 35.89 2.5 100 0.1 1 0 0 99999\r\n"
                           "2 45.30 2.0 50 0.1 -70000 1 0 1\r\n"
                           "3,61.79,1.5,25,0.1,\r\n1 1\r\n1 2\r\n",
                           before);
  ASSERT_EQ(store.Nb_Peaks, 3);
  EXPECT_NEAR(store.Peaks[1].Position, 35.889772137396, 1e-11);
  EXPECT_NEAR(store.Peaks[3].Position, 61.794938754006, 1e-11);
  EXPECT_EQ(store.Peaks[2].Intensity, 50);
  EXPECT_EQ(Dif_Title(store), Fit32("earlier list"));
}

// Only the position and the intensity are used: text, "nan" or nothing in
// another column is passed over. Those two still refuse text.
TEST(Read_Diamond, TheUnusedColumnsMayHoldAnything) {
  const Store store = Read(Read_Diamond,
                           "header\r\n"
                           "2 26.639 3.34351 100.00 - 1 0 1 6\r\n"
                           "x nan 2.5 50 abc - -- n/a ?\r\n"
                           ",,1.5,25,,,,,0\r\n");
  ASSERT_EQ(store.Nb_Peaks, 3);
  EXPECT_EQ(store.Peaks[1].Intensity, 100);
  EXPECT_EQ(store.Peaks[2].Intensity, 50);
  EXPECT_EQ(store.Peaks[3].Intensity, 25);
  EXPECT_NEAR(store.Peaks[3].Position, 61.794938754006, 1e-11);
}

TEST(Read_Diamond, FiveHundredPeaksAreAccepted) {
  std::string text = "header\r\n";
  for (int k = 1; k <= 500; ++k) text += std::to_string(k) + " 0 " + std::to_string(k) + " 10 0 0 0 0 0\r\n";
  const Store store = Read(Read_Diamond, text);
  EXPECT_EQ(store.Nb_Peaks, 500);
  EXPECT_EQ(store.Peaks[500], (Peak{500, 100}));
}

TEST(Read_Text_DI, ThroughConvertToUFit) {
  Temp_Dir dir;
  Format_Session session;
  const std::string list = dir.Write("Q.TXT", "Quartz\r\n2.5 100\r\n2.0 50\r\n");
  session.Convert("Formatted text (D/I)", "U-Fit", list, dir.Path("Q.dif"));
  EXPECT_TRUE(session.platform.messages.empty());
  EXPECT_EQ(session.platform.calls, (std::vector<std::string>{"busy", "normal", "busy", "normal", "events"}));
  EXPECT_EQ(testing::Read_Text(dir.Path("Q.dif")), Fit32("Quartz") + "\r\n\r\n35.890, 100.0, 0\r\n45.303, 50.0, 0\r\n");
  // A peak list has no formatted-text scan layout.
  session.Convert("Formatted text (D/I)", "Formatted text (RAW)", list, dir.Path("Q-scan.txt"));
  EXPECT_EQ(session.platform.messages.back().text, "Not available at this time, choose U-Fit output.");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("Q-scan.txt")));
}

class Peak_List_Failure : public ::testing::Test {
 protected:
  void Expect_Refused(const std::string& type, const std::string& text, const std::string& message) {
    Format_Session session;
    session.store.Nb_Peaks = 7;
    const Store before = session.store;
    session.Convert(type, "U-Fit", dir.Write("BAD.TXT", text), dir.Path("BAD.dif"));
    ASSERT_EQ(session.platform.messages.size(), 1u) << text;
    EXPECT_EQ(session.platform.messages[0].text, message);
    EXPECT_EQ(session.store, before);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("BAD.dif")));
    EXPECT_FALSE(session.platform.busy);
  }
  Temp_Dir dir;
};

TEST_F(Peak_List_Failure, EveryLimitIsNamedAndThePreviousPatternKept) {
  std::string many = "header\r\n";
  for (int k = 1; k <= 501; ++k) many += std::to_string(k) + " 0 " + std::to_string(k) + " 10 0 0 0 0 0\r\n";
  Expect_Refused("Diamond text (D/I)", many, "BAD.TXT holds more than 500 peaks; a peak list holds at most 500.");
  Expect_Refused("Formatted text (D/I)", "t\r\n2.0 0.5\r\n1.0 0.2\r\n",
                 "BAD.TXT: no peak has an intensity above 0.5, so the list cannot be scaled to 100.");
  Expect_Refused("Formatted text (D/I)", "t\r\n2.0 10\r\n0.770255 5\r\n",
                 "BAD.TXT: the d-spacing 0.770255 of peak 2 has no diffraction angle at the wavelength 1.54051 "
                 "angstrom (a d-spacing must exceed half the wavelength).");
  Expect_Refused("Formatted text (D/I)", "t\r\n2.0 10\r\n1.0\r\n",
                 "BAD.TXT ends where a peak intensity was expected (line 4).");
  Expect_Refused("Diamond text (D/I)", "header\r\n1 0 2.0 10 0 0 0\r\n",
                 "BAD.TXT ends where the last four numbers of a peak line was expected (line 3).");
  Expect_Refused("Formatted text (D/I)", "t\r\n2.0 ten\r\n",
                 "BAD.TXT: a peak intensity was expected on line 2, but it holds \"ten\".");
  Expect_Refused("Diamond text (D/I)", "header\r\n1 0 - 10 0 0 0 0 0\r\n",
                 "BAD.TXT: a peak position was expected on line 2, but it holds \"-\".");
  Expect_Refused("Formatted text (D/I)", "title only\r\n", "BAD.TXT ends where a peak position was expected (line 2).");
  Expect_Refused("Formatted text (D/I)", "", "BAD.TXT ends where a title line was expected (line 1).");
  Expect_Refused("Formatted text (D/I)", "t\r\n20 10\r\n1e999 5\r\n",
                 "BAD.TXT: the number \"1e999\" on line 3 is too large for a peak position.");
  Expect_Refused("Formatted text (D/I)", "t\r\n2.0 1e300\r\n",
                 "BAD.TXT: the intensity 1E+300 of peak 1 is too large to be scaled.");
}

}  // namespace
}  // namespace talvo
