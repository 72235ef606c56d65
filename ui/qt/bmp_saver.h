// The bitmap window of the desktop program: draws the scan's curve into a
// retained 320 x 240 picture each time it is activated, and saves the
// picture as a Windows bitmap however it is closed.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QImage>
#include <optional>
#include <string>

#include "formats/bitmap/raster.h"

class QPushButton;

namespace talvo {
class Platform;
struct Store;
}  // namespace talvo

namespace talvo::qt {

// A white picture area with a sunken border that shows its retained
// picture, the one the bitmap export saves.
class Picture_Box : public QFrame {
  Q_OBJECT

 public:
  explicit Picture_Box(QWidget* parent);
  Raster& Picture() { return picture_; }
  const Raster& Picture() const { return picture_; }
  // The retained picture as Qt shows it.
  QImage Image() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Raster picture_;
};

class BMPSaver : public QDialog {
  Q_OBJECT

 public:
  BMPSaver(const Store& store, const std::string& path, Platform& platform, QWidget* parent);

  QImage Picture() const { return Picture1->Image(); }
  // The text of a save that failed, for the caller to report.
  const std::optional<std::string>& Save_Failure() const { return failure_; }
  // Ends the window as every close request does: the picture is saved.
  void done(int result) override;

 protected:
  bool event(QEvent* event) override;

 private slots:
  void on_Command1_clicked();

 private:
  void Draw_Curve();

  const Store& store_;
  std::string path_;  // the file name of this export
  Platform& platform_;
  Picture_Box* Picture1;
  QPushButton* Command1;
  std::optional<std::string> failure_;
  bool drawn_ = false;
  bool saved_ = false;
};

// Shown modally over `parent`; draws the scan's curve and saves it as `path`
// when it closes. Throws Failure when the file cannot be written.
void Show_BMPSaver(const Store& store, const std::string& path, Platform& platform, QWidget* parent);

}  // namespace talvo::qt
