#include "formats/diffracplus/signature.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "core/store.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Temp_Dir;

TEST(File_Signature, FirstFourBytesGiveTheCode) {
  Temp_Dir dir;
  Store store;
  const std::vector<std::pair<std::string, int16_t>> cases = {
      {"RAW \x01", 3},     {"RAW2xyz", 4}, {"RAW1.01", 7}, {".RAW text", 8}, {"DIF xx", 1},
      {"DIF2\x01\x02", 2}, {"DIF1 v3", 9}, {"raw2xx", -1}, {"Raw2xx", -1},   {"XXXXXXXX", -1},
  };
  for (const auto& [content, code] : cases) {
    EXPECT_EQ(File_Signature(dir.Write("f", content), store), code) << content;
    EXPECT_EQ(std::string(store.File_Sig.data(), 4), content.substr(0, 4));
  }
}

TEST(File_Signature, FourBytesOrFewerAreUnrecognisedAndLeaveTheBuffer) {
  Temp_Dir dir;
  Store store;
  EXPECT_EQ(File_Signature(dir.Write("four", "RAW2"), store), -1);
  EXPECT_EQ(File_Signature(dir.Write("empty", ""), store), -1);
  EXPECT_EQ(store.File_Sig, (std::array<char, 4>{}));
}

TEST(File_Signature, AMissingFileOrAFolderIsAFailureNotACode) {
  Temp_Dir dir;
  Store store;
  EXPECT_THROW(File_Signature(dir.Path("missing.raw"), store), Failure);
  EXPECT_THROW(File_Signature(dir.Path(""), store), Failure);
}

}  // namespace
}  // namespace talvo
