// The main window TALVO2.
#pragma once

#include <QMainWindow>

#include "core/dispatch.h"
#include "core/registry.h"
#include "core/store.h"
#include "ui/qt/qt_platform.h"

namespace talvo::app {

class Main_Window : public QMainWindow {
  Q_OBJECT

 public:
  explicit Main_Window(QWidget* parent = nullptr);

 private:
  Store store_;
  Type_Lists lists_;
  qt::Qt_Platform platform_;
};

}  // namespace talvo::app
