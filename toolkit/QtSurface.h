#pragma once
// The drawing surface over QPainter: on a QImage (bitmaps, pictures for
// tests and screenshots) or on a widget inside its paint event.

#include <memory>

#include "toolkit/Surface.h"

class QPaintDevice;
class QImage;
class QString;
class QFont;

namespace tk {

class TQtSurface : public TSurface {
 public:
  explicit TQtSurface(QPaintDevice* device);
  ~TQtSurface() override;

  void LineTo(int x, int y) override;
  void Polyline(const TPoint* points, int count) override;
  void Polygon(const TPoint* points, int count) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void RoundRect(int x1, int y1, int x2, int y2, int w, int h) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void FillRect(const TRect& r) override;
  void SetPixel(int x, int y, TColor color) override;
  void TextOut(int x, int y, const std::string& text) override;
  TSize TextExtent(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void IntersectClipRect(const TRect& r) override;
  void SelectClipPolygon(const TPoint* points, int count) override;
  void RemoveClip() override;
  double PixelRatio() const override;
  std::unique_ptr<TBitmap> CreateBitmap(int width, int height, bool monochrome) override;
  bool HoldsFrame(int width, int height) const override;
  void CopyFrom(int x, int y, TBitmap& source) override;
  void DrawPicture(const TRect& dest, const TPicture& picture) override;

 private:
  const QImage& RotatedText(const std::string& text);
  const QImage* EllipseStamp(int width, int height);
  void Prepare(bool withPen, bool withBrush);
  bool Outlines() const;  // whether outlines draw at all
  template <typename Draw>
  void Figure(Draw draw);
  void Forget();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A bitmap held in a QImage. A monochrome one is drawn in colour and reduced
// to black and white when copied out, as a one-bit bitmap would show it.
class TImageBitmap : public TBitmap {
 public:
  TImageBitmap(int width, int height, bool monochrome, double pixelRatio = 1.0);
  ~TImageBitmap() override;
  int Width() const override;
  int Height() const override;
  bool Monochrome() const override { return monochrome_; }
  TSurface& Canvas() override;
  double PixelRatio() const override;
  bool KeepsPixels() const override { return !monochrome_; }
  // The picture as it would appear when copied out.
  QImage Image() const;
  // The pixels as drawn (in colour even for a monochrome bitmap).
  const QImage& Pixels() const { return *image_; }

 private:
  std::unique_ptr<QImage> image_;
  std::unique_ptr<TQtSurface> surface_;
  int width_, height_;
  bool monochrome_;
};

// A picture read from a QImage.
class TImagePicture : public TPicture {
 public:
  explicit TImagePicture(const QImage& image);
  ~TImagePicture() override;
  int Width() const override;
  int Height() const override;
  const QImage& Image() const { return *image_; }

 private:
  std::unique_ptr<QImage> image_;
};

}  // namespace tk
