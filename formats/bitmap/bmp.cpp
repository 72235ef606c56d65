#include "formats/bitmap/bmp.h"

#include <cmath>
#include <cstdint>

#include "core/failure.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/store.h"
#include "ui/bitmap_curve.h"

namespace talvo {

namespace {

// The curve is drawn over the point index, from point 1 at the left edge to
// the last point at the right edge and from 0 up to Max_Intensity: each of
// these scans would give it a coordinate system of no extent, or loop past
// what a 16-bit count reaches.
void Check_Drawable(const std::string& path, const Store& store) {
  const std::string nothing = " Nothing was written to " + File_Name_Of(path) + ".";
  const int32_t n = store.Nb_Points;
  if (n < 2)
    throw Failure("The scan has " + std::to_string(n) + (n == 1 ? " point" : " points") +
                  "; a bitmap of its curve needs at least 2." + nothing);
  if (n > Max_Points) throw Failure(Too_Many_Points(n, File_Name_Of(path)));
  if (!Holds_Points(store, n))
    throw Failure("The pattern holds " + std::to_string(store.Intensities.empty() ? 0 : store.Intensities.size() - 1) +
                  " intensities, fewer than its " + std::to_string(n) + " points." + nothing);
  if (!std::isfinite(store.Max_Intensity))
    throw Failure("The scan's largest count is not a number, so its curve cannot be drawn." + nothing);
  if (store.Max_Intensity == 0) throw Failure("The scan's largest count is 0, so its curve has no height." + nothing);
  for (int32_t k = 1; k <= n; ++k)
    if (!std::isfinite(store.Intensities[static_cast<std::size_t>(k)]))
      throw Failure("Point " + std::to_string(k) + " of the scan holds a count that is not a number, so its curve " +
                    "cannot be drawn." + nothing);
}

}  // namespace

void Write_Bmp(const std::string& path, const Store& store, Platform& platform) {
  Check_Drawable(path, store);
  platform.Show_BMPSaver(store, path);
}

Raster Blank_Bitmap() {
  return Raster(Bitmap_Width, Bitmap_Height, White);
}

Raster Curve_Bitmap(const Store& store) {
  Raster picture = Blank_Bitmap();
  Draw_Steps(picture, Bitmap_Curve(store));
  return picture;
}

namespace {

void Put_U16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8 & 0xFF);
}

void Put_U32(std::string& out, uint32_t value) {
  Put_U16(out, value & 0xFFFF);
  Put_U16(out, value >> 16);
}

constexpr uint32_t File_Header_Size = 14, Info_Header_Size = 40;
constexpr uint32_t Dots_Per_Metre = 3780;  // 96 dots per inch

}  // namespace

std::string Bmp_Bytes(const Raster& picture) {
  const auto width = static_cast<uint32_t>(picture.Width()), height = static_cast<uint32_t>(picture.Height());
  const uint32_t row_bytes = (width * 3 + 3) / 4 * 4;  // each row padded to 4 bytes
  const uint32_t pixel_bytes = row_bytes * height;
  const uint32_t offset = File_Header_Size + Info_Header_Size;
  std::string out;
  out.reserve(offset + pixel_bytes);
  // File header.
  out += "BM";
  Put_U32(out, offset + pixel_bytes);  // file size
  Put_U32(out, 0);                     // reserved
  Put_U32(out, offset);                // where the pixels start
  // Information header.
  Put_U32(out, Info_Header_Size);
  Put_U32(out, width);
  Put_U32(out, height);  // positive: the bottom row comes first
  Put_U16(out, 1);       // planes
  Put_U16(out, 24);      // bits per pixel
  Put_U32(out, 0);       // no compression
  Put_U32(out, pixel_bytes);
  Put_U32(out, Dots_Per_Metre);
  Put_U32(out, Dots_Per_Metre);
  Put_U32(out, 0);  // colours used: no palette
  Put_U32(out, 0);  // important colours
  // Pixels: blue, green, red, rows from the bottom up.
  for (uint32_t row = height; row-- > 0;) {
    const Colour* pixel = picture.Data() + std::size_t{row} * width;
    for (uint32_t x = 0; x < width; ++x, ++pixel) {
      out += static_cast<char>(pixel->blue);
      out += static_cast<char>(pixel->green);
      out += static_cast<char>(pixel->red);
    }
    out.append(row_bytes - width * 3, '\0');
  }
  return out;
}

void Save_Bmp(const Raster& picture, const std::string& path) {
  Write_File_Atomically(path, Bmp_Bytes(picture));
}

}  // namespace talvo
