// The preview window of the desktop program: the pattern of the store in a
// frame with ticks and labels, redrawn at every paint and resize.
#pragma once

#include <QDialog>
#include <string>

namespace talvo {
class Platform;
struct Store;
}  // namespace talvo

namespace talvo::qt {

class F_Preview : public QDialog {
  Q_OBJECT

 public:
  F_Preview(const Store& store, Platform& platform, QWidget* parent);

  // The window's outer width in twips, from which the labels are placed.
  double Outer_Width_Twips() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Store& store_;
  Platform& platform_;
};

// Shown modally over `parent`; returns when it has closed.
void Show_F_Preview(const Store& store, Platform& platform, QWidget* parent);

}  // namespace talvo::qt
