#include <gtest/gtest.h>

#include <cmath>

#include "chart/panel/HitTest.h"
#include "chart/panel/SeriesTypes.h"
#include "chart/series/FastLineSeries.h"

#include <algorithm>
#include <functional>
#include "tests/support/ChartRig.h"

TEST(ChartPaint, ChartRectangleFromTheMargins) {
  ChartRig r;
  r.chart.SetAxisVisible(false);
  r.chart.Title().SetVisible(false);
  r.chart.SetView3D(false);
  r.Paint();
  EXPECT_EQ(r.chart.ChartRect, (tk::TRect{20, 8, 651, 201}));  // 3 % of 671, 4 % of 209
  EXPECT_EQ(r.chart.ChartWidth, 631);
  EXPECT_EQ(r.chart.ChartXCenter, 335);
}

TEST(ChartPaint, TitleTakesItsLinesAndAGap) {
  ChartRig r;
  r.chart.SetAxisVisible(false);
  r.chart.SetView3D(false);
  r.chart.Title().SetText({"Signal"});
  r.Paint();
  const int h = 13;  // the recording surface: an 8-point font is 11 pixels, 13 with leading
  EXPECT_EQ(r.chart.ChartRect.top, 8 + h + 5);
  ASSERT_EQ(r.surface.Ops("TextOut").size(), 1u);
  // centred on (20 + 651) div 2, at the top of the chart rectangle
  EXPECT_EQ(r.surface.Ops("TextOut")[0],
            "TextOut " + std::to_string(335 - 6 * 6 / 2) + ",8 'Signal'");
  r.chart.Title().SetText({"a", "b", "c"});
  r.chart.Foot().SetText({"x", "y"});
  r.Paint();
  EXPECT_EQ(r.chart.ChartRect.top, 8 + 3 * h + 5);
  EXPECT_EQ(r.chart.ChartRect.bottom, 201 - 2 * h - 5);
  const auto texts = r.Texts();
  EXPECT_EQ(texts,
            (std::vector<std::string>{"a", "b", "c", "y", "x"}));  // the foot from its last line up
}

TEST(ChartPaint, TitleFrameAndBrushColour) {
  ChartRig r;
  r.chart.SetAxisVisible(false);
  r.chart.SetView3D(false);
  r.chart.Title().Frame().SetVisible(true);
  r.chart.Title().Frame().SetWidth(2);
  r.Paint();
  EXPECT_EQ(r.chart.ChartRect.top, 8 + 2 + 2);  // no lines: the offset and the frame
  r.chart.Title().Brush().SetColor(tk::clRed);
  r.Paint();
  EXPECT_EQ(r.chart.Title().Color(), tk::clRed);
}

TEST(ChartPaint, FixedOrderOfTheParts) {
  ChartRig r;
  ConfigureAsSignalChart(r.chart);
  r.AddEmptySeries()->AddPointXY(10, 1);
  r.chart.BottomAxis().SetIncrement(62);
  r.Paint();
  // background, bevel rings, title, back wall, axes (line, ticks, grid, labels), the series clip
  std::vector<std::string> kinds;
  for (const auto& c : r.surface.Calls()) {
    std::string k = c.op;
    if (kinds.empty() || kinds.back() != k) kinds.push_back(k);
  }
  const std::vector<std::string> start{"CreateBitmap", "FillRect", "Polyline", "TextOut",
                                       "Rectangle"};
  ASSERT_GE(kinds.size(), start.size());
  EXPECT_EQ(std::vector<std::string>(kinds.begin(), kinds.begin() + 5), start);
  const auto& calls = r.surface.Calls();
  auto index = [&](const std::string& op) {
    for (size_t i = 0; i < calls.size(); ++i)
      if (calls[i].op == op) return static_cast<int>(i);
    return -1;
  };
  const int clip = index("IntersectClipRect");
  ASSERT_GE(clip, 0);
  EXPECT_EQ(calls[static_cast<size_t>(clip)].ToString(),
            "IntersectClipRect " + std::to_string(r.chart.ChartRect.left + 1) + "," +
                std::to_string(r.chart.ChartRect.top + 1) + "," +
                std::to_string(r.chart.ChartRect.right) + "," +
                std::to_string(r.chart.ChartRect.bottom - 1));
  EXPECT_GT(clip, index("TextOut"));  // series after the axes' labels
  EXPECT_EQ(calls.back().op, "CopyFrom");
  // the flat back wall: one pixel beyond the chart rectangle's right and bottom
  EXPECT_EQ(r.surface.Ops("Rectangle")[0], "Rectangle " + std::to_string(r.chart.ChartRect.left) +
                                               "," + std::to_string(r.chart.ChartRect.top) + "," +
                                               std::to_string(r.chart.ChartRect.right + 1) + "," +
                                               std::to_string(r.chart.ChartRect.bottom + 1));
}

TEST(ChartPaint, ToleratesEmptyNanAndHugeData) {
  for (double bad : {double(NAN), double(INFINITY), -double(INFINITY), 1e308}) {
    ChartRig r;
    auto* s = r.AddEmptySeries();
    s->AddPointXY(0, 1);
    s->AddPointXY(1, bad);
    s->AddPointXY(bad, 2);
    r.Paint();  // must not crash, hang or loop
    SUCCEED();
  }
  ChartRig tiny(3, 2);  // margins cross: the chart rectangle stays at least a pixel wide
  tiny.Paint();
  EXPECT_GE(tiny.chart.ChartRect.right, tiny.chart.ChartRect.left + 1);
}

TEST(ChartPaint, RepaintOnlyOnChange) {
  ChartRig r;
  r.Paint();
  EXPECT_FALSE(r.chart.Canvas().Dirty());
  r.chart.SetMarginLeft(3);  // the same value: nothing to repaint
  EXPECT_FALSE(r.chart.Canvas().Dirty());
  r.chart.SetMarginLeft(5);
  EXPECT_TRUE(r.chart.Canvas().Dirty());
}

TEST(ChartPaint, DepthSlotsIn3D) {
  ChartRig r(800, 400);
  r.chart.SetView3D(true);
  auto* a = r.AddEmptySeries();
  auto* b = r.AddEmptySeries();
  a->AddPointXY(0, 0);
  b->AddPointXY(0, 0);
  r.Paint();
  const int slot = static_cast<int>(std::nearbyint(r.chart.ChartWidth * 15 * 0.001));
  EXPECT_EQ(r.chart.SeriesDepth, slot);
  EXPECT_EQ(r.chart.TotalDepth, 2 * slot);
  EXPECT_EQ(a->FrontDepth, slot);  // the first series sits behind the second
  EXPECT_EQ(b->FrontDepth, 0);
}

TEST(SeriesList, ColoursAttachAndDetach) {
  TChart chart;
  std::vector<TChartSeries*> series;
  for (int i = 0; i < 17; ++i) {
    series.push_back(new TChartSeries);
    series.back()->SetParentChart(&chart);
  }
  EXPECT_EQ(series[0]->SeriesColor(), tk::clRed);
  EXPECT_EQ(series[1]->SeriesColor(), tk::clGreen);
  EXPECT_EQ(series[16]->SeriesColor(), tk::clRed);  // all sixteen taken: red again
  chart.AttachSeries(series[0]);
  EXPECT_EQ(chart.SeriesCount(), 17);
  TChartSeries stranger;
  chart.DetachSeries(&stranger);
  EXPECT_EQ(chart.SeriesCount(), 17);
  chart.DetachSeries(series[3]);
  EXPECT_EQ(series[3]->ParentChart(), nullptr);
  EXPECT_EQ(chart.SeriesCount(), 16);
  delete series[3];
  series[5]->SetTitle("Five");
  EXPECT_EQ(chart.LegendSeriesTitle(4), "Five");
  EXPECT_EQ(chart.LegendSeriesTitle(1), "Series 1");
  series[2]->SetName("Third");
  EXPECT_EQ(chart.LegendSeriesTitle(2), "Third");
  EXPECT_EQ(chart.LegendSeriesTitle(99), "");
}

TEST(SeriesList, WidthOfLines) {
  ChartRig r;
  r.chart.Canvas().AttachSurface(r.surface);
  r.chart.Canvas().Font().font.height = -11;  // 6 pixels a character
  struct Case {
    const char* text;
    int width, lines;
  };
  for (const Case& c : {Case{"abc", 18, 1}, {"ab\rabcd", 24, 2}, {"ab\rcd\r", 12, 2}, {"", 0, 1}}) {
    int lines = 0;
    EXPECT_EQ(r.chart.WidthOfLines(c.text, &lines), c.width) << c.text;
    EXPECT_EQ(lines, c.lines) << c.text;
  }
}

TEST(HitTest, Helpers) {
  struct Seg {
    tk::TPoint P, p, q;
    bool on;
  };
  for (const Seg& c : {Seg{{5, 5}, {0, 0}, {10, 10}, true},
                       {{5, 6}, {0, 0}, {10, 10}, false},
                       {{11, 11}, {0, 0}, {10, 10}, false},
                       {{3, 0}, {0, 0}, {10, 0}, true},
                       {{3, 3}, {3, 3}, {3, 3}, false}})
    EXPECT_EQ(PointOnSegment(c.P, c.p, c.q), c.on) << c.P.x << "," << c.P.y;
  const std::vector<tk::TPoint> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(PointInsidePolygon({5, 5}, square));
  EXPECT_FALSE(PointInsidePolygon({15, 5}, square));
  EXPECT_TRUE(PointInsideTriangle({5, 8}, 0, 10, 10, 0));
  EXPECT_FALSE(PointInsideTriangle({1, 1}, 0, 10, 10, 0));
  EXPECT_TRUE(PointInsideSideTriangle({8, 5}, 0, 10, 0, 10));
  EXPECT_TRUE(PointInsideEllipse({5, 5}, {0, 0, 10, 10}));
  EXPECT_FALSE(PointInsideEllipse({0, 0}, {0, 0, 10, 10}));
  EXPECT_FALSE(PointInsideEllipse({0, 0}, {0, 0, 0, 10}));
}

TEST(SeriesTypes, StartUpRegistrationsAndNoDuplicates) {
  const auto& types = SeriesTypes();
  const auto fast = std::find_if(types.begin(), types.end(), [](const TZozSeriesType& t) {
    return t.Description == "Fast Line";
  });
  ASSERT_NE(fast, types.end());
  EXPECT_EQ(fast->GalleryPage, "Standard");
  EXPECT_EQ(fast->GallerySeriesCount, 2);
  EXPECT_NE(dynamic_cast<TFastLineSeries*>(CreateSeriesByClassName("TFastLineSeries").get()),
            nullptr);
  EXPECT_EQ(CreateSeriesByClassName("TNoSuchSeries"), nullptr);
  EXPECT_TRUE(IsClassRegistered("TChartWall"));
  const size_t before = types.size();
  RegisterSeriesType("TFastLineSeries", nullptr, "", "Again", 1, "Standard");
  EXPECT_EQ(SeriesTypes().size(), before);
  RegisterSeriesType("TTestSeries", nullptr, "", "A description much longer than twenty", 1,
                     "Page");
  EXPECT_EQ(SeriesTypes().back().Description, "A description much l");
}

namespace {
struct FakePicture : tk::TPicture {
  int w, h;
  FakePicture(int w, int h) : w(w), h(h) {}
  int Width() const override { return w; }
  int Height() const override { return h; }
};
}  // namespace

TEST(ChartPaint, BackImageModes) {
  struct Case {
    TZozBackImageMode mode;
    std::vector<std::string> pictures;
  };
  const Case cases[] = {
      {pbmStretch, {"DrawPicture 0,1,100,60,40,30"}},  // flat: the top moves down a pixel
      {pbmTile,
       {"DrawPicture 0,1,40,31,40,30", "DrawPicture 40,1,80,31,40,30",
        "DrawPicture 80,1,120,31,40,30", "DrawPicture 0,31,40,61,40,30",
        "DrawPicture 40,31,80,61,40,30", "DrawPicture 80,31,120,61,40,30"}},
      {pbmCenter, {"DrawPicture 30,15,70,45,40,30"}},
  };
  for (const Case& c : cases) {
    ChartRig r(100, 60);
    r.chart.SetView3D(false);
    r.chart.SetBackImage(std::make_shared<FakePicture>(40, 30));
    r.chart.SetBackImageMode(c.mode);
    r.Paint();
    EXPECT_EQ(r.surface.Ops("DrawPicture"), c.pictures) << c.mode;
  }
  ChartRig inside(100, 60);
  inside.chart.SetBackImage(std::make_shared<FakePicture>(40, 30));
  inside.chart.SetBackImageInside(true);
  inside.Paint();
  ASSERT_EQ(inside.surface.Ops("DrawPicture").size(), 1u);  // drawn once, inside the back wall
}

TEST(ChartPaint, AxisAndPagingSettersRepaintOnlyOnAChange) {
  ChartRig r;
  TChartAxis& a = r.chart.LeftAxis();
  struct Case {
    const char* name;
    std::function<void()> set;
    bool repaints;
  } cases[] = {
      {"Automatic as it is", [&] { a.SetAutomatic(true); }, false},
      {"AutomaticMinimum as it is", [&] { a.SetAutomaticMinimum(true); }, false},
      {"AutomaticMaximum as it is", [&] { a.SetAutomaticMaximum(true); }, false},
      {"AutomaticMaximum off", [&] { a.SetAutomaticMaximum(false); }, true},
      {"AutomaticMaximum off again", [&] { a.SetAutomaticMaximum(false); }, false},
      {"Automatic off: the minimum follows", [&] { a.SetAutomatic(false); }, true},
      {"Automatic off again", [&] { a.SetAutomatic(false); }, false},
      {"AutomaticMinimum off as it is", [&] { a.SetAutomaticMinimum(false); }, false},
      {"MaxPointsPerPage as it is", [&] { r.chart.SetMaxPointsPerPage(0); }, false},
      {"MaxPointsPerPage 10", [&] { r.chart.SetMaxPointsPerPage(10); }, true},
      {"MaxPointsPerPage 10 again", [&] { r.chart.SetMaxPointsPerPage(10); }, false},
  };
  for (const Case& c : cases) {
    r.Paint();
    ASSERT_FALSE(r.chart.Canvas().Dirty());
    c.set();
    EXPECT_EQ(r.chart.Canvas().Dirty(), c.repaints) << c.name;
  }
  EXPECT_FALSE(a.Automatic());
  EXPECT_FALSE(a.AutomaticMinimum());
}
