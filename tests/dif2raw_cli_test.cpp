// DIF peak lists through talvo-convert into RAW version 2 scans: the
// parameter options typed into the synthesis dialog, and its refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "fixtures/dif_builder.h"
#include "fixtures/run_convert.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Dif_Builder;
using testing::Read_Bytes;
using testing::Read_Text;
using testing::Run_Convert;
using testing::Run_Result;
using testing::Temp_Dir;

float F32(const std::vector<uint8_t>& bytes, std::size_t at) {
  float value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}
int16_t I16(const std::vector<uint8_t>& bytes, std::size_t at) {
  return static_cast<int16_t>(bytes[at] | (bytes[at + 1] << 8));
}

class Dif_To_Raw2 : public ::testing::Test {
 protected:
  Dif_To_Raw2() { dir.Write("QTZ.DIF", Dif_Builder().Block({{20, 50}, {30, 200}, {40, 25}}).Bytes()); }
  Temp_Dir dir;
};

TEST_F(Dif_To_Raw2, TheOptionsAreTypedIntoTheDialogAndTheScanIsWritten) {
  const Run_Result result =
      Run_Convert(dir,
                  "--from dif --to raw2 --start 20 --end 40 --step 0,01 --noise 0 --background 5 --time 2 --anode Co "
                  "-o out.raw QTZ.DIF");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const auto raw = Read_Bytes(dir.Path("out.raw"));
  ASSERT_EQ(raw.size(), 316u + 4 * 2000);
  EXPECT_EQ(std::string(raw.begin(), raw.begin() + 4), "RAW2");
  EXPECT_EQ(I16(raw, 258), 2000);
  EXPECT_EQ(F32(raw, 264), 2.0f);
  EXPECT_EQ(F32(raw, 268), 0.01f);
  EXPECT_EQ(F32(raw, 272), 20.0f);
  EXPECT_EQ(F32(raw, 276), 10.0f);
  EXPECT_EQ(F32(raw, 190), 1.78892f);
  // Point 1001 lies at 30 on the strongest peak, point 1 at 20 on the first;
  // the Gauss profiles of the others are 0 there.
  EXPECT_EQ(F32(raw, 316 + 4 * 1000), 5 + 1000);
  EXPECT_EQ(F32(raw, 316), 5 + 250);
}

TEST_F(Dif_To_Raw2, WithoutOptionsTheDialogKeepsTheValuesItOpensOn) {
  // The range 19.4 .. 40.6 opens with its end rounded to 41: 1080 steps of 0.02.
  const Run_Result result = Run_Convert(dir, "--from dif --to raw2 -o out.raw QTZ.DIF");
  ASSERT_EQ(result.status, 0) << result.err;
  const auto raw = Read_Bytes(dir.Path("out.raw"));
  ASSERT_EQ(raw.size(), 316u + 4 * 1080);
  EXPECT_EQ(F32(raw, 272), 19.4f);
  EXPECT_EQ(F32(raw, 190), 1.54056f);  // the file's wavelength
}

TEST_F(Dif_To_Raw2, ARefusedValueStopsTheConversionAndWritesNothing) {
  Run_Result result = Run_Convert(dir, "--from dif --to raw2 --step 0 -o out.raw QTZ.DIF");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "QTZ.DIF: error: The Step Size must not be 0.\n");
  result = Run_Convert(dir, "--from auto --to raw2 --start 3.2 --end 3.4 -o out.raw QTZ.DIF");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("which is not above the Start angle 3.2"), std::string::npos) << result.err;
  result = Run_Convert(dir, "--from dif --to raw2 --fwhm 0 -o out.raw QTZ.DIF");
  EXPECT_EQ(result.err, "QTZ.DIF: error: The FWHM must not be 0.\n");
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"QTZ.DIF"}));
}

TEST_F(Dif_To_Raw2, ABrokenDifFileIsNamedAndNothingIsWritten) {
  auto bytes = Dif_Builder().Block({{20, 50}, {30, 200}}).Bytes();
  bytes.resize(bytes.size() - 3);
  dir.Write("CUT.DIF", bytes);
  const Run_Result result = Run_Convert(dir, "--from dif --to raw2 -o out.raw CUT.DIF");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "CUT.DIF: error: CUT.DIF ends inside the 2 peak records of block 1 (byte 381 of the 384 needed).\n");
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"CUT.DIF", "QTZ.DIF"}));
}

}  // namespace
}  // namespace talvo
