#include "app/ReceivedLine.h"

#include <algorithm>

#include "chart/canvas/Canvas.h"
#include "chart/canvas/ChartPen.h"

void ExtendChain(std::vector<tk::TPoint>& chain, tk::TPoint p) {
  const std::size_t n = chain.size();
  if (n > 0 && chain[n - 1] == p) return;
  if (n >= 2) {
    const tk::TPoint a = chain[n - 2], b = chain[n - 1];
    // the same row or column, and no turning back (a turn redraws pixels the run left out)
    const bool row = a.y == b.y && b.y == p.y && (b.x - a.x > 0) == (p.x - b.x > 0);
    const bool column = a.x == b.x && b.x == p.x && (b.y - a.y > 0) == (p.y - b.y > 0);
    if (row || column) {
      chain[n - 1] = p;
      return;
    }
  }
  chain.push_back(p);
}

bool TReceivedLineSeries::DrawsAsPolyline() {
  const TSeriesChart* chart = ParentChart();
  if (!chart || chart->View3D() || !chart->DrawingCanvas() || !GetHorizAxis() || !GetVertAxis())
    return false;
  if (!YIsMandatory()) return false;
  const TChartPen& pen = LinePen();
  if (pen.Width() > 1 || pen.Style() != tk::psSolid) return false;
  if (FirstVisible < 0 || LastVisible < FirstVisible) return false;
  const tk::TRect r = chart->ChartRectangle();
  return !ReduceDensePoints ||
         !IsDenseForWidth(static_cast<long long>(LastVisible) - FirstVisible + 1, r.right - r.left);
}

void TReceivedLineSeries::BuildChain() {
  chain_.clear();  // keeps its capacity
  const double* xs = XValues().Values().data();
  const double* ys = YValues().Values().data();
  const double xm = XValues().Multiplier(), ym = YValues().Multiplier();
  // the line enters from the point before the window, as the fast line's does; the clip cuts it
  const int first = FirstVisible > 0 ? FirstVisible - 1 : FirstVisible;
  const int last = std::min(LastVisible, PointCount() - 1);
  for (int i = first; i <= last; ++i)
    ExtendChain(chain_, {XValueToPixel(xs[i] * xm), YValueToPixel(ys[i] * ym)});
}

void TReceivedLineSeries::DrawAllPoints() {
  if (!DrawsAsPolyline()) {
    TFastLineSeries::DrawAllPoints();
    return;
  }
  BuildChain();
  TZozCanvas3D& c = *ParentChart()->DrawingCanvas();
  SelectChartPen(c, LinePen());
  c.Brush().style = tk::bsClear;
  if (chain_.size() >= 2) c.Surface().Polyline(chain_.data(), static_cast<int>(chain_.size()));
}
