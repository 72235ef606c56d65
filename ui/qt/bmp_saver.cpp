#include "ui/qt/bmp_saver.h"

#include "core/not_built.h"

namespace talvo::qt {

void Show_BMPSaver(const Store&, const std::string&, Platform&, QWidget*) { Not_Built("The bitmap window"); }

}  // namespace talvo::qt
