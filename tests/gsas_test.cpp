#include "formats/text/gsas.h"

#include <gtest/gtest.h>

#include "core/dispatch.h"
#include "core/failure.h"
#include "core/registry.h"
#include "core/store.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"
#include "formats/format_table.h"

namespace talvo {
namespace {

using testing::Recorded_Message;
using testing::Recording_Platform;
using testing::Temp_Dir;

const std::string Bank_Message =
    "Erreur innatendue : deuxième ligne de gsas ne commence pas par \"BANK\" ou ne finit pas par \"ESD\"";

// `text` placed so that it ends in column `last` (1-based) of `line`.
void Put(std::string& line, std::size_t last, const std::string& text) {
  if (line.size() < last) line.resize(last, ' ');
  line.replace(last - text.size(), text.size(), text);
}

// A bank line, column by column.
std::string Bank_Line(int records, const std::string& start, const std::string& step, const std::string& bank = "BANK",
                      const std::string& esd = "ESD") {
  std::string line;
  Put(line, 4, bank);
  Put(line, 7, "1");
  Put(line, 12, "1234");
  Put(line, 17, std::to_string(records));
  Put(line, 23, "CONST");
  Put(line, 34, start);
  Put(line, 45, step);
  Put(line, 47, "0");
  Put(line, 49, "0");
  Put(line, 53, esd);
  return line;
}

// A data record: each intensity right-aligned in its 8 columns, followed by
// its uncertainty.
std::string Record(const std::vector<std::string>& intensities) {
  std::string line;
  for (std::size_t k = 0; k < intensities.size(); ++k) {
    Put(line, 16 * k + 8, intensities[k]);
    Put(line, 16 * k + 16, "2.50");
  }
  return line;
}

std::string Gsas_File(const std::string& bank, const std::vector<std::string>& records) {
  std::string text = "Corundum NIST 676a, Mo radiation, 2 h\r\n" + bank + "\r\n";
  for (const auto& record : records) text += record + "\r\n";
  return text;
}

class Gsas : public ::testing::Test {
 protected:
  Temp_Dir dir;
  Recording_Platform platform;
  Store store;

  void Read(const std::string& text) { testing::Read_Path(Read_Gsas, dir.Write("scan.gsas", text), store); }
  std::vector<float> Points() const { return {store.Intensities.begin() + 1, store.Intensities.end()}; }
  std::string Failure_Of(const std::string& text) {
    try {
      Read(text);
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.icon(), Icon::Critical);
      return failure.what();
    }
    return "";
  }
};

TEST_F(Gsas, TheBankLineGivesStartAndStepInCentidegrees) {
  Read(Gsas_File(Bank_Line(2, "500.0", "2.5"),
                 {Record({"12.0", "20.5", "30", "0", "-1"}), Record({"7", "8", "9", "10", "11"})}));
  EXPECT_EQ(store.Sample_ID, "Corundum NIST 676a, Mo radiation");
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 5.0);
  EXPECT_FLOAT_EQ(store.Start_2Theta, 5.0f);
  EXPECT_FLOAT_EQ(store.Start_Theta, 2.5f);
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.025);
  EXPECT_EQ(Points(), (std::vector<float>{12, 20.5f, 30, 0, -1, 7, 8, 9, 10, 11}));  // later zeros are kept
  EXPECT_EQ(store.Nb_Points, 10);
  EXPECT_DOUBLE_EQ(store.Max_Intensity, 30);
  EXPECT_FLOAT_EQ(store.Time_Step, 1.0f);
  EXPECT_EQ(store.Is_Peak_List, False16);
  EXPECT_EQ(store.Nb_Ranges, 1);
  EXPECT_EQ(store.Lambda1, 0.70926f);
  EXPECT_EQ(store.Lambda2, 0.70926f);
}

TEST_F(Gsas, LeadingPointsWithoutCountsMoveTheStartForward) {
  Read(Gsas_File(Bank_Line(2, "500.0", "2.5"),
                 {Record({"0", "0.0", "0", "12", "0"}), Record({"4", "5", "6", "0", "0"})}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 5.075);
  EXPECT_FLOAT_EQ(store.Start_2Theta, 5.075f);
  EXPECT_EQ(Points(), (std::vector<float>{12, 0, 4, 5, 6, 0, 0}));  // trailing zeros too

  Read(
      Gsas_File(Bank_Line(2, "500.0", "2.5"), {Record({"0", "0", "0", "0", "-2"}), Record({"0", "7", "8", "9", "1"})}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[0], 5.15);  // six points dropped over two records
  EXPECT_EQ(Points(), (std::vector<float>{7, 8, 9, 1}));
}

TEST_F(Gsas, RecordsReadTheSameWithOrWithoutTheirLeadingBlanks) {
  const std::string aligned = Record({"123.4", "5", "6", "7", "8"});
  std::string unaligned = aligned.substr(aligned.find_first_not_of(' '));
  ASSERT_EQ(unaligned.compare(0, 5, "123.4"), 0);
  Read(Gsas_File(Bank_Line(1, "500.0", "2.5"), {unaligned}));
  EXPECT_EQ(Points(), (std::vector<float>{123.4f, 5, 6, 7, 8}));
  Read(Gsas_File(Bank_Line(1, "500.0", "2.5"), {"12345678    2.50     9"}));  // the first number fills its 8 columns
  EXPECT_EQ(Points(), (std::vector<float>{12345678, 9, 0, 0, 0}));
}

TEST_F(Gsas, AShortRecordReadsItsMissingFieldsAsZero) {
  Read(Gsas_File(Bank_Line(2, "1000", "5"), {Record({"3", "4"}), Record({"5", "6", "7", "8", "9"})}));
  EXPECT_EQ(Points(), (std::vector<float>{3, 4, 0, 0, 0, 5, 6, 7, 8, 9}));
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.05);
}

TEST_F(Gsas, AFileEndingBeforeItsRecordsKeepsThePointsItHolds) {
  Read(Gsas_File(Bank_Line(40, "500.0", "2.5"), {Record({"1", "2", "3", "4", "5"})}) + "\r\n\r\n");
  EXPECT_EQ(Points(), (std::vector<float>{1, 2, 3, 4, 5}));
}

TEST_F(Gsas, FilesWithoutAPositiveIntensityFailNamingTheFile) {
  EXPECT_EQ(Failure_Of(Gsas_File(Bank_Line(1, "500.0", "2.5"), {Record({"0", "-3", "0", "0", "0"})})),
            "scan.gsas holds no intensity above 0 in the records its bank line announces; nothing was read.");
  EXPECT_EQ(Failure_Of(Gsas_File(Bank_Line(1, "500.0", "2.5"), {})),
            "scan.gsas holds no intensity above 0 in the records its bank line announces; nothing was read.");
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "oxford2raw"), 0);
}

TEST_F(Gsas, ABankLineWithoutBankOrEsdIsRefusedWithThePlainMessage) {
  for (const std::string& bank :
       {Bank_Line(1, "500.0", "2.5", "bank"), Bank_Line(1, "500.0", "2.5", "BANK", "esd"), std::string()}) {
    try {
      Read(Gsas_File(bank, {Record({"1", "2", "3", "4", "5"})}));
      ADD_FAILURE() << "read with bank line: " << bank;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.what(), Bank_Message);
      EXPECT_EQ(failure.icon(), Icon::None);
    }
  }
}

// Through the dispatcher: the plain message box of the program's title, the
// previous pattern whole, no dialog and no file.
TEST_F(Gsas, TheDispatcherShowsTheBankMessageWithoutIconAndKeepsTheStore) {
  store.Sample_ID = std::string(32, 'P');
  const Store before = store;
  Session session{store, platform, Format_Table()};
  const std::string input =
      dir.Write("bad.gsas", Gsas_File(Bank_Line(1, "500.0", "2.5", "bank"), {Record({"1", "2", "3", "4", "5"})}));
  Convert(session, "GSAS text raw data (gsas)", "Diffrac-Plus RAW (Version 2)", input, dir.Path("bad.raw"));
  EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{Bank_Message, Icon::None, "Talvo \u2013 bad.gsas"}}));
  EXPECT_EQ(store, before);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"bad.gsas"}));
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "oxford2raw"), 0);
}

}  // namespace
}  // namespace talvo
