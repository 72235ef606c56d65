#include "formats/diffracplus/signature.h"

#include <array>
#include <cstring>
#include <fstream>
#include <string_view>
#include <system_error>

#include "core/failure.h"
#include "core/file_io.h"
#include "core/store.h"

namespace talvo {

namespace {

struct Known_Signature {
  std::string_view bytes;
  int16_t code;
};

constexpr std::array<Known_Signature, 7> Signatures = {{
    {"RAW ", signature::Raw1},
    {"RAW2", signature::Raw2},
    {"RAW1", signature::Raw3},
    {".RAW", signature::Raw_Ascii},
    {"DIF ", signature::Dif1},
    {"DIF2", signature::Dif2},
    {"DIF1", signature::Dif3},
}};

}  // namespace

int16_t File_Signature(const std::string& path, Store& store) {
  const auto native = Path_From_Utf8(path);
  std::error_code error;
  if (!std::filesystem::exists(native, error)) throw Failure(Missing_File_Text(path));
  if (!std::filesystem::is_regular_file(native, error))
    throw Failure(File_Name_Of(path) + " is not a file that can be read.");
  const auto length = std::filesystem::file_size(native, error);
  if (error) throw Failure(Unreadable_File_Text(path));
  if (length <= 4) return signature::Unknown;
  std::ifstream in(native, std::ios::binary);
  std::array<char, 4> first{};
  if (!in.read(first.data(), 4)) throw Failure(Unreadable_File_Text(path));
  store.File_Sig = first;
  const std::string_view bytes(first.data(), 4);
  for (const auto& known : Signatures)
    if (known.bytes == bytes) return known.code;
  return signature::Unknown;
}

}  // namespace talvo
