// The bitmap window of the desktop program.
#pragma once

#include <string>

class QWidget;

namespace talvo {
class Platform;
struct Store;
}  // namespace talvo

namespace talvo::qt {

// Shown modally over `parent`; draws the scan's curve and saves it as `path`
// when it closes.
void Show_BMPSaver(const Store& store, const std::string& path, Platform& platform, QWidget* parent);

}  // namespace talvo::qt
