#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "core/failure.h"
#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "synthesis/noise.h"
#include "synthesis/peaks_to_scan.h"
#include "synthesis/profiles.h"

namespace talvo {
namespace {

using testing::Recording_Platform;

// One peak of intensity 100 at 30 over 20..40 in steps of 0.01: 2000 points,
// point k at 20 + (k - 1) / 100.
class Synthesis : public ::testing::Test {
 protected:
  Synthesis() {
    store.Is_Peak_List = True16;
    store.Nb_Peaks = 1;
    store.Peaks[1] = {30, 100};
    store.Range_Limits = {20, 40};
    store.Step_Size = 0.01;
  }
  void Run(int16_t profile) {
    store.Profile_Function = profile;
    // As the conversion runs it: prepared, the dialog, computed.
    Prepare_Synthesis(store);
    platform.Show_Dif2Raw(store, Dif2Raw_Opening::Before_Synthesis);
    Synthesise_Scan(store);
  }
  double At(double two_theta) const {
    return store.Intensities[static_cast<std::size_t>(std::lround((two_theta - 20) * 100)) + 1];
  }
  Store store;
  Recording_Platform platform;
};

TEST_F(Synthesis, TheDialogOpensOnTheRangeAndTheScanFollowsItsValues) {
  store.Range_Limits = {19.4, 40.6};
  store.Step_Size = 0.02;
  platform.on_dif2raw = [](Store& s) {
    EXPECT_EQ(s.Start_2Theta, 19.4f);
    EXPECT_EQ(s.Start_Theta, static_cast<float>(19.4 / 2));
    EXPECT_EQ(s.Nb_Points, 1060);
    s.Range_Limits = {20, 40};  // as the dialog leaves them
    s.Nb_Points = 2000;
  };
  Run(1);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"dif2raw"}));
  EXPECT_EQ(platform.dif2raw_opening, Dif2Raw_Opening::Before_Synthesis);
  ASSERT_EQ(store.Intensities.size(), 2001u);
  EXPECT_EQ(store.Intensities[0], 0);
  EXPECT_EQ(store.Is_Peak_List, True16);
  EXPECT_EQ(store.Nb_Peaks, 1);
  EXPECT_GE(At(30.00), 1010);
  EXPECT_LT(At(30.00), 1013);
  for (double t : {29.85, 30.15}) {
    EXPECT_GE(At(t), 510) << t;
    EXPECT_LT(At(t), 513) << t;
  }
  for (double t : {20.0, 25.0, 35.0, 39.99}) {
    EXPECT_GE(At(t), 10) << t;
    EXPECT_LT(At(t), 13) << t;
  }
  float max = 0;
  for (std::size_t k = 1; k < store.Intensities.size(); ++k) max = std::max(max, store.Intensities[k]);
  EXPECT_EQ(store.Max_Intensity, max);
}

// The formula evaluated on its own, for a noise-free scan over a
// background of 10: height A at the peak, A / 2 half a width away.
TEST_F(Synthesis, EachProfileMatchesItsFormulaAtChosenPoints) {
  store.Noise_Height = 0;
  const double m = std::exp(1.0);
  auto gauss = [](double u) { return std::exp(-u * u * std::log(2.0)); };
  auto lorentz = [](double u) { return 1 / (1 + u * u); };
  auto pearson = [m](double u) { return std::exp(-m * std::log1p((std::pow(2.0, 1 / m) - 1) * u * u)); };
  const std::vector<std::function<double(double)>> profiles = {gauss, lorentz, pearson};
  for (int16_t profile = 1; profile <= 3; ++profile) {
    Run(profile);
    for (double t : {30.0, 29.85, 30.15, 30.05, 31.0, 20.0, 39.99}) {
      const double u = ((40.0 - 20) * std::lround((t - 20) * 100) / 2000 + 20 - 30) / (0.3f * 0.5);
      EXPECT_FLOAT_EQ(At(t), 10 + 1000 * profiles[profile - 1](u)) << profile << " at " << t;
    }
    EXPECT_EQ(At(30.0), 1010);
    EXPECT_NEAR(At(29.85), 510, 1e-3);
  }
}

TEST_F(Synthesis, TailsAreOrderedLorentzPearsonGauss) {
  store.Noise_Height = 0;
  std::vector<double> tails;
  for (int16_t profile : {2, 3, 1}) {
    Run(profile);
    tails.push_back(At(31.0));
    EXPECT_EQ(At(30.0), 1010) << profile;
  }
  EXPECT_GT(tails[0], tails[1]);
  EXPECT_GT(tails[1], tails[2]);
}

TEST_F(Synthesis, NoiseLiesInItsBandAndContinuesFromCallToCall) {
  Run(1);
  const auto first = store.Intensities;
  bool varied = false;
  for (int k = 1; k <= 400; ++k) {
    EXPECT_GE(first[k], 10);
    EXPECT_LT(first[k], 13);
    varied = varied || first[k] != first[1];
  }
  EXPECT_TRUE(varied);
  Run(1);
  EXPECT_NE(store.Intensities, first);
}

TEST(Noise, TheSequenceIsFixedAndItsValuesAre24BitFractions) {
  Noise_Sequence a, b;
  for (int i = 0; i < 100000; ++i) {
    const float r = a.Next();
    ASSERT_EQ(r, b.Next());
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    ASSERT_EQ(r * 0x1p24f, std::floor(r * 0x1p24f));
  }
  // The first value of every program start: 24 bits of the standard
  // Mersenne twister's first output, 3499211612.
  EXPECT_EQ(Noise_Sequence().Next(), static_cast<float>(3499211612u >> 8) / 16777216.0f);
}

TEST_F(Synthesis, WithoutNoiseThePointsFarFromPeaksAreTheBackgroundExactly) {
  store.Noise_Height = 0;
  store.Bkg_Level = 7.25f;
  Run(1);
  EXPECT_EQ(At(20.0), 7.25f);
  EXPECT_EQ(At(39.0), 7.25f);
}

TEST_F(Synthesis, AnUnknownProfileGivesBackgroundAndNoiseOnly) {
  for (int16_t profile : {0, 4}) {
    Run(profile);
    for (double t : {20.0, 30.0}) {
      EXPECT_GE(At(t), 10);
      EXPECT_LT(At(t), 13);
    }
  }
}

TEST_F(Synthesis, AnEmptyPeakTableLeavesEveryPointAtZero) {
  store.Nb_Peaks = 0;
  Run(1);
  ASSERT_EQ(store.Intensities.size(), 2001u);
  for (float v : store.Intensities) ASSERT_EQ(v, 0);
  EXPECT_EQ(store.Max_Intensity, 0);
}

TEST_F(Synthesis, PeaksAddPointByPointRoundedAfterEach) {
  store.Noise_Height = 0;
  store.Nb_Peaks = 2;
  store.Peaks[2] = {30.1, 50};
  Run(2);
  const double h = 0.3f * 0.5;
  const double u1 = ((40.0 - 20) * 1005 / 2000 + 20 - 30) / h, u2 = ((40.0 - 20) * 1005 / 2000 + 20 - 30.1) / h;
  const float after_first = static_cast<float>(10 + 1000 / (1 + u1 * u1));
  EXPECT_EQ(At(30.05), static_cast<float>(after_first + 500 / (1 + u2 * u2)));
}

TEST_F(Synthesis, ParametersThatGiveNoScanStopTheSynthesis) {
  platform.on_dif2raw = [](Store& s) { s.Nb_Points = 0; };
  EXPECT_THROW(Run(1), Failure);
  platform.on_dif2raw = [](Store& s) { s.FWHM = 0; };
  EXPECT_THROW(Run(1), Failure);
}

// Distance in ulps between two non-negative doubles.
uint64_t Ulps(double a, double b) {
  const auto i = std::bit_cast<uint64_t>(a), j = std::bit_cast<uint64_t>(b);
  return i > j ? i - j : j - i;
}

TEST(Profile_Steps, TheShapeConstantsAreEAndTwoToItsInverseLessOne) {
  EXPECT_EQ(Pearson_M(), 2.718281828459045);
  EXPECT_LE(Ulps(Pearson_C(), std::exp2(1 / Pearson_M()) - 1), 1u);
}

// Over the whole range the profiles meet: 1 + c u^2 from 1 to infinity,
// -u^2 from 0 to where 2^-u^2 is 0; log-spread and edge arguments.
TEST(Profile_Steps, PowerAndExp2AreWithinOneUlpOfTheLibrary) {
  std::mt19937_64 random(17);
  std::uniform_real_distribution<double> exponent(-30, 1023.9), fraction(0, 1);
  std::vector<double> powers = {1,     std::nextafter(1.0, 2.0),          1 + Pearson_C(), 2, 1e10, 1e113,
                                1e200, std::numeric_limits<double>::max()};
  std::vector<double> exp2s = {0, -0.0, -1e-300, -0x1p-30, -0.5, -1, -1021.7, -1022, -1060.3, -1074, -1074.5};
  for (int i = 0; i < 400000; ++i) {
    powers.push_back(std::max(1.0, 1 + std::exp2(exponent(random))));
    exp2s.push_back(-1075 * fraction(random) * fraction(random));
  }
  uint64_t worst = 0;
  for (double x : powers) {
    worst = std::max(worst, Ulps(Pearson_Power(x), std::pow(x, Pearson_M())));
    ASSERT_LE(worst, 1u) << std::hexfloat << x;
  }
  for (double t : exp2s) {
    worst = std::max(worst, Ulps(Gauss_Exp2(t), std::exp2(t)));
    ASSERT_LE(worst, 1u) << std::hexfloat << t;
  }
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(Pearson_Power(1), 1);
  EXPECT_EQ(Pearson_Power(1e114), inf);  // beyond the largest double
  EXPECT_EQ(Pearson_Power(inf), inf);
  EXPECT_TRUE(std::isnan(Pearson_Power(std::nan(""))));
  EXPECT_EQ(Gauss_Exp2(0), 1);
  EXPECT_TRUE(std::isnan(Gauss_Exp2(std::nan(""))));
  for (double t : {-1075.5, -1089.0, -1e300, -inf}) EXPECT_EQ(std::bit_cast<uint64_t>(Gauss_Exp2(t)), 0u) << t;
}

// Every kernel the machine has and several threads against the
// straightforward loop, bit for bit, without noise: the scan a lab gets
// from a peak list must not depend on the processor.
class Synthesise_Bits : public ::testing::Test {
 protected:
  struct Case {
    const char* name;
    std::vector<Peak> peaks;
    float fwhm = 0.3f, bkg = 10;
    double r0 = 5, r1 = 75;
    int32_t n = 9001;
  };
  static std::vector<Peak> Spread(int count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(2, 80), intensity(0.5, 100);
    std::vector<Peak> peaks(count);
    for (auto& peak : peaks) peak = {angle(random), intensity(random)};
    return peaks;
  }
  // Checks one case through every kernel and thread count; returns the
  // straightforward scan.
  static std::vector<float> Check(const Case& c, int16_t profile) {
    Synthesis_Params params{.peaks = c.peaks,
                            .r0 = c.r0,
                            .r1 = c.r1,
                            .n = c.n,
                            .fwhm = c.fwhm,
                            .profile = Profile_Of(profile),
                            .bkg = c.bkg,
                            .noise = 0};
    Noise_Sequence noise;
    const auto straight = Synthesise_Straight(params, noise);
    for (Kernel kernel : {Kernel::Widest, Kernel::Avx2, Kernel::Portable}) {
      for (int threads : {1, 2, 3}) {
        params.kernel = kernel;
        params.threads = threads;
        const auto fast = Synthesise(params, noise);
        EXPECT_EQ(fast.size(), straight.size());
        for (std::size_t k = 0; k < std::min(fast.size(), straight.size()); ++k) {
          if (std::bit_cast<uint32_t>(fast[k]) == std::bit_cast<uint32_t>(straight[k])) continue;
          ADD_FAILURE() << c.name << ", profile " << profile << ", kernel " << static_cast<int>(kernel) << ", "
                        << threads << " threads: point " << k << " is " << fast[k] << ", not " << straight[k];
          break;
        }
      }
    }
    return straight;
  }
};

TEST_F(Synthesise_Bits, EveryKernelAndThreadCountGivesTheStraightforwardPoints) {
  std::vector<Peak> with_negative = Spread(120);
  with_negative[0].Intensity = -20;  // far from it, the first peak adds -0
  with_negative[7].Intensity = 0;
  const std::vector<Case> cases = {
      {"spread", Spread(120)},
      {"narrow", Spread(120), 0.01f},
      {"wide over a high background", Spread(120), 2.5f, 1000},
      {"negative width", Spread(120), -0.3f},
      {"a negative and a zero peak", with_negative},
      {"zero background", Spread(120), 0.3f, 0},
      {"-0 background", with_negative, 0.3f, -0.0f},
      {"-0 points between two peaks", {{10, -20}, {60, 50}}, 0.3f, -0.0f},
      {"peaks outside the range", {{-40, 100}, {120, 80}, {75, 30}}, 0.3f, 10},
      {"one point", {{30, 100}, {30.5, 1}}, 0.3f, 10, 30, 30.01, 1},
      {"the largest scan", Spread(40), 0.05f, 10, 0, 140, Max_Points},
      // Where quotients could underflow or overflow, and where not.
      {"extreme positions", {{1e-310, 50}, {30, 100}, {1e305, 10}, {-1e200, 5}}},
      {"a range near 0", {{0, 100}, {1e-290, 50}}, 0.3f, 10, -1e-295, 1e-295, 2000},
      {"a tiny width", Spread(120), 1e-30f},
      // A negative step: the points run down from r0.
      {"falling", Spread(120), 0.3f, 10, 75, 5},
      {"falling, narrow", Spread(120), 0.01f, 10, 80, 2, 3900},
  };
  for (int16_t profile : {1, 2, 3, 5})
    for (const auto& c : cases) Check(c, profile);
}

// The skip rule at the edges of its invariants (see profiles.cpp).
TEST_F(Synthesise_Bits, TheSkipRuleHoldsAtTheEdgesOfItsInvariants) {
  // A point that stops rising: a negative peak pulls the points near 15
  // from 1000 to 0.01, where a far peak of Pearson VII tail, too small to
  // change a value of 1000, changes them.
  const Case falling{"falling", {{29, 1}, {15, -99.999}, {25, 2}}, 0.3f, 1000, 0, 30, 3000};
  const auto scan = Check(falling, 3);
  const auto without_far_peak = Check({"falling", {{29, 1}, {15, -99.999}}, 0.3f, 1000, 0, 30, 3000}, 3);
  EXPECT_LT(scan[1501], 0.1f);  // at 15
  EXPECT_NE(scan[1501], without_far_peak[1501]);
  // -0: a first peak of negative height leaves -0 far from it, and a
  // later peak's +0 there makes it +0.
  const auto signed_zero = Check({"-0", {{10, -20}, {60, 50}}, 0.3f, -0.0f, 0, 70, 7000}, 1);
  EXPECT_EQ(std::bit_cast<uint32_t>(signed_zero[3500]), 0u);
  // A contribution exactly at half a float step (a tie, rounding up to the
  // even neighbour), at the eighth the rule stops at, and just below half,
  // on points of 1024 + q (q = 2^-13, the float step there), from a peak
  // sitting on a point at the edge of a block of 1024 points or inside one.
  const float q = 0x1p-13f, odd = 1024 + q;
  for (int16_t profile : {1, 3}) {
    for (int32_t k : {1024, 1025, 1500}) {
      const double p = 30.0 * (k - 1) / 3000;
      for (auto [share, steps] : {std::pair{0.5, 1}, {0.125, 0}, {0.5 - 0x1p-20, 0}}) {
        const Case edge{"edge", {{200, 1}, {p, q * share / 10}}, 0.001f, odd, 0, 30, 3000};
        const auto y = Check(edge, profile);
        EXPECT_EQ(y[k], odd + static_cast<float>(steps) * q)
            << std::hexfloat << y[k] << " " << profile << " " << k << " " << share;
        EXPECT_EQ(y[k + 1], odd);
      }
    }
  }
}

}  // namespace
}  // namespace talvo
