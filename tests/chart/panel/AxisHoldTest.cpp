// Held by hand-worked tables: where each side's labels go at each angle, the
// calendar steps of date-time axes, and the room the axes take from the chart.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/ChartRig.h"
#include "toolkit/Format.h"

namespace {

enum TSide { sBottom, sTop, sLeft, sRight };

TChartAxis& AxisOf(TChart& ch, TSide s) {
  switch (s) {
    case sBottom:
      return ch.BottomAxis();
    case sTop:
      return ch.TopAxis();
    case sLeft:
      return ch.LeftAxis();
    default:
      return ch.RightAxis();
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
      {sBottom, 0, CT, {0, 0}, {0, 0}, {0, 13}},   {sBottom, 90, RT, {-6, 0}, {-13, 0}, {0, 0}},
      {sBottom, 180, CB, {0, 0}, {0, 13}, {0, 0}}, {sBottom, 270, LT, {6, 0}, {13, 0}, {0, 0}},
      {sBottom, 45, LT, {0, 0}, {0, 0}, {0, 0}},   {sTop, 0, CB, {0, 0}, {0, -13}, {0, 0}},
      {sTop, 90, LT, {-6, 0}, {-13, 0}, {0, 0}},   {sTop, 180, CT, {0, 0}, {0, 0}, {0, -13}},
      {sTop, 270, RT, {6, 0}, {13, 0}, {0, 0}},    {sTop, 45, LT, {0, 0}, {0, 0}, {0, 0}},
      {sLeft, 0, RT, {0, -6}, {0, -13}, {0, 0}},   {sLeft, 90, CB, {0, 0}, {-13, 0}, {0, 0}},
      {sLeft, 180, LT, {0, 6}, {0, 13}, {0, 0}},   {sLeft, 270, CT, {0, 0}, {0, 0}, {-13, 0}},
      {sLeft, 45, LT, {0, 0}, {0, 0}, {0, 0}},     {sRight, 0, LT, {0, -6}, {0, -13}, {0, 0}},
      {sRight, 90, CT, {0, 0}, {0, 0}, {13, 0}},   {sRight, 180, RT, {0, 6}, {0, 13}, {0, 0}},
      {sRight, 270, CB, {0, 0}, {13, 0}, {0, 0}},  {sRight, 45, LT, {0, 0}, {0, 0}, {0, 0}},
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
      {"two days from one second",
       2026,
       3,
       1,
       2026,
       3,
       11,
       0,
       2,
       {"2026-03-11", "2026-03-09", "2026-03-07", "2026-03-05", "2026-03-03", "2026-03-01"}},
      // 2192 days: 182 (12 labels) then 365 (6); no calendar without a desired
      // increment, so trunc(46023 / 365) × 365 = 45990 and down by 365 days
      {"a year of days",
       2020,
       1,
       1,
       2026,
       1,
       1,
       0,
       365,
       {"2025-11-29", "2024-11-29", "2023-11-30", "2022-11-30", "2021-11-30", "2020-11-30"}},
      // 121 days from 1 day: 2 (round(60.5) = 60), 3 (40), 7 (17), 15 (8);
      // the calendar step climbs from 1 day to the half month
      {"half months from one day",
       2026,
       3,
       1,
       2026,
       6,
       30,
       1,
       15,
       {"2026-06-15", "2026-06-01", "2026-05-15", "2026-05-01", "2026-04-15", "2026-04-01",
        "2026-03-15", "2026-03-01"}},
      // the 1st goes back to the 15th of the month before, the 15th to the 1st
      {"half months across a month end",
       2026,
       1,
       10,
       2026,
       3,
       1,
       15,
       15,
       {"2026-03-01", "2026-02-15", "2026-02-01", "2026-01-15"}},
      // round(1962 / 365) = 5 labels; the first is 1 January, then back a year
      {"years",
       2020,
       3,
       1,
       2025,
       7,
       15,
       365,
       365,
       {"2025-01-01", "2024-01-01", "2023-01-01", "2022-01-01", "2021-01-01"}},
      // 3653 days from a month: 60, 90, 120, 182, 365 (10 labels), 730 (5);
      // the calendar step stops at the year, so labels still come yearly
      {"two-year step on the yearly calendar",
       2016,
       1,
       1,
       2026,
       1,
       1,
       30,
       730,
       {"2026-01-01", "2025-01-01", "2024-01-01", "2023-01-01", "2022-01-01", "2021-01-01",
        "2020-01-01", "2019-01-01", "2018-01-01", "2017-01-01", "2016-01-01"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    DateAxisRig r;
    r.axis.SetLimits(tk::EncodeDate(row.y0, row.m0, row.d0),
                     tk::EncodeDate(row.y1, row.m1, row.d1));
    r.axis.SetIncrement(row.increment);
    double step = 0;  // measured while the paint has the canvas, as the drawing does
    r.chart.OnBeforeDrawAxes = [&](TCustomZozPanel*) { step = r.axis.LabelStep(); };
    r.Paint();
    ASSERT_EQ(r.axis.AxisPixels, 564);
    EXPECT_NEAR(step, row.step, 1e-9);
    EXPECT_EQ(r.Texts(), row.labels);
  }
}

namespace {

// A flat 600 × 300 chart without title and legend: the margins (3 %, 4 %)
// leave the rectangle (18, 12, 582, 288) to the axes. One series uses the
// bottom and left axes, so only those two take room.
struct LayoutRig : ChartRig {
  TChartAxis& bottom;
  TChartAxis& left;
  LayoutRig() : ChartRig(600, 300), bottom(chart.BottomAxis()), left(chart.LeftAxis()) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.Legend().SetVisible(false);
  }
};

// A series that asks for room around its points, as bars and pointers do.
class TMarginSeries : public TChartSeries {
 public:
  void HorizontalMargins(int& l, int& r) const override { l = 10, r = 20; }
  void VerticalMargins(int& t, int& b) const override { t = 5, b = 15; }
};

}  // namespace

// Bands are taken from the outside in: title, labels, then ticks (the axis
// pen's width 2 plus the tick length 4, at least the minor tick length 2).
// Labels along the axis take one font height (13); across it the wider of the
// end labels plus a space, 6 pixels a character: "1,000 " is 36, "100 " 24.
TEST(AxisLayout, BandsOfTitleLabelsAndTicks) {
  struct Row {
    const char* what;
    std::function<void(LayoutRig&)> setUp;
    tk::TRect rect;
    int bottomLabels, bottomTitle, leftLabels, leftTitle;  // -1: not placed
  };
  const std::vector<Row> rows = {
      {"labels and ticks", [](LayoutRig&) {}, {60, 12, 582, 269}, 275, -1, 54, -1},
      {"titles along both axes",
       [](LayoutRig& r) {
         r.bottom.Title().SetCaption("Time");
         r.left.Title().SetCaption("Volts");  // at 90 degrees, one font height
       },
       {73, 12, 582, 256},
       262,
       275,
       67,
       31},
      {"left title across its axis",
       [](LayoutRig& r) {
         r.left.Title().SetCaption("Volts");
         r.left.Title().SetAngle(0);  // as wide as "Volts", 30
       },
       {90, 12, 582, 269},
       275,
       -1,
       84,
       48},
      {"bottom labels at 90 degrees",
       [](LayoutRig& r) { r.bottom.SetLabelsAngle(90); },
       {60, 12, 582, 258},
       264,
       -1,
       54,
       -1},
      {"bottom labels at 45 degrees",
       [](LayoutRig& r) { r.bottom.SetLabelsAngle(45); },
       {60, 12, 582, 258},
       264,
       -1,
       54,
       -1},
      {"left labels at 90 degrees",
       [](LayoutRig& r) { r.left.SetLabelsAngle(90); },
       {37, 12, 582, 269},
       275,
       -1,
       31,
       -1},
      {"fixed band sizes",
       [](LayoutRig& r) {
         r.bottom.Title().SetCaption("Time");
         r.bottom.SetTitleSize(30);
         r.bottom.SetLabelsSize(20);
       },
       {60, 12, 582, 232},
       238,
       258,
       54,
       -1},
      {"no labels",
       [](LayoutRig& r) { r.bottom.SetLabels(false); },
       {60, 12, 582, 282},
       -1,
       -1,
       54,
       -1},
      {"longer ticks",
       [](LayoutRig& r) { r.bottom.SetTickLength(10); },
       {60, 12, 582, 263},
       275,
       -1,
       54,
       -1},
      {"no ticks: the axis line's 2",
       [](LayoutRig& r) { r.bottom.Ticks().SetVisible(false); },
       {60, 12, 582, 273},
       275,
       -1,
       54,
       -1},
      {"no ticks, no line: the minor ticks' 2",
       [](LayoutRig& r) {
         r.bottom.Ticks().SetVisible(false);
         r.bottom.Axis().SetVisible(false);
       },
       {60, 12, 582, 273},
       275,
       -1,
       54,
       -1},
      {"nothing at all",
       [](LayoutRig& r) {
         r.bottom.Ticks().SetVisible(false);
         r.bottom.Axis().SetVisible(false);
         r.bottom.MinorTicks().SetVisible(false);
       },
       {60, 12, 582, 275},
       275,
       -1,
       54,
       -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    LayoutRig r;
    r.AddEmptySeries();
    r.bottom.SetLimits(0, 100);
    r.bottom.SetIncrement(25);
    r.left.SetLimits(0, 1000);
    r.left.SetIncrement(250);
    row.setUp(r);
    r.Paint();
    const tk::TRect& c = r.chart.ChartRect;
    EXPECT_EQ((std::vector<int>{c.left, c.top, c.right, c.bottom}),
              (std::vector<int>{row.rect.left, row.rect.top, row.rect.right, row.rect.bottom}));
    EXPECT_EQ(r.bottom.AxisLinePos, row.rect.bottom);
    EXPECT_EQ(r.left.AxisLinePos, row.rect.left);
    EXPECT_EQ(r.bottom.StartPixel, row.rect.left);
    EXPECT_EQ(r.bottom.EndPixel, row.rect.right);
    EXPECT_EQ(r.left.StartPixel, row.rect.top);
    EXPECT_EQ(r.left.EndPixel, row.rect.bottom);
    if (row.bottomLabels >= 0) {
      EXPECT_EQ(r.bottom.LabelsPos, row.bottomLabels);
    }
    if (row.bottomTitle >= 0) {
      EXPECT_EQ(r.bottom.TitlePos, row.bottomTitle);
    }
    if (row.leftLabels >= 0) {
      EXPECT_EQ(r.left.LabelsPos, row.leftLabels);
    }
    if (row.leftTitle >= 0) {
      EXPECT_EQ(r.left.TitlePos, row.leftTitle);
    }
  }
}

// Points (0, 0) and (100, 1000) on automatic axes; the series wants 10 and
// 20 pixels left and right, 5 and 15 above and below. The layout is the
// plain one above: bottom 60..582 (522 pixels), left 12..269 (257). Each axis
// is shortened by the margins of its automatic sides, and the values at its
// old ends become the new limits.
TEST(AxisLayout, SeriesMarginsWidenAutomaticSides) {
  struct Row {
    const char* what;
    std::function<void(LayoutRig&)> setUp;
    double bottomMin, bottomMax, leftMin, leftMax;
  };
  const std::vector<Row> rows = {
      // bottom 70..562 (492): 60 is -10 × 100 / 492, 582 is 512 × 100 / 492;
      // left 17..254 (237): 12 is 1000 + 5 × 1000 / 237, 269 is 1000 - 252 × 1000 / 237
      {"all sides automatic", [](LayoutRig&) {}, -1000.0 / 492, 51200.0 / 492, -15000.0 / 237,
       242000.0 / 237},
      // bottom 60..562 (502); left 17..269 (252): the bottom margin belongs to
      // the minimum, the top one to the maximum
      {"fixed minimums keep their ends",
       [](LayoutRig& r) {
         r.bottom.SetAutomaticMinimum(false);
         r.left.SetAutomaticMinimum(false);
       },
       0, 52200.0 / 502, 0, 1000 + 5000.0 / 252},
      // bottom 70..582 (512); left 12..254 (242)
      {"fixed maximums keep their ends",
       [](LayoutRig& r) {
         r.bottom.SetAutomaticMaximum(false);
         r.bottom.SetMaximum(100);
         r.left.SetAutomaticMaximum(false);
         r.left.SetMaximum(1000);
       },
       -1000.0 / 512, 100, -15000.0 / 242, 1000},
      {"fixed axes are not widened",
       [](LayoutRig& r) {
         r.bottom.SetLimits(0, 100);
         r.left.SetLimits(0, 1000);
       },
       0, 100, 0, 1000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    LayoutRig r;
    auto* s = new TMarginSeries;
    s->SetShowInLegend(false);
    s->SetParentChart(&r.chart);
    s->AddPointXY(0, 0);
    s->AddPointXY(100, 1000);
    r.left.SetIncrement(250);  // "1,000 " keeps the left band at 36
    row.setUp(r);
    r.Paint();
    ASSERT_EQ(r.chart.ChartRect.left, 60);
    ASSERT_EQ(r.chart.ChartRect.bottom, 269);
    EXPECT_NEAR(r.bottom.CurrentMinimum, row.bottomMin, 1e-9);
    EXPECT_NEAR(r.bottom.CurrentMaximum, row.bottomMax, 1e-9);
    EXPECT_NEAR(r.left.CurrentMinimum, row.leftMin, 1e-9);
    EXPECT_NEAR(r.left.CurrentMaximum, row.leftMax, 1e-9);
    EXPECT_NEAR(r.bottom.CurrentRange, row.bottomMax - row.bottomMin, 1e-9);
  }
}
