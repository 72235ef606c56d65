// RAW version 3 and RAS files as independent readers see them: xyconv
// (Debian's libxy-bin) reads the same angles and counts of each range of a
// RAW version 3 file as Talvo, and xrayutilities (Debian's
// python3-xrayutilities) the same angles, intensities and attenuation
// factors of each scan of a RAS file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "core/store.h"
#include "fixtures/raw34_builder.h"
#include "fixtures/read_file.h"
#include "fixtures/temp_dir.h"
#include "formats/bruker/raw_any.h"
#include "formats/rigaku/ras.h"

namespace talvo {
namespace {

using testing::Temp_Dir;

struct Point {
  double angle, count;
};
using Blocks = std::vector<std::vector<Point>>;

bool Have(const std::string& probe) {
  return std::system((probe + " >/dev/null 2>&1").c_str()) == 0;
}

// Lines of numbers, a new block at each line that begins with "###"; other
// comment lines skipped.
Blocks Parse_Blocks(const std::string& text, bool new_block_at_hashes) {
  Blocks blocks;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("###", 0) == 0 && new_block_at_hashes) blocks.emplace_back();
    if (line.empty() || line[0] == '#') continue;
    if (blocks.empty()) blocks.emplace_back();
    std::istringstream fields(line);
    Point p{};
    fields >> p.angle >> p.count;
    blocks.back().push_back(p);
  }
  return blocks;
}

Store Read_Range(testing::Read_Fn reader, const std::string& path, int32_t range) {
  Store store;
  store.Extras.Range_Wanted = range;
  testing::Read_Path(reader, path, store);
  return store;
}

void Expect_Same_Scan(const Store& store, const std::vector<Point>& points, bool file_angles) {
  ASSERT_EQ(points.size(), static_cast<std::size_t>(store.Nb_Points));
  for (int k = 1; k <= store.Nb_Points; ++k) {
    const double angle = file_angles ? store.Extras.Angles[k] : store.Start_2Theta + (k - 1) * store.Step_Size;
    EXPECT_NEAR(points[k - 1].angle, angle, 1e-5) << "point " << k;
    EXPECT_NEAR(points[k - 1].count, store.Intensities[k], 1e-4) << "point " << k;
  }
}

void Expect_Xyconv_Reads_As_We_Do(const Temp_Dir& dir, const std::string& path) {
  const std::string out = dir.Path("xyconv.txt");
  const std::string command = "xyconv -s -t bruker_raw '" + path + "' '" + out + "' 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << "xyconv could not read " << path;
  const Blocks blocks = Parse_Blocks(testing::Read_Text(out), true);
  ASSERT_FALSE(blocks.empty());
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    SCOPED_TRACE("range " + std::to_string(k + 1));
    const Store store = Read_Range(Read_Raw_Any, path, static_cast<int32_t>(k + 1));
    EXPECT_EQ(store.Extras.Range_Count, static_cast<int32_t>(blocks.size()));
    Expect_Same_Scan(store, blocks[k], false);
  }
}

TEST(Raw3_Ras_Interop, XyconvReadsRawVersion3AsWeDo) {
  if (!Have("command -v xyconv")) GTEST_SKIP() << "xyconv (Debian package libxy-bin) is not installed";
  Temp_Dir dir;
  for (const std::string name : {"g2tut_Keokuk_kaolinite.RAW", "Cu3Au-1.raw"}) {
    SCOPED_TRACE(name);
    Expect_Xyconv_Reads_As_We_Do(dir, std::string(TALVO_TEST_DATA) + "/real/" + name);
  }
  // Our layout of a version 3 file, as an independent reader finds it.
  testing::Raw34_Scan scan;
  scan.ranges.resize(2);
  scan.ranges[1].start = 41.5;
  scan.ranges[1].step = 0.01;
  scan.ranges[1].counts = {1, 2.25f, 3, 4};
  SCOPED_TRACE("fixture");
  Expect_Xyconv_Reads_As_We_Do(dir, dir.Write("fixture.raw", testing::Raw3_File(scan)));
}

// Each scan of the file as xrayutilities reads it: angle, intensity times
// attenuation factor.
Blocks Read_With_Xrayutilities(const Temp_Dir& dir, const std::string& path) {
  const std::string script = dir.Write("read_ras.py",
                                       "import sys\n"
                                       "import xrayutilities.io as io\n"
                                       "for scan in io.rigaku_ras.RASFile(sys.argv[1]).scans:\n"
                                       "    print('###')\n"
                                       "    d = scan.data\n"
                                       "    for a, i, f in zip(d[scan.scan_axis], d['int'], d['att']):\n"
                                       "        print(repr(float(a)), repr(float(i * f)))\n");
  const std::string out = dir.Path("xrayutilities.txt");
  const std::string command = "/usr/bin/python3 '" + script + "' '" + path + "' > '" + out + "' 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << "xrayutilities could not read " << path;
  return Parse_Blocks(testing::Read_Text(out), true);
}

TEST(Raw3_Ras_Interop, XrayutilitiesReadsRasAsWeDo) {
  if (!Have("/usr/bin/python3 -c 'import xrayutilities'"))
    GTEST_SKIP() << "xrayutilities (Debian package python3-xrayutilities) is not installed";
  Temp_Dir dir;
  const std::string header =
      "*RAS_HEADER_START\r\n*MEAS_SCAN_AXIS_X \"2-Theta\"\r\n*MEAS_SCAN_AXIS_X_INTERNAL \"TwoTheta\"\r\n"
      "*MEAS_SCAN_STEP \"0.01\"\r\n*MEAS_SCAN_START \"20.0\"\r\n*MEAS_SCAN_STOP \"20.03\"\r\n"
      "*MEAS_SCAN_SPEED \"1.0\"\r\n*MEAS_SCAN_SPEED_UNIT \"deg/min\"\r\n*MEAS_SCAN_UNIT_Y "
      "\"counts\"\r\n*MEAS_DATA_COUNT \"4\"\r\n"
      "*RAS_HEADER_END\r\n*RAS_INT_START\r\n";
  const std::string fixture = "*RAS_DATA_START\r\n" + header +
                              "20.00 15 1.0\r\n20.01 16 2.5\r\n20.02 17 1.0\r\n20.03 18 10\r\n*RAS_INT_END\r\n" +
                              header + "20.00 5 1\r\n20.01 6 1\r\n20.02 7 1\r\n20.03 8 1\r\n*RAS_INT_END\r\n" +
                              "*RAS_DATA_END\r\n";
  for (const std::string& path :
       {std::string(TALVO_TEST_DATA) + "/real/rigakuxrd_MB120718Si3.ras", dir.Write("fixture.ras", fixture)}) {
    SCOPED_TRACE(path);
    const Blocks scans = Read_With_Xrayutilities(dir, path);
    ASSERT_FALSE(scans.empty());
    for (std::size_t k = 0; k < scans.size(); ++k) {
      const Store store = Read_Range(Read_Ras, path, static_cast<int32_t>(k + 1));
      EXPECT_EQ(store.Extras.Range_Count, static_cast<int32_t>(scans.size()));
      Expect_Same_Scan(store, scans[k], true);
    }
  }
}

}  // namespace
}  // namespace talvo
