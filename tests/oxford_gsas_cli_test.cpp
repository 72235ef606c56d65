// Oxford and GSAS scans through talvo-convert: the options answer the import
// dialog and its question box, and the RAW file written carries them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/failure.h"
#include "core/store.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"
#include "formats/diffracplus/raw.h"

namespace talvo {
namespace {

using testing::Read_Text;
using testing::Recording_Platform;
using testing::Run_Convert;
using testing::Run_Result;
using testing::Temp_Dir;

Store Read_Back(const std::string& path) {
  Store store;
  Recording_Platform platform;
  testing::Read_Path(Read_Raw2, path, store);
  return store;
}

// 0, 0, then 40 points of 100 + k from 20.04 in steps of 0.02.
std::string Oxford_Scan(const std::string& title) {
  std::string text = title + "\r\n2theta  x  counts  e  f\r\n20.00 1 0 1 0\r\n20.02 1 0 1 0\r\n";
  for (int k = 0; k < 40; ++k) text += std::to_string(20.04 + 0.02 * k) + " 1 " + std::to_string(100 + k) + " 1 0\r\n";
  return text;
}

TEST(Oxford_Gsas_Cli, AnOxfordScanTakesTheOptionsTypedIntoTheDialog) {
  Temp_Dir dir;
  dir.Write("scan.dat", Oxford_Scan("[Quartz] run 7"));
  const Run_Result result =
      Run_Convert(dir, "--from oxford --to raw2 --time 2,5 --anode mo --end 21 -o scan.raw scan.dat");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const Store raw = Read_Back(dir.Path("scan.raw"));
  EXPECT_EQ(raw.Sample_ID, "Quartz" + std::string(26, ' '));
  EXPECT_EQ(raw.Nb_Points, 40);  // 48 steps to 21, cut to the 40 points read
  EXPECT_FLOAT_EQ(raw.Start_2Theta, 20.04f);
  EXPECT_FLOAT_EQ(raw.Time_Step, 2.5f);
  EXPECT_FLOAT_EQ(static_cast<float>(raw.Step_Size), 0.02f);
  EXPECT_EQ(raw.Lambda1, 0.71073f);
  EXPECT_FLOAT_EQ(raw.Intensities[1], 100);
  EXPECT_FLOAT_EQ(raw.Intensities[40], 139);
}

TEST(Oxford_Gsas_Cli, SampleAnswersTheQuestionBoxAndItsAbsenceTakesTheProposal) {
  Temp_Dir dir;
  dir.Write("run7.dat", Oxford_Scan("[PowderGraph data file]"));
  ASSERT_EQ(Run_Convert(dir, "--from oxford --to raw2 --sample 'Corundum A' -o a.raw run7.dat").status, 0);
  EXPECT_EQ(Read_Back(dir.Path("a.raw")).Sample_ID, "Corundum A" + std::string(22, ' '));
  ASSERT_EQ(Run_Convert(dir, "--from oxford --to raw2 -o b.raw run7.dat").status, 0);
  const Store raw = Read_Back(dir.Path("b.raw"));
  EXPECT_EQ(raw.Sample_ID, "run7" + std::string(28, ' '));
  EXPECT_EQ(raw.Lambda1, 1.5419f);  // the copper start-up wavelength, as the dialog proposes it
}

TEST(Oxford_Gsas_Cli, AGsasScanConvertsWithTheMolybdenumWavelength) {
  Temp_Dir dir;
  // Columns 1-4, 5-7, 8-12, 13-17, 19-23, 25-34, 36-45, 47, 49, 51-53.
  std::string text = "Corundum\r\nBANK  1 1234    2 CONST     500.00       2.50 0 0 ESD\r\n";
  text += "     0.0     1.0    10.0     3.2    20.0     4.5    30.0     5.5    40.0     6.3\r\n";
  text += "    50.0     7.1    60.0     7.7    70.0     8.4    80.0     8.9    90.0     9.5\r\n";
  dir.Write("scan.gsas", text);
  const Run_Result result = Run_Convert(dir, "--from gsas --to raw2 --end 6 -o scan.raw scan.gsas");
  ASSERT_EQ(result.status, 0) << result.err;
  const Store raw = Read_Back(dir.Path("scan.raw"));
  EXPECT_EQ(raw.Nb_Points, 9);
  EXPECT_FLOAT_EQ(raw.Start_2Theta, 5.025f);
  EXPECT_FLOAT_EQ(static_cast<float>(raw.Step_Size), 0.025f);
  EXPECT_EQ(raw.Lambda1, 0.70926f);
  EXPECT_FLOAT_EQ(raw.Intensities[9], 90);
}

// 32770 points from 5.00 in steps of 0.01 are read whole: the RAW writer
// refuses them all, and the dialog converts the first points of a range it
// is given.
TEST(Oxford_Gsas_Cli, AScanLongerThanTheDialogAllowsIsCutByItsEndAngle) {
  Temp_Dir dir;
  std::string gsas = "Long\r\nBANK  1 1234 6554 CONST     500.00       1.00 0 0 ESD\r\n";
  std::string oxford = "Long\r\n2theta x counts e f\r\n";
  char field[64];
  for (int k = 1; k <= 32770; ++k) {
    std::snprintf(field, sizeof field, "%8d     1.0%s", k % 1000 + 1, k % 5 == 0 ? "\r\n" : "");
    gsas += field;
    std::snprintf(field, sizeof field, "%.2f 1 %d 1 0\r\n", 5.0 + 0.01 * (k - 1), k % 1000 + 1);
    oxford += field;
  }
  dir.Write("long.gsas", gsas);
  dir.Write("long.dat", oxford);
  for (const auto& [type, file] : {std::pair{"gsas", "long.gsas"}, std::pair{"oxford", "long.dat"}}) {
    Run_Result result = Run_Convert(dir, std::string("--from ") + type + " --to raw2 -o long.raw " + file);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string(file) + ": error: " + Too_Many_Points(32770, "long.raw") + "\n");
    result = Run_Convert(dir, std::string("--from ") + type + " --to raw2 --end 300 -o long.raw " + file);
    ASSERT_EQ(result.status, 0) << result.err;
    const Store raw = Read_Back(dir.Path("long.raw"));
    EXPECT_EQ(raw.Nb_Points, 29500) << file;
    EXPECT_FLOAT_EQ(raw.Start_2Theta, 5);
    EXPECT_FLOAT_EQ(raw.Intensities[1], 2);
    EXPECT_FLOAT_EQ(raw.Intensities[29500], 501);
  }
}

TEST(Oxford_Gsas_Cli, RefusedFieldsAndBadBankLinesWriteNothing) {
  Temp_Dir dir;
  dir.Write("scan.dat", Oxford_Scan("t"));
  dir.Write("bad.gsas", std::string("t\r\nbank  1 1234    2 CONST     500.00       2.50 0 0 ESD\r\n"));
  Run_Result result = Run_Convert(dir, "--from oxford --to raw2 --step 0 -o scan.raw scan.dat");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "scan.dat: error: Step Size: the step size must not be 0.\n");
  result = Run_Convert(dir, "--from gsas --to raw2 -o bad.raw bad.gsas");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "bad.gsas: Erreur innatendue : deuxième ligne de gsas ne commence pas par \"BANK\" ou ne finit pas par "
            "\"ESD\"\n");
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"bad.gsas", "scan.dat"}));
}

}  // namespace
}  // namespace talvo
