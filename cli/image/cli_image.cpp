#include "cli/image/cli_image.h"

#include "ui/painter/step_painter.h"

namespace talvo {

void Save_Bitmap_Image(const Steps& steps, const std::string& path) {
  QImage image = painter::Blank_Bitmap();
  painter::Draw_Into(image, steps);
  painter::Save_Bmp(image, path);
}

}  // namespace talvo
