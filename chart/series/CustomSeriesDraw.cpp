// Drawing of the line, point and area series: one point at a time, each
// joined to the one before it, with ribbons in 3D, areas, stairs and markers;
// and dense lines through pixel columns.
#include <algorithm>
#include <cmath>

#include "chart/canvas/Canvas.h"
#include "chart/canvas/Palette.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/DenseColumns.h"

namespace {

constexpr int kPixelLimit = 32766;
constexpr int kFaceShade = 64;

bool Drawable(tk::TPoint p) {
  return p.x >= -kPixelLimit && p.x <= kPixelLimit && p.y >= -kPixelLimit && p.y <= kPixelLimit;
}

}  // namespace

tk::TColor TCustomSeries::FillColor(tk::TColor c) const {
  return ColorEachPoint() || areaColor_ == tk::clDefault ? c : areaColor_;
}

void TCustomSeries::DrawAllPoints() {
  if (ShouldReduce())
    DrawReduced();
  else
    TChartSeries::DrawAllPoints();
}

void TCustomSeries::DrawPoint(int i) {
  TZozCanvas3D* canvas = Canvas();
  if (!canvas) return;
  const tk::TColor c = PointColor(i);
  const tk::TPoint q{XPixel(i), YPixel(i)};
  if (Drawable(q)) {
    canvas->Pen().color = tk::clBlack;
    canvas->Brush().color = c;
    if (PrevColor == tk::clNone) PrevPoint = q;  // nothing is joined to a null point
    BottomPos = OriginPixel(i);
    if (i == FirstVisible) {
      if (dark3D_) {
        const int w = ParentChart()->SeriesDepthWidth(), h = ParentChart()->SeriesDepthHeight();
        SlopeRatio = w == 0 ? 1 : std::fabs(static_cast<double>(h) / w);
      }
      prevIndex_ = -1;
      if (i > 0) LeadIn(i, q, c);
      if (i == LastVisible && pointer_.Visible() && c != tk::clNone)
        pointer_.Draw(q.x, q.y, c, PointerStyleOf(i));
    } else {
      DrawSegmentTo(i, q, c, true);
    }
    PrevPoint = q;
    PrevBottomPos = BottomPos;
    prevIndex_ = i;
  }
  PrevColor = c;
}

// The line into the first visible point comes from outside the window: from
// the point before it for an area, else from the chart's edge.
void TCustomSeries::LeadIn(int i, tk::TPoint q, tk::TColor c) {
  if (drawArea_) {
    PrevPoint = {XPixel(i - 1), YPixel(i - 1)};
    PrevBottomPos = OriginPixel(i - 1);
  } else {
    const tk::TRect r = ParentChart()->ChartRectangle();
    const TSeriesAxis* h = GetHorizAxis();
    const int edge = h && h->Inverted() ? r.right : r.left;
    int y = YPixel(i - 1);
    const double x0 = XValueAt(i - 1), x1 = XValueAt(i);
    if (!stairs_ && x0 != x1) {
      const double y0 = YValueAt(i - 1), y1 = YValueAt(i);
      y = YValueToPixel(y0 + (XPixelToValue(edge) - x0) * (y1 - y0) / (x1 - x0));
    }
    PrevPoint = {edge, y};
  }
  if (!IsNullPoint(i - 1)) DrawSegmentTo(i, q, c, false);
}

void TCustomSeries::DrawSegmentTo(int i, tk::TPoint q, tk::TColor c, bool markers) {
  if (PrevPoint != q && c != tk::clNone) {
    if (!Flat() && (drawArea_ || (drawLine_ && lineBrush_ != tk::bsClear)))
      DrawRibbon(i, PrevPoint, q, c);
    if (drawArea_) DrawAreaPart(i, PrevPoint, q, c);
    if (Flat() && drawLine_ && !drawArea_) DrawFlatLine(PrevPoint, q, c);
  }
  // markers do not depend on the line: a null point or one on the same pixel
  // must not hide the marker of the point before it
  if (markers && pointer_.Visible()) DrawMarkers(i, q, c);
}

void TCustomSeries::DrawRibbon(int i, tk::TPoint p, tk::TPoint q, tk::TColor c) {
  TZozCanvas3D& cv = *Canvas();
  const tk::TColor fill = FillColor(c);
  cv.Brush().color = fill;
  SelectChartPen(cv, linePen_);
  cv.Brush().style = lineBrush_;
  const int z0 = FrontDepth, z1 = BackDepth;
  auto shaded = [&](tk::TPoint a, tk::TPoint b) {
    if (dark3D_) cv.Brush().color = DarkenColor(fill, kFaceShade);
    cv.DrawPlaneAcrossDepth(a, b, z0, z1);
    cv.Brush().color = fill;
  };
  if (stairs_) {
    if (invertedStairs_) {
      shaded(p, {p.x, q.y});
      cv.DrawPlaneAcrossDepth({p.x, q.y}, q, z0, z1);
    } else {
      cv.DrawPlaneAcrossDepth(p, {q.x, p.y}, z0, z1);
      shaded({q.x, p.y}, q);
    }
    return;
  }
  const bool band = lineHeight_ > 0 && !drawArea_;
  if (band) {
    cv.DrawQuadAtDepth(q, p, {p.x, p.y + lineHeight_}, {q.x, q.y + lineHeight_}, z0);
    if (i == LastVisible) cv.DrawPlaneAcrossDepth(q, {q.x, q.y + lineHeight_}, z0, z1);
  }
  // a segment rising more steeply than the depth shows its underside
  if (dark3D_ && p.x != q.x && static_cast<double>(p.y - q.y) / (q.x - p.x) > SlopeRatio) {
    cv.Brush().color = DarkenColor(fill, kFaceShade);
    if (band) {
      p.y += lineHeight_;
      q.y += lineHeight_;
    }
  }
  cv.DrawPlaneAcrossDepth(p, q, z0, z1);
  cv.Brush().color = fill;
}

void TCustomSeries::DrawAreaPart(int i, tk::TPoint p, tk::TPoint q, tk::TColor c) {
  TZozCanvas3D& cv = *Canvas();
  ParentChart()->ApplyFillStyle(FillColor(c), areaBrush_, ParentChart()->ChartBackColor());
  SelectChartPen(cv, areaLinesPen_);
  if (areaLinesPen_.Color() == tk::clDefault || !areaLinesPen_.Visible()) cv.Pen().color = c;
  if (!Flat() && i == LastVisible)
    cv.DrawPlaneAcrossDepth(q, {q.x, BottomPos}, FrontDepth, BackDepth);
  if (stairs_)
    cv.DrawRectAtDepth({p.x, invertedStairs_ ? q.y : p.y, q.x + 1, BottomPos}, FrontDepth);
  else
    cv.DrawQuadAtDepth({p.x, PrevBottomPos}, p, q, {q.x, BottomPos}, FrontDepth);
}

void TCustomSeries::DrawFlatLine(tk::TPoint p, tk::TPoint q, tk::TColor c) {
  TZozCanvas3D& cv = *Canvas();
  SelectChartPen(cv, linePen_);
  cv.Pen().color = c;
  cv.Brush().style = tk::bsClear;
  cv.MovePen(p.x, p.y);
  if (stairs_) {
    if (invertedStairs_)
      cv.DrawLineTo(p.x, q.y);
    else
      cv.DrawLineTo(q.x, p.y);
  }
  cv.DrawLineTo(q.x, q.y);
}

void TCustomSeries::DrawMarkers(int i, tk::TPoint q, tk::TColor c) {
  if (prevIndex_ >= 0 && !IsNullPoint(prevIndex_))
    pointer_.Draw(PrevPoint.x, PrevPoint.y, PointColor(prevIndex_), PointerStyleOf(prevIndex_));
  if (i == LastVisible && c != tk::clNone) pointer_.Draw(q.x, q.y, c, PointerStyleOf(i));
}

// ---------------------------------------------------------------- dense lines

bool TCustomSeries::ShouldReduce() const {
  // an area goes through the columns too while its bottom is the same for every
  // point; its stairs are left whole, as their steps' outlines and fills overlap
  // the next column in the order they are drawn
  const bool area = drawArea_ && PlainOrigin() && !stairs_;
  if (!ReduceDensePoints || !Flat() || !drawLine_ || (drawArea_ && !area) || pointer_.Visible() ||
      ColorEachPoint() || !YIsMandatory() || !GetHorizAxis() || !GetVertAxis())
    return false;
  if (FirstVisible < 0 || LastVisible <= FirstVisible) return false;
  const tk::TRect r = ParentChart()->ChartRectangle();
  if (!IsDenseForWidth(static_cast<long long>(LastVisible) - FirstVisible + 1, r.right - r.left))
    return false;
  if (!HasPointColors()) return true;
  // a point with a colour of its own keeps it only when drawn one by one
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    const tk::TColor c = PointColor(i);
    if (c != tk::clNone && c != SeriesColor()) return false;
  }
  return true;
}

// The first point as ever (with its way in from outside the window), then
// each run of points between null points through pixel columns, joined by
// the same segments as point by point. An area's parts between the points of
// one column have no width: all they show is their outline, a vertical line
// from the bottom to the points, which the column's extremes already cover.
void TCustomSeries::DrawReduced() {
  BottomPos = PrevBottomPos = OriginPixel(FirstVisible);
  DrawPoint(FirstVisible);
  const tk::TColor c = SeriesColor();
  // A part within one column is a quad of no width: its fill is empty and its
  // outline the column from the bottom to its two points. With a plain thin
  // outline the column's parts are gathered into one vertical line, drawn
  // where the first of them would have been; without an outline they show nothing.
  const TChartPen& outline = areaLinesPen_;
  const bool noOutline = !outline.Visible();
  const bool thinOutline = !noOutline && outline.Width() == 1 && outline.Style() == tk::psSolid &&
                           outline.Mode() == tk::pmCopy && !outline.SmallDots();
  struct {
    bool open = false;
    int x = 0, top = 0, bottom = 0;
  } span;
  auto flush = [&] {
    if (!span.open) return;
    DrawAreaOutlineColumn(span.x, span.top, span.bottom, c);
    span.open = false;
  };
  auto emit = [&](int x, int y) {
    const tk::TPoint q{x, y};
    if (!Drawable(q)) return;
    if (PrevColor == tk::clNone) PrevPoint = q;
    if (PrevPoint != q) {
      if (!drawArea_) {
        DrawFlatLine(PrevPoint, q, c);
      } else if (PrevPoint.x == q.x && (noOutline || thinOutline)) {
        if (thinOutline) {
          const int lo = std::min({PrevPoint.y, q.y, BottomPos}),
                    hi = std::max({PrevPoint.y, q.y, BottomPos});
          if (span.open && span.x == x) {
            span.top = std::min(span.top, lo);
            span.bottom = std::max(span.bottom, hi);
          } else {
            flush();
            span = {true, x, lo, hi};
          }
        }
      } else if (thinOutline && std::abs(q.x - PrevPoint.x) == 1) {
        flush();
        DrawAreaPartOutline(PrevPoint, q, c);
      } else {
        flush();
        DrawAreaPart(LastVisible, PrevPoint, q, c);
      }
    }
    PrevPoint = q;
    PrevColor = c;
  };
  const double* xs = XValues().Values().data();
  const double* ys = YValues().Values().data();
  const auto last = static_cast<std::size_t>(LastVisible) + 1;
  const bool nulls = HasPointColors();
  const bool ascending = XValues().Order() == loAscending;
  for (auto from = static_cast<std::size_t>(FirstVisible) + 1; from < last;) {
    std::size_t to = from;
    if (nulls)
      while (to < last && !IsNullPoint(static_cast<int>(to)))
        ++to;
    else
      to = last;
    ForEachDenseColumn(*GetHorizAxis(), *GetVertAxis(), xs, ys, XValues().Multiplier(),
                       YValues().Multiplier(), from, to, emit, ascending);
    if (to < last) PrevColor = tk::clNone;  // the null point breaks the line
    from = to + 1;
  }
  flush();
  prevIndex_ = LastVisible;
}

// A part one pixel wide: its inside lies within its own thin outline, the
// two columns from the bottom to its points and the line between them.
void TCustomSeries::DrawAreaPartOutline(tk::TPoint p, tk::TPoint q, tk::TColor c) {
  TZozCanvas3D& cv = *Canvas();
  SelectChartPen(cv, areaLinesPen_);
  if (areaLinesPen_.Color() == tk::clDefault) cv.Pen().color = c;
  cv.Brush().style = tk::bsClear;
  cv.DrawQuadAtDepth({p.x, PrevBottomPos}, p, q, {q.x, BottomPos}, FrontDepth);
}

// What the outline of a run of zero-width area parts on column x covers:
// every pixel from top to bottom.
void TCustomSeries::DrawAreaOutlineColumn(int x, int top, int bottom, tk::TColor c) {
  TZozCanvas3D& cv = *Canvas();
  SelectChartPen(cv, areaLinesPen_);
  if (areaLinesPen_.Color() == tk::clDefault) cv.Pen().color = c;
  cv.DrawVertical(x, top, bottom + 1);
}
