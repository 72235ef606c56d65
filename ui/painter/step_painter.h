// Drawing steps painted with QPainter, for the windows of the desktop
// program. The bitmap export draws its picture without Qt (formats/bitmap/).
#pragma once

#include <QSizeF>

#include "ui/drawing.h"

class QPainter;

namespace talvo::painter {

// Paints `steps` on an area of `area` pixels from the painter's origin. The
// user coordinates map linearly onto the area, edge to edge; texts are
// placed by their top-left corner and stay upright.
void Paint_Steps(QPainter& painter, const Steps& steps, QSizeF area);

}  // namespace talvo::painter
