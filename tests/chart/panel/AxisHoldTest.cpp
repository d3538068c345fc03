// Held by hand-worked tables: where each side's labels go at each angle, the
// calendar steps of date-time axes, and the room the axes take from the chart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ChartRig.h"
#include "toolkit/Format.h"

namespace {

enum TSide { sBottom, sTop, sLeft, sRight };

TChartAxis& AxisOf(TChart& ch, TSide s) {
  switch (s) {
    case sBottom: return ch.BottomAxis();
    case sTop: return ch.TopAxis();
    case sLeft: return ch.LeftAxis();
    default: return ch.RightAxis();
  }
}

// A flat chart with no series and one axis shown, whose only label is the
// value 10 in the middle of 0..20; every label gets the given text.
struct OneLabelRig : ChartRig {
  TChartAxis& axis;
  OneLabelRig(TSide side, int angle, const std::string& text)
      : ChartRig(600, 300), axis(AxisOf(chart, side)) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.Legend().SetVisible(false);
    for (TSide s : {sBottom, sTop, sLeft, sRight})
      AxisOf(chart, s).SetVisible(s == side);
    axis.SetLabelStyle(talValue);  // no series decides the style
    axis.SetLimits(0, 20);
    axis.SetIncrement(10);
    axis.SetLabelsSeparation(0);
    axis.SetLabelsOnAxis(false);
    axis.SetLabelsAngle(angle);
    chart.OnGetAxisLabel = [text](TCustomChartAxis*, TChartSeries*, int, std::string& t) {
      t = text;
    };
  }
  std::vector<tk::TDrawCall> TextCalls() const {
    std::vector<tk::TDrawCall> out;
    for (const auto& c : surface.Calls())
      if (c.op == "TextOut") out.push_back(c);
    return out;
  }
};

struct Offset {
  int dx, dy;
};

}  // namespace

// With the default 11-pixel font, which the recording surface measures 13
// pixels high (half 6), every cell of the placement rules worked out
// once for a one-line label and once for the two lines "a" and "b". Offsets
// are from the anchor: (tick, LabelsPos) on horizontal axes, (LabelsPos, tick)
// on vertical ones. A two-line block steps round(13 × 0.5 × 3) = 20 or
// 2 × 13 = 26 back before its lines come forward 13 at a time.
TEST(AxisLabelPlacement, EverySideAtEveryAngle) {
  using namespace tk;
  const unsigned LT = TA_LEFT | TA_TOP, RT = TA_RIGHT | TA_TOP, CT = TA_CENTER | TA_TOP,
                 CB = TA_CENTER | TA_BOTTOM;
  struct Row {
    TSide side;
    int angle;
    unsigned align;
    Offset one, first, second;
  };
  const Row rows[] = {
      {sBottom, 0, CT, {0, 0}, {0, 0}, {0, 13}},
      {sBottom, 90, RT, {-6, 0}, {-13, 0}, {0, 0}},
      {sBottom, 180, CB, {0, 0}, {0, 13}, {0, 0}},
      {sBottom, 270, LT, {6, 0}, {13, 0}, {0, 0}},
      {sBottom, 45, LT, {0, 0}, {0, 0}, {0, 0}},
      {sTop, 0, CB, {0, 0}, {0, -13}, {0, 0}},
      {sTop, 90, LT, {-6, 0}, {-13, 0}, {0, 0}},
      {sTop, 180, CT, {0, 0}, {0, 0}, {0, -13}},
      {sTop, 270, RT, {6, 0}, {13, 0}, {0, 0}},
      {sTop, 45, LT, {0, 0}, {0, 0}, {0, 0}},
      {sLeft, 0, RT, {0, -6}, {0, -13}, {0, 0}},
      {sLeft, 90, CB, {0, 0}, {-13, 0}, {0, 0}},
      {sLeft, 180, LT, {0, 6}, {0, 13}, {0, 0}},
      {sLeft, 270, CT, {0, 0}, {0, 0}, {-13, 0}},
      {sLeft, 45, LT, {0, 0}, {0, 0}, {0, 0}},
      {sRight, 0, LT, {0, -6}, {0, -13}, {0, 0}},
      {sRight, 90, CT, {0, 0}, {0, 0}, {13, 0}},
      {sRight, 180, RT, {0, 6}, {0, 13}, {0, 0}},
      {sRight, 270, CB, {0, 0}, {13, 0}, {0, 0}},
      {sRight, 45, LT, {0, 0}, {0, 0}, {0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "side " << row.side << " angle " << row.angle);
    for (int lines : {1, 2}) {
      OneLabelRig r(row.side, row.angle, lines == 1 ? "a" : "a\rb");
      r.Paint();
      const auto calls = r.TextCalls();
      ASSERT_EQ(calls.size(), static_cast<size_t>(lines));
      const int p = r.axis.ValueToPixel(10), lp = r.axis.LabelsPos;
      const bool horizontal = row.side == sBottom || row.side == sTop;
      const int ax = horizontal ? p : lp, ay = horizontal ? lp : p;
      for (int i = 0; i < lines; ++i) {
        const auto& c = calls[static_cast<size_t>(i)];
        const Offset o = lines == 1 ? row.one : (i == 0 ? row.first : row.second);
        ASSERT_EQ(std::abs(c.font.font.height), 11);
        EXPECT_EQ(c.text, i == 0 ? "a" : "b");
        EXPECT_EQ(c.textAlign, row.align) << "line " << i;
        EXPECT_EQ(c.font.escapement, row.angle * 10) << "line " << i;
        EXPECT_EQ(c.args[0] - ax, o.dx) << lines << " lines, line " << i;
        EXPECT_EQ(c.args[1] - ay, o.dy) << lines << " lines, line " << i;
      }
    }
  }
}

namespace {

// A bottom axis of dates alone in a flat chart; its labels are ten characters
// ("2026-03-01"), which the recording surface measures 60 pixels wide.
struct DateAxisRig : ChartRig {
  TChartAxis& axis;
  DateAxisRig() : ChartRig(600, 300), axis(chart.BottomAxis()) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.Legend().SetVisible(false);
    chart.LeftAxis().SetVisible(false);
    AddEmptySeries()->XValues().SetDateTime(true);
    axis.SetDateTimeFormat("yyyy-mm-dd");
  }
};

}  // namespace

// The axis is 564 pixels long (held by the layout table below) and a label
// needs 60 + round(10% of 60) = 66 pixels, so round(564 / 66) = 9 labels fit.
// The step starts at the desired increment (at least one second) and climbs
// the table of durations while round(range / step) > 9, doubling past a year;
// with a desired increment the calendar step starts at its entry and is raised
// while the step is longer.
TEST(AxisDateTimeSteps, AutomaticStepsAndCalendarStepping) {
  struct Row {
    const char* what;
    int y0, m0, d0, y1, m1, d1;
    double increment;
    double step;  // days
    std::vector<std::string> labels;
  };
  const std::vector<Row> rows = {
      // 10 days: 1 s, 5 s, ... 12 h (20 labels), 1 day (10), 2 days (5); the
      // first label is trunc(46092 / 2) × 2 = 46092, a day count
      {"two days from one second", 2026, 3, 1, 2026, 3, 11, 0, 2,
       {"2026-03-11", "2026-03-09", "2026-03-07", "2026-03-05", "2026-03-03", "2026-03-01"}},
      // 2192 days: 182 (12 labels) then 365 (6); no calendar without a desired
      // increment, so trunc(46023 / 365) × 365 = 45990 and down by 365 days
      {"a year of days", 2020, 1, 1, 2026, 1, 1, 0, 365,
       {"2025-11-29", "2024-11-29", "2023-11-30", "2022-11-30", "2021-11-30", "2020-11-30"}},
      // 121 days from 1 day: 2 (round(60.5) = 60), 3 (40), 7 (17), 15 (8);
      // the calendar step climbs from 1 day to the half month
      {"half months from one day", 2026, 3, 1, 2026, 6, 30, 1, 15,
       {"2026-06-15", "2026-06-01", "2026-05-15", "2026-05-01", "2026-04-15", "2026-04-01",
        "2026-03-15", "2026-03-01"}},
      // the 1st goes back to the 15th of the month before, the 15th to the 1st
      {"half months across a month end", 2026, 1, 10, 2026, 3, 1, 15, 15,
       {"2026-03-01", "2026-02-15", "2026-02-01", "2026-01-15"}},
      // round(1962 / 365) = 5 labels; the first is 1 January, then back a year
      {"years", 2020, 3, 1, 2025, 7, 15, 365, 365,
       {"2025-01-01", "2024-01-01", "2023-01-01", "2022-01-01", "2021-01-01"}},
      // 3653 days from a month: 60, 90, 120, 182, 365 (10 labels), 730 (5);
      // the calendar step stops at the year, so labels still come yearly
      {"two-year step on the yearly calendar", 2016, 1, 1, 2026, 1, 1, 30, 730,
       {"2026-01-01", "2025-01-01", "2024-01-01", "2023-01-01", "2022-01-01", "2021-01-01",
        "2020-01-01", "2019-01-01", "2018-01-01", "2017-01-01", "2016-01-01"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    DateAxisRig r;
    r.axis.SetLimits(tk::EncodeDate(row.y0, row.m0, row.d0), tk::EncodeDate(row.y1, row.m1, row.d1));
    r.axis.SetIncrement(row.increment);
    double step = 0;  // measured while the paint has the canvas, as the drawing does
    r.chart.OnBeforeDrawAxes = [&](TCustomZozPanel*) { step = r.axis.LabelStep(); };
    r.Paint();
    ASSERT_EQ(r.axis.AxisPixels, 564);
    EXPECT_NEAR(step, row.step, 1e-9);
    EXPECT_EQ(r.Texts(), row.labels);
  }
}
