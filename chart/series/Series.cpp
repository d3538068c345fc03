#include "chart/series/Series.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "chart/canvas/Palette.h"
#include "chart/series/SeriesFunction.h"
#include "toolkit/Change.h"
#include "toolkit/Errors.h"

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Puts a colour or label entry at a new point's index. The lists are
// positional and may be shorter than the points (a point copied without
// entries has none): default entries fill the gap first.
template <typename T>
void PlaceEntry(TSparseList<T>& list, std::size_t at, const T& value) {
  if (at > list.Size()) list.Resize(at);
  list.Insert(at, value);
}

// Takes a point that was half stored back out, so that an add that fails
// (the storage cannot grow) leaves the series as it was: `lists` value lists
// hold the point at `at`; the colour and label lists get their old lengths.
template <typename Lists>
void UndoPoint(Lists& lists, int stored, int at, TSparseList<tk::TColor>& colors,
               std::size_t oldColors, TSparseList<std::string>& labels, std::size_t oldLabels) {
  for (int k = 0; k < stored; ++k)
    lists[k]->RemoveValueAt(at);
  const auto i = static_cast<std::size_t>(at);
  if (colors.Size() > oldColors && i < colors.Size()) colors.RemoveAt(i);
  if (colors.Size() != oldColors) colors.Resize(oldColors);
  if (labels.Size() > oldLabels && i < labels.Size()) labels.RemoveAt(i);
  if (labels.Size() != oldLabels) labels.Resize(oldLabels);
}

}  // namespace

TChartSeries::TChartSeries(tk::TComponent* owner)
    : tk::TComponent(owner), marks_(std::make_unique<TSeriesMarks>(*this)) {
  xValues_ = std::make_unique<TChartValueList>(*this, "X");
  xValues_->SetOrder(loAscending);
  yValues_ = std::make_unique<TChartValueList>(*this, "Y");
}

TChartSeries::~TChartSeries() {
  BeginDestroy();
  function_.reset();
  // first the sources forget this series, then the series fed by it forget
  // it as their source, so that no list anywhere keeps its address
  DropDataSources();
  UnlinkDependents();
  RemoveAllPoints();
  SetParentChart(nullptr);
  // the value lists, the colour and label lists go with the members
}

// ---------------------------------------------------------------- properties

void TChartSeries::SetActive(bool active) {
  if (tk::Change(active_, active)) RequestRepaint();
}

void TChartSeries::SetSeriesColor(tk::TColor color) {
  if (tk::Change(seriesColor_, color)) RequestRepaint();
}

void TChartSeries::SetColorEachPoint(bool on) {
  if (on != colorEachPoint_) {
    colorEachPoint_ = on;
    RequestRepaint();
  }
  if (!colorEachPoint_ && colors_.Materialized()) {
    // every point goes back to the series' own colour
    colors_.Reset();
    RequestRepaint();
  }
}

void TChartSeries::SetColorSource(const std::string& source) {
  if (tk::Change(colorSource_, source)) CheckDataSource();
}

void TChartSeries::SetXLabelsSource(const std::string& source) {
  if (tk::Change(xLabelsSource_, source)) CheckDataSource();
}

void TChartSeries::SetParentChart(TSeriesChart* chart) {
  if (chart == parentChart_) return;
  if (parentChart_) parentChart_->RemoveSeries(this);
  parentChart_ = chart;
  ResolveAxes();
  if (parentChart_) parentChart_->AddSeries(this);
}

void TChartSeries::SetPercentFormat(const std::string& format) {
  if (tk::Change(percentFormat_, format)) RequestRepaint();
}

void TChartSeries::SetShowInLegend(bool show) {
  if (tk::Change(showInLegend_, show)) RequestRepaint();
}

void TChartSeries::SetTitle(const std::string& title) {
  if (tk::Change(title_, title)) RequestRepaint();
}

void TChartSeries::SetValueFormat(const std::string& format) {
  if (tk::Change(valueFormat_, format)) RequestRepaint();
}

void TChartSeries::SetHorizAxis(THorizAxis axis) {
  if (!tk::Change(horizAxis_, axis)) return;
  ResolveAxes();
  RequestRepaint();
}

void TChartSeries::SetVertAxis(TVertAxis axis) {
  if (!tk::Change(vertAxis_, axis)) return;
  ResolveAxes();
  RequestRepaint();
}

void TChartSeries::SetCustomHorizAxis(TSeriesAxis* axis) {
  if (!tk::Change(customHorizAxis_, axis)) return;
  ResolveAxes();
  RequestRepaint();
}

void TChartSeries::SetCustomVertAxis(TSeriesAxis* axis) {
  if (!tk::Change(customVertAxis_, axis)) return;
  ResolveAxes();
  RequestRepaint();
}

void TChartSeries::SetXValues(const TChartValueList& source) {
  xValues_->Assign(source);
  RequestRepaint();
}

void TChartSeries::SetYValues(const TChartValueList& source) {
  yValues_->Assign(source);
  RequestRepaint();
}

void TChartSeries::SetZOrder(int z) {
  if (tk::Change(zOrder_, z)) RequestRepaint();
}

void TChartSeries::RequestRepaint() const {
  if (parentChart_) parentChart_->Invalidate();
}

// ---------------------------------------------------------------- adding, removing, clearing

int TChartSeries::AddPointXY(double x, double y, const std::string& label, tk::TColor color) {
  xValues_->ValueToAdd = x;
  yValues_->ValueToAdd = y;
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  const std::size_t oldColors = colors_.Size(), oldLabels = labels_.Size();
  const int index = xValues_->AddInOrder(xValues_->ValueToAdd);
  int stored = 1;
  try {
    yValues_->InsertValueAt(index, yValues_->ValueToAdd);
    stored = 2;
    const auto at = static_cast<std::size_t>(index);
    PlaceEntry(colors_, at, color);
    PlaceEntry(labels_, at, label);
  } catch (...) {
    UndoPoint(valuesList_, stored, index, colors_, oldColors, labels_, oldLabels);
    throw;
  }
  AfterPointAdded(this, index);
  return index;
}

int TChartSeries::AddPointValue(double value, const std::string& label, tk::TColor color) {
  return YIsMandatory() ? AddPointAtY(value, label, color) : AddPointAtX(value, label, color);
}

int TChartSeries::AddNullPoint(const std::string& label) {
  return AddPointValue(0, label, tk::clNone);
}

int TChartSeries::AddNullPointXY(double x, double y, const std::string& label) {
  return AddPointXY(x, y, label, tk::clNone);
}

int TChartSeries::AddPointAtX(double x, const std::string& label, tk::TColor color) {
  return AddPointXY(x, PointCount(), label, color);
}

int TChartSeries::AddPointAtY(double y, const std::string& label, tk::TColor color) {
  return AddPointXY(PointCount(), y, label, color);
}

void TChartSeries::AfterPointAdded(TChartSeries* sender, int index) {
  if (OnAfterAdd) OnAfterAdd(sender, index);
  NotifyDependents(ckPointAdded, index);
  if (active_) RequestRepaint();
}

void TChartSeries::CheckPointIndex(int index) const {
  if (index < 0 || index >= PointCount()) throw tk::EListError(index);
}

void TChartSeries::RemovePointAt(int index) {
  CheckPointIndex(index);
  for (TChartValueList* list : valuesList_)
    list->RemoveValueAt(index);
  const auto i = static_cast<std::size_t>(index);
  if (i < colors_.Size()) colors_.RemoveAt(i);
  if (i < labels_.Size()) labels_.RemoveAt(i);
  marks_->Positions().RemoveAt(index);
  NotifyDependents(ckPointRemoved, index);
  if (active_) RequestRepaint();
}

void TChartSeries::EmptyPointStorage() {
  for (TChartValueList* list : valuesList_)
    list->RemoveAllValues();
  colors_.Clear();
  labels_.Clear();
  marks_->ForgetPositions();
}

void TChartSeries::RemoveAllPoints() {
  EmptyPointStorage();
  if (OnClearValues) OnClearValues(this);
  NotifyDependents(ckCleared, -1);
  if (active_ && parentChart_ && !parentChart_->IsDestroying()) RequestRepaint();
}

void TChartSeries::ExchangePoints(int i, int j) {
  CheckPointIndex(i);
  CheckPointIndex(j);
  for (TChartValueList* list : valuesList_)
    list->Exchange(i, j);
  // a point copied without a colour or label entry has none; lengthen the
  // short list with defaults so that both points still travel whole
  const std::size_t needed = static_cast<std::size_t>(std::max(i, j)) + 1;
  if (colors_.Size() < needed && colors_.Size() > static_cast<std::size_t>(std::min(i, j)))
    colors_.Resize(needed);
  if (labels_.Size() < needed && labels_.Size() > static_cast<std::size_t>(std::min(i, j)))
    labels_.Resize(needed);
  if (colors_.Size() >= needed)
    colors_.Exchange(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
  if (labels_.Size() >= needed)
    labels_.Exchange(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
}

void TChartSeries::InsertExtraValues(int index) {
  for (int k = 2; k < valuesList_.Count(); ++k)
    valuesList_[k]->InsertValueAt(index, valuesList_[k]->ValueToAdd);
}

// ---------------------------------------------------------------- points

tk::TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= colors_.Size()) return seriesColor_;
  const tk::TColor stored = colors_.At(static_cast<std::size_t>(index));
  if (stored != tk::clDefault) return stored;
  if (colorEachPoint_) return DefaultPaletteColor(index);
  return seriesColor_;
}

std::string TChartSeries::PointLabel(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= labels_.Size()) return {};
  return labels_.At(static_cast<std::size_t>(index));
}

void TChartSeries::SetPointColor(int index, tk::TColor color) {
  CheckPointIndex(index);
  // a point copied without a colour entry gets one now
  if (static_cast<std::size_t>(index) >= colors_.Size())
    colors_.Resize(static_cast<std::size_t>(index) + 1);
  colors_.Set(static_cast<std::size_t>(index), color);
  RequestRepaint();
}

void TChartSeries::SetPointLabel(int index, const std::string& label) {
  CheckPointIndex(index);
  if (static_cast<std::size_t>(index) >= labels_.Size())
    labels_.Resize(static_cast<std::size_t>(index) + 1);
  labels_.Set(static_cast<std::size_t>(index), label);
  RequestRepaint();
}

TChartValueList& TChartSeries::ValueListByName(const std::string& name) const {
  for (int k = 2; k < valuesList_.Count(); ++k)
    if (SameTextIgnoringCase(valuesList_[k]->Name(), name)) return *valuesList_[k];
  return *yValues_;
}

double TChartSeries::SumOfPriorSeries(int index, bool all) const {
  if (!parentChart_) return 0;
  double sum = 0;
  for (int k = 0; k < parentChart_->SeriesCount(); ++k) {
    const TChartSeries* s = parentChart_->SeriesAt(k);
    if (!all && s == this) break;
    if (!s->Active() || typeid(*s) != typeid(*this) || index >= s->PointCount()) continue;
    const double v = s->OriginValueAt(index);
    if (v > 0) sum += v;
  }
  return sum;
}

// ---------------------------------------------------------------- axes and pixels

void TChartSeries::ResolveAxes() {
  if (!parentChart_) {
    horizAxisResolved_ = vertAxisResolved_ = nullptr;
    return;
  }
  horizAxisResolved_ = horizAxis_ == aTopAxis ? parentChart_->GetTopAxis()
                       : horizAxis_ == aCustomHorizAxis && customHorizAxis_
                           ? customHorizAxis_
                           : parentChart_->GetBottomAxis();
  vertAxisResolved_ = vertAxis_ == aRightAxis ? parentChart_->GetRightAxis()
                      : vertAxis_ == aCustomVertAxis && customVertAxis_
                          ? customVertAxis_
                          : parentChart_->GetLeftAxis();
}

bool TChartSeries::UsesAxis(const TSeriesAxis* axis) const {
  if (!UsesAxes() || !axis) return false;
  if (axis->IsHorizontal())
    return axis == horizAxisResolved_ ||
           (horizAxis_ == aBothHorizAxis && parentChart_ &&
            (axis == parentChart_->GetTopAxis() || axis == parentChart_->GetBottomAxis()));
  return axis == vertAxisResolved_ ||
         (vertAxis_ == aBothVertAxis && parentChart_ &&
          (axis == parentChart_->GetLeftAxis() || axis == parentChart_->GetRightAxis()));
}

// Without a chart there are no axes; every value then sits at pixel 0.
int TChartSeries::XValueToPixel(double v) const {
  return horizAxisResolved_ ? horizAxisResolved_->ValueToPixel(v) : 0;
}

int TChartSeries::YValueToPixel(double v) const {
  return vertAxisResolved_ ? vertAxisResolved_->ValueToPixel(v) : 0;
}

int TChartSeries::MandatoryValueToPixel(double v) const {
  return YIsMandatory() ? YValueToPixel(v) : XValueToPixel(v);
}

double TChartSeries::XPixelToValue(int pixel) const {
  return horizAxisResolved_ ? horizAxisResolved_->PixelToValue(pixel) : 0;
}

// ---------------------------------------------------------------- drawing

void TChartSeries::FindVisibleRange() {
  FindVisibleRangeImpl(true);
}
void TChartSeries::FindVisibleRangeByScan() {
  FindVisibleRangeImpl(false);
}

void TChartSeries::FindVisibleRangeImpl(bool allowBisection) {
  FirstVisible = LastVisible = -1;
  const int count = PointCount();
  if (count == 0) return;
  const TChartValueList& list = NotMandatoryList();
  TSeriesAxis* axis = NotMandatoryAxis();
  if (!LimitToAxisWindow || list.Order() == loNone || !axis || !parentChart_) {
    FirstVisible = 0;
    LastVisible = count - 1;
    return;
  }
  const tk::TRect r = parentChart_->ChartRectangle();
  const bool horizontal = axis->IsHorizontal();
  const int lowEdge =
      horizontal ? (axis->Inverted() ? r.right : r.left) : (axis->Inverted() ? r.top : r.bottom);
  const int highEdge =
      horizontal ? (axis->Inverted() ? r.left : r.right) : (axis->Inverted() ? r.bottom : r.top);
  const double low = axis->PixelToValue(lowEdge);
  const double high = axis->PixelToValue(highEdge);

  const std::vector<double>& stored = list.Values();
  const double m = list.Multiplier();
  // the first index from `from` on whose scaled value is not below v; count if none
  const bool bisect = allowBisection && list.IsAscending();
  auto firstNotBelow = [&](int from, double v) {
    if (bisect) {
      auto it = std::partition_point(stored.begin() + from, stored.end(),
                                     [&](double s) { return s * m < v; });
      return static_cast<int>(it - stored.begin());
    }
    for (int i = from; i < count; ++i)
      if (!(stored[static_cast<std::size_t>(i)] * m < v)) return i;
    return count;
  };

  const int first = firstNotBelow(0, low);
  if (first == count) return;
  FirstVisible = first;
  if (list.LastValue() > high) {
    int last = firstNotBelow(first, high);
    if (last == count) last = count - 1;
    if (!IncludePointBeyondEdge && list.ValueAt(last) > high) --last;
    LastVisible = last;
  } else {
    LastVisible = count - 1;
  }
}

void TChartSeries::StartDrawingPoints() {
  if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::DoneDrawingPoints() {
  if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::DrawAllPoints() {
  if (LastVisible < FirstVisible) return;
  if (DrawsForward()) {
    for (int i = FirstVisible; i <= LastVisible; ++i)
      DrawPoint(i);
  } else {
    for (int i = LastVisible; i >= FirstVisible; --i)
      DrawPoint(i);
  }
}

bool TChartSeries::SharesZOrder() const {
  if (!parentChart_ || !parentChart_->AppliesZOrder()) return false;
  for (int k = 0; k < parentChart_->SeriesCount(); ++k) {
    const TChartSeries* s = parentChart_->SeriesAt(k);
    if (s != this && s->Active() && !s->OwnDepthValues && s->ZOrder() == ZOrder()) return true;
  }
  return false;
}

void TChartSeries::AssignZOrder() {
  if (!parentChart_) return;
  if (zOrder_ == -1) {
    if (parentChart_->View3D()) {
      parentChart_->SetMaxZOrder(parentChart_->MaxZOrder() + 1);
      autoZOrder_ = parentChart_->MaxZOrder();
    } else {
      autoZOrder_ = 0;
    }
  } else if (parentChart_->MaxZOrder() < zOrder_) {
    parentChart_->SetMaxZOrder(zOrder_);
  }
}

void TChartSeries::Apply3DForGallery(bool view3D) {
  if (!parentChart_) return;
  parentChart_->SetView3D(view3D);
  parentChart_->SetClipPoints(!view3D);
}

// ---------------------------------------------------------------- mouse

bool TChartSeries::HandleClick(int pointIndex, tk::TMouseButton button, tk::TShiftState shift,
                               int x, int y) {
  bool fired = false;
  if ((shift & tk::ssDouble) && OnDblClick) {
    OnDblClick(this, pointIndex, button, shift, x, y);
    fired = true;
  } else if (OnClick) {
    OnClick(this, pointIndex, button, shift, x, y);
    fired = true;
  }
  if (fired && parentChart_) parentChart_->CancelMouseAction();
  return fired;
}

// ---------------------------------------------------------------- links

void TChartSeries::NotifyDependents(TChartChangeKind kind, int index) {
  for (std::size_t k = 0; k < dependents_.size(); ++k) {
    TChartSeries* d = dependents_[k];
    const TRecalcOptions o = d->RecalcOptions();
    switch (kind) {
      case ckCleared:
        if (o & rOnClear) d->RemoveAllPoints();
        break;
      case ckPointAdded:
        // a function recomputes its series as a whole, never point by point
        if ((o & rOnInsert) && !d->Function()) d->SourcePointAdded(*this, index);
        break;
      case ckPointRemoved:
        if ((o & rOnDelete) && !d->Function()) d->SourcePointRemoved(*this, index);
        break;
      case ckValueModified:
        if (o & rOnModify) d->CopyAllPointsFrom(*this);
        break;
      case ckRefresh:
        d->CopyAllPointsFrom(*this);
        break;
    }
  }
}

void TChartSeries::CheckDataSource() {
  if (parentChart_) parentChart_->CheckDataSource(this);
}

int TChartSeries::CopyPointFrom(const TChartSeries& source, int index) {
  double x = source.XValueAt(index), y = source.YValueAt(index);  // refuses a bad index first
  if (YIsMandatory() != source.YIsMandatory()) std::swap(x, y);
  const std::size_t oldColors = colors_.Size(), oldLabels = labels_.Size();
  const int at = xValues_->AddInOrder(x);
  int stored = 1;
  try {
    yValues_->InsertValueAt(at, y);
    // further lists position by position; one the source lacks gets 0
    for (stored = 2; stored < valuesList_.Count(); ++stored) {
      const double v =
          stored < source.ValuesList().Count() ? source.ValuesList()[stored]->ValueAt(index) : 0.0;
      valuesList_[stored]->InsertValueAt(at, v);
    }
    // The point comes without a colour or label, but entries after it must
    // stay with their points: a default entry keeps the lists in step.
    const auto to = static_cast<std::size_t>(at);
    if (to < colors_.Size()) colors_.Insert(to, tk::clDefault);
    if (to < labels_.Size()) labels_.Insert(to, std::string());
  } catch (...) {
    UndoPoint(valuesList_, stored, at, colors_, oldColors, labels_, oldLabels);
    throw;
  }
  return at;
}

namespace {

// The copied point's own entry, over the default that keeps the list in step
// or past the end of a short list.
template <typename T>
void CopyEntry(TSparseList<T>& list, std::size_t at, const TSparseList<T>& from,
               std::size_t index) {
  if (index >= from.Size()) return;  // the source has none
  if (at < list.Size())
    list.Set(at, from.At(index));
  else
    PlaceEntry(list, at, from.At(index));
}

}  // namespace

void TChartSeries::SourcePointAdded(const TChartSeries& source, int index) {
  const std::size_t oldColors = colors_.Size(), oldLabels = labels_.Size();
  const int at = CopyPointFrom(source, index);
  const auto i = static_cast<std::size_t>(index), to = static_cast<std::size_t>(at);
  try {
    CopyEntry(colors_, to, source.colors_, i);
    CopyEntry(labels_, to, source.labels_, i);
  } catch (...) {
    UndoPoint(valuesList_, valuesList_.Count(), at, colors_, oldColors, labels_, oldLabels);
    throw;
  }
  AfterPointAdded(this, at);
}

void TChartSeries::CopyAllPointsFrom(const TChartSeries& source) {
  if (!AcceptsSource(&source)) return;
  RemoveAllPoints();
  if (function_) {
    xValues_->SetDateTime(source.XValues().DateTime());
    yValues_->SetDateTime(source.YValues().DateTime());
    function_->FillFromSource(const_cast<TChartSeries*>(&source));
  } else {
    for (int i = 0; i < source.PointCount(); ++i)
      SourcePointAdded(source, i);
  }
  NotifyDependents(ckRefresh, -1);
}

void TChartSeries::AddDependent(TChartSeries* series) {
  if (std::find(dependents_.begin(), dependents_.end(), series) == dependents_.end())
    dependents_.push_back(series);
}

void TChartSeries::RemoveDependent(TChartSeries* series) {
  std::erase(dependents_, series);
}

std::size_t TSeriesAxis::PixelRun(const double* values, std::size_t count, double multiplier,
                                  int& pixel) const {
  pixel = ValueToPixel(values[0] * multiplier);
  const double next = NextPixelValue(pixel);
  std::size_t n = 1;
  for (;;) {
    if (std::isnan(next) || !(multiplier > 0)) {
      while (n < count && ValueToPixel(values[n] * multiplier) == pixel)
        ++n;
      return n;
    }
    while (n < count && values[n] * multiplier < next)
      ++n;
    // exactly on the boundary a half may still round back to this pixel
    if (n < count && ValueToPixel(values[n] * multiplier) == pixel) {
      ++n;
      continue;
    }
    return n;
  }
}
