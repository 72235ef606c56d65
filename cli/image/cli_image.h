// The bitmap of talvo-convert: the curve's steps painted into an image with
// QtGui alone, without a window or a display. Built as a module of its own
// (talvo-bitmap.so), which talvo-convert loads the first time it writes a
// bitmap, so that its other conversions do not load Qt.
#pragma once

#include <string>

#include "ui/drawing.h"

namespace talvo {

// A 320 x 240 white image with the steps painted on it, saved as a Windows
// bitmap through a temporary file renamed over `path`.
void Save_Bitmap_Image(const Steps& steps, const std::string& path);

}  // namespace talvo

// The module's entry: false, with the text for the user in `failure`, when
// the bitmap could not be written.
extern "C" bool Talvo_Save_Bitmap(const talvo::Steps& steps, const std::string& path, std::string& failure);
