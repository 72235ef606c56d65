#include "formats/text/text_raw_writer.h"

#include "core/not_built.h"

namespace talvo {

void Write_Text_Raw(const std::string&, const Store&, Platform&) {
  Not_Built("Writing \"Formatted text (RAW)\" files");
}

}  // namespace talvo
