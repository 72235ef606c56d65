// The bitmap writer of talvo-convert, from the module that holds the Qt
// painter, loaded the first time a bitmap is written.
#pragma once

#include <functional>
#include <string>

#include "ui/drawing.h"

namespace talvo {

// Paints the steps and saves them as `path`; throws Failure when the module
// cannot be found or the bitmap cannot be written.
using Bitmap_Writer = std::function<void(const Steps& steps, const std::string& path)>;
Bitmap_Writer Bitmap_Module_Writer();

}  // namespace talvo
