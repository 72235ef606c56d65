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

std::string Points_Limit(int32_t minimum, int32_t maximum) {
  return "from " + std::to_string(minimum) + " to " + std::to_string(maximum);
}

int32_t Announced_Points(const std::string& file_name, double count, int32_t minimum, int32_t maximum) {
  const std::optional<int32_t> n = Round_To_Int32(count);
  if (!n || *n < minimum || *n > maximum) {
    const std::string announced =
        file_name + " announces " + General_Number(count, 15, '.') + (count == 1 ? " point" : " points");
    if (maximum == Max_Points) throw Failure(announced + "; a scan holds " + Points_Limit(minimum, maximum) + ".");
    throw Failure(announced +
                  (n && *n < minimum ? "; a scan holds at least " + std::to_string(minimum)
                                     : "; a scan holds at most " + std::to_string(maximum)) +
                  " points.");
  }
  return *n;
}

std::string Too_Many_Points(int32_t points, const std::string& output_name) {
  return "The scan holds " + std::to_string(points) + " points; this output type takes at most " +
         std::to_string(Max_Points) +
         ". Give an end angle (--end) where the import dialog asks for one, or choose an output without that "
         "limit (xye, xy, csv, fxye, cif). Nothing was written to " +
         output_name + ".";
}

void Set_Scan_Items(Store& store) {
  store.Is_Peak_List = False16;
  store.Nb_Ranges = 1;
  store.Start_2Theta = static_cast<float>(store.Range_Limits[0]);
  store.Start_Theta = static_cast<float>(store.Range_Limits[0] / 2);
  store.Max_Intensity = Holds_Points(store, store.Nb_Points) && store.Nb_Points >= 1
                            ? Largest_Intensity(store.Intensities, store.Nb_Points)
                            : 0.0;
}

float Largest_Intensity(const std::vector<float>& intensities, int32_t n) {
  float max = intensities[1];
  for (int32_t k = 2; k <= n; ++k)
    if (max < intensities[static_cast<std::size_t>(k)]) max = intensities[static_cast<std::size_t>(k)];
  return max;
}

}  // namespace talvo
