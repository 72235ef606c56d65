// The About box: the program's picture, its name and one line below it.
#pragma once

#include <QDialog>

namespace talvo::app {

class About_Box : public QDialog {
  Q_OBJECT

 public:
  explicit About_Box(QWidget* parent = nullptr);
};

}  // namespace talvo::app
