// Held by hand-worked tables: where each side's labels go at each angle, the
// calendar steps of date-time axes, and the room the axes take from the chart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ChartRig.h"

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
