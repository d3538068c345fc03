// Bar and horizontal bar series on a flat chart drawn onto the recording
// surface. The upright rig's bottom axis runs over exactly 500 pixels (x 16
// to 516) and its left axis shows -69..69 on y 288..12, so a value v sits at
// y = 150 - 2v. The lying rig's left axis runs over 500 pixels (y 22 to 522)
// and its bottom axis shows -94..94 on x 12..388, so v sits at x = 200 + 2v.
// Bar positions below are worked out by hand from those two mappings.

#include "chart/series/BarSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chart/canvas/Canvas.h"
#include "chart/panel/SeriesTypes.h"
#include "tests/support/ChartRig.h"

namespace {

using Strings = std::vector<std::string>;

struct BarRig : ChartRig {
  explicit BarRig(bool upright = true) : ChartRig(upright ? 532 : 400, upright ? 300 : 544) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.SetAxisVisible(false);
    chart.SetBevelOuter(bvNone);
    chart.Legend().SetVisible(false);
    if (upright)
      chart.LeftAxis().SetLimits(-69, 69);
    else
      chart.BottomAxis().SetLimits(-94, 94);
  }
  template <typename S>
  S* Add(std::initializer_list<double> values, tk::TColor color = tk::clRed) {
    auto* s = new S;
    s->SetParentChart(&chart);
    s->SetSeriesColor(color);
    s->Marks().SetVisible(false);
    for (double v : values)
      s->AddPointValue(v);
    return s;
  }
  // what was drawn while clipped to the chart rectangle (the series, not the legend)
  std::vector<tk::TDrawCall> SeriesCalls() {
    Paint();
    std::vector<tk::TDrawCall> out;
    bool inside = false;
    for (const auto& c : surface.Calls()) {
      if (c.op == "IntersectClipRect" || c.op == "SelectClipPolygon")
        inside = true;
      else if (c.op == "RemoveClip")
        inside = false;
      else if (inside)
        out.push_back(c);
    }
    return out;
  }
  Strings Drawn() {
    Strings out;
    for (const auto& c : SeriesCalls())
      out.push_back(c.ToString());
    return out;
  }
};

// ---------------------------------------------------------------- thickness

struct SizeCase {
  const char* name;
  bool narrowChart;  // a 450-pixel bottom axis instead of 500
  int points;
  void (*configure)(BarRig&, TBarSeries&);
  int expected;
};

TEST(BarSeries, Thickness) {
  const SizeCase cases[] = {
      {"4 points on 500 pixels: slot 100, 70 %", false, 4, [](BarRig&, TBarSeries&) {}, 70},
      // 70 x 0.01 x 75 is 52.500000000000007: 53, then up to even
      {"slot 75 rounds the written product up", true, 5, [](BarRig&, TBarSeries&) {}, 54},
      {"no side margins: slot 125, 87.50000000000001 -> 88", false, 4,
       [](BarRig&, TBarSeries& s) { s.SetSideMargins(false); }, 88},
      {"a custom width is taken as it is", false, 4,
       [](BarRig&, TBarSeries& s) { s.SetCustomBarWidth(33); }, 33},
      {"auto size: 500 / (3 + 2 - 0)", false, 4,
       [](BarRig&, TBarSeries& s) { s.SetAutoBarSize(true); }, 70},
      {"a page of 9 points: slot 50", false, 4,
       [](BarRig& r, TBarSeries&) { r.chart.SetMaxPointsPerPage(9); }, 36},
      {"100 %", false, 4, [](BarRig&, TBarSeries& s) { s.SetBarWidthPercent(100); }, 100},
      {"side by side with a shorter series: 70 / 2 = 35, up to 36", false, 4,
       [](BarRig& r, TBarSeries&) {
         r.Add<TBarSeries>({1, 2});
       },
       36},
      {"a custom width beyond any screen is held to 2^20 pixels", false, 4,
       [](BarRig&, TBarSeries& s) { s.SetCustomBarWidth(2147483647); }, 1 << 20},
      {"a negative custom width makes no bar", false, 4,
       [](BarRig&, TBarSeries& s) { s.SetCustomBarWidth(-8); }, 0},
      {"a horizontal bar series is another class", false, 4,
       [](BarRig& r, TBarSeries&) {
         r.Add<THorizBarSeries>({1, 2});
       },
       70},
  };
  for (const SizeCase& c : cases) {
    BarRig r;
    if (c.narrowChart) r.chart.SetSize(478, 300);  // x 14 to 464
    auto* s = r.Add<TBarSeries>({});
    for (int i = 0; i < c.points; ++i)
      s->AddPointValue(10);
    c.configure(r, *s);
    r.Paint();
    EXPECT_EQ(s->BarSize(), c.expected) << c.name;
  }
}

// ---------------------------------------------------------------- positions

struct LayoutCase {
  const char* name;
  void (*build)(BarRig&);
  Strings expected;
};

TEST(BarSeries, LayoutsOfSeveralSeries) {
  const LayoutCase cases[] = {
      // margins of 70 put x 0..3 at 86, 206, 326 and 446; bars reach 35 either side
      {"one series",
       [](BarRig& r) {
         r.Add<TBarSeries>({10, 20, -15, 30});
       },
       {"Rectangle 51,130,121,150", "Rectangle 171,110,241,150", "Rectangle 291,150,361,180",
        "Rectangle 411,90,481,150"}},
      // thickness 36, margins 72: x 0..3 at 88, 207, 325, 444
      {"side by side: the first left of the position, the second right",
       [](BarRig& r) {
         r.Add<TBarSeries>({10, 10, 10, 10});
         r.Add<TBarSeries>({20, 20, 20, 20}, tk::clBlue);
       },
       {"Rectangle 52,130,88,150", "Rectangle 171,130,207,150", "Rectangle 289,130,325,150",
        "Rectangle 408,130,444,150", "Rectangle 88,110,124,150", "Rectangle 207,110,243,150",
        "Rectangle 325,110,361,150", "Rectangle 444,110,480,150"}},
      // 3 points: slot 125, thickness 88, x 0..2 at 104, 266, 428
      {"a null point leaves a gap",
       [](BarRig& r) {
         auto* s = r.Add<TBarSeries>({10});
         s->AddNullPoint();
         s->AddPointValue(30);
       },
       {"Rectangle 60,130,148,150", "Rectangle 384,90,472,150"}},
      // left axis 0..138 (y = 288 - 2v); 2 points: thickness 116, x 0 and 1 at 132 and 400
      {"stacked to 100 %: 1 and 3 make 0-25 and 25-100, 2 and 2 make 0-50 and 50-100",
       [](BarRig& r) {
         r.chart.LeftAxis().SetLimits(0, 138);
         r.Add<TBarSeries>({1, 2});
         r.Add<TBarSeries>({3, 2}, tk::clBlue)->SetMultiBar(mbStacked100);
       },
       {"Rectangle 74,238,190,288", "Rectangle 342,188,458,288", "Rectangle 74,88,190,238",
        "Rectangle 342,88,458,188"}},
      {"stacked: the second starts where the first ends",
       [](BarRig& r) {
         r.chart.LeftAxis().SetLimits(0, 138);
         r.Add<TBarSeries>({10, 20});
         r.Add<TBarSeries>({5, 30}, tk::clBlue)->SetMultiBar(mbStacked);
       },
       {"Rectangle 74,268,190,288", "Rectangle 342,248,458,288", "Rectangle 74,258,190,268",
        "Rectangle 342,188,458,248"}},
      {"overlapping bars keep one thickness",
       [](BarRig& r) {
         r.Add<TBarSeries>({10, 20});
         r.Add<TBarSeries>({5, 30}, tk::clBlue)->SetMultiBar(mbNone);
       },
       {"Rectangle 74,130,190,150", "Rectangle 342,110,458,150", "Rectangle 74,140,190,150",
        "Rectangle 342,90,458,150"}},
      {"offset by half the thickness; origin 5",
       [](BarRig& r) {
         auto* s = r.Add<TBarSeries>({10, 20});
         s->SetOffsetPercent(50);
         s->SetYOrigin(5);
       },
       {"Rectangle 132,130,248,140", "Rectangle 400,110,516,140"}},
      {"without the origin the bars rise from the bottom of the axis",
       [](BarRig& r) {
         r.Add<TBarSeries>({10, 20})->SetUseYOrigin(false);
       },
       {"Rectangle 74,130,190,288", "Rectangle 342,110,458,288"}},
      // 0..1 on 500 pixels puts x 4294967.2 at 2147483616; its bar (176 wide) stops at
      // the end of the int range instead of wrapping round to a negative right edge
      {"a bar at the far end of the pixel range",
       [](BarRig& r) {
         r.chart.BottomAxis().SetLimits(0, 1);
         auto* s = r.Add<TBarSeries>({});
         s->XValues().SetOrder(loNone);  // drawn though beyond the window
         s->AddPointXY(4294967.2, 10);
       },
       {"Rectangle 2147483528,130,2147483647,150"}},
      {"an inverted bottom axis draws the points right to left",
       [](BarRig& r) {
         r.chart.BottomAxis().SetInverted(true);
         r.Add<TBarSeries>({10, -15});
       },
       {"Rectangle 74,150,190,180", "Rectangle 342,130,458,150"}},
  };
  for (const LayoutCase& c : cases) {
    BarRig r;
    c.build(r);
    EXPECT_EQ(r.Drawn(), c.expected) << c.name;
  }
}

TEST(HorizBarSeries, PositionsAcrossTheVerticalAxis) {
  const LayoutCase cases[] = {
      // margins of 70 put y 0..3 at 452, 332, 212 and 92
      {"one series, values on x",
       [](BarRig& r) {
         r.Add<THorizBarSeries>({10, 20, -15, 30});
       },
       {"Rectangle 200,417,220,487", "Rectangle 200,297,240,367", "Rectangle 170,177,200,247",
        "Rectangle 200,57,260,127"}},
      // 2 points: slot 166, thickness 116 / 2 = 58, margins 116: y 0 and 1 at 406 and 138;
      // the first series lies below the position, the second above it
      {"side by side",
       [](BarRig& r) {
         r.Add<THorizBarSeries>({10, 10});
         r.Add<THorizBarSeries>({20, 20}, tk::clBlue);
       },
       {"Rectangle 200,406,220,464", "Rectangle 200,138,220,196", "Rectangle 200,348,240,406",
        "Rectangle 200,80,240,138"}},
  };
  for (const LayoutCase& c : cases) {
    BarRig r(false);
    c.build(r);
    EXPECT_EQ(r.Drawn(), c.expected) << c.name;
  }
}

// ---------------------------------------------------------------- styles, flat

struct StyleCase {
  TBarStyle style;
  Strings expected;  // bar 0 (10: 74..190, y 130..150) and bar 1 (-15: 342..458, y 150..180)
};

TEST(BarSeries, StylesFlat) {
  const StyleCase cases[] = {
      {bsRectangle, {"Rectangle 74,130,190,150", "Rectangle 342,150,458,180"}},
      {bsCilinder, {"Rectangle 74,130,190,150", "Rectangle 342,150,458,180"}},
      {bsPyramid, {"Polygon 74,150,132,130,190,150", "Polygon 342,180,400,150,458,180"}},
      {bsInvPyramid, {"Polygon 74,130,132,150,190,130", "Polygon 342,150,400,180,458,150"}},
      {bsEllipse, {"Ellipse 74,130,190,150", "Ellipse 342,180,458,150"}},
      // head 116 wide and 58 long, longer than the bars: the shaft has no length left
      {bsArrow,
       {"Polygon 161,150,103,150,103,150,74,150,132,130,190,150,161,150",
        "Polygon 429,180,371,180,371,180,342,180,400,150,458,180,429,180"}},
  };
  for (const StyleCase& c : cases) {
    BarRig r;
    r.Add<TBarSeries>({10, -15})->SetBarStyle(c.style);
    EXPECT_EQ(r.Drawn(), c.expected) << c.style;
  }
}

TEST(BarSeries, GradientFlat) {
  BarRig r;
  r.Add<TBarSeries>({10})->SetBarStyle(bsRectGradient);
  r.chart.BottomAxis().SetLimits(-1, 1);  // one point: x 266, thickness 176
  const auto calls = r.SeriesCalls();
  // 20 one-pixel bands from the bar colour at the bottom to white at the top, then the outline
  ASSERT_EQ(calls.size(), 21u);
  EXPECT_EQ(calls.front().ToString(), "FillRect 178,149,354,150");
  EXPECT_EQ(calls.front().brush.color, tk::clRed);
  EXPECT_EQ(calls[19].ToString(), "FillRect 178,130,354,131");
  EXPECT_EQ(calls[19].brush.color, tk::clWhite);
  EXPECT_EQ(calls.back().ToString(), "Rectangle 178,130,354,150");
  EXPECT_EQ(calls.back().brush.style, tk::bsClear);
}

TEST(BarSeries, ThinAndFlatBarsStillShow) {
  struct ThinCase {
    const char* name;
    double value;
    int penWidth;
    Strings expected;
    tk::TColor penColor;
    tk::TBrushStyle brush;
  };
  const ThinCase cases[] = {
      {"an ordinary bar", 10, 1, {"Rectangle 265,130,267,150"}, tk::clBlack, tk::bsSolid},
      {"thinner than the pen: all pen",
       10,
       3,
       {"Rectangle 265,130,267,150"},
       tk::clRed,
       tk::bsClear},
      {"no height: a line in the bar colour",
       0,
       1,
       {"MoveTo 265,150", "LineTo 267,150"},
       tk::clRed,
       tk::bsSolid},
  };
  for (const ThinCase& c : cases) {
    BarRig r;
    auto* s = r.Add<TBarSeries>({c.value});
    r.chart.BottomAxis().SetLimits(-1, 1);
    s->SetCustomBarWidth(2);  // 265 to 267 round x 0 at 266
    s->BarPen().SetWidth(c.penWidth);
    const auto calls = r.SeriesCalls();
    Strings got;
    for (const auto& call : calls)
      got.push_back(call.ToString());
    EXPECT_EQ(got, c.expected) << c.name;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().pen.color, c.penColor) << c.name;
    EXPECT_EQ(calls.back().brush.style, c.brush) << c.name;
  }
}

// ---------------------------------------------------------------- styles, 3D

// In 3D the bar's box goes to the canvas's solid for its style; the reference
// is that solid drawn by hand with the box worked out from the axes: across
// from l to h, along from the origin o to the value v, depth z0 to z1.
struct Box {
  int l, h, v, o, z0, z1;
};
using C = TZozCanvas3D;
struct Solid3DCase {
  TBarStyle style;
  bool upright;
  void (*reference)(C&, Box);
};

TEST(BarSeries, StylesIn3D) {
  const Solid3DCase cases[] = {
      {bsRectangle, true, [](C& c, Box b) { c.DrawBox(b.l, b.h, b.v, b.o, b.z0, b.z1, 1); }},
      {bsRectGradient, true, [](C& c, Box b) { c.DrawBox(b.l, b.h, b.v, b.o, b.z0, b.z1, 1); }},
      {bsPyramid, true, [](C& c, Box b) { c.DrawPyramid(1, b.l, b.v, b.h, b.o, b.z0, b.z1, 1); }},
      {bsInvPyramid, true,
       [](C& c, Box b) { c.DrawPyramid(1, b.l, b.o, b.h, b.v, b.z0, b.z1, 1); }},
      {bsCilinder, true, [](C& c, Box b) { c.DrawCylinder(1, b.l, b.v, b.h, b.o, b.z0, b.z1, 1); }},
      {bsEllipse, true,
       [](C& c, Box b) { c.DrawEllipseAtDepth(b.l, b.v, b.h, b.o, (b.z0 + b.z1) / 2); }},
      {bsArrow, true,
       [](C& c, Box b) {
         const int m = (b.l + b.h) / 2, w = b.h - b.l;
         c.DrawArrow(true, {m, b.o}, {m, b.v}, w, w / 2, (b.z0 + b.z1) / 2);
       }},
      {bsCilinder, false,
       [](C& c, Box b) { c.DrawCylinder(0, b.o, b.l, b.v, b.h, b.z0, b.z1, 1); }},
      {bsRectangle, false, [](C& c, Box b) { c.DrawBox(b.o, b.v, b.l, b.h, b.z0, b.z1, 1); }},
      {bsPyramid, false, [](C& c, Box b) { c.DrawPyramid(0, b.o, b.l, b.v, b.h, b.z0, b.z1, 1); }},
  };
  for (const Solid3DCase& c : cases) {
    BarRig r(c.upright);
    r.chart.SetView3D(true);
    r.chart.View3DOptions().SetOrthogonal(false);  // no front gradient: only the solid
    TCustomBarSeries* s = c.upright ? static_cast<TCustomBarSeries*>(r.Add<TBarSeries>({10, 20}))
                                    : r.Add<THorizBarSeries>({10, 20});
    s->SetBarStyle(c.style);
    const Strings drawn = r.Drawn();
    // point 1 (value 20): its category and value pixels from the axes
    TChartAxis& across = c.upright ? r.chart.BottomAxis() : r.chart.LeftAxis();
    TChartAxis& along = c.upright ? r.chart.LeftAxis() : r.chart.BottomAxis();
    const int t = s->BarSize(), low = across.ValueToPixel(1) - t / 2;
    tk::TRecordingSurface reference;
    r.chart.DrawingCanvas()->AttachSurface(reference);
    c.reference(*r.chart.DrawingCanvas(), {low, low + t, along.ValueToPixel(20),
                                           along.ValueToPixel(0), s->FrontDepth, s->BackDepth});
    Strings expected;
    for (const auto& call : reference.Calls())
      expected.push_back(call.ToString());
    ASSERT_TRUE(!expected.empty() && drawn.size() >= expected.size());
    EXPECT_EQ(Strings(drawn.end() - static_cast<long>(expected.size()), drawn.end()), expected)
        << c.style << (c.upright ? " upright" : " lying");
  }
}

TEST(BarSeries, GradientFrontFaceInAnOrthogonalView) {
  BarRig r;
  r.chart.SetView3D(true);  // orthogonal by default
  auto* s = r.Add<TBarSeries>({10});
  r.chart.BottomAxis().SetLimits(-1, 1);
  s->SetBarStyle(bsRectGradient);
  s->BarPen().SetWidth(2);
  const auto calls = r.SeriesCalls();
  // after the box, bands fill its front face inside the 2-pixel outline
  const tk::TRect b = s->BarBounds();
  TZozCanvas3D& cv = *r.chart.DrawingCanvas();
  const tk::TPoint a = cv.ProjectPoint(b.left, b.top, s->FrontDepth);
  const tk::TPoint z = cv.ProjectPoint(b.right, b.bottom, s->FrontDepth);
  ASSERT_FALSE(calls.empty());
  const auto& last = calls.back();
  EXPECT_EQ(last.op, "FillRect");
  EXPECT_EQ(last.args, (std::vector<int>{a.x + 1, a.y + 1, z.x - 1, a.y + 2}));  // the top band
  EXPECT_EQ(last.brush.color, tk::clWhite);
}

// ---------------------------------------------------------------- marks

TEST(BarSeries, MarksAboveRisingBarsAndBelowFallingOnes) {
  BarRig r;
  auto* s = r.Add<TBarSeries>({10, -15});
  s->Marks().SetVisible(true);
  r.Paint();
  struct MarkCase {
    int index;
    tk::TPoint start, end;
    int boxTop;  // the box's top, from its height h
  };
  const auto* p0 = s->Marks().Positions().Position(0);
  const auto* p1 = s->Marks().Positions().Position(1);
  ASSERT_TRUE(p0 && p1);
  const int h = p0->BoxHeight;
  const MarkCase cases[] = {
      {0, {132, 130}, {132, 110}, 110 - h + 1},  // the box's bottom on the arrow's end
      {1, {400, 180}, {400, 200}, 201},          // the box's top just under it
  };
  for (const MarkCase& c : cases) {
    const auto* p = s->Marks().Positions().Position(c.index);
    EXPECT_EQ(p->ArrowStart, c.start) << c.index;
    EXPECT_EQ(p->ArrowEnd, c.end) << c.index;
    EXPECT_EQ(p->BoxTopLeft.y, c.boxTop) << c.index;
    EXPECT_EQ(p->BoxTopLeft.x, c.start.x - p->BoxWidth / 2) << c.index;
  }
}

TEST(BarSeries, ValueMarginsMakeRoomForMarks) {
  // the recording font is 13 high; arrow 20; frame 1 on each side: 35, plus 1
  struct MarginCase {
    std::initializer_list<double> values;
    bool useOrigin, inverted;
    int top, bottom;
  };
  const MarginCase cases[] = {
      {{10, 20}, true, false, 36, 0}, {{-5, -6}, true, false, 0, 36},
      {{-5, 6}, true, false, 36, 36}, {{-5, -6}, false, false, 36, 0},
      {{10, 20}, true, true, 0, 36},
  };
  for (const MarginCase& c : cases) {
    BarRig r;
    auto* s = r.Add<TBarSeries>(c.values);
    s->Marks().SetVisible(true);
    s->SetUseYOrigin(c.useOrigin);
    r.chart.LeftAxis().SetInverted(c.inverted);
    int top = -1, bottom = -1;
    // asked while the chart paints, when the marks' font can be measured
    s->AfterDrawValues = [&](TChartSeries*) { s->VerticalMargins(top, bottom); };
    r.Paint();
    EXPECT_EQ(top, c.top) << c.values.begin()[0] << c.useOrigin << c.inverted;
    EXPECT_EQ(bottom, c.bottom);
  }
}

// The marks of the longest bars, rising or falling, upright or lying, stay
// inside the chart rectangle on an automatic value axis: the room asked for
// is as long as the box along the value axis (its height for upright bars,
// its width for lying ones).
TEST(BarSeries, MarkBoxesOfTheLongestBarsStayInsideTheChart) {
  struct Case {
    bool upright;
    std::vector<double> values;
  };
  const std::vector<Case> cases = {
      {true, {10, 20, 15}},
      {true, {-10, -20, 5}},
      {false, {10, 20, 15}},
      {false, {724, 699, 407}},
      {false, {1000000, 250000}},  // "1,000,000": wider than any font height
      {false, {-1000000, -20, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.upright ? "upright " : "lying ") + std::to_string(c.values[0]));
    BarRig r(c.upright);
    TChartSeries* s = nullptr;
    if (c.upright)
      s = r.Add<TBarSeries>({});
    else
      s = r.Add<THorizBarSeries>({});
    for (double v : c.values) s->AddPointValue(v);
    s->Marks().SetVisible(true);
    s->Marks().SetStyle(smsValue);
    (c.upright ? r.chart.LeftAxis() : r.chart.BottomAxis()).SetAutomatic(true);
    r.Paint();
    r.ExpectMarkBoxesInsideTheChart(*s, c.values.size());
  }
}

// ---------------------------------------------------------------- ranges and order

TEST(BarSeries, ValueRangeOfTheModes) {
  struct RangeCase {
    TMultiBar mode;
    bool useOrigin;
    double lowA, highA, lowB, highB;
  };
  // A is 1, 5 and B is 3, 2 (origin 10 when used, else the values)
  const RangeCase cases[] = {
      {mbSide, false, 1, 5, 2, 3},
      {mbSide, true, 1, 10, 2, 10},
      {mbStacked, false, 1, 5, 2, 7},
      {mbStacked100, false, 0, 100, 0, 100},
  };
  for (const RangeCase& c : cases) {
    BarRig r;
    auto* a = r.Add<TBarSeries>({1, 5});
    auto* b = r.Add<TBarSeries>({3, 2});
    a->SetMultiBar(c.mode);
    for (auto* s : {a, b}) {
      s->SetUseYOrigin(c.useOrigin);
      s->SetYOrigin(10);
    }
    EXPECT_EQ(a->LowestY(), c.lowA) << c.mode;
    EXPECT_EQ(a->HighestY(), c.highA) << c.mode;
    EXPECT_EQ(b->LowestY(), c.lowB) << c.mode;
    EXPECT_EQ(b->HighestY(), c.highB) << c.mode;
  }
}

TEST(BarSeries, DrawingOrderIn3D) {
  struct OrderCase {
    TMultiBar mode;
    bool bottomInverted, leftInverted;
    Strings expected;
  };
  const OrderCase cases[] = {
      {mbStacked, false, false, {"A0", "B0", "A1", "B1"}},
      {mbStacked, false, true, {"B0", "A0", "B1", "A1"}},
      {mbStacked, true, false, {"A1", "B1", "A0", "B0"}},
      {mbSide, false, true, {"A0", "B0", "A1", "B1"}},
  };
  for (const OrderCase& c : cases) {
    BarRig r;
    r.chart.SetView3D(true);
    r.chart.BottomAxis().SetInverted(c.bottomInverted);
    r.chart.LeftAxis().SetInverted(c.leftInverted);
    Strings order;
    for (const char* name : {"A", "B"}) {
      auto* s = r.Add<TBarSeries>({1, 2});
      s->SetMultiBar(c.mode);
      s->OnGetBarStyle = [&order, name](TCustomBarSeries*, int i, TBarStyle&) {
        order.push_back(name + std::to_string(i));
      };
    }
    r.Paint();
    EXPECT_EQ(order, c.expected) << c.mode << c.bottomInverted << c.leftInverted;
  }
}

TEST(BarSeries, SharedSettingsAndDepthSlot) {
  BarRig r;
  r.chart.SetView3D(true);
  auto* a = r.Add<TBarSeries>({1});
  auto* b = r.Add<TBarSeries>({2});
  auto* h = r.Add<THorizBarSeries>({3});
  b->SetMultiBar(mbStacked);
  a->SetSideMargins(false);
  EXPECT_EQ(a->MultiBar(), mbStacked);
  EXPECT_FALSE(b->SideMargins());
  EXPECT_EQ(h->MultiBar(), mbSide);  // another class keeps its own
  EXPECT_TRUE(h->SideMargins());
  r.Paint();
  EXPECT_EQ(a->ZOrder(), b->ZOrder());
  EXPECT_EQ(a->FrontDepth, b->FrontDepth);
  a->SetMultiBar(mbNone);
  r.Paint();
  EXPECT_NE(a->ZOrder(), b->ZOrder());
}

// ---------------------------------------------------------------- the mouse

TEST(BarSeries, PointAtPixelByStyle) {
  struct HitCase {
    TBarStyle style;
    int x, y, expected;
  };
  // bar 0: 74..190 by 130..150 (tip or ends at x 132); bar 1: 342..458 by 150..180
  const HitCase cases[] = {
      {bsRectangle, 132, 140, 0},    {bsRectangle, 132, 125, -1}, {bsRectangle, 73, 140, -1},
      {bsRectangle, 400, 170, 1},    {bsRectangle, 400, 145, -1}, {bsPyramid, 132, 135, 0},
      {bsPyramid, 80, 132, -1},      {bsPyramid, 400, 170, 1},    {bsPyramid, 345, 152, -1},
      {bsInvPyramid, 90, 132, 0},    {bsInvPyramid, 80, 148, -1}, {bsEllipse, 132, 140, 0},
      {bsEllipse, 76, 131, -1},      {bsCilinder, 76, 131, 0},    {bsArrow, 76, 131, 0},
      {bsRectGradient, 189, 149, 0},
  };
  for (const HitCase& c : cases) {
    BarRig r;
    auto* s = r.Add<TBarSeries>({10, -15});
    s->SetBarStyle(c.style);
    r.Paint();
    EXPECT_EQ(s->PointAtPixel(c.x, c.y), c.expected) << c.style << " " << c.x << "," << c.y;
  }
  BarRig lying(false);
  auto* h = lying.Add<THorizBarSeries>({10, 20, -15, 30});
  lying.Paint();
  EXPECT_EQ(h->PointAtPixel(210, 450), 0);  // 200..220 by 417..487
  EXPECT_EQ(h->PointAtPixel(185, 200), 2);
  EXPECT_EQ(h->PointAtPixel(230, 450), -1);
  h->SetBarStyle(bsPyramid);  // base on the left, tip at the right end
  EXPECT_EQ(h->PointAtPixel(202, 440), 0);
  EXPECT_EQ(h->PointAtPixel(218, 420), -1);
}

TEST(BarSeries, PointAtPixelIn3DAtTheFrontFace) {
  BarRig r;
  r.chart.SetView3D(true);
  auto* s = r.Add<TBarSeries>({10, 20});
  r.Paint();
  const tk::TRect b = s->BarBounds();  // the last bar drawn, point 1
  const tk::TPoint p = r.chart.DrawingCanvas()->ProjectPoint((b.left + b.right) / 2,
                                                             (b.top + b.bottom) / 2, s->FrontDepth);
  EXPECT_EQ(s->PointAtPixel(p.x, p.y), 1);
}

// ---------------------------------------------------------------- settings

TEST(BarSeries, BadPercentsRaiseAndKeepTheOldValue) {
  struct BadCase {
    bool width;  // BarWidthPercent, else OffsetPercent
    int good, bad;
  };
  const BadCase cases[] = {{true, 40, 0}, {true, 100, 101}, {false, -100, -101}, {false, 100, 101}};
  for (const BadCase& c : cases) {
    TBarSeries s;
    auto set = [&](int v) { c.width ? s.SetBarWidthPercent(v) : s.SetOffsetPercent(v); };
    set(c.good);
    try {
      set(c.bad);
      ADD_FAILURE() << "no error for " << c.bad;
    } catch (const BarException& e) {
      EXPECT_STREQ(e.what(), c.width ? "Bar Width Percent must be between 1 and 100"
                                     : "Bar Offset Percent must be between -100% and 100%");
    }
    EXPECT_EQ(c.width ? s.BarWidthPercent() : s.OffsetPercent(), c.good);
  }
}

TEST(BarSeries, DefaultsRegistryAndSamples) {
  // a new bar series shows its marks well above the bars, and keeps its points in order
  TBarSeries b;
  EXPECT_TRUE(b.Marks().Visible());
  EXPECT_EQ(b.Marks().ArrowLength(), 20);
  EXPECT_EQ(b.YValues().Name(), "Bar");
  EXPECT_EQ(b.YValues().Order(), loNone);
  THorizBarSeries h;
  EXPECT_EQ(&h.MandatoryList(), &h.XValues());
  EXPECT_EQ(h.XValues().Name(), "Bar");
  EXPECT_EQ(h.XValues().Order(), loNone);  // points keep the order they came in
  // registered right after the line series, on the standard page
  const auto& types = SeriesTypes();
  const auto line = std::find_if(types.begin(), types.end(),
                                 [](const TZozSeriesType& t) { return t.Description == "Line"; });
  ASSERT_TRUE(line + 2 < types.end());
  EXPECT_EQ(line[1].Description, "Bar");
  EXPECT_EQ(line[1].SeriesClass, "TBarSeries");
  EXPECT_EQ(line[2].Description, "Horiz. Bar");
  EXPECT_EQ(line[2].GalleryPage, "Standard");
  EXPECT_EQ(line[2].GallerySeriesCount, 2);
  // six sample values, the bar values on the value axis
  auto made = CreateSeriesByClassName("THorizBarSeries");
  made->FillSampleValues(made->SampleCount());
  ASSERT_EQ(made->PointCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(made->YValueAt(i), i);
    EXPECT_GT(made->XValueAt(i), 0);
  }
}

TEST(BarSeries, LegendSymbolTakesTheBarBrush) {
  BarRig r;
  r.chart.Legend().SetVisible(true);
  auto* s = r.Add<TBarSeries>({1, 2});
  s->BarBrush().SetStyle(tk::bsCross);
  s->BarBrush().SetColor(tk::clYellow);
  r.chart.Legend().SetLegendStyle(lsSeries);
  r.Paint();
  int symbols = 0;
  for (const auto& c : r.surface.Calls())
    if (c.op == "Rectangle" && c.brush.style == tk::bsCross) {
      ++symbols;
      EXPECT_EQ(c.brush.color, tk::clRed);
      EXPECT_EQ(c.backColor, tk::clYellow);
    }
  EXPECT_EQ(symbols, 3);  // the two bars and the one legend box
}

}  // namespace
