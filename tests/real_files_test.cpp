// Files from real instruments and other programs (tests/data/real/, origin in
// its README): what Talvo reads is checked against what the files say.
#include <gtest/gtest.h>

#include "core/failure.h"
#include "core/store.h"
#include "core/text32.h"
#include "core/uneven_steps.h"
#include "fixtures/format_session.h"
#include "formats/diffracplus/raw.h"
#include "formats/diffracplus/uxd.h"
#include "formats/text/gsas.h"
#include "formats/text/scans.h"

namespace talvo {
namespace {

using testing::Read_Fn;
using testing::Recording_Platform;

std::string Real(const std::string& name) {
  return std::string(TALVO_TEST_DATA) + "/real/" + name;
}

Store Read_Real(Read_Fn reader, const std::string& name) {
  Store store;
  Recording_Platform platform;
  testing::Read_Path(reader, Real(name), store);
  return store;
}

struct Real_Scan {
  const char* file;
  Read_Fn reader;
  int32_t points;
  double start, step;
  float first, last;
  float lambda1;  // 0: the reader's proposal is not checked
  const char* sample;
};

// First and last counts, start and step as the files write them.
const Real_Scan Real_Scans[] = {
    {"esd_Quinoli.gda", Read_Gsas, 7361, 7.5, 0.004, 345.2f, 196.7f, 0, "3-aminoquinoline"},
    {"stdnotype_PBSO4.CWN", Read_Gsas, 2919, 10.0, 0.05, 220, 450, 0, "10.0    0.05    155.9   CPD RRRR"},
    {"BT86_.UXD", Read_Uxd, 2374, 3.0, 0.015592, 187, 269, 1.5406f, "BT86"},
    {"xylibgsoc_sample2.uxd", Read_Uxd, 876, 4.98, 0.04, 665, 266, 1.5406f, "VINAIGRE"},
    {"dash_Tutorial_4.xye", Read_Xye, 2701, 7.0, 0.02, 3690, 331, 1.78897f, nullptr},
    {"easydiff_D1A_ILL_hashtitle.xye", Read_Xye, 2201, 10.0, 0.05, 220, 312, 1.54051f, nullptr},
    // Twenty comment lines before "BANK 1 49493 49493 CONS 50.000000 0.099987  0 0 FXYE".
    {"fxye_11bmb_8714.fxye", Read_Gsas, 49493, 0.5, 0.00099987, 142.728866f, 36.695248f, 0,
     "/home/beams/S11BM/data/jul12/11b"},
    {"g2tut_Cr2WO6_T4K_xye.dat", Read_Xye, 1749, 8.0, 0.075, 57.999f, 69.357f, 1.54051f, nullptr},
};

TEST(Real_Files, ScansReadAsTheFilesWriteThem) {
  for (const auto& real : Real_Scans) {
    SCOPED_TRACE(real.file);
    const Store store = Read_Real(real.reader, real.file);
    EXPECT_EQ(store.Nb_Points, real.points);
    ASSERT_EQ(store.Intensities.size(), static_cast<std::size_t>(real.points) + 1);
    EXPECT_EQ(store.Intensities[1], real.first);
    EXPECT_EQ(store.Intensities.back(), real.last);
    EXPECT_NEAR(store.Range_Limits[0], real.start, 1e-9);
    EXPECT_EQ(store.Start_2Theta, static_cast<float>(real.start));
    EXPECT_NEAR(store.Step_Size, real.step, 1e-9);
    EXPECT_EQ(store.Is_Peak_List, False16);
    if (real.lambda1 != 0) {
      EXPECT_EQ(store.Lambda1, real.lambda1);
    }
    if (real.sample) {
      EXPECT_EQ(store.Sample_ID, Fit32(real.sample));
    }
  }
}

TEST(Real_Files, TheUxdExportHoldsExactlyTheCountsOfItsRawFile) {
  const Store raw = Read_Real(Read_Raw1, "xylibgsoc_sample2.raw");
  const Store uxd = Read_Real(Read_Uxd, "xylibgsoc_sample2.uxd");
  EXPECT_EQ(uxd.Nb_Points, raw.Nb_Points);
  EXPECT_EQ(uxd.Intensities, raw.Intensities);
  EXPECT_EQ(uxd.Start_2Theta, raw.Start_2Theta);
  EXPECT_NEAR(uxd.Step_Size, raw.Step_Size, 1e-6);
  EXPECT_EQ(uxd.Time_Step, raw.Time_Step);
}

TEST(Real_Files, TimeOfFlightPoleFiguresAndOtherLayoutsAreRefused) {
  const struct {
    const char* file;
    Read_Fn reader;
    const char* message;
  } refusals[] = {
      {"alt_tof_gem05984.gss", Read_Gsas,
       "alt_tof_gem05984.gss holds time-of-flight data, not an angle scan; nothing was read."},
      {"g2tut_PG3_20255-4_10K_mantid.xye", Read_Xye,
       "g2tut_PG3_20255-4_10K_mantid.xye holds a scan over time-of-flight, not 2-theta: its header says so on line "
       "3 (\"' The X-axis unit is: Time-of-flight\"); nothing was read."},
      {"mtex_bruker.UXD", Read_Uxd,
       "mtex_bruker.UXD holds a scan driven in PHI, not in 2-theta (a pole figure or a rocking curve), in its first "
       "range; nothing was read."},
      {"datalab_example_evadiffract.xy", Read_Text_Raw,
       "datalab_example_evadiffract.xy gives 4.852 as its number of points, which is not a whole number: it is not "
       "a \"Formatted text (RAW)\" file, which holds a title line, the counting time per step, the number of "
       "points, then that many pairs of 2-theta and intensity."},
  };
  for (const auto& refusal : refusals) {
    try {
      Read_Real(refusal.reader, refusal.file);
      ADD_FAILURE() << refusal.file << " was read";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.what(), std::string(refusal.message));
    }
  }
}

// The angles each file lists, against those written from its start and the
// step of its first two points.
TEST(Real_Files, ListedAnglesAreKeptAndUnevenStepsSaid) {
  const Store fxye = Read_Real(Read_Gsas, "fxye_11bmb_8714.fxye");
  ASSERT_EQ(fxye.Extras.Angles.size(), 49494u);
  EXPECT_DOUBLE_EQ(fxye.Extras.Angles[49493], 49.98543193);
  EXPECT_DOUBLE_EQ(fxye.Extras.Uncertainties[1], 17.503056);
  EXPECT_DOUBLE_EQ(fxye.Extras.Counts[1], 142.728866);
  EXPECT_FALSE(Uneven_Steps_Warning("fxye_11bmb_8714.fxye", fxye));  // within 0.00014 degrees
  const Store uneven = Read_Real(Read_Xye, "g2tut_Cr2WO6_T4K_xye.dat");
  EXPECT_DOUBLE_EQ(uneven.Extras.Angles[1749], 128.694);
  EXPECT_DOUBLE_EQ(uneven.Extras.Uncertainties[1749], 5.889);
  EXPECT_EQ(Uneven_Steps_Warning("g2tut_Cr2WO6_T4K_xye.dat", uneven).value_or(""),
            "g2tut_Cr2WO6_T4K_xye.dat: its steps run from 0.028 to 0.108 degrees; written with the step of its first "
            "two points, its angles differ from the file's by up to 10.65 degrees (point 1717).");
}

}  // namespace
}  // namespace talvo
