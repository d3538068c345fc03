#pragma once
// The drawing surface the chart canvas draws on: a current pen, brush and
// font, text alignment and background, the primitive figures, text, clipping
// and off-screen bitmaps. Two implementations: one over QPainter (on a QImage
// or inside a widget's paint event) and one that records the calls for tests.
//
// Conventions: a line drawn with LineTo leaves out its end pixel; rectangles,
// ellipses, arcs and pies take a bounding box whose right and bottom edges are
// exclusive; polygons fill by the alternate (odd-even) rule.

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"

namespace tk {

struct TSize {
  int cx = 0, cy = 0;
  bool operator==(const TSize&) const = default;
};

class TSurface;

// An off-screen picture with a surface of its own.
class TBitmap {
 public:
  virtual ~TBitmap() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Monochrome() const = 0;
  virtual TSurface& Canvas() = 0;
  // Device pixels per logical pixel: a bitmap made for a high-density screen
  // holds Width() x PixelRatio() device pixels across and is drawn through a scale.
  virtual double PixelRatio() const { return 1.0; }
  // Whether what is drawn stays as pixels that a block copy gives back exactly. A bitmap of
  // the recording surface keeps calls instead: a chart never reuses a kept layer on one, so
  // tests that record a paint see the whole drawing.
  virtual bool KeepsPixels() const { return false; }
};

// A picture to draw into a rectangle (a back image, for instance).
class TPicture {
 public:
  virtual ~TPicture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
};

class TSurface {
 public:
  virtual ~TSurface() = default;
  // Device pixels per logical pixel of what this surface draws on.
  virtual double PixelRatio() const { return 1.0; }
  // The kind of surface that measures text for this one: texts measured on one
  // kind keep their widths on another of the same kind at the same pixel ratio.
  virtual const std::type_info& MeasuringType() const { return typeid(*this); }

  // ---------------------------------------------------------------- tools
  TPenSpec pen;
  TBrushSpec brush;
  TFontSpec font;
  TColor backColor = clWhite;
  int backMode = OPAQUE;
  unsigned textAlign = TA_LEFT | TA_TOP;

  // ---------------------------------------------------------------- figures
  virtual void MoveTo(int x, int y) { current_ = {x, y}; }
  virtual void LineTo(int x, int y) = 0;  // from the current position; end pixel excluded
  virtual void Polyline(const TPoint* points, int count) = 0;
  virtual void Polygon(const TPoint* points, int count) = 0;
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void RoundRect(int x1, int y1, int x2, int y2, int w, int h) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Arcs and pies run counter-clockwise from the ray to (x3, y3) to the ray to (x4, y4).
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void FillRect(const TRect& r) = 0;  // the brush, no outline
  virtual void SetPixel(int x, int y, TColor color) = 0;

  // ---------------------------------------------------------------- text
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual TSize TextExtent(const std::string& text) = 0;
  // The height alone: a text is as high as its font's line, so no shaping is needed.
  virtual int TextHeight(const std::string& text) { return TextExtent(text).cy; }

  // ---------------------------------------------------------------- clipping
  virtual void IntersectClipRect(const TRect& r) = 0;
  virtual void SelectClipPolygon(const TPoint* points, int count) = 0;  // replaces the clip
  virtual void RemoveClip() = 0;
  // Logical to device coordinates: our surfaces draw in device pixels.
  TPoint LogicalToDevice(TPoint p) const { return p; }

  // ---------------------------------------------------------------- bitmaps and pictures
  virtual std::unique_ptr<TBitmap> CreateBitmap(int width, int height, bool monochrome) = 0;
  // Whether a frame of width x height logical pixels may be drawn straight onto this
  // surface instead of into a bitmap copied here: an off-screen picture of exactly that
  // size and of the bitmaps' own kind, which nobody sees while it is being drawn.
  virtual bool HoldsFrame(int /*width*/, int /*height*/) const { return false; }
  virtual void CopyFrom(int x, int y, TBitmap& source) = 0;  // a plain block copy
  virtual void DrawPicture(const TRect& dest, const TPicture& picture) = 0;

  // A handle that tells surfaces apart (its address).
  const void* Handle() const { return this; }
  TPoint PenPos() const { return current_; }

 protected:
  TPoint current_;
};

}  // namespace tk
