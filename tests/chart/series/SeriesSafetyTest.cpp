// Every series operation either completes or leaves the series exactly as it
// was: seeded random sequences, checked against a plain model after each step,
// mix copied points (whose colour and label lists stay short) with adds,
// removals, exchanges and calls with bad indexes that must be refused.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "chart/series/Series.h"
#include "toolkit/Errors.h"

namespace {

constexpr tk::TColor kSeriesColor = tk::clRed;

struct ModelPoint {
  double x, y;
  tk::TColor color;  // what PointColor answers
  std::string label;
  bool operator==(const ModelPoint&) const = default;
};

void PrintTo(const ModelPoint& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ", " << std::hex << p.color << std::dec << ", '" << p.label
      << "')";
}

using Model = std::vector<ModelPoint>;

Model Snapshot(const TChartSeries& s) {
  Model m;
  for (int i = 0; i < s.PointCount(); ++i)
    m.push_back({s.XValueAt(i), s.YValueAt(i), s.PointColor(i), s.PointLabel(i)});
  return m;
}

// Where an ascending list puts x: after the last value not above it, scanning
// from the end (the list need not be sorted after exchanges).
std::size_t AddedIndex(const Model& m, double x) {
  for (std::size_t i = m.size(); i-- > 0;)
    if (m[i].x <= x) return i + 1;
  return 0;
}

struct Rig {
  TChartSeries source, series;
  Model model;
  std::mt19937 rng;
  int events = 0;
  std::string last;  // the operation of the step, for failure messages
  explicit Rig(unsigned seed) : rng(seed) {
    series.SetSeriesColor(kSeriesColor);
    series.OnAfterAdd = [this](TChartSeries*, int) { ++events; };
    for (int i = 0; i < 5; ++i)
      source.AddPointXY(i, 10 + i, i % 2 ? "odd" : "", tk::clBlue);
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  // an index that is sometimes out of range, to be refused
  int AnyIndex() { return Pick(static_cast<int>(model.size()) + 3) - 1; }

  // one random operation, applied to the series and, when it succeeds, to the model
  void Step() {
    const int op = Pick(7);
    last = "op " + std::to_string(op);
    switch (op) {
      case 0:
      case 1: {
        const double x = Pick(4);
        const tk::TColor c = Pick(2) ? tk::clDefault : tk::clGreen;
        static const char* const kLabels[] = {"", "", "", "p", "q", "r"};
        const std::string label = kLabels[Pick(6)];
        const int before = events;
        const int at = series.AddPointXY(x, Pick(100), label, c);
        ASSERT_EQ(static_cast<std::size_t>(at), AddedIndex(model, x));
        ASSERT_EQ(events, before + 1);
        model.insert(model.begin() + at,
                     {x, series.YValueAt(at), c == tk::clDefault ? kSeriesColor : c, label});
        break;
      }
      case 2: {  // copies only the values: the colour and label lists stay short
        const int i = Pick(7) - 1;
        const int at = series.CopyPointFrom(source, i);
        model.insert(model.begin() + at,
                     {source.XValueAt(i), source.YValueAt(i), kSeriesColor, ""});
        break;
      }
      case 3: {
        const int i = Pick(7) - 1;
        series.SourcePointAdded(source, i);
        const std::size_t at = AddedIndex(model, source.XValueAt(i));
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(at),
                     {source.XValueAt(i), source.YValueAt(i), tk::clBlue, source.PointLabel(i)});
        break;
      }
      case 4: {
        const int i = AnyIndex();
        series.RemovePointAt(i);
        model.erase(model.begin() + i);
        break;
      }
      case 5: {
        const int i = AnyIndex(), j = AnyIndex();
        last.append(" ").append(std::to_string(i)).append(" ").append(std::to_string(j));
        series.ExchangePoints(i, j);
        std::swap(model[static_cast<std::size_t>(i)], model[static_cast<std::size_t>(j)]);
        break;
      }
      case 6: {
        const int i = AnyIndex();
        if (Pick(2)) {
          series.SetPointColor(i, tk::clYellow);
          model[static_cast<std::size_t>(i)].color = tk::clYellow;
        } else {
          series.SetPointLabel(i, "L");
          model[static_cast<std::size_t>(i)].label.assign(1, 'L');
        }
        break;
      }
    }
  }
};

}  // namespace

TEST(SeriesSafety, AddingAfterCopyingAPoint) {
  TChartSeries src, dst;
  src.AddPointXY(1, 1);
  dst.CopyPointFrom(src, 0);
  int events = 0;
  dst.OnAfterAdd = [&](TChartSeries*, int) { ++events; };
  EXPECT_EQ(dst.AddPointXY(2, 2, "two", tk::clGreen), 1);
  EXPECT_EQ(events, 1);
  ASSERT_EQ(dst.PointCount(), 2);
  EXPECT_EQ(dst.PointColor(1), tk::clGreen);
  EXPECT_EQ(dst.PointLabel(1), "two");
  EXPECT_EQ(dst.PointLabel(0), "");
  // and before the copied point: its entries move along with it
  EXPECT_EQ(dst.AddPointXY(0, 0, "zero"), 0);
  EXPECT_EQ(dst.PointLabel(0), "zero");
  EXPECT_EQ(dst.PointLabel(1), "");
  EXPECT_EQ(dst.PointLabel(2), "two");
}

TEST(SeriesSafety, RandomSequencesCompleteOrChangeNothing) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Rig r(seed);
    int refused = 0;
    for (int step = 0; step < 300; ++step) {
      const Model before = Snapshot(r.series);
      ASSERT_EQ(before, r.model) << "seed " << seed << " step " << step;
      bool threw = false;
      try {
        r.Step();
      } catch (const tk::EListError&) {
        threw = true;
        ++refused;
      }
      if (::testing::Test::HasFatalFailure()) FAIL() << "seed " << seed << " step " << step;
      if (threw) {
        ASSERT_EQ(Snapshot(r.series), before) << "seed " << seed << " step " << step;
      }
      ASSERT_EQ(Snapshot(r.series), r.model)
          << "seed " << seed << " step " << step << " " << r.last;
      if (r.model.size() > 60) {
        r.series.RemoveAllPoints();
        r.model.clear();
      }
    }
    EXPECT_GT(refused, 0) << "seed " << seed;  // the refusals were exercised
  }
}
