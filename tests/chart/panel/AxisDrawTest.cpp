// What one axis draws: ticks, grid (centred or not), minor ticks, label blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "tests/support/ChartRig.h"

namespace {

struct AxisDrawRig : ChartRig {
  AxisDrawRig() : ChartRig(600, 300) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.LeftAxis().SetVisible(false);
    AddEmptySeries();
    TChartAxis& b = chart.BottomAxis();
    b.SetLimits(0, 100);
    b.SetIncrement(25);
    b.SetLabelsSeparation(0);
    b.SetMinorTickCount(1);
  }
  // vertical segments drawn (MoveTo then LineTo at the same x), as x, y0, y1
  std::vector<std::tuple<int, int, int>> Verticals() const {
    std::vector<std::tuple<int, int, int>> out;
    const auto& calls = surface.Calls();
    for (size_t i = 1; i < calls.size(); ++i)
      if (calls[i].op == "LineTo" && calls[i - 1].op == "MoveTo" &&
          calls[i].args[0] == calls[i - 1].args[0])
        out.push_back({calls[i].args[0], calls[i - 1].args[1], calls[i].args[1]});
    return out;
  }
};

}  // namespace

TEST(AxisDraw, TicksRunOutwardFromTheAxisLine) {
  AxisDrawRig r;
  r.chart.BottomAxis().MinorTicks().SetVisible(false);
  r.chart.BottomAxis().Grid().SetVisible(false);
  r.Paint();
  const TChartAxis& b = r.chart.BottomAxis();
  const auto& ticks = b.TickPositions();
  ASSERT_EQ(ticks.size(), 5u);  // 100, 75, 50, 25, 0: labels on the axis ends are kept by default
  std::set<std::tuple<int, int, int>> drawn;
  for (const auto& v : r.Verticals())
    drawn.insert(v);
  for (int t : ticks)
    EXPECT_TRUE(drawn.count({t, b.AxisLinePos + 1, b.AxisLinePos + 5})) << t;
}

TEST(AxisDraw, GridLinesAtTicksOrBetweenThem) {
  for (bool centred : {false, true}) {
    AxisDrawRig r;
    r.chart.BottomAxis().MinorTicks().SetVisible(false);
    r.chart.BottomAxis().SetGridCentered(centred);
    r.Paint();
    const auto& ticks = r.chart.BottomAxis().TickPositions();
    std::vector<int> grid;
    for (const auto& [x, y0, y1] : r.Verticals())
      if (y0 == r.chart.ChartRect.top && y1 == r.chart.ChartRect.bottom) grid.push_back(x);
    if (!centred) {
      EXPECT_EQ(grid, ticks);
    } else {
      ASSERT_EQ(grid.size(), ticks.size() - 1);  // halfway between neighbours
      for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_NEAR(grid[i - 1], (ticks[i] + ticks[i - 1]) / 2.0, 0.5);
    }
  }
}

TEST(AxisDraw, MinorTicksHalfwayAndOnlyInsideTheAxis) {
  AxisDrawRig r;
  r.chart.BottomAxis().Grid().SetVisible(false);
  r.Paint();
  const TChartAxis& b = r.chart.BottomAxis();
  const auto& t = b.TickPositions();
  std::vector<int> minors;
  for (const auto& [x, y0, y1] : r.Verticals())
    if (y0 == b.AxisLinePos + 1 && y1 == b.AxisLinePos + 3) minors.push_back(x);  // length 2
  std::vector<int> expected;
  for (size_t i = 1; i < t.size(); ++i)
    expected.push_back(t[i] - static_cast<int>(std::nearbyint((t[i] - t[i - 1]) / 2.0)));
  std::sort(minors.begin(), minors.end());
  std::sort(expected.begin(), expected.end());
  // those beyond the outermost labels fall outside the axis and are dropped
  EXPECT_EQ(minors, expected);
}

TEST(AxisDraw, TwoLineLabelsAtZeroAndFortyFiveDegrees) {
  for (int angle : {0, 45}) {
    AxisDrawRig r;
    r.chart.BottomAxis().SetLimits(0, 10);
    r.chart.BottomAxis().SetIncrement(10);
    r.chart.BottomAxis().SetLabelsOnAxis(false);
    r.chart.BottomAxis().SetLabelsAngle(angle);
    r.chart.OnGetAxisLabel = [](TCustomChartAxis*, TChartSeries*, int, std::string& text) {
      text = "a\rb";
    };
    r.Paint();
    std::vector<std::pair<int, int>> at;
    for (const auto& c : r.surface.Calls())
      if (c.op == "TextOut") at.push_back({c.args[0], c.args[1]});
    ASSERT_EQ(at.size(), 0u) << "labels on the axis ends are left out";
    r.chart.BottomAxis().SetLimits(0, 20);
    r.Paint();
    at.clear();
    for (const auto& c : r.surface.Calls())
      if (c.op == "TextOut") at.push_back({c.args[0], c.args[1]});
    ASSERT_EQ(at.size(), 2u);
    if (angle == 0) {
      EXPECT_EQ(at[0].second,
                r.chart.BottomAxis().LabelsPos);   // first line's top at the label band
      EXPECT_EQ(at[1].second - at[0].second, 13);  // one font height lower
    } else {
      EXPECT_EQ(at[0], at[1]);  // other angles print every line at the same point
    }
  }
}

TEST(AxisDraw, TrailingLineSeparatorAddsNoLine) {
  // "a b " with multi-line labels ends in a separator; the size reserved for
  // it counts two lines, so drawing must place it exactly like "a\rb".
  for (int angle : {0, 90, 180, 270}) {
    std::vector<std::vector<int>> drawn[2];
    const char* texts[2] = {"a\rb", "a\rb\r"};
    for (int i = 0; i < 2; ++i) {
      AxisDrawRig r;
      r.chart.BottomAxis().SetLimits(0, 20);
      r.chart.BottomAxis().SetIncrement(10);
      r.chart.BottomAxis().SetLabelsOnAxis(false);
      r.chart.BottomAxis().SetLabelsAngle(angle);
      const std::string text = texts[i];
      r.chart.OnGetAxisLabel = [text](TCustomChartAxis*, TChartSeries*, int, std::string& t) {
        t = text;
      };
      r.Paint();
      for (const auto& c : r.surface.Calls())
        if (c.op == "TextOut") drawn[i].push_back(c.args);
    }
    ASSERT_EQ(drawn[0].size(), 2u) << angle;
    EXPECT_EQ(drawn[1], drawn[0]) << angle;
  }
}
