// Links between series (data sources and the series they feed), the legend
// text of a point, random sample values, and copying and storing a series.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <random>

#include "chart/ChartErrors.h"
#include "chart/canvas/Canvas.h"
#include "chart/series/RepaintPause.h"
#include "chart/series/SampleValues.h"
#include "chart/series/Series.h"
#include "chart/series/SeriesFunction.h"
#include "toolkit/Format.h"
#include "toolkit/Rounding.h"

// ---------------------------------------------------------------- the chart's checks

bool TSeriesChart::IsValidDataSource(const TChartSeries* series,
                                     const tk::TComponent* source) const {
  const auto* s = dynamic_cast<const TChartSeries*>(source);
  return s && s != series && series->AcceptsSeriesSource(s);
}

namespace {

// Walks every source of every series down the chain; `seen` stops the walk
// at a circle that a stored form or a copy made without the check.
void CheckChain(const TChartSeries* series, const TChartSeries* source,
                std::vector<const TChartSeries*>& seen) {
  if (std::find(seen.begin(), seen.end(), source) != seen.end()) return;
  seen.push_back(source);
  for (tk::TComponent* c : source->DataSources()) {
    if (c == series) throw ChartException("Circular Series dependences are not allowed");
    if (const auto* s = dynamic_cast<const TChartSeries*>(c)) CheckChain(series, s, seen);
  }
}

}  // namespace

void CheckNoCircularSeriesSource(const TChartSeries* series, const TChartSeries* source) {
  std::vector<const TChartSeries*> seen;
  CheckChain(series, source, seen);
}

void TSeriesChart::CheckNoCircularSource(const TChartSeries* series,
                                         const TChartSeries* source) const {
  CheckNoCircularSeriesSource(series, source);
}

// ---------------------------------------------------------------- data sources

void TChartSeries::SetDataSource(tk::TComponent* source) {
  if (!source) {
    if (parentChart_ && DataSource()) parentChart_->DataSourceRemoved(this, DataSource());
    DropDataSources();
    if (Designing())
      FillSampleValues(SampleCount());
    else
      RemoveAllPoints();
    RequestRepaint();
    return;
  }
  if (!parentChart_) throw ChartException("No ParentChart to validate DataSource");
  if (!parentChart_->IsValidDataSource(this, source))
    throw ChartException("No valid DataSource: " + source->Name());
  if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end()) return;
  if (auto* s = dynamic_cast<TChartSeries*>(source)) parentChart_->CheckNoCircularSource(this, s);
  if (!IsLoading()) DropDataSources();
  AddDataSourceEntry(source);
  if (!IsLoading()) parentChart_->CheckDataSource(this);
}

void TChartSeries::DropDataSources() {
  for (tk::TComponent* c : dataSources_) {
    if (auto* s = dynamic_cast<TChartSeries*>(c))
      s->RemoveDependent(this);
    else
      c->RemoveFreeNotification(this);
  }
  dataSources_.clear();
}

void TChartSeries::AddDataSourceEntry(tk::TComponent* source) {
  dataSources_.push_back(source);
  if (auto* s = dynamic_cast<TChartSeries*>(source))
    s->AddDependent(this);
  else
    source->FreeNotification(this);  // so that the series lets go of it in time
}

void TChartSeries::UnlinkDependents() {
  const std::vector<TChartSeries*> fed = std::move(dependents_);
  dependents_.clear();
  for (TChartSeries* d : fed) {
    std::erase(d->dataSources_, static_cast<tk::TComponent*>(this));
    d->CheckDataSource();
  }
}

void TChartSeries::Notification(tk::TComponent* component, tk::TOperation operation) {
  tk::TComponent::Notification(component, operation);
  if (operation != tk::opRemove) return;
  if (component == DataSource()) {
    // the notice comes from the component's destructor: it is no longer listening
    dataSources_.erase(dataSources_.begin());
    if (parentChart_) parentChart_->DataSourceRemoved(this, component);
    DropDataSources();
    if (Designing() && !Destroying())
      FillSampleValues(SampleCount());
    else
      RemoveAllPoints();
    RequestRepaint();
  } else {
    std::erase(dataSources_, component);
  }
}

void TChartSeries::SetFunction(std::unique_ptr<TZozFunction> function) {
  if (function && function.get() == function_.get()) {
    function.release();  // already ours
    return;
  }
  function_ = std::move(function);
  if (function_) function_->parent_ = this;
  CheckDataSource();
}

std::unique_ptr<TZozFunction> TChartSeries::ReleaseFunction() {
  if (function_) function_->parent_ = nullptr;
  return std::move(function_);
}

// ---------------------------------------------------------------- legend text

std::string TChartSeries::LegendText(int index, TLegendTextStyle style) const {
  const int i = LegendIndexToPoint(index);
  const std::string label = PointLabel(i);
  if (style == ltsPlain) return label;
  if (style == ltsXValue) {
    const double x = XValueAt(i);
    return horizAxisResolved_ ? horizAxisResolved_->LabelText(x)
                              : tk::FormatFloat(valueFormat_, x);
  }
  const double v = MarkValueAt(i);
  const std::string value = tk::FormatFloat(valueFormat_, v);
  std::string percent;
  if (style == ltsLeftPercent || style == ltsRightPercent) {
    const double sum = MandatoryList().MagnitudeSum();
    percent = tk::FormatFloat(percentFormat_, sum == 0 ? 100 : v * 100 / sum);
  }
  switch (style) {
    case ltsLeftValue: return value + " " + label;
    case ltsRightValue: return label + " " + value;
    case ltsLeftPercent: return percent + " " + label;
    case ltsRightPercent: return label + " " + percent;
    default: return label;
  }
}

// ---------------------------------------------------------------- legend symbols

void TChartSeries::DrawLegendEntry(int index, const tk::TRect& box) {
  if (!parentChart_ || (index == -1 && colorEachPoint_)) return;
  const tk::TColor color = index == -1 ? seriesColor_ : LegendEntryColor(index);
  if (color == tk::clNone) return;
  tk::TColor back = parentChart_->LegendColor();
  tk::TBrushStyle style = tk::bsSolid;
  PrepareLegendBrush(index, back, style);
  if (back == tk::clDefault) {
    back = parentChart_->LegendColor();
    if (back == tk::clDefault) back = parentChart_->PanelColor();
  }
  parentChart_->ApplyFillStyle(color, style, back);
  DrawLegendSymbol(index, box);
}

void TChartSeries::DrawLegendSymbol(int /*index*/, const tk::TRect& box) {
  TZozCanvas3D* c = parentChart_ ? parentChart_->DrawingCanvas() : nullptr;
  if (!c) return;
  c->DrawRect(box);
  const tk::TColor legend = parentChart_->LegendColor();
  if (c->Brush().color != legend) return;
  // the box would vanish into the legend: outline it once more
  c->Brush().style = tk::bsClear;
  c->Pen().color = tk::ColorToRGB(legend) == tk::clBlack ? tk::clWhite : tk::clBlack;
  c->DrawRect(box);
  c->Pen().color = tk::clBlack;
}

// ---------------------------------------------------------------- sample values

std::mt19937& SampleValueGenerator() {
  static std::mt19937 generator(static_cast<unsigned>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  return generator;
}

void SeedSampleValues(unsigned seed) {
  SampleValueGenerator().seed(seed);
}

namespace {

// A random integer in [0, n); 0 when the range is empty.
int RandomBelow(std::mt19937& rng, int n) {
  if (n <= 0) return 0;
  return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(rng));
}

double Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return tk::EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}


}  // namespace

void TChartSeries::FillSampleValues(int count) {
  if (count <= 0) throw ChartException("FillSampleValues NumValues must be > 0");
  RemoveAllPoints();
  std::mt19937& rng = SampleValueGenerator();
  double lowY = 0, highY = 0, lowX = 0, highX = 0;
  if (parentChart_ && parentChart_->ValueSpan(*this, lowX, highX, lowY, highY)) {
    if (lowY == highY) highY = lowY != 0 ? 2 * lowY : 1000;
    if (lowX == highX) highX = lowX != 0 ? 2 * lowX : count;
  } else {
    lowY = 0;
    highY = 1000;
    lowX = xValues_->DateTime() ? Today() : 0;
    highX = lowX + count - 1;
  }
  const double step = count == 1 ? highX - lowX : (highX - lowX) / (count - 1);
  const double span = std::clamp(highY - lowY, -2147483647.0, 2147483647.0);
  const int roundSpan = tk::RoundToInt(span);
  double y = lowY + RandomBelow(rng, roundSpan);
  const int d = roundSpan / 4;
  double x = lowX;
  {
    RepaintPause pause(parentChart_);
    for (int i = 0; i < count; ++i) {
      y = std::fabs(RandomBelow(rng, d) + y - d / 2);
      AddPointXY(x, y, {}, tk::clDefault);
      x += step;
    }
  }
  RequestRepaint();  // the points went in while the chart did not listen
  NotifyDependents(ckRefresh, -1);
}

// ---------------------------------------------------------------- copying and storing

void TChartSeries::Assign(const tk::TComponent& source) {
  const auto* s = dynamic_cast<const TChartSeries*>(&source);
  if (!s) {
    tk::TComponent::Assign(source);
    return;
  }
  if (s == this) return;
  SetTag(s->Tag());
  SetDataSource(nullptr);
  AssignValueSettings(*s);
  if (s->function_ && !function_) {
    auto& from = const_cast<TChartSeries&>(*s);
    SetFunction(from.ReleaseFunction());
  }
  if (!s->dataSources_.empty()) {
    for (tk::TComponent* c : s->dataSources_)
      if (c != this) AddDataSourceEntry(c);
  } else if (!s->Designing()) {
    CopyAllPointsFrom(*s);
  }
  AssignPublished(*s);
  CheckDataSource();
}

void TChartSeries::AssignValueSettings(const TChartSeries& source) {
  // the lists swap only when one series lies on its side
  if (YIsMandatory() == source.YIsMandatory()) {
    xValues_->Assign(*source.xValues_);
    yValues_->Assign(*source.yValues_);
  } else {
    yValues_->Assign(*source.xValues_);
    xValues_->Assign(*source.yValues_);
  }
  xLabelsSource_ = source.xLabelsSource_;
  colorSource_ = source.colorSource_;
  for (int k = 2; k < valuesList_.Count() && k < source.valuesList_.Count(); ++k)
    valuesList_[k]->Assign(*source.valuesList_[k]);
}

void TChartSeries::AssignPublished(const TChartSeries& source) {
  marks_->Assign(*source.marks_);
  SetSeriesColor(source.seriesColor_);
  colorEachPoint_ = source.colorEachPoint_;
  SetTitle(source.title_);
  SetValueFormat(source.valueFormat_);
  SetPercentFormat(source.percentFormat_);
  SetActive(source.active_);
  SetHorizAxis(source.horizAxis_);
  SetVertAxis(source.vertAxis_);
  recalcOptions_ = source.recalcOptions_;
  cursor_ = source.cursor_;
  SetShowInLegend(source.showInLegend_);
  style_ = source.style_;
  identifier_ = source.identifier_;
}

TSeriesStoredExtras TChartSeries::StoredExtras() const {
  TSeriesStoredExtras e;
  if (dataSources_.size() > 1)
    for (tk::TComponent* c : dataSources_)
      e.DataSources.push_back(c->Name());
  e.Identifier = identifier_;
  e.HasStyle = style_ != 0;
  e.Style = style_;
  return e;
}

void TChartSeries::ReadStoredExtras(const TSeriesStoredExtras& extras) {
  if (!extras.DataSources.empty())
    pendingSourceNames_ = std::make_unique<std::vector<std::string>>(extras.DataSources);
  identifier_ = extras.Identifier;
  if (extras.HasStyle) SetStyle(extras.Style);
}

void TChartSeries::Loaded() {
  tk::TComponent::Loaded();
  if (pendingSourceNames_) {
    DropDataSources();
    for (const std::string& name : *pendingSourceNames_) {
      tk::TComponent* c = Owner() ? Owner()->FindComponent(name) : nullptr;
      if (!c || c == this ||
          std::find(dataSources_.begin(), dataSources_.end(), c) != dataSources_.end())
        continue;
      if (auto* s = dynamic_cast<TChartSeries*>(c)) {
        // a stored circle of sources would feed points round it for ever
        try {
          if (parentChart_)
            parentChart_->CheckNoCircularSource(this, s);
          else
            CheckNoCircularSeriesSource(this, s);
        } catch (const ChartException&) {
          continue;
        }
      }
      AddDataSourceEntry(c);
    }
    pendingSourceNames_.reset();
  }
  CheckDataSource();
}
