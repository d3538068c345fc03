// A bar series of 100 000 points repainted into a 1920 x 1080 QImage by our
// chart and, in the same run, the same bars drawn by QCustomPlot (QCPBars)
// and Qt Charts (QBarSeries) when they are built in. Our chart draws aliased;
// each peer runs with antialiasing off and, where that differs, in its own
// default too. Marks are off on our side: neither peer labels its bars.
// Compare the medians of one run; nothing here is a test.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "bench/BenchData.h"
#include "chart/panel/Chart.h"
#include "chart/series/BarSeries.h"
#include "toolkit/QtSurface.h"

#ifdef WAVELOT_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif
#ifdef WAVELOT_HAVE_QTCHARTS
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QValueAxis>
#endif

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr std::size_t kBars = 100'000;

// positive heights, so every library draws the same bars up from 0
const BenchData& Bars() {
  static const BenchData d = [] {
    BenchData w = RandomWalk(kBars);
    double low = w.y[0];
    for (double v : w.y)
      low = std::min(low, v);
    for (double& v : w.y)
      v = v - low + 1;
    return w;
  }();
  return d;
}

void Repeat(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

// ---------------------------------------------------------------- ours

void BarsOurs(benchmark::State& state, bool view3D, TBarStyle style) {
  TChart chart;
  chart.SetSize(kWidth, kHeight);
  chart.SetView3D(view3D);
  // every frame drawn whole, as the peers draw theirs: with its layers kept the chart would
  // copy the unchanged picture instead
  chart.Canvas().SetLayeredDrawing(false);
  chart.Legend().SetVisible(false);
  auto* bars = new TBarSeries;  // owned by the chart
  bars->SetParentChart(&chart);
  bars->Marks().SetVisible(false);
  bars->SetBarStyle(style);
  for (double v : Bars().y)
    bars->AddPointValue(v);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    chart.Canvas().MarkDirty();
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, kWidth, kHeight});
  }
}

void BM_Bars_Ours(benchmark::State& s) {
  BarsOurs(s, false, bsRectangle);
}
void BM_Bars3D_Ours(benchmark::State& s) {
  BarsOurs(s, true, bsRectangle);
}
void BM_BarsGradient_Ours(benchmark::State& s) {
  BarsOurs(s, false, bsRectGradient);
}
BENCHMARK(BM_Bars_Ours)->Apply(Repeat);
BENCHMARK(BM_Bars3D_Ours)->Apply(Repeat);
BENCHMARK(BM_BarsGradient_Ours)->Apply(Repeat);

// ---------------------------------------------------------------- QCustomPlot

#ifdef WAVELOT_HAVE_QCUSTOMPLOT
void BarsQcp(benchmark::State& state, bool defaults) {
  QCustomPlot plot;
  plot.resize(kWidth, kHeight);
  auto* bars = new QCPBars(plot.xAxis, plot.yAxis);  // owned by the plot
  QVector<double> keys(static_cast<qsizetype>(kBars)), values(static_cast<qsizetype>(kBars));
  for (std::size_t i = 0; i < kBars; ++i) {
    keys[static_cast<qsizetype>(i)] = static_cast<double>(i);
    values[static_cast<qsizetype>(i)] = Bars().y[i];
  }
  bars->setData(keys, values, true);
  bars->setWidth(0.7);
  bars->setBrush(Qt::red);
  if (!defaults) {
    plot.setNotAntialiasedElements(QCP::aeAll);
    bars->setAntialiased(false);
    bars->setAntialiasedFill(false);
  }
  bars->rescaleAxes();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QCPPainter painter(&image);
    plot.toPainter(&painter, kWidth, kHeight);
  }
}
void BM_Bars_QCustomPlot(benchmark::State& s) {
  BarsQcp(s, true);
}
void BM_Bars_QCustomPlotAliased(benchmark::State& s) {
  BarsQcp(s, false);
}
BENCHMARK(BM_Bars_QCustomPlot)->Apply(Repeat);
BENCHMARK(BM_Bars_QCustomPlotAliased)->Apply(Repeat);
#endif

// ---------------------------------------------------------------- Qt Charts

#ifdef WAVELOT_HAVE_QTCHARTS
// A plain QPainter on a scene draws aliased, which is also Qt Charts' default here.
void BM_Bars_QtCharts(benchmark::State& state) {
  QGraphicsScene scene;
  auto* chart = new QChart;  // owned by the scene
  auto* set = new QBarSet("bars");
  for (double v : Bars().y)
    set->append(v);
  set->setColor(Qt::red);
  auto* series = new QBarSeries;
  series->append(set);
  series->setBarWidth(0.7);
  chart->addSeries(series);
  auto* x = new QValueAxis;
  auto* y = new QValueAxis;
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
  x->setRange(-0.5, static_cast<double>(kBars) - 0.5);
  y->setRange(0, *std::max_element(Bars().y.begin(), Bars().y.end()));
  chart->legend()->hide();
  scene.addItem(chart);
  chart->resize(kWidth, kHeight);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, kWidth, kHeight), QRectF(0, 0, kWidth, kHeight));
  }
}
BENCHMARK(BM_Bars_QtCharts)->Apply(Repeat);
#endif

}  // namespace
