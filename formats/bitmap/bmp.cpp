#include "formats/bitmap/bmp.h"

#include "core/not_built.h"

namespace talvo {

void Write_Bmp(const std::string&, const Store&, Platform&) {
  Not_Built("Writing \"Windows Bitmap\" files");
}

}  // namespace talvo
