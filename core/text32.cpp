#include "core/text32.h"

#include <algorithm>

namespace talvo {

std::string Fit32(std::string_view text) {
  std::string fitted(text.substr(0, 32));
  fitted.resize(32, ' ');
  return fitted;
}

std::string Blank_Nuls(std::string_view text) {
  std::string shown(text);
  std::replace(shown.begin(), shown.end(), '\0', ' ');
  return shown;
}

}  // namespace talvo
