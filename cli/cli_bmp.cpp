// The bitmap export without a window: the curve drawn into the picture the
// window would hold, and saved.
#include "cli/cli_platform.h"
#include "formats/bitmap/bmp.h"

namespace talvo {

void Cli_Platform::Show_BMPSaver(const Store& store, const std::string& path) {
  Save_Bmp(Curve_Bitmap(store), path);
}

}  // namespace talvo
