// The Oxford import parameters dialog of the desktop program.
#pragma once

#include <string>

class QWidget;

namespace talvo {
class Platform;
struct Store;
}  // namespace talvo

namespace talvo::qt {

// Shown modally over `parent`; returns when it has closed.
void Show_P_oxford2raw(Store& store, Platform& platform, QWidget* parent);

}  // namespace talvo::qt
