#include "app/main_window.h"

namespace talvo::app {

Main_Window::Main_Window(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("TALVO 3.1.1"));
  platform_.Set_Owner(this);
  Main_Window_Load(lists_, store_);
}

}  // namespace talvo::app
