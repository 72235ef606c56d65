#include "ui/qt/f_preview.h"

#include <QPainter>

#include "core/cp1252.h"
#include "core/platform.h"
#include "core/store.h"
#include "core/text32.h"
#include "ui/painter/step_painter.h"
#include "ui/preview_plot.h"

namespace talvo::qt {

namespace {

constexpr int Open_Width = 415;  // the drawing area at 96 dots per inch
constexpr int Open_Height = 307;

}  // namespace

F_Preview::F_Preview(const Store& store, Platform& platform, QWidget* parent)
    : QDialog(parent), store_(store), platform_(platform) {
  setObjectName(QStringLiteral("F_Preview"));
  setModal(true);
  setSizeGripEnabled(false);
  // All 32 characters of the sample name, trailing blanks included.
  const std::string title = Cp1252_To_Utf8(Blank_Nuls(store.Sample_ID));
  setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(Open_Width, Open_Height);
}

double F_Preview::Outer_Width_Twips() const {
  return frameGeometry().width() * Twips_Per_Pixel;
}

void F_Preview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const Steps steps = Preview_Plot(store_, Outer_Width_Twips(), platform_.Decimal_Separator());
  talvo::painter::Paint_Steps(painter, steps, QSizeF(size()));
  platform_.Set_Busy(false);
}

void Show_F_Preview(const Store& store, Platform& platform, QWidget* parent) {
  F_Preview window(store, platform, parent);
  window.exec();
  platform.Set_Busy(false);  // also when the window closed before it painted
}

}  // namespace talvo::qt
