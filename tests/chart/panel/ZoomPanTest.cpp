// Zooming and panning driven by synthetic mouse events on a real, shown chart.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "chart/panel/Chart.h"
#include "chart/series/FastLineSeries.h"

namespace {

class ZoomPan : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.SetSize(700, 400);
    chart.SetView3D(false);
    chart.BottomAxis().SetLimits(0, 999);
    chart.LeftAxis().SetLimits(0, 100);
    auto* s = new TChartSeries;  // an active series makes the plot area a background to click
    s->SetParentChart(&chart);
    chart.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart.Widget()));
    chart.RepaintNow();  // lays the axes out
  }
  void TearDown() override {
    ZoomMouseButton = tk::mbLeft;
    PanningMouseButton = tk::mbRight;
  }
  QWidget* W() { return chart.Widget(); }
  void Drag(Qt::MouseButton b, QPoint from, QPoint to, int steps = 4) {
    QTest::mousePress(W(), b, {}, from);
    for (int i = 1; i <= steps; ++i)
      QTest::mouseMove(W(), from + (to - from) * i / steps);
    QTest::mouseRelease(W(), b, {}, to);
  }
  std::pair<double, double> Limits(TChartAxis& a) { return {a.Minimum(), a.Maximum()}; }

  TChart chart;
};

}  // namespace

TEST_F(ZoomPan, ShortDragsDoNothing) {
  for (QPoint to : {QPoint(116, 200), QPoint(200, 66), QPoint(90, 40)}) {
    Drag(Qt::LeftButton, {100, 50}, to);
    EXPECT_EQ(Limits(chart.BottomAxis()), std::make_pair(0.0, 999.0));
    EXPECT_EQ(Limits(chart.LeftAxis()), std::make_pair(0.0, 100.0));
  }
}

TEST_F(ZoomPan, ZoomIntoTheRectangleThenUndo) {
  chart.Series(0)->AddPointXY(500, 0);
  chart.Series(0)->AddPointXY(600, 100);
  chart.LeftAxis().SetAutomatic(true);  // follows the data until the zoom fixes it
  chart.RepaintNow();
  const double b0 = chart.BottomAxis().PixelToValue(100), b1 = chart.BottomAxis().PixelToValue(300);
  const double l0 = chart.LeftAxis().PixelToValue(150), l1 = chart.LeftAxis().PixelToValue(50);
  int zooms = 0, undos = 0;
  chart.OnZoom = [&](TCustomZozPanel*) { ++zooms; };
  chart.OnUndoZoom = [&](TCustomZozPanel*) { ++undos; };
  Drag(Qt::LeftButton, {100, 50}, {300, 150});
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Minimum(), b0);
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Maximum(), b1);
  EXPECT_DOUBLE_EQ(chart.LeftAxis().Minimum(), l0);
  EXPECT_DOUBLE_EQ(chart.LeftAxis().Maximum(), l1);
  EXPECT_TRUE(chart.Zoomed);
  EXPECT_EQ(zooms, 1);
  Drag(Qt::LeftButton, {300, 150}, {100, 50});  // the other way: back to before the first zoom
  EXPECT_EQ(Limits(chart.BottomAxis()), std::make_pair(0.0, 999.0));
  EXPECT_FALSE(chart.BottomAxis().Automatic());
  EXPECT_TRUE(chart.LeftAxis().Automatic());
  EXPECT_FALSE(chart.Zoomed);
  EXPECT_EQ(undos, 1);
  Drag(Qt::LeftButton, {100, 150}, {300, 50});  // up and right is an undo too
  EXPECT_EQ(undos, 2);
}

TEST_F(ZoomPan, PartlyAutomaticAxesComeBackFixed) {
  chart.LeftAxis().SetAutomaticMaximum(true);
  chart.ApplyZoom(0, 999, 100, 200, 10, 20, 10, 20);
  chart.ResetZoom();
  EXPECT_FALSE(chart.LeftAxis().AutomaticMaximum());
  EXPECT_EQ(chart.LeftAxis().Minimum(), 0);
  // saved before the zoom: the maximum the automatic side held then, now fixed
  EXPECT_EQ(chart.LeftAxis().Maximum(), 100);
  EXPECT_FALSE(chart.LeftAxis().Automatic());
  EXPECT_EQ(Limits(chart.BottomAxis()), std::make_pair(0.0, 999.0));
  // a second undo changes nothing: the saved scales are stale
  chart.LeftAxis().SetLimits(3, 4);
  chart.ResetZoom();
  EXPECT_EQ(Limits(chart.LeftAxis()), std::make_pair(3.0, 4.0));
}

TEST_F(ZoomPan, WithBothButtonsOnTheLeftADragNeverPans) {
  PanningMouseButton = tk::mbLeft;
  chart.SetAllowPanning(pmHorizontal);
  QTest::mousePress(W(), Qt::LeftButton, {}, {300, 200});
  for (int x = 310; x <= 400; x += 10) {
    QTest::mouseMove(W(), {x, 200});
    EXPECT_EQ(Limits(chart.BottomAxis()), std::make_pair(0.0, 999.0));
  }
  QTest::mouseRelease(W(), Qt::LeftButton, {}, {400, 200});  // too flat to zoom
  EXPECT_EQ(Limits(chart.BottomAxis()), std::make_pair(0.0, 999.0));
  chart.SetAllowZoom(false);  // now the same drag pans
  Drag(Qt::LeftButton, {300, 200}, {400, 200});
  EXPECT_LT(chart.BottomAxis().Minimum(), 0);
}

TEST_F(ZoomPan, RightDragPansHorizontallyByTheDistance) {
  chart.SetAllowPanning(pmHorizontal);
  // make the bottom axis exactly 600 pixels long
  for (int i = 0; i < 10 && chart.BottomAxis().AxisPixels != 600;
       ++i) {  // the margins follow the width
    chart.SetSize(chart.Width() + 600 - chart.BottomAxis().AxisPixels, chart.Height());
    chart.RepaintNow();
  }
  ASSERT_EQ(chart.BottomAxis().AxisPixels, 600);
  const int pixels = chart.BottomAxis().AxisPixels;
  int scrolls = 0;
  chart.OnScroll = [&](TCustomZozPanel*) { ++scrolls; };
  Drag(Qt::RightButton, {300, 200}, {310, 230}, 1);
  const double d = -10.0 * 999 / pixels;
  EXPECT_NEAR(chart.BottomAxis().Minimum(), -16.65, 1e-9);
  EXPECT_NEAR(chart.BottomAxis().Maximum(), 982.35, 1e-9);
  EXPECT_EQ(Limits(chart.LeftAxis()), std::make_pair(0.0, 100.0));  // vertical moves change nothing
  EXPECT_EQ(scrolls, 1);
  // back and forth ends where it began
  QTest::mousePress(W(), Qt::RightButton, {}, {300, 200});
  QTest::mouseMove(W(), {340, 200});
  QTest::mouseMove(W(), {290, 200});
  QTest::mouseMove(W(), {300, 200});
  QTest::mouseRelease(W(), Qt::RightButton, {}, {300, 200});
  EXPECT_NEAR(chart.BottomAxis().Minimum(), d, 1e-6);
}

TEST_F(ZoomPan, LeavingThePlotStopsPanning) {
  QTest::mousePress(W(), Qt::RightButton, {}, {300, 200});
  QTest::mouseMove(W(), {310, 200});
  const auto after = Limits(chart.BottomAxis());
  QTest::mouseMove(W(), {5, 5});  // outside the chart rectangle
  QTest::mouseMove(W(), {350, 200});
  QTest::mouseRelease(W(), Qt::RightButton, {}, {350, 200});
  EXPECT_EQ(Limits(chart.BottomAxis()), after);
}

TEST_F(ZoomPan, AllowScrollCanVetoButStillScrolls) {
  chart.OnAllowScroll = [](TCustomChartAxis*, double&, double&, bool& allow) { allow = false; };
  int scrolls = 0;
  chart.OnScroll = [&](TCustomZozPanel*) { ++scrolls; };
  Drag(Qt::RightButton, {300, 200}, {320, 220}, 1);
  EXPECT_EQ(Limits(chart.BottomAxis()), std::make_pair(0.0, 999.0));
  EXPECT_EQ(scrolls, 1);
}

TEST_F(ZoomPan, WheelMovesVerticalAxesByThreePercentANotch) {
  // Qt reports a notch as 120; touchpads send fractions of one, which add up
  struct Case {
    const char* name;
    std::vector<int> deltas;
    double min, max;  // left axis afterwards, from -2..2 (range 4: 0.12 a notch)
  } cases[] = {
      {"one notch down", {-120}, -1.88, 2.12},
      {"one notch up", {120}, -2.12, 1.88},
      {"two notches at once", {-240}, -1.76, 2.24},
      {"eight eighths", std::vector<int>(8, -15), -1.88, 2.12},
      {"seven eighths", std::vector<int>(7, -15), -2, 2},
      {"down and back", {-90, -90, 60, 120}, -2, 2},  // -180 is one notch; +180 back is one
      {"a notch and a half twice", {180, 180}, -2.36, 1.64},
  };
  chart.SetAllowPanning(pmNone);  // the wheel does not depend on it
  for (const Case& c : cases) {
    TChart fresh;  // a turn left over from the previous row must not count
    fresh.SetSize(700, 400);
    fresh.LeftAxis().SetLimits(-2, 2);
    fresh.BottomAxis().SetLimits(0, 999);
    fresh.Show();
    for (int d : c.deltas) {
      QWheelEvent e(QPointF(300, 200), QPointF(300, 200), QPoint(), QPoint(0, d), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(fresh.Widget(), &e);
    }
    EXPECT_NEAR(fresh.LeftAxis().Minimum(), c.min, 1e-12) << c.name;
    EXPECT_NEAR(fresh.LeftAxis().Maximum(), c.max, 1e-12) << c.name;
    EXPECT_EQ(Limits(fresh.BottomAxis()), std::make_pair(0.0, 999.0)) << c.name;
  }
}

TEST_F(ZoomPan, AnimatedZoomRepaintsSevenTimes) {
  chart.SetAnimatedZoom(true);
  int paints = 0;
  chart.OnAfterDraw = [&](TCustomZozPanel*) { ++paints; };
  chart.ApplyZoom(0, 999, 100, 200, 10, 20, 10, 20);
  EXPECT_EQ(paints, 7);
  EXPECT_EQ(Limits(chart.BottomAxis()), std::make_pair(100.0, 200.0));
}

TEST_F(ZoomPan, ClicksReachTheirParts) {
  std::vector<std::string> log;
  chart.OnClickAxis = [&](TCustomChart*, TCustomChartAxis* axis, tk::TMouseButton, tk::TShiftState,
                          int, int) {
    log.push_back(axis == &chart.BottomAxis() ? "bottom axis" : "other axis");
  };
  chart.OnClickBackground = [&](TCustomChart*, tk::TMouseButton, tk::TShiftState, int, int) {
    log.push_back("background");
    chart.CancelMouse = false;  // let the drag go on after it
  };
  chart.OnClickSeries = [&](TCustomChart*, TChartSeries*, int index, tk::TMouseButton,
                            tk::TShiftState, int,
                            int) { log.push_back("series point " + std::to_string(index)); };
  auto* line = new TFastLineSeries;
  line->SetParentChart(&chart);
  line->AddPointXY(100, 10);
  line->AddPointXY(900, 90);
  chart.RepaintNow();
  const int ax = (chart.BottomAxis().StartPixel + chart.BottomAxis().EndPixel) / 2;
  QTest::mouseClick(W(), Qt::LeftButton, {}, QPoint(ax, chart.BottomAxis().AxisLinePos + 2));
  const int px = chart.BottomAxis().ValueToPixel(100), py = chart.LeftAxis().ValueToPixel(10);
  QTest::mouseClick(W(), Qt::LeftButton, {}, QPoint(px, py));
  QTest::mouseClick(W(), Qt::LeftButton, {}, QPoint(px + 5, chart.ChartRect.top + 3));
  EXPECT_EQ(log, (std::vector<std::string>{"bottom axis", "series point 0", "background"}));
  EXPECT_EQ(chart.CalcClickedPart(5, 5).Part, TChartClickedPart::cpNone);
}
