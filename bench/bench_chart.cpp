// Drawing through the real chart (PaintInto a QImage) and, in the same run,
// the same data drawn by QCustomPlot and Qt Charts when they are installed.
// Each scenario's label says what it draws; compare times of one run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/BenchData.h"
#include "chart/panel/Chart.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/FastLineSeries.h"
#include "toolkit/QtSurface.h"

// The data every library draws, made once.
const BenchData& BenchSignal() {
  static const BenchData d = SignalHour();
  return d;
}
const BenchData& BenchWalk() {
  static const BenchData d = RandomWalk(1'000'000);
  return d;
}
const BenchData& BenchNoise() {
  static const BenchData d = Noise(1'000'000);
  return d;
}

namespace {

const BenchData& Signal() {
  return BenchSignal();
}
const BenchData& Walk() {
  return BenchWalk();
}
const BenchData& NoiseData() {
  return BenchNoise();
}

struct OurChart {
  TChart chart;
  TFastLineSeries* line = new TFastLineSeries;
  QImage image;
  OurChart(int w, int h, int pen) : image(w, h, QImage::Format_RGB32) {
    chart.SetSize(w, h);
    chart.SetView3D(false);
    chart.Title().SetText({"Signal"});
    line->SetParentChart(&chart);
    line->SetSeriesColor(tk::clRed);
    line->LinePen().SetWidth(pen);
    // as the signal chart's series: a legend of a million values is not what the peers draw
    line->SetShowInLegend(false);
    // every frame drawn whole, as the peers draw theirs; the tick case turns the kept layer on
    chart.Canvas().SetLayeredDrawing(false);
  }
  void Fill(const BenchData& d) {
    for (std::size_t i = 0; i < d.x.size(); ++i)
      line->AddPointXY(d.x[i], d.y[i]);
  }
  void Paint() {
    chart.Canvas().MarkDirty();
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, image.width(), image.height()});
  }
};

// (a) the signal chart after an hour at 1000 bits/s, showing the last 999 ms
void BM_SignalChart_Ours(benchmark::State& state) {
  OurChart c(671, 209, 3);
  c.Fill(Signal());
  const double end = Signal().x.back();
  c.chart.BottomAxis().SetLimits(end - 999, end);
  c.chart.LeftAxis().SetLimits(-2, 2);
  for (auto _ : state)
    c.Paint();
  state.SetLabel("14.4 M points, 999 ms window, pen 3");
}

// (a') the same at 1000 bits/s as the window sets it up: a label every 1 ms bit,
// 998 rotated labels a paint
void BM_SignalChartLabels_Ours(benchmark::State& state) {
  OurChart c(671, 209, 3);
  if (state.range(0)) c.Fill(Signal());
  const double end = Signal().x.back();
  c.chart.BottomAxis().SetLimits(end - 999, end);
  c.chart.BottomAxis().SetIncrement(1);
  c.chart.BottomAxis().SetLabelsSeparation(0);
  c.chart.BottomAxis().SetLabelsOnAxis(false);
  c.chart.BottomAxis().SetRoundFirstLabel(false);
  c.chart.BottomAxis().SetLabelsAngle(45);
  c.chart.LeftAxis().SetLimits(-2, 2);
  for (auto _ : state)
    c.Paint();
  state.SetLabel(state.range(0) ? "as (a), 998 labels at 45 degrees"
                                : "the 998 labels alone, no points");
}

// (a'') one tick at 1000 bits/s: the chart as (a') after three new points in the fixed
// 0-999 ms window (/0 everything drawn, /1 the layer under the series kept, the series drawn
// anew), or past its right edge, as after the first second (/2: both layers kept)
void BM_SignalChartTick_Ours(benchmark::State& state) {
  OurChart c(671, 209, 3);
  c.chart.Canvas().SetLayeredDrawing(state.range(0) != 0);
  c.line->SetShowInLegend(false);  // as the window's signal: a legend of values would list every point
  TChartAxis& bottom = c.chart.BottomAxis();
  bottom.SetLimits(0, 999);
  bottom.SetIncrement(1);
  bottom.SetLabelsSeparation(0);
  bottom.SetLabelsOnAxis(false);
  bottom.SetRoundFirstLabel(false);
  bottom.SetLabelsAngle(45);
  c.chart.LeftAxis().SetLimits(-2, 2);
  double x = 0;
  auto refill = [&] {  // half a window of signal, as half a second after START
    c.line->RemoveAllPoints();
    for (x = 0; x < 500; x += 0.25)
      c.line->AddPointXY(x, static_cast<long>(x) % 2 ? 1 : -1);
    c.Paint();
  };
  refill();
  const bool pastEdge = state.range(0) == 2;  // the signal has run past the window's right edge
  if (pastEdge) {
    for (x = 500; x < 1010; x += 0.25)
      c.line->AddPointXY(x, static_cast<long>(x) % 2 ? 1 : -1);
    c.Paint();
  }
  for (auto _ : state) {
    for (int k = 0; k < 3; ++k, x += 0.25)
      c.line->AddPointXY(x, static_cast<long>(x) % 2 ? 1 : -1);
    c.Paint();
    if (x >= 999 && !pastEdge) {
      state.PauseTiming();
      refill();
      state.ResumeTiming();
    }
  }
  state.SetLabel(pastEdge          ? "3 new points past the right edge, layers kept"
                 : state.range(0) ? "3 new points, 998 labels, layer kept"
                                  : "3 new points, 998 labels, full repaint");
}

// (b) a million points, all visible, full HD
void BM_Dense_Ours(benchmark::State& state) {
  const bool walk = state.range(0) == 0;
  OurChart c(1920, 1080, static_cast<int>(state.range(1)));
  c.Fill(walk ? Walk() : NoiseData());
  for (auto _ : state)
    c.Paint();
  state.SetLabel(std::string(walk ? "random walk" : "noise") + ", pen " +
                 std::to_string(state.range(1)));
}

// (b') the same million points as a line series, flat and without markers:
// it goes through the same column walk as the fast line
void BM_DenseLineSeries_Ours(benchmark::State& state) {
  const bool walk = state.range(0) == 0;
  TChart chart;
  chart.SetSize(1920, 1080);
  chart.SetView3D(false);
  chart.Title().SetText({"Signal"});
  auto* line = new TLineSeries;
  line->SetParentChart(&chart);
  line->SetSeriesColor(tk::clRed);
  line->LinePen().SetWidth(static_cast<int>(state.range(1)));
  line->SetShowInLegend(false);
  chart.Canvas().SetLayeredDrawing(false);  // a whole frame each time, as for the fast line
  const BenchData& d = walk ? Walk() : NoiseData();
  for (std::size_t i = 0; i < d.x.size(); ++i)
    line->AddPointXY(d.x[i], d.y[i]);
  QImage image(1920, 1080, QImage::Format_RGB32);
  for (auto _ : state) {
    chart.Canvas().MarkDirty();
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, image.width(), image.height()});
  }
  state.SetLabel(std::string(walk ? "line series, random walk" : "line series, noise") +
                 ", pen " + std::to_string(state.range(1)));
}

// (c) streaming: three points and one repaint per tick over a long history
void BM_Streaming_Ours(benchmark::State& state) {
  const auto history = static_cast<std::size_t>(state.range(0));
  const bool scrolling = state.range(1) != 0;
  OurChart c(671, 209, 3);
  double x = 0;
  for (std::size_t i = 0; i < history; ++i, x += 0.25)
    c.line->AddPointXY(x, (i / 4) % 2 ? 1 : -1);
  c.chart.BottomAxis().SetLimits(scrolling ? x - 999 : 0, scrolling ? x : 999);
  c.chart.LeftAxis().SetLimits(-2, 2);
  c.Paint();
  for (auto _ : state) {
    for (int k = 0; k < 3; ++k, x += 0.25)
      c.line->AddPointXY(x, k % 2 ? 1 : -1);
    if (scrolling) c.chart.BottomAxis().SetLimits(x - 999, x);
    c.Paint();
  }
  state.SetLabel(std::string(scrolling ? "scrolling" : "fixed") + " window, history " +
                 std::to_string(history));
}

}  // namespace

BENCHMARK(BM_SignalChart_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignalChartLabels_Ours)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignalChartTick_Ours)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_Ours)->Apply(DenseCases);
BENCHMARK(BM_DenseLineSeries_Ours)->Apply(DenseCases);
BENCHMARK(BM_Streaming_Ours)->Apply([](auto* b) { StreamingCases(b); });

namespace {

// Keeps every result so that our times can be set against the peers' at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // single runs, or the medians when the runs are repeated
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && r.repetitions <= 1)
        times_[r.benchmark_name()] = r.GetAdjustedRealTime();
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        times_[r.run_name.str()] = r.GetAdjustedRealTime();
    }
  }
  void PrintRatios() const {
    std::printf(
        "\nratios ours / theirs (below 1: ours is faster); QCustomPlot is its default "
        "(antialiased lines), QCustomPlotFast its fastest equal-work configuration "
        "(antialiasing off, fast polylines), which the goals are held against; Qt Charts "
        "draws aliased by default\n");
    for (const auto& [name, ours] : times_) {
      const auto at = name.find("_Ours");
      if (at == std::string::npos) continue;
      for (const char* peer : {"_QCustomPlot", "_QCustomPlotFast", "_QtCharts"}) {
        std::string theirs = name;
        theirs.replace(at, 5, peer);
        const auto it = times_.find(theirs);
        if (it != times_.end())
          std::printf("  %-40s vs %-14s %8.3f\n", name.c_str(), peer + 1, ours / it->second);
      }
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

namespace {
// The same chart with nothing to draw: what the frame itself costs.
void BM_EmptyFrame_Ours(benchmark::State& state) {
  OurChart c(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 3);
  c.chart.BottomAxis().SetLimits(0, 999);
  c.chart.LeftAxis().SetLimits(-2, 2);
  for (auto _ : state)
    c.Paint();
  state.SetLabel("no points");
}
}  // namespace
BENCHMARK(BM_EmptyFrame_Ours)->Args({671, 209})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
