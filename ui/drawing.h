// Drawing steps: a picture as a list of plain values in the picture's own
// user coordinate system, painted by QPainter in the desktop program
// (and drawn by formats/bitmap/ for the bitmap export), checked step by
// step by the tests.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace talvo {

struct Colour {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour Black{0, 0, 0};
inline constexpr Colour White{255, 255, 255};
inline constexpr Colour Dark_Blue{0, 0, 128};
inline constexpr Colour Red{255, 0, 0};

namespace step {

// The user coordinate system of the drawing area, given by the values at its
// four edges; it applies to every step after it. The y axis may grow upwards
// (top > bottom); text is never mirrored by it.
struct Coordinates {
  double left = 0, top = 0, right = 1, bottom = 1;
  bool operator==(const Coordinates&) const = default;
};

// A rectangle outlined in `colour` and filled with `fill`.
struct Filled_Rectangle {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour colour, fill;
  bool operator==(const Filled_Rectangle&) const = default;
};

struct Line {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour colour;
  bool operator==(const Line&) const = default;
};

// One pixel at a point: the start of a polyline, which a zero-length line
// would not reliably draw.
struct Dot {
  double x = 0, y = 0;
  Colour colour;
  bool operator==(const Dot&) const = default;
};

// How the left edge of a text was found from the place it labels.
enum class Align { Left, Centre, Right };

// Text placed by its top-left corner at (x, y); `text` is UTF-8. `align`
// records how x was derived (centred under a tick, ending left of an axis);
// the position already holds the offset.
struct Text {
  double x = 0, y = 0;
  std::string text;
  Align align = Align::Left;
  Colour colour;
  bool operator==(const Text&) const = default;
};

}  // namespace step

using Step = std::variant<step::Coordinates, step::Filled_Rectangle, step::Line, step::Dot, step::Text>;
using Steps = std::vector<Step>;

}  // namespace talvo
