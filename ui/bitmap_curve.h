// The picture of the bitmap export: the scan's counts as one black curve
// over the point index, edge to edge, without axes or labels.
#pragma once

#include "ui/drawing.h"

namespace talvo {

struct Store;

// The drawable area of the bitmap window's picture, and the saved bitmap.
inline constexpr int Bitmap_Width = 320;
inline constexpr int Bitmap_Height = 240;

// The steps of the curve: the coordinate system (1, Max_Intensity) at the
// top left to (Nb_Points, -Max_Intensity / 239) at the bottom right, which
// puts the counts 0..Max_Intensity on rows 239..0, then one line from the
// current point to each point k at (k, Intensities(k)), the current point
// starting at (0, Intensities(1)). Draws only the points the store holds.
Steps Bitmap_Curve(const Store& store);

}  // namespace talvo
