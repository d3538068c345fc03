#include <gtest/gtest.h>

#include "tests/support/ChartRig.h"
#include "toolkit/Format.h"

#include <cmath>

namespace {

// Labels drawn by one axis, its ticks, from a full paint.
struct LabelRig : ChartRig {
  LabelRig() {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    AddEmptySeries();  // so that the side axes show values
  }
  std::vector<std::string> LabelsOf(const TCustomChartAxis& axis) {
    Paint();
    std::vector<std::string> out;
    for (const auto& c : surface.Calls())
      if (c.op == "TextOut" &&
          (axis.IsHorizontal() ? c.args[1] >= axis.LabelsPos - 20 : c.args[0] <= axis.LabelsPos))
        out.push_back(c.text);
    return out;
  }
};

std::vector<std::string> Numbers(int from, int to, int step) {
  std::vector<std::string> out;
  for (int v = from; step > 0 ? v <= to : v >= to; v += step)
    out.push_back(std::to_string(v));
  return out;
}

}  // namespace

TEST(AxisLabels, SignalChartLabelsOneBitTimeApartFromTheRight) {
  LabelRig r;
  ConfigureAsSignalChart(r.chart);
  r.chart.Title().SetVisible(false);
  r.chart.LeftAxis().SetLabels(false);
  r.chart.BottomAxis().SetIncrement(62);
  r.Paint();
  EXPECT_EQ(r.Texts(), Numbers(937, 7, -62));  // 937, 875, ..., 7, none at 999
  EXPECT_EQ(r.chart.BottomAxis().TickPositions().size(), 16u);
}

TEST(AxisLabels, SignalChartWithIncrementOne) {
  LabelRig r;
  ConfigureAsSignalChart(r.chart);
  r.chart.Title().SetVisible(false);
  r.chart.LeftAxis().SetLabels(false);
  r.chart.BottomAxis().SetIncrement(1);
  r.Paint();
  const auto texts = r.Texts();
  ASSERT_EQ(texts.size(), 998u);  // 998 down to 1: neither end of the axis
  EXPECT_EQ(texts.front(), "998");
  EXPECT_EQ(texts.back(), "1");
}

TEST(AxisLabels, DesignTimeIncrementOfOneSecondInDaysShowsNoLabels) {
  LabelRig r;
  ConfigureAsSignalChart(r.chart);
  r.chart.Title().SetVisible(false);
  r.chart.LeftAxis().SetLabels(false);
  r.Paint();
  EXPECT_TRUE(r.Texts().empty());
}

TEST(AxisLabels, LeftAxisOfTheSignalChart) {
  LabelRig r;
  ConfigureAsSignalChart(r.chart);
  r.chart.Title().SetVisible(false);
  r.chart.BottomAxis().SetLabels(false);
  r.Paint();
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"2", "1", "0", "-1", "-2"}));
}

TEST(AxisLabels, SeparationWidensTheStepOneTwoFiveTen) {
  TChart chart;
  TChartAxis& a = chart.BottomAxis();
  a.SetLimits(0, 100);
  a.UpdateLimits();
  a.AxisPixels = 400;
  const int fits = a.LabelCountThatFits(20);
  EXPECT_EQ(fits, 18);  // 20 + 10 % = 22 pixels a label
  EXPECT_EQ(a.StepForLabelCount(fits), 10);
  EXPECT_EQ(a.StepForLabelCount(0), 1e-12);
  a.SetLabelsSeparation(0);
  a.SetIncrement(3);
  EXPECT_EQ(a.StepForLabelCount(2), 3);  // separation 0 keeps the desired increment
  struct Case {
    double x, next;
  };
  for (const Case& c :
       {Case{1, 2}, {2, 5}, {5, 10}, {3, 5}, {7, 10}, {0.3, 0.5}, {20, 50}, {10, 20}})
    EXPECT_DOUBLE_EQ(TCustomChartAxis::NextNiceStep(c.x), c.next) << c.x;
}

// However the axis length divides by the label size, the chosen step leaves
// every neighbour at least one label (plus the 10 % separation) away, and the
// next smaller step of the 1-2-5 sequence would not.
TEST(AxisLabels, AutomaticStepKeepsNeighboursApart) {
  struct Case {
    int pixels;
    double range;
    int labelWidth;
    double step;  // worked out below each row
  };
  const std::vector<Case> cases = {
      {320, 25, 12, 2},    // 13 px a label: 24.6 fit, 25 steps of 1 are too many
      {326, 25, 12, 1},    // 25.08 fit: 25 steps of 1 at 13.04 px
      {338, 25, 12, 1},    // 26 fit
      {324, 25, 12, 2},    // 24.9 fit
      {240, 110, 20, 20},  // 22 px: 10.9 fit, 11 steps of 10 are too many
      {242, 110, 20, 10},  // exactly 11 fit
      {400, 100, 20, 10},  // 18.2 fit: 10 steps of 10
      {130, 100, 20, 20},  // 5.9 fit: 5 steps of 20
      {21, 100, 20, 1e-12},  // not one label fits
  };
  TChart chart;
  TChartAxis& a = chart.BottomAxis();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.pixels) + " px, range " + std::to_string(c.range));
    a.SetLimits(0, c.range);
    a.UpdateLimits();
    a.AxisPixels = c.pixels;
    const double step = a.StepForLabelCount(a.LabelCountThatFits(c.labelWidth));
    EXPECT_DOUBLE_EQ(step, c.step);
    if (step < 1) continue;
    const int size = c.labelWidth + static_cast<int>(std::lround(c.labelWidth * 0.1));
    const auto spacing = [&](double s) { return c.pixels * s / c.range; };
    EXPECT_GE(spacing(step), size);
    const double smaller = step == 1 ? 0.5 : step == 2 ? 1 : step == 10 ? 5 : 10;
    EXPECT_LT(spacing(smaller), size);
  }
}

TEST(AxisLabels, RoundFirstLabel) {
  for (bool round : {true, false}) {
    LabelRig r;
    r.chart.LeftAxis().SetLabels(false);
    TChartAxis& a = r.chart.BottomAxis();
    a.SetLimits(3, 97);
    a.SetIncrement(10);
    a.SetLabelsSeparation(0);
    a.SetRoundFirstLabel(round);
    r.Paint();
    EXPECT_EQ(r.Texts(), round ? Numbers(90, 10, -10) : Numbers(97, 7, -10));
  }
}

TEST(AxisLabels, EmptyTextForZeroWithAnOptionalDigitFormat) {
  LabelRig r;
  r.chart.LeftAxis().SetLabels(false);
  TChartAxis& a = r.chart.BottomAxis();
  a.SetLimits(0, 4);
  a.SetIncrement(1);
  a.SetAxisValuesFormat("#,##");
  r.Paint();
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"4", "3", "2", "1", ""}));
}

TEST(AxisLabels, LogarithmicLabels) {
  LabelRig r;
  r.chart.BottomAxis().SetLabels(false);
  TChartAxis& a = r.chart.LeftAxis();
  a.SetLimits(0, 1000);
  a.SetLogarithmic(true);
  r.Paint();
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"0.1", "1", "10", "100", "1,000"}));
}

TEST(AxisLabels, CustomLabelsStopAfterIndex2000) {
  LabelRig r;
  r.chart.LeftAxis().SetLabels(false);
  r.chart.BottomAxis().SetLimits(0, 10);
  int calls = 0;
  r.chart.OnGetNextAxisLabel = [&](TCustomChartAxis*, int, double& value, bool& stop) {
    ++calls;
    stop = false;
    value = 5;
  };
  r.Paint();
  EXPECT_EQ(calls, 2001 + 1);  // the left axis (0..0) stops at its first value, outside its range
  EXPECT_EQ(r.Texts().size(), 2001u);
  // stopping at index 0 falls back to the default labels
  r.chart.OnGetNextAxisLabel = [](TCustomChartAxis*, int, double&, bool&) {};
  r.chart.BottomAxis().SetIncrement(5);
  r.chart.BottomAxis().SetLabelsSeparation(0);
  r.Paint();
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"10", "5", "0"}));
}

TEST(AxisLabels, GetAxisLabelAndMultiLine) {
  LabelRig r;
  r.chart.LeftAxis().SetLabels(false);
  TChartAxis& a = r.chart.BottomAxis();
  a.SetLimits(0, 2);
  a.SetIncrement(1);
  a.SetLabelsMultiLine(true);
  r.chart.OnGetAxisLabel = [](TCustomChartAxis*, TChartSeries*, int index, std::string& text) {
    if (index == -1) text = "v " + text;
  };
  r.Paint();
  // each word on a line of its own: two TextOuts per label
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"v", "2", "v", "1", "v", "0"}));
}

TEST(AxisLabels, DateTimeMonthsOnTheCalendar) {
  tk::SetFormatLocale("en_US");
  LabelRig r;
  r.chart.LeftAxis().SetLabels(false);
  r.chart.Series(0)->XValues().SetDateTime(true);
  TChartAxis& a = r.chart.BottomAxis();
  a.SetLimits(tk::EncodeDate(2026, 3, 1), tk::EncodeDate(2026, 5, 31));
  a.SetIncrement(30);
  a.SetDateTimeFormat("d mmm");
  r.Paint();
  tk::SetFormatLocale("");
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"1 May", "1 Apr", "1 Mar"}));
}

TEST(AxisLabels, SeriesTextLabelsWithSeparation) {
  LabelRig r;
  r.chart.LeftAxis().SetLabels(false);
  TChartSeries* s = r.chart.Series(0);
  for (int i = 0; i < 5; ++i)
    s->AddPointXY(i, i, std::string("L") += std::to_string(i));
  r.chart.BottomAxis().SetLimits(-1, 5);
  r.Paint();
  EXPECT_EQ(r.chart.BottomAxis().EffectiveLabelStyle(), talText);
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"L0", "L1", "L2", "L3", "L4"}));
  r.chart.BottomAxis().SetLabelsSeparation(800);  // wide separation: every other label fits
  r.Paint();
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"L0", "L2", "L4"}));
}

TEST(DepthAxis, LabelsEveryActiveSeriesAtItsSlotInA3DChart) {
  ChartRig r(600, 400);
  r.chart.Title().SetVisible(false);
  r.chart.DepthAxis().SetVisible(true);
  const char* titles[] = {"front", "", "back", "off"};
  for (int i = 0; i < 4; ++i) {
    TChartSeries* s = r.AddEmptySeries();
    s->SetTitle(titles[i]);
    s->AddPointXY(i, i);
  }
  r.chart.Series(1)->SetShowInLegend(false);  // still has a slot, so still a label
  r.chart.Series(3)->SetActive(false);        // no slot, no label
  r.Paint();
  TChartDepthAxis& d = r.chart.DepthAxis();
  ASSERT_EQ(d.CurrentMinimum, -0.5);
  ASSERT_EQ(d.CurrentMaximum, 2.5);  // three active series, Z orders 0..2
  const int depth = r.chart.TotalDepth;
  ASSERT_GT(depth, 0);
  // label i names the i-th active series and sits at the depth of the value 2 - i: the
  // middle of the slot that series is drawn in
  const std::vector<std::string> expected{"front", "Series 1", "back"};
  std::vector<std::string> got;
  std::vector<std::pair<int, int>> at;
  for (const auto& c : r.surface.Calls())
    if (c.op == "TextOut" && (c.text == "front" || c.text == "Series 1" || c.text == "back")) {
      got.push_back(c.text);
      at.emplace_back(c.args[0], c.args[1]);
    }
  EXPECT_EQ(got, expected);
  ASSERT_EQ(at.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    // depth offset of 2 - i on -0.5..2.5, then the orthogonal projection: right and up by z
    const int z = static_cast<int>(std::nearbyint(depth * (2 - i + 0.5) / 3.0));  // halves to even
    EXPECT_EQ(at[static_cast<size_t>(i)].first, d.LabelsPos + z) << i;
    EXPECT_EQ(at[static_cast<size_t>(i)].second, r.chart.ChartRect.bottom - z) << i;
  }
}

// The lower end keeps a label stepped down onto the minimum despite rounding;
// on huge values its 1e-12 share of the minimum spans many steps, and those
// labels below the axis were drawn too, thousands at one pixel on a range of
// zero width (a fuzzed chart took seconds a paint).
TEST(AxisLabels, NoLabelAWholeStepBelowTheMinimum) {
  const double big = std::ldexp(1.0, 70), bigStep = std::ldexp(1.0, 20);
  struct Row {
    double min, max, increment;
    std::size_t labels;
    double lowest;
  } rows[] = {
      {0, 4, 1, 5, 0},
      {-2, 2, 1, 5, -2},
      {1e6, 1e6 + 10, 1, 11, 1e6},
      {big, big + 10 * bigStep, bigStep, 11, big},
      {big, big, bigStep, 1, big},
      {1e300, 1e300, 1e286, 1, 1e300},
      {1.7976931348623157e308, 1.7976931348623157e308, 2e292, 1, 1.7976931348623157e308},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.min);
    LabelRig r;
    r.chart.LeftAxis().SetLabels(false);
    TChartAxis& a = r.chart.BottomAxis();
    a.SetLimits(row.min, row.max);
    a.SetIncrement(row.increment);
    a.SetLabelsSeparation(0);
    a.SetLabelsOnAxis(true);
    r.Paint();
    const auto texts = r.Texts();
    EXPECT_EQ(texts.size(), row.labels);
    if (!texts.empty()) {
      EXPECT_EQ(texts.back(), tk::FormatFloat("#,##0.###", row.lowest));
    }
  }
}
