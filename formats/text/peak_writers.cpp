#include "formats/text/peak_writers.h"

#include "core/not_built.h"

namespace talvo {

void Write_Treor(const std::string&, const Store&, Platform&) {
  Not_Built("Writing \"Treor\" files");
}

void Write_UFit(const std::string&, const Store&, Platform&) {
  Not_Built("Writing \"U-Fit\" files");
}

}  // namespace talvo
