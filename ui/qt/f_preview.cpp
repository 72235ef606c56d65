#include "ui/qt/f_preview.h"

#include "core/not_built.h"

namespace talvo::qt {

void Show_F_Preview(const Store&, Platform&, QWidget*) { Not_Built("The preview window"); }

}  // namespace talvo::qt
