// The bitmap export without a window: the curve painted into an image.
#include "cli/cli_platform.h"
#include "core/failure.h"
#include "ui/bitmap_curve.h"

namespace talvo {

void Cli_Platform::Show_Bmp_Saver(const Store& store, const std::string& path) {
  if (!save_bitmap)
    throw Failure("This talvo-convert was built without Qt and cannot write bitmaps; nothing was written.");
  save_bitmap(Bitmap_Curve(store), path);
}

}  // namespace talvo
