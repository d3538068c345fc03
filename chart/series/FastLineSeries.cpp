#include "chart/series/FastLineSeries.h"

#include "chart/canvas/Canvas.h"
#include "chart/panel/HitTest.h"

#include <algorithm>

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
  auto column = [&](int x, std::size_t from, std::size_t n) {
    // extremes of the raw values (a negative multiplier turns them round):
    // first their values, in four independent lanes the processor can overlap,
    // then which of the two comes first
    const double* y = ys.data() + from;
    double lo[4] = {y[0], y[0], y[0], y[0]}, hi[4] = {y[0], y[0], y[0], y[0]};
    std::size_t k = 1;
    for (; k + 4 <= n; k += 4)
      for (int lane = 0; lane < 4; ++lane) {
        const double v = y[k + static_cast<std::size_t>(lane)];
        lo[lane] = v < lo[lane] ? v : lo[lane];
        hi[lane] = v > hi[lane] ? v : hi[lane];
      }
    for (; k < n; ++k) {
      lo[0] = y[k] < lo[0] ? y[k] : lo[0];
      hi[0] = y[k] > hi[0] ? y[k] : hi[0];
    }
    const double rawLow = std::min({lo[0], lo[1], lo[2], lo[3]}),
                 rawHigh = std::max({hi[0], hi[1], hi[2], hi[3]});
    std::size_t rawLowAt = 0, rawHighAt = 0;
    for (k = 0; k < n; ++k) {
      if (y[k] == rawLow) {
        rawLowAt = k, rawHighAt = k + 1;  // the low comes first
        break;
      }
      if (y[k] == rawHigh) {
        rawHighAt = k, rawLowAt = k + 1;
        break;
      }
    }
    const bool flipped = ym < 0;
    const double low = (flipped ? rawHigh : rawLow) * ym, high = (flipped ? rawLow : rawHigh) * ym;
    const std::size_t lowAt = flipped ? rawHighAt : rawLowAt,
                      highAt = flipped ? rawLowAt : rawHighAt;
    const double a = lowAt <= highAt ? low : high, b = lowAt <= highAt ? high : low;
    lineTo(x, yAxis.ValueToPixel(ys[from] * ym));
    lineTo(x, yAxis.ValueToPixel(a));
    lineTo(x, yAxis.ValueToPixel(b));
    lineTo(x, yAxis.ValueToPixel(ys[from + n - 1] * ym));
  };
  const auto last = static_cast<std::size_t>(LastVisible);
  for (auto from = static_cast<std::size_t>(FirstVisible); from <= last;) {
    int x = 0;
    const std::size_t n = xAxis.PixelRun(xs.data() + from, last + 1 - from, xm, x);
    column(x, from, n);
    from += n;
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
