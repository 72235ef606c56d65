#include "ui/qt/bmp_saver.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>

#include "core/busy.h"
#include "core/failure.h"
#include "core/platform.h"
#include "formats/bitmap/bmp.h"
#include "ui/bitmap_curve.h"

namespace talvo::qt {

namespace {

// The window's drawing area, the picture's place and its border, in pixels
// at 96 dots per inch.
constexpr int Area_Width = 447, Area_Height = 263;
constexpr int Margin = 8;
constexpr int Border = 2;
constexpr int Button_Width = 81, Button_Height = 25;

}  // namespace

Picture_Box::Picture_Box(QWidget* parent) : QFrame(parent), picture_(Blank_Bitmap()) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(Border);
  setFixedSize(Bitmap_Width + 2 * Border, Bitmap_Height + 2 * Border);
}

QImage Picture_Box::Image() const {
  const QImage view(reinterpret_cast<const uchar*>(picture_.Data()), picture_.Width(), picture_.Height(),
                    picture_.Width() * 3, QImage::Format_RGB888);
  return view.copy();
}

void Picture_Box::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.drawImage(contentsRect().topLeft(), Image());
}

BMPSaver::BMPSaver(const Store& store, const std::string& path, Platform& platform, QWidget* parent)
    : QDialog(parent), store_(store), path_(path), platform_(platform) {
  setObjectName(QStringLiteral("BMPSaver"));
  setWindowTitle(QStringLiteral("BMP Saver"));
  setModal(true);
  setFixedSize(Area_Width, Area_Height);
  Picture1 = new Picture_Box(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->move(Margin, Margin);
  Command1 = new QPushButton(QStringLiteral("Ok"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setGeometry(Area_Width - Margin - Button_Width, Area_Height - Margin - Button_Height, Button_Width,
                        Button_Height);
  Command1->setDefault(true);
  QMetaObject::connectSlotsByName(this);
}

// Drawn when the window is first shown, and at every activation: a window
// manager that never activates it, or a close before it was activated, must
// not leave a blank picture to be saved.
bool BMPSaver::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate || (event->type() == QEvent::Show && !drawn_)) Draw_Curve();
  return QDialog::event(event);
}

// Drawn over what the picture holds: a second activation draws the same
// curve again.
void BMPSaver::Draw_Curve() {
  Busy_Pointer busy(platform_);
  Draw_Steps(Picture1->Picture(), Bitmap_Curve(store_));
  Picture1->update();
  drawn_ = true;
  busy.Normal();
}

void BMPSaver::on_Command1_clicked() {
  close();
}

// "Ok", the close box and Escape all end here.
void BMPSaver::done(int result) {
  if (!saved_) {
    saved_ = true;
    try {
      Save_Bmp(Picture1->Picture(), path_);
    } catch (const Failure& failure) {
      failure_ = failure.what();
    }
  }
  QDialog::done(result);
}

void Show_BMPSaver(const Store& store, const std::string& path, Platform& platform, QWidget* parent) {
  BMPSaver window(store, path, platform, parent);
  window.exec();
  if (window.Save_Failure()) throw Failure(*window.Save_Failure());
}

}  // namespace talvo::qt
