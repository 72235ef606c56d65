// What talvo-convert writes for today's analysis programs, read back by
// readers that are not ours: xyconv (Debian's libxy-bin) for xy, xye, CSV
// and CIF; the IUCr's PyCifRW and gemmi for CIF; Python's csv module; an
// independent parse of the FXYE rules; and, for a round trip, Talvo's own
// xye and GSAS readers. A reader that is not installed skips its test with
// a message (scripts/setup.sh installs them all).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "core/store.h"
#include "fixtures/dif_builder.h"
#include "fixtures/raw_builder.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"
#include "formats/analysis/analysis_writers.h"
#include "formats/diffracplus/raw.h"

namespace talvo {
namespace {

using testing::Read_Text;
using testing::Run_Convert;
using testing::Temp_Dir;

struct Point {
  double angle = 0, value = 0, su = NAN, unit = 0;
};
struct Reading {
  std::string sample;
  std::vector<Point> points;
};

constexpr const char* Sample = "O'Brien \"Quartz\" 5";

// 200 points from 5.5 by 0.025, whole counts or counts with a fraction.
testing::Raw_Scan Scan(bool whole) {
  testing::Raw_Scan scan;
  scan.sample = Sample;
  scan.start_2theta = 5.5f;
  scan.start_theta = 2.75f;
  scan.step = 0.025f;
  scan.intensities.clear();
  for (int k = 0; k < 200; ++k)
    scan.intensities.push_back(static_cast<float>(k % 7 == 3 ? 0 : 50 + (k * 37) % 113) + (whole ? 0 : 0.375f));
  return scan;
}

Store Read_Raw(const std::string& path) {
  Store store;
  testing::Read_Path(Read_Raw2, path, store);
  return store;
}

std::vector<double> Numbers_Of(const std::string& line) {
  std::istringstream fields(line);
  std::vector<double> numbers;
  for (double x; fields >> x;) numbers.push_back(x);
  return numbers;
}

bool Have(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The points xyconv reads, its metadata left out.
std::vector<Point> Read_With_Xyconv(const Temp_Dir& dir, const std::string& type, const std::string& file) {
  const std::string out = dir.Path("xyconv.txt");
  const std::string command = "xyconv -s -t " + type + " '" + dir.Path(file) + "' '" + out + "' 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << "xyconv could not read " << file;
  std::istringstream lines(Read_Text(out));
  std::vector<Point> points;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    const auto x = Numbers_Of(line);
    points.push_back({x.at(0), x.at(1), x.size() > 2 ? x[2] : NAN, 0});
  }
  return points;
}

// What tests/tools/read_analysis.py finds; empty when its reader's module
// is not installed.
std::optional<Reading> Read_With_Python(const Temp_Dir& dir, const std::string& mode, const std::string& file) {
  const std::string out = dir.Path("python.txt"), err = dir.Path("python.err");
  const std::string command = "/usr/bin/python3 '" TALVO_TEST_DATA "/../tools/read_analysis.py' " + mode + " '" +
                              dir.Path(file) + "' >'" + out + "' 2>'" + err + "'";
  const int raw = std::system(command.c_str());
  if (WIFEXITED(raw) && WEXITSTATUS(raw) == 3) return std::nullopt;
  EXPECT_EQ(raw, 0) << mode << " could not read " << file << ": " << Read_Text(err);
  std::istringstream lines(Read_Text(out));
  Reading reading;
  std::string line;
  if (std::getline(lines, line) && line.starts_with("sample ")) reading.sample = line.substr(7);
  while (std::getline(lines, line)) {
    const auto x = Numbers_Of(line);
    if (x.size() == 4) reading.points.push_back({x[0], x[1], x[2], x[3]});
  }
  return reading;
}

// The points as read against the scan: angles to the printed decimals,
// values exactly, uncertainties sqrt(max(count, 1)) to their last decimal
// (`unit`), or to six digits where they stand alone.
void Expect_Same_Points(const Store& store, const std::vector<Point>& points, bool with_su) {
  ASSERT_EQ(points.size(), static_cast<std::size_t>(store.Nb_Points));
  for (int k = 1; k <= store.Nb_Points; ++k) {
    const Point& p = points[static_cast<std::size_t>(k - 1)];
    const double count = store.Intensities[static_cast<std::size_t>(k)];
    EXPECT_NEAR(p.angle, store.Start_2Theta + (k - 1) * store.Step_Size, 5e-4 + 1e-9) << "point " << k;
    EXPECT_NEAR(p.value, count, 1e-6 * std::max(1.0, count)) << "point " << k;
    if (!with_su) continue;
    const double su = std::sqrt(std::max(count, 1.0));
    EXPECT_NEAR(p.su, su, p.unit > 0 ? 0.5 * p.unit + 1e-9 : 1e-5 * su) << "point " << k;
  }
}

class Analysis_Interop : public ::testing::Test {
 protected:
  // in_whole.raw, in_part.raw, and each converted by talvo-convert to
  // in_whole.xye, in_part.cif, ...
  Analysis_Interop() {
    for (bool whole : {true, false}) {
      const std::string name = whole ? "in_whole.raw" : "in_part.raw";
      dir.Write(name, testing::Raw2_File(Scan(whole)));
      for (const char* key : {"xy", "xye", "csv", "fxye", "cif"}) {
        const auto result = Run_Convert(dir, std::string("--from raw --to ") + key + " " + name);
        EXPECT_EQ(result.status, 0) << key << ": " << result.err;
      }
    }
  }
  Temp_Dir dir;
};

TEST_F(Analysis_Interop, XyconvReadsTheColumnsOfXyXyeCsvAndCif) {
  if (!Have("xyconv -v")) GTEST_SKIP() << "xyconv (Debian package libxy-bin) is not installed";
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"xy", "text", false}, {"xye", "text", true}, {"csv", "csv", true}, {"cif", "pdcif", true}};
  for (const char* base : {"in_whole", "in_part"}) {
    const Store store = Read_Raw(dir.Path(std::string(base) + ".raw"));
    for (const auto& [extension, type, su] : cases) {
      SCOPED_TRACE(std::string(base) + "." + extension);
      auto points = Read_With_Xyconv(dir, type, std::string(base) + "." + extension);
      // xyconv prints the CIF's uncertainties with six decimals.
      if (std::string_view(extension) == "cif")
        for (auto& p : points) p.unit = 1;
      Expect_Same_Points(store, points, su);
    }
  }
}

TEST_F(Analysis_Interop, PyCifRwAndGemmiFindTheSamePointsAndSample) {
  int read = 0;
  for (const char* mode : {"cif-pycifrw", "cif-gemmi"}) {
    for (const char* base : {"in_whole", "in_part"}) {
      SCOPED_TRACE(std::string(mode) + " " + base);
      const auto reading = Read_With_Python(dir, mode, std::string(base) + ".cif");
      if (!reading) continue;
      ++read;
      EXPECT_EQ(reading->sample, std::string("Sample: ") + Sample);
      Expect_Same_Points(Read_Raw(dir.Path(std::string(base) + ".raw")), reading->points, true);
    }
  }
  if (read < 4) GTEST_SKIP() << "python3-pycifrw or python3-gemmi is not installed";
}

// A scan whose file listed uneven angles: the CIF lists them as a column.
TEST_F(Analysis_Interop, CifReadersFindTheFilesOwnAngles) {
  Store store;
  store.Nb_Points = 4;
  store.Intensities = {0, 10, 20, 30, 40};
  store.Extras.Angles = {0, 10.0, 10.03, 10.07, 10.12};
  store.Start_2Theta = 10;
  store.Range_Limits = {10.0, 10.12};
  store.Step_Size = 10.03 - 10.0;
  testing::Recording_Platform platform;
  Write_Cif(dir.Path("uneven.cif"), store, platform);
  int read = 0;
  for (const char* mode : {"cif-pycifrw", "cif-gemmi"}) {
    const auto reading = Read_With_Python(dir, mode, "uneven.cif");
    if (!reading) continue;
    ++read;
    ASSERT_EQ(reading->points.size(), 4u) << mode;
    for (std::size_t k = 0; k < 4; ++k) {
      EXPECT_DOUBLE_EQ(reading->points[k].angle, store.Extras.Angles[k + 1]) << mode;
      EXPECT_EQ(reading->points[k].value, store.Intensities[k + 1]) << mode;
    }
  }
  if (read < 2) GTEST_SKIP() << "python3-pycifrw or python3-gemmi is not installed";
}

TEST_F(Analysis_Interop, PythonsCsvModuleAndTheFxyeRulesReadOurFiles) {
  for (const char* base : {"in_whole", "in_part"}) {
    const Store store = Read_Raw(dir.Path(std::string(base) + ".raw"));
    for (const auto& [mode, extension] : {std::pair{"csv", ".csv"}, std::pair{"fxye", ".fxye"}}) {
      SCOPED_TRACE(std::string(base) + extension);
      const auto reading = Read_With_Python(dir, mode, base + std::string(extension));
      ASSERT_TRUE(reading);
      if (std::string_view(mode) == "fxye") {
        EXPECT_EQ(reading->sample, Sample);
      }
      Expect_Same_Points(store, reading->points, true);
    }
  }
}

// RAW version 2 -> xye, xy, FXYE -> RAW version 2 through Talvo's own
// readers: every count, the start and the step come back.
TEST_F(Analysis_Interop, RoundTripsThroughTalvosReadersKeepEveryPoint) {
  const std::pair<const char*, const char*> cases[] = {
      {"xye", "--from xye"}, {"xy", "--from xye"}, {"fxye", "--from gsas --end 10.5 --time 1.5"}};
  for (const char* base : {"in_whole", "in_part"}) {
    const Store in = Read_Raw(dir.Path(std::string(base) + ".raw"));
    for (const auto& [extension, from] : cases) {
      SCOPED_TRACE(std::string(base) + "." + extension);
      const auto result = Run_Convert(dir, std::string(from) + " --to raw2 -o back.raw " + base + "." + extension);
      ASSERT_EQ(result.status, 0) << result.err;
      const Store back = Read_Raw(dir.Path("back.raw"));
      ASSERT_EQ(back.Nb_Points, in.Nb_Points);
      EXPECT_EQ(back.Start_2Theta, in.Start_2Theta);
      EXPECT_NEAR(back.Step_Size, in.Step_Size, 1e-7);
      EXPECT_EQ(back.Intensities, in.Intensities);
    }
  }
}

// A peak list is synthesised first, with the options typed into the
// synthesis dialog; the header names the peak list's file.
TEST(Analysis_Cli, APeakListBecomesAScanFirst) {
  Temp_Dir dir;
  dir.Write("QTZ.DIF", testing::Dif_Builder().Block({{20, 50}, {30, 200}, {40, 25}}).Bytes());
  const auto result =
      Run_Convert(dir, "--from dif --to xye --start 20 --end 40 --step 0,01 --noise 0 --background 5 --time 2 QTZ.DIF");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string text = Read_Text(dir.Path("QTZ.xye"));
  EXPECT_TRUE(text.starts_with("# Sample: Quartz peaks\r\n# Source file: QTZ.DIF\r\n")) << text.substr(0, 200);
  EXPECT_NE(text.find("# Counting time: 2 s per step\r\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6 + 2000);
  // Point 1001 lies at 30 on the strongest peak, point 1 at 20 on the first.
  EXPECT_NE(text.find("\r\n20.00 255 15.9687\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n30.00 1005 31.7017\r\n"), std::string::npos);
}

// The uncertainty column: the file's (xye third column, GSAS ESD), else
// sqrt(max(count, 1)); the file's own angles where it lists them.
TEST(Analysis_Cli, UncertaintiesAndAnglesComeFromTheFileWhereItHasThem) {
  const std::string real = std::string(TALVO_TEST_DATA) + "/real/";
  const struct {
    const char* file;
    std::string text;  // the input, or empty to copy the real file of that name
    const char* arguments;
    const char* out;
    std::vector<std::string> expected;  // lines of the output, in order, not all
  } cases[] = {
      {"u.xye",
       "# triples\r\n10.00 100 7.5\r\n10.02 121 8\r\n10.05 144 12.25\r\n",
       "--from xye --to xye",
       "u_out.xye",
       {"# Uncertainty: as the source file gives it", "10.00 100 7.5", "10.02 121 8", "10.05 144 12.25"}},
      {"esd_Quinoli.gda",
       "",
       "--from gsas --to csv",
       "esd_Quinoli_out.csv",
       {"two_theta,intensity,uncertainty", "7.500,345.2,18.3", "7.504,350.7,18.5"}},
      {"dash_Tutorial_4.xye",
       "",
       "--from xye --to xye",
       "dash_out.xye",
       {"# Wavelength: 1.78897 angstrom (K-alpha1)", "# Uncertainty: square root of the intensity, at least 1",
        "7.00 3690 60.7454", "7.02 3816 61.7738"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Temp_Dir dir;
    dir.Write(c.file, c.text.empty() ? Read_Text(real + c.file) : c.text);
    const auto result = Run_Convert(dir, std::string(c.arguments) + " -o " + c.out + " " + c.file);
    ASSERT_EQ(result.status, 0) << result.err;
    std::istringstream lines(Read_Text(dir.Path(c.out)));
    std::size_t next = 0;
    for (std::string line; std::getline(lines, line) && next < c.expected.size();) {
      ASSERT_TRUE(line.ends_with('\r')) << line;
      line.pop_back();
      if (line == c.expected[next]) ++next;
    }
    EXPECT_EQ(next, c.expected.size()) << "not found in order from: "
                                       << c.expected[next < c.expected.size() ? next : 0];
  }
}

// The 11-BM synchrotron scan of 49 493 points goes whole to FXYE and xye:
// every record of the FXYE file written holds the numbers of the file read.
TEST(Analysis_Cli, ASynchrotronScanGoesWholeToFxyeAndXye) {
  const std::string name = "fxye_11bmb_8714.fxye";
  Temp_Dir dir;
  const std::string source = Read_Text(std::string(TALVO_TEST_DATA) + "/real/" + name);
  dir.Write(name, source);
  for (const char* key : {"fxye", "xye"}) {
    const auto result = Run_Convert(dir, std::string("--from gsas --to ") + key + " -o out." + key + " " + name);
    ASSERT_EQ(result.status, 0) << key << ": " << result.err;
  }
  const auto rows_of = [](const std::string& text, const std::string& after) {
    std::vector<std::vector<double>> rows;
    std::istringstream lines(text.substr(text.find(after)));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line))
      if (auto numbers = Numbers_Of(line); numbers.size() == 3) rows.push_back(numbers);
    return rows;
  };
  const auto in = rows_of(source, "BANK");
  const auto out = rows_of(Read_Text(dir.Path("out.fxye")), "BANK");
  ASSERT_EQ(in.size(), 49493u);
  ASSERT_EQ(out.size(), in.size());
  for (std::size_t k = 0; k < in.size(); ++k) ASSERT_EQ(out[k], in[k]) << "record " << k + 1;
  EXPECT_NE(Read_Text(dir.Path("out.fxye")).find("BANK 1 49493 49493 CONS 50.000000 0.099987 0 0 FXYE"),
            std::string::npos);
  const std::string xye = Read_Text(dir.Path("out.xye"));
  EXPECT_EQ(std::count(xye.begin(), xye.end(), '\n'), 6 + 49493);
  EXPECT_TRUE(xye.ends_with("\r\n49.98543193 36.695248 16.901827\r\n"));
}

}  // namespace
}  // namespace talvo
