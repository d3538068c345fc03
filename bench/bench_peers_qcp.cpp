// The chart scenarios drawn by QCustomPlot into a QImage, for comparison in the same run.
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include "bench/BenchData.h"

const BenchData& BenchSignal();
const BenchData& BenchWalk();
const BenchData& BenchNoise();

namespace {

struct Peer {
  QCustomPlot plot;
  QCPGraph* graph;
  QImage image;
  Peer(int w, int h, int pen) : image(w, h, QImage::Format_RGB32) {
    plot.resize(w, h);
    plot.plotLayout()->insertRow(0);
    plot.plotLayout()->addElement(0, 0, new QCPTextElement(&plot, "Signal"));
    graph = plot.addGraph();
    graph->setPen(QPen(Qt::red, pen));
  }
  void Set(const BenchData& d) {
    graph->setData(QVector<double>(d.x.begin(), d.x.end()), QVector<double>(d.y.begin(), d.y.end()),
                   true);
  }
  void Paint() {
    image.fill(Qt::white);
    QCPPainter painter(&image);
    plot.toPainter(&painter, image.width(), image.height());
  }
};

void BM_SignalChart_QCustomPlot(benchmark::State& state) {
  Peer p(671, 209, 3);
  p.Set(BenchSignal());
  const double end = BenchSignal().x.back();
  p.plot.xAxis->setRange(end - 999, end);
  p.plot.yAxis->setRange(-2, 2);
  for (auto _ : state)
    p.Paint();
}

void BM_Dense_QCustomPlot(benchmark::State& state) {
  Peer p(1920, 1080, static_cast<int>(state.range(1)));
  p.Set(state.range(0) == 0 ? BenchWalk() : BenchNoise());
  p.graph->rescaleAxes();
  for (auto _ : state)
    p.Paint();
}

void BM_Streaming_QCustomPlot(benchmark::State& state) {
  const auto history = static_cast<std::size_t>(state.range(0));
  const bool scrolling = state.range(1) != 0;
  Peer p(671, 209, 3);
  QVector<double> xs(static_cast<qsizetype>(history)), ys(static_cast<qsizetype>(history));
  double x = 0;
  for (std::size_t i = 0; i < history; ++i, x += 0.25) {
    xs[static_cast<qsizetype>(i)] = x;
    ys[static_cast<qsizetype>(i)] = (i / 4) % 2 ? 1 : -1;
  }
  p.graph->setData(xs, ys, true);
  p.plot.xAxis->setRange(scrolling ? x - 999 : 0, scrolling ? x : 999);
  p.plot.yAxis->setRange(-2, 2);
  for (auto _ : state) {
    for (int k = 0; k < 3; ++k, x += 0.25)
      p.graph->addData(x, k % 2 ? 1 : -1);
    if (scrolling) p.plot.xAxis->setRange(x - 999, x);
    p.Paint();
  }
}

}  // namespace

BENCHMARK(BM_SignalChart_QCustomPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_QCustomPlot)->Apply(DenseCases);
BENCHMARK(BM_Streaming_QCustomPlot)->Apply([](auto* b) { StreamingCases(b); });
