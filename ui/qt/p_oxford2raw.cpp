#include "ui/qt/p_oxford2raw.h"

#include "core/not_built.h"

namespace talvo::qt {

void Show_P_oxford2raw(Store&, Platform&, QWidget*) { Not_Built("The Oxford import parameters dialog"); }

}  // namespace talvo::qt
