// Writes the reference bitmaps of tests/data/bitmaps/ with the QPainter
// painter: bitmap_reference <folder>.
#include <iostream>

#include "fixtures/bitmap_scans.h"
#include "ui/bitmap_curve.h"
#include "ui/painter/step_painter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: bitmap_reference FOLDER\n";
    return 2;
  }
  for (const auto& scan : talvo::testing::Bitmap_Scans()) {
    QImage image = talvo::painter::Blank_Bitmap();
    talvo::painter::Draw_Into(image, talvo::Bitmap_Curve(talvo::testing::Bitmap_Store(scan)));
    talvo::painter::Save_Bmp(image, std::string(argv[1]) + "/" + scan.file);
  }
  return 0;
}
