#include "formats/text/oxford.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/dispatch.h"
#include "core/failure.h"
#include "core/store.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"
#include "formats/format_table.h"

namespace talvo {
namespace {

using testing::Recording_Platform;
using testing::Temp_Dir;

// An Oxford file: a title, a second line, and one line of five numbers per
// record (2-theta, a number, the intensity, two more), CR LF throughout.
std::string Oxford_File(const std::string& title, const std::vector<std::pair<std::string, std::string>>& records) {
  std::string text = title + "\r\nx y counts e f\r\n";
  for (const auto& [two_theta, intensity] : records) text += "  " + two_theta + "  1.0  " + intensity + "  3.5  0\r\n";
  return text;
}

// Records from 10.00 in steps of 0.02 with the given intensities.
std::vector<std::pair<std::string, std::string>> Scan(const std::vector<int>& intensities) {
  std::vector<std::pair<std::string, std::string>> records;
  for (std::size_t k = 0; k < intensities.size(); ++k) {
    char angle[16];
    std::snprintf(angle, sizeof angle, "%.2f", 10.0 + 0.02 * static_cast<double>(k));
    records.emplace_back(angle, std::to_string(intensities[k]));
  }
  return records;
}

std::string Padded(const std::string& text) {
  return text + std::string(32 - text.size(), ' ');
}

class Oxford : public ::testing::Test {
 protected:
  Temp_Dir dir;
  Recording_Platform platform;
  Store store;

  void Read(const std::string& text, const char* name = "scan.dat") {
    testing::Read_Path(Read_Oxford, dir.Write(name, text), store);
  }
  // The whole import, as the conversion runs it: the reader, the question
  // of a "[PowderGraph" file, the import dialog; then a formatted text file.
  void Import(const std::string& text, const char* name = "scan.dat") {
    Session session{store, platform, Format_Table()};
    Convert(session, "Oxford text raw data (dat)", "Formatted text (RAW)", dir.Write(name, text), dir.Path("out.txt"));
  }
  std::vector<float> Points() const { return {store.Intensities.begin() + 1, store.Intensities.end()}; }
};

TEST_F(Oxford, TitlesLoseTheirBracketsUnlessTheClosingOneComesFirst) {
  Read(Oxford_File("[Sample 12] measured 2009", Scan({1, 2})));
  EXPECT_EQ(store.Sample_ID, Padded("Sample 12"));
  Read(Oxford_File("Quartz", Scan({1, 2})));
  EXPECT_EQ(store.Sample_ID, Padded("Quartz"));
  Read(Oxford_File("]abc", Scan({1, 2})));
  EXPECT_EQ(store.Sample_ID, Padded("]abc"));
  Read(Oxford_File("[]abc", Scan({1, 2})));  // the "]" is first once the "[" has gone
  EXPECT_EQ(store.Sample_ID, Padded("]abc"));
  Read(Oxford_File("A title much longer than thirty-two characters", Scan({1, 2})));
  EXPECT_EQ(store.Sample_ID, "A title much longer than thirty-");
  EXPECT_TRUE(std::count(platform.calls.begin(), platform.calls.end(), "ask-text") == 0);
}

TEST_F(Oxford, APowderGraphTitleProposesTheFileNameAndTakesTheAnswer) {
  const std::string file = Oxford_File("[PowderGraph 2.1]", Scan({0, 0, 5}));
  platform.text_answer = "Corundum \xC3\xA9talon";  // UTF-8 from the question box
  // A backslash path, as Windows gives it: on Windows a file in the folder
  // "data", elsewhere a file whose name holds the backslash.
  std::filesystem::create_directories(dir.Path("data"));
  Import(file, "data\\run7.dat");
  ASSERT_EQ(platform.questions.size(), 1u);
  EXPECT_EQ(platform.questions[0], "Quel nom voulez-vous donner à l'échantillon " + Padded("run7") + " ?");
  EXPECT_EQ(store.Sample_ID, Padded("Corundum \xE9talon"));  // Windows-1252 in the store

  platform.text_answer.reset();
  Import(file, "run8.dat");
  EXPECT_EQ(platform.questions[1], "Quel nom voulez-vous donner à l'échantillon " + Padded("run8") + " ?");
  EXPECT_EQ(store.Sample_ID, Padded("run8"));  // the proposal, as after OK

  platform.cancel_text = true;
  Import(file);
  EXPECT_EQ(store.Sample_ID, std::string(32, ' '));
}

TEST_F(Oxford, EveryZeroRecordRestartsTheScan) {
  Read(Oxford_File("t", Scan({0, 0, 5, 7, 9})));
  EXPECT_EQ(Points(), (std::vector<float>{5, 7, 9}));
  EXPECT_EQ(store.Nb_Points, 3);
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.04);
  EXPECT_FLOAT_EQ(store.Start_2Theta, 10.04f);
  EXPECT_FLOAT_EQ(store.Start_Theta, 5.02f);
  EXPECT_DOUBLE_EQ(store.Step_Size, 10.02 - 10.00);  // from the first two records
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 9);

  Read(Oxford_File("t", Scan({0, 0, 50, 0, 7, 9})));
  EXPECT_EQ(Points(), (std::vector<float>{7, 9}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.08);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 9);  // the discarded 50 does not count

  Read(Oxford_File("t", Scan({0, 0, 5, 6, 0})));  // the last record is kept even at 0
  EXPECT_EQ(Points(), (std::vector<float>{5, 6, 0}));
}

TEST_F(Oxford, AFileWithoutZeroRecordsKeepsEveryRecordFromTheFirst) {
  Read(Oxford_File("t", Scan({3, 5, 7})));
  EXPECT_EQ(Points(), (std::vector<float>{3, 5, 7}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.0);
  Read(Oxford_File("t", Scan({0, 5, 7})));  // one leading zero
  EXPECT_EQ(Points(), (std::vector<float>{5, 7}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.02);
}

TEST_F(Oxford, TheDataEndAtATwoThetaOfZeroOrARecordCutShort) {
  auto records = Scan({0, 0, 5, 7});
  records.emplace_back("0", "4");  // kept, and the last one read
  records.emplace_back("10.10", "8");
  Read(Oxford_File("t", records));
  EXPECT_EQ(Points(), (std::vector<float>{5, 7, 4}));

  std::string text = Oxford_File("t", Scan({0, 0, 5, 7})) + "10.08 1.0 9\r\n";  // three numbers only
  Read(text);
  EXPECT_EQ(Points(), (std::vector<float>{5, 7}));
  Read(Oxford_File("t", Scan({0, 0, 5, 7})) + "10.08 1.0 9 3.5\r\n");  // the fifth is not needed
  EXPECT_EQ(Points(), (std::vector<float>{5, 7, 9}));
}

// A scan may start at 0 degrees: the first two records give the step, and
// only a later record ends the data with a 2-theta of 0.
TEST_F(Oxford, ATwoThetaOf0InTheFirstTwoRecordsEndsNothing) {
  Read(Oxford_File("t", {{"0", "3"}, {"0.5", "4"}, {"1", "5"}, {"1.5", "6"}, {"2", "7"}}));
  EXPECT_EQ(Points(), (std::vector<float>{3, 4, 5, 6, 7}));
  EXPECT_EQ(store.Nb_Points, 5);
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 0);
  EXPECT_FLOAT_EQ(store.Start_2Theta, 0);
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.5);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 7);

  Read(Oxford_File("t", {{"-0.5", "3"}, {"0", "4"}, {"0.5", "5"}}));
  EXPECT_EQ(Points(), (std::vector<float>{3, 4, 5}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], -0.5);
  EXPECT_FLOAT_EQ(store.Start_Theta, -0.25f);
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.5);

  // One record gives no step: 0 for the dialog to ask, not an earlier file's.
  store.Step_Size = 0.7;
  Read(Oxford_File("t", {{"0", "8"}}));
  EXPECT_EQ(Points(), (std::vector<float>{8}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 0);
  EXPECT_DOUBLE_EQ(store.Step_Size, 0);
}

// -999 is the end mark of the fourth number from the third record on; the
// first two records are read whatever it holds.
TEST_F(Oxford, AFourthNumberOfMinus999EndsTheDataFromTheThirdRecord) {
  Read("t\r\nline 2\r\n10 1 0 -999 0\r\n10.5 1 5 -999.0 0\r\n11 1 6 1 0\r\n11.5 1 7 -999 0\r\n12 1 8 1 0\r\n");
  EXPECT_EQ(Points(), (std::vector<float>{5, 6}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.5);
  EXPECT_FLOAT_EQ(store.Start_2Theta, 10.5f);
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.5);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 6);  // the 7 and 8 after the mark do not count
}

// The import dialog's count limits what is written: a longer scan is read
// whole and the dialog opens on all of it.
TEST_F(Oxford, AScanOfMoreThan32767PointsIsReadWhole) {
  std::vector<int> intensities(32770);
  for (std::size_t k = 0; k < intensities.size(); ++k) intensities[k] = static_cast<int>(k % 1000) + 1;
  Read(Oxford_File("t", Scan(intensities)));
  EXPECT_EQ(store.Nb_Points, 32770);  // what the dialog opens on
  ASSERT_EQ(store.Intensities.size(), 32771u);
  EXPECT_EQ(store.Intensities[1], 1);
  EXPECT_EQ(store.Intensities[32770], 770);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 1000);
}

TEST_F(Oxford, ARecordMayRunOverSeveralLines) {
  Read("title\r\nignored\r\n10.0 1 0 2 3\r\n10.5 1\r\n0 2 3 10.0 1 6\r\n2 3\r\n");
  EXPECT_EQ(Points(), (std::vector<float>{6}));
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.5);
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 10.0);
}

TEST_F(Oxford, TheStoreIsReadyForTheDialogWhichOpensAfterPendingEvents) {
  store.Lambda1 = 1.2f;
  store.Is_Peak_List = True16;
  store.Nb_Ranges = 3;
  store.Time_Step = 4;
  Store seen;
  std::string lines;
  platform.on_oxford2raw = [&](Store& s, const std::string& text) { seen = s, lines = text; };
  const std::string file = Oxford_File("t", Scan({0, 0, 5, 7}));
  Import(file);
  EXPECT_EQ(std::vector<std::string>(platform.calls.begin(), platform.calls.begin() + 4),
            (std::vector<std::string>{"busy", "normal", "events", "oxford2raw"}));
  EXPECT_EQ(lines, file);
  EXPECT_EQ(seen.Is_Peak_List, False16);
  EXPECT_EQ(seen.Nb_Ranges, 1);
  EXPECT_FLOAT_EQ(seen.Time_Step, 1.0f);
  EXPECT_FLOAT_EQ(seen.Lambda1, 1.2f);  // the file holds no wavelength
  EXPECT_EQ(seen.Intensities.size(), 3u);
}

TEST_F(Oxford, FilesWithNothingToKeepFailNamingTheFileAndShowNoDialog) {
  for (const std::string& text : {std::string(), std::string("title\r\n"), std::string("title\r\nline 2\r\n  \r\n"),
                                  std::string("title\r\nline 2\r\n10.0 1 5\r\n")}) {
    try {
      Read(text, "EMPTY.DAT");
      ADD_FAILURE() << "read: " << text;
    } catch (const Failure& failure) {
      EXPECT_EQ(std::string(failure.what()),
                "EMPTY.DAT holds no record of five numbers after its two header lines; nothing was read.");
    }
  }
  // 1e999 overflows to infinity, 1e39 overflows a float intensity.
  for (const std::string& record :
       {std::string("10.02 1 1e999 1 0"), std::string("10.02 1 1e39 1 0"), std::string("1e999 1 5 1 0")}) {
    try {
      Read("title\r\nline 2\r\n10.00 1 5 1 0\r\n" + record + "\r\n10.04 1 7 1 0\r\n", "HUGE.DAT");
      ADD_FAILURE() << "read: " << record;
    } catch (const Failure& failure) {
      EXPECT_EQ(std::string(failure.what()),
                "HUGE.DAT: record 2 holds a 2-theta or an intensity too large for a scan.");
    }
  }
  EXPECT_THROW(testing::Read_Path(Read_Oxford, dir.Path("MISSING.DAT"), store), Failure);
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "oxford2raw"), 0);
}

}  // namespace
}  // namespace talvo
