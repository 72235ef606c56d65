// The writers of today's analysis formats on small scans, byte for byte:
// a RAW version 2 scan as its reader leaves it, a scan whose file listed its
// angles, counts and uncertainties, and a scan of a fine step.
#include "formats/analysis/analysis_writers.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>

#include "core/failure.h"
#include "core/registry.h"
#include "core/store.h"
#include "core/text32.h"
#include "fixtures/raw_builder.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"
#include "formats/analysis/analysis_scan.h"
#include "formats/diffracplus/raw.h"
#include "formats/format_table.h"
#include "formats/text/gsas.h"

namespace talvo {
namespace {

using testing::Read_Text;
using testing::Recording_Platform;
using testing::Temp_Dir;
using Writer = void (*)(const std::string&, const Store&, Platform&);

// 10.0 by 0.02 (32-bit items), 120, 340.5, 98; sample "Quartz standard",
// 1.5 s, K-alpha 1.54056 and 1.54439, as Read_Raw2 leaves them.
Store Raw_Store() {
  Temp_Dir dir;
  Store store;
  testing::Read_Path(Read_Raw2, dir.Write("qtz.raw", testing::Raw2_File(testing::Raw_Scan{})), store);
  store.Extras.Source_File = "qtz.raw";
  return store;
}

// Angles, counts and uncertainties as a file listed them, uneven steps.
Store Listed_Store() {
  Store store;
  store.Nb_Points = 3;
  store.Intensities = {0, 5.25f, 7, 1e6f};
  store.Start_2Theta = 10.001f;
  store.Range_Limits = {10.001, 10.03};
  store.Step_Size = 10.0105 - 10.001;
  store.Sample_ID = Fit32("cut to 32");
  auto& x = store.Extras;
  x.Angles = {0, 10.001, 10.0105, 10.03};
  x.Counts = {0, 5.25, 7, 1e6};
  x.Uncertainties = {0, 0.5, 2.6458, 1000};
  x.K_Alpha1 = 1.5406;
  x.K_Alpha2 = 1.5444;
  x.K_Ratio = 0.5;
  x.Counting_Time = 2.5;
  x.Anode = "Cu";
  x.Sample =
      "\xC3\x89"
      "chantillon O'Brien";  // "Échantillon"
  x.Source_File = "run 7.xrdml";
  return store;
}

// A step of 0.0001 from 5.5 (double, as a text reader keeps it), counts
// 1, 0, 2, no sample, the start-up wavelength.
Store Fine_Store() {
  Store store;
  store.Nb_Points = 3;
  store.Intensities = {0, 1, 0, 2};
  store.Start_2Theta = 5.5f;
  store.Range_Limits = {5.5, 5.5002};
  store.Step_Size = 0.0001;
  return store;
}

// A step that is a range divided by its points, as XRDML gives it: no end
// of decimals, so the start's eight are written.
Store Quotient_Store() {
  Store store = Fine_Store();
  store.Intensities = {0, 1678, 1648, 1730};
  store.Start_2Theta = 5.00835563f;
  store.Range_Limits = {5.00835563, 124.99526689};
  store.Step_Size = (124.99526689 - 5.00835563) / 7180;
  return store;
}

std::string Crlf(std::string_view lines) {
  std::string text;
  for (char c : lines) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

// FXYE records are 80 characters: the text with its trailing blanks cut,
// after checking the width of every line.
std::string Records_Trimmed(const std::string& text) {
  std::istringstream lines(text);
  std::string line, trimmed;
  while (std::getline(lines, line)) {
    EXPECT_EQ(line.size(), 81u) << "record \"" << line << "\"";  // with its CR
    line.erase(line.find_last_not_of(" \r") + 1);
    trimmed += line + "\r\n";
  }
  return trimmed;
}

struct Layout_Case {
  const char* name;
  Store (*store)();
  Writer writer;
  const char* file;
  const char* expected;  // lines ended by "\n", written CR LF
};

const Layout_Case Layout_Cases[] = {
    {"raw xye", Raw_Store, Write_Xye, "out.xye",
     "# Sample: Quartz standard\n# Source file: qtz.raw\n"
     "# Wavelength: 1.54056 angstrom (K-alpha1), 1.54439 angstrom (K-alpha2)\n# Counting time: 1.5 s per step\n"
     "# Uncertainty: square root of the intensity, at least 1\n# Columns: 2-theta (degrees), intensity, uncertainty\n"
     "10.00 120 10.9545\n10.02 340.5 18.4526\n10.04 98 9.89949\n"},
    {"raw xy", Raw_Store, Write_Xy, "out.xy",
     "# Sample: Quartz standard\n# Source file: qtz.raw\n"
     "# Wavelength: 1.54056 angstrom (K-alpha1), 1.54439 angstrom (K-alpha2)\n# Counting time: 1.5 s per step\n"
     "# Columns: 2-theta (degrees), intensity\n10.00 120\n10.02 340.5\n10.04 98\n"},
    {"raw csv", Raw_Store, Write_Csv, "out.csv",
     "two_theta,intensity,uncertainty\n10.00,120,10.9545\n10.02,340.5,18.4526\n10.04,98,9.89949\n"},
    {"raw fxye", Raw_Store, Write_Fxye, "out.fxye",
     "Quartz standard\nBANK 1 3 3 CONS 1000 2 0 0 FXYE\n"
     "           1000            120        10.9545\n           1002          340.5        18.4526\n"
     "           1004             98        9.89949\n"},
    {"raw cif", Raw_Store, Write_Cif, "out.cif",
     "#\\#CIF_1.1\n# Written by Talvo from qtz.raw\ndata_out\n"
     "_pd_block_id                      '|Quartz_standard||'\n"
     "_pd_meas_special_details          'Sample: Quartz standard'\n"
     "loop_\n_diffrn_radiation_wavelength_id\n_diffrn_radiation_wavelength\n_diffrn_radiation_wavelength_wt\n"
     "1 1.54056 1.0\n2 1.54439 ?\n"
     "_pd_meas_number_of_points         3\n_pd_meas_2theta_range_min         10.00\n"
     "_pd_meas_2theta_range_max         10.04\n_pd_meas_2theta_range_inc         0.02\n"
     "_pd_meas_step_count_time          1.5\n"
     "loop_\n_pd_meas_intensity_total\n120(11)\n340.5(185)\n98(10)\n"},
    {"listed xye", Listed_Store, Write_Xye, "listed.xye",
     "# Sample: \xC3\x89"
     "chantillon O'Brien\n# Source file: run 7.xrdml\n"
     "# Wavelength: 1.5406 angstrom (K-alpha1), 1.5444 angstrom (K-alpha2), K-alpha2/K-alpha1 ratio 0.5\n"
     "# Anode: Cu\n# Counting time: 2.5 s per step\n# Uncertainty: as the source file gives it\n"
     "# Columns: 2-theta (degrees), intensity, uncertainty\n"
     "10.0010 5.25 0.5\n10.0105 7 2.6458\n10.0300 1000000 1000\n"},
    {"listed fxye", Listed_Store, Write_Fxye, "listed.fxye",
     "\xC3\x89"
     "chantillon O'Brien\nBANK 1 3 3 CONS 1000.10 1.45 0 0 FXYE\n"
     "        1000.10           5.25            0.5\n        1001.05              7         2.6458\n"
     "        1003.00        1000000           1000\n"},
    {"listed cif", Listed_Store, Write_Cif, "listed.cif",
     "#\\#CIF_1.1\n# Written by Talvo from run 7.xrdml\ndata_listed\n"
     "_pd_block_id                      '|Echantillon_O_Brien||'\n"
     "_pd_meas_special_details          'Sample: \\'Echantillon O'Brien'\n"
     "loop_\n_diffrn_radiation_wavelength_id\n_diffrn_radiation_wavelength\n_diffrn_radiation_wavelength_wt\n"
     "1 1.5406 1.0\n2 1.5444 0.5\n_diffrn_radiation_type            'Cu K\\a'\n"
     "_pd_meas_number_of_points         3\n_pd_meas_step_count_time          2.5\n"
     "loop_\n_pd_meas_2theta_scan\n_pd_meas_intensity_total\n"
     "10.0010 5.25(50)\n10.0105 7(3)\n10.0300 1000000(1000)\n"},
    {"fine xy", Fine_Store, Write_Xy, "fine.xy",
     "# Wavelength: 1.54051 angstrom (K-alpha1)\n# Counting time: 1 s per step\n"
     "# Columns: 2-theta (degrees), intensity\n5.5000 1\n5.5001 0\n5.5002 2\n"},
    {"quotient xy", Quotient_Store, Write_Xy, "q.xy",
     "# Wavelength: 1.54051 angstrom (K-alpha1)\n# Counting time: 1 s per step\n"
     "# Columns: 2-theta (degrees), intensity\n5.00835563 1678\n5.02506690 1648\n5.04177817 1730\n"},
    {"fine csv", Fine_Store, Write_Csv, "fine.csv",
     "two_theta,intensity,uncertainty\n5.5000,1,1\n5.5001,0,1\n5.5002,2,1.41421\n"},
    {"fine fxye", Fine_Store, Write_Fxye, "fine.fxye",
     "fine.fxye\nBANK 1 3 3 CONS 550.00 0.01 0 0 FXYE\n"
     "         550.00              1              1\n         550.01              0              1\n"
     "         550.02              2        1.41421\n"},
    {"fine cif", Fine_Store, Write_Cif, "fine.cif",
     "#\\#CIF_1.1\ndata_fine\n_pd_block_id                      '|fine||'\n"
     "_diffrn_radiation_wavelength      1.54051\n_pd_meas_number_of_points         3\n"
     "_pd_meas_2theta_range_min         5.5000\n_pd_meas_2theta_range_max         5.5002\n"
     "_pd_meas_2theta_range_inc         0.0001\n_pd_meas_step_count_time          1\n"
     "loop_\n_pd_meas_counts_total\n1.0(10)\n0.0(10)\n2.0(14)\n"},
};

TEST(Analysis_Writers, WriteEachLayoutByteForByte) {
  for (const auto& c : Layout_Cases) {
    SCOPED_TRACE(c.name);
    Temp_Dir dir;
    Recording_Platform platform;
    platform.separator = ',';  // the regional settings' separator is not these files'
    c.writer(dir.Path(c.file), c.store(), platform);
    const std::string text = Read_Text(dir.Path(c.file));
    const bool records = std::string_view(c.file).ends_with(".fxye");
    EXPECT_EQ(records ? Records_Trimmed(text) : text, Crlf(c.expected));
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal"}));
    EXPECT_EQ(dir.Files(), std::vector<std::string>{c.file});
  }
}

// The third column: the file's uncertainty where it gives one (one that is
// not a number, or negative, gives way to the rule), else sqrt(max(count, 1)).
TEST(Analysis_Writers, UncertaintiesAreTheFilesOrTheSquareRootOfTheCount) {
  struct Case {
    std::vector<float> counts;
    std::vector<double> uncertainties;  // empty: the file gives none
    const char* header;
    std::vector<std::string> column;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {{400, 0, -5, 0.25f, 2, 1e6f},
       {},
       "square root of the intensity, at least 1",
       {"20", "1", "1", "1", "1.41421", "1000"}},
      {{400, 400, 9, 400}, {0, 3.5, nan, 0, -1}, "as the source file gives it", {"3.5", "20", "0", "20"}},
  };
  for (const auto& c : cases) {
    Store store = Fine_Store();
    store.Nb_Points = static_cast<int32_t>(c.counts.size());
    store.Intensities = {0};
    store.Intensities.insert(store.Intensities.end(), c.counts.begin(), c.counts.end());
    store.Extras.Uncertainties = c.uncertainties;
    Temp_Dir dir;
    Recording_Platform platform;
    Write_Xye(dir.Path("u.xye"), store, platform);
    std::istringstream lines(Read_Text(dir.Path("u.xye")));
    std::string line, header;
    std::vector<std::string> column;
    while (std::getline(lines, line)) {
      line.pop_back();  // CR
      if (line.starts_with("# Uncertainty: ")) header = line.substr(15);
      if (line[0] == '#') continue;
      column.push_back(line.substr(line.rfind(' ') + 1));
    }
    EXPECT_EQ(header, c.header);
    EXPECT_EQ(column, c.column);
  }
}

// Sample names as CIF values: bare never (the value has a blank), quoted
// with the quote no blank follows, else a text field.
TEST(Analysis_Writers, CifQuotesSampleNamesSoThatTheyReadBackWhole) {
  const std::pair<const char*, const char*> cases[] = {
      {"O'Brien \"5\"", "_pd_meas_special_details          'Sample: O'Brien \"5\"'\r\n"},
      {"it' s", "_pd_meas_special_details          \"Sample: it' s\"\r\n"},
      {"a' \"b\" c", "_pd_meas_special_details          \r\n;Sample: a' \"b\" c\r\n;\r\n"},
      {"line\nbreak\tand tab", "_pd_meas_special_details          'Sample: line break and tab'\r\n"},
      {"\xCE\xB8 \xC3\x9F \xE2\x82\xAC", "_pd_meas_special_details          'Sample: \\q \\ss ?'\r\n"},
  };
  for (const auto& [sample, line] : cases) {
    Store store = Fine_Store();
    store.Extras.Sample = sample;
    Temp_Dir dir;
    Recording_Platform platform;
    Write_Cif(dir.Path("s.cif"), store, platform);
    EXPECT_NE(Read_Text(dir.Path("s.cif")).find(line), std::string::npos) << sample;
  }
}

// What no writer writes: the message names the output file, nothing is
// left, and a file already there stays as it was.
TEST(Analysis_Writers, RefuseWhatIsNoScanAndLeaveTheTargetAlone) {
  const std::pair<void (*)(Store&), const char*> cases[] = {
      {[](Store& s) { s.Nb_Points = 0; }, "The scan holds no point. Nothing was written to "},
      {[](Store& s) { s.Intensities.pop_back(); },
       "The scan holds 2 intensities, fewer than its 3 points. Nothing was written to "},
      {[](Store& s) { s.Intensities[2] = std::numeric_limits<float>::quiet_NaN(); },
       "Point 2 of the scan has an intensity that is not a number. Nothing was written to "},
      {[](Store& s) {
         s.Extras.Angles = {0, 1, HUGE_VAL, 3};
       },
       "Point 2 of the scan has an angle that is not a number. Nothing was written to "},
      {[](Store& s) { s.Step_Size = HUGE_VAL; },
       "The scan's start angle or step is not a number. Nothing was written to "},
  };
  for (Writer writer : {Write_Xye, Write_Xy, Write_Csv, Write_Fxye, Write_Cif}) {
    for (const auto& [spoil, message] : cases) {
      Store store = Fine_Store();
      spoil(store);
      Temp_Dir dir;
      dir.Write("old.out", "kept");
      Recording_Platform platform;
      try {
        writer(dir.Path("old.out"), store, platform);
        ADD_FAILURE() << "written: " << message;
      } catch (const Failure& failure) {
        EXPECT_EQ(failure.what(), std::string(message) + "old.out.");
      }
      EXPECT_EQ(Read_Text(dir.Path("old.out")), "kept");
      EXPECT_EQ(dir.Files(), std::vector<std::string>{"old.out"});
      EXPECT_FALSE(platform.busy);
    }
  }
}

// A synchrotron scan of 49 493 points (0.5 by 0.00099987 degrees) is written
// whole, and the FXYE file reads back through the GSAS reader to the same
// points.
TEST(Analysis_Writers, ALongScanIsWrittenWhole) {
  constexpr int32_t n = 49493;
  Store store;
  store.Nb_Points = n;
  store.Intensities.assign(1, 0.0f);
  for (int32_t k = 1; k <= n; ++k) store.Intensities.push_back(static_cast<float>(100 + k % 977));
  store.Start_2Theta = 0.5f;
  store.Range_Limits = {0.5, 0.5 + (n - 1) * 0.00099987};
  store.Step_Size = 0.00099987;
  Temp_Dir dir;
  Recording_Platform platform;
  Write_Xye(dir.Path("long.xye"), store, platform);
  Write_Fxye(dir.Path("long.fxye"), store, platform);
  const std::string xye = Read_Text(dir.Path("long.xye"));
  const std::string fxye = Read_Text(dir.Path("long.fxye"));
  EXPECT_EQ(std::count(xye.begin(), xye.end(), '\n'), 4 + n);
  EXPECT_NE(xye.find("\r\n0.50000000 101 10.0499\r\n"), std::string::npos);
  EXPECT_TRUE(xye.ends_with("\r\n49.98556604 743 27.258\r\n")) << xye.substr(xye.size() - 60);
  EXPECT_EQ(fxye.size(), static_cast<std::size_t>(n + 2) * 82);
  EXPECT_NE(fxye.find("BANK 1 49493 49493 CONS 50.000000 0.099987 0 0 FXYE"), std::string::npos);

  Store back;
  testing::Read_Path(Read_Gsas, dir.Path("long.fxye"), back);
  ASSERT_EQ(back.Nb_Points, n);
  EXPECT_FLOAT_EQ(back.Start_2Theta, 0.5f);
  EXPECT_DOUBLE_EQ(back.Step_Size, 0.00099987);
  for (int32_t k = 1; k <= n; ++k) ASSERT_EQ(back.Intensities[k], store.Intensities[k]) << k;
}

// The number texts the layouts are made of: decimals as the source wrote
// them, whole numbers of a last decimal, the decimal point moved for
// centidegrees, and the shortest text of a float exactly as std::to_chars
// gives it (the writers use a faster way of their own).
TEST(Analysis_Numbers, DecimalsScaledShiftedAndShortestTexts) {
  const std::pair<double, int> decimals[] = {{0.02f, 2},     {10.04 - 10.02, 2}, {0.0001, 4},        {0.00099987, 8},
                                             {100.00005, 5}, {1234.56789012, 8}, {3 * 0.025 + 5, 3}, {20.04f, 2},
                                             {0, 0},         {-0.5, 1},          {1e-15, 12}};
  for (const auto& [value, expected] : decimals) EXPECT_EQ(analysis::Decimals_Of(value), expected) << value;

  const std::tuple<int64_t, int, const char*> scaled[] = {{1002, 2, "10.02"},
                                                          {5, 3, "0.005"},
                                                          {-5, 3, "-0.005"},
                                                          {1002, -1, "10020"},
                                                          {0, 2, "0.00"},
                                                          {7, 0, "7"},
                                                          {-123456789012345678, 9, "-123456789.012345678"}};
  for (const auto& [value, places, expected] : scaled) {
    std::array<char, 64> buffer;
    EXPECT_EQ(std::string(buffer.data(), analysis::Put_Scaled(buffer.data(), value, places)), expected);
  }

  const std::pair<const char*, const char*> shifted[] = {{"10.02", "1002"},      {"0.005", "0.5"}, {"-0.5", "-50"},
                                                         {"10.0001", "1000.01"}, {"7", "700"},     {"0.00", "0"}};
  for (const auto& [degrees, expected] : shifted) {
    std::string text;
    analysis::Append_Shifted_Two(text, degrees);
    EXPECT_EQ(text, expected);
  }

  // Every 997th float from 2^-40 to 2^30, both signs: ties, powers of two,
  // whole numbers and fractions.
  int differ = 0;
  for (uint32_t bits = 0x2B800000; bits < 0x4E800000; bits += 997) {
    for (uint32_t sign : {0u, 0x80000000u}) {
      float value;
      const uint32_t b = bits | sign;
      std::memcpy(&value, &b, sizeof value);
      std::string ours;
      analysis::Append_Shortest(ours, value);
      std::array<char, 400> theirs;
      const auto end = std::to_chars(theirs.data(), theirs.data() + theirs.size(), value, std::chars_format::fixed).ptr;
      if (ours != std::string_view(theirs.data(), static_cast<std::size_t>(end - theirs.data())) && differ++ < 5)
        ADD_FAILURE() << ours << " for " << std::string_view(theirs.data(), end - theirs.data());
    }
  }
  EXPECT_EQ(differ, 0);
}

// The five rows: their own keys beside the input keys, after the system's
// eight, written with the file's angles, peak lists synthesised first.
TEST(Analysis_Writers, AreRowsOfTodayAfterTheSystemsOutputs) {
  const Registry& registry = Format_Table();
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"xye", "xye (2\xCE\xB8, intensity, uncertainty)", "*.xye"},
      {"xy", "Two-column text (2\xCE\xB8, intensity)", "*.xy"},
      {"csv", "CSV (2\xCE\xB8, intensity, uncertainty)", "*.csv"},
      {"fxye", "GSAS FXYE", "*.fxye"},
      {"cif", "Powder CIF (pdCIF)", "*.cif"},
  };
  ASSERT_GE(registry.outputs.size(), 13u);
  for (std::size_t i = 0; i < 5; ++i) {
    const auto& [key, name, pattern] = rows[i];
    const Output_Type* type = registry.Output_By_Key(key);
    ASSERT_NE(type, nullptr) << key;
    EXPECT_EQ(type, &registry.outputs[8 + i]);
    EXPECT_EQ(type->name, name);
    EXPECT_EQ(type->pattern, pattern);
    EXPECT_EQ(type->layer, Layer::Today);
    EXPECT_TRUE(type->file_angles);
    EXPECT_TRUE(type->scan.writer && !type->scan.synthesise);
    EXPECT_TRUE(type->peaks.writer && type->peaks.synthesise);
  }
  EXPECT_EQ(registry.Input_By_Key("xye")->name, "Mercury text raw data (xye)");
}

}  // namespace
}  // namespace talvo
