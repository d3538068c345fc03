#include "chart/series/Pointer.h"

#include <gtest/gtest.h>

#include "chart/ChartErrors.h"
#include "chart/canvas/Palette.h"
#include "tests/support/SeriesRig.h"

namespace {

using Strings = std::vector<std::string>;

struct ShapeCase {
  TSeriesPointerStyle style;
  Strings flat;  // the marker of one point at (200, 150), half sizes 4
};

// The box is 196..204 across and 146..154 down.
const ShapeCase kShapes[] = {
    {psRectangle, {"Rectangle 196,146,205,155"}},
    {psCircle, {"Ellipse 196,146,204,154"}},
    {psTriangle, {"Polygon 196,154,204,154,200,146"}},
    {psDownTriangle, {"Polygon 196,146,204,146,200,154"}},
    {psCross, {"MoveTo 200,146", "LineTo 200,155", "MoveTo 196,150", "LineTo 205,150"}},
    {psDiagCross, {"MoveTo 196,146", "LineTo 205,155", "MoveTo 204,146", "LineTo 195,155"}},
    {psStar,
     {"MoveTo 200,146", "LineTo 200,155", "MoveTo 196,150", "LineTo 205,150", "MoveTo 196,146",
      "LineTo 205,155", "MoveTo 204,146", "LineTo 195,155"}},
    {psDiamond, {"Polygon 196,150,200,146,204,150,200,154"}},
    {psSmallDot, {"SetPixel 200,150"}},
};

TEST(Pointer, EveryShapeFlat) {
  for (const ShapeCase& c : kShapes) {
    SeriesRig<TPointSeries> r;
    r.series->Pointer().SetStyle(c.style);
    r.series->AddPointXY(50, 0);
    EXPECT_EQ(r.Strings(), c.flat) << "style " << c.style;
  }
}

TEST(Pointer, PenAndBrushTakeThePointsColourUnlessTheyHaveTheirOwn) {
  SeriesRig<TPointSeries> r;
  r.series->AddPointXY(50, 0);
  auto calls = r.SeriesCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].brush.color, tk::clRed);  // the sentinel brush: the point's colour
  EXPECT_EQ(calls[0].pen.color, tk::clBlack);  // the pen has a colour of its own
  r.series->Pointer().Brush().SetColor(tk::clYellow);
  r.series->Pointer().Pen().SetColor(tk::clDefault);
  calls = r.SeriesCalls();
  EXPECT_EQ(calls[0].brush.color, tk::clYellow);
  EXPECT_EQ(calls[0].pen.color, tk::clRed);
}

TEST(Pointer, CrossesIgnoreTheBrush) {
  for (TSeriesPointerStyle style : {psCross, psDiagCross, psStar}) {
    SeriesRig<TPointSeries> r;
    r.series->Pointer().SetStyle(style);
    r.series->Pointer().Pen().SetColor(tk::clBlue);
    r.series->Pointer().Brush().SetColor(tk::clYellow);
    r.series->AddPointXY(50, 0, "", tk::clGreen);
    for (const auto& c : r.SeriesCalls()) {
      EXPECT_EQ(c.op == "MoveTo" || c.op == "LineTo", true) << c.ToString();
      if (c.op == "LineTo") {
        EXPECT_EQ(c.pen.color, tk::clGreen) << "style " << style;
      }
    }
  }
}

// In 3D the series has the front depth 0 and the back depth D: the front
// faces are the flat figures; the back reaches D to the right and up.
struct Shape3DCase {
  TSeriesPointerStyle style;
  bool draw3D;
  Strings ops;
};

TEST(Pointer, EveryShapeIn3D) {
  const Shape3DCase cases[] = {
      {psRectangle, true, {"Polygon", "Polygon", "Polygon"}},  // front, right side, top
      {psRectangle, false, {"Polygon"}},
      {psCircle, true, {"Ellipse"}},
      // a slot this shallow hides the pyramid's left and back: the front and the right side
      {psTriangle, true, {"Polygon", "Polygon"}},
      {psTriangle, false, {"Polygon"}},
      {psDownTriangle, true, {"Polygon", "Polygon"}},  // the front and the base on top
      {psDownTriangle, false, {"Polygon"}},
      {psCross, true, {"MoveTo", "LineTo", "MoveTo", "LineTo"}},
      {psDiagCross, true, {"MoveTo", "LineTo", "MoveTo", "LineTo"}},
      {psStar, true, {"MoveTo", "LineTo", "MoveTo", "LineTo", "MoveTo", "LineTo", "MoveTo", "LineTo"}},
      {psDiamond, true, {"Polygon"}},
      {psSmallDot, true, {"SetPixel"}},
  };
  for (const Shape3DCase& c : cases) {
    SeriesRig<TPointSeries> r;
    r.chart.SetView3D(true);
    r.series->Pointer().SetStyle(c.style);
    r.series->Pointer().SetDraw3D(c.draw3D);
    r.series->AddPointXY(50, 0);
    const auto calls = r.SeriesCalls();
    Strings ops;
    for (const auto& call : calls)
      ops.push_back(call.op);
    EXPECT_EQ(ops, c.ops) << "style " << c.style << " 3D " << c.draw3D;
    ASSERT_FALSE(calls.empty());
    const int x = r.series->XPixel(0), y = r.series->YPixel(0);
    const int D = r.series->BackDepth;
    ASSERT_EQ(r.series->FrontDepth, 0);
    ASSERT_GT(D, 0);
    const std::vector<int>& a = calls[0].args;
    switch (c.style) {
      case psRectangle:  // the front face at depth 0
        EXPECT_EQ(a, (std::vector<int>{x - 4, y - 4, x + 4, y - 4, x + 4, y + 4, x - 4, y + 4}));
        if (c.draw3D) {  // the right side reaches back by D: right and up
          EXPECT_EQ(calls[1].args, (std::vector<int>{x + 4, y - 4, x + 4 + D, y - 4 - D, x + 4 + D,
                                                     y + 4 - D, x + 4, y + 4}));
          EXPECT_EQ(calls[1].brush.color, DarkenColor(tk::clRed, 128));
        }
        break;
      case psCircle:
        EXPECT_EQ(a, (std::vector<int>{x - 4, y - 4, x + 4, y + 4}));
        break;
      case psTriangle:
        if (!c.draw3D) {
          EXPECT_EQ(a, (std::vector<int>{x - 4, y + 4, x + 4, y + 4, x, y - 4}));
        }
        break;
      case psDownTriangle:
        if (!c.draw3D) {
          EXPECT_EQ(a, (std::vector<int>{x - 4, y - 4, x + 4, y - 4, x, y + 4}));
        }
        break;
      case psCross:
        EXPECT_EQ(a, (std::vector<int>{x, y - 4}));
        EXPECT_EQ(calls[1].args, (std::vector<int>{x, y + 5}));
        break;
      case psDiamond:
        EXPECT_EQ(a, (std::vector<int>{x - 4, y, x, y - 4, x + 4, y, x, y + 4}));
        break;
      case psSmallDot:  // at the middle depth
        EXPECT_EQ(a, (std::vector<int>{x + r.series->MiddleDepth, y - r.series->MiddleDepth}));
        break;
      default:
        break;
    }
  }
}

TEST(Pointer, SizesMustBePositive) {
  TPointSeries s;
  TSeriesPointer& p = s.Pointer();
  for (int bad : {0, -3}) {
    try {
      p.SetHorizSize(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const ChartException& e) {
      EXPECT_STREQ(e.what(), "Pointer size must be greater than zero");
    }
    EXPECT_THROW(p.SetVertSize(bad), ChartException);
  }
  EXPECT_EQ(p.HorizSize(), 4);
  EXPECT_EQ(p.VertSize(), 4);
  p.SetHorizSize(1);
  EXPECT_EQ(p.HorizSize(), 1);
}

TEST(Pointer, Defaults) {
  TPointSeries s;
  const TSeriesPointer& p = s.Pointer();
  EXPECT_EQ(p.Brush().Color(), tk::clDefault);
  EXPECT_TRUE(p.Dark3D());
  EXPECT_TRUE(p.Draw3D());
  EXPECT_TRUE(p.InflateMargins());
  EXPECT_EQ(p.Style(), psRectangle);
  EXPECT_TRUE(p.Visible());
  EXPECT_FALSE(TLineSeries().Pointer().Visible());
  EXPECT_FALSE(TAreaSeries().Pointer().Visible());
}

struct MarginCase {
  bool visible, inflate;
  int h, v, expectH, expectV;
};

TEST(Pointer, MarginsForMarkersAtTheEnds) {
  const MarginCase cases[] = {
      {true, true, 4, 4, 5, 5},
      {true, true, 7, 2, 8, 3},
      {true, false, 4, 4, 0, 0},
      {false, true, 4, 4, 0, 0},
  };
  for (const MarginCase& c : cases) {
    TPointSeries s;
    s.Pointer().SetVisible(c.visible);
    s.Pointer().SetInflateMargins(c.inflate);
    s.Pointer().SetHorizSize(c.h);
    s.Pointer().SetVertSize(c.v);
    int left = -1, right = -1, top = -1, bottom = -1;
    s.HorizontalMargins(left, right);
    s.VerticalMargins(top, bottom);
    EXPECT_EQ(left, c.expectH);
    EXPECT_EQ(right, c.expectH);
    EXPECT_EQ(top, c.expectV);
    EXPECT_EQ(bottom, c.expectV);
  }
}

// ---------------------------------------------------------------- legend symbols

struct LegendCase {
  const char* name;
  Strings calls;
};

TEST(LegendSymbol, LinePointAndArea) {
  // the symbol box (0, 0, 9, 6), centre (4, 3)
  const LegendCase cases[] = {
      {"line", {"MoveTo 0,3", "LineTo 9,3"}},
      // a line through it: half sizes at most a third of 9 and of 6
      {"line+marker", {"MoveTo 0,3", "LineTo 9,3", "Rectangle 1,1,8,6"}},
      // no line: at most half plus one, so the marker keeps its size 4
      {"point", {"Rectangle 0,-1,9,8"}},
      {"area", {"Rectangle 0,0,9,6"}},
  };
  for (const LegendCase& c : cases) {
    const std::string name = c.name;
    SeriesRig<TLineSeries> lr;
    SeriesRig<TPointSeries> pr;
    SeriesRig<TAreaSeries> ar;
    ChartRig* rig = &lr;
    TCustomSeries* s = lr.series;
    if (name == "point") rig = &pr, s = pr.series;
    if (name == "area") rig = &ar, s = ar.series;
    if (name == "line+marker") s->Pointer().SetVisible(true);
    rig->surface.Clear();
    rig->chart.Canvas().AttachSurface(rig->surface);
    s->DrawLegendSymbol(-1, {0, 0, 9, 6});
    rig->chart.Canvas().DetachSurface();
    Strings got;
    for (const auto& call : rig->surface.Calls())
      got.push_back(call.ToString());
    EXPECT_EQ(got, c.calls) << name;
    if (name == "area" || name == "point") {  // filled in the series' colour
      EXPECT_EQ(rig->surface.Calls()[0].brush.color, tk::clRed);
      EXPECT_EQ(rig->surface.Calls()[0].brush.style, tk::bsSolid);
    } else {  // the line in the series' colour
      EXPECT_EQ(rig->surface.Calls()[0].pen.color, tk::clRed);
    }
  }
}

}  // namespace
