// The chart as a window: repaint requests raised while painting, the mouse
// events a program can hook, and resizing, on real shown widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <QImage>

#include "chart/panel/Chart.h"
#include "toolkit/QtSurface.h"
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

// ---------------------------------------------------------------- mouse events

TEST(MouseEvents, FireBeforeTheChartHandlesThePointer) {
  TChart chart;
  chart.SetSize(700, 400);
  chart.SetView3D(false);
  chart.BottomAxis().SetLimits(0, 999);
  chart.LeftAxis().SetLimits(0, 100);
  (new TChartSeries)->SetParentChart(&chart);  // the plot area is a background to drag on
  ShowAndSettle(chart);
  chart.RepaintNow();
  std::vector<std::string> log;
  auto where = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
  chart.OnMouseDown = [&](tk::TCustomPanel* sender, tk::TMouseButton b, tk::TShiftState,
                          int x, int y) {
    EXPECT_EQ(sender, &chart);
    // the chart has not started its zoom yet
    log.push_back(std::string("down ") + (b == tk::mbLeft ? "left " : "right ") + where(x, y) +
                  (chart.Zoom.Active ? " zooming" : ""));
  };
  chart.OnMouseMove = [&](tk::TCustomPanel*, tk::TShiftState shift, int x, int y) {
    log.push_back("move " + where(x, y) + ((shift & tk::ssLeft) ? " held" : "") +
                  (chart.Zoom.X1 == x ? " seen" : ""));
  };
  chart.OnMouseUp = [&](tk::TCustomPanel*, tk::TMouseButton, tk::TShiftState, int x, int y) {
    log.push_back("up " + where(x, y) + (chart.Zoomed ? " zoomed" : ""));
  };
  chart.OnMouseWheelDown = [&](tk::TCustomPanel*, tk::TShiftState, tk::TPoint p) {
    log.push_back("wheel down " + where(p.x, p.y) +
                  (chart.LeftAxis().Minimum() != 0 ? " moved" : ""));
  };
  chart.OnMouseWheelUp = [&](tk::TCustomPanel*, tk::TShiftState, tk::TPoint p) {
    log.push_back("wheel up " + where(p.x, p.y));
  };
  QWidget* w = chart.Widget();
  QTest::mousePress(w, Qt::LeftButton, {}, {100, 50});
  QTest::mouseMove(w, {200, 100});
  QTest::mouseMove(w, {300, 150});
  QTest::mouseRelease(w, Qt::LeftButton, {}, {300, 150});
  EXPECT_TRUE(chart.Zoomed);
  auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(250, 120), QPointF(250, 120), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
  };
  chart.LeftAxis().SetLimits(0, 100);
  wheel(-240);
  wheel(60);
  wheel(60);
  EXPECT_EQ(log, (std::vector<std::string>{
                     "down left 100,50", "move 200,100 held", "move 300,150 held",
                     "up 300,150", "wheel down 250,120", "wheel down 250,120 moved",
                     "wheel up 250,120"}));
}

// ---------------------------------------------------------------- resizing

namespace {

// What the chart draws afresh at its present size.
QImage FreshPicture(TChart& chart) {
  QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  }
  return image;
}

}  // namespace

TEST(Resize, TheWidgetShowsTheChartDrawnAtItsNewSize) {
  TChart chart;
  chart.SetView3D(false);
  chart.Title().SetText({"Signal"});
  auto* s = new TChartSeries;
  s->SetParentChart(&chart);
  s->AddPointXY(0, 0);
  s->AddPointXY(10, 5);
  chart.SetSize(300, 200);
  ShowAndSettle(chart);
  const struct {
    int w, h;
  } sizes[] = {{520, 330}, {200, 120}, {640, 120}, {300, 200}};  // grown, shrunk, mixed, back
  for (const auto& size : sizes) {
    chart.SetSize(size.w, size.h);
    QTest::qWait(30);
    ASSERT_EQ(chart.Widget()->size(), QSize(size.w, size.h));
    const QImage shown = chart.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = FreshPicture(chart);
    ASSERT_EQ(shown.size(), fresh.size());
    EXPECT_TRUE(shown == fresh) << size.w << "x" << size.h;
  }
}
