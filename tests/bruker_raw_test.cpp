// RAW versions 3 and 4 under "Bruker RAW (versions 1 to 4)", against files
// built from the layouts and real files; versions 1 and 2 as the system's
// readers read them.
#include <gtest/gtest.h>

#include <functional>

#include "core/failure.h"
#include "core/messages.h"
#include "core/store.h"
#include "core/text32.h"
#include "fixtures/format_session.h"
#include "fixtures/raw34_builder.h"
#include "fixtures/raw_builder.h"
#include "formats/bruker/raw_any.h"
#include "formats/diffracplus/raw.h"

namespace talvo {
namespace {

using testing::Raw34_Range;
using testing::Raw34_Scan;
using Bytes = std::vector<uint8_t>;
using Build = std::function<Bytes(const Raw34_Scan&)>;

const Build V3 = testing::Raw3_File;
const Build V4 = testing::Raw4_File;

Store Read(const Bytes& bytes, int32_t wanted = 0, Read_Result* result = nullptr) {
  Store store;
  store.Extras.Range_Wanted = wanted;
  const Read_Result read = Read_Raw_Any({"in.raw", "in.raw", bytes}, store);
  if (result) *result = read;
  return store;
}

std::string Failure_Of(const Bytes& bytes, int32_t wanted = 0) {
  try {
    Read(bytes, wanted);
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "";
}

Raw34_Range Range(double start, double step, float time, std::vector<float> counts) {
  Raw34_Range range;
  range.start = start;
  range.step = step;
  range.time = time;
  range.counts = std::move(counts);
  return range;
}

Raw34_Scan Two_Ranges() {
  Raw34_Scan scan;
  scan.ranges = {Range(10, 0.02, 4, {11, 12, 13, 14}), Range(80, 0.05, 12, {21, 22.5f})};
  return scan;
}

// Each case: a file, the range asked for (0: none, the first is read with a
// warning when the file holds more), and the range read from it.
struct Range_Case {
  const char* name;
  Build build;
  std::function<void(Raw34_Scan&)> change;
  int32_t wanted;
  double start, step;
  float time;
  std::vector<float> counts;
  int32_t range_count;
};

const Range_Case Range_Cases[] = {
    {"v3 one range", V3, [](Raw34_Scan&) {}, 0, 10, 0.02, 2.5f, {120, 340.5f, 98}, 1},
    {"v3 first of two", V3, [](Raw34_Scan& s) { s = Two_Ranges(); }, 0, 10, 0.02, 4, {11, 12, 13, 14}, 2},
    {"v3 first of two, asked for", V3, [](Raw34_Scan& s) { s = Two_Ranges(); }, 1, 10, 0.02, 4, {11, 12, 13, 14}, 2},
    {"v3 second of two", V3, [](Raw34_Scan& s) { s = Two_Ranges(); }, 2, 80, 0.05, 12, {21, 22.5f}, 2},
    {"v3 supplementary header skipped",
     V3,
     [](Raw34_Scan& s) {
       s = Two_Ranges();
       s.ranges[0].extra = 40;
       s.ranges[1].extra = 8;
     },
     2,
     80,
     0.05,
     12,
     {21, 22.5f},
     2},
    {"v4 one range", V4, [](Raw34_Scan&) {}, 1, 10, 0.02, 2.5f, {120, 340.5f, 98}, 1},
    {"v4 second of two", V4, [](Raw34_Scan& s) { s = Two_Ranges(); }, 2, 80, 0.05, 12, {21, 22.5f}, 2},
    {"v4 sub-header of other bytes skipped",
     V4,
     [](Raw34_Scan& s) {
       s = Two_Ranges();
       s.ranges[0].extra = 300;
       s.ranges[1].extra = 0;
     },
     2,
     80,
     0.05,
     12,
     {21, 22.5f},
     2},
    {"v4 no scan type: the drive segment names 2Theta",
     V4,
     [](Raw34_Scan& s) { s.ranges[0].scan_type = ""; },
     1,
     10,
     0.02,
     2.5f,
     {120, 340.5f, 98},
     1},
    {"v4 detector scan",
     V4,
     [](Raw34_Scan& s) { s.ranges[0].scan_type = "Detector Scan"; },
     1,
     10,
     0.02,
     2.5f,
     {120, 340.5f, 98},
     1},
};

TEST(Bruker_Raw, EachRangeComesFromItsOwnHeaderAndCounts) {
  for (const auto& c : Range_Cases) {
    SCOPED_TRACE(c.name);
    Raw34_Scan scan;
    c.change(scan);
    Read_Result result;
    const Store store = Read(c.build(scan), c.wanted, &result);
    ASSERT_EQ(store.Nb_Points, static_cast<int32_t>(c.counts.size()));
    EXPECT_EQ(std::vector<float>(store.Intensities.begin() + 1, store.Intensities.end()), c.counts);
    EXPECT_EQ(store.Start_2Theta, static_cast<float>(c.start));
    EXPECT_EQ(store.Step_Size, c.step);  // the file's double, not a float widened
    EXPECT_EQ(store.Time_Step, c.time);
    EXPECT_EQ(store.Extras.Counting_Time, static_cast<double>(c.time));
    EXPECT_DOUBLE_EQ(store.Range_Limits[1], c.start + (c.counts.size() - 1) * c.step);
    EXPECT_EQ(store.Extras.Range_Count, c.range_count);
    const bool warned = c.range_count > 1 && c.wanted == 0;
    ASSERT_EQ(result.warnings.size(), warned ? 1u : 0u);
    if (warned) {
      EXPECT_EQ(result.warnings[0].text,
                "in.raw holds 2 ranges; range 1 was converted (talvo-convert --range N takes another, --range all "
                "each one).");
    }
  }
}

TEST(Bruker_Raw, TheMeasurementIsDescribedBesideTheStore) {
  for (const auto& [version, build] : {std::pair{3, V3}, {4, V4}}) {
    SCOPED_TRACE(version);
    Raw34_Scan scan;
    scan.sample = "Kaolinite, Keokuk, Bish#1, -325, SBPM, 2B";
    const Store store = Read(build(scan));
    EXPECT_EQ(store.Lambda1, 1.5406f);
    EXPECT_EQ(store.Lambda2, 1.54439f);
    EXPECT_EQ(store.Extras.K_Alpha1, 1.5406);
    EXPECT_EQ(store.Extras.K_Alpha2, 1.54439);
    EXPECT_EQ(store.Extras.K_Ratio, 0.5);
    EXPECT_EQ(store.Extras.Anode, "Cu");
    EXPECT_EQ(store.Extras.Sample, scan.sample);
    EXPECT_EQ(store.Sample_ID, "Kaolinite, Keokuk, Bish#1, -325,");  // cut at 32
    EXPECT_EQ(store.Extras.Date, "14/03/88 10:20:30");
    EXPECT_EQ(store.Extras.Source_Type, "Bruker RAW (versions 1 to 4)");
    EXPECT_EQ(store.Is_Peak_List, False16);
  }
}

TEST(Bruker_Raw, WithoutKAlpha1TheWavelengthUsedIsTaken) {
  for (const auto& build : {V3, V4}) {
    Raw34_Scan scan;
    scan.alpha1 = scan.alpha2 = 0;
    scan.ranges[0].used_lambda = 0.70930;
    const Store store = Read(build(scan));
    EXPECT_EQ(store.Lambda1, 0.70930f);
    EXPECT_EQ(store.Lambda2, 0.70930f);
    EXPECT_FALSE(store.Extras.K_Alpha1.has_value());
  }
}

TEST(Bruker_Raw, ScansLongerThanSixteenBitsAreReadWhole) {
  for (const auto& build : {V3, V4}) {
    Raw34_Scan scan;
    scan.ranges[0].counts.assign(40000, 7.0f);
    scan.ranges[0].counts.back() = 9.0f;
    const Store store = Read(build(scan));
    EXPECT_EQ(store.Nb_Points, 40000);
    EXPECT_EQ(store.Intensities[40000], 9.0f);
  }
}

TEST(Bruker_Raw, Versions1And2AreReadAsTheSystemReadsThem) {
  testing::Raw_Scan scan;
  scan.ranges = 3;
  const std::pair<Bytes, testing::Read_Fn> versions[] = {{testing::Raw1_File(scan), Read_Raw1},
                                                         {testing::Raw2_File(scan, 304), Read_Raw2}};
  for (const auto& [bytes, reader] : versions) {
    Store expected;
    reader({"in.raw", "in.raw", bytes}, expected);
    Store store = Read(bytes);
    EXPECT_EQ(store.Extras.Source_Type, "Bruker RAW (versions 1 to 4)");
    store.Extras.Source_Type.clear();
    EXPECT_EQ(store, expected);
    EXPECT_EQ(Failure_Of(bytes, 2),
              "in.raw is a RAW version " + std::string(reader == Read_Raw1 ? "1" : "2") +
                  " file, of which only the first range is read; there is no range 2 to convert.");
  }
}

TEST(Bruker_Raw, RangesThatAreNoPowderPatternAreRefusedByTheirDrive) {
  Raw34_Scan rocking;
  rocking.ranges[0].scan_type = "Rocking Curve";
  Raw34_Scan omega;
  omega.ranges[0].scan_type = "";
  omega.ranges[0].drive_name = "Omega";
  const struct {
    Bytes file;
    int32_t wanted;
    std::string message;
  } refusals[] = {
      {V4(rocking), 1,
       "in.raw: its scan is driven in Rocking Curve, not in 2-theta (a rocking curve, pole figure or map, not a "
       "powder pattern)."},
      {V4(omega), 1,
       "in.raw: its scan is driven in Omega, not in 2-theta (a rocking curve, pole figure or map, not a powder "
       "pattern)."},
      {V3(Two_Ranges()), 3, "in.raw holds 2 ranges; there is no range 3."},
      {V4(Two_Ranges()), -1, "in.raw holds 2 ranges; there is no range -1."},
      {Bytes{'R', 'A', 'W', '3', '.', '0', '0', 0}, 1,
       "in.raw is not a Bruker RAW file: it begins with none of \"RAW \", \"RAW2\", \"RAW1.01\" (version 3) and "
       "\"RAW4.00\" (version 4)."},
  };
  for (const auto& refusal : refusals) EXPECT_EQ(Failure_Of(refusal.file, refusal.wanted), refusal.message);
}

// The system's types keep their refusals of the newer versions.
TEST(Bruker_Raw, TheSystemTypesStillRefuseVersions3And4) {
  testing::Temp_Dir dir;
  const struct {
    Bytes file;
    const char* type;
    const char* message;
  } cases[] = {
      {V3(Raw34_Scan{}), "Diffrac-Plus RAW", text::Raw3_Not_Supported},
      {V4(Raw34_Scan{}), "Diffrac-Plus RAW", text::Not_Raw},
      {V3(Raw34_Scan{}), "Automatic (by signature)", text::Unknown_Signature_Convert},
      {V4(Raw34_Scan{}), "Automatic (by signature)", text::Unknown_Signature_Convert},
  };
  for (const auto& c : cases) {
    testing::Format_Session session;
    EXPECT_EQ(session.Convert(c.type, "Formatted text (RAW)", dir.Write("in.raw", c.file), dir.Path("out.txt")),
              Outcome::Refused);
    ASSERT_EQ(session.platform.messages.size(), 1u);
    EXPECT_EQ(session.platform.messages[0].text, c.message);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.txt")));
  }
}

// Real files (tests/data/real/README.md): what they state of each range.
struct Real_Range {
  const char* file;
  int32_t range, ranges, points;
  double start, step;
  float time, first, last;
  float lambda1;
  const char* sample;
};

const Real_Range Real_Ranges[] = {
    {"g2tut_Keokuk_kaolinite.RAW", 1, 2, 4001, 10, 0.02, 4, 29, 54, 1.5406f,
     "Kaolinite, Keokuk, Bish#1, -325, SBPM, 2B"},
    {"g2tut_Keokuk_kaolinite.RAW", 2, 2, 3501, 80, 0.02, 12, 259, 197, 1.5406f,
     "Kaolinite, Keokuk, Bish#1, -325, SBPM, 2B"},
    {"Cu3Au-1.raw", 1, 1, 3901, 22, 0.02, 0.5f, 48, 11, 1.5406f, "Cu3Au-1"},
    {"datalab_RAW4_TiO2.raw", 1, 1, 1647, 10, 0.036477, 77.9f, 557, 328, 1.5406f, "TiO2"},
};

TEST(Bruker_Raw, RealFilesReadAsTheyStateThemselves) {
  for (const auto& real : Real_Ranges) {
    SCOPED_TRACE(std::string(real.file) + " range " + std::to_string(real.range));
    Store store;
    store.Extras.Range_Wanted = real.range;
    testing::Read_Path(Read_Raw_Any, std::string(TALVO_TEST_DATA) + "/real/" + real.file, store);
    EXPECT_EQ(store.Nb_Points, real.points);
    EXPECT_EQ(store.Extras.Range_Count, real.ranges);
    EXPECT_EQ(store.Start_2Theta, static_cast<float>(real.start));
    EXPECT_NEAR(store.Step_Size, real.step, 1e-6);
    EXPECT_EQ(store.Time_Step, real.time);
    EXPECT_EQ(store.Intensities[1], real.first);
    EXPECT_EQ(store.Intensities.back(), real.last);
    EXPECT_EQ(store.Lambda1, real.lambda1);
    EXPECT_EQ(store.Extras.Sample, real.sample);
  }
}

}  // namespace
}  // namespace talvo
