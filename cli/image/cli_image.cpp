#include "cli/image/cli_image.h"

#include "ui/qt/step_painter.h"

namespace talvo {

void Save_Bitmap_Image(const Steps& steps, const std::string& path) {
  QImage image = qt::Blank_Bitmap();
  qt::Draw_Into(image, steps);
  qt::Save_Bmp(image, path);
}

}  // namespace talvo
