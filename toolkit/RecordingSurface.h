#pragma once
// A drawing surface that keeps the calls it receives, with the tools that were
// current at each one, so tests can check the geometry that was drawn.
//
// Text extents follow a fixed rule instead of real font metrics: a text is
// ceil(|height| / 2) pixels wide per character and |height| + 2 pixels high,
// where height is the font's pixel height.

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Surface.h"

namespace tk {

struct TDrawCall {
  std::string op;         // the surface operation: "LineTo", "Polygon", "TextOut", ...
  std::vector<int> args;  // its coordinates in order (a polygon's x, y pairs)
  std::string text;       // TextOut's text
  TColor color = 0;       // SetPixel's colour
  TPenSpec pen;
  TBrushSpec brush;
  TFontSpec font;
  TColor backColor = 0;
  int backMode = 0;
  unsigned textAlign = 0;
  const void* target = nullptr;  // the surface drawn on
  std::string ToString() const;  // "op a,b,c,..." (and the text)
};

class TRecordingSurface : public TSurface {
 public:
  TRecordingSurface();
  // A surface that writes into another's log (a bitmap made by that surface).
  explicit TRecordingSurface(std::shared_ptr<std::vector<TDrawCall>> log);

  const std::vector<TDrawCall>& Calls() const { return *log_; }
  void Clear() { log_->clear(); }
  // The calls of one operation, as ToString texts.
  std::vector<std::string> Ops(const std::string& op) const;

  void MoveTo(int x, int y) override;
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
  void IntersectClipRect(const TRect& r) override;
  void SelectClipPolygon(const TPoint* points, int count) override;
  void RemoveClip() override;
  std::unique_ptr<TBitmap> CreateBitmap(int width, int height, bool monochrome) override;
  void CopyFrom(int x, int y, TBitmap& source) override;
  void DrawPicture(const TRect& dest, const TPicture& picture) override;

 private:
  TDrawCall& Record(const char* op, std::initializer_list<int> args);
  void RecordPoints(const char* op, const TPoint* points, int count);
  std::shared_ptr<std::vector<TDrawCall>> log_;
};

}  // namespace tk
