// The layouts real files come in beyond the one each text reader started
// with: GSAS as GSAS writes it, xye with headers or other columns, UXD scan
// exports, and what a formatted scan says after its counted pairs.
#include <gtest/gtest.h>

#include <span>

#include "core/failure.h"
#include "core/store.h"
#include "core/text32.h"
#include "fixtures/format_session.h"
#include "formats/diffracplus/uxd.h"
#include "formats/text/free_format.h"
#include "formats/text/gsas.h"
#include "formats/text/gsas_free.h"
#include "formats/text/scans.h"
#include "formats/text/text_raw_checks.h"

namespace talvo {
namespace {

using testing::Read_Fn;
using testing::Recording_Platform;

std::span<const uint8_t> Bytes_Of(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Failure_Of(const std::function<void()>& read) {
  try {
    read();
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "(read)";
}

struct Scan_Case {
  const char* what;
  std::string text;
  std::vector<float> intensities;  // slot 0 first
  double start, step;
};

void Expect_Scan(const Store& store, const Scan_Case& c) {
  EXPECT_EQ(store.Intensities, c.intensities);
  EXPECT_EQ(store.Nb_Points, static_cast<int32_t>(c.intensities.size()) - 1);
  EXPECT_NEAR(store.Range_Limits[0], c.start, 1e-9);
  EXPECT_EQ(store.Start_2Theta, static_cast<float>(store.Range_Limits[0]));
  EXPECT_NEAR(store.Step_Size, c.step, 1e-9);
  EXPECT_EQ(store.Is_Peak_List, False16);
  EXPECT_EQ(store.Nb_Ranges, 1);
}

// ---- GSAS ----------------------------------------------------------------

const std::string Esd_Record = "   345.2    18.3   350.7    18.5   326.4    17.8   358.8    18.7   344.0    18.3";

TEST(Gsas_Free, ReadsEveryRecordTypeAndTheFirstAngleBank) {
  const Scan_Case cases[] = {
      {"STD: headers, CR CR LF, counter numbers, plain counts, padding after nchan, leading zeros",
       "Std test\r\r\n# a comment\r\r\nInstrument parameter file: x.prm\r\r\nBANK 1 12 2 CONST 1000.0 5.0 0 0 STD\r\r\n"
       " 1     0 1     0 1   220 2   214     300  123456 3    10 1     9 1     8 1     7\r\r\n"
       " 1     6 1     5 1   999 1   999\r\r\n",
       {0, 220, 214, 300, 123456, 10, 9, 8, 7, 6, 5},
       10.1,
       0.05},
      {"STD without type word, LF",
       "t\nBANK 1 3 1 CONS 500 2 0 0\n 1    12 1    15 1    11\n",
       {0, 12, 15, 11},
       5.0,
       0.02},
      {"ESD, blank-separated bank line",
       "t\nBANK 1 6 2 CONST 750.00 0.40 0 0 ESD\n" + Esd_Record + "\n    10.5     3.2\n",
       {0, 345.2f, 350.7f, 326.4f, 358.8f, 344.0f, 10.5f},
       7.5,
       0.004},
      {"FXYE",
       "t\nBANK 1 3 3 CONST 500 2 0 0 FXYE\n500.0 12 3.4\n502.0 15 3.9\n504.0 11 3.3\n",
       {0, 12, 15, 11},
       5.0,
       0.02},
      {"a time-of-flight bank before the angle scan",
       "t\nBANK 1 2 1 RALF 100 2 100 0.0008 ALT\n 100 5 1 102 6 1\nBANK 2 2 1 CONST 1000 5 0 0 STD\n 1     4 1     3\n",
       {0, 4, 3},
       10.0,
       0.05},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Store store;
    const auto result = Read_Gsas_Free(Bytes_Of(c.text), "scan.gsas", store);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->warnings.empty());
    Expect_Scan(store, c);
    EXPECT_EQ(store.Time_Step, 1.0f);
    EXPECT_EQ(store.Sample_ID, Fit32(c.text.substr(0, c.text.find_first_of("\r\n"))));
  }
}

TEST(Gsas_Free, RefusalsNameTheFileAndLeaveTheStore) {
  const struct {
    std::string text;
    std::string message;  // "" when the file is not taken for GSAS at all
  } cases[] = {
      {"t\nBANK 1 2 1 TIME_MAP 1 2 0 0\n1 2\nBANK 2 2 1 SLOG 1 2 0 0\n1 2\n",
       "scan.gsas holds time-of-flight data, not an angle scan; nothing was read."},
      {"t\nBANK 1 2 1 LPSD 100 2 0 0 STD\n 1     4\n",
       "scan.gsas has no bank of a constant step in 2-theta (bin type CONST); its bin type is \"LPSD\"; nothing was "
       "read."},
      {"t\nBANK 1 x 2 CONST 1 2\n",
       "scan.gsas has a bank line that does not give its point count, record count, start and step: \"BANK 1 x 2 "
       "CONST 1 2\"; nothing was read."},
      {"t\nBANK 1 2 1 CONST 100 2 0 0 STD\n 1     0 1    -3\n",
       "scan.gsas holds no intensity above 0 in the records its bank line announces; nothing was read."},
      {"t\nBANK 1 2 1 CONST 100 2 0 0 esd\n 1     4 1     3\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    Store store;
    store.Sample_ID = Fit32("before");
    const Store before = store;
    std::string message;
    try {
      if (Read_Gsas_Free(Bytes_Of(c.text), "scan.gsas", store)) message = "(read)";
    } catch (const Failure& failure) {
      message = failure.what();
    }
    EXPECT_EQ(message, c.message) << c.text;
    EXPECT_EQ(store, before);
  }
}

// Fixed columns as the first reading wants them, then a bank line by words:
// both warn before the dialog when records are missing, and keep the points.
TEST(Gsas_Free, AFileCutShortWarnsBeforeTheImportDialog) {
  const struct {
    std::string text;
    int32_t points;
  } cases[] = {
      {"t\r\nBANK  1 1234    3 CONST     500.0       2.5 0 0 ESD\r\n" + Esd_Record + "\r\n", 5},
      {"t\nBANK 1 30 3 CONST 1000 5 0 0 STD\n 1     4 1     3\n", 2},
  };
  for (const auto& c : cases) {
    testing::Temp_Dir dir;
    testing::Format_Session session;
    session.Convert("GSAS text raw data (gsas)", "Formatted text (RAW)", dir.Write("cut.gsas", c.text),
                    dir.Path("cut.txt"));
    const auto& platform = session.platform;
    EXPECT_EQ(std::vector<std::string>(platform.calls.begin(), platform.calls.begin() + 5),
              (std::vector<std::string>{"busy", "normal", "message", "events", "oxford2raw"}));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "cut.gsas ends after 1 of the 3 data records its bank line announces; the points of those records were "
              "kept.");
    EXPECT_EQ(platform.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(platform.messages[0].title, "Talvo \u2013 cut.gsas");
    EXPECT_EQ(session.store.Nb_Points, c.points);
  }
}

// ---- xye -----------------------------------------------------------------

TEST(Xye_Lines, HeadersNoWavelengthPairsAndWideLines) {
  const struct {
    Scan_Case scan;
    float lambda1;
  } cases[] = {
      {{"header lines",
        "# title\r\n/* c */\r\n' q\r\nPbSO4\r\n0.7093\r\n10.0 5 1\r\n10.5 7 1\r\n11.0 6 1\r\n",
        {0, 5, 7, 6},
        10.0,
        0.5},
       0.7093f},
      {{"no wavelength line", "10.0 5 1\n10.5 7 1\n11.0 6 1\n", {0, 5, 7, 6}, 10.0, 0.5}, 1.54051f},
      // Field by field, these six numbers would make two shifted triples.
      {{"pairs after the wavelength", "1.5406\n10.0 5\n10.5 7\n11.0 6\n", {0, 5, 7, 6}, 10.0, 0.5}, 1.5406f},
      {{"pairs alone", "10.0\t5\n10.5\t7\n11.0\t6\n\n", {0, 5, 7, 6}, 10.0, 0.5}, 1.54051f},
      {{"four columns", "0.7093\n10.0 5 1 99\n10.5 7 1 99\n11.0 6 1 99\n", {0, 5, 7, 6}, 10.0, 0.5}, 0.7093f},
      {{"text uncertainties", "0.7093\n10.0 5 nan\n10.5 7 -\n11.0,6,,\n", {0, 5, 7, 6}, 10.0, 0.5}, 0.7093f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scan.what);
    Store before;
    before.Sample_ID = Fit32("kept");
    const Store store = testing::Read_Text_File(Read_Xye, "scan.xye", c.scan.text, before);
    Expect_Scan(store, c.scan);
    EXPECT_EQ(store.Lambda1, c.lambda1);
    EXPECT_EQ(store.Range_Limits[1], 11.0);
    EXPECT_EQ(store.Time_Step, 1.0f);
    EXPECT_EQ(store.Sample_ID, Fit32("kept"));
  }
}

TEST(Xye_Lines, OtherFilesKeepTheFieldReadingsRefusal) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"0.7093\n10.0 5 1\n10.5 7\n", "scan.xye ends where the uncertainty of an intensity was expected (line 4)."},
      {"0.7093\n10.0 5 1\n10.5 7 1\nend\n", "scan.xye: a 2-theta angle was expected on line 4, but it holds \"end\"."},
      {"# only a header\n", "scan.xye: the wavelength was expected on line 1, but it holds \"#\"."},
  };
  for (const auto& c : cases) {
    testing::Temp_Dir dir;
    Store store;
    Recording_Platform platform;
    EXPECT_EQ(Failure_Of([&] { testing::Read_Path(Read_Xye, dir.Write("scan.xye", c.text), store); }), c.message);
  }
}

// ---- UXD -----------------------------------------------------------------

TEST(Uxd_Scan, ReadsTheFirstRangeOfCountsOrPairs) {
  const struct {
    Scan_Case scan;
    float lambda1, time;
    double end;
  } cases[] = {
      {{"_COUNTS, second range left",
        "_SAMPLE='Q'\n_WL1=1.78897\n; (Data for Range number 1)\n_DRIVE='COUPLED'\n_STEPTIME=2.5\n"
        "_STEPSIZE=0.02\n_START=10.0\n_COUNTS\n  5  7\n  6\n; (Data for Range number 2)\n_START=50\n_COUNTS\n99 99\n",
        {0, 5, 7, 6},
        10.0,
        0.02},
       1.78897f,
       2.5f,
       10.04},
      {{"_CPS, no step time, no wavelength",
        "_DRIVE='2THETA'\r\n_START=4\r\n_STEPSIZE=0.5\r\n_CPS\r\n1.5 2.5\r\n",
        {0, 1.5f, 2.5f},
        4.0,
        0.5},
       0.7093f,
       1.0f,
       4.5},
      {{"_2THETACPS without start or step",
        "_DRIVE='THETA/2THETA'\n_2THETACPS\n20.0 1.5\n20.1 2.5\n20.2 0.5\n",
        {0, 1.5f, 2.5f, 0.5f},
        20.0,
        20.1 - 20.0},
       0.7093f,
       1.0f,
       20.2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scan.what);
    Store before;
    before.Lambda1 = 0.7093f;
    const Store store = testing::Read_Text_File(Read_Uxd, "scan.uxd", c.scan.text, before);
    Expect_Scan(store, c.scan);
    EXPECT_EQ(store.Lambda1, c.lambda1);
    EXPECT_EQ(store.Time_Step, c.time);
    EXPECT_NEAR(store.Range_Limits[1], c.end, 1e-9);
  }
}

TEST(Uxd_Scan, RangesThatAreNoTwoThetaScanAreRefused) {
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"_DRIVE='THETA'\n_START=1\n_STEPSIZE=1\n_COUNTS\n1 2\n",
       "holds a scan driven in THETA, not in 2-theta (a pole figure or a rocking curve), in its first range"},
      {"_START=1\n_COUNTS\n1 2\n", "gives no step (_STEPSIZE) for its counts"},
      {"_STEPSIZE=1\n_COUNTS\n1 2\n", "gives no start angle (_START) for its counts"},
      {"_START=1\n_STEPSIZE=1\n_COUNTS\n1 x\n", "holds \"x\" on line 4 where a count was expected"},
      {"_2THETACOUNTS\n1\n", "holds a line of one number where an angle and its count were expected (line 2)"},
  };
  for (const auto& c : cases) {
    testing::Temp_Dir dir;
    Store store;
    Recording_Platform platform;
    EXPECT_EQ(Failure_Of([&] { testing::Read_Path(Read_Uxd, dir.Write("scan.uxd", c.text), store); }),
              std::string("scan.uxd ") + c.reason + "; nothing was read.");
  }
}

// ---- Formatted text (RAW) ------------------------------------------------

TEST(Text_Raw_Checks, NumbersAfterTheCountedPairsAreAWarningForTheCommandLine) {
  const struct {
    const char* rest;
    bool warned;
  } cases[] = {{"", false}, {"  \r\n\r\n", false}, {"10.06 8\r\n", true}, {"end of scan\r\n", false}};
  for (const auto& c : cases) {
    const std::string text = std::string("10.0 5 10.02 7\r\n") + c.rest;
    Text_Input input(Bytes_Of(text), "SCAN.TXT");
    for (int k = 0; k < 4; ++k) input.Read_Number();
    const auto warning = More_Numbers_Follow(input, 2);
    ASSERT_EQ(warning.has_value(), c.warned) << c.rest;
    if (warning) {
      EXPECT_EQ(warning->text,
                "SCAN.TXT: more numbers follow the 2 points the file announces; they were not read. A file of 2-theta "
                "and intensity pairs without this layout's header is read with the xye type (--from xye).");
      EXPECT_FALSE(warning->in_window);
    }
  }
  EXPECT_NO_THROW(Check_Whole_Point_Count(3, "SCAN.TXT"));
  EXPECT_THROW(Check_Whole_Point_Count(3.5, "SCAN.TXT"), Failure);
}

}  // namespace
}  // namespace talvo
