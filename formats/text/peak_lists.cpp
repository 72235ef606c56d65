#include "formats/text/peak_lists.h"

#include "core/not_built.h"

namespace talvo {

void Read_Text_DI(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"Formatted text (D/I)\" files");
}

void Read_Diamond(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"Diamond text (D/I)\" files");
}

}  // namespace talvo
