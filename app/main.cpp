// Talvo, the desktop program. It takes no command line.
#include <QApplication>
#include <QIcon>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Talvo"));
  talvo::app::Main_Window window;
  QApplication::setWindowIcon(window.windowIcon());
  window.show();
  return QApplication::exec();
}
