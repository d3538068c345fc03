#include "chart/series/FastLineSeries.h"

#include "chart/canvas/Canvas.h"
#include "chart/panel/HitTest.h"

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

void TFastLineSeries::Assign(const TFastLineSeries& source) {
  autoRepaint_ = source.autoRepaint_;
  linePen_.Assign(source.linePen_);
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
  return visible > static_cast<long long>(kReduceDensity) * std::max(1, r.right - r.left);
}

// Each pixel column keeps its first, lowest, highest and last point, the
// extremes in the order they occur, so spikes and the shape of the line
// survive while a column costs at most four segments however many points
// fall in it. The y extremes are found on values (the mapping is monotone) and
// turned into pixels once per column.
void TFastLineSeries::DrawReduced() {
  TZozCanvas3D& c = *Canvas();
  const TSeriesAxis& xAxis = *GetHorizAxis();
  const TSeriesAxis& yAxis = *GetVertAxis();
  const std::vector<double>& xs = XValues().Values();
  const std::vector<double>& ys = YValues().Values();
  const double xm = XValues().Multiplier(), ym = YValues().Multiplier();
  bool penDown = false;
  auto lineTo = [&](int x, int y) {
    if (!penDown) {
      c.MovePen(x, y);
      penDown = true;
    } else if (tk::TPoint{x, y} != last_) {
      c.DrawLineTo(x, y);
    } else {
      return;
    }
    last_ = {x, y};
  };
  if (FirstVisible > 0) {  // enter from the point before the window, as DrawPoint does
    c.MovePen(XPixel(FirstVisible - 1), YPixel(FirstVisible - 1));
    last_ = {XPixel(FirstVisible - 1), YPixel(FirstVisible - 1)};
    penDown = true;
  }
  // one column: from the previous column to its first point, then its
  // extremes in the order they came, then its last point
  const bool flipped = ym < 0;  // a negative multiplier turns the raw extremes round
  auto column = [&](int x, std::size_t from, std::size_t to, double rawLow, std::size_t lowAt,
                    double rawHigh, std::size_t highAt) {
    const double low = (flipped ? rawHigh : rawLow) * ym, high = (flipped ? rawLow : rawHigh) * ym;
    if (flipped) std::swap(lowAt, highAt);
    lineTo(x, yAxis.ValueToPixel(ys[from] * ym));
    lineTo(x, yAxis.ValueToPixel(lowAt <= highAt ? low : high));
    lineTo(x, yAxis.ValueToPixel(lowAt <= highAt ? high : low));
    lineTo(x, yAxis.ValueToPixel(ys[to - 1] * ym));
  };
  // Each column's points are found by comparing x against the value where the
  // next pixel begins, in the same pass that finds the extremes of y, so each
  // value is read once.
  const auto last = static_cast<std::size_t>(LastVisible) + 1;
  for (auto from = static_cast<std::size_t>(FirstVisible); from < last;) {
    const int x = xAxis.ValueToPixel(xs[from] * xm);
    const double next = xAxis.NextPixelValue(x);
    double lo = ys[from], hi = lo;
    std::size_t loAt = from, hiAt = from, to = from + 1;
    auto take = [&](std::size_t j) {
      const double v = ys[j];
      if (v < lo) lo = v, loAt = j;
      if (v > hi) hi = v, hiAt = j;
    };
    for (;;) {
      if (std::isnan(next) || !(xm > 0)) {  // no boundary to compare with: map each value
        while (to < last && xAxis.ValueToPixel(xs[to] * xm) == x)
          take(to++);
        break;
      }
      if (xm == 1) {
        for (; to < last && xs[to] < next; ++to)
          take(to);
      } else {
        for (; to < last && xs[to] * xm < next; ++to)
          take(to);
      }
      // exactly on the boundary a half may still round back to this pixel
      if (to < last && xAxis.ValueToPixel(xs[to] * xm) == x) {
        take(to++);
        continue;
      }
      break;
    }
    column(x, from, to, lo, loAt, hi, hiAt);
    from = to;
  }
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
  if (OnAfterAdd) OnAfterAdd(sender, index);
  NotifyDependents(ckPointAdded, index);
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

// The mark sits the arrow's length above its point.
void TFastLineSeries::DrawPointMark(int index, const std::string& text,
                                    TSeriesMarkPosition& position) {
  const int lift = Marks().ArrowLength();
  position.ArrowEnd.y -= lift;
  position.BoxTopLeft.y -= lift;
  TChartSeries::DrawPointMark(index, text, position);
}
