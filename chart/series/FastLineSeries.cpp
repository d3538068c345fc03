#include "chart/series/FastLineSeries.h"

#include "chart/canvas/Canvas.h"
#include "chart/panel/HitTest.h"
#include "chart/series/DenseColumns.h"

#include <algorithm>
#include <cmath>

TFastLineSeries::TFastLineSeries() : linePen_([this] { StyleChanged(); }) {
  SinglePointAllowed = false;
  IncludePointBeyondEdge = true;
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
  linePen_.Assign(pen);
  SetSeriesColor(pen.Color());
}

void TFastLineSeries::SetSeriesColor(tk::TColor color) {
  TChartSeries::SetSeriesColor(color);
  linePen_.SetColor(color);  // the line and the series always share one colour
}

void TFastLineSeries::Assign(const tk::TComponent& source) {
  if (const auto* f = dynamic_cast<const TFastLineSeries*>(&source)) {
    autoRepaint_ = f->autoRepaint_;
    linePen_.Assign(f->linePen_);
  }
  TChartSeries::Assign(source);
}

TZozCanvas3D* TFastLineSeries::Canvas() const {
  return ParentChart() ? ParentChart()->DrawingCanvas() : nullptr;
}

bool TFastLineSeries::Flat() const {
  return !ParentChart() || !ParentChart()->View3D();
}

void TFastLineSeries::PreparePen() {
  TZozCanvas3D* c = Canvas();
  if (!c) return;
  SelectChartPen(*c, linePen_);
  c->Brush().style = tk::bsClear;
}

void TFastLineSeries::DrawAllPoints() {
  PreparePen();  // once per paint, not per point
  if (ShouldReduce())
    DrawReduced();
  else
    TChartSeries::DrawAllPoints();
}

bool TFastLineSeries::ShouldReduce() const {
  if (!ReduceDensePoints || !Flat() || !YIsMandatory() || !GetHorizAxis() || !GetVertAxis() ||
      !Canvas())
    return false;
  if (FirstVisible < 0 || LastVisible < FirstVisible) return false;
  const long long visible = static_cast<long long>(LastVisible) - FirstVisible + 1;
  const tk::TRect r = ParentChart()->ChartRectangle();
  return IsDenseForWidth(visible, r.right - r.left);
}

// Dense data goes through each pixel column's first, lowest, highest and
// last point (see DenseColumns.h), gathered into one chain of distinct
// pixels and then drawn.
void TFastLineSeries::DrawReduced() {
  chain_.clear();  // keeps its capacity: no allocation once the first paint has sized it
  auto add = [this](int x, int y) {
    if (chain_.empty() || chain_.back() != tk::TPoint{x, y}) chain_.push_back({x, y});
  };
  if (FirstVisible > 0)  // enter from the point before the window, as DrawPoint does
    add(XPixel(FirstVisible - 1), YPixel(FirstVisible - 1));
  ForEachDenseColumn(*GetHorizAxis(), *GetVertAxis(), XValues().Values().data(),
                     YValues().Values().data(), XValues().Multiplier(), YValues().Multiplier(),
                     static_cast<std::size_t>(FirstVisible),
                     static_cast<std::size_t>(LastVisible) + 1, add,
                     XValues().Order() == loAscending);
  DrawChain();
}

// The chain goes out segment by segment even at pen 1: one polyline (or one
// call with all the segments) would cost the platform fewer calls, but it
// draws the joints of a line that turns back on itself, as a column's way
// down and up again does, differently from separate segments: about 5 % of
// a dense line's pixels would change.
void TFastLineSeries::DrawChain() {
  if (chain_.empty()) return;
  TZozCanvas3D& c = *Canvas();
  c.MovePen(chain_[0].x, chain_[0].y);
  for (std::size_t i = 1; i < chain_.size(); ++i)
    c.DrawLineTo(chain_[i].x, chain_[i].y);
  last_ = chain_.back();
}

void TFastLineSeries::DrawPoint(int index) {
  TZozCanvas3D* c = Canvas();
  if (!c) return;
  const int x = XPixel(index), y = YPixel(index);
  const bool flat = Flat();
  const int z = MiddleDepth;
  if (index == FirstVisible) {
    if (index <= 0) {
      if (flat)
        c->MovePen(x, y);
      else
        c->MovePenAtDepth(x, y, z);
    } else {
      // the line enters from the point before the window; the clip cuts it
      const int px = XPixel(index - 1), py = YPixel(index - 1);
      if (flat)
        c->DrawSegment(px, py, x, y);
      else
        c->DrawSegmentAtDepth(px, py, x, y, z);
    }
  } else {
    if (tk::TPoint{x, y} == last_) return;  // same pixel: nothing to draw
    if (flat)
      c->DrawLineTo(x, y);
    else
      c->DrawLineToAtDepth(x, y, z);
  }
  last_ = {x, y};
}

void TFastLineSeries::AfterPointAdded(TChartSeries* sender, int index) {
  if (autoRepaint_) {
    TChartSeries::AfterPointAdded(sender, index);
    return;
  }
  // drawing the one new segment replaces the base's handling altogether
  TZozCanvas3D* c = Canvas();
  // Qt draws on a window only inside its paint event: draw the segment into
  // the buffered picture and let the next paint show it
  if (!c || !c->Buffer() || c->Dirty()) {
    RequestRepaint();
    return;
  }
  c->AttachSurface(c->Buffer()->Canvas());
  c->Pen() = {linePen_.Color(), linePen_.Width(), linePen_.Style(), linePen_.Mode(), false};
  const int p = index > 0 ? index - 1 : 0;
  const int x = XPixel(p), y = YPixel(p);
  if (Flat())
    c->MovePen(x, y);
  else
    c->MovePenAtDepth(x, y, MiddleDepth);
  const int savedFirst = FirstVisible;
  FirstVisible = -1;  // continue the chain from the pen, do not start a new one
  last_ = {x, y};
  const tk::TRect r = ParentChart()->ChartRectangle();
  c->ClipToRect({r.left + 1, r.top + 1, r.right, r.bottom - 1});  // as a paint clips the series
  DrawPoint(index);
  c->RemoveClip();
  FirstVisible = savedFirst;
  ParentChart()->ShowBuffer();
}

int TFastLineSeries::PointAtPixel(int x, int y) const {
  if (FirstVisible < 0 || LastVisible < 0) return -1;
  if (TZozCanvas3D* c = Canvas()) c->UnprojectPoint(x, y, MiddleDepth);
  const tk::TPoint target{x, y};
  tk::TPoint previous{};
  for (int i = FirstVisible; i <= LastVisible && i < PointCount(); ++i) {
    const tk::TPoint p{XPixel(i), YPixel(i)};
    if (p == target) return i;
    if (i > FirstVisible && PointOnSegment(target, previous, p, 0)) return i - 1;
    previous = p;
  }
  return -1;
}

void TFastLineSeries::DrawLegendSymbol(int /*index*/, const tk::TRect& r) {
  PreparePen();
  if (TZozCanvas3D* c = Canvas()) c->DrawHorizontal(r.left, r.right, (r.top + r.bottom) / 2);
}

// Only shown marks ask for room: the signal chart's line keeps its axes as they are.
void TFastLineSeries::HorizontalMargins(int& left, int& right) const {
  int height = 0;
  MarksRoomAbove(left, height);
  right = left;
}

void TFastLineSeries::VerticalMargins(int& top, int& bottom) const {
  int halfWidth = 0;
  MarksRoomAbove(halfWidth, top);
  bottom = 0;
}

// The mark sits the arrow's length above its point.
void TFastLineSeries::DrawPointMark(int index, const std::string& text,
                                    TSeriesMarkPosition& position) {
  const int lift = Marks().ArrowLength();
  position.ArrowEnd.y -= lift;
  position.BoxTopLeft.y -= lift;
  TChartSeries::DrawPointMark(index, text, position);
}
