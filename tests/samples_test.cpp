// The shipped samples are exactly what the fixtures make, so a change to a
// builder shows up here and samples/ is regenerated with make_samples.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

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

}  // namespace
}  // namespace talvo::testing
