// The shipped samples are exactly what the fixtures make, so a change to a
// builder shows up here and samples/ is regenerated with make_samples.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "fixtures/fuzz_entry.h"
#include "fixtures/sample_files.h"
#include "fixtures/temp_dir.h"

namespace talvo::testing {
namespace {

const std::filesystem::path Samples = TALVO_SAMPLES;

TEST(Samples, AreWhatTheFixturesMake) {
  for (const auto& sample : Sample_Files())
    EXPECT_EQ(Read_Bytes((Samples / sample.name).string()), sample.bytes)
        << sample.name << " differs: run make_samples samples";
  EXPECT_EQ(Read_Text((Samples / "README.md").string()), Samples_Readme());
}

TEST(Samples, CoverEveryInputTypeButAutomatic) {
  std::set<std::string> types;
  for (const auto& sample : Sample_Files()) types.insert(sample.input_type);
  EXPECT_EQ(types.size(), 10u);  // nine file types, and the ".RAW" text read by signature
}

// Every sample converts to every output its kind of pattern goes to: scans to
// RAW version 2, formatted text and the bitmap; peak lists to Treor, U-Fit,
// and through the synthesis to RAW version 2 and the bitmap.
TEST(Samples, ConvertToEveryOutputTheirPatternGoesTo) {
  const std::set<std::string> peak_lists = {"quartz.dif", "quartz.uxd", "quartz-di.txt", "quartz-diamond.txt"};
  for (const auto& sample : Sample_Files()) {
    const bool peaks = peak_lists.count(sample.name) > 0;
    const std::vector<std::string_view> outputs =
        peaks ? std::vector<std::string_view>{"Treor", "U-Fit", "Diffrac-Plus RAW (Version 2)", "Windows Bitmap"}
              : std::vector<std::string_view>{"Diffrac-Plus RAW (Version 2)", "Formatted text (RAW)", "Windows Bitmap"};
    for (auto output : outputs) {
      const auto outcome = Fuzz_Convert(sample.input_type, output, sample.bytes);
      EXPECT_FALSE(outcome.failed) << sample.name << " to " << output;
      if (output == "Diffrac-Plus RAW (Version 2)") {
        EXPECT_TRUE(Holds_Points(outcome.store, outcome.store.Nb_Points)) << sample.name;
      }
    }
  }
}

}  // namespace
}  // namespace talvo::testing
