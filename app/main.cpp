// Talvo, the desktop program. It takes no command line.
#include <QApplication>
#include <QIcon>
#include <csignal>

#include "app/main_window.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit makes the write fail with EFBIG, which is reported
#endif
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Talvo"));
  talvo::app::Main_Window window;
  QApplication::setWindowIcon(window.windowIcon());
  window.show();
  return QApplication::exec();
}
