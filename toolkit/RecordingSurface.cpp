#include "toolkit/RecordingSurface.h"

#include <cstdlib>

namespace tk {

namespace {

class TRecordingBitmap : public TBitmap {
 public:
  TRecordingBitmap(int w, int h, bool mono, std::shared_ptr<std::vector<TDrawCall>> log)
      : w_(w), h_(h), mono_(mono), surface_(std::move(log)) {}
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  bool Monochrome() const override { return mono_; }
  TSurface& Canvas() override { return surface_; }

 private:
  int w_, h_;
  bool mono_;
  TRecordingSurface surface_;
};

}  // namespace

std::string TDrawCall::ToString() const {
  std::string s = op;
  for (std::size_t i = 0; i < args.size(); ++i) {
    s += i == 0 ? " " : ",";
    s += std::to_string(args[i]);
  }
  if (!text.empty()) s += " '" + text + "'";
  return s;
}

TRecordingSurface::TRecordingSurface() : log_(std::make_shared<std::vector<TDrawCall>>()) {}

TRecordingSurface::TRecordingSurface(std::shared_ptr<std::vector<TDrawCall>> log)
    : log_(std::move(log)) {}

std::vector<std::string> TRecordingSurface::Ops(const std::string& op) const {
  std::vector<std::string> out;
  for (const TDrawCall& c : *log_)
    if (c.op == op) out.push_back(c.ToString());
  return out;
}

TDrawCall& TRecordingSurface::Record(const char* op, std::initializer_list<int> args) {
  TDrawCall c;
  c.op = op;
  c.args = args;
  c.pen = pen;
  c.brush = brush;
  c.font = font;
  c.backColor = backColor;
  c.backMode = backMode;
  c.textAlign = textAlign;
  c.target = Handle();
  log_->push_back(std::move(c));
  return log_->back();
}

void TRecordingSurface::RecordPoints(const char* op, const TPoint* points, int count) {
  TDrawCall& c = Record(op, {});
  for (int i = 0; i < count; ++i) {
    c.args.push_back(points[i].x);
    c.args.push_back(points[i].y);
  }
}

void TRecordingSurface::MoveTo(int x, int y) {
  TSurface::MoveTo(x, y);
  Record("MoveTo", {x, y});
}

void TRecordingSurface::LineTo(int x, int y) {
  Record("LineTo", {x, y});
  current_ = {x, y};
}

void TRecordingSurface::Polyline(const TPoint* p, int n) {
  RecordPoints("Polyline", p, n);
}
void TRecordingSurface::Polygon(const TPoint* p, int n) {
  RecordPoints("Polygon", p, n);
}
void TRecordingSurface::Rectangle(int x1, int y1, int x2, int y2) {
  Record("Rectangle", {x1, y1, x2, y2});
}
void TRecordingSurface::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
  Record("RoundRect", {x1, y1, x2, y2, w, h});
}
void TRecordingSurface::Ellipse(int x1, int y1, int x2, int y2) {
  Record("Ellipse", {x1, y1, x2, y2});
}
void TRecordingSurface::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Record("Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
}
void TRecordingSurface::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Record("Pie", {x1, y1, x2, y2, x3, y3, x4, y4});
}
void TRecordingSurface::FillRect(const TRect& r) {
  Record("FillRect", {r.left, r.top, r.right, r.bottom});
}
void TRecordingSurface::SetPixel(int x, int y, TColor color) {
  Record("SetPixel", {x, y}).color = color;
}
void TRecordingSurface::TextOut(int x, int y, const std::string& text) {
  Record("TextOut", {x, y}).text = text;
}

TSize TRecordingSurface::TextExtent(const std::string& text) {
  const int h = std::abs(font.font.height);
  return {static_cast<int>(text.size()) * ((h + 1) / 2), h + 2};
}

void TRecordingSurface::IntersectClipRect(const TRect& r) {
  Record("IntersectClipRect", {r.left, r.top, r.right, r.bottom});
}
void TRecordingSurface::SelectClipPolygon(const TPoint* p, int n) {
  RecordPoints("SelectClipPolygon", p, n);
}
void TRecordingSurface::RemoveClip() {
  Record("RemoveClip", {});
}

std::unique_ptr<TBitmap> TRecordingSurface::CreateBitmap(int width, int height, bool monochrome) {
  Record("CreateBitmap", {width, height, monochrome ? 1 : 0});
  return std::make_unique<TRecordingBitmap>(width, height, monochrome, log_);
}

void TRecordingSurface::CopyFrom(int x, int y, TBitmap& source) {
  Record("CopyFrom", {x, y, source.Width(), source.Height()});
}

void TRecordingSurface::DrawPicture(const TRect& d, const TPicture& picture) {
  Record("DrawPicture", {d.left, d.top, d.right, d.bottom, picture.Width(), picture.Height()});
}

}  // namespace tk
