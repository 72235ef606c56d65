// Damaged files: every sample cut short or overwritten in its header, and
// every input a fuzzer found a fault with, converted after a good file. A
// file that cannot be read must leave the store exactly as the good file left
// it and write nothing (Fuzz_Convert aborts the test otherwise).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fixtures/fuzz_entry.h"
#include "fixtures/sample_files.h"
#include "fixtures/temp_dir.h"

namespace talvo::testing {
namespace {

constexpr std::string_view Raw2 = "Diffrac-Plus RAW (Version 2)";

using Bytes = std::vector<uint8_t>;

// Copies of a file cut short at its signature, inside its header and inside
// its data, and with bytes of its header or its numbers overwritten.
std::vector<Bytes> Damaged_Copies(const Bytes& file) {
  std::vector<Bytes> copies;
  for (std::size_t length :
       {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{5}, std::size_t{40}, std::size_t{200},
        std::size_t{256}, std::size_t{300}, file.size() / 3, file.size() / 2, file.size() - 1})
    if (length < file.size()) copies.emplace_back(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
  for (std::size_t at : {std::size_t{4}, std::size_t{5}, std::size_t{6}, std::size_t{160}, std::size_t{256},
                         std::size_t{258}, std::size_t{262}}) {
    if (at + 2 > file.size()) continue;
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      Bytes copy = file;
      copy[at] = copy[at + 1] = value;
      copies.push_back(copy);
    }
  }
  // Numbers a text field may hold that no scan can: an overflow to infinity,
  // NaN, a letter where a digit belongs, a huge count.
  for (const std::string insert : {"1e999", "nan", "x", "99999999999", "-1"}) {
    for (std::size_t at : {file.size() / 5, file.size() / 2}) {
      Bytes copy = file;
      copy.insert(copy.begin() + static_cast<std::ptrdiff_t>(at), insert.begin(), insert.end());
      copies.push_back(copy);
    }
  }
  return copies;
}

TEST(DamagedFiles, LeaveTheStoreAsTheGoodFileLeftItAndWriteNothing) {
  for (const auto& sample : Sample_Files()) {
    SCOPED_TRACE(sample.name);
    const auto good = Fuzz_Convert(sample.input_type, Raw2, sample.bytes);
    ASSERT_FALSE(good.failed);
    int refused = 0;
    for (const auto& copy : Damaged_Copies(sample.bytes))
      refused += Fuzz_Convert(sample.input_type, Raw2, copy, good.store).failed ? 1 : 0;
    EXPECT_GT(refused, 0);
  }
}

TEST(DamagedFiles, FileCutAtTheSignatureIsRefused) {
  for (const auto& sample : Sample_Files()) {
    SCOPED_TRACE(sample.name);
    EXPECT_TRUE(Fuzz_Convert(sample.input_type, Raw2, Bytes(sample.bytes.begin(), sample.bytes.begin() + 4)).failed);
  }
}

// Inputs that once found a fault, kept in fuzz/regression/<target>/.
TEST(DamagedFiles, RegressionInputsRunClean) {
  const std::filesystem::path root = TALVO_FUZZ_REGRESSION;
  if (!std::filesystem::exists(root)) GTEST_SKIP() << "no regression inputs";
  for (const auto& folder : std::filesystem::directory_iterator(root)) {
    const auto target = folder.path().filename().string();
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      SCOPED_TRACE(file.path().string());
      const auto bytes = Read_Bytes(file.path().string());
      if (target == "dispatch") {
        Fuzz_Dispatch(bytes);
      } else {
        ASSERT_FALSE(Fuzz_Input_Type(target).empty()) << "unknown target " << target;
        Fuzz_Reader(target, bytes);
        Fuzz_Convert(Fuzz_Input_Type(target), Raw2, bytes);
      }
    }
  }
}

}  // namespace
}  // namespace talvo::testing
