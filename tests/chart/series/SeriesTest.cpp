#include "chart/series/Series.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>

#include "chart/canvas/Palette.h"
#include "tests/support/StubChart.h"
#include "toolkit/Errors.h"

using tk::TColor;

namespace {

struct Point {
  double x, y;
  TColor color;
  std::string label;
  bool operator==(const Point&) const = default;
  bool operator<(const Point& o) const {
    return std::tie(x, y, color, label) < std::tie(o.x, o.y, o.color, o.label);
  }
};

void PrintTo(const Point& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ", " << std::hex << p.color << std::dec << ", '" << p.label
      << "')";
}

std::string Tagged(const char* prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

std::vector<Point> PointsOf(const TChartSeries& s) {
  std::vector<Point> out;
  for (int i = 0; i < s.PointCount(); ++i)
    out.push_back({s.XValueAt(i), s.YValueAt(i), s.PointColor(i), s.PointLabel(i)});
  return out;
}

// A series of another class, for the same-class rules.
class OtherSeries : public TChartSeries {};

}  // namespace

TEST(Series, Defaults) {
  TChartSeries s;
  EXPECT_TRUE(s.Active());
  EXPECT_EQ(s.SeriesColor(), tk::clDefault);
  EXPECT_FALSE(s.ColorEachPoint());
  EXPECT_EQ(s.PercentFormat(), "##0.## %");
  EXPECT_EQ(s.ValueFormat(), "#,##0.###");
  EXPECT_TRUE(s.ShowInLegend());
  EXPECT_EQ(s.HorizAxis(), aBottomAxis);
  EXPECT_EQ(s.VertAxis(), aLeftAxis);
  EXPECT_EQ(s.XValues().Name(), "X");
  EXPECT_EQ(s.XValues().Order(), loAscending);
  EXPECT_EQ(s.YValues().Name(), "Y");
  EXPECT_EQ(s.YValues().Order(), loNone);
  EXPECT_EQ(s.ValuesList().Count(), 2);
  EXPECT_EQ(s.FirstVisible, -1);
  EXPECT_EQ(s.LastVisible, -1);
  EXPECT_EQ(s.FixedZOrder(), -1);
  EXPECT_EQ(s.RecalcOptions(), kAllRecalcOptions);
  EXPECT_TRUE(s.LimitToAxisWindow);
  EXPECT_FALSE(s.IncludePointBeyondEdge);
  EXPECT_TRUE(s.SinglePointAllowed);
  EXPECT_EQ(s.SampleCount(), 26);
  EXPECT_TRUE(s.YIsMandatory());
}

TEST(Series, SignalPointsAppendInOrderAndTiesGoAfter) {
  TChartSeries s;
  const std::pair<double, double> signal[] = {{0, 1}, {62, 1}, {62, 0}, {124, 0}};
  int expected = 0;
  for (auto [x, y] : signal)
    EXPECT_EQ(s.AddPointXY(x, y), expected++);
  EXPECT_EQ(s.HighestX(), 124);
  EXPECT_EQ(s.LowestY(), 0);
  EXPECT_EQ(s.AddPointXY(62, 5), 3);
  EXPECT_EQ(s.YValueAt(3), 5);
  EXPECT_EQ(s.YValueAt(4), 0);
}

TEST(Series, AddingFiresEventsAndRepaintsWhenActive) {
  StubChart chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  std::vector<int> added;
  s.OnAfterAdd = [&](TChartSeries* sender, int index) {
    EXPECT_EQ(sender, &s);
    added.push_back(index);
  };
  chart.invalidations = 0;
  s.AddPointXY(5, 1);
  s.AddPointXY(3, 1);
  EXPECT_EQ(added, (std::vector<int>{0, 0}));
  EXPECT_EQ(chart.invalidations, 2);
  s.SetActive(false);
  chart.invalidations = 0;
  s.AddPointXY(9, 1);
  EXPECT_EQ(chart.invalidations, 0);
}

TEST(Series, BeforeAddCanVetoOrChangeThePoint) {
  TChartSeries s;
  s.AddPointXY(1, 1);
  s.OnBeforeAdd = [](TChartSeries*) { return false; };
  EXPECT_EQ(s.AddPointXY(2, 2, "no", tk::clRed), -1);
  EXPECT_EQ(s.PointCount(), 1);
  s.OnBeforeAdd = [](TChartSeries* sender) {
    sender->XValues().ValueToAdd = 0;  // moved in front
    sender->YValues().ValueToAdd *= 10;
    return true;
  };
  EXPECT_EQ(s.AddPointXY(2, 2), 0);
  EXPECT_EQ(s.YValueAt(0), 20);
}

TEST(Series, PointColours) {
  TChartSeries s;
  s.SetSeriesColor(tk::clNavy);
  for (int i = 0; i < 20; ++i)
    s.AddPointXY(i, i, "", i == 5 ? tk::clRed : tk::clDefault);
  EXPECT_EQ(s.PointColor(17), tk::clNavy);
  s.SetColorEachPoint(true);
  struct Case {
    int index;
    TColor color;
  };
  for (const Case& c : {Case{17, tk::clGreen},
                        {0, tk::clRed},
                        {3, tk::clBlue},
                        {5, tk::clRed},
                        {16, tk::clRed},
                        {25, tk::clNavy} /* beyond the colour list */}) {
    EXPECT_EQ(s.PointColor(c.index), c.color) << c.index;
  }
  EXPECT_EQ(s.PointColor(17), DefaultPaletteColor(17));
  s.SetColorEachPoint(false);  // own colours go back to the sentinel
  EXPECT_EQ(s.PointColor(5), tk::clNavy);
  s.SetPointColor(2, tk::clNone);
  EXPECT_TRUE(s.IsNullPoint(2));
  EXPECT_EQ(s.AddNullPointXY(30, 0, "gap"), 20);
  EXPECT_TRUE(s.IsNullPoint(20));
  EXPECT_EQ(s.PointLabel(20), "gap");
}

TEST(Series, DefaultColoursAndEmptyLabelsTakeNoMemory) {
  TChartSeries s;
  for (int i = 0; i < 10000; ++i)
    s.AddPointXY(i, i);
  EXPECT_EQ(s.PointAttributeBytes(), 0u);
  EXPECT_EQ(s.PointLabel(42), "");
  EXPECT_EQ(s.PointColor(42), tk::clDefault);
  s.SetPointLabel(7, "seven");
  EXPECT_GT(s.PointAttributeBytes(), 0u);
  EXPECT_EQ(s.PointLabel(7), "seven");
  s.RemoveAllPoints();
  EXPECT_EQ(s.PointAttributeBytes(), 0u);
  EXPECT_EQ(s.XValues().CapacityBytes(), 0u);  // storage released
}

TEST(Series, AddByMandatoryValueAndNullPoints) {
  TChartSeries s;
  EXPECT_EQ(s.AddPointValue(7, "a"), 0);
  EXPECT_EQ(s.AddPointValue(9), 1);
  EXPECT_EQ(s.XValueAt(1), 1);  // x is the point's index at the end
  EXPECT_EQ(s.YValueAt(1), 9);
  EXPECT_EQ(s.AddNullPoint("n"), 2);
  EXPECT_TRUE(s.IsNullPoint(2));
  EXPECT_EQ(s.YValueAt(2), 0);
}

TEST(Series, RemovePointsAndClear) {
  StubChart chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  for (int i = 0; i < 5; ++i)
    s.AddPointXY(i, i * 10, Tagged("p", i));
  s.RemovePointAt(1);
  EXPECT_EQ(PointsOf(s)[1], (Point{2, 20, tk::clDefault, "p2"}));
  int clears = 0;
  s.OnClearValues = [&](TChartSeries*) { ++clears; };
  chart.invalidations = 0;
  s.RemoveAllPoints();
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(chart.invalidations, 1);
  EXPECT_EQ(s.PointCount(), 0);
  // a chart being destroyed is not asked to repaint
  s.AddPointXY(1, 1);
  chart.destroying = true;
  chart.invalidations = 0;
  s.RemoveAllPoints();
  EXPECT_EQ(clears, 2);
  EXPECT_EQ(chart.invalidations, 0);
  chart.destroying = false;
  s.SetParentChart(nullptr);
}

TEST(Series, BadIndicesRaiseAndChangeNothing) {
  TChartSeries s;
  for (int i = 0; i < 3; ++i)
    s.AddPointXY(i, i, "L", tk::clRed);
  const auto before = PointsOf(s);
  const std::function<void()> calls[] = {
      [&] { s.XValueAt(3); },           [&] { s.YValueAt(-1); },
      [&] { s.RemovePointAt(3); },      [&] { s.ExchangePoints(0, 3); },
      [&] { s.ExchangePoints(-1, 1); }, [&] { s.SetPointColor(9, tk::clBlue); },
  };
  for (const auto& call : calls) {
    EXPECT_THROW(call(), tk::EListError);
    EXPECT_EQ(PointsOf(s), before);
  }
  EXPECT_EQ(s.PointColor(99), s.SeriesColor());  // never fails
  EXPECT_EQ(s.PointLabel(99), "");
}

TEST(Series, SortPointsKeepsPointsWhole) {
  std::mt19937 rng(17);
  for (TChartListOrder order : {loAscending, loDescending}) {
    TChartSeries s;
    s.XValues().SetOrder(loNone);
    std::vector<Point> reference;
    for (int i = 0; i < 500; ++i) {
      const Point p{static_cast<double>(rng() % 50), static_cast<double>(i),
                    i % 3 ? tk::clDefault : DefaultPaletteColor(i), i % 4 ? "" : Tagged("L", i)};
      s.AddPointXY(p.x, p.y, p.label, p.color);
      reference.push_back(p);
    }
    s.XValues().SetOrder(order);
    s.XValues().SortPoints();
    std::vector<Point> sorted = PointsOf(s);
    for (size_t i = 1; i < sorted.size(); ++i)
      ASSERT_TRUE(order == loAscending ? sorted[i - 1].x <= sorted[i].x
                                       : sorted[i - 1].x >= sorted[i].x);
    // the same points, each still with its own y, colour and label
    std::sort(sorted.begin(), sorted.end());
    std::sort(reference.begin(), reference.end());
    EXPECT_EQ(sorted, reference);
  }
  TChartSeries unordered;
  for (double x : {3.0, 1.0, 2.0})
    unordered.AddPointXY(x, 0);
  unordered.XValues().SetOrder(loNone);
  unordered.ValuesList()[0]->SortPoints();  // loNone: nothing happens
  EXPECT_EQ(unordered.XValueAt(0), 1);
}

TEST(Series, ValueListByNameLooksPastXAndY) {
  TChartSeries s;
  TChartValueList open(s, "Open");
  EXPECT_EQ(&s.ValueListByName("open"), &open);
  EXPECT_EQ(&s.ValueListByName("X"), &s.YValues());  // X and Y are not searched
  EXPECT_EQ(&s.ValueListByName("nothing"), &s.YValues());
  open.ValueToAdd = 4;
  s.AddPointXY(1, 1);
  s.InsertExtraValues(0);
  EXPECT_EQ(open.ValueAt(0), 4);
}

TEST(Series, JoiningChartsAndResolvingAxes) {
  StubChart a, b;
  TChartSeries s;
  EXPECT_EQ(s.GetHorizAxis(), nullptr);
  s.SetParentChart(&a);
  EXPECT_EQ(a.series, std::vector<TChartSeries*>{&s});
  EXPECT_EQ(s.GetHorizAxis(), a.GetBottomAxis());
  EXPECT_EQ(s.GetVertAxis(), a.GetLeftAxis());
  s.SetParentChart(&b);
  EXPECT_TRUE(a.series.empty());
  EXPECT_EQ(b.series, std::vector<TChartSeries*>{&s});
  s.SetHorizAxis(aTopAxis);
  s.SetVertAxis(aRightAxis);
  EXPECT_EQ(s.GetHorizAxis(), b.GetTopAxis());
  EXPECT_EQ(s.GetVertAxis(), b.GetRightAxis());
  StubAxis custom(true, 0, 10, 0, 1);
  s.SetHorizAxis(aCustomHorizAxis);
  EXPECT_EQ(s.GetHorizAxis(), b.GetBottomAxis());  // no custom axis yet
  s.SetCustomHorizAxis(&custom);
  EXPECT_EQ(s.GetHorizAxis(), &custom);
  EXPECT_TRUE(s.UsesAxis(&custom));
  EXPECT_FALSE(s.UsesAxis(b.GetBottomAxis()));
  s.SetHorizAxis(aBothHorizAxis);
  EXPECT_EQ(s.GetHorizAxis(), b.GetBottomAxis());
  EXPECT_TRUE(s.UsesAxis(b.GetBottomAxis()));
  EXPECT_TRUE(s.UsesAxis(b.GetTopAxis()));
  EXPECT_FALSE(s.UsesAxis(b.GetLeftAxis()) && s.VertAxis() != aLeftAxis);
}

TEST(Series, DestructionClearsThenLeavesTheChart) {
  StubChart chart;
  std::vector<std::string> log;
  {
    TChartSeries s;
    s.SetParentChart(&chart);
    s.AddPointXY(1, 1);
    s.OnClearValues = [&](TChartSeries* sender) {
      log.push_back("cleared, still in chart: " + std::to_string(sender->ParentChart() == &chart));
    };
  }
  EXPECT_EQ(log, std::vector<std::string>{"cleared, still in chart: 1"});
  EXPECT_TRUE(chart.series.empty());
  EXPECT_EQ(chart.leaves, 1);
}

TEST(Series, SumOfPriorSeriesStacksSameClassActiveSeries) {
  StubChart chart;
  TChartSeries a, b, c;
  OtherSeries other;
  for (TChartSeries* s : {&a, static_cast<TChartSeries*>(&other), &b, &c})
    s->SetParentChart(&chart);
  a.AddPointXY(0, 5);
  other.AddPointXY(0, 100);  // another class: never counted
  b.AddPointXY(0, -3);       // negative: not counted
  c.AddPointXY(0, 2);
  EXPECT_EQ(a.SumOfPriorSeries(0, false), 0);
  EXPECT_EQ(c.SumOfPriorSeries(0, false), 5);
  EXPECT_EQ(a.SumOfPriorSeries(0, true), 7);
  a.SetActive(false);
  EXPECT_EQ(c.SumOfPriorSeries(0, false), 0);
  TChartSeries alone;
  EXPECT_EQ(alone.SumOfPriorSeries(0, true), 0);
  for (TChartSeries* s : {&a, static_cast<TChartSeries*>(&other), &b, &c})
    s->SetParentChart(nullptr);
}

TEST(Series, DepthSlots) {
  StubChart chart;
  TChartSeries a, b, c;
  for (TChartSeries* s : {&a, &b, &c})
    s->SetParentChart(&chart);
  chart.view3D = true;
  chart.maxZOrder = -1;
  c.SetZOrder(5);
  for (TChartSeries* s : {&a, &b, &c})
    s->AssignZOrder();
  EXPECT_EQ(a.ZOrder(), 0);
  EXPECT_EQ(b.ZOrder(), 1);
  EXPECT_EQ(c.ZOrder(), 5);
  EXPECT_EQ(chart.maxZOrder, 5);
  EXPECT_FALSE(a.SharesZOrder());
  b.SetZOrder(0);
  EXPECT_TRUE(a.SharesZOrder());
  b.OwnDepthValues = true;
  EXPECT_FALSE(a.SharesZOrder());
  chart.view3D = false;
  a.AssignZOrder();
  EXPECT_EQ(a.ZOrder(), 0);
  a.Apply3DForGallery(true);
  EXPECT_TRUE(chart.view3D);
  EXPECT_FALSE(chart.clipPoints);
  for (TChartSeries* s : {&a, &b, &c})
    s->SetParentChart(nullptr);
}

TEST(Series, ClickFiresOneHandlerAndCancelsTheChartsMouseAction) {
  StubChart chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  std::string fired;
  EXPECT_FALSE(s.HandleClick(0, tk::mbLeft, 0, 1, 2));
  s.OnClick = [&](TChartSeries*, int i, tk::TMouseButton, tk::TShiftState, int x, int y) {
    fired += "click" + std::to_string(i + x + y);
  };
  s.OnDblClick = [&](TChartSeries*, int, tk::TMouseButton, tk::TShiftState, int, int) {
    fired += "dbl";
  };
  EXPECT_TRUE(s.HandleClick(3, tk::mbLeft, tk::ssLeft, 1, 2));
  EXPECT_TRUE(s.HandleClick(3, tk::mbLeft, tk::ssDouble, 1, 2));
  s.OnDblClick = nullptr;
  EXPECT_TRUE(s.HandleClick(0, tk::mbLeft, tk::ssDouble, 0, 0));  // falls back to the click
  EXPECT_EQ(fired, "click6dblclick0");
  EXPECT_EQ(chart.mouseCancels, 3);
  s.SetParentChart(nullptr);
}

// Random operations against a model that keeps whole points in a vector.
TEST(Series, RandomOperationsMatchASimpleModel) {
  std::mt19937 rng(2024);
  TChartSeries s;
  std::vector<Point> model;
  auto check = [&](int step) {
    ASSERT_EQ(PointsOf(s), model) << "step " << step;
    if (!model.empty()) {
      double lo = model[0].y, hi = model[0].y;
      for (const Point& p : model)
        lo = std::min(lo, p.y), hi = std::max(hi, p.y);
      ASSERT_EQ(s.LowestY(), lo);
      ASSERT_EQ(s.HighestY(), hi);
      ASSERT_EQ(s.LowestX(), model.front().x);
      ASSERT_EQ(s.HighestX(), model.back().x);
    }
  };
  for (int step = 0; step < 4000; ++step) {
    const unsigned op = rng() % 10;
    if (op < 6) {
      const Point p{static_cast<double>(rng() % 40), static_cast<double>(rng() % 1000) - 500,
                    rng() % 5 ? tk::clDefault : DefaultPaletteColor(static_cast<int>(rng())),
                    rng() % 3 ? "" : Tagged("L", step)};
      auto at = std::upper_bound(model.begin(), model.end(), p.x,
                                 [](double x, const Point& q) { return x < q.x; });
      const int expected = static_cast<int>(at - model.begin());
      model.insert(at, p);
      ASSERT_EQ(s.AddPointXY(p.x, p.y, p.label, p.color), expected);
    } else if (op < 8 && !model.empty()) {
      const int i = static_cast<int>(rng() % model.size());
      s.RemovePointAt(i);
      model.erase(model.begin() + i);
    } else if (op == 8 && !model.empty()) {
      // swap two points with equal x, which keeps the order valid
      const int i = static_cast<int>(rng() % model.size());
      const int j =
          i + 1 < static_cast<int>(model.size()) && model[i + 1].x == model[i].x ? i + 1 : i;
      s.ExchangePoints(i, j);
      std::swap(model[static_cast<size_t>(i)], model[static_cast<size_t>(j)]);
    } else if (op == 9 && rng() % 4 == 0) {
      // a few points out of order, appended as they come, then sorted back
      s.XValues().SetOrder(loNone);
      for (int k = 0; k < 3; ++k) {
        const Point p{static_cast<double>(rng() % 40), static_cast<double>(k), tk::clDefault, ""};
        s.AddPointXY(p.x, p.y);
        model.push_back(p);
      }
      s.XValues().SetOrder(loAscending);
      s.XValues().SortPoints();
      // the sort is not stable: the same points, in x order
      std::vector<Point> got = PointsOf(s);
      for (size_t i = 1; i < got.size(); ++i)
        ASSERT_LE(got[i - 1].x, got[i].x);
      std::vector<Point> a = got, b = model;
      std::sort(a.begin(), a.end());
      std::sort(b.begin(), b.end());
      ASSERT_EQ(a, b) << "step " << step;
      model = got;
    } else if (rng() % 15 == 0) {
      s.RemoveAllPoints();
      model.clear();
    }
    check(step);
  }
}
