#include "gallery/GalleryChart.h"

#include <cmath>

#include "chart/functions/Function.h"
#include "chart/series/BarSeries.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SampleValues.h"

GalleryChart::GalleryChart(TChart& chart)
    : chart_(chart), default3DPercent_(chart.Chart3DPercent()) {}

std::vector<std::string> GalleryChart::EntryNames() {
  std::vector<std::string> names;
  for (const TZozSeriesType& t : SeriesTypes())
    names.push_back(t.GalleryPage + ": " + t.Description);
  return names;
}

const TZozSeriesType& GalleryChart::Type() const {
  return SeriesTypes().at(static_cast<std::size_t>(entry_));
}

std::vector<TChartSeries*> GalleryChart::AllSeries() const {
  std::vector<TChartSeries*> all = sources_;
  if (result_) all.push_back(result_);
  return all;
}

void GalleryChart::Open(int index) {
  const TZozSeriesType& t = SeriesTypes().at(static_cast<std::size_t>(index));
  chart_.DestroyAllSeries();
  sources_.clear();
  result_ = nullptr;
  if (pieShown_) {
    chart_.View3DOptions().Assign(viewBeforePie_);
    chart_.Invalidate();
    pieShown_ = false;
  }
  viewBeforePie_.Assign(chart_.View3DOptions());
  entry_ = index;
  chart_.SetChart3DPercent(default3DPercent_);
  // the same sample values every time an entry opens: pictures and tests
  // come out alike on every run
  SeedSampleValues(static_cast<unsigned>(index) + 1);
  if (t.CreateFunction)
    OpenFunction(t);
  else
    OpenSeriesType(t);
  pieShown_ = First<TPieSeries>() != nullptr;
}

TChartSeries* GalleryChart::AddSeries(std::unique_ptr<TChartSeries> s, const std::string& title) {
  TChartSeries* raw = s.release();  // the chart frees its series
  raw->SetParentChart(&chart_);
  raw->SetTitle(title);
  return raw;
}

void GalleryChart::OpenSeriesType(const TZozSeriesType& t) {
  for (int i = 0; i < std::max(1, t.GallerySeriesCount); ++i) {
    TChartSeries* s = AddSeries(t.Create(), t.Description + " " + std::to_string(i + 1));
    if (auto* bar = dynamic_cast<TCustomBarSeries*>(s)) {
      bar->SetBarWidthPercent(85);
      bar->SetMultiBar(mbNone);
    }
    if (auto* pie = dynamic_cast<TPieSeries*>(s)) {
      chart_.SetChart3DPercent(75);
      pie->SetCircled(!chart_.View3D());
    }
    s->FillSampleValues(s->SampleCount());
    sources_.push_back(s);
  }
}

void GalleryChart::OpenFunction(const TZozSeriesType& t) {
  for (int i = 0; i < std::max(1, t.GallerySeriesCount); ++i) {
    TChartSeries* s = AddSeries(std::make_unique<TLineSeries>(), "Source " + std::to_string(i + 1));
    s->FillSampleValues(s->SampleCount());
    sources_.push_back(s);
  }
  result_ = AddSeries(std::make_unique<TLineSeries>(), t.Description);
  result_->SetFunction(t.CreateFunction());
  // the way a stored form gives a series several sources at once
  result_->SetLoading(true);
  for (TChartSeries* s : sources_)
    result_->SetDataSource(s);
  result_->Loaded();
  PlaceResultAxis();
  chart_.Legend().SetVisible(true);
}

namespace {

double Magnitude(const TChartSeries& s) {
  return s.PointCount() ? std::max(std::fabs(s.HighestY()), std::fabs(s.LowestY())) : 0;
}

}  // namespace

void GalleryChart::PlaceResultAxis() {
  if (!result_) return;
  double sources = 0;
  for (const TChartSeries* s : sources_)
    sources = std::max(sources, Magnitude(*s));
  const double result = Magnitude(*result_);
  const bool apart = sources > 0 && result > 0 && (result > 10 * sources || 10 * result < sources);
  result_->SetVertAxis(apart ? aRightAxis : aLeftAxis);
}

void GalleryChart::SetView3D(bool on) {
  chart_.SetView3D(on);
  ForEach<TPieSeries>([on](TPieSeries& p) { p.SetCircled(!on); });
}

// ---------------------------------------------------------------- the settings

namespace {

using G = GalleryChart;
const std::vector<std::string> kOnOff = {"Off", "On"};

bool Always(G&) {
  return true;
}
template <typename T>
bool Has(G& g) {
  return g.First<T>() != nullptr;
}
bool HasFunction(G& g) {
  return g.ResultSeries() != nullptr;
}
TZozFunction& FunctionOf(G& g) {
  return *g.ResultSeries()->Function();
}

std::vector<int> Indices(std::size_t n) {
  std::vector<int> v;
  for (int i = 0; i < static_cast<int>(n); ++i)
    v.push_back(i);
  return v;
}

GallerySetting Toggle(std::string caption, std::function<bool(G&)> applies,
                      std::function<int(G&)> get, std::function<void(G&, int)> set) {
  return {std::move(caption), GallerySetting::Toggle, kOnOff, 0, 1, {0, 1, 0},
          std::move(applies), std::move(get), std::move(set)};
}

GallerySetting Choice(std::string caption, std::vector<std::string> choices,
                      std::function<bool(G&)> applies, std::function<int(G&)> get,
                      std::function<void(G&, int)> set) {
  std::vector<int> sweep = Indices(choices.size());
  sweep.push_back(0);
  const int max = static_cast<int>(choices.size()) - 1;
  return {std::move(caption), GallerySetting::Choice, std::move(choices), 0, max, sweep,
          std::move(applies), std::move(get), std::move(set)};
}

GallerySetting Number(std::string caption, int min, int max, std::vector<int> sweep,
                      std::function<bool(G&)> applies, std::function<int(G&)> get,
                      std::function<void(G&, int)> set) {
  return {std::move(caption), GallerySetting::Number, {}, min, max, std::move(sweep),
          std::move(applies), std::move(get), std::move(set)};
}

std::vector<GallerySetting> ViewSettings() {
  auto view = [](G& g) -> TView3DOptions& { return g.Chart().View3DOptions(); };
  return {
      Toggle("3D", Always, [](G& g) { return g.Chart().View3D(); },
             [](G& g, int v) { g.SetView3D(v != 0); }),
      Toggle("Orthogonal", Always, [view](G& g) { return view(g).Orthogonal(); },
             [view](G& g, int v) { view(g).SetOrthogonal(v != 0); }),
      Number("Rotation", -360, 720, {0, 90, 180, 270, 345, 360}, Always,
             [view](G& g) { return view(g).Rotation(); },
             [view](G& g, int v) { view(g).SetRotation(v); }),
      Number("Elevation", -360, 720, {270, 300, 345, 360, 0}, Always,
             [view](G& g) { return view(g).Elevation(); },
             [view](G& g, int v) { view(g).SetElevation(v); }),
      Number("Perspective", -100, 200, {0, 15, 50, 100}, Always,
             [view](G& g) { return view(g).Perspective(); },
             [view](G& g, int v) { view(g).SetPerspective(v); }),
      Number("Zoom", -100, 1000, {1, 50, 100, 200, 100}, Always,
             [view](G& g) { return view(g).Zoom(); },
             [view](G& g, int v) { view(g).SetZoom(v); }),
  };
}

std::vector<GallerySetting> LegendAndMarkSettings() {
  auto legend = [](G& g) -> TChartLegend& { return g.Chart().Legend(); };
  auto marks = [](G& g) -> TSeriesMarks& { return g.AllSeries().front()->Marks(); };
  return {
      Toggle("Legend", Always, [legend](G& g) { return legend(g).Visible(); },
             [legend](G& g, int v) { legend(g).SetVisible(v != 0); }),
      Choice("Legend alignment", {"Left", "Right", "Top", "Bottom"}, Always,
             [legend](G& g) { return static_cast<int>(legend(g).Alignment()); },
             [legend](G& g, int v) { legend(g).SetAlignment(static_cast<TLegendAlignment>(v)); }),
      Choice("Legend style", {"Auto", "Series", "Values", "Last values"}, Always,
             [legend](G& g) { return static_cast<int>(legend(g).LegendStyle()); },
             [legend](G& g, int v) { legend(g).SetLegendStyle(static_cast<TLegendStyle>(v)); }),
      Toggle("Marks", Always, [marks](G& g) { return marks(g).Visible(); },
             [](G& g, int v) {
               for (TChartSeries* s : g.AllSeries())
                 s->Marks().SetVisible(v != 0);
             }),
      Choice("Marks style",
             {"Value", "Percent", "Label", "Label and percent", "Label and value", "Legend",
              "Percent of total", "Label and percent of total", "X value"},
             Always, [marks](G& g) { return static_cast<int>(marks(g).Style()); },
             [](G& g, int v) {
               for (TChartSeries* s : g.AllSeries())
                 s->Marks().SetStyle(static_cast<TSeriesMarksStyle>(v));
             }),
  };
}

std::vector<GallerySetting> LineSettings() {
  return {
      Toggle("Stairs", Has<TCustomSeries>, [](G& g) { return g.First<TCustomSeries>()->Stairs(); },
             [](G& g, int v) { g.ForEach<TCustomSeries>([v](auto& s) { s.SetStairs(v != 0); }); }),
      Toggle("Pointer", Has<TCustomSeries>,
             [](G& g) { return g.First<TCustomSeries>()->Pointer().Visible(); },
             [](G& g, int v) {
               g.ForEach<TCustomSeries>([v](auto& s) { s.Pointer().SetVisible(v != 0); });
             }),
      Choice("Pointer style",
             {"Rectangle", "Circle", "Triangle", "Down triangle", "Cross", "Diagonal cross",
              "Star", "Diamond", "Small dot"},
             Has<TCustomSeries>,
             [](G& g) { return static_cast<int>(g.First<TCustomSeries>()->Pointer().Style()); },
             [](G& g, int v) {
               g.ForEach<TCustomSeries>([v](auto& s) {
                 s.Pointer().SetStyle(static_cast<TSeriesPointerStyle>(v));
               });
             }),
      Choice("MultiArea", {"None", "Stacked", "Stacked 100%"}, Has<TAreaSeries>,
             [](G& g) { return static_cast<int>(g.First<TAreaSeries>()->MultiArea()); },
             [](G& g, int v) { g.First<TAreaSeries>()->SetMultiArea(static_cast<TMultiArea>(v)); }),
  };
}

std::vector<GallerySetting> BarSettings() {
  return {
      Choice("Bar style",
             {"Rectangle", "Pyramid", "Inverted pyramid", "Cylinder", "Ellipse", "Arrow",
              "Gradient"},
             Has<TCustomBarSeries>,
             [](G& g) { return static_cast<int>(g.First<TCustomBarSeries>()->BarStyle()); },
             [](G& g, int v) {
               g.ForEach<TCustomBarSeries>(
                   [v](auto& s) { s.SetBarStyle(static_cast<TBarStyle>(v)); });
             }),
      Choice("MultiBar", {"None", "Side", "Stacked", "Stacked 100%"}, Has<TCustomBarSeries>,
             [](G& g) { return static_cast<int>(g.First<TCustomBarSeries>()->MultiBar()); },
             [](G& g, int v) {
               g.First<TCustomBarSeries>()->SetMultiBar(static_cast<TMultiBar>(v));
             }),
  };
}

// A slice below 15 % of the whole (or of the sum, for a value) joins "other".
void SetOtherSlice(TPieSeries& p, int style) {
  double total = 0;
  for (int i = 0; i < p.PointCount(); ++i)
    total += std::abs(p.YValues().ValueAt(i));
  p.OtherSlice().SetStyle(static_cast<TPieOtherStyle>(style));
  p.OtherSlice().SetValue(style == poBelowValue ? total * 0.15 : 15);
}

std::vector<GallerySetting> PieSettings() {
  auto pie = [](G& g) { return g.First<TPieSeries>(); };
  return {
      Number("Explode biggest", -100, 200, {0, 20, 50, 0}, Has<TPieSeries>,
             [pie](G& g) { return pie(g)->ExplodeBiggest(); },
             [pie](G& g, int v) { pie(g)->SetExplodeBiggest(v); }),
      Choice("Other slice", {"None", "Below percent", "Below value"}, Has<TPieSeries>,
             [pie](G& g) { return static_cast<int>(pie(g)->OtherSlice().Style()); },
             [pie](G& g, int v) { SetOtherSlice(*pie(g), v); }),
      Toggle("Circled", Has<TPieSeries>, [pie](G& g) { return pie(g)->Circled(); },
             [pie](G& g, int v) { pie(g)->SetCircled(v != 0); }),
      Number("Rotation angle", -90, 720, {0, 90, 180, 359, 0}, Has<TPieSeries>,
             [pie](G& g) { return pie(g)->RotationAngle(); },
             [pie](G& g, int v) { pie(g)->SetRotationAngle(v); }),
  };
}

std::vector<GallerySetting> FunctionSettings() {
  return {
      Number("Period", -5, 100, {0, 2, 5, 0}, HasFunction,
             [](G& g) { return static_cast<int>(FunctionOf(g).Period()); },
             [](G& g, int v) {
               FunctionOf(g).SetPeriod(v);
               g.PlaceResultAxis();
             }),
      Choice("Period style", {"Number of points", "Range"}, HasFunction,
             [](G& g) { return static_cast<int>(FunctionOf(g).PeriodStyle()); },
             [](G& g, int v) {
               FunctionOf(g).SetPeriodStyle(static_cast<TFunctionPeriodStyle>(v));
               g.PlaceResultAxis();
             }),
      Choice("Period align", {"First", "Center", "Last"}, HasFunction,
             [](G& g) { return static_cast<int>(FunctionOf(g).PeriodAlign()); },
             [](G& g, int v) {
               FunctionOf(g).SetPeriodAlign(static_cast<TFunctionPeriodAlign>(v));
             }),
  };
}

std::vector<GallerySetting> AllSettings() {
  std::vector<GallerySetting> all;
  for (auto part : {ViewSettings, LegendAndMarkSettings, LineSettings, BarSettings, PieSettings,
                    FunctionSettings})
    for (GallerySetting& s : part())
      all.push_back(std::move(s));
  return all;
}

}  // namespace

const std::vector<GallerySetting>& GalleryChart::Settings() {
  static const std::vector<GallerySetting> settings = AllSettings();
  return settings;
}
