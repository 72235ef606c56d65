#include "formats/archive/measurement.h"

#include <cctype>
#include <cmath>

#include "core/cp1252.h"
#include "core/store.h"
#include "core/text32.h"

namespace talvo {

namespace {

bool Holds_Wavelength(const std::optional<double>& value) {
  return value && std::isfinite(*value) && *value > 0 && *value < 1e6;
}

std::string Lowercase(std::string_view text) {
  std::string lower;
  for (const char c : text)
    if (c != ' ') lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

void Store_Measurement(const Measurement& measurement, std::string_view type_name, Store& store) {
  Pattern_Extras& extras = store.Extras;
  if (Holds_Wavelength(measurement.k_alpha1)) extras.K_Alpha1 = measurement.k_alpha1;
  if (Holds_Wavelength(measurement.k_alpha2)) extras.K_Alpha2 = measurement.k_alpha2;
  if (measurement.k_ratio && std::isfinite(*measurement.k_ratio)) extras.K_Ratio = measurement.k_ratio;
  extras.Anode = measurement.anode;
  extras.Sample = measurement.sample;
  extras.Date = measurement.date;
  extras.Source_Type = std::string(type_name);

  store.Lambda1 = extras.K_Alpha1 ? static_cast<float>(*extras.K_Alpha1) : Copper_K_Alpha1;
  store.Lambda2 = extras.K_Alpha2 ? static_cast<float>(*extras.K_Alpha2) : store.Lambda1;
  store.Sample_ID = Fit32(Utf8_To_Cp1252(measurement.sample));
}

std::size_t Stored_Index(const Store& store) {
  return store.Extras.Range_Wanted > 1 ? static_cast<std::size_t>(store.Extras.Range_Wanted - 1) : 0;
}

std::optional<double> Time_Per_Step(double step, double speed, std::string_view unit) {
  if (!std::isfinite(step) || !std::isfinite(speed) || speed <= 0) return std::nullopt;
  const std::string name = Lowercase(unit);
  if (name == "deg/min" || name == "degree/min" || name == "°/min") return std::fabs(step) / speed * 60.0;
  if (name == "deg/s" || name == "deg/sec" || name == "°/s") return std::fabs(step) / speed;
  return std::nullopt;
}

}  // namespace talvo
