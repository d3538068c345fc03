#include "toolkit/Graphics.h"

#include <algorithm>

#include "toolkit/Rounding.h"

namespace tk {

TBrushBitmap::TBrushBitmap(int width, int height, std::vector<TColor> pixels)
    : width_(std::max(0, width)), height_(std::max(0, height)), pixels_(std::move(pixels)) {
  pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_), clWhite);
}

TColor TBrushBitmap::PixelAt(int x, int y) const {
  if (Empty()) return clWhite;
  const int px = ((x % width_) + width_) % width_, py = ((y % height_) + height_) % height_;
  return pixels_[static_cast<size_t>(py) * static_cast<size_t>(width_) + static_cast<size_t>(px)];
}

TBrushBitmapRef MakeBrushBitmap(int width, int height, std::vector<TColor> pixels) {
  return std::make_shared<const TBrushBitmap>(width, height, std::move(pixels));
}

int PointsToHeight(int points) {
  return -MulDiv(points, kPixelsPerInch, 72);
}

// A positive height (cell height) gives a negative size, and back.
int HeightToPoints(int height) {
  return -MulDiv(height, 72, kPixelsPerInch);
}

int TFontObject::Size() const {
  return HeightToPoints(font_.height);
}

void TFontObject::SetSize(int points) {
  SetHeight(PointsToHeight(points));
}

}  // namespace tk
