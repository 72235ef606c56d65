// The preview window of the desktop program.
#pragma once

#include <string>

class QWidget;

namespace talvo {
class Platform;
struct Store;
}  // namespace talvo

namespace talvo::qt {

// Shown modally over `parent`; returns when it has closed.
void Show_F_Preview(const Store& store, Platform& platform, QWidget* parent);

}  // namespace talvo::qt
