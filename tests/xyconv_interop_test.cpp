// Our RAW files as an independent reader sees them: xyconv (Debian's
// libxy-bin) must read the same angles and counts as Talvo.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "core/store.h"
#include "fixtures/raw_builder.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"
#include "formats/diffracplus/raw.h"
#include "formats/text/gsas.h"

namespace talvo {
namespace {

using testing::Raw_Scan;
using testing::Temp_Dir;

struct Point {
  double angle, count;
};

std::vector<Point> Read_With_Xyconv(const Temp_Dir& dir, const std::string& file) {
  const std::string out = dir.Path("xyconv.txt");
  const std::string command = "xyconv -s -t bruker_raw '" + file + "' '" + out + "' 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << "xyconv (package libxy-bin) could not read " << file;
  std::istringstream lines(testing::Read_Text(out));
  std::vector<Point> points;
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Point p{};
    fields >> p.angle >> p.count;
    points.push_back(p);
  }
  return points;
}

void Expect_Same_Scan(const Store& store, const std::vector<Point>& points) {
  ASSERT_EQ(points.size(), static_cast<std::size_t>(store.Nb_Points));
  for (int k = 1; k <= store.Nb_Points; ++k) {
    const double angle = store.Start_2Theta + (k - 1) * store.Step_Size;
    EXPECT_NEAR(points[k - 1].angle, angle, 1e-5) << "point " << k;
    EXPECT_NEAR(points[k - 1].count, store.Intensities[k], 1e-4) << "point " << k;
  }
}

Raw_Scan Scan() {
  Raw_Scan scan;
  scan.start_2theta = 5.5f;
  scan.start_theta = 2.75f;
  scan.step = 0.025f;
  scan.intensities.clear();
  for (int k = 0; k < 200; ++k) scan.intensities.push_back(static_cast<float>(50 + (k * 37) % 113) + 0.25f);
  return scan;
}

TEST(Xyconv_Interop, ReadsOurFixturesAsWeDo) {
  Temp_Dir dir;
  testing::Recording_Platform platform;
  for (int version : {1, 2}) {
    Store store;
    Raw_Scan scan = Scan();
    // xyconv takes a non-zero long at offset 152 of a version 1 file as "another
    // range follows"; a single-range file holds 0 there.
    if (version == 1) scan.ranges = 0;
    const auto bytes = version == 1 ? testing::Raw1_File(scan) : testing::Raw2_File(scan);
    const std::string path = dir.Write("fixture.raw", bytes);
    if (version == 1)
      testing::Read_Path(Read_Raw1, path, store);
    else
      testing::Read_Path(Read_Raw2, path, store);
    SCOPED_TRACE(version);
    Expect_Same_Scan(store, Read_With_Xyconv(dir, path));
  }
}

TEST(Xyconv_Interop, ReadsWhatWeWrite) {
  Temp_Dir dir;
  testing::Recording_Platform platform;
  Store store;
  testing::Read_Path(Read_Raw2, dir.Write("in.raw", testing::Raw2_File(Scan(), 304)), store);
  const std::string out = dir.Path("out.raw");
  Write_Raw2(out, store, platform);
  Expect_Same_Scan(store, Read_With_Xyconv(dir, out));
}

// Real GSAS files, STD and ESD, converted by talvo-convert with the import
// dialog's proposals: xyconv finds the counts of the GSAS file in the RAW file.
TEST(Xyconv_Interop, ReadsRealGsasFilesConvertedToRaw2) {
  for (const std::string name : {"stdnotype_PBSO4.CWN", "esd_Quinoli.gda"}) {
    SCOPED_TRACE(name);
    Temp_Dir dir;
    const std::string gsas = dir.Write(name, testing::Read_Text(std::string(TALVO_TEST_DATA) + "/real/" + name));
    ASSERT_EQ(testing::Run_Convert(dir, "--from gsas --to raw2 -o out.raw " + name).status, 0);
    Store store;
    testing::Recording_Platform platform;
    testing::Read_Path(Read_Gsas, gsas, store);
    Expect_Same_Scan(store, Read_With_Xyconv(dir, dir.Path("out.raw")));
  }
}

}  // namespace
}  // namespace talvo
