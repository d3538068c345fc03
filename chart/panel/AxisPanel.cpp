#include "chart/panel/AxisPanel.h"
#include "chart/panel/TextLines.h"

#include <algorithm>
#include <cmath>

#include "chart/ChartErrors.h"
#include "chart/canvas/Palette.h"
#include "toolkit/Rounding.h"

namespace {
constexpr bool kAxesBeforeSeries = true;
}  // namespace

int TChartSeriesList::CountActive() const {
  return static_cast<int>(
      std::count_if(items_.begin(), items_.end(), [](TChartSeries* s) { return s->Active(); }));
}

int TChartSeriesList::IndexOf(const TChartSeries* s) const {
  const auto it = std::find(items_.begin(), items_.end(), s);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// ---------------------------------------------------------------- construction

TCustomAxisPanel::TCustomAxisPanel(tk::TWinControl* parent)
    : TCustomZozPanelExtended(parent), seriesList_(*this) {
  bottomAxis_ = std::make_unique<TChartAxis>(*this, true, false, false);
  topAxis_ = std::make_unique<TChartAxis>(*this, true, true, false);
  leftAxis_ = std::make_unique<TChartAxis>(*this, false, false, false);
  rightAxis_ = std::make_unique<TChartAxis>(*this, false, true, false);
  depthAxis_ = std::make_unique<TChartDepthAxis>(*this);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  destroying_ = true;
  SetAutoRepaint(false);
  DestroyAllSeries();
}

TChartAxis& TCustomAxisPanel::AddCustomAxis(bool horizontal, bool otherSide) {
  customAxes_.push_back(std::make_unique<TChartAxis>(*this, horizontal, otherSide, false));
  Invalidate();
  return *customAxes_.back();
}

// ---------------------------------------------------------------- series list

void TCustomAxisPanel::AttachSeries(TChartSeries* series) {
  if (!series || seriesList_.IndexOf(series) >= 0) return;
  if (series->SeriesColor() == tk::clDefault) series->SetSeriesColor(NextFreeSeriesColor(true));
  if (series->ParentChart() != this) series->SetParentChart(this);  // comes back here, now listed
  if (seriesList_.IndexOf(series) >= 0) return;
  seriesList_.items_.push_back(series);
  series->CheckDataSource();
  Invalidate();
}

void TCustomAxisPanel::DetachSeries(TChartSeries* series) {
  const int i = seriesList_.IndexOf(series);
  if (i < 0) return;
  series->UnlinkDependents();
  seriesList_.items_.erase(seriesList_.items_.begin() + i);
  if (series->ParentChart() == this) series->SetParentChart(nullptr);
  if (Cursor() == series->Cursor()) SetCursor(SavedCursor);
  Invalidate();
}

void TCustomAxisPanel::DestroyAllSeries() {
  // the chart frees the series it holds; each leaves the chart first
  while (seriesList_.Count() > 0) {
    TChartSeries* s = seriesList_[0];
    s->SetParentChart(nullptr);
    if (seriesList_.Count() > 0 && seriesList_[0] == s)
      seriesList_.items_.erase(seriesList_.items_.begin());
    delete s;
  }
}

bool TCustomAxisPanel::AxisHasNoActiveSeries(const TCustomChartAxis& axis) const {
  return std::none_of(seriesList_.begin(), seriesList_.end(),
                      [&](TChartSeries* s) { return s->Active() && s->UsesAxis(&axis); });
}

TChartSeries* TCustomAxisPanel::FirstSeriesOfAxis(const TCustomChartAxis& axis) const {
  const bool anyActive = !AxisHasNoActiveSeries(axis);
  for (TChartSeries* s : seriesList_)
    if (s->UsesAxis(&axis) && (s->Active() || !anyActive)) return s;
  return nullptr;
}

int TCustomAxisPanel::WidthOfLines(const std::string& text, int* lines) {
  int widest = 0;
  const int count = ForEachLine(text, [&](const std::string& line) {
    widest = std::max(widest, Canvas().MeasureTextWidth(line));
  });
  if (lines) *lines = count;
  return widest;
}

int TCustomAxisPanel::WidestXLabel() {
  int widest = 0;
  for (TChartSeries* s : seriesList_)
    for (int i = 0; i < s->PointCount(); ++i)
      if (!s->PointLabel(i).empty()) widest = std::max(widest, WidthOfLines(s->PointLabel(i)));
  return widest;
}

int TCustomAxisPanel::WidestMark() {
  int widest = 0;
  for (TChartSeries* s : seriesList_)
    if (s->Active()) widest = std::max(widest, s->WidestMarkText());
  return widest;
}

int TCustomAxisPanel::LargestPointCount() const {
  int largest = 0;
  for (TChartSeries* s : seriesList_)
    if (s->Active()) largest = std::max(largest, s->PointCount());
  return largest;
}

TChartSeries* TCustomAxisPanel::LegendSeriesAt(int n) const {
  for (TChartSeries* s : seriesList_)
    if (s->Active() && s->ShowInLegend() && n-- == 0) return s;
  return nullptr;
}

std::string TCustomAxisPanel::LegendSeriesTitle(int n) const {
  const TChartSeries* s = LegendSeriesAt(n);
  if (!s) return {};
  if (!s->Title().empty()) return s->Title();
  if (!s->Name().empty()) return s->Name();
  return "Series " + std::to_string(n);
}

std::string TCustomAxisPanel::ActiveSeriesTitle(int n) const {
  int k = n;
  for (const TChartSeries* s : seriesList_) {
    if (!s->Active() || k-- != 0) continue;
    if (!s->Title().empty()) return s->Title();
    if (!s->Name().empty()) return s->Name();
    return "Series " + std::to_string(n);
  }
  return {};
}

TChartSeries* TCustomAxisPanel::FirstActiveSeries() const {
  for (TChartSeries* s : seriesList_)
    if (s->Active()) return s;
  return nullptr;
}

tk::TColor TCustomAxisPanel::NextFreeSeriesColor(bool checkBackground) const {
  for (int i = 0;; ++i) {
    const tk::TColor c = DefaultPaletteColor(i);
    if (i == 16 || IsColorFree(c, checkBackground)) return c;
  }
}

bool TCustomAxisPanel::IsColorFree(tk::TColor color, bool checkBackground) const {
  for (TChartSeries* s : seriesList_)
    if (s->SeriesColor() == color) return false;
  return !(checkBackground && color == Color());
}

bool TCustomAxisPanel::AcceptsDataSource(const TChartSeries* series,
                                         const tk::TComponent* source) const {
  const auto* s = dynamic_cast<const TChartSeries*>(source);
  return s && s != series && series->AcceptsSeriesSource(s);
}

void TCustomAxisPanel::RefreshFromSource(TChartSeries* series) {
  if (!series || series->IsLoading()) return;
  if (auto* source = dynamic_cast<TChartSeries*>(series->DataSource()))
    series->CopyAllPointsFrom(*source);
}

void TCustomAxisPanel::CheckNoCircularSource(const TChartSeries* destination,
                                             const TChartSeries* source) const {
  CheckNoCircularSeriesSource(destination, source);
}

bool TCustomAxisPanel::ValueSpan(const TChartSeries& series, double& lowX, double& highX,
                                 double& lowY, double& highY) const {
  if (std::none_of(seriesList_.begin(), seriesList_.end(),
                   [](TChartSeries* s) { return s->PointCount() > 0; }))
    return false;
  const auto* h = dynamic_cast<const TCustomChartAxis*>(series.GetHorizAxis());
  const auto* v = dynamic_cast<const TCustomChartAxis*>(series.GetVertAxis());
  if (!h || !v) return false;
  lowX = SeriesLimit(*h, true, true);
  highX = SeriesLimit(*h, false, true);
  lowY = SeriesLimit(*v, true, false);
  highY = SeriesLimit(*v, false, false);
  return true;
}

// ---------------------------------------------------------------- paging

int TCustomAxisPanel::PageCount() const {
  if (maxPointsPerPage_ < 1 || seriesList_.Count() == 0) return 1;
  const bool horizontal = seriesList_[0]->YIsMandatory();
  const TCustomChartAxis* a =
      horizontal ? static_cast<TCustomChartAxis*>(topAxis_.get()) : leftAxis_.get();
  const TCustomChartAxis* b =
      horizontal ? static_cast<TCustomChartAxis*>(bottomAxis_.get()) : rightAxis_.get();
  auto pages = [&](const TCustomChartAxis* axis) {
    int count = 0;
    for (TChartSeries* s : seriesList_)
      if (s->Active() && s->UsesAxis(axis)) count = std::max(count, s->PointCount());
    if (count <= 0) return 1;
    return count / maxPointsPerPage_ + (count % maxPointsPerPage_ ? 1 : 0);
  };
  return std::max(pages(a), pages(b));
}

void TCustomAxisPanel::SetPage(int page) {
  page = std::max(1, std::min(page, PageCount()));
  if (page == page_) return;
  page_ = page;
  Invalidate();
  if (OnPageChange) OnPageChange(this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int n) {
  if (n < 0) throw ChartException("MaxPointsPerPage must be >= 0");
  if (n == maxPointsPerPage_) return;
  maxPointsPerPage_ = n;
  Invalidate();
  if (page_ > PageCount()) SetPage(PageCount());
}

// ---------------------------------------------------------------- axes

bool TCustomAxisPanel::AxisShown(const TCustomChartAxis& axis) const {
  if (!axisVisible_ || !axis.Visible()) return false;
  if (axis.IsDepth()) return View3D();
  bool anyUsingAxes = false;
  for (TChartSeries* s : seriesList_) {
    if (!s->Active() || !s->UsesAxes()) continue;
    anyUsingAxes = true;
    if (s->UsesAxis(&axis)) return true;
  }
  return !anyUsingAxes;
}

double TCustomAxisPanel::SeriesLimit(const TCustomChartAxis& axis, bool minimum,
                                     bool horizontal) const {
  if (axis.IsDepth()) {
    if (axis.EffectiveLabelStyle() != talValue) return minimum ? -0.5 : maxZOrder_ + 0.5;
    const TChartSeries* s = FirstActiveSeries();
    return s ? (minimum ? s->LowestZ() : s->HighestZ()) : 0;
  }
  const TChartSeries* first = FirstSeriesOfAxis(axis);
  const bool ordering = first ? (first->YIsMandatory() == horizontal) : horizontal;
  if (maxPointsPerPage_ > 0 && ordering) {
    if (!first || first->PointCount() == 0) return 0;
    const int count = first->PointCount(), per = maxPointsPerPage_;
    int from = per * (page_ - 1);
    if (from >= count) from = std::max(0, count / per - 1) * per;
    int last = from + per - 1;
    if (last >= count) last = from + count % per - 1;
    last = std::max(from, std::min(last, count - 1));
    const TChartValueList& list = horizontal ? first->XValues() : first->YValues();
    const double a = list.ValueAt(from), b = list.ValueAt(last);
    if (minimum) return a;
    if (!scaleLastPage_ && last - from + 1 < per) return a + (b - a) * per / (last - from + 1);
    return b;
  }
  const bool anyActive = !AxisHasNoActiveSeries(axis);
  bool found = false;
  double result = 0;
  for (TChartSeries* s : seriesList_) {
    if ((anyActive && !s->Active()) || s->PointCount() == 0) continue;
    const bool belongs = horizontal
                             ? (s->HorizAxis() == aBothHorizAxis || s->GetHorizAxis() == &axis)
                             : (s->VertAxis() == aBothVertAxis || s->GetVertAxis() == &axis);
    if (!belongs) continue;
    const double v = horizontal ? (minimum ? s->LowestX() : s->HighestX())
                                : (minimum ? s->LowestY() : s->HighestY());
    if (!found || (minimum ? v < result : v > result)) result = v;
    found = true;
  }
  return result;
}

void TCustomAxisPanel::Assign(const TCustomZozPanel& other) {
  TCustomZozPanelExtended::Assign(other);
  if (auto* o = dynamic_cast<const TCustomAxisPanel*>(&other)) {
    axisVisible_ = o->axisVisible_;
    bottomAxis_->Assign(*o->bottomAxis_);
    topAxis_->Assign(*o->topAxis_);
    leftAxis_->Assign(*o->leftAxis_);
    rightAxis_->Assign(*o->rightAxis_);
    depthAxis_->Assign(*o->depthAxis_);
    clipPoints_ = o->clipPoints_;
    maxPointsPerPage_ = o->maxPointsPerPage_;
    page_ = o->page_;
    scaleLastPage_ = o->scaleLastPage_;
    view3DWalls_ = o->view3DWalls_;
  }
}

// ---------------------------------------------------------------- the paint sequence

void TCustomAxisPanel::PaintContents(const tk::TRect& bounds) {
  // everything up to the series is the layer the canvas can keep between paints, and the
  // series with their marks a second one over it; the zoom rectangle is drawn every time
  Canvas().BeginLayer();
  PaintPanel(bounds);
  for (TChartSeries* s : seriesList_)
    if (s->Active()) s->PrepareChartDraw();
  PaintTitlesAndLegend();
  // depth slots
  maxZOrder_ = 0;
  if (ApplyZOrder && View3D()) {
    maxZOrder_ = -1;
    for (TChartSeries* s : seriesList_)
      if (s->Active()) s->AssignZOrder();
  }
  depthSlot_.assign(static_cast<size_t>(seriesList_.Count()), 0);
  for (int i = 0; i < seriesList_.Count(); ++i) {
    TChartSeries* s = seriesList_[i];
    if (s->Active() && View3D() && ApplyZOrder)
      depthSlot_[static_cast<size_t>(i)] = maxZOrder_ - s->ZOrder();
  }
  LayoutAxes();
  for (int i = 0; i < seriesList_.Count(); ++i) {
    TChartSeries* s = seriesList_[i];
    if (!s->Active()) continue;
    s->FrontDepth = SeriesDepth * depthSlot_[static_cast<size_t>(i)];
    s->BackDepth = s->FrontDepth + SeriesDepth;
    s->MiddleDepth = (s->FrontDepth + s->BackDepth) / 2;
    s->Marks().ZPosition = s->MiddleDepth;
  }
  LayoutSeriesMargins();
  Canvas().SetProjectionCenter(TotalDepth, bounds, ChartRect);
  if (Canvas().HandlesProjection()) {
    const tk::TRect saved = ChartRect;
    ChartRect = bounds;
    PaintTitlesAndLegend();
    ChartRect = saved;
  }
  PaintWalls();
  if (axisVisible_ && kAxesBeforeSeries) DrawAxes();
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
  Canvas().EndLayer();
  Canvas().BeginSeriesLayer();
  DrawAllSeries();
  Canvas().EndSeriesLayer();
  if (axisVisible_ && !kAxesBeforeSeries) DrawAxes();
  if (Zoom.Active) PaintZoomRectangle();
  Canvas().ResetTools();
  if (OnAfterDraw) OnAfterDraw(this);
}

void TCustomAxisPanel::ComputeDepthSizes() {
  if (View3D()) {
    const double f = View3DOptions().Orthogonal() ? 1 : 2;
    SeriesDepth = SeriesHeightDepth = tk::RoundToInt(ChartWidth * Chart3DPercent() * 0.001 * f);
    const int n = ApplyZOrder ? std::max(1, maxZOrder_ + 1) : 1;
    TotalDepth = n * SeriesDepth;
    TotalHeightDepth = n * SeriesHeightDepth;
  } else {
    SeriesDepth = SeriesHeightDepth = TotalDepth = TotalHeightDepth = 0;
  }
}

void TCustomAxisPanel::LayoutAxes() {
  for (TCustomChartAxis* a : axes_)
    a->UpdateLimits();
  ComputeDepthSizes();
  if (View3D() && View3DOptions().Orthogonal()) {
    const int s = view3DWalls_ ? BackWallSize() : 0;
    ChartRect.right -= std::abs(TotalDepth) + s;
    ChartRect.top += std::abs(TotalHeightDepth) + s;
    UpdateChartMetrics();
  }
  tk::TRect working = ChartRect;
  for (size_t i = 0; i < axes_.size(); ++i) {
    if (!AxisShown(*axes_[i])) continue;
    tk::TRect copy = working;
    axes_[i]->PlaceInRect(copy, i < 5);
    const tk::TRect both{std::max(copy.left, working.left), std::max(copy.top, working.top),
                         std::min(copy.right, working.right),
                         std::min(copy.bottom, working.bottom)};
    if (both.left < both.right && both.top < both.bottom) working = both;
  }
  ChartRect = working;
  UpdateChartMetrics();
  for (TCustomChartAxis* a : axes_)
    a->UpdatePixels();
}

void TCustomAxisPanel::LayoutSeriesMargins() {
  for (TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(topAxis_.get()),
                                 static_cast<TCustomChartAxis*>(leftAxis_.get()),
                                 static_cast<TCustomChartAxis*>(rightAxis_.get()),
                                 static_cast<TCustomChartAxis*>(bottomAxis_.get())}) {
    int first = 0, second = 0;
    for (TChartSeries* s : seriesList_) {
      if (!s->Active() || !s->UsesAxis(axis)) continue;
      int a = 0, b = 0;
      if (axis->IsHorizontal()) {
        s->HorizontalMargins(a, b);
        if (axis->AutomaticMinimum()) first = std::max(first, a);
        if (axis->AutomaticMaximum()) second = std::max(second, b);
      } else {
        s->VerticalMargins(a, b);
        if (axis->AutomaticMaximum()) first = std::max(first, a);
        if (axis->AutomaticMinimum()) second = std::max(second, b);
      }
    }
    if (first || second) axis->WidenForMargins(first, second);
  }
}

void TCustomAxisPanel::DrawAxes() {
  if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
  for (TCustomChartAxis* a : axes_)
    if (AxisShown(*a)) a->DrawAxis(true);
}

void TCustomAxisPanel::DrawAllSeries() {
  std::vector<bool> done(static_cast<size_t>(seriesList_.Count()), false);
  for (int i = 0; i < seriesList_.Count(); ++i) {
    TChartSeries* s = seriesList_[i];
    if (!s->Active() || done[static_cast<size_t>(i)]) continue;
    if (!View3D() || !s->SharesZOrder()) {
      DrawSeries(*s);
      continue;
    }
    // several series in one depth slot: the first of them draws the whole group point by point
    for (int j = i; j < seriesList_.Count(); ++j)
      if (seriesList_[j]->Active() && seriesList_[j]->ZOrder() == s->ZOrder())
        done[static_cast<size_t>(j)] = true;
    DrawSharedZOrder(i);
  }
}

void TCustomAxisPanel::DrawSeries(TChartSeries& s) {
  s.FindVisibleRange();
  if (s.FirstVisible == -1) return;
  s.StartDrawingPoints();
  const bool clip = ClipPoints() && ClippingAllowed();
  if (clip) Canvas().ClipToBox(ChartRect, 0, TotalDepth);
  s.DrawAllPoints();
  if (clip) Canvas().RemoveClip();
  DrawMarksOf(s);
  s.DoneDrawingPoints();
}

void TCustomAxisPanel::DrawMarksOf(TChartSeries& s) {
  if (!s.Marks().Visible()) return;
  const bool clip = s.Marks().Clip() && ClippingAllowed();
  if (clip) Canvas().ClipToBox(ChartRect, 0, TotalDepth);
  s.DrawAllMarks();
  if (clip) Canvas().RemoveClip();
}

void TCustomAxisPanel::DrawSharedZOrder(int first) {
  TChartSeries& lead = *seriesList_[first];
  std::vector<TChartSeries*> group, visible;
  for (int j = first; j < seriesList_.Count(); ++j) {
    TChartSeries* s = seriesList_[j];
    if (s->Active() && s->ZOrder() == lead.ZOrder()) group.push_back(s);
  }
  int low = -1, high = -1;
  for (TChartSeries* s : group) {
    s->FindVisibleRange();
    if (s->FirstVisible == -1) continue;
    s->StartDrawingPoints();
    visible.push_back(s);
    low = low < 0 ? s->FirstVisible : std::min(low, s->FirstVisible);
    high = std::max(high, s->LastVisible);
  }
  const bool clip = ClipPoints() && ClippingAllowed();
  if (clip) Canvas().ClipToBox(ChartRect, 0, TotalDepth);
  if (low >= 0) {
    auto drawIndex = [&](int index) {
      const bool backwards = lead.PointCount() > index && !lead.DrawsSeriesForward(index);
      if (backwards) {
        for (auto it = group.rbegin(); it != group.rend(); ++it)
          if ((*it)->PointCount() > index) (*it)->DrawPoint(index);
      } else {
        for (TChartSeries* s : group)
          if (s->PointCount() > index) s->DrawPoint(index);
      }
    };
    if (lead.DrawsForward())
      for (int index = low; index <= high; ++index)
        drawIndex(index);
    else
      for (int index = high; index >= low; --index)
        drawIndex(index);
  }
  if (clip) Canvas().RemoveClip();
  for (TChartSeries* s : visible) {
    DrawMarksOf(*s);
    s->DoneDrawingPoints();
  }
}

void TCustomAxisPanel::PaintZoomRectangle() {
  TZozCanvas3D& c = Canvas();
  tk::TColor colour = tk::ColorToRGB(Color());
  if (colour == tk::clWhite) colour = tk::clBlack;
  c.Pen() = {colour, 1, tk::psSolid, tk::pmNotXor, false};
  c.Brush().style = tk::bsClear;
  c.DrawRect(Zoom.X0, Zoom.Y0, Zoom.X1, Zoom.Y1);
}
