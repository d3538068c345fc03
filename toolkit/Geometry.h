#pragma once
// Points and rectangles in integer pixels, y growing downwards. A rectangle's
// right and bottom edges are exclusive, as the drawing surface treats them.

namespace tk {

struct TPoint {
  int x = 0, y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const TRect&) const = default;
};

}  // namespace tk
