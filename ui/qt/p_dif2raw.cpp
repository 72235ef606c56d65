#include "ui/qt/p_dif2raw.h"

#include "core/not_built.h"

namespace talvo::qt {

void Show_P_dif2raw(Store&, Platform&, QWidget*) { Not_Built("The synthesis parameters dialog"); }

}  // namespace talvo::qt
