#include "chart/series/ValueList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "chart/series/Series.h"
#include "tests/support/StubChart.h"
#include "toolkit/Errors.h"

namespace {

std::vector<double> Stored(const TChartValueList& list) {
  return list.Values();
}

// Reference position of a new value: after every value it may follow.
int ReferenceIndex(const std::vector<double>& v, double x, TChartListOrder order) {
  if (order == loNone || v.empty()) return static_cast<int>(v.size());
  auto fits = [&](double e) { return order == loAscending ? e <= x : e >= x; };
  if (fits(v.back())) return static_cast<int>(v.size());
  for (int i = static_cast<int>(v.size()) - 2; i >= 0; --i)
    if (fits(v[static_cast<size_t>(i)])) return i + 1;
  return 0;
}

}  // namespace

TEST(ValueList, AddInOrderPutsTiesAfterEqualValues) {
  struct Case {
    TChartListOrder order;
    std::vector<double> initial;
    double add;
    int index;
  };
  const Case cases[] = {
      {loAscending, {0, 62, 62, 124}, 62, 3},
      {loAscending, {0, 62, 62, 124}, 0, 1},
      {loAscending, {0, 62, 62, 124}, -5, 0},
      {loAscending, {0, 62, 62, 124}, 200, 4},
      {loAscending, {0, 62, 62, 124}, 124, 4},
      {loAscending, {}, 7, 0},
      {loDescending, {5, 3, 3, 1}, 3, 3},
      {loDescending, {5, 3, 3, 1}, 9, 0},
      {loDescending, {5, 3, 3, 1}, 0, 4},
      {loDescending, {5, 3, 3, 1}, 5, 1},
      {loNone, {5, 3, 3, 1}, 9, 4},
      {loNone, {5, 3, 3, 1}, -9, 4},
  };
  for (const Case& c : cases) {
    TChartSeries s;
    TChartValueList& list = s.YValues();
    for (double v : c.initial)
      list.InsertValueAt(list.ValueCount(), v);
    list.SetOrder(c.order);
    EXPECT_EQ(list.AddInOrder(c.add), c.index) << "order " << c.order << " add " << c.add;
    EXPECT_EQ(list.ValueAt(c.index), c.add);
    EXPECT_EQ(list.ValueCount(), static_cast<int>(c.initial.size()) + 1);
  }
}

TEST(ValueList, AddInOrderMatchesReferenceOnRandomData) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> small(0, 20);  // many ties
  for (TChartListOrder order : {loNone, loAscending, loDescending}) {
    TChartSeries s;
    TChartValueList& list = s.YValues();
    list.SetOrder(order);
    std::vector<double> model;
    for (int i = 0; i < 2000; ++i) {
      const double v = small(rng);
      const int expected = ReferenceIndex(model, v, order);
      model.insert(model.begin() + expected, v);
      ASSERT_EQ(list.AddInOrder(v), expected);
    }
    EXPECT_EQ(Stored(list), model);
    EXPECT_EQ(list.IsAscending(), order == loAscending);
  }
}

TEST(ValueList, StatisticsWithMultiplier) {
  struct Case {
    std::vector<double> values;
    double multiplier;
    double low, high, sum, magnitude;
  };
  const Case cases[] = {
      {{2, -7, 4}, 2, -14, 8, -2, 26},
      {{}, 3, 0, 0, 0, 0},
      {{5}, -1, -5, -5, -5, 5},
      {{1, 1, 1}, 1, 1, 1, 3, 3},
  };
  for (const Case& c : cases) {
    TChartSeries s;
    TChartValueList& list = s.YValues();
    for (double v : c.values)
      list.AddInOrder(v);
    list.SetMultiplier(c.multiplier);
    EXPECT_EQ(list.LowestValue(), c.low);
    EXPECT_EQ(list.HighestValue(), c.high);
    EXPECT_EQ(list.ValueSum(), c.sum);
    EXPECT_EQ(list.MagnitudeSum(), c.magnitude);
  }
  TChartSeries s;
  for (double v : {2.0, -7.0, 4.0})
    s.YValues().AddInOrder(v);
  s.YValues().SetMultiplier(2);
  EXPECT_EQ(s.YValues().ValueAt(1), -14);
  EXPECT_EQ(s.YValues().Values()[1], -7);  // stored unscaled
}

TEST(ValueList, StatisticsFollowEveryChangeLazily) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> value(-100, 100);
  TChartSeries s;
  TChartValueList& list = s.YValues();
  std::vector<double> model;
  for (int step = 0; step < 500; ++step) {
    const int op = static_cast<int>(rng() % 4);
    if (op == 0 || model.empty()) {
      const double v = value(rng);
      list.AddInOrder(v);
      model.push_back(v);
    } else if (op == 1) {
      const int i = static_cast<int>(rng() % model.size());
      list.RemoveValueAt(i);
      model.erase(model.begin() + i);
    } else if (op == 2) {
      const int i = static_cast<int>(rng() % model.size());
      const double v = value(rng);
      list.ReplaceValue(i, v);
      model[static_cast<size_t>(i)] = v;
    } else {
      list.SetMultiplier(list.Multiplier() == 1 ? 0.5 : 1);
    }
    EXPECT_TRUE(list.StatsOutOfDate());
    const double m = list.Multiplier();
    double low = 0, high = 0, sum = 0, mag = 0;
    if (!model.empty()) {
      low = *std::min_element(model.begin(), model.end()) * m;
      high = *std::max_element(model.begin(), model.end()) * m;
      for (double v : model) {
        sum += v * m;
        mag += std::fabs(v * m);
      }
    }
    ASSERT_EQ(list.LowestValue(), low);
    ASSERT_EQ(list.HighestValue(), high);
    ASSERT_NEAR(list.ValueSum(), sum, 1e-9);
    ASSERT_NEAR(list.MagnitudeSum(), mag, 1e-9);
    EXPECT_FALSE(list.StatsOutOfDate());
  }
}

TEST(ValueList, SmallOperations) {
  TChartSeries s;
  TChartValueList& list = s.YValues();
  for (double v : {1.0, 2.0, 2.0})
    list.AddInOrder(v);
  EXPECT_EQ(list.IndexOfValue(2), 1);
  EXPECT_EQ(list.IndexOfValue(3), -1);
  list.SetMultiplier(10);
  EXPECT_EQ(list.IndexOfValue(20), 1);  // compares the scaled values
  list.SetMultiplier(1);

  list.RotateByOne();
  EXPECT_EQ(Stored(list), (std::vector<double>{2, 2, 1}));
  list.NumberSequentially();
  EXPECT_EQ(Stored(list), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(list.LastValue(), 2);
  list.RemoveAllValues();
  list.RotateByOne();  // empty: nothing
  EXPECT_EQ(list.ValueCount(), 0);
}

TEST(ValueList, AssignCopiesSettingsNotValues) {
  TChartSeries a, b;
  a.YValues().SetOrder(loDescending);
  a.YValues().SetDateTime(true);
  a.YValues().SetMultiplier(3);
  a.YValues().SetValueSource("Close");
  a.YValues().AddInOrder(5);
  b.XValues().AddInOrder(1);
  b.XValues().Assign(a.YValues());
  EXPECT_EQ(b.XValues().Order(), loDescending);
  EXPECT_TRUE(b.XValues().DateTime());
  EXPECT_EQ(b.XValues().Multiplier(), 3);
  EXPECT_EQ(b.XValues().ValueSource(), "Close");
  EXPECT_EQ(b.XValues().Name(), "X");
  EXPECT_EQ(Stored(b.XValues()), std::vector<double>{1});
}

TEST(ValueList, SettersRepaintOnlyOnChange) {
  StubChart chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  chart.invalidations = 0;
  s.YValues().SetMultiplier(1);  // equal: nothing
  s.YValues().SetDateTime(false);
  EXPECT_EQ(chart.invalidations, 0);
  s.YValues().SetMultiplier(2);
  s.YValues().SetDateTime(true);
  EXPECT_EQ(chart.invalidations, 2);
  s.YValues().SetOrder(loDescending);  // neither sorts nor repaints
  EXPECT_EQ(chart.invalidations, 2);
  s.YValues().SetValueSource("Y");
  EXPECT_EQ(chart.dataSourceChecks, 1);
  s.SetParentChart(nullptr);
}

TEST(ValueList, BadIndicesRaiseAndChangeNothing) {
  TChartSeries s;
  TChartValueList& list = s.YValues();
  for (double v : {4.0, 5.0})
    list.AddInOrder(v);
  struct Case {
    std::function<void()> call;
    const char* message;
  };
  const Case cases[] = {
      {[&] { list.ValueAt(2); }, "List index out of bounds (2)"},
      {[&] { list.ValueAt(-1); }, "List index out of bounds (-1)"},
      {[&] { list.ReplaceValue(7, 1); }, "List index out of bounds (7)"},
      {[&] { list.RemoveValueAt(2); }, "List index out of bounds (2)"},
  };
  for (const Case& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const tk::EListError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(Stored(list), (std::vector<double>{4, 5}));
  }
  TChartSeries empty;
  EXPECT_THROW(empty.YValues().LastValue(), tk::EListError);
}

TEST(ValueList, AscendingFlagIsExactUnderEveryChange) {
  std::mt19937 rng(5);
  TChartSeries s;
  TChartValueList& list = s.XValues();
  auto reference = [&] {
    const auto& v = list.Values();
    if (!v.empty() && std::isnan(v[0])) return false;
    for (size_t i = 0; i + 1 < v.size(); ++i)
      if (!(v[i] <= v[i + 1])) return false;
    return true;
  };
  for (int step = 0; step < 3000; ++step) {
    const int n = list.ValueCount();
    const int op = static_cast<int>(rng() % 7);
    const double v = static_cast<double>(rng() % 10) + (rng() % 50 == 0 ? NAN : 0.0);
    const int i = n ? static_cast<int>(rng() % static_cast<unsigned>(n)) : 0;
    switch (op) {
      case 0:
      case 1:
        list.AddInOrder(v);
        break;
      case 2:
        list.InsertValueAt(n ? i : 0, v);
        break;
      case 3:
        if (n) list.RemoveValueAt(i);
        break;
      case 4:
        if (n) list.ReplaceValue(i, v);
        break;
      case 5:
        if (n) list.Exchange(i, static_cast<int>(rng() % static_cast<unsigned>(n)));
        break;
      case 6:
        if (rng() % 20 == 0) list.RotateByOne();
        break;
    }
    ASSERT_EQ(list.IsAscending(), reference()) << "step " << step;
  }
  list.SetMultiplier(-1);
  EXPECT_FALSE(list.IsAscending());
}
