// XRDML as independent readers see it: xyconv (Debian's libxy-bin) and
// xrayutilities (Debian's python3-xrayutilities, which gives counts per
// second) must find Talvo's angles and counts in the same files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "core/store.h"
#include "fixtures/read_file.h"
#include "fixtures/temp_dir.h"
#include "formats/panalytical/xrdml.h"

namespace talvo {
namespace {

using testing::Temp_Dir;

struct Point {
  double angle, count;
};

std::vector<Point> Columns_Of(const std::string& text) {
  std::istringstream lines(text);
  std::vector<Point> points;
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Point p{};
    if (fields >> p.angle >> p.count) points.push_back(p);
  }
  return points;
}

// The file's angle of point k, as Talvo holds it.
double Angle(const Store& store, int k) {
  return store.Extras.Angles.empty() ? store.Range_Limits[0] + (k - 1) * store.Step_Size : store.Extras.Angles[k];
}

void Expect_Same_Scan(const Store& store, const std::vector<Point>& points, double per_count) {
  ASSERT_EQ(points.size(), static_cast<std::size_t>(store.Nb_Points));
  for (int k = 1; k <= store.Nb_Points; ++k) {
    EXPECT_NEAR(points[k - 1].angle, Angle(store, k), 2e-6) << "point " << k;
    EXPECT_NEAR(points[k - 1].count * per_count, store.Extras.Counts[k], 1e-5 * (1 + store.Extras.Counts[k]))
        << "point " << k;
  }
}

// A measurement of uneven positions, written as version 1.0 writes it.
const std::string Uneven =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xrdMeasurements "
    "xmlns=\"http://www.xrdml.com/XRDMeasurement/1.0\"><xrdMeasurement measurementType=\"Scan\">"
    "<usedWavelength intended=\"K-Alpha 1\"><kAlpha1 unit=\"Angstrom\">1.5405980</kAlpha1><kAlpha2 "
    "unit=\"Angstrom\">1.5444260</kAlpha2><ratioKAlpha2KAlpha1>0.5</ratioKAlpha2KAlpha1></usedWavelength>"
    "<scan appendNumber=\"0\" mode=\"Pre-set time\" scanAxis=\"Gonio\" status=\"Completed\"><dataPoints>"
    "<positions axis=\"2Theta\" unit=\"deg\"><listPositions>10.00 10.02 10.05 10.09 10.14 10.20</listPositions>"
    "</positions><commonCountingTime unit=\"seconds\">4.00</commonCountingTime>"
    "<intensities unit=\"counts\">120 118 131 2050 640 125</intensities></dataPoints></scan></xrdMeasurement>"
    "</xrdMeasurements>\n";

std::vector<std::string> Files(const Temp_Dir& dir) {
  return {std::string(TALVO_TEST_DATA) + "/real/datalab_CG20396_jdb12-1.xrdml", dir.Write("uneven.xrdml", Uneven)};
}

TEST(Archive_Interop, XyconvReadsTheAnglesAndCountsWeRead) {
  Temp_Dir dir;
  for (const auto& file : Files(dir)) {
    SCOPED_TRACE(file);
    Store store;
    testing::Read_Path(Read_Xrdml, file, store);
    const std::string out = dir.Path("xyconv.txt");
    const std::string command = "xyconv -s -t xrdml '" + file + "' '" + out + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "xyconv (package libxy-bin) could not read " << file;
    Expect_Same_Scan(store, Columns_Of(testing::Read_Text(out)), 1.0);
  }
}

TEST(Archive_Interop, XrayutilitiesReadsTheAnglesAndCountsWeRead) {
  if (std::system("/usr/bin/python3 -c 'import xrayutilities' 2>/dev/null") != 0)
    GTEST_SKIP() << "xrayutilities for /usr/bin/python3 (package python3-xrayutilities) is not installed";
  Temp_Dir dir;
  for (const auto& file : Files(dir)) {
    SCOPED_TRACE(file);
    Store store;
    testing::Read_Path(Read_Xrdml, file, store);
    const std::string out = dir.Path("xu.txt");
    const std::string command =
        "/usr/bin/python3 -c 'import sys, xrayutilities as xu\n"
        "a, c = xu.io.getxrdml_scan(sys.argv[1])\n"
        "print(\"\\n\".join(\"%.8f %.10g\" % p for p in zip(a, c)))' '" +
        file + "' > '" + out + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "xrayutilities could not read " << file;
    Expect_Same_Scan(store, Columns_Of(testing::Read_Text(out)), store.Extras.Counting_Time.value_or(1));
  }
}

}  // namespace
}  // namespace talvo
