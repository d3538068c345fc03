#pragma once
// A picture of RGB pixels that the program paints itself (a density map, say)
// and the chart engine draws like any other picture, stretched into a
// rectangle with each pixel a sharp block.

#include <memory>

#include "toolkit/Color.h"
#include "toolkit/Surface.h"

class QImage;

namespace tk {

class TRgbPicture : public TPicture {
 public:
  TRgbPicture(int width, int height, TColor fill = clWhite);
  ~TRgbPicture() override;

  // properties
  int Width() const override;
  int Height() const override;
  // Plain RGB; outside the picture, white.
  TColor Pixel(int x, int y) const;

  // operations
  void SetPixel(int x, int y, TColor color);  // outside the picture: nothing
  void Fill(TColor color);

  // The pixels, for the surfaces that draw it.
  const QImage& Image() const { return *image_; }

 private:
  std::unique_ptr<QImage> image_;
};

}  // namespace tk
