#include "formats/text/scans.h"

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
  return testing::Read_Text_File(reader, "SCAN.TXT", text, store);
}

TEST(Read_Text_Raw, ReadsTitleTimeCountAndPairs) {
  Store before;
  before.Is_Peak_List = True16;
  before.Nb_Peaks = 4;
  before.Lambda1 = 0.7093f;
  before.Nb_Ranges = 3;
  const Store store = Read(Read_Text_Raw, "Quartz scan\r\n1.5\r\n3\r\n10.00 5\r\n10.02 7\r\n10.04 6\r\n", before);
  EXPECT_EQ(store.Sample_ID, Fit32("Quartz scan"));
  EXPECT_EQ(store.Time_Step, 1.5f);
  EXPECT_EQ(store.Nb_Points, 3);
  EXPECT_EQ(store.Intensities, (std::vector<float>{0, 5, 7, 6}));
  EXPECT_EQ(store.Step_Size, 10.02 - 10.00);
  EXPECT_NEAR(store.Step_Size, 0.02, 1e-12);
  EXPECT_EQ(store.Range_Limits, (std::array<double, 2>{10.0, 10.04}));
  EXPECT_EQ(store.Start_2Theta, 10.0f);
  EXPECT_EQ(store.Start_Theta, 5.0f);
  EXPECT_EQ(store.Max_Intensity, 7);  // the largest at point 2 is found
  EXPECT_EQ(std::bit_cast<uint32_t>(store.Lambda1), 0x3FC52F6Fu);
  EXPECT_EQ(store.Is_Peak_List, False16);
  EXPECT_EQ(store.Nb_Ranges, 1);
  EXPECT_EQ(store.Nb_Peaks, 4);
}

TEST(Read_Text_Raw, TrustsItsCountAndOnlyTheFirstTwoPointsSetTheStep) {
  const Store store = Read(Read_Text_Raw, "t\r\n1\r\n3\r\n5.0,1 5.5,2\r\n7.25\r\n3 9.0 100 9.5 200\r\n");
  EXPECT_EQ(store.Nb_Points, 3);
  EXPECT_EQ(store.Intensities, (std::vector<float>{0, 1, 2, 3}));
  EXPECT_EQ(store.Step_Size, 0.5);
  EXPECT_EQ(store.Range_Limits, (std::array<double, 2>{5.0, 7.25}));
  EXPECT_EQ(store.Max_Intensity, 3);
}

TEST(Read_Xye, ReadsTheWavelengthAndTriplesToTheEnd) {
  Store before;
  before.Sample_ID = Fit32("kept");
  before.Time_Step = 4;
  const Store store =
      Read(Read_Xye, "0.7093\r\n20.0 100 10\r\n20.01\r\n150\r\n12.2\r\n20.02 120 11\r\n\r\n  \r\n", before);
  EXPECT_EQ(store.Lambda1, 0.7093f);
  EXPECT_EQ(store.Nb_Points, 3);
  EXPECT_EQ(store.Intensities, (std::vector<float>{0, 100, 150, 120}));
  EXPECT_EQ(store.Step_Size, 20.01 - 20.0);
  EXPECT_EQ(store.Range_Limits, (std::array<double, 2>{20.0, 20.02}));
  EXPECT_EQ(store.Start_2Theta, 20.0f);
  EXPECT_EQ(store.Start_Theta, 10.0f);
  EXPECT_EQ(store.Time_Step, 1.0f);
  EXPECT_EQ(store.Max_Intensity, 150);
  EXPECT_EQ(store.Sample_ID, Fit32("kept"));
  EXPECT_EQ(store.Is_Peak_List, False16);
}

class Scan_Failure : public ::testing::Test {
 protected:
  void Expect_Refused(const std::string& type, const std::string& text, const std::string& message) {
    Format_Session session;
    session.store.Sample_ID = Fit32("before");
    const Store before = session.store;
    session.Convert(type, "Diffrac-Plus RAW (Version 2)", dir.Write("BAD.TXT", text), dir.Path("BAD.raw"));
    ASSERT_EQ(session.platform.messages.size(), 1u) << text;
    EXPECT_EQ(session.platform.messages[0].text, message);
    EXPECT_EQ(session.store, before);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("BAD.raw")));
  }
  Temp_Dir dir;
};

TEST_F(Scan_Failure, CountsOutsideTwoTo32767AndShortFilesAreNamed) {
  const std::string text = "Formatted text (RAW)";
  Expect_Refused(text, "t\r\n1\r\n1\r\n10 5\r\n", "BAD.TXT announces 1 point; a scan holds at least 2 points.");
  Expect_Refused(text, "t\r\n1\r\n32768\r\n10 5\r\n", "BAD.TXT ends after 1 of the 32768 points it announces.");
  Expect_Refused(text, "t\r\n1\r\n3e9\r\n10 5\r\n",
                 "BAD.TXT announces 3000000000 points; a scan holds at most 2147483646 points.");
  Expect_Refused(text, "t\r\n1\r\n4\r\n10 5\r\n10.02 7\r\n10.04 6\r\n\r\n",
                 "BAD.TXT ends after 3 of the 4 points it announces.");
  Expect_Refused(text, "t\r\n1\r\n2\r\n10 5\r\n10.02\r\n", "BAD.TXT ends where an intensity was expected (line 6).");
  Expect_Refused(text, "t\r\n", "BAD.TXT ends where the counting time was expected (line 2).");
  Expect_Refused(text, "t\r\n1\r\nthree\r\n",
                 "BAD.TXT: the number of points was expected on line 3, but it holds \"three\".");
  Expect_Refused(text, "t\r\n1\r\n2\r\n10 5\r\n10.02 1e39\r\n",
                 "BAD.TXT: the number \"1e39\" on line 5 is too large for an intensity.");
  const std::string xye = "Mercury text raw data (xye)";
  Expect_Refused(xye, "1.54\r\n20 100 10\r\n1e999 100 10\r\n",
                 "BAD.TXT: the number \"1e999\" on line 3 is too large for a 2-theta angle.");
  Expect_Refused(xye, "1.54\r\n20 100 10\r\n", "BAD.TXT ends where a 2-theta angle was expected (line 3).");
  Expect_Refused(xye, "1.54\r\n20 100 10\r\n20.1 100 10\r\n20.2 100\r\n",
                 "BAD.TXT ends where the uncertainty of an intensity was expected (line 5).");
}

}  // namespace
}  // namespace talvo
