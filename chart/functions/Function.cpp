#include "chart/functions/Function.h"

#include <cstdint>
#include <memory>
#include <utility>

#include "chart/ChartErrors.h"
#include "chart/series/Series.h"
#include "toolkit/Change.h"
#include "toolkit/Rounding.h"

namespace {

// The list along which a source's points are ordered: x for ordinary series.
const TChartValueList& NotMandatoryOf(const TChartSeries& s) {
  return s.YIsMandatory() ? s.XValues() : s.YValues();
}

// A group size in points; a period that rounds to nothing still means one
// point, or a group would never move past its first index.
std::int64_t GroupSize(double period) {
  const std::int64_t p = tk::RoundHalfEven(period);
  return p < 1 ? 1 : p;
}

}  // namespace

TZozFunction::TZozFunction(tk::TComponent* owner) : tk::TComponent(owner) {}
TZozFunction::~TZozFunction() = default;

// ---------------------------------------------------------------- properties

void TZozFunction::SetPeriod(double period) {
  // NaN is no size either; it would leave every group empty
  if (!(period >= 0)) throw ChartException("Function Period should be >= 0");
  if (tk::Change(period_, period)) Recompute();
}

void TZozFunction::SetPeriodStyle(TFunctionPeriodStyle style) {
  if (tk::Change(periodStyle_, style)) Recompute();
}

void TZozFunction::SetPeriodAlign(TFunctionPeriodAlign align) {
  if (tk::Change(periodAlign_, align)) Recompute();
}

// ---------------------------------------------------------------- operations

void TZozFunction::Recompute() {
  if (!recalcSuspended_ && parent_) parent_->CheckDataSource();
}

void TZozFunction::Assign(const tk::TComponent& source) {
  const auto* f = dynamic_cast<const TZozFunction*>(&source);
  if (!f) return;
  bool changed = tk::Change(period_, f->period_);
  changed = tk::Change(periodStyle_, f->periodStyle_) || changed;
  changed = tk::Change(periodAlign_, f->periodAlign_) || changed;
  if (changed) Recompute();
}

const TChartValueList& TZozFunction::ValueListFor(const TChartSeries& source) const {
  const std::string& name = parent_ ? parent_->MandatoryList().ValueSource() : std::string();
  return name.empty() ? source.MandatoryList() : source.ValueListByName(name);
}

bool TZozFunction::SourceValueAt(const TChartSeries& source, int index, double& value) const {
  const TChartValueList& list = ValueListFor(source);
  if (index < 0 || index >= list.ValueCount()) return false;
  value = list.ValueAt(index);
  return true;
}

void TZozFunction::AddResultPoint(bool sourceYMandatory, double result, double x) {
  if (!parent_) return;
  if (sourceYMandatory)
    parent_->AddPointXY(x, result);
  else
    parent_->AddPointXY(result, x);
}

// ---------------------------------------------------------------- filling

void TZozFunction::FillFromSource(TChartSeries* source) {
  if (!source || !parent_) return;
  const TChartValueList& list = NotMandatoryOf(*source);
  if (GatherParentSources() > 1) {
    FillAcrossSources(*source, list);
  } else if (source->PointCount() > 0) {
    if (movingWindow_)
      FillMovingWindow(*source, list);
    else if (period_ != 0)
      FillByPeriods(*source, list);
    else
      FillWhole(*source, list);
  }
}

void TZozFunction::FillAcrossSources(const TChartSeries& source, const TChartValueList& list) {
  const bool exchange = !source.YIsMandatory();
  for (int i = 0; i < source.PointCount(); ++i) {
    double x = list.ValueAt(i);
    double y = ComputeAcrossSources(sources_, i);
    if (exchange) std::swap(x, y);
    parent_->AddPointXY(x, y, source.PointLabel(i));
  }
}

void TZozFunction::FillWhole(const TChartSeries& source, const TChartValueList& list) {
  if (!parent_) return;
  const double r = ComputeForRange(source, -1, -1);
  const double low = list.LowestValue(), high = list.HighestValue();
  const bool sourceY = source.YIsMandatory();
  if (!parent_->SinglePointAllowed) {
    // a level line across the source's span
    AddResultPoint(sourceY, r, low);
    AddResultPoint(sourceY, r, high);
    return;
  }
  const double c = (high - low) * 0.5 + low;
  const bool parentY = parent_->YIsMandatory();
  if (!parentY)
    parent_->AddPointXY(r, c);
  else if (sourceY)
    AddResultPoint(true, r, c);
  else
    parent_->AddPointXY(c, r);
}

double TZozFunction::AlignedX(double start, double end) const {
  switch (periodAlign_) {
    case paFirst:
      return start;
    case paLast:
      return end;
    case paCenter:
      break;
  }
  return (start + end) * 0.5;
}

void TZozFunction::FillByPeriods(const TChartSeries& source, const TChartValueList& list) {
  const int n = source.PointCount();
  if (n <= 0) return;
  const bool byPoints = periodStyle_ == psNumPoints;
  const std::int64_t size = GroupSize(period_);
  std::int64_t d = 0;
  double e = list.ValueAt(0);
  do {
    std::int64_t i;
    double startX, endX = 0;
    if (byPoints) {
      i = d + size - 1;
      startX = list.ValueAt(static_cast<int>(d));
      if (i < n) endX = list.ValueAt(static_cast<int>(i));
    } else {
      startX = e;
      const double next = NextRangeEnd(e);
      if (!(next > e)) return;  // a step too small to move on: the rest cannot be grouped
      e = next;
      endX = e - 0.001 * period_;
      i = d;
      while (i + 1 < n && list.ValueAt(static_cast<int>(i + 1)) < e)
        ++i;
    }
    const bool filled = byPoints || list.ValueAt(static_cast<int>(d)) < e;
    if (i < n) {
      const double x = AlignedX(startX, endX);
      if (filled)
        AddPeriodPoint(source, static_cast<int>(d), static_cast<int>(i), x);
      else
        AddResultPoint(source.YIsMandatory(), 0, x);
    }
    if (filled) d = i + 1;
  } while (d <= n - 1);
}

void TZozFunction::AddPeriodPoint(const TChartSeries& source, int first, int last, double x) {
  AddResultPoint(source.YIsMandatory(), ComputeForRange(source, first, last), x);
}

void TZozFunction::FillMovingWindow(const TChartSeries& source, const TChartValueList& list) {
  const std::int64_t n = source.PointCount(), p = GroupSize(period_);
  for (std::int64_t b = p - 1; b < n; ++b) {
    const int last = static_cast<int>(b);
    AddResultPoint(source.YIsMandatory(),
                   ComputeForRange(source, static_cast<int>(b - p + 1), last), list.ValueAt(last));
  }
}

double TZozFunction::NextRangeEnd(double end) const {
  const TSeriesAxis* axis = parent_ ? parent_->GetHorizAxis() : nullptr;
  return axis ? axis->IncrementValue(end, period_) : end + period_;
}

std::size_t TZozFunction::GatherParentSources() {
  sources_.clear();
  if (!parent_) return 0;
  for (const tk::TComponent* c : parent_->DataSources())
    if (const auto* s = dynamic_cast<const TChartSeries*>(c)) sources_.push_back(s);
  return parent_->DataSources().size();
}

double TZozFunction::ComputeForRange(const TChartSeries&, int, int) const {
  return 0;
}

double TZozFunction::ComputeAcrossSources(const TFunctionSources&, int) const {
  return 0;
}

// ---------------------------------------------------------------- attaching

void TZozFunction::AttachToSeries(TChartSeries* series) {
  if (!series || series == parent_) return;
  std::unique_ptr<TZozFunction> self(parent_ ? parent_->ReleaseFunction().release() : this);
  series->SetFunction(std::move(self));
}

// ---------------------------------------------------------------- many sources

double TManySeriesZozFunction::ComputeForRange(const TChartSeries&, int, int) const {
  return 0;
}

double TManySeriesZozFunction::ComputeAcrossSources(const TFunctionSources& sources,
                                                    int index) const {
  double result = 0, v;
  bool started = false;
  for (const TChartSeries* s : sources) {
    if (!SourceValueAt(*s, index, v)) continue;
    result = started ? CombineTwo(result, v) : v;
    started = true;
  }
  return result;
}
