#include "formats/text/oxford.h"

#include "core/not_built.h"

namespace talvo {

void Read_Oxford(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"Oxford text raw data (dat)\" files");
}

}  // namespace talvo
