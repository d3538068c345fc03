#include "toolkit/Graphics.h"

#include "toolkit/Rounding.h"

namespace tk {

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
