// Drawing steps painted with QPainter, and the bitmap they make.
//
// QtGui only (QPainter, QImage, the BMP writer): talvo-convert links this
// too, to paint the bitmap without a window or a display.
#pragma once

#include <QImage>
#include <QSizeF>
#include <string>

#include "ui/drawing.h"

class QPainter;

namespace talvo::painter {

// Paints `steps` on an area of `area` pixels from the painter's origin. The
// user coordinates map linearly onto the area, edge to edge; texts are
// placed by their top-left corner and stay upright.
void Paint_Steps(QPainter& painter, const Steps& steps, QSizeF area);

// The retained picture of the bitmap export: 320 x 240, white.
QImage Blank_Bitmap();
// Paints the steps into the bitmap without antialiasing, over what it holds.
void Draw_Into(QImage& image, const Steps& steps);

// The image as the bytes of a 24-bit Windows bitmap file.
std::string Bmp_Bytes(const QImage& image);
// Written beside `path` and renamed over it; throws Failure naming the file.
void Save_Bmp(const QImage& image, const std::string& path);

}  // namespace talvo::painter
