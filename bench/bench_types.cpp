// Every series type repainted whole into a 1920 x 1080 QImage by our chart
// and, in the same run, by QCustomPlot and Qt Charts on the same data, size,
// pen and colours. Each peer runs in its default configuration and, where
// that differs, in its fastest equal-work one:
//   _QCustomPlot       its default: lines, fills and scatters antialiased (more work than ours)
//   _QCustomPlotFast   antialiasing off for every element, fast polylines: equal work
//   _QtCharts          its default on a plain QPainter, which draws aliased: equal work
//                      (its fast option, OpenGL series, needs a GL context that the
//                      headless platform does not give)
// Our surface never antialiases. The table printed at the end gives ours over
// each peer and over the fastest equal-work one. Nothing here is a test.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "bench/BenchData.h"
#include "bench/RatioTable.h"
#include "chart/panel/Chart.h"
#include "chart/series/BarSeries.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/PieSeries.h"
#include "toolkit/QtSurface.h"

#ifdef WAVELOT_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif
#ifdef WAVELOT_HAVE_QTCHARTS
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QValueAxis>
#endif

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kMarkerSize = 8;  // our default marker: 4 pixels each way from the point

// ---------------------------------------------------------------- the shared data

// a random walk lifted above 0, so every library's fill or bar runs up from 0
BenchData Lifted(std::size_t n) {
  BenchData w = RandomWalk(n);
  const double low = *std::min_element(w.y.begin(), w.y.end());
  for (double& v : w.y)
    v = v - low + 1;
  return w;
}

const BenchData& Walk1M() {
  static const BenchData d = RandomWalk(1'000'000);
  return d;
}
const BenchData& Area1M() {
  static const BenchData d = Lifted(1'000'000);
  return d;
}
const BenchData& Walk100k() {
  static const BenchData d = RandomWalk(100'000);
  return d;
}
const BenchData& Bars100k() {
  static const BenchData d = Lifted(100'000);
  return d;
}
const BenchData& Walk1k() {
  static const BenchData d = RandomWalk(1'000);
  return d;
}
const std::vector<double>& PieValues() {
  static const std::vector<double> v = [] {
    std::mt19937 rng(16);
    std::uniform_int_distribution<int> value(1, 1000);
    std::vector<double> out;
    for (int i = 0; i < 10'000; ++i)
      out.push_back(value(rng));
    return out;
  }();
  return v;
}

struct Range {
  double xMin, xMax, yMin, yMax;
};
Range RangeOf(const BenchData& d, bool fromZero) {
  const auto [lo, hi] = std::minmax_element(d.y.begin(), d.y.end());
  return {d.x.front(), d.x.back(), fromZero ? 0 : *lo, *hi};
}

void Repeat(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond);
}

// ---------------------------------------------------------------- ours

struct Ours {
  TChart chart;
  QImage image{kWidth, kHeight, QImage::Format_RGB32};
  Ours() {
    chart.SetSize(kWidth, kHeight);
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    chart.Canvas().SetLayeredDrawing(false);  // every frame whole, as the peers draw theirs
  }
  void Limits(const Range& r) {
    chart.BottomAxis().SetLimits(r.xMin, r.xMax);
    chart.LeftAxis().SetLimits(r.yMin, r.yMax);
  }
  void Run(benchmark::State& state) {
    for (auto _ : state) {
      chart.Canvas().MarkDirty();
      tk::TQtSurface surface(&image);
      chart.PaintInto(surface, {0, 0, kWidth, kHeight});
    }
  }
};

template <typename S>
S* Add(Ours& o, const BenchData& d) {
  auto* s = new S;  // owned by the chart
  s->SetParentChart(&o.chart);
  s->SetSeriesColor(tk::clRed);
  s->Marks().SetVisible(false);
  for (std::size_t i = 0; i < d.x.size(); ++i)
    s->AddPointXY(d.x[i], d.y[i]);
  return s;
}

void BM_Line1M_Ours(benchmark::State& state) {
  Ours o;
  Add<TLineSeries>(o, Walk1M())->LinePen().SetWidth(static_cast<int>(state.range(0)));
  o.Limits(RangeOf(Walk1M(), false));
  o.Run(state);
}

void BM_Area1M_Ours(benchmark::State& state) {
  Ours o;
  Add<TAreaSeries>(o, Area1M());
  o.Limits(RangeOf(Area1M(), true));
  o.Run(state);
}

void BM_Points100k_Ours(benchmark::State& state) {
  Ours o;
  Add<TPointSeries>(o, Walk100k())->Pointer().SetStyle(psCircle);
  o.Limits(RangeOf(Walk100k(), false));
  o.Run(state);
}

template <typename S>
void BarsOurs(benchmark::State& state) {
  Ours o;
  auto* s = new S;  // owned by the chart; its axes scale themselves, as the peers' are rescaled
  s->SetParentChart(&o.chart);
  s->SetSeriesColor(tk::clRed);
  s->Marks().SetVisible(false);
  for (double v : Bars100k().y)
    s->AddPointValue(v);
  o.Run(state);
}
void BM_Bar100k_Ours(benchmark::State& state) {
  BarsOurs<TBarSeries>(state);
}
void BM_HorizBar100k_Ours(benchmark::State& state) {
  BarsOurs<THorizBarSeries>(state);
}

void BM_Pie10k_Ours(benchmark::State& state) {
  Ours o;
  o.chart.Title().SetVisible(false);
  auto* pie = new TPieSeries;  // owned by the chart
  pie->Marks().SetVisible(false);
  pie->SetParentChart(&o.chart);
  pie->SetCircled(true);  // a round pie as the peer's, not an ellipse across the whole frame
  for (double v : PieValues())
    pie->AddPointValue(v);
  o.Run(state);
}

// 1 000 points, each with a mark showing its value, and the legend shown
void BM_LegendMarks1k_Ours(benchmark::State& state) {
  Ours o;
  o.chart.Legend().SetVisible(true);
  auto* s = Add<TLineSeries>(o, Walk1k());
  s->Marks().SetStyle(smsValue);
  s->Marks().SetVisible(true);
  o.Limits(RangeOf(Walk1k(), false));
  o.Run(state);
}

// Not a drawing: the cost of AddPointXY on a series in a chart, which asks the
// chart's window for a paint every time (the paint itself comes later, once).
void BM_AddPointXYInChart(benchmark::State& state) {
  const BenchData& d = Walk1M();
  for (auto _ : state) {
    Ours o;
    auto* s = new TLineSeries;  // owned by the chart
    s->SetParentChart(&o.chart);
    for (std::size_t i = 0; i < d.x.size(); ++i)
      s->AddPointXY(d.x[i], d.y[i]);
    benchmark::DoNotOptimize(s->PointCount());
  }
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(state.iterations() * d.x.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_AddPointXYInChart)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_Line1M_Ours)->Arg(1)->Arg(3)->Apply(Repeat);
BENCHMARK(BM_Area1M_Ours)->Apply(Repeat);
BENCHMARK(BM_Points100k_Ours)->Apply(Repeat);
BENCHMARK(BM_Bar100k_Ours)->Apply(Repeat);
BENCHMARK(BM_HorizBar100k_Ours)->Apply(Repeat);
BENCHMARK(BM_Pie10k_Ours)->Apply(Repeat);
BENCHMARK(BM_LegendMarks1k_Ours)->Apply(Repeat);

// ---------------------------------------------------------------- QCustomPlot

#ifdef WAVELOT_HAVE_QCUSTOMPLOT
struct Qcp {
  QCustomPlot plot;
  QImage image{kWidth, kHeight, QImage::Format_RGB32};
  bool fast;
  explicit Qcp(bool fastest) : fast(fastest) {
    plot.resize(kWidth, kHeight);
    if (fast) {
      plot.setNotAntialiasedElements(QCP::aeAll);
      plot.setPlottingHint(QCP::phFastPolylines, true);
    }
  }
  QCPGraph* Graph(const BenchData& d) {
    QCPGraph* g = plot.addGraph();
    g->setData(QVector<double>(d.x.begin(), d.x.end()), QVector<double>(d.y.begin(), d.y.end()),
               true);
    g->setPen(QPen(Qt::red, 1));
    if (fast) {
      g->setAntialiased(false);
      g->setAntialiasedFill(false);
      g->setAntialiasedScatters(false);
    }
    return g;
  }
  void Limits(const Range& r) {
    plot.xAxis->setRange(r.xMin, r.xMax);
    plot.yAxis->setRange(r.yMin, r.yMax);
  }
  void Run(benchmark::State& state) {
    for (auto _ : state) {
      image.fill(Qt::white);
      QCPPainter painter(&image);
      plot.toPainter(&painter, kWidth, kHeight);
    }
  }
};

void Line1MQcp(benchmark::State& state, bool fast) {
  Qcp p(fast);
  p.Graph(Walk1M())->setPen(QPen(Qt::red, static_cast<int>(state.range(0))));
  p.Limits(RangeOf(Walk1M(), false));
  p.Run(state);
}

void Area1MQcp(benchmark::State& state, bool fast) {
  Qcp p(fast);
  p.Graph(Area1M())->setBrush(QBrush(Qt::red));  // filled down to 0, the bottom of the axis
  p.Limits(RangeOf(Area1M(), true));
  p.Run(state);
}

void Points100kQcp(benchmark::State& state, bool fast) {
  Qcp p(fast);
  QCPGraph* g = p.Graph(Walk100k());
  g->setLineStyle(QCPGraph::lsNone);
  g->setScatterStyle(
      QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::black), QBrush(Qt::red), kMarkerSize));
  p.Limits(RangeOf(Walk100k(), false));
  p.Run(state);
}

void BarsQcp(benchmark::State& state, bool fast, bool horizontal) {
  Qcp p(fast);
  QCPAxis* keys = horizontal ? p.plot.yAxis : p.plot.xAxis;
  QCPAxis* values = horizontal ? p.plot.xAxis : p.plot.yAxis;
  auto* bars = new QCPBars(keys, values);  // owned by the plot
  const BenchData& d = Bars100k();
  bars->setData(QVector<double>(d.x.begin(), d.x.end()), QVector<double>(d.y.begin(), d.y.end()),
                true);
  bars->setWidth(0.7);
  bars->setPen(QPen(Qt::black));
  bars->setBrush(Qt::red);
  if (fast) {
    bars->setAntialiased(false);
    bars->setAntialiasedFill(false);
  }
  bars->rescaleAxes();
  p.Run(state);
}

void LegendMarks1kQcp(benchmark::State& state, bool fast) {
  Qcp p(fast);
  const BenchData& d = Walk1k();
  QCPGraph* g = p.Graph(d);
  g->setName("Series1");
  p.plot.legend->setVisible(true);
  for (std::size_t i = 0; i < d.x.size(); ++i) {
    auto* t = new QCPItemText(&p.plot);  // owned by the plot
    t->position->setCoords(d.x[i], d.y[i]);
    t->setPositionAlignment(Qt::AlignBottom | Qt::AlignHCenter);
    t->setText(QString::number(d.y[i], 'f', 3));
    t->setBrush(QBrush(QColor(0xFF, 0xFF, 0x80)));
    t->setPen(QPen(Qt::black));
    if (fast) t->setAntialiased(false);
  }
  p.Limits(RangeOf(d, false));
  p.Run(state);
}

#define WAVELOT_QCP(name, ...)                                \
  void BM_##name##_QCustomPlot(benchmark::State& state) {     \
    name##Qcp(state, false __VA_OPT__(, ) __VA_ARGS__);       \
  }                                                           \
  void BM_##name##_QCustomPlotFast(benchmark::State& state) { \
    name##Qcp(state, true __VA_OPT__(, ) __VA_ARGS__);        \
  }                                                           \
  BENCHMARK(BM_##name##_QCustomPlot)->Apply(Repeat);          \
  BENCHMARK(BM_##name##_QCustomPlotFast)->Apply(Repeat);
void BM_Line1M_QCustomPlot(benchmark::State& state) {
  Line1MQcp(state, false);
}
void BM_Line1M_QCustomPlotFast(benchmark::State& state) {
  Line1MQcp(state, true);
}
BENCHMARK(BM_Line1M_QCustomPlot)->Arg(1)->Arg(3)->Apply(Repeat);
BENCHMARK(BM_Line1M_QCustomPlotFast)->Arg(1)->Arg(3)->Apply(Repeat);
WAVELOT_QCP(Area1M)
WAVELOT_QCP(Points100k)
void Bar100kQcp(benchmark::State& state, bool fast) {
  BarsQcp(state, fast, false);
}
void HorizBar100kQcp(benchmark::State& state, bool fast) {
  BarsQcp(state, fast, true);
}
WAVELOT_QCP(Bar100k)
WAVELOT_QCP(HorizBar100k)
WAVELOT_QCP(LegendMarks1k)
// QCustomPlot has no pie series.
#endif

// ---------------------------------------------------------------- Qt Charts

#ifdef WAVELOT_HAVE_QTCHARTS
struct QtCharts {
  QGraphicsScene scene;
  QChart* chart = new QChart;  // owned by the scene
  QImage image{kWidth, kHeight, QImage::Format_RGB32};
  QtCharts() { chart->legend()->hide(); }
  // axes on both sides, attached to the series, with the given ranges
  void Axes(QAbstractSeries* s, const Range& r, bool swap = false) {
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    s->attachAxis(x);
    s->attachAxis(y);
    x->setRange(swap ? r.yMin : r.xMin, swap ? r.yMax : r.xMax);
    y->setRange(swap ? r.xMin : r.yMin, swap ? r.xMax : r.yMax);
  }
  void Run(benchmark::State& state) {
    scene.addItem(chart);
    chart->resize(kWidth, kHeight);
    // its items are laid out by posted events: let them run before the first frame
    QApplication::processEvents();
    for (auto _ : state) {
      image.fill(Qt::white);
      QPainter painter(&image);
      scene.render(&painter, QRectF(0, 0, kWidth, kHeight), QRectF(0, 0, kWidth, kHeight));
    }
  }
};

template <typename S>
S* Filled(const BenchData& d) {
  auto* s = new S;
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(d.x.size()));
  for (std::size_t i = 0; i < d.x.size(); ++i)
    points.append({d.x[i], d.y[i]});
  s->replace(points);
  return s;
}

void BM_Line1M_QtCharts(benchmark::State& state) {
  QtCharts p;
  auto* s = Filled<QLineSeries>(Walk1M());
  s->setPen(QPen(Qt::red, static_cast<int>(state.range(0))));
  p.chart->addSeries(s);
  p.Axes(s, RangeOf(Walk1M(), false));
  p.Run(state);
}

void BM_Area1M_QtCharts(benchmark::State& state) {
  QtCharts p;
  auto* area = new QAreaSeries(Filled<QLineSeries>(Area1M()));  // filled down to 0
  area->setPen(QPen(Qt::red, 1));
  area->setBrush(QBrush(Qt::red));
  p.chart->addSeries(area);
  p.Axes(area, RangeOf(Area1M(), true));
  p.Run(state);
}

void BM_Points100k_QtCharts(benchmark::State& state) {
  QtCharts p;
  auto* s = Filled<QScatterSeries>(Walk100k());
  s->setMarkerShape(QScatterSeries::MarkerShapeCircle);
  s->setMarkerSize(kMarkerSize);
  s->setColor(Qt::red);
  s->setBorderColor(Qt::black);
  p.chart->addSeries(s);
  p.Axes(s, RangeOf(Walk100k(), false));
  p.Run(state);
}

template <typename S>
void BarsQtCharts(benchmark::State& state, bool horizontal) {
  QtCharts p;
  auto* set = new QBarSet("bars");
  for (double v : Bars100k().y)
    set->append(v);
  set->setColor(Qt::red);
  set->setBorderColor(Qt::black);
  auto* series = new S;
  series->append(set);
  series->setBarWidth(0.7);
  p.chart->addSeries(series);
  const double top = *std::max_element(Bars100k().y.begin(), Bars100k().y.end());
  p.Axes(series, {-0.5, static_cast<double>(Bars100k().y.size()) - 0.5, 0, top}, horizontal);
  p.Run(state);
}
void BM_Bar100k_QtCharts(benchmark::State& state) {
  BarsQtCharts<QBarSeries>(state, false);
}
void BM_HorizBar100k_QtCharts(benchmark::State& state) {
  BarsQtCharts<QHorizontalBarSeries>(state, true);
}

void BM_Pie10k_QtCharts(benchmark::State& state) {
  QtCharts p;
  auto* series = new QPieSeries;
  for (double v : PieValues())
    series->append(QString(), v);
  series->setPieSize(1.0);  // as high as the plot, as ours
  p.chart->addSeries(series);
  // black outlines as ours, set after the chart's theme has given every slice its own
  for (QPieSlice* slice : series->slices())
    slice->setPen(QPen(Qt::black));
  p.Run(state);
}

void BM_LegendMarks1k_QtCharts(benchmark::State& state) {
  QtCharts p;
  p.chart->legend()->show();
  auto* s = Filled<QLineSeries>(Walk1k());
  s->setName("Series1");
  s->setPen(QPen(Qt::red, 1));
  s->setPointLabelsFormat("@yPoint");
  s->setPointLabelsVisible(true);
  p.chart->addSeries(s);
  p.Axes(s, RangeOf(Walk1k(), false));
  p.Run(state);
}

BENCHMARK(BM_Line1M_QtCharts)->Arg(1)->Arg(3)->Apply(Repeat);
BENCHMARK(BM_Area1M_QtCharts)->Apply(Repeat);
BENCHMARK(BM_Points100k_QtCharts)->Apply(Repeat);
BENCHMARK(BM_Bar100k_QtCharts)->Apply(Repeat);
BENCHMARK(BM_HorizBar100k_QtCharts)->Apply(Repeat);
BENCHMARK(BM_Pie10k_QtCharts)->Apply(Repeat);
BENCHMARK(BM_LegendMarks1k_QtCharts)->Apply(Repeat);
#endif

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter({{"_QCustomPlot", false}, {"_QCustomPlotFast", true}, {"_QtCharts", true}},
                         true);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf(
      "\nQCustomPlot is its default (antialiased lines, fills and scatters: more work than ours); "
      "QCustomPlotFast is antialiasing off with fast polylines; Qt Charts draws aliased by "
      "default. 'vs fastest' is ours over the faster equal-work peer.\n");
  reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
