// A picture of 24-bit pixels and the line drawing of the bitmap export.
//
// Lines are drawn one pixel wide without antialiasing, the way the raster
// painter of the desktop program's toolkit draws a cosmetic one-pixel pen
// with square caps, so that the saved bitmap of a scan is the same file
// whichever front end writes it.
#pragma once

#include <cstddef>
#include <vector>

#include "ui/drawing.h"

namespace talvo {

// Data() hands the pixels out as bytes.
static_assert(sizeof(Colour) == 3 && alignof(Colour) == 1);

class Raster {
 public:
  Raster(int width, int height, Colour background);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Row 0 is the top row.
  Colour Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
  // Pixels outside the picture are left alone.
  void Plot(int x, int y, Colour colour);
  // The rows from the top, each Width() pixels of red, green and blue bytes.
  const Colour* Data() const { return pixels_.data(); }
  bool operator==(const Raster&) const = default;

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

  int width_, height_;
  std::vector<Colour> pixels_;
};

// Draws the lines and dots of `steps` over what the picture holds, in the
// user coordinates of the step::Coordinates before them, mapped onto the
// whole picture edge to edge. Steps before any coordinate system, or in one
// of no extent, draw nothing; texts and rectangles are not drawn.
void Draw_Steps(Raster& raster, const Steps& steps);

}  // namespace talvo
