// Talvo, the desktop program. It takes no command line.
#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  talvo::app::Main_Window window;
  window.show();
  return QApplication::exec();
}
