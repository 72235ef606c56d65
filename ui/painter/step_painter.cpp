#include "ui/painter/step_painter.h"

#include <QFontMetricsF>
#include <QPainter>

namespace talvo::painter {

namespace {

QColor To_Q(Colour c) {
  return QColor(c.red, c.green, c.blue);
}

// User coordinates to pixels of the area. A system of no extent maps
// nothing: such a picture is refused before it is drawn.
class Mapping {
 public:
  Mapping(const step::Coordinates& c, QSizeF area) : c_(c) {
    const double width = c.right - c.left, height = c.bottom - c.top;
    valid_ = width != 0 && height != 0;
    sx_ = valid_ ? area.width() / width : 0;
    sy_ = valid_ ? area.height() / height : 0;
  }
  bool Valid() const { return valid_; }
  QPointF operator()(double x, double y) const { return {(x - c_.left) * sx_, (y - c_.top) * sy_}; }

 private:
  step::Coordinates c_;
  bool valid_ = false;
  double sx_ = 0, sy_ = 0;
};

QPen Pen(Colour colour) {
  QPen pen(To_Q(colour));
  pen.setWidth(1);
  pen.setCosmetic(true);
  return pen;
}

}  // namespace

void Paint_Steps(QPainter& painter, const Steps& steps, QSizeF area) {
  Mapping map(step::Coordinates{}, area);
  for (const Step& each : steps) {
    if (const auto* c = std::get_if<step::Coordinates>(&each)) {
      map = Mapping(*c, area);
      continue;
    }
    if (!map.Valid()) continue;
    if (const auto* r = std::get_if<step::Filled_Rectangle>(&each)) {
      painter.setPen(Pen(r->colour));
      painter.setBrush(To_Q(r->fill));
      painter.drawRect(QRectF(map(r->x1, r->y1), map(r->x2, r->y2)).normalized());
      painter.setBrush(Qt::NoBrush);
    } else if (const auto* l = std::get_if<step::Line>(&each)) {
      painter.setPen(Pen(l->colour));
      painter.drawLine(map(l->x1, l->y1), map(l->x2, l->y2));
    } else if (const auto* d = std::get_if<step::Dot>(&each)) {
      painter.setPen(Pen(d->colour));
      painter.drawPoint(map(d->x, d->y));
    } else if (const auto* t = std::get_if<step::Text>(&each)) {
      // drawText places the baseline; the step gives the top of the text.
      painter.setPen(Pen(t->colour));
      const QPointF top_left = map(t->x, t->y);
      const QFontMetricsF metrics(painter.font());
      painter.drawText(QPointF(top_left.x(), top_left.y() + metrics.ascent()), QString::fromUtf8(t->text));
    }
  }
}

}  // namespace talvo::painter
