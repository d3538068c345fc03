// A pie of 10 000 slices repainted into a QImage of a fixed size, by our chart
// and, when it is installed, by Qt Charts' QPieSeries on the same values and
// size. Both draw aliased (our surface never antialiases; the Qt Charts scene
// is rendered through a painter without the antialiasing hint), without
// legend, slice labels or title. QCustomPlot has no pie series to compare.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <random>
#include <vector>

#include "chart/panel/Chart.h"
#include "chart/series/PieSeries.h"
#include "toolkit/QtSurface.h"

#ifdef WAVELOT_BENCH_QTCHARTS
#include <QChart>
#include <QGraphicsScene>
#include <QPieSeries>
#include <QPieSlice>
#endif

namespace {

constexpr int kWidth = 800, kHeight = 600;

const std::vector<double>& Values(int count) {
  static std::vector<double> values;
  if (static_cast<int>(values.size()) != count) {
    std::mt19937 rng(16);
    std::uniform_int_distribution<int> value(1, 1000);
    values.clear();
    for (int i = 0; i < count; ++i) values.push_back(value(rng));
  }
  return values;
}

void BM_Pie_Ours(benchmark::State& state) {
  const bool view3D = state.range(1) != 0;
  TChart chart;
  chart.SetSize(kWidth, kHeight);
  // every frame drawn whole, as the peers draw theirs: with its layers kept the chart would
  // copy the unchanged picture instead
  chart.Canvas().SetLayeredDrawing(false);
  chart.SetView3D(view3D);
  chart.Title().SetVisible(false);
  chart.Legend().SetVisible(false);
  auto* pie = new TPieSeries;  // owned by the chart
  pie->Marks().SetVisible(false);
  pie->SetParentChart(&chart);
  for (double v : Values(static_cast<int>(state.range(0)))) pie->AddPointValue(v);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    chart.Canvas().MarkDirty();
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, kWidth, kHeight});
  }
  state.SetLabel(view3D ? "thick slices (3D)" : "flat");
}
BENCHMARK(BM_Pie_Ours)->Args({10'000, 0})->Args({10'000, 1})->Unit(benchmark::kMillisecond);

#ifdef WAVELOT_BENCH_QTCHARTS
void BM_Pie_QtCharts(benchmark::State& state) {
  QGraphicsScene scene;
  auto* chart = new QChart;  // owned by the scene
  chart->legend()->hide();
  auto* series = new QPieSeries;
  for (double v : Values(static_cast<int>(state.range(0)))) series->append(QString(), v);
  chart->addSeries(series);
  // black outlines as ours, set after the chart's theme has given every slice its own (white)
  for (QPieSlice* slice : series->slices())
    slice->setPen(QPen(Qt::black));
  scene.addItem(chart);
  chart->resize(kWidth, kHeight);
  // the slices are laid out by posted events: without them run, nothing is drawn
  QApplication::processEvents();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, kWidth, kHeight), QRectF(0, 0, kWidth, kHeight));
  }
  state.SetLabel("flat");
}
BENCHMARK(BM_Pie_QtCharts)->Arg(10'000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
