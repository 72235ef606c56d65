#include "cli/image/cli_image.h"

#include "core/failure.h"
#include "ui/painter/step_painter.h"

namespace talvo {

void Save_Bitmap_Image(const Steps& steps, const std::string& path) {
  QImage image = painter::Blank_Bitmap();
  painter::Draw_Into(image, steps);
  painter::Save_Bmp(image, path);
}

}  // namespace talvo

extern "C" __attribute__((visibility("default"))) bool Talvo_Save_Bitmap(const talvo::Steps& steps,
                                                                         const std::string& path,
                                                                         std::string& failure) {
  try {
    talvo::Save_Bitmap_Image(steps, path);
    return true;
  } catch (const talvo::Failure& error) {
    failure = error.what();
  } catch (const std::exception& error) {
    failure = "The bitmap could not be written: " + std::string(error.what());
  }
  return false;
}
