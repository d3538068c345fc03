// The chart scenarios drawn by Qt Charts into a QImage, for comparison in the same run.
#include <benchmark/benchmark.h>

#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include "bench/BenchData.h"

const BenchData& BenchWalk();
const BenchData& BenchNoise();

namespace {

struct Peer {
  QGraphicsScene scene;
  QChart* chart = new QChart;  // owned by the scene
  QLineSeries* series = new QLineSeries;
  QValueAxis* x = new QValueAxis;
  QValueAxis* y = new QValueAxis;
  QImage image;
  Peer(int w, int h, int pen) : image(w, h, QImage::Format_RGB32) {
    chart->setTitle("Signal");
    chart->legend()->hide();
    chart->addSeries(series);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    series->setPen(QPen(Qt::red, pen));
    scene.addItem(chart);
    chart->resize(w, h);
  }
  void Set(const BenchData& d) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(d.x.size()));
    double lo = d.y.front(), hi = d.y.front();
    for (std::size_t i = 0; i < d.x.size(); ++i) {
      points.append({d.x[i], d.y[i]});
      lo = std::min(lo, d.y[i]);
      hi = std::max(hi, d.y[i]);
    }
    series->replace(points);
    x->setRange(d.x.front(), d.x.back());
    y->setRange(lo, hi);
  }
  void Paint() {
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, image.width(), image.height()),
                 QRectF(0, 0, image.width(), image.height()));
  }
};

void BM_Dense_QtCharts(benchmark::State& state) {
  Peer p(1920, 1080, static_cast<int>(state.range(1)));
  p.Set(state.range(0) == 0 ? BenchWalk() : BenchNoise());
  for (auto _ : state)
    p.Paint();
}

void BM_Streaming_QtCharts(benchmark::State& state) {
  const auto history = static_cast<std::size_t>(state.range(0));
  const bool scrolling = state.range(1) != 0;
  Peer p(671, 209, 3);
  QList<QPointF> points;
  double x = 0;
  for (std::size_t i = 0; i < history; ++i, x += 0.25)
    points.append({x, (i / 4) % 2 ? 1.0 : -1.0});
  p.series->replace(points);
  p.x->setRange(scrolling ? x - 999 : 0, scrolling ? x : 999);
  p.y->setRange(-2, 2);
  for (auto _ : state) {
    for (int k = 0; k < 3; ++k, x += 0.25)
      p.series->append(x, k % 2 ? 1 : -1);
    if (scrolling) p.x->setRange(x - 999, x);
    p.Paint();
  }
}

}  // namespace

BENCHMARK(BM_Dense_QtCharts)->Apply(DenseCases);
// a million-point history already takes seconds a frame here; ten million is left out
BENCHMARK(BM_Streaming_QtCharts)->Apply([](auto* b) { StreamingCases(b, 100'000); });
