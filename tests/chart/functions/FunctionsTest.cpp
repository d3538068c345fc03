#include "chart/functions/Functions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chart/ChartErrors.h"
#include "chart/panel/Chart.h"
#include "chart/panel/SeriesTypes.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/Series.h"
#include "tests/chart/functions/FunctionRig.h"
#include "toolkit/Format.h"

using namespace function_tests;

namespace {

// A series whose mandatory values are its x values, as a horizontal bar's.
class XMandatorySeries : public TChartSeries {
 public:
  XMandatorySeries() {
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
  }
  TChartValueList& MandatoryList() const override { return XValues(); }
};

// A series with a third value list named "Extra", filled from ValueToAdd.
class ThreeListSeries : public TChartSeries {
 public:
  ThreeListSeries() : extra_(std::make_unique<TChartValueList>(*this, "Extra")) {}
  void Add(double x, double y, double z) {
    extra_->ValueToAdd = z;
    AddPointXY(x, y);
  }

 protected:
  void AfterPointAdded(TChartSeries* sender, int index) override {
    InsertExtraValues(index);
    TChartSeries::AfterPointAdded(sender, index);
  }

 private:
  std::unique_ptr<TChartValueList> extra_;
};

}  // namespace

// ---------------------------------------------------------------- one source, by hand

struct OneSourceCase {
  const char* name;
  const char* function;
  double period;
  TFunctionPeriodStyle style;
  TFunctionPeriodAlign align;
  bool fastLineParent;
  std::vector<double> ys, xs;
  Pts expected;
};

TEST(Functions, OneSourceWorkedOutByHand) {
  const OneSourceCase cases[] = {
      {"average whole, single point",
       "Average",
       0,
       psNumPoints,
       paCenter,
       false,
       {2, 4, 9},
       {},
       {{1, 5}}},
      {"average whole, level line",
       "Average",
       0,
       psNumPoints,
       paCenter,
       true,
       {2, 4, 9},
       {},
       {{0, 5}, {2, 5}}},
      {"add pairs at first, trailing single dropped",
       "Add",
       2,
       psNumPoints,
       paFirst,
       false,
       {1, 2, 3, 4, 5},
       {},
       {{0, 3}, {2, 7}}},
      {"high triples centred",
       "High",
       3,
       psNumPoints,
       paCenter,
       false,
       {5, 1, 7, 2, 8, 3},
       {},
       {{1, 7}, {4, 8}}},
      {"low triples at last",
       "Low",
       3,
       psNumPoints,
       paLast,
       false,
       {5, 1, 7, 2, 8, 3},
       {},
       {{2, 1}, {5, 2}}},
      {"high of negatives is no 0",
       "High",
       3,
       psNumPoints,
       paFirst,
       false,
       {-5, -1, -7},
       {},
       {{0, -1}}},
      {"low of positives is no 0", "Low", 0, psNumPoints, paCenter, false, {5, 3, 7}, {}, {{1, 3}}},
      {"average pairs centred",
       "Average",
       2,
       psNumPoints,
       paCenter,
       false,
       {1, 2, 3, 4, 5},
       {},
       {{0.5, 1.5}, {2.5, 3.5}}},
      {"period 2.5 rounds to 2 (half to even)",
       "Add",
       2.5,
       psNumPoints,
       paFirst,
       false,
       {1, 2, 3, 4, 5},
       {},
       {{0, 3}, {2, 7}}},
      {"period 3.5 rounds to 4",
       "Add",
       3.5,
       psNumPoints,
       paFirst,
       false,
       {1, 2, 3, 4, 5, 6, 7, 8, 9},
       {},
       {{0, 10}, {4, 26}}},
      {"period below one half still groups single points",
       "Add",
       0.4,
       psNumPoints,
       paFirst,
       false,
       {1, 2, 3},
       {},
       {{0, 1}, {1, 2}, {2, 3}}},
      {"period longer than the source", "Add", 9, psNumPoints, paFirst, false, {1, 2, 3}, {}, {}},
      {"subtract over one source",
       "Subtract",
       0,
       psNumPoints,
       paCenter,
       false,
       {1, 2, 3},
       {},
       {{1, 0}}},
      {"divide over one source in groups",
       "Divide",
       2,
       psNumPoints,
       paFirst,
       false,
       {1, 2, 3, 4, 5},
       {},
       {{0, 0}, {2, 0}}},
      {"multiply level line over one source",
       "Multiply",
       0,
       psNumPoints,
       paCenter,
       true,
       {4, 5},
       {3, 8},
       {{3, 0}, {8, 0}}},
      {"empty source", "Add", 0, psNumPoints, paCenter, false, {}, {}, {}},
      {"empty source in groups", "Add", 2, psRange, paCenter, false, {}, {}, {}},
      // ranges [0,2) [2,4) [4,6) [6,8); the second holds no point
      {"add ranges at first, an empty one gives 0",
       "Add",
       2,
       psRange,
       paFirst,
       false,
       {1, 2, 4, 5},
       {0, 1, 5, 6},
       {{0, 3}, {2, 0}, {4, 4}, {6, 5}}},
      {"ranges at last end 0.001 of a period early",
       "Add",
       2,
       psRange,
       paLast,
       false,
       {1, 2, 4, 5},
       {0, 1, 5, 6},
       {{1.998, 3}, {3.998, 0}, {5.998, 4}, {7.998, 5}}},
      {"ranges centred",
       "Average",
       2,
       psRange,
       paCenter,
       false,
       {1, 2, 4, 6},
       {0, 1, 5, 5.5},
       {{0.999, 1.5}, {2.999, 0}, {4.999, 5}}},
      // 1e17 + 1 is 1e17 again: the range end would never move on
      {"a period lost in the size of x gives nothing, not a hang",
       "Add",
       1,
       psRange,
       paFirst,
       false,
       {1, 2},
       {1e17, 1e17},
       {}},
      {"ranges from the first x, not from 0",
       "High",
       10,
       psRange,
       paFirst,
       false,
       {3, 9, 4},
       {5, 14, 15},
       {{5, 9}, {15, 4}}},
  };
  for (const OneSourceCase& c : cases) {
    TChartSeries source;
    Fill(source, c.ys, c.xs);
    std::unique_ptr<TChartSeries> parent = c.fastLineParent
                                               ? std::unique_ptr<TChartSeries>(new TFastLineSeries)
                                               : std::make_unique<TChartSeries>();
    auto f = Make(c.function);
    f->SetPeriod(c.period);
    f->SetPeriodStyle(c.style);
    f->SetPeriodAlign(c.align);
    ExpectPoints(Compute(f, *parent, source), c.expected, c.name);
  }
}

// A source or parent with x as its mandatory list: the result goes on the
// source's value axis, and the whole-source point changes places to suit the
// parent. Source values 2, 4, 9 (average 5) spread over the other list 0..2
// (centre 1).
TEST(Functions, WholeSourceExchangesForMandatoryLists) {
  struct Case {
    bool sourceY, parentY, fastLine;
    Pts expected;
  } cases[] = {
      {true, true, false, {{1, 5}}},         {true, false, false, {{5, 1}}},
      {false, true, false, {{1, 5}}},        {false, false, false, {{5, 1}}},
      {false, true, true, {{5, 0}, {5, 2}}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TChartSeries> source =
        c.sourceY ? std::make_unique<TChartSeries>() : std::make_unique<XMandatorySeries>();
    for (int i = 0; i < 3; ++i) {
      const double v = std::vector<double>{2, 4, 9}[static_cast<std::size_t>(i)];
      c.sourceY ? source->AddPointXY(i, v) : source->AddPointXY(v, i);
    }
    std::unique_ptr<TChartSeries> parent;
    if (c.fastLine)
      parent = std::make_unique<TFastLineSeries>();
    else if (c.parentY)
      parent = std::make_unique<TChartSeries>();
    else
      parent = std::make_unique<XMandatorySeries>();
    auto f = Make("Average");
    Pts got = Compute(f, *parent, *source);
    std::sort(got.begin(), got.end(), [](Pt a, Pt b) { return a.y < b.y; });
    EXPECT_EQ(got, c.expected) << c.sourceY << c.parentY << c.fastLine;
  }
}

TEST(Functions, GroupsOfAnXMandatorySourceLieOnItsValueAxis) {
  XMandatorySeries source;  // values 1..4 in X, ordered by Y 0..3
  for (int i = 0; i < 4; ++i)
    source.AddPointXY(i + 1, i);
  TChartSeries parent;
  auto f = Make("Add");
  f->SetPeriod(2);
  f->SetPeriodAlign(paFirst);
  EXPECT_EQ(Compute(f, parent, source), (Pts{{3, 0}, {7, 2}}));
}

TEST(Functions, ValueSourceOfTheParentPicksTheList) {
  ThreeListSeries source;
  source.Add(0, 1, 100);
  source.Add(1, 2, 200);
  TChartSeries parent;
  auto f = Make("Add");
  EXPECT_EQ(Compute(f, parent, source), (Pts{{0.5, 3}}));
  parent.YValues().SetValueSource("extra");                // names match ignoring case
  EXPECT_EQ(&f->ValueListFor(source), &source.YValues());  // no parent: mandatory list
  TZozFunction* raw = f.get();
  parent.SetFunction(std::move(f));
  EXPECT_EQ(raw->ValueListFor(source).Name(), "Extra");
  f = parent.ReleaseFunction();
  EXPECT_EQ(Compute(f, parent, source), (Pts{{0.5, 300}}));
  parent.YValues().SetValueSource("NoSuchList");  // falls back to Y
  EXPECT_EQ(Compute(f, parent, source), (Pts{{0.5, 3}}));
}

// ---------------------------------------------------------------- ranges over dates

namespace {

double Day(int y, int m, int d) {
  return tk::EncodeDate(y, m, d);
}

}  // namespace

TEST(Functions, MonthlyRangesStepTheCalendar) {
  struct Case {
    const char* name;
    bool dateTime, exact;
    double period;
    TFunctionPeriodAlign align;
    Pts expected;
  };
  // points on 1 and 15 January, 20 March, 1 April, 3 May 2026; values 1..5
  const double jan1 = Day(2026, 1, 1), feb1 = Day(2026, 2, 1), mar1 = Day(2026, 3, 1),
               apr1 = Day(2026, 4, 1), may1 = Day(2026, 5, 1), jun1 = Day(2026, 6, 1);
  const Case cases[] = {
      {"months, at first",
       true,
       true,
       30,
       paFirst,
       {{jan1, 3}, {feb1, 0}, {mar1, 3}, {apr1, 4}, {may1, 5}}},
      {"months, at last",
       true,
       true,
       30,
       paLast,
       {{feb1 - 0.03, 3}, {mar1 - 0.03, 0}, {apr1 - 0.03, 3}, {may1 - 0.03, 4}, {jun1 - 0.03, 5}}},
      // 60 days is two calendar months: [1 Jan, 1 Mar) [1 Mar, 1 May) [1 May, 1 Jul)
      {"two months", true, true, 60, paFirst, {{jan1, 3}, {mar1, 7}, {may1, 5}}},
      // a year holds them all
      {"a year", true, true, 365, paFirst, {{jan1, 15}}},
      // 30 plain days from 1 January: [1 Jan, 31 Jan) [31 Jan, 2 Mar) [2 Mar, 1 Apr) ...
      {"no date axis: plain days",
       false,
       true,
       30,
       paFirst,
       {{jan1, 3}, {jan1 + 30, 0}, {jan1 + 60, 3}, {jan1 + 90, 4}, {jan1 + 120, 5}}},
      {"not exact: plain days",
       true,
       false,
       30,
       paFirst,
       {{jan1, 3}, {jan1 + 30, 0}, {jan1 + 60, 3}, {jan1 + 90, 4}, {jan1 + 120, 5}}},
      // [1 Jan, 1 Feb) [1 Feb, 4 Mar) [4 Mar, 4 Apr) [4 Apr, 5 May)
      {"31 days is no calendar step",
       true,
       true,
       31,
       paFirst,
       {{jan1, 3}, {jan1 + 31, 0}, {jan1 + 62, 7}, {jan1 + 93, 5}}},
  };
  for (const Case& c : cases) {
    TChart chart;
    chart.BottomAxis().SetExactDateTime(c.exact);
    auto* source = new TChartSeries;
    source->XValues().SetDateTime(c.dateTime);
    source->SetParentChart(&chart);
    Fill(*source, {1, 2, 3, 4, 5},
         {jan1, Day(2026, 1, 15), Day(2026, 3, 20), apr1, Day(2026, 5, 3)});
    auto* parent = new TChartSeries;
    parent->SetParentChart(&chart);
    auto f = Make("Add");
    f->SetPeriod(c.period);
    f->SetPeriodStyle(psRange);
    f->SetPeriodAlign(c.align);
    ExpectPoints(Compute(f, *parent, *source), c.expected, c.name);
  }
}

TEST(Functions, HalfMonthsKeepTheirPhase) {
  TChart chart;
  auto* s = new TChartSeries;
  s->XValues().SetDateTime(true);
  s->SetParentChart(&chart);
  s->AddPointXY(Day(2026, 1, 10), 1);
  const TSeriesAxis& axis = chart.BottomAxis();
  EXPECT_EQ(axis.IncrementValue(Day(2026, 1, 10), 15), Day(2026, 1, 25));
  EXPECT_EQ(axis.IncrementValue(Day(2026, 1, 25), 15), Day(2026, 2, 10));
  EXPECT_EQ(axis.IncrementValue(Day(2026, 2, 15), 15), Day(2026, 2, 28));  // no 30 February
  EXPECT_EQ(axis.IncrementValue(Day(2026, 12, 20), 15), Day(2027, 1, 5));
  EXPECT_EQ(axis.IncrementValue(Day(2026, 1, 31), 30), Day(2026, 2, 28));
  EXPECT_EQ(axis.IncrementValue(Day(2026, 11, 30), 182), Day(2027, 5, 30));
  EXPECT_EQ(axis.IncrementValue(Day(2024, 2, 29), 365), Day(2025, 2, 28));
  EXPECT_DOUBLE_EQ(axis.IncrementValue(Day(2026, 1, 10) + 0.25, 30), Day(2026, 2, 10) + 0.25);
  EXPECT_EQ(axis.IncrementValue(Day(2026, 1, 10), 7), Day(2026, 1, 17));
}

// ---------------------------------------------------------------- across sources, by hand

struct AcrossCase {
  const char* function;
  std::vector<std::vector<double>> sources;
  std::vector<double> expected;  // at each index of the first source
};

TEST(Functions, AcrossSourcesWorkedOutByHand) {
  const AcrossCase cases[] = {
      {"Subtract", {{10, 20}, {3, 5}}, {7, 15}},
      {"Subtract", {{10, 20}, {3, 5}, {1, 1}}, {6, 14}},
      {"Add", {{10, 20}, {3, 5}}, {13, 25}},
      {"Multiply", {{10, 20}, {3, 5}, {2, 0}}, {60, 0}},
      {"Divide", {{10, 20}, {0, 5}}, {10, 4}},
      {"Divide", {{12, 20}, {2, 0}, {3, 2}}, {2, 10}},
      {"High", {{10, 20}, {3, 50}}, {10, 50}},
      {"High", {{-5, -5}, {-7, -1}}, {-5, -1}},  // the first source sets even a negative
      {"Low", {{10, 20}, {3, 50}}, {3, 20}},
      {"Low", {{5, 5}, {7, 1}}, {5, 1}},
      {"Average", {{10, 20}, {3, 5}}, {6.5, 12.5}},
      // uneven lengths: only the sources that have the index take part
      {"Add", {{1, 2, 3}, {4}}, {5, 2, 3}},
      {"Average", {{1, 2, 3}, {4, 6}}, {2.5, 4, 3}},
      {"Subtract", {{1, 2, 3}, {4}}, {-3, 2, 3}},
      {"Multiply", {{1, 2, 3}, {4}, {2, 2}}, {8, 4, 3}},
  };
  for (const AcrossCase& c : cases) {
    std::vector<std::unique_ptr<TChartSeries>> owned;
    TFunctionSources sources;
    for (const auto& ys : c.sources) {
      owned.push_back(std::make_unique<TChartSeries>());
      Fill(*owned.back(), ys);
      sources.push_back(owned.back().get());
    }
    auto f = Make(c.function);
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(f->ComputeAcrossSources(sources, static_cast<int>(i)), c.expected[i])
          << c.function << " at " << i;
  }
}

// The first source without the index leaves the start at 0: later sources
// compete against it, and a many-series function starts from the next that has it.
TEST(Functions, AcrossSourcesWhenTheFirstLacksTheIndex) {
  TChartSeries a, b, c;
  Fill(a, {1});
  Fill(b, {-3, -4});
  Fill(c, {2, 10});
  const TFunctionSources abc{&a, &b, &c}, ab{&a, &b};
  EXPECT_EQ(Make("High")->ComputeAcrossSources(ab, 1), 0);
  EXPECT_EQ(Make("High")->ComputeAcrossSources(abc, 1), 10);
  EXPECT_EQ(Make("Low")->ComputeAcrossSources(ab, 1), -4);
  EXPECT_EQ(Make("Subtract")->ComputeAcrossSources(abc, 1), -14);
  EXPECT_EQ(Make("Divide")->ComputeAcrossSources(abc, 1), -0.4);
  EXPECT_EQ(Make("Average")->ComputeAcrossSources(abc, 5), 0);
  EXPECT_EQ(Make("Subtract")->ComputeAcrossSources(abc, 5), 0);
  EXPECT_EQ(Make("High")->ComputeAcrossSources({}, 0), 0);
}

// ---------------------------------------------------------------- properties

TEST(Functions, PeriodRejectsNegativesAndKeepsTheOldValue) {
  auto f = Make("Add");
  EXPECT_EQ(f->Period(), 0);
  EXPECT_EQ(f->PeriodStyle(), psNumPoints);
  EXPECT_EQ(f->PeriodAlign(), paCenter);
  EXPECT_FALSE(f->RecalcSuspended());
  EXPECT_TRUE(f->PeriodUsable());
  EXPECT_FALSE(f->MovingWindow());
  EXPECT_EQ(f->ParentSeries(), nullptr);
  f->SetPeriod(3);
  for (double bad : {-1.0, -1e-300, std::nan("")}) {
    try {
      f->SetPeriod(bad);
      ADD_FAILURE() << bad << " was taken";
    } catch (const ChartException& e) {
      EXPECT_STREQ(e.what(), "Function Period should be >= 0");
    }
    EXPECT_EQ(f->Period(), 3);
  }
}

TEST(Functions, AssignCopiesThePeriodSettings) {
  auto from = Make("High");
  from->SetPeriod(4);
  from->SetPeriodStyle(psRange);
  from->SetPeriodAlign(paLast);
  auto to = Make("Average");
  to->Assign(*from);
  EXPECT_EQ(to->Period(), 4);
  EXPECT_EQ(to->PeriodStyle(), psRange);
  EXPECT_EQ(to->PeriodAlign(), paLast);
}

namespace {

// A moving sum: one result per point over the last Period points.
class MovingSum : public TAddZozFunction {
 public:
  MovingSum() { SetMovingWindow(true); }
};

}  // namespace

TEST(Functions, MovingWindow) {
  struct Case {
    double period;
    std::vector<double> ys;
    Pts expected;
  } cases[] = {
      {3, {1, 2, 3, 4, 5}, {{2, 6}, {3, 9}, {4, 12}}},
      {1, {1, 2}, {{0, 1}, {1, 2}}},
      {5, {1, 2, 3, 4, 5}, {{4, 15}}},
      {6, {1, 2, 3, 4, 5}, {}},
      {0.3, {7, 8}, {{0, 7}, {1, 8}}},  // rounds to nothing: one point a window
  };
  for (const Case& c : cases) {
    TChartSeries source, parent;
    Fill(source, c.ys);
    auto f = std::make_unique<MovingSum>();
    f->SetPeriod(c.period);
    EXPECT_EQ(Compute(f, parent, source), c.expected) << c.period;
  }
}

TEST(Functions, RegisteredInOrderOnTheFunctionsPage) {
  std::vector<std::string> names;
  for (const TZozSeriesType& t : SeriesTypes())
    if (!t.FunctionClass.empty()) {
      names.push_back(t.Description);
      EXPECT_EQ(t.GalleryPage, "Functions");
      EXPECT_EQ(t.GallerySeriesCount, 2);
      EXPECT_TRUE(IsClassRegistered(t.FunctionClass));
      ASSERT_TRUE(t.CreateFunction);
      EXPECT_NE(t.CreateFunction(), nullptr);
    }
  EXPECT_EQ(names, (std::vector<std::string>{"Add", "Subtract", "Multiply", "Divide", "High", "Low",
                                             "Average"}));
  EXPECT_NE(
      dynamic_cast<TDivideZozFunction*>(CreateFunctionByClassName("TDivideZozFunction").get()),
      nullptr);
  EXPECT_EQ(CreateFunctionByClassName("TNoSuchFunction"), nullptr);
}

// ---------------------------------------------------------------- random sources

namespace {

bool ManySeries(const std::string& f) {
  return f == "Subtract" || f == "Multiply" || f == "Divide";
}

// What a function makes of one group of values, written out plainly.
double DirectValue(const std::string& f, const std::vector<double>& v) {
  if (ManySeries(f) || v.empty()) return 0;
  double sum = 0, high = v[0], low = v[0];
  for (double x : v) {
    sum += x;
    high = std::max(high, x);
    low = std::min(low, x);
  }
  if (f == "Add") return sum;
  if (f == "High") return high;
  if (f == "Low") return low;
  return sum / static_cast<double>(v.size());
}

double DirectX(TFunctionPeriodAlign align, double start, double end) {
  return align == paFirst ? start : align == paLast ? end : (start + end) / 2;
}

// The points a function should give over one source (x ascending), written
// from the rules without the engine's loop.
Pts DirectFill(const std::string& f, const std::vector<double>& xs, const std::vector<double>& ys,
               double period, TFunctionPeriodStyle style, TFunctionPeriodAlign align,
               bool singlePoint) {
  const std::size_t n = xs.size();
  if (n == 0) return {};
  Pts out;
  if (period == 0) {
    const double r = DirectValue(f, ys), lo = xs.front(), hi = xs.back();
    if (singlePoint) return {{lo + (hi - lo) / 2, r}};
    return {{lo, r}, {hi, r}};
  }
  if (style == psNumPoints) {
    const auto k = static_cast<std::size_t>(std::llround(period));  // periods here are whole
    for (std::size_t s = 0; s + k <= n; s += k)
      out.push_back(
          {DirectX(align, xs[s], xs[s + k - 1]),
           DirectValue(f, std::vector<double>(ys.begin() + long(s), ys.begin() + long(s + k)))});
    return out;
  }
  double start = xs[0];
  std::size_t next = 0;
  while (next < n) {
    const double end = start + period;
    std::vector<double> group;
    while (next < n && xs[next] < end)
      group.push_back(ys[next++]);
    out.push_back({DirectX(align, start, end - 0.001 * period), DirectValue(f, group)});
    start = end;
  }
  return out;
}

}  // namespace

TEST(Functions, RandomSourcesAgainstADirectComputation) {
  std::mt19937 rng(1717);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const TFunctionPeriodAlign aligns[] = {paFirst, paCenter, paLast};
  const double rangePeriods[] = {0.5, 1, 2.5, 3, 7};
  for (int round = 0; round < 40; ++round) {
    const int n = pick(0, 40);
    std::vector<double> xs, ys;
    double x = pick(-20, 20) * 0.5;
    for (int i = 0; i < n; ++i) {
      x += pick(0, 8) * 0.5;  // repeated x too
      xs.push_back(x);
      ys.push_back(pick(-50, 50));
    }
    TChartSeries source;
    Fill(source, ys, xs);
    for (const char* name : kFunctions) {
      for (bool fastLine : {false, true}) {
        std::unique_ptr<TChartSeries> parent =
            fastLine ? std::unique_ptr<TChartSeries>(new TFastLineSeries)
                     : std::make_unique<TChartSeries>();
        auto f = Make(name);
        ExpectPoints(Compute(f, *parent, source),
                     DirectFill(name, xs, ys, 0, psNumPoints, paCenter, !fastLine),
                     std::string(name) + " whole, round " + std::to_string(round));
      }
      for (TFunctionPeriodAlign align : aligns) {
        TChartSeries parent;
        auto f = Make(name);
        f->SetPeriodAlign(align);
        const double points = pick(1, 6);
        f->SetPeriod(points);
        const std::string what = std::string(name) + " align " + std::to_string(align) + " round " +
                                 std::to_string(round);
        ExpectPoints(Compute(f, parent, source),
                     DirectFill(name, xs, ys, points, psNumPoints, align, true),
                     what + " points " + std::to_string(points));
        const double span = rangePeriods[pick(0, 4)];
        f->SetPeriodStyle(psRange);
        f->SetPeriod(span);
        ExpectPoints(Compute(f, parent, source),
                     DirectFill(name, xs, ys, span, psRange, align, true),
                     what + " range " + std::to_string(span));
      }
    }
  }
}

TEST(Functions, RandomSourcesAcrossAgainstADirectComputation) {
  std::mt19937 rng(2024);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 200; ++round) {
    std::vector<std::unique_ptr<TChartSeries>> owned;
    std::vector<std::vector<double>> values;
    TFunctionSources sources;
    const int count = pick(1, 4);
    for (int k = 0; k < count; ++k) {
      values.emplace_back();
      for (int i = pick(0, 8); i > 0; --i)
        values.back().push_back(pick(-5, 5));  // zeros for Divide now and then
      owned.push_back(std::make_unique<TChartSeries>());
      Fill(*owned.back(), values.back());
      sources.push_back(owned.back().get());
    }
    for (const std::string name : kFunctions) {
      auto f = Make(name);
      for (int i = 0; i < 9; ++i) {
        // the values at i of the sources that have it, in source order
        std::vector<double> at;
        bool firstHasIt = !values[0].empty() && i < int(values[0].size());
        for (const auto& v : values)
          if (i < int(v.size())) at.push_back(v[static_cast<std::size_t>(i)]);
        double expected = 0;
        if (!at.empty()) {
          if (name == "Add" || name == "Average") {
            for (double v : at)
              expected += v;
            if (name == "Average") expected /= double(at.size());
          } else if (name == "High" || name == "Low") {
            expected = firstHasIt ? at[0] : 0;
            for (std::size_t k = firstHasIt ? 1 : 0; k < at.size(); ++k)
              if (name == "High" ? at[k] > expected : at[k] < expected) expected = at[k];
          } else {
            expected = at[0];
            for (std::size_t k = 1; k < at.size(); ++k) {
              if (name == "Subtract") expected -= at[k];
              if (name == "Multiply") expected *= at[k];
              if (name == "Divide" && at[k] != 0) expected /= at[k];
            }
          }
        }
        EXPECT_EQ(f->ComputeAcrossSources(sources, i), expected)
            << name << " at " << i << ", round " << round;
      }
    }
  }
}
