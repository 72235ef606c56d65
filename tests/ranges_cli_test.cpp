// talvo-convert on files of several ranges (--range) and on files whose
// type is found from their content (--from any).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"

namespace talvo::testing {
namespace {

const std::string Keokuk = TALVO_TEST_DATA "/real/g2tut_Keokuk_kaolinite.RAW";

std::string Points_Line(const std::string& path) {
  const std::string text = Read_Text(path);
  const auto at = text.find("Nombre de points\t");
  return at == std::string::npos ? "" : text.substr(at + 17, text.find('\r', at) - at - 17);
}

TEST(Ranges_Cli, TheFirstRangeWithAWarningOrTheRangeAskedForOrEachOne) {
  const std::string warning =
      "k.raw: warning: k.raw holds 2 ranges; range 1 was converted (talvo-convert --range N takes another, --range "
      "all each one).\n";
  struct Case {
    std::string options;
    int status;
    std::string err;
    std::vector<std::pair<std::string, std::string>> outputs;  // file, its point count
  } cases[] = {
      {"", 0, warning, {{"k.txt", "4001"}}},
      {"--range 1", 0, "", {{"k.txt", "4001"}}},
      {"--range 2", 0, "", {{"k.txt", "3501"}}},
      {"--range all -o out/", 0, "", {{"out/k-1.txt", "4001"}, {"out/k-2.txt", "3501"}}},
      {"--range 3", 1, "k.raw: error: k.raw holds 2 ranges; there is no range 3.\n", {}},
      {"--range 0",
       2,
       "talvo-convert: option --range: \"0\" is not a range number (1, 2, ...) or all\nTry 'talvo-convert --help'.\n",
       {}},
  };
  for (const auto& c : cases) {
    Temp_Dir dir;
    std::filesystem::copy_file(Keokuk, dir.Path("k.raw"));
    std::filesystem::create_directory(dir.Path("out"));
    const Run_Result run = Run_Convert(dir, "--from raw-any " + c.options + " k.raw");
    EXPECT_EQ(run.status, c.status) << c.options;
    EXPECT_EQ(run.err, c.err) << c.options;
    for (const auto& [file, points] : c.outputs) EXPECT_EQ(Points_Line(dir.Path(file)), points) << c.options;
    if (c.outputs.empty()) {
      EXPECT_FALSE(std::filesystem::exists(dir.Path("k.txt"))) << c.options;
    }
  }
}

TEST(Ranges_Cli, AFileReadByItsContentSaysWhichTypeWhenItsExtensionNamesAnother) {
  struct Case {
    std::string source, name, err;
  } cases[] = {
      {TALVO_SAMPLES "/quartz.raw", "q.raw", ""},
      {TALVO_SAMPLES "/quartz.xye", "q.uxd",
       "q.uxd: warning: q.uxd was read as \"Mercury text raw data (xye)\", the type its content shows.\n"},
      {TALVO_TEST_DATA "/real/datalab_RAW4_TiO2.raw", "t.raw", ""},
  };
  for (const auto& c : cases) {
    Temp_Dir dir;
    std::filesystem::copy_file(c.source, dir.Path(c.name));
    const Run_Result run = Run_Convert(dir, "--from any -o out.txt " + c.name);
    EXPECT_EQ(run.status, 0) << c.name << run.err;
    EXPECT_EQ(run.err, c.err);
    EXPECT_FALSE(Points_Line(dir.Path("out.txt")).empty()) << c.name;
  }
}

}  // namespace
}  // namespace talvo::testing
