#include "formats/text/scans.h"

#include "core/not_built.h"

namespace talvo {

void Read_Text_Raw(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"Formatted text (RAW)\" files");
}

void Read_Xye(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"Mercury text raw data (xye)\" files");
}

}  // namespace talvo
