#include "formats/diffracplus/signature.h"

#include <algorithm>
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

int16_t File_Signature(const Input_File& file, Store& store) {
  if (file.bytes.size() <= 4) return signature::Unknown;
  std::copy(file.bytes.begin(), file.bytes.begin() + 4, store.File_Sig.begin());
  const std::string_view bytes(store.File_Sig.data(), 4);
  for (const auto& known : Signatures)
    if (known.bytes == bytes) return known.code;
  return signature::Unknown;
}

int16_t File_Signature(const std::string& path, Store& store) {
  return File_Signature(Load_Input_File(path), store);
}

}  // namespace talvo
