#include "toolkit/RgbPicture.h"

#include <QImage>
#include <algorithm>

#include "toolkit/QtBridge.h"

namespace tk {

TRgbPicture::TRgbPicture(int width, int height, TColor fill)
    : image_(
          std::make_unique<QImage>(std::max(0, width), std::max(0, height), QImage::Format_RGB32)) {
  Fill(fill);
}

TRgbPicture::~TRgbPicture() = default;

int TRgbPicture::Width() const {
  return image_->width();
}
int TRgbPicture::Height() const {
  return image_->height();
}

TColor TRgbPicture::Pixel(int x, int y) const {
  if (!image_->valid(x, y)) return clWhite;
  const QRgb p = image_->pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

void TRgbPicture::SetPixel(int x, int y, TColor color) {
  if (!image_->valid(x, y)) return;
  const TColor c = ColorToRGB(color);
  // a row is a run of 32-bit words: writing one is cheaper than QImage::setPixel
  reinterpret_cast<QRgb*>(image_->scanLine(y))[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

void TRgbPicture::Fill(TColor color) {
  image_->fill(ToQColor(color));
}

}  // namespace tk
