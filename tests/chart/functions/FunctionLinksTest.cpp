#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chart/functions/Functions.h"
#include "chart/panel/Chart.h"
#include "chart/series/Series.h"
#include "tests/chart/functions/FunctionRig.h"

using namespace function_tests;

// ---------------------------------------------------------------- following the sources

namespace {

// A series of a chart that frees it, fed by `source` through `function`.
TChartSeries* FunctionSeries(TChart& chart, std::unique_ptr<TZozFunction> function,
                             TChartSeries* source) {
  auto* s = new TChartSeries;
  s->SetParentChart(&chart);
  s->SetFunction(std::move(function));
  if (source) s->SetDataSource(source);
  return s;
}

TChartSeries* SourceSeries(TChart& chart, const std::vector<double>& ys,
                           const std::vector<double>& xs = {}) {
  auto* s = new TChartSeries;
  s->SetParentChart(&chart);
  Fill(*s, ys, xs);
  return s;
}

std::unique_ptr<TZozFunction> Make(const std::string& name, double period,
                                   TFunctionPeriodAlign align = paCenter) {
  auto f = function_tests::Make(name);
  f->SetPeriod(period);
  f->SetPeriodAlign(align);
  return f;
}

}  // namespace

// source -> pairs summed at their first x -> the highest of those, at the centre
TEST(Functions, AChainFollowsRefreshModificationAndPeriodChanges) {
  TChart chart;
  TChartSeries* src = SourceSeries(chart, {1, 2, 3, 4, 5});
  TChartSeries* sums = FunctionSeries(chart, Make("Add", 2, paFirst), src);
  TChartSeries* high = FunctionSeries(chart, Make("High", 0), sums);
  EXPECT_EQ(PointsOf(*sums), (Pts{{0, 3}, {2, 7}}));
  EXPECT_EQ(PointsOf(*high), (Pts{{1, 7}}));

  src->AddPointXY(5, 6);  // single points are no reason to recompute
  EXPECT_EQ(PointsOf(*sums), (Pts{{0, 3}, {2, 7}}));
  src->RemovePointAt(0);
  EXPECT_EQ(PointsOf(*sums), (Pts{{0, 3}, {2, 7}}));
  src->RefreshDependents();  // x 1..5, y 2..6
  EXPECT_EQ(PointsOf(*sums), (Pts{{1, 5}, {3, 9}}));
  EXPECT_EQ(PointsOf(*high), (Pts{{2, 9}}));

  src->YValues().ReplaceValue(0, 20);  // a modified value recomputes the chain
  EXPECT_EQ(PointsOf(*sums), (Pts{{1, 23}, {3, 9}}));
  EXPECT_EQ(PointsOf(*high), (Pts{{2, 23}}));

  sums->Function()->SetPeriod(3);  // 20 3 4 | 5 6
  EXPECT_EQ(PointsOf(*sums), (Pts{{1, 27}}));
  EXPECT_EQ(PointsOf(*high), (Pts{{1, 27}}));
  sums->Function()->SetPeriodStyle(psRange);  // [1,4) [4,7)
  EXPECT_EQ(PointsOf(*sums), (Pts{{1, 27}, {4, 11}}));
  sums->Function()->SetPeriodAlign(paLast);
  EXPECT_EQ(PointsOf(*sums), (Pts{{3.997, 27}, {6.997, 11}}));

  sums->Function()->SetRecalcSuspended(true);
  sums->Function()->SetPeriod(6);
  EXPECT_EQ(PointsOf(*sums), (Pts{{3.997, 27}, {6.997, 11}}));
  sums->Function()->Recompute();  // still suspended
  EXPECT_EQ(sums->PointCount(), 2);
  sums->Function()->SetRecalcSuspended(false);
  sums->Function()->Recompute();
  EXPECT_EQ(PointsOf(*sums), (Pts{{6.994, 38}}));

  src->RemoveAllPoints();  // clearing runs down the chain
  EXPECT_EQ(sums->PointCount(), 0);
  EXPECT_EQ(high->PointCount(), 0);
}

TEST(Functions, ManySourcesCombinePointByPoint) {
  struct Case {
    const char* function;
    std::vector<double> a, b;
    Pts expected;  // at A's x 5, 6
  } cases[] = {
      {"Subtract", {10, 20}, {3, 5}, {{5, 7}, {6, 15}}},
      {"Divide", {10, 20}, {0, 5}, {{5, 10}, {6, 4}}},
      {"Multiply", {10, 20}, {3}, {{5, 30}, {6, 20}}},
      {"Add", {10, 20}, {3, 5, 7}, {{5, 13}, {6, 25}}},
      {"High", {10, 20}, {3, 50}, {{5, 10}, {6, 50}}},
      {"Average", {10, 20}, {3, 5}, {{5, 6.5}, {6, 12.5}}},
  };
  for (const Case& c : cases) {
    TChart chart;
    TChartSeries* a = SourceSeries(chart, c.a, {5, 6});
    a->SetPointLabel(0, "first");
    TChartSeries* b = SourceSeries(chart, c.b);
    auto* parent = new TChartSeries;
    parent->SetParentChart(&chart);
    parent->SetFunction(Make(c.function));
    parent->SetLoading(true);  // a stored form is how a series gets several sources
    parent->SetDataSource(a);
    parent->SetDataSource(b);
    parent->Loaded();
    ASSERT_EQ(parent->DataSources().size(), 2u);
    EXPECT_EQ(PointsOf(*parent), c.expected) << c.function;
    EXPECT_EQ(parent->PointLabel(0), "first") << c.function;
    // the whole refill follows the first source
    a->YValues().ReplaceValue(1, 40);
    EXPECT_EQ(parent->PointCount(), 2) << c.function;
  }
}

TEST(Functions, AttachingMovesTheFunctionBetweenSeries) {
  TChart chart;
  TChartSeries* src = SourceSeries(chart, {2, 4, 9});
  TChartSeries* one = FunctionSeries(chart, Make("Average"), src);
  TChartSeries* two = FunctionSeries(chart, Make("Add"), src);
  TZozFunction* average = one->Function();
  EXPECT_EQ(average->ParentSeries(), one);
  EXPECT_EQ(PointsOf(*one), (Pts{{1, 5}}));
  EXPECT_EQ(PointsOf(*two), (Pts{{1, 15}}));

  average->AttachToSeries(one);  // already its parent: nothing
  EXPECT_EQ(one->Function(), average);
  average->AttachToSeries(nullptr);  // ignored: it stays with its series
  EXPECT_EQ(one->Function(), average);

  average->AttachToSeries(two);  // two frees its Add and averages instead
  EXPECT_EQ(one->Function(), nullptr);
  EXPECT_EQ(two->Function(), average);
  EXPECT_EQ(average->ParentSeries(), two);
  EXPECT_EQ(PointsOf(*two), (Pts{{1, 5}}));

  auto* high = new THighZozFunction;  // nobody's yet
  high->SetParentComponent(one);
  EXPECT_EQ(one->Function(), high);
  EXPECT_EQ(PointsOf(*one), (Pts{{1, 9}}));
}

TEST(Functions, RandomSourcesThroughTheParentsDataSources) {
  std::mt19937 rng(99);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 30; ++round) {
    TChart chart;
    std::vector<TChartSeries*> sources;
    const int count = pick(2, 4);
    for (int k = 0; k < count; ++k) {
      std::vector<double> ys, xs;
      for (int i = pick(0, 8); i > 0; --i) {
        ys.push_back(pick(-5, 5));
        xs.push_back(static_cast<double>(xs.size()) * 2);
      }
      sources.push_back(SourceSeries(chart, ys, xs));
    }
    const TFunctionSources all(sources.begin(), sources.end());
    for (const char* name : kFunctions) {
      auto* parent = new TChartSeries;
      parent->SetParentChart(&chart);
      parent->SetFunction(Make(name));
      parent->SetLoading(true);
      for (TChartSeries* s : sources)
        parent->SetDataSource(s);
      parent->Loaded();
      // worked out by the function's own rule at each index, checked above
      const auto reference = Make(name);
      Pts expected;
      for (int i = 0; i < sources[0]->PointCount(); ++i)
        expected.push_back({2.0 * i, reference->ComputeAcrossSources(all, i)});
      EXPECT_EQ(PointsOf(*parent), expected) << name << ", round " << round;
    }
  }
}
