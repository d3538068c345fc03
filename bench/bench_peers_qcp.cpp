// The chart scenarios drawn by QCustomPlot into a QImage, for comparison in the
// same run, in two configurations: _QCustomPlot is its default (lines drawn
// antialiased, which is more work than ours: our chart and Qt Charts draw them
// aliased), _QCustomPlotFast its fastest equal-work one (antialiasing off for
// every element, its fast-polyline plotting hint on). Goals are held against
// the fast one.
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
  Peer(int w, int h, int pen, bool fast = false) : image(w, h, QImage::Format_RGB32) {
    plot.resize(w, h);
    plot.plotLayout()->insertRow(0);
    plot.plotLayout()->addElement(0, 0, new QCPTextElement(&plot, "Signal"));
    graph = plot.addGraph();
    graph->setPen(QPen(Qt::red, pen));
    if (fast) {
      plot.setNotAntialiasedElements(QCP::aeAll);
      plot.setPlottingHint(QCP::phFastPolylines, true);
      graph->setAntialiased(false);
    }
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

void SignalChart(benchmark::State& state, bool fast) {
  Peer p(671, 209, 3, fast);
  p.Set(BenchSignal());
  const double end = BenchSignal().x.back();
  p.plot.xAxis->setRange(end - 999, end);
  p.plot.yAxis->setRange(-2, 2);
  for (auto _ : state)
    p.Paint();
}

void Dense(benchmark::State& state, bool fast) {
  Peer p(1920, 1080, static_cast<int>(state.range(1)), fast);
  p.Set(state.range(0) == 0 ? BenchWalk() : BenchNoise());
  p.graph->rescaleAxes();
  for (auto _ : state)
    p.Paint();
}

void Streaming(benchmark::State& state, bool fast) {
  const auto history = static_cast<std::size_t>(state.range(0));
  const bool scrolling = state.range(1) != 0;
  Peer p(671, 209, 3, fast);
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

#define WAVELOT_BOTH_CONFIGURATIONS(scenario)                     \
  void BM_##scenario##_QCustomPlot(benchmark::State& state) {     \
    scenario(state, false);                                       \
  }                                                               \
  void BM_##scenario##_QCustomPlotFast(benchmark::State& state) { \
    scenario(state, true);                                        \
  }
WAVELOT_BOTH_CONFIGURATIONS(SignalChart)
WAVELOT_BOTH_CONFIGURATIONS(Dense)
WAVELOT_BOTH_CONFIGURATIONS(Streaming)

}  // namespace

BENCHMARK(BM_SignalChart_QCustomPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignalChart_QCustomPlotFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_QCustomPlot)->Apply(DenseCases);
BENCHMARK(BM_Dense_QCustomPlotFast)->Apply(DenseCases);
BENCHMARK(BM_Streaming_QCustomPlot)->Apply([](auto* b) { StreamingCases(b); });
BENCHMARK(BM_Streaming_QCustomPlotFast)->Apply([](auto* b) { StreamingCases(b); });
