#include <gtest/gtest.h>

#include <random>

#include "chart/series/Series.h"
#include "tests/support/StubChart.h"

namespace {

struct Rig {
  StubChart chart;
  TChartSeries s;
  Rig() { s.SetParentChart(&chart); }
  ~Rig() { s.SetParentChart(nullptr); }
  std::pair<int, int> Range() {
    s.FindVisibleRange();
    return {s.FirstVisible, s.LastVisible};
  }
};

}  // namespace

TEST(VisibleRange, WindowOverTheSignal) {
  struct Case {
    double min, max;
    bool beyond;
    int first, last;
  };
  // points at x = 0, 62, ..., 1984 (index i at 62 i); the plot edges map to min and max
  const Case cases[] = {
      {50, 1049, true, 1, 17},   // x 62 .. x 1054, the point beyond the right edge kept
      {50, 1049, false, 1, 16},  // .. x 992
      {0, 999, false, 0, 16},      {62, 124, false, 1, 2},  // both edges on points
      {63, 123, false, 2, 1},       // no point inside: nothing to draw between
      {2000, 3000, false, -1, -1},  // every point left of the window
      {-500, -100, false, 0, -1},   // every point right of it
      {-100, 5000, false, 0, 32},
  };
  for (const Case& c : cases) {
    Rig r;
    for (int i = 0; i <= 32; ++i)
      r.s.AddPointXY(62.0 * i, i % 2);
    r.chart.bottom.SetRange(c.min, c.max);
    r.s.IncludePointBeyondEdge = c.beyond;
    EXPECT_EQ(r.Range(), std::make_pair(c.first, c.last)) << c.min << ".." << c.max;
  }
}

TEST(VisibleRange, UnorderedOrUnlimitedSeriesDrawEverything) {
  Rig r;
  for (int i = 0; i < 10; ++i)
    r.s.AddPointXY(5000 + i, 0);
  EXPECT_EQ(r.Range(), std::make_pair(0, -1));  // all right of the window: an empty range
  r.s.LimitToAxisWindow = false;
  EXPECT_EQ(r.Range(), std::make_pair(0, 9));
  r.s.LimitToAxisWindow = true;
  r.s.XValues().SetOrder(loNone);
  EXPECT_EQ(r.Range(), std::make_pair(0, 9));
  TChartSeries empty;
  empty.FindVisibleRange();
  EXPECT_EQ(empty.FirstVisible, -1);
}

TEST(VisibleRange, InvertedAxisTakesTheOtherEdges) {
  Rig r;
  for (int i = 0; i < 100; ++i)
    r.s.AddPointXY(i * 10, 0);
  r.chart.bottom.SetRange(100, 500);
  r.chart.bottom.inverted = true;  // the left edge now shows 500, the right one 100
  EXPECT_EQ(r.Range(), std::make_pair(10, 50));
}

// The bisection must find exactly what the plain forward scan finds, on data
// with ties, duplicates, out-of-order replacements and odd multipliers.
TEST(VisibleRange, BisectionAgreesWithTheForwardScan) {
  std::mt19937 rng(99);
  for (int trial = 0; trial < 300; ++trial) {
    Rig r;
    const int n = static_cast<int>(rng() % 200);
    for (int i = 0; i < n; ++i)
      r.s.AddPointXY(static_cast<double>(rng() % 60), 0);
    if (trial % 5 == 1 && n > 3)
      r.s.XValues().ReplaceValue(static_cast<int>(rng() % n), rng() % 60);
    if (trial % 7 == 2) r.s.XValues().SetMultiplier(trial % 2 ? -1.0 : 0.5);
    if (trial % 11 == 3 && n > 0) r.s.XValues().ReplaceValue(0, NAN);
    r.s.IncludePointBeyondEdge = trial % 2 == 0;
    for (int w = 0; w < 20; ++w) {
      const double a = static_cast<double>(rng() % 80) - 10,
                   b = a + static_cast<double>(rng() % 40);
      r.chart.bottom.SetRange(a, b);
      r.chart.bottom.inverted = w % 4 == 3;
      r.s.FindVisibleRange();
      const auto fast = std::make_pair(r.s.FirstVisible, r.s.LastVisible);
      r.s.FindVisibleRangeByScan();
      ASSERT_EQ(fast, std::make_pair(r.s.FirstVisible, r.s.LastVisible))
          << "trial " << trial << " window " << a << ".." << b;
    }
  }
}
