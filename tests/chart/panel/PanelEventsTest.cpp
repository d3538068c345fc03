// The chart as a window: repaint requests raised while painting, the mouse
// events a program can hook, and resizing, on real shown widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "chart/panel/Chart.h"
#include "tests/support/ChartRig.h"

namespace {

void ShowAndSettle(TChart& chart) {
  chart.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(chart.Widget()));
  QTest::qWait(30);
}

}  // namespace

// ---------------------------------------------------------------- repaint during a paint

TEST(RepaintDuringPaint, TitleTakingItsBrushColourAsksForOneMorePaint) {
  ChartRig r;
  r.chart.Title().Brush().SetColor(tk::clRed);
  r.Paint();
  // the title changed its colour while drawing: the frame just shown is stale
  EXPECT_TRUE(r.chart.Canvas().Dirty());
  r.Paint();
  EXPECT_FALSE(r.chart.Canvas().Dirty());  // nothing changes the second time
}

TEST(RepaintDuringPaint, ShownChartPaintsOnceMoreAndThenRests) {
  TChart chart;
  int paints = 0;
  chart.OnAfterDraw = [&](TCustomZozPanel*) { ++paints; };
  chart.Title().Brush().SetColor(tk::clRed);
  ShowAndSettle(chart);
  QTest::qWait(30);
  EXPECT_EQ(paints, 2);
  EXPECT_FALSE(chart.Canvas().Dirty());
}

TEST(RepaintDuringPaint, RequestsFromAnAfterDrawHandlerNeverNest) {
  TChart chart;
  int paints = 0, depth = 0, deepest = 0;
  chart.OnAfterDraw = [&](TCustomZozPanel* sender) {
    ++paints;
    deepest = std::max(deepest, ++depth);
    if (paints < 5) sender->Invalidate();
    --depth;
  };
  ShowAndSettle(chart);
  for (int i = 0; i < 10 && paints < 5; ++i)
    QTest::qWait(20);
  EXPECT_EQ(paints, 5);
  EXPECT_EQ(deepest, 1);
  QTest::qWait(30);
  EXPECT_EQ(paints, 5);  // the last one asked for nothing more
}
