#include "core/scan_range.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/failure.h"
#include "core/store.h"

namespace talvo {

namespace {

std::string Folded(const std::string& text) {
  std::string folded;
  for (const char c : text)
    if (std::isalnum(static_cast<unsigned char>(c)) != 0)
      folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

}  // namespace

std::string Points_Text(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " point" : " points");
}

Failure No_Such_Range(const std::string& file_name, int32_t count, int32_t number) {
  return Failure(file_name + " holds " + std::to_string(count) + (count == 1 ? " range" : " ranges") +
                 "; there is no range " + std::to_string(number) + ".");
}

bool Is_Two_Theta_Drive(const std::string& drive) {
  const std::string name = Folded(drive);
  static const char* const accepted[] = {"",
                                         "2theta",
                                         "twotheta",
                                         "2th",
                                         "tt",
                                         "lockedcoupled",
                                         "coupledtwothetatheta",
                                         "2thetaomega",
                                         "2thetatheta",
                                         "thetatheta",
                                         "thetatwotheta",
                                         "gonio",
                                         "twothetaomega",
                                         "omega2theta",
                                         "detectorscan",
                                         "unlockedcoupled",
                                         "2thetachi",
                                         "twothetatheta",
                                         "theta2theta",
                                         "theta2thetacoupled"};
  return std::find(std::begin(accepted), std::end(accepted), name) != std::end(accepted);
}

std::vector<Read_Result::Warning> Store_Range(const std::string& file_name, const std::vector<Scan_Range>& ranges,
                                              int32_t number, Store& store) {
  const auto count = static_cast<int32_t>(ranges.size());
  if (count == 0) throw Failure(file_name + " holds no scan.");
  const bool chosen = number != 0;
  if (!chosen) number = 1;
  if (number < 1 || number > count) throw No_Such_Range(file_name, count, number);
  const Scan_Range& range = ranges[static_cast<std::size_t>(number - 1)];
  const std::string which = count == 1 ? std::string("its scan") : "its range " + std::to_string(number);
  if (!Is_Two_Theta_Drive(range.drive))
    throw Failure(file_name + ": " + which + " is driven in " + range.drive +
                  ", not in 2-theta (a rocking curve, pole figure or map, not a powder pattern).");
  const std::size_t n = range.counts.size();
  if (n == 0) throw Failure(file_name + ": " + which + " holds no point.");
  if (n > static_cast<std::size_t>(INT32_MAX) - 1) throw Failure(file_name + ": " + which + " holds too many points.");
  if (!range.angles.empty() && range.angles.size() != n)
    throw Failure(file_name + ": " + which + " lists " + Points_Text(range.angles.size()) + " but " + Points_Text(n) +
                  " of counts.");
  if (!range.uncertainties.empty() && range.uncertainties.size() != n)
    throw Failure(file_name + ": " + which + " lists " + std::to_string(range.uncertainties.size()) +
                  " uncertainties for " + Points_Text(n) + ".");
  for (std::size_t k = 0; k < n; ++k)
    if (!std::isfinite(range.counts[k]) || std::fabs(range.counts[k]) > 3.4e38)
      throw Failure(file_name + ": point " + std::to_string(k + 1) + " of " + which + " has no finite count.");
  for (const double angle : range.angles)
    if (!std::isfinite(angle)) throw Failure(file_name + ": " + which + " lists an angle that is not a number.");
  if (!std::isfinite(range.start) || !std::isfinite(range.step))
    throw Failure(file_name + ": " + which + " has no finite start angle or step.");

  const auto points = static_cast<int32_t>(n);
  store.Nb_Points = points;
  store.Intensities.assign(1, 0.0f);
  store.Intensities.reserve(n + 1);
  for (const double value : range.counts) store.Intensities.push_back(static_cast<float>(value));
  store.Step_Size = range.step;
  store.Range_Limits = {range.start, range.angles.empty() ? range.start + static_cast<double>(points - 1) * range.step
                                                          : range.angles.back()};
  store.Time_Step = range.counting_time ? static_cast<float>(*range.counting_time) : 1.0f;
  Set_Scan_Items(store);

  Pattern_Extras& extras = store.Extras;
  auto one_based = [](const std::vector<double>& values) {
    std::vector<double> slots;
    if (values.empty()) return slots;
    slots.reserve(values.size() + 1);
    slots.push_back(0.0);
    slots.insert(slots.end(), values.begin(), values.end());
    return slots;
  };
  extras.Counts = one_based(range.counts);
  extras.Angles = one_based(range.angles);
  extras.Uncertainties = one_based(range.uncertainties);
  extras.Counting_Time = range.counting_time;
  extras.Range_Count = count;

  std::vector<Read_Result::Warning> warnings;
  if (count > 1 && !chosen)
    warnings.push_back({file_name + " holds " + std::to_string(count) + " ranges; range " + std::to_string(number) +
                            " was converted (talvo-convert --range N takes another, --range all each one).",
                        true});
  return warnings;
}

}  // namespace talvo
