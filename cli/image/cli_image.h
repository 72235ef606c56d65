// The bitmap of talvo-convert: the curve's steps painted into an image with
// QtGui alone, without a window or a display.
#pragma once

#include <string>

#include "ui/drawing.h"

namespace talvo {

// A 320 x 240 white image with the steps painted on it, saved as a Windows
// bitmap through a temporary file renamed over `path`.
void Save_Bitmap_Image(const Steps& steps, const std::string& path);

}  // namespace talvo
