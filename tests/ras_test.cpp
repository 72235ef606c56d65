// Rigaku RAS files: every scan of the file, the one asked for stored.
#include "formats/rigaku/ras.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "core/store.h"
#include "fixtures/read_file.h"

namespace talvo {
namespace {

// One scan's block, its header lines and its point lines as given.
std::string Block(const std::string& header, const std::string& points) {
  return "*RAS_HEADER_START\r\n" + header + "*RAS_HEADER_END\r\n*RAS_INT_START\r\n" + points + "*RAS_INT_END\r\n";
}

const std::string Header =
    "*FILE_SAMPLE \"Si powder\"\r\n"
    "*HW_XG_TARGET_NAME \"Cu\"\r\n"
    "*HW_XG_WAVE_LENGTH_ALPHA1 \"1.540593\"\r\n"
    "*HW_XG_WAVE_LENGTH_ALPHA2 \"1.544414\"\r\n"
    "*MEAS_DATA_COUNT \"3.0000000000\"\r\n"
    "*MEAS_SCAN_AXIS_X \"2-Theta\"\r\n"
    "*MEAS_SCAN_SPEED \"0.2500\"\r\n"
    "*MEAS_SCAN_SPEED_UNIT \"deg/min\"\r\n"
    "*MEAS_SCAN_START_TIME \"11/01/12 12:55:51\"\r\n"
    "*MEAS_SCAN_STEP \"0.0200000000\"\r\n"
    "*MEAS_SCAN_UNIT_Y \"counts\"\r\n";
const std::string Points = "2.0000 7994.0000 1.0000\r\n2.0200 7788.0000 10.0000\r\n2.0400 7984.0000 1.0000\r\n";

std::string File(const std::string& blocks) {
  return "*RAS_DATA_START\r\n" + blocks + "*RAS_DATA_END\r\n";
}

Store Read(const std::string& text, int32_t wanted = 0, Read_Result* result = nullptr) {
  Store store;
  store.Extras.Range_Wanted = wanted;
  const Read_Result read = Read_Ras({"in.ras", "in.ras", std::vector<uint8_t>(text.begin(), text.end())}, store);
  if (result) *result = read;
  return store;
}

std::string Failure_Of(const std::string& text, int32_t wanted = 0) {
  try {
    Read(text, wanted);
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// Each case: a file, the scan asked for (0: none, the first), what is read
// from it.
struct Scan_Case {
  const char* name;
  std::string file;
  int32_t wanted;
  std::vector<float> counts;
  double step;
  std::optional<double> time;
  int32_t scans;
};

const Scan_Case Scan_Cases[] = {
    {"counts times the attenuation factor", File(Block(Header, Points)), 1, {7994, 77880, 7984}, 0.02, 4.8, 1},
    {"LF line ends, two columns", File(Block(Header, "2.0 5\n2.02 6\n2.04 7\n")), 1, {5, 6, 7}, 0.02, 4.8, 1},
    {"counts per second times the time per step",
     File(Block(Replaced(Header, "\"counts\"", "\"cps\""), "2.0 5\n2.02 6\n2.04 7.5\n")),
     1,
     {24, 28.8f, 36},
     0.02,
     4.8,
     1},
    {"a step scan gives seconds per step",
     File(Block(Replaced(Header, "\"deg/min\"", "\"sec\""), "2.0 5\n2.02 6\n2.04 7\n")),
     1,
     {5, 6, 7},
     0.02,
     0.25,
     1},
    {"the second of two scans",
     File(Block(Header, Points) +
          Block(Replaced(Replaced(Header, "\"3.0000000000\"", "\"2\""), "\"0.0200000000\"", "\"0.05\""),
                "40 1\n40.05 2\n")),
     2,
     {1, 2},
     0.05,
     12.0,
     2},
    {"the first of two scans, none asked for",
     File(Block(Header, Points) + Block(Header, Points)),
     0,
     {7994, 77880, 7984},
     0.02,
     4.8,
     2},
    {"no step stated: taken from the angles",
     File(Block(Replaced(Header, "*MEAS_SCAN_STEP \"0.0200000000\"\r\n", ""), "2.0 5\n2.04 6\n2.08 7\n")),
     1,
     {5, 6, 7},
     0.04,
     9.6,
     1},
    {"no speed: no counting time",
     File(Block(Replaced(Header, "*MEAS_SCAN_SPEED \"0.2500\"\r\n", ""), Points)),
     1,
     {7994, 77880, 7984},
     0.02,
     std::nullopt,
     1},
};

TEST(Ras, EachScanComesFromItsBlock) {
  for (const auto& c : Scan_Cases) {
    SCOPED_TRACE(c.name);
    Read_Result result;
    const Store store = Read(c.file, c.wanted, &result);
    EXPECT_EQ(std::vector<float>(store.Intensities.begin() + 1, store.Intensities.end()), c.counts);
    EXPECT_NEAR(store.Step_Size, c.step, 1e-12);
    EXPECT_EQ(store.Start_2Theta, static_cast<float>(store.Extras.Angles[1]));
    ASSERT_EQ(store.Extras.Counting_Time.has_value(), c.time.has_value());
    if (c.time) {
      EXPECT_NEAR(*store.Extras.Counting_Time, *c.time, 1e-12);
    }
    EXPECT_EQ(store.Extras.Range_Count, c.scans);
    EXPECT_EQ(result.warnings.size(), c.scans > 1 && c.wanted == 0 ? 1u : 0u);
  }
}

TEST(Ras, TheMeasurementIsDescribedBesideTheStore) {
  const Store store = Read(File(Block(Header, Points)));
  EXPECT_EQ(store.Lambda1, 1.540593f);
  EXPECT_EQ(store.Lambda2, 1.544414f);
  EXPECT_EQ(store.Extras.K_Alpha1, 1.540593);
  EXPECT_EQ(store.Extras.K_Alpha2, 1.544414);
  EXPECT_EQ(store.Extras.Anode, "Cu");
  EXPECT_EQ(store.Extras.Sample, "Si powder");
  EXPECT_EQ(store.Sample_ID, "Si powder" + std::string(23, ' '));
  EXPECT_EQ(store.Extras.Date, "11/01/12 12:55:51");
  EXPECT_EQ(store.Extras.Source_Type, "Rigaku RAS");
  EXPECT_EQ(store.Extras.Angles, (std::vector<double>{0, 2.0, 2.02, 2.04}));
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 2.04);
}

TEST(Ras, RealFileReadAsItStatesItself) {
  Store store;
  testing::Read_Path(Read_Ras, std::string(TALVO_TEST_DATA) + "/real/rigakuxrd_MB120718Si3.ras", store);
  EXPECT_EQ(store.Nb_Points, 1401);
  EXPECT_EQ(store.Start_2Theta, 2.0f);
  EXPECT_DOUBLE_EQ(store.Step_Size, 0.02);
  EXPECT_EQ(store.Intensities[1], 7994);
  EXPECT_EQ(store.Intensities[1401], 1150);
  EXPECT_DOUBLE_EQ(store.Range_Limits[1], 30.0);
  EXPECT_FLOAT_EQ(store.Time_Step, 4.8f);  // 0.02 degrees at 0.25 degrees per minute
  EXPECT_EQ(store.Lambda1, 1.540593f);
  EXPECT_EQ(store.Extras.Sample, "MB120718Si3");
  EXPECT_EQ(store.Extras.Anode, "Cu");
}

TEST(Ras, ScansOfAnotherAxisAreRefusedByTheirName) {
  EXPECT_EQ(Failure_Of(File(Block(Replaced(Header, "\"2-Theta\"", "\"Omega\""), Points))),
            "in.ras: its scan is driven in Omega, not in 2-theta (a rocking curve, pole figure or map, not a powder "
            "pattern).");
  EXPECT_EQ(Failure_Of(File(Block(Header, Points)), 2), "in.ras holds 1 range; there is no range 2.");
}

}  // namespace
}  // namespace talvo
