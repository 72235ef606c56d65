#include "formats/bitmap/raster.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace talvo {

Raster::Raster(int width, int height, Colour background)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, background) {}

void Raster::Plot(int x, int y, Colour colour) {
  if (x >= 0 && x < width_ && y >= 0 && y < height_) pixels_[Index(x, y)] = colour;
}

namespace {

// User coordinates to pixel coordinates: (left, top) is the top-left corner
// of pixel (0, 0), (right, bottom) the bottom-right corner of the last one.
class Mapping {
 public:
  Mapping() = default;
  Mapping(const step::Coordinates& c, int width, int height) : c_(c), valid_(c.right != c.left && c.bottom != c.top) {
    sx_ = valid_ ? width / (c.right - c.left) : 0;
    sy_ = valid_ ? height / (c.bottom - c.top) : 0;
  }
  bool Valid() const { return valid_; }
  double X(double x) const { return (x - c_.left) * sx_; }
  double Y(double y) const { return (y - c_.top) * sy_; }

 private:
  step::Coordinates c_;
  bool valid_ = false;
  double sx_ = 0, sy_ = 0;
};

// A point's pixel: the nearest, halves away from zero. A point far outside
// the picture (or not a number) has none.
void Plot_Nearest(Raster& raster, double x, double y, Colour colour) {
  const auto nearest = [](double v) { return v >= 0 ? static_cast<int>(v + 0.5) : static_cast<int>(v - 0.5); };
  if (x > -1 && x < raster.Width() + 1 && y > -1 && y < raster.Height() + 1)
    raster.Plot(nearest(x), nearest(y), colour);
}

// Cuts the line to the picture widened by one pixel on the left and top and
// two on the right and bottom, in floating point, so that the fixed-point
// walk below never sees a coordinate far outside the picture. Returns false
// when nothing of it is left (or a coordinate is not a number). The order
// of the four cuts and the form of each are part of the result: a cut end
// lands where this arithmetic puts it.
bool Clip(double& x1, double& y1, double& x2, double& y2, int width, int height) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
  const double xmin = -1, xmax = width + 1, ymin = -1, ymax = height + 1;
  if (x1 < xmin) {
    if (x2 <= xmin) return false;
    y1 += (y2 - y1) / (x2 - x1) * (xmin - x1);
    x1 = xmin;
  } else if (x1 > xmax) {
    if (x2 >= xmax) return false;
    y1 += (y2 - y1) / (x2 - x1) * (xmax - x1);
    x1 = xmax;
  }
  if (x2 < xmin) {
    y2 += (y2 - y1) / (x2 - x1) * (xmin - x2);
    x2 = xmin;
  } else if (x2 > xmax) {
    y2 += (y2 - y1) / (x2 - x1) * (xmax - x2);
    x2 = xmax;
  }
  if (y1 < ymin) {
    if (y2 <= ymin) return false;
    x1 += (x2 - x1) / (y2 - y1) * (ymin - y1);
    y1 = ymin;
  } else if (y1 > ymax) {
    if (y2 >= ymax) return false;
    x1 += (x2 - x1) / (y2 - y1) * (ymax - y1);
    y1 = ymax;
  }
  if (y2 < ymin) {
    x2 += (x2 - x1) / (y2 - y1) * (ymin - y2);
    y2 = ymin;
  } else if (y2 > ymax) {
    x2 += (x2 - x1) / (y2 - y1) * (ymax - y2);
    y2 = ymax;
  }
  return true;
}

// Pixel coordinates in 1/64 pixel, cut toward zero.
int Sixty_Fourths(double v) {
  return static_cast<int>(v * 64.);
}

// The change of the minor coordinate per step of the major one, in 1/65536
// pixel, cut toward zero.
int Slope(int minor, int major) {
  return static_cast<int>(int64_t{minor} * 65536 / major);
}

// One pixel per column (or per row, for a line steeper than 45 degrees)
// along the major axis, `a` major and `b` minor, both in 1/64 pixel. The
// square caps make the line half a pixel longer at either end; a pixel is
// drawn for every major coordinate whose centre lies in the lengthened line.
template <typename Plot_At>
void Walk(int a1, int b1, int a2, int b2, Plot_At plot_at) {
  if (a1 > a2) {
    std::swap(a1, a2);
    std::swap(b1, b2);
  }
  const int slope = Slope(b2 - b1, a2 - a1);
  int b = b1 * 1024;  // 1/65536 pixel from here on
  a1 -= 32;
  b -= slope >> 1;
  a2 += 32;
  int a = (a1 + 32) >> 6;
  const int a_end = (a2 + 32) >> 6;
  if (a == a_end) return;
  const int round = slope > 0 ? 32 : 0;
  b += ((a * 64) + round - a1) * slope >> 6;
  do {
    plot_at(a, b >> 16);
    b += slope;
  } while (++a < a_end);
}

void Draw_Line(Raster& raster, double x1, double y1, double x2, double y2, Colour colour) {
  if (x1 == x2 && y1 == y2) {
    Plot_Nearest(raster, x1, y1, colour);
    return;
  }
  if (!Clip(x1, y1, x2, y2, raster.Width(), raster.Height())) return;
  // A cut of a line between points of vastly different size can overflow;
  // what is left of it is then not drawn.
  const auto inside = [](double v, int size) { return v >= -2 && v <= size + 2; };
  if (!inside(x1, raster.Width()) || !inside(x2, raster.Width()) || !inside(y1, raster.Height()) ||
      !inside(y2, raster.Height()))
    return;
  const int fx1 = Sixty_Fourths(x1), fy1 = Sixty_Fourths(y1);
  const int fx2 = Sixty_Fourths(x2), fy2 = Sixty_Fourths(y2);
  const int dx = std::abs(fx2 - fx1), dy = std::abs(fy2 - fy1);
  if (dx < dy)
    Walk(fy1, fx1, fy2, fx2, [&](int y, int x) { raster.Plot(x, y, colour); });
  else if (dx != 0)
    Walk(fx1, fy1, fx2, fy2, [&](int x, int y) { raster.Plot(x, y, colour); });
}

}  // namespace

void Draw_Steps(Raster& raster, const Steps& steps) {
  Mapping map;
  for (const Step& each : steps) {
    if (const auto* c = std::get_if<step::Coordinates>(&each)) {
      map = Mapping(*c, raster.Width(), raster.Height());
    } else if (!map.Valid()) {
      continue;
    } else if (const auto* l = std::get_if<step::Line>(&each)) {
      Draw_Line(raster, map.X(l->x1), map.Y(l->y1), map.X(l->x2), map.Y(l->y2), l->colour);
    } else if (const auto* d = std::get_if<step::Dot>(&each)) {
      Plot_Nearest(raster, map.X(d->x), map.Y(d->y), d->colour);
    }
  }
}

}  // namespace talvo
