// The series data layer under a long signal: appending points in ascending
// time, finding the visible window among 10 million points, and what each
// point costs in resident memory.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>

#include "chart/series/Series.h"
#include "tests/support/StubChart.h"

namespace {

constexpr int kTenMillion = 10'000'000;

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// Two points per millisecond edge, as a Manchester signal at 1000 bits/s gives.
void FillSignal(TChartSeries& s, int points) {
  for (int i = 0; i < points; ++i)
    s.AddPointXY(i / 2, (i / 2) % 2 ? 1.0 : -1.0);
}

void BM_AddPointXYAscending(benchmark::State& state) {
  for (auto _ : state) {
    TChartSeries s;
    FillSignal(s, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(s.PointCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(state.iterations() * state.range(0)),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

// The same appends into a series whose lists already hold the memory (emptied
// by RemoveAllPoints between rounds): the cost of an append itself, without the
// page faults and reallocation copies of growing 2 x 80 MB from nothing, which
// on this virtual machine cost more than the appends and grow with its load.
void BM_AddPointXYAscendingWarm(benchmark::State& state) {
  TChartSeries s;
  FillSignal(s, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    s.RemoveAllPoints();
    FillSignal(s, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(s.PointCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(state.iterations() * state.range(0)),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void BM_FindVisibleRange(benchmark::State& state) {
  StubChart chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  FillSignal(s, kTenMillion);
  const double end = kTenMillion / 2.0;
  chart.bottom.SetRange(end - 1000, end - 1);  // the last second, as the scroll bar shows it
  for (auto _ : state) {
    if (state.range(0))
      s.FindVisibleRange();
    else
      s.FindVisibleRangeByScan();
    benchmark::DoNotOptimize(s.LastVisible);
  }
  state.SetLabel(state.range(0) ? "bisection" : "forward scan");
  s.SetParentChart(nullptr);
}

void BM_MemoryPerPoint(benchmark::State& state) {
  for (auto _ : state) {
    const long before = ResidentBytes();
    auto s = std::make_unique<TChartSeries>();
    FillSignal(*s, kTenMillion);
    const long after = ResidentBytes();
    state.counters["resident_bytes_per_point"] = static_cast<double>(after - before) / kTenMillion;
    state.counters["reserved_bytes_per_point"] =
        static_cast<double>(s->XValues().CapacityBytes() + s->YValues().CapacityBytes() +
                            s->PointAttributeBytes()) /
        kTenMillion;
  }
}

}  // namespace

BENCHMARK(BM_AddPointXYAscending)->Arg(kTenMillion)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddPointXYAscendingWarm)->Arg(kTenMillion)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindVisibleRange)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryPerPoint)->Iterations(1)->Unit(benchmark::kMillisecond);
