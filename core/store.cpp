#include "core/store.h"

#include <algorithm>
#include <optional>

#include "core/failure.h"
#include "core/numbers.h"
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

int32_t Announced_Points(const std::string& file_name, double count, int32_t minimum) {
  const std::optional<int32_t> n = Round_To_Int32(count);
  if (!n || *n < minimum || *n > Max_Points)
    throw Failure(file_name + " announces " + General_Number(count, 15, '.') + (count == 1 ? " point" : " points") +
                  "; a scan holds from " + std::to_string(minimum) + " to " + std::to_string(Max_Points) + ".");
  return *n;
}

float Largest_Intensity(const std::vector<float>& intensities, int32_t n) {
  float max = intensities[1];
  for (int32_t k = 2; k <= n; ++k)
    if (max < intensities[static_cast<std::size_t>(k)]) max = intensities[static_cast<std::size_t>(k)];
  return max;
}

}  // namespace talvo
