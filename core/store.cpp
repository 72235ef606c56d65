#include "core/store.h"

#include <algorithm>

#include "core/text32.h"

namespace talvo {

std::string Dif_Title(const Store& store) {
  const auto* first = store.Dif_Header.data() + Header_Sample_Offset;
  return std::string(first, first + 32);
}

void Set_Dif_Title(Store& store, const std::string& text) {
  const std::string fitted = Fit32(text);
  std::copy(fitted.begin(), fitted.end(), store.Dif_Header.begin() + Header_Sample_Offset);
}

float Largest_Intensity(const std::vector<float>& intensities, int32_t n) {
  float max = intensities[1];
  for (int32_t k = 2; k <= n; ++k)
    if (max < intensities[static_cast<std::size_t>(k)]) max = intensities[static_cast<std::size_t>(k)];
  return max;
}

}  // namespace talvo
