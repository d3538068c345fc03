#include "toolkit/DisplayList.h"

#include <utility>

namespace tk {

void TDisplayList::Begin(TSurface& measure) {
  measure_ = &measure;
  calls_.clear();
  args_.clear();
  tools_.clear();
  texts_.clear();
  bitmaps_.clear();
  pictures_.clear();
  comparable_ = true;
  clipOpen_ = false;
  pen = measure.pen;
  brush = measure.brush;
  font = measure.font;
  backColor = measure.backColor;
  backMode = measure.backMode;
  textAlign = measure.textAlign;
  current_ = measure.PenPos();
}

bool TDisplayList::SameDrawing(const TDisplayList& o) const {
  return Comparable() && o.Comparable() && calls_ == o.calls_ && args_ == o.args_ &&
         tools_ == o.tools_ && texts_ == o.texts_;
}

void TDisplayList::Swap(TDisplayList& o) noexcept {
  std::swap(measure_, o.measure_);
  calls_.swap(o.calls_);
  args_.swap(o.args_);
  tools_.swap(o.tools_);
  texts_.swap(o.texts_);
  bitmaps_.swap(o.bitmaps_);
  pictures_.swap(o.pictures_);
  std::swap(comparable_, o.comparable_);
  std::swap(clipOpen_, o.clipOpen_);
  std::swap(pen, o.pen);
  std::swap(brush, o.brush);
  std::swap(font, o.font);
  std::swap(backColor, o.backColor);
  std::swap(backMode, o.backMode);
  std::swap(textAlign, o.textAlign);
  std::swap(current_, o.current_);
}

int TDisplayList::CurrentTools() {
  // most calls draw with the tools of the call before: keep one entry per change
  if (!tools_.empty()) {
    const TTools& t = tools_.back();
    if (t.pen == pen && t.brush == brush && t.backColor == backColor && t.backMode == backMode &&
        t.textAlign == textAlign && t.font == font)
      return static_cast<int>(tools_.size()) - 1;
  }
  tools_.push_back({pen, brush, font, backColor, backMode, textAlign});
  return static_cast<int>(tools_.size()) - 1;
}

void TDisplayList::Add(TOp op, std::initializer_list<int> args, int extra) {
  calls_.push_back({op, CurrentTools(), static_cast<int>(args_.size()),
                    static_cast<int>(args.size()), extra});
  // one at a time: a library copy call for four numbers cost more than the copy
  for (int a : args)
    args_.push_back(a);
}

void TDisplayList::AddPoints(TOp op, const TPoint* points, int count) {
  calls_.push_back({op, CurrentTools(), static_cast<int>(args_.size()), 2 * count, -1});
  for (int i = 0; i < count; ++i) {
    args_.push_back(points[i].x);
    args_.push_back(points[i].y);
  }
}

// ---------------------------------------------------------------- recording

void TDisplayList::MoveTo(int x, int y) {
  current_ = {x, y};
}

void TDisplayList::LineTo(int x, int y) {
  // the start goes with the line, so a list plays the same from any pen position
  Add(opLineTo, {current_.x, current_.y, x, y});
  current_ = {x, y};
}

void TDisplayList::Polyline(const TPoint* points, int count) {
  AddPoints(opPolyline, points, count);
}

void TDisplayList::Polygon(const TPoint* points, int count) {
  AddPoints(opPolygon, points, count);
}

void TDisplayList::Rectangle(int x1, int y1, int x2, int y2) {
  Add(opRectangle, {x1, y1, x2, y2});
}

void TDisplayList::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
  Add(opRoundRect, {x1, y1, x2, y2, w, h});
}

void TDisplayList::Ellipse(int x1, int y1, int x2, int y2) {
  Add(opEllipse, {x1, y1, x2, y2});
}

void TDisplayList::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Add(opArc, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TDisplayList::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Add(opPie, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TDisplayList::FillRect(const TRect& r) {
  Add(opFillRect, {r.left, r.top, r.right, r.bottom});
}

void TDisplayList::SetPixel(int x, int y, TColor color) {
  Add(opSetPixel, {x, y, static_cast<int>(color)});
}

void TDisplayList::TextOut(int x, int y, const std::string& text) {
  Add(opTextOut, {x, y}, static_cast<int>(texts_.size()));
  texts_.push_back(text);
}

void TDisplayList::PrepareMeasure() {
  measure_->font = font;
}

TSize TDisplayList::TextExtent(const std::string& text) {
  if (!measure_) return {};
  PrepareMeasure();
  return measure_->TextExtent(text);
}

int TDisplayList::TextHeight(const std::string& text) {
  if (!measure_) return 0;
  PrepareMeasure();
  return measure_->TextHeight(text);
}

void TDisplayList::IntersectClipRect(const TRect& r) {
  Add(opClipRect, {r.left, r.top, r.right, r.bottom});
  clipOpen_ = true;
}

void TDisplayList::SelectClipPolygon(const TPoint* points, int count) {
  AddPoints(opClipPolygon, points, count);
  clipOpen_ = true;
}

void TDisplayList::RemoveClip() {
  Add(opRemoveClip, {});
  clipOpen_ = false;
}

std::unique_ptr<TBitmap> TDisplayList::CreateBitmap(int width, int height, bool monochrome) {
  comparable_ = false;  // whatever is drawn into it is not in this list
  return measure_ ? measure_->CreateBitmap(width, height, monochrome) : nullptr;
}

void TDisplayList::CopyFrom(int x, int y, TBitmap& source) {
  comparable_ = false;  // a bitmap's address says nothing about its pixels
  Add(opCopyFrom, {x, y}, static_cast<int>(bitmaps_.size()));
  bitmaps_.push_back(&source);
}

void TDisplayList::DrawPicture(const TRect& dest, const TPicture& picture) {
  comparable_ = false;  // a new picture can take a freed one's address
  Add(opPicture, {dest.left, dest.top, dest.right, dest.bottom},
      static_cast<int>(pictures_.size()));
  pictures_.push_back(&picture);
}

// ---------------------------------------------------------------- playing

void TDisplayList::Play(const TCall& c, TSurface& t) const {
  const int* a = args_.data() + c.firstArg;
  const auto* points = reinterpret_cast<const TPoint*>(a);
  static_assert(sizeof(TPoint) == 2 * sizeof(int), "points are stored as x, y pairs");
  switch (c.op) {
    case opLineTo:
      if (t.PenPos() != TPoint{a[0], a[1]}) t.MoveTo(a[0], a[1]);
      t.LineTo(a[2], a[3]);
      break;
    case opPolyline:
      t.Polyline(points, c.argCount / 2);
      break;
    case opPolygon:
      t.Polygon(points, c.argCount / 2);
      break;
    case opRectangle:
      t.Rectangle(a[0], a[1], a[2], a[3]);
      break;
    case opRoundRect:
      t.RoundRect(a[0], a[1], a[2], a[3], a[4], a[5]);
      break;
    case opEllipse:
      t.Ellipse(a[0], a[1], a[2], a[3]);
      break;
    case opArc:
      t.Arc(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
      break;
    case opPie:
      t.Pie(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
      break;
    case opFillRect:
      t.FillRect({a[0], a[1], a[2], a[3]});
      break;
    case opSetPixel:
      t.SetPixel(a[0], a[1], static_cast<TColor>(a[2]));
      break;
    case opTextOut:
      t.TextOut(a[0], a[1], texts_[static_cast<size_t>(c.extra)]);
      break;
    case opClipRect:
      t.IntersectClipRect({a[0], a[1], a[2], a[3]});
      break;
    case opClipPolygon:
      t.SelectClipPolygon(points, c.argCount / 2);
      break;
    case opRemoveClip:
      t.RemoveClip();
      break;
    case opCopyFrom:
      t.CopyFrom(a[0], a[1], *bitmaps_[static_cast<size_t>(c.extra)]);
      break;
    case opPicture:
      t.DrawPicture({a[0], a[1], a[2], a[3]}, *pictures_[static_cast<size_t>(c.extra)]);
      break;
  }
}

void TDisplayList::PlayOnto(TSurface& target) const {
  int applied = -1;
  for (const TCall& c : calls_) {
    if (c.tools != applied) {
      const TTools& t = tools_[static_cast<size_t>(c.tools)];
      target.pen = t.pen;
      target.brush = t.brush;
      target.font = t.font;
      target.backColor = t.backColor;
      target.backMode = t.backMode;
      target.textAlign = t.textAlign;
      applied = c.tools;
    }
    Play(c, target);
  }
  FinishOnto(target);
}

void TDisplayList::FinishOnto(TSurface& target) const {
  target.pen = pen;
  target.brush = brush;
  target.font = font;
  target.backColor = backColor;
  target.backMode = backMode;
  target.textAlign = textAlign;
  if (target.PenPos() != current_) target.MoveTo(current_.x, current_.y);
}

}  // namespace tk
