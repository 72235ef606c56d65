// talvo-convert as scripts use it: options, messages on standard error,
// exit status, and the files it writes.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fixtures/raw_builder.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Raw2_File;
using testing::Raw_Scan;
using testing::Read_Bytes;
using testing::Read_Text;
using testing::Run_Convert;
using testing::Run_Result;
using testing::Temp_Dir;

TEST(Talvo_Convert, Raw2ToRaw2CarriesTheScan) {
  Temp_Dir dir;
  const auto input = Raw2_File(Raw_Scan{});
  dir.Write("QTZ.RAW", input);
  const Run_Result result = Run_Convert(dir, "--from raw --to raw2 -o copy.raw QTZ.RAW");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  const auto output = Read_Bytes(dir.Path("copy.raw"));
  ASSERT_EQ(output.size(), 316u + 12);
  EXPECT_TRUE(std::equal(output.begin() + 8, output.begin() + 168, input.begin() + 8));
  EXPECT_TRUE(std::equal(output.begin() + 316, output.end(), input.begin() + 316));
}

// A batch writes each file as it would be written alone: a RAW version 2
// input converted first leaves none of its header bytes in the next output.
TEST(Talvo_Convert, EachFileOfABatchIsWrittenAsAlone) {
  Temp_Dir dir;
  dir.Write("a.raw", Read_Bytes(TALVO_SAMPLES "/quartz.raw"));
  dir.Write("b1.raw", Read_Bytes(TALVO_SAMPLES "/quartz-v1.raw"));
  dir.Write("c.dif", Read_Bytes(TALVO_SAMPLES "/quartz.dif"));
  std::filesystem::create_directories(dir.Path("alone"));
  std::filesystem::create_directories(dir.Path("batch"));
  // The synthesis dialog answered alike for the peak list, whatever it proposes.
  const std::string options = "--from auto --to raw2 --noise 0 --step 0.01 --time 1 ";
  ASSERT_EQ(Run_Convert(dir, options + "-o 'alone/*.raw' b1.raw").status, 0);
  ASSERT_EQ(Run_Convert(dir, options + "-o 'alone/*.raw' c.dif").status, 0);
  ASSERT_EQ(Run_Convert(dir, options + "-o 'batch/*.raw' a.raw b1.raw c.dif").status, 0);
  for (const std::string name : {"b1.raw", "c.raw"}) {
    auto alone = Read_Bytes(dir.Path("alone/" + name)), batch = Read_Bytes(dir.Path("batch/" + name));
    ASSERT_EQ(alone.size(), batch.size()) << name;
    ASSERT_GT(alone.size(), 316u) << name;
    std::fill(alone.begin() + 168, alone.begin() + 188, 0);  // the date of the run
    std::fill(batch.begin() + 168, batch.begin() + 188, 0);
    EXPECT_EQ(alone, batch) << name;
  }
}

// Several files at once write, print and return what one after another does,
// a file that fails in the middle of the batch included.
TEST(Talvo_Convert, ABatchOnSeveralThreadsIsTheBatchOnOne) {
  Temp_Dir dir;
  std::string names;
  for (int k = 0; k < 7; ++k) {
    Raw_Scan scan;
    scan.intensities = {static_cast<float>(k), 2, 3};
    auto bytes = Raw2_File(scan);
    if (k == 3) bytes.resize(320);  // cut inside its intensities
    const std::string name = "s" + std::to_string(k) + ".raw";
    dir.Write(name, bytes);
    names += " " + name;
  }
  std::filesystem::create_directories(dir.Path("one"));
  std::filesystem::create_directories(dir.Path("three"));
  const Run_Result one = Run_Convert(dir, "-j 1 --from raw --to text-raw -o 'one/*.txt'" + names);
  const Run_Result three = Run_Convert(dir, "-j 3 --from raw --to text-raw -o 'three/*.txt'" + names);
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(three.status, one.status);
  EXPECT_EQ(three.err, one.err);
  EXPECT_NE(one.err.find("s3.raw: error:"), std::string::npos);
  for (int k = 0; k < 7; ++k) {
    const std::string name = "s" + std::to_string(k) + ".txt";
    EXPECT_EQ(std::filesystem::exists(dir.Path("one/" + name)), k != 3) << name;
    if (k != 3) {
      EXPECT_EQ(Read_Bytes(dir.Path("three/" + name)), Read_Bytes(dir.Path("one/" + name))) << name;
    }
  }
  EXPECT_EQ(Run_Convert(dir, "-j 0 s0.raw").status, 2);
  EXPECT_EQ(Run_Convert(dir, "-j two s0.raw").status, 2);
}

TEST(Talvo_Convert, ABatchTakesEachBaseNameAndTheOutputFolderAndExtension) {
  Temp_Dir dir;
  dir.Write("A.RAW", Raw2_File(Raw_Scan{}));
  dir.Write("B.RAW", Raw2_File(Raw_Scan{}));
  std::filesystem::create_directory(dir.Path("out"));
  const Run_Result result =
      Run_Convert(dir, "--from 'Diffrac-Plus RAW' --to 'Diffrac-Plus RAW (Version 2)' -o 'out/*.x2' A.RAW B.RAW");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Read_Bytes(dir.Path("out/A.x2")).size(), 328u);
  EXPECT_EQ(Read_Bytes(dir.Path("out/B.x2")).size(), 328u);
}

TEST(Talvo_Convert, RefusalsAndFailuresGoToStandardErrorAndStatusOne) {
  Temp_Dir dir;
  dir.Write("V3.RAW", std::string("RAW1.01 and more"));
  dir.Write("GOOD.RAW", Raw2_File(Raw_Scan{}));
  Run_Result result = Run_Convert(dir, "--to treor V3.RAW GOOD.RAW MISSING.RAW");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "V3.RAW: Raw v3 files not supported. Please save it first to v2\n"
            "GOOD.RAW: warning: I Can't do that!\n"
            "MISSING.RAW: error: " +
                dir.Path("MISSING.RAW") + ": the file does not exist.\n");
  result = Run_Convert(dir, "--from auto --to raw2 V3.RAW");
  EXPECT_EQ(result.err, "V3.RAW: Sorry, but I can't recognize this signature, or conversion not supported\n");
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"GOOD.RAW", "V3.RAW"}));  // nothing written
}

TEST(Talvo_Convert, UsageErrorsGiveStatusTwo) {
  Temp_Dir dir;
  EXPECT_EQ(Run_Convert(dir, "").status, 2);
  EXPECT_EQ(Run_Convert(dir, "--to nothing x.raw").status, 2);
  EXPECT_EQ(Run_Convert(dir, "--bogus x.raw").status, 2);
  EXPECT_EQ(Run_Convert(dir, "--profile cauchy x.raw").status, 2);
  const Run_Result missing_value = Run_Convert(dir, "x.raw --from");
  EXPECT_EQ(missing_value.status, 2);
  EXPECT_EQ(missing_value.err, "talvo-convert: option --from needs a value\nTry 'talvo-convert --help'.\n");
}

TEST(Talvo_Convert, ListsTypesAndVersion) {
  Temp_Dir dir;
  const Run_Result types = Run_Convert(dir, "--list-types");
  EXPECT_EQ(types.status, 0);
  EXPECT_NE(types.out.find("  raw2      Diffrac-Plus RAW (Version 2)      *.raw\n"), std::string::npos);
  EXPECT_NE(types.out.find("  auto      Automatic (by signature)          *.*\n"), std::string::npos);
  EXPECT_NE(types.out.find("  xye       xye (2\xCE\xB8, intensity, uncertainty)  *.xye\n"), std::string::npos);
  EXPECT_NE(types.out.find("  cif       Powder CIF (pdCIF)                *.cif\n"), std::string::npos);
  EXPECT_EQ(Run_Convert(dir, "--version").out, "talvo-convert 3.1.1\n");
  EXPECT_NE(Run_Convert(dir, "--help").out.find("Usage: talvo-convert [options] INPUT..."), std::string::npos);
}

}  // namespace
}  // namespace talvo
