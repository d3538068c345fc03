#include "chart/series/FastLineSeries.h"

#include <gtest/gtest.h>

#include "tests/support/ChartRig.h"
#include "toolkit/QtSurface.h"
#include "tests/support/RedPixels.h"

#include <QImage>
#include <functional>
#include <random>

namespace {

// A flat chart whose bottom axis maps x 0..100 and left axis y -2..2 over a
// known rectangle, drawn on the recording surface.
struct LineRig : ChartRig {
  TFastLineSeries* line = new TFastLineSeries;
  LineRig() : ChartRig(400, 300) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.SetAxisVisible(false);
    chart.SetBevelOuter(bvNone);
    line->SetParentChart(&chart);
    chart.BottomAxis().SetLimits(0, 100);
    chart.LeftAxis().SetLimits(-2, 2);
  }
  // the series' own calls: from the clip to its removal
  std::vector<std::string> LineCalls() {
    Paint();
    std::vector<std::string> out;
    bool inside = false;
    for (const auto& c : surface.Calls()) {
      if (c.op == "IntersectClipRect")
        inside = true;
      else if (c.op == "RemoveClip")
        inside = false;
      else if (inside)
        out.push_back(c.ToString());
    }
    return out;
  }
  std::string At(double x, double y) {
    return std::to_string(chart.BottomAxis().ValueToPixel(x)) + "," +
           std::to_string(chart.LeftAxis().ValueToPixel(y));
  }
};

}  // namespace

TEST(FastLine, OnePointOnlyMovesThePen) {
  LineRig r;
  r.line->AddPointXY(50, 1);
  const auto calls = r.LineCalls();
  EXPECT_EQ(calls, std::vector<std::string>{"MoveTo " + r.At(50, 1)});
}

TEST(FastLine, ALevelChangeIsOneChain) {
  LineRig r;
  for (auto [x, y] : {std::pair{0.0, 1.0}, {10, 1}, {10, -1}, {20, -1}})
    r.line->AddPointXY(x, y);
  const auto got = r.LineCalls();
  EXPECT_EQ(got, (std::vector<std::string>{"MoveTo " + r.At(0, 1), "LineTo " + r.At(10, 1),
                                           "LineTo " + r.At(10, -1), "LineTo " + r.At(20, -1)}));
  const auto& calls = r.surface.Calls();
  const auto it = std::find_if(calls.begin(), calls.end(),
                               [](const tk::TDrawCall& c) { return c.op == "LineTo"; });
  EXPECT_EQ(it->pen.color, tk::clRed);  // the first palette colour, taken by the series and its pen
}

TEST(FastLine, PointsOnThePreviousPixelAreSkipped) {
  LineRig r;
  for (double x : {0.0, 10.0, 10.01, 10.02, 20.0})
    r.line->AddPointXY(x, 0);
  const auto got = r.LineCalls();
  EXPECT_EQ(got, (std::vector<std::string>{"MoveTo " + r.At(0, 0), "LineTo " + r.At(10, 0),
                                           "LineTo " + r.At(20, 0)}));
}

TEST(FastLine, AWindowIntoTheMiddleEntersFromOutside) {
  LineRig r;
  for (int x = 0; x <= 2000; x += 62)
    r.line->AddPointXY(x, (x / 62) % 2);
  r.chart.BottomAxis().SetLimits(500, 1000);
  const auto calls = r.LineCalls();
  ASSERT_GE(calls.size(), 3u);
  // the first visible point is 558; the segment comes in from 496
  EXPECT_EQ(calls[0], "MoveTo " + r.At(496, 0));
  EXPECT_EQ(calls[1], "LineTo " + r.At(558, 1));
  // and the last one runs out to the first point at or beyond 1000
  EXPECT_EQ(calls.back(), "LineTo " + r.At(1054, 1));
}

TEST(FastLine, InvisiblePenDrawsNothing) {
  LineRig r;
  for (int x = 0; x < 5; ++x)
    r.line->AddPointXY(x * 10, x % 2);
  r.line->LinePen().SetVisible(false);
  r.Paint();
  int lines = 0;
  for (const auto& c : r.surface.Calls()) {
    if (c.op != "LineTo") continue;
    ++lines;
    EXPECT_EQ(c.pen.style, tk::psClear);
  }
  EXPECT_GT(lines, 0);
}

TEST(FastLine, ColourAndPenAgree) {
  TFastLineSeries s;
  s.SetSeriesColor(tk::clBlue);
  EXPECT_EQ(s.LinePen().Color(), tk::clBlue);
  TChartPen pen;
  pen.SetColor(tk::clLime);
  pen.SetWidth(3);
  s.SetLinePen(pen);
  EXPECT_EQ(s.SeriesColor(), tk::clLime);
  EXPECT_EQ(s.LinePen().Width(), 3);
  EXPECT_FALSE(s.SinglePointAllowed);
  EXPECT_TRUE(s.IncludePointBeyondEdge);
  EXPECT_EQ(s.EditorClassName(), "TFastLineSeriesEditor");
}

TEST(FastLine, PointAtPixel) {
  LineRig r;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {20, 0}, {40, 1}, {60, 1}, {80, 0}, {100, 0}})
    r.line->AddPointXY(x, y);
  r.Paint();
  auto px = [&](double x, double y) {
    return std::pair{r.chart.BottomAxis().ValueToPixel(x), r.chart.LeftAxis().ValueToPixel(y)};
  };
  auto [x2, y2] = px(40, 1);
  EXPECT_EQ(r.line->PointAtPixel(x2, y2), 2);
  auto [xa, ya] =
      px(70, 1);  // on the segment between points 3 (60) and 4 (80)? no: 60..80 falls from 1 to 0
  auto [x3, y3] = px(60, 1);
  auto [x4, y4] = px(80, 0);
  EXPECT_EQ(r.line->PointAtPixel((x3 + x4) / 2, (y3 + y4) / 2), 3);
  EXPECT_EQ(r.line->PointAtPixel(xa, ya - 40), -1);
  TFastLineSeries empty;
  EXPECT_EQ(empty.PointAtPixel(0, 0), -1);
}

namespace {

// The series drawn onto a real picture, reduced or point by point.
QImage Picture(const std::vector<double>& ys, bool reduce, int penWidth) {
  TChart chart;
  chart.SetSize(800, 400);
  chart.SetView3D(false);
  chart.Title().SetVisible(false);
  chart.SetAxisVisible(false);
  auto* line = new TFastLineSeries;
  line->SetParentChart(&chart);
  line->LinePen().SetWidth(penWidth);
  line->ReduceDensePoints = reduce;
  for (size_t i = 0; i < ys.size(); ++i)
    line->AddPointXY(static_cast<double>(i), ys[i]);
  QImage image(800, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, 800, 400});
  }
  return image;
}


}  // namespace

TEST(FastLineDense, ReducedDrawingMatchesTheFullOne) {
  std::mt19937 rng(12);
  std::normal_distribution<double> step(0, 1);
  for (int penWidth : {1, 3}) {
    std::vector<double> walk(200000), noise(200000);
    double v = 0;
    for (size_t i = 0; i < walk.size(); ++i) {
      v += step(rng);
      walk[i] = v;
      noise[i] = step(rng);
    }
    noise[123457] = 40;  // a one-sample spike
    for (const auto* data : {&walk, &noise}) {
      const QImage full = Picture(*data, false, penWidth), reduced = Picture(*data, true, penWidth);
      EXPECT_LE(RedDifference(full, reduced), 0.005) << "pen " << penWidth;
    }
    const QImage spiky = Picture(noise, true, penWidth);
    // the spike reaches far above the noise: some red near the top of the plot
    bool spikeSeen = false;
    for (int y = 0; y < 60 && !spikeSeen; ++y)
      for (int x = 0; x < 800 && !spikeSeen; ++x)
        spikeSeen = spiky.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(spikeSeen);
  }
}

TEST(FastLineDense, SparseDataIsNotReduced) {
  LineRig r;
  for (int x = 0; x <= 100; ++x)
    r.line->AddPointXY(x, x % 2);
  const auto calls = r.LineCalls();
  EXPECT_EQ(calls.size(), 101u);  // a move and a segment per point: drawn as ever
}

TEST(FastLine, AddingWithoutAutoRepaintOnlyDrawsTheNewSegment) {
  LineRig r;
  auto* follower = new TChartSeries;  // the chart frees it
  follower->SetParentChart(&r.chart);
  follower->SetDataSource(r.line);
  r.line->AddPointXY(0, 0);
  r.line->AddPointXY(50, 1);
  ASSERT_EQ(follower->PointCount(), 2);
  r.line->SetAutoRepaint(false);
  r.Paint();  // a clean buffered picture for the new segment to go into
  int added = 0;
  r.line->OnAfterAdd = [&](TChartSeries*, int) { ++added; };
  r.surface.Clear();
  r.line->AddPointXY(100, -1);
  // the fast line's own handling replaces the base's: no event, no dependents told, no repaint
  EXPECT_EQ(added, 0);
  EXPECT_EQ(follower->PointCount(), 2);
  EXPECT_FALSE(r.chart.Canvas().Dirty());
  // the segment from the previous point to the new one went into the buffer
  const int x0 = r.chart.BottomAxis().ValueToPixel(50), y0 = r.chart.LeftAxis().ValueToPixel(1);
  const int x1 = r.chart.BottomAxis().ValueToPixel(100), y1 = r.chart.LeftAxis().ValueToPixel(-1);
  std::vector<std::string> lines;
  for (const auto& c : r.surface.Calls())
    if (c.op == "MoveTo" || c.op == "LineTo") lines.push_back(c.ToString());
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "MoveTo " + std::to_string(x0) + "," + std::to_string(y0),
                       "LineTo " + std::to_string(x1) + "," + std::to_string(y1)}));
}

TEST(FastLine, SettersRepaintOnlyOnAChange) {
  LineRig r;
  struct Case {
    const char* name;
    std::function<void()> set;
    bool repaints;
  } cases[] = {
      {"AutoRepaint as it is", [&] { r.line->SetAutoRepaint(true); }, false},
      {"AutoRepaint off", [&] { r.line->SetAutoRepaint(false); }, true},
      {"AutoRepaint off again", [&] { r.line->SetAutoRepaint(false); }, false},
      {"Cursor as it is", [&] { r.line->SetCursor(r.line->Cursor()); }, false},
      {"Cursor to a hand", [&] { r.line->SetCursor(tk::crHandPoint); }, true},
      {"Cursor to a hand again", [&] { r.line->SetCursor(tk::crHandPoint); }, false},
  };
  for (const Case& c : cases) {
    r.Paint();
    ASSERT_FALSE(r.chart.Canvas().Dirty());
    c.set();
    EXPECT_EQ(r.chart.Canvas().Dirty(), c.repaints) << c.name;
  }
  EXPECT_FALSE(r.line->AutoRepaint());
  EXPECT_EQ(r.line->Cursor(), tk::crHandPoint);
}
