// The profile function of a synthesised scan's peaks.
//
// The store (and the RAW and DIF headers it comes from) keeps it as a 16-bit
// number; everything else names it, and converts only at the store.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talvo {

// None: a stored number that names no profile, or no choice made.
enum class Profile : int16_t { None = 0, Gauss = 1, Lorentz = 2, Pearson_VII = 3 };

// The profile of the store's number; None for any number but 1, 2 and 3.
constexpr Profile Profile_Of(int16_t stored) {
  return stored >= 1 && stored <= 3 ? static_cast<Profile>(stored) : Profile::None;
}

// The store's number of a profile.
constexpr int16_t Stored(Profile profile) {
  return static_cast<int16_t>(profile);
}

// The profile that talvo-convert's --profile and the Python module's
// keyword name: "gauss", "lorentz" or "pearson7"; empty for any other text.
constexpr std::optional<Profile> Profile_Named(std::string_view name) {
  if (name == "gauss") return Profile::Gauss;
  if (name == "lorentz") return Profile::Lorentz;
  if (name == "pearson7") return Profile::Pearson_VII;
  return std::nullopt;
}

}  // namespace talvo
