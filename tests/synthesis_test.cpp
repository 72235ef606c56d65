#include <gtest/gtest.h>

#include <bit>
#include <cmath>
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

// The fast evaluation gives the straightforward one's points bit for bit,
// or one 32-bit step beside them where a vector routine rounds its power
// differently. The peaks are spread over the range and lie beyond it too;
// the cases cover the skipped far tails, negative contributions, starting
// values of zero and of -0, and the threads.
TEST(Synthesise, AgreesWithTheStraightforwardLoopForEveryProfile) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> angle(2, 80), intensity(0.5, 100);
  std::vector<Peak> peaks(120);
  for (auto& peak : peaks) peak = {angle(random), intensity(random)};
  std::vector<Peak> with_negative = peaks;
  with_negative[0].Intensity = -20;  // far from it, the first peak adds -0
  with_negative[7].Intensity = 0;
  const std::vector<Peak> sparse = {{10, -20}, {60, 50}};  // -0 between them after the first
  struct Case {
    float fwhm, bkg, noise;
    const std::vector<Peak>* list;
  };
  const std::vector<Case> cases = {{0.3f, 10, 3, &peaks},
                                   {0.05f, 10, 3, &peaks},
                                   {2.5f, 1000, 50, &peaks},
                                   {0.3f, 10, 3, &with_negative},
                                   {0.3f, 0, 0, &peaks},
                                   {0.3f, -0.0f, -0.0f, &peaks},
                                   {0.3f, -0.0f, -0.0f, &with_negative},
                                   {0.3f, -0.0f, -0.0f, &sparse},
                                   {-0.3f, 10, 3, &peaks}};
  for (int16_t profile : {1, 2, 3, 5}) {
    for (const auto& c : cases) {
      // Every kernel the machine has; the narrower ones on the first case.
      for (Kernel kernel : {Kernel::Widest, Kernel::Avx2, Kernel::Portable}) {
        if (kernel != Kernel::Widest && &c != &cases.front()) continue;
        Synthesis_Params params{.peaks = *c.list,
                                .r0 = 5,
                                .r1 = 75,
                                .n = 9001,
                                .fwhm = c.fwhm,
                                .profile = profile,
                                .bkg = c.bkg,
                                .noise = c.noise,
                                .kernel = kernel};
        Noise_Sequence a, b;
        const auto straight = Synthesise_Straight(params, a);
        const auto fast = Synthesise(params, b);
        ASSERT_EQ(fast.size(), straight.size());
        int differing = 0;
        for (std::size_t k = 0; k < fast.size(); ++k) {
          if (std::bit_cast<uint32_t>(fast[k]) == std::bit_cast<uint32_t>(straight[k])) continue;
          ++differing;
          // Only the vector pow may round differently.
          ASSERT_TRUE(profile == 3 && kernel != Kernel::Portable) << "point " << k;
          ASSERT_EQ(std::nextafter(fast[k], straight[k]), straight[k]) << profile << " point " << k;
        }
        EXPECT_LT(differing, 20) << profile;
        EXPECT_EQ(a.Next(), b.Next());  // one draw per point
      }
    }
  }
}

}  // namespace
}  // namespace talvo
