#pragma once
// A surface that keeps what is drawn on it as a list of calls, with the tools
// that were current at each, so that one frame's drawing can be compared with
// the last frame's and played onto a real surface. Text is measured by the
// surface the list stands in for, so a layout made while recording is the
// layout that drawing there would make.
//
// The chart records the part of its picture that lies under the series this
// way: when the list comes out the same as last time, the pixels kept from
// last time are the pixels this drawing would give, and nothing is drawn.

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Surface.h"

namespace tk {

class TDisplayList : public TSurface {
 public:
  TDisplayList() = default;

  // Starts an empty list that measures text on, and takes the tools and pen position of, the
  // given surface (which must outlive the recording).
  void Begin(TSurface& measure);
  // Whether two lists draw the same: the same calls with the same tools, and neither holds
  // anything compared by address only (a picture, a bitmap) nor ends inside a clip.
  bool SameDrawing(const TDisplayList& other) const;
  // Draws every call onto a surface and leaves it with the tools and pen position the
  // recording ended with.
  void PlayOnto(TSurface& target) const;
  // Leaves a surface with the tools and pen position the recording ended with, as if the list
  // had been played onto it.
  void FinishOnto(TSurface& target) const;
  // Something in the list cannot be compared: it always counts as changed.
  bool Comparable() const { return comparable_ && !clipOpen_; }
  int CallCount() const { return static_cast<int>(calls_.size()); }
  void Swap(TDisplayList& other) noexcept;

  double PixelRatio() const override { return measure_ ? measure_->PixelRatio() : 1.0; }
  const std::type_info& MeasuringType() const override {
    return measure_ ? measure_->MeasuringType() : typeid(*this);
  }
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
  int TextHeight(const std::string& text) override;
  void IntersectClipRect(const TRect& r) override;
  void SelectClipPolygon(const TPoint* points, int count) override;
  void RemoveClip() override;
  std::unique_ptr<TBitmap> CreateBitmap(int width, int height, bool monochrome) override;
  void CopyFrom(int x, int y, TBitmap& source) override;
  void DrawPicture(const TRect& dest, const TPicture& picture) override;

 private:
  enum TOp : unsigned char {
    opLineTo,
    opPolyline,
    opPolygon,
    opRectangle,
    opRoundRect,
    opEllipse,
    opArc,
    opPie,
    opFillRect,
    opSetPixel,
    opTextOut,
    opClipRect,
    opClipPolygon,
    opRemoveClip,
    opCopyFrom,
    opPicture,
  };
  struct TTools {
    TPenSpec pen;
    TBrushSpec brush;
    TFontSpec font;
    TColor backColor;
    int backMode;
    unsigned textAlign;
    bool operator==(const TTools&) const = default;
  };
  struct TCall {
    TOp op;
    int tools;      // index into tools_
    int firstArg;   // index into args_
    int argCount;
    int extra;      // index of the text, bitmap or picture; -1 for none
    bool operator==(const TCall&) const = default;
  };
  void Add(TOp op, std::initializer_list<int> args, int extra = -1);
  void AddPoints(TOp op, const TPoint* points, int count);
  int CurrentTools();
  void Play(const TCall& c, TSurface& target) const;
  void PrepareMeasure();

  TSurface* measure_ = nullptr;
  std::vector<TCall> calls_;
  std::vector<int> args_;
  std::vector<TTools> tools_;
  std::vector<std::string> texts_;
  std::vector<TBitmap*> bitmaps_;  // by address: bitmaps and pictures are not compared
  std::vector<const TPicture*> pictures_;
  bool comparable_ = true;
  bool clipOpen_ = false;  // a list that ends inside a clip is never reused
};

}  // namespace tk
