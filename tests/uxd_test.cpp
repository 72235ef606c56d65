#include "formats/diffracplus/uxd.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/store.h"
#include "core/text32.h"
#include "fixtures/format_session.h"
#include "fixtures/read_file.h"
#include "fixtures/temp_dir.h"
#include "formats/diffracplus/angles.h"

namespace talvo {
namespace {

using testing::Format_Session;
using testing::Recording_Platform;
using testing::Temp_Dir;

const std::string Head = "; UXD peak list\r\n_FILEVERSION=1\r\n_WL1=0.709300\r\n";

Store Read(const std::string& text, Store store = Store{}) {
  Temp_Dir dir;
  Recording_Platform platform;
  testing::Read_Path(Read_Uxd, dir.Write("Q.UXD", text), store);
  return store;
}

std::string Title_Of(const std::string& sample_line) {
  Store before;
  Set_Dif_Title(before, "previous");
  return Dif_Title(Read(Head + sample_line + "\r\n_D-I\r\n2.0 10\r\n", before));
}

TEST(Read_Uxd, SampleIsTheFieldFromItsTenthToItsNextToLastCharacter) {
  EXPECT_EQ(Title_Of("_SAMPLE='Quartz'"), Fit32("Quartz"));
  EXPECT_EQ(Title_Of("_SAMPLE=Quartz"), Fit32("uart"));
  EXPECT_EQ(Title_Of("_SAMPLE='My quartz'"), Fit32("My quartz"));  // blanks do not end a keyword field
  EXPECT_EQ(Title_Of("_SAMPLE='a, b'"), Fit32(""));                // a comma does
  // Too short to hold a quoted name: no name, and the peaks are read.
  EXPECT_EQ(Title_Of("_SAMPLE="), Fit32(""));
  EXPECT_EQ(Title_Of("_SAMPLE=Q"), Fit32(""));
  EXPECT_EQ(Title_Of("_SAMPLE=''"), Fit32(""));
  EXPECT_EQ(Title_Of("_SAMPLE='A name longer than thirty-two characters'"), "A name longer than thirty-two ch");
  // Keys compare whole and with case.
  EXPECT_EQ(Title_Of("_SAMPLE = 'Quartz'"), Fit32("previous"));
  EXPECT_EQ(Title_Of("_sample='Quartz'"), Fit32("previous"));
  EXPECT_EQ(Title_Of("_SAMPLES='Quartz'"), Fit32("previous"));
}

TEST(Read_Uxd, ScalesToTheRoundedMaximumAndConvertsWithTheStoredWavelength) {
  Store before;
  before.Lambda1 = 1.5406f;  // the file's _WL1 of 0.7093 is not read
  before.Sample_ID = Fit32("scan name");
  const Store store = Read(Head + "_SAMPLE='Q'\r\n_D-I\r\n3.34 10\r\n2.0 40\r\n1.5 25\r\n", before);
  EXPECT_EQ(store.Is_Peak_List, True16);
  ASSERT_EQ(store.Nb_Peaks, 3);
  EXPECT_DOUBLE_EQ(store.Peaks[1].Position, D_To_2Theta(3.34, 1.5406f));
  EXPECT_NEAR(store.Peaks[2].Position, 45.30610, 1e-5);
  EXPECT_DOUBLE_EQ(store.Peaks[3].Position, D_To_2Theta(1.5, 1.5406f));
  EXPECT_EQ(store.Peaks[1].Intensity, 25);
  EXPECT_EQ(store.Peaks[2].Intensity, 100);
  EXPECT_EQ(store.Peaks[3].Intensity, 62.5);
  EXPECT_EQ(store.Range_Limits[0], store.Peaks[1].Position);
  EXPECT_EQ(store.Range_Limits[1], store.Peaks[3].Position);
  EXPECT_EQ(store.Max_Intensity, 100);
  EXPECT_EQ(store.Sample_ID, Fit32("scan name"));
  EXPECT_EQ(store.Lambda1, 1.5406f);
}

TEST(Read_Uxd, PairsMaySpreadOverLinesOrShareThem) {
  const Store one_per_line = Read(Head + "_D-I\r\n2.5 100\r\n2.0 50.4\r\n1.5 25\r\n");
  const Store one_line = Read(Head + "_D-I\r\n2.5 100 2.0, 50.4,1.5   25\r\n\r\n   \r\n");
  const Store split = Read(Head + "_D-I\n2.5\n100\n2.0\n50.4\n1.5\n25");
  EXPECT_EQ(one_per_line.Nb_Peaks, 3);
  EXPECT_TRUE(std::equal(one_per_line.Peaks.begin(), one_per_line.Peaks.end(), one_line.Peaks.begin()));
  EXPECT_TRUE(std::equal(one_per_line.Peaks.begin(), one_per_line.Peaks.end(), split.Peaks.begin()));
  EXPECT_EQ(one_line.Nb_Peaks, 3);
  EXPECT_EQ(split.Nb_Peaks, 3);
}

TEST(Read_Uxd, TheMaximumIsRoundedToEvenAndHeldWiderThan16Bits) {
  Store store = Read(Head + "_D-I\r\n2.0 50.4\r\n1.5 20\r\n");
  EXPECT_NEAR(store.Peaks[1].Intensity, 100.8, 1e-12);  // divided by 50, not 50.4
  store = Read(Head + "_D-I\r\n2.0 44.5\r\n");
  EXPECT_EQ(store.Peaks[1].Intensity, 44.5 * (100.0 / 44));
  store = Read(Head + "_D-I\r\n2.0 40000\r\n1.5 20000\r\n1.2 32767.5\r\n");
  EXPECT_EQ(store.Peaks[1].Intensity, 100);
  EXPECT_EQ(store.Peaks[2].Intensity, 50);
  EXPECT_EQ(store.Peaks[3].Intensity, 32767.5 * (100.0 / 40000));
}

TEST(Read_Uxd, AscendingDSpacingsGiveTheRangeInIncreasingAngle) {
  const Store store = Read(Head + "_D-I\r\n1.5 25\r\n2.0 40\r\n2.5 10\r\n");
  EXPECT_GT(store.Peaks[1].Position, store.Peaks[3].Position);
  EXPECT_EQ(store.Range_Limits[0], store.Peaks[3].Position);
  EXPECT_EQ(store.Range_Limits[1], store.Peaks[1].Position);
}

class Uxd_Failure : public ::testing::Test {
 protected:
  void Expect_Refused(const std::string& text, const std::string& message) {
    Format_Session session;
    session.store.Sample_ID = Fit32("before");
    session.store.Nb_Peaks = 7;
    const Store before = session.store;
    session.Convert("Universal X-Ray Data", "Treor", dir.Write("BAD.UXD", text), dir.Path("BAD.tre"));
    ASSERT_EQ(session.platform.messages.size(), 1u) << text;
    EXPECT_EQ(session.platform.messages[0].text, message);
    EXPECT_EQ(session.platform.messages[0].icon, Icon::Critical);
    EXPECT_EQ(session.store, before);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("BAD.tre")));
  }
  Temp_Dir dir;
};

TEST_F(Uxd_Failure, AFileWithNeitherPeakListNorCountsIsAFailedRead) {
  Expect_Refused(Head + "_SAMPLE='BT86'\r\n_2THETACOUNTS\r\n",
                 "BAD.UXD holds neither a peak list (_D-I) nor scan counts (_COUNTS, _CPS, _2THETACOUNTS or "
                 "_2THETACPS); nothing was read.");
}

TEST_F(Uxd_Failure, EveryLimitOfThePeakListIsNamed) {
  std::string many = Head + "_D-I\r\n";
  for (int k = 0; k < 501; ++k) many += "2.0 10\r\n";
  Expect_Refused(many, "BAD.UXD holds more than 500 peaks; a peak list holds at most 500.");
  Expect_Refused(Head + "_D-I\r\n2.0 0.5\r\n1.5 0\r\n",
                 "BAD.UXD: no peak has an intensity above 0.5, so the list cannot be scaled to 100.");
  Expect_Refused(Head + "_D-I\r\n2.0 10\r\n0.7 5\r\n",
                 "BAD.UXD: the d-spacing 0.7 of peak 2 has no diffraction angle at the wavelength 1.54051 "
                 "angstrom (a d-spacing must exceed half the wavelength).");
  Expect_Refused(Head + "_D-I\r\n2.0 10\r\n1.5\r\n", "BAD.UXD ends where a peak intensity was expected (line 7).");
  Expect_Refused(Head + "_D-I\r\n2.0 10\r\n; end\r\n",
                 "BAD.UXD: a d-spacing was expected on line 6, but it holds \";\".");
  Expect_Refused(Head + "_D-I\r\n", "BAD.UXD has a _D-I section without any peak.");
  Expect_Refused(Head + "_D-I\r\n2.0 1e40\r\n", "BAD.UXD: the intensity 1E+40 of peak 1 is too large to be scaled.");
}

}  // namespace
}  // namespace talvo
