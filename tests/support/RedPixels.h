#pragma once
// Comparing two pictures of a red signal line, pixel by pixel.

#include <QImage>

// Share of the pixels the red line touches in either picture that differ between them.
inline double RedDifference(const QImage& a, const QImage& b) {
  long touched = 0, differ = 0;
  const QRgb red = qRgb(255, 0, 0);
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const bool inA = a.pixel(x, y) == red, inB = b.pixel(x, y) == red;
      touched += inA || inB;
      differ += inA != inB;
    }
  return touched ? static_cast<double>(differ) / touched : 0;
}
