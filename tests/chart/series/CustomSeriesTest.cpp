#include "chart/series/CustomSeries.h"

#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "chart/canvas/Palette.h"
#include "chart/panel/SeriesTypes.h"
#include "tests/support/SeriesRig.h"
#include "toolkit/QtSurface.h"
#include "tests/support/RedPixels.h"

namespace {

using Strings = std::vector<std::string>;

struct Pt {
  double x, y;
  bool null = false;
};

template <typename S>
void AddAll(S* s, std::initializer_list<Pt> points) {
  for (const Pt& p : points)
    if (p.null)
      s->AddNullPointXY(p.x, p.y);
    else
      s->AddPointXY(p.x, p.y);
}

// ---------------------------------------------------------------- lines, flat

struct LineCase {
  const char* name;
  std::initializer_list<Pt> points;
  bool stairs, inverted, unordered;
  Strings expected;
};

TEST(LineSeries, FlatSegments) {
  const LineCase cases[] = {
      {"one point draws no line", {{50, 0}}, false, false, false, {}},
      {"straight", {{0, 0}, {10, 5}}, false, false, false, {"MoveTo 12,150", "LineTo 50,12"}},
      {"stairs: across, then up",
       {{0, 0}, {10, 5}},
       true,
       false,
       false,
       {"MoveTo 12,150", "LineTo 50,150", "LineTo 50,12"}},
      {"inverted stairs: up, then across",
       {{0, 0}, {10, 5}},
       true,
       true,
       false,
       {"MoveTo 12,150", "LineTo 12,12", "LineTo 50,12"}},
      {"a null point breaks the line",
       {{0, 0}, {10, 1}, {20, 2, true}, {30, 1}, {40, 0}},
       false,
       false,
       false,
       {"MoveTo 12,150", "LineTo 50,122", "MoveTo 125,122", "LineTo 162,150"}},
      {"a pixel y beyond 32766 is skipped and not joined",
       {{0, 0}, {10, 1}, {20, -2000}, {30, 1}},
       false,
       false,
       false,
       {"MoveTo 12,150", "LineTo 50,122", "MoveTo 50,122", "LineTo 125,122"}},
      {"a pixel x of 40000 is skipped and not joined",
       {{0, 0}, {10635, 1}, {10, 1}},
       false,
       false,
       true,
       {"MoveTo 12,150", "LineTo 50,122"}},
  };
  for (const LineCase& c : cases) {
    SeriesRig<TLineSeries> r;
    if (c.unordered) r.series->XValues().SetOrder(loNone);
    r.series->SetStairs(c.stairs);
    r.series->SetInvertedStairs(c.inverted);
    AddAll(r.series, c.points);
    EXPECT_EQ(r.Strings(), c.expected) << c.name;
  }
}

TEST(LineSeries, SegmentsInThePointsColour) {
  SeriesRig<TLineSeries> r;
  r.series->LinePen().SetColor(tk::clBlue);
  r.series->LinePen().SetWidth(2);
  r.series->AddPointXY(0, 0);
  r.series->AddPointXY(10, 5, "", tk::clGreen);
  const auto calls = r.SeriesCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].pen.color, tk::clGreen);  // the colour of the point it ends at
  EXPECT_EQ(calls[1].pen.width, 2);
}

struct LeadInCase {
  bool stairs, nullBefore;
  Strings expected;
};

TEST(LineSeries, TheFirstVisiblePointIsEnteredFromTheEdge) {
  // the bottom axis shows 20..100: (40, 4) is (106, 40); the line from (0, 0)
  // crosses the left edge (x 20) at y 2, the pixel 95
  const LeadInCase cases[] = {
      {false, false, {"MoveTo 12,95", "LineTo 106,40"}},
      {true, false, {"MoveTo 12,150", "LineTo 106,150", "LineTo 106,40"}},
      {false, true, {}},
  };
  for (const LeadInCase& c : cases) {
    SeriesRig<TLineSeries> r;
    r.chart.BottomAxis().SetLimits(20, 100);
    r.series->SetStairs(c.stairs);
    if (c.nullBefore)
      r.series->AddNullPointXY(0, 0);
    else
      r.series->AddPointXY(0, 0);
    r.series->AddPointXY(40, 4);
    EXPECT_EQ(r.Strings(), c.expected) << c.stairs << c.nullBefore;
  }
}

// ---------------------------------------------------------------- markers

struct MarkerCase {
  const char* name;
  std::initializer_list<Pt> points;
  Strings expected;
};

TEST(PointSeries, Markers) {
  const MarkerCase cases[] = {
      {"one marker a point",
       {{0, 0}, {10, 5}, {50, 0}},
       {"Rectangle 8,146,17,155", "Rectangle 46,8,55,17", "Rectangle 196,146,205,155"}},
      {"a single point", {{50, 0}}, {"Rectangle 196,146,205,155"}},
      // the marker before a null point stays; the null point has none
      {"null in the middle",
       {{0, 0}, {10, 5, true}, {50, 0}},
       {"Rectangle 8,146,17,155", "Rectangle 196,146,205,155"}},
      // two points on one pixel still show their markers
      {"same pixel",
       {{50, 0}, {50.01, 0}},
       {"Rectangle 196,146,205,155", "Rectangle 196,146,205,155"}},
  };
  for (const MarkerCase& c : cases) {
    SeriesRig<TPointSeries> r;
    AddAll(r.series, c.points);
    EXPECT_EQ(r.Strings(), c.expected) << c.name;
  }
}

TEST(LineSeries, MarkersAfterTheLineAndStylePerPoint) {
  SeriesRig<TLineSeries> r;
  r.series->Pointer().SetVisible(true);
  r.series->OnGetPointerStyle = [](TCustomSeries*, int index) {
    return index == 1 ? psCircle : psRectangle;
  };
  AddAll(r.series, {{0, 0}, {10, 5}});
  EXPECT_EQ(r.Strings(), (Strings{"MoveTo 12,150", "LineTo 50,12", "Rectangle 8,146,17,155",
                                  "Ellipse 46,8,54,16"}));
}

// ---------------------------------------------------------------- areas

struct AreaCase {
  const char* name;
  bool stairs, inverted;
  Strings expected;
};

TEST(AreaSeries, DownToTheBottomOfTheAxis) {
  // the left axis ends at y 288
  const AreaCase cases[] = {
      {"quad", false, false, {"Polygon 12,288,12,150,50,12,50,288"}},
      {"stairs at the earlier height", true, false, {"Polygon 12,150,51,150,51,288,12,288"}},
      {"inverted stairs at the later height", true, true, {"Polygon 12,12,51,12,51,288,12,288"}},
  };
  for (const AreaCase& c : cases) {
    SeriesRig<TAreaSeries> r;
    r.series->SetStairs(c.stairs);
    r.series->SetInvertedStairs(c.inverted);
    AddAll(r.series, {{0, 0}, {10, 5}});
    const auto calls = r.SeriesCalls();
    Strings got;
    for (const auto& call : calls)
      got.push_back(call.ToString());
    EXPECT_EQ(got, c.expected) << c.name;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].brush.color, tk::clRed);
    EXPECT_EQ(calls[0].brush.style, tk::bsSolid);
    EXPECT_EQ(calls[0].pen.color, tk::clBlack);  // the area lines pen's own colour
  }
}

TEST(AreaSeries, AreaColourAndHatch) {
  SeriesRig<TAreaSeries> r;
  r.series->SetAreaColor(tk::clBlue);
  r.series->SetAreaBrush(tk::bsCross);
  r.series->AreaLinesPen().SetColor(tk::clDefault);
  AddAll(r.series, {{0, 0}, {10, 5}});
  const auto calls = r.SeriesCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].brush.color, tk::clBlue);
  EXPECT_EQ(calls[0].brush.style, tk::bsCross);
  EXPECT_EQ(calls[0].backMode, tk::OPAQUE);
  EXPECT_EQ(calls[0].pen.color, tk::clRed);  // a sentinel pen takes the point's colour
}

TEST(AreaSeries, StackedOnTheSeriesBefore) {
  SeriesRig<TAreaSeries> r;
  auto* b = new TAreaSeries;
  b->SetParentChart(&r.chart);
  b->SetSeriesColor(tk::clBlue);
  AddAll(r.series, {{0, 1}, {10, 1}});
  AddAll(b, {{0, 3}, {10, 3}});
  r.series->SetMultiArea(maStacked);
  EXPECT_EQ(b->MultiArea(), maStacked);  // one setting for the chart's areas
  // the first from 0 (pixel 150) up to 1 (122); the second from 1 up to 4 (40)
  EXPECT_EQ(r.Strings(), (Strings{"Polygon 12,150,12,122,50,122,50,150",
                                  "Polygon 12,122,12,40,50,40,50,122"}));
  EXPECT_EQ(b->HighestY(), 4);
  EXPECT_EQ(r.series->HighestY(), 1);
}

TEST(AreaSeries, StackedToAHundredPercent) {
  SeriesRig<TAreaSeries> r;
  r.chart.LeftAxis().SetLimits(0, 100);  // 2.76 pixels a percent, 0 at 288
  auto* b = new TAreaSeries;
  b->SetParentChart(&r.chart);
  AddAll(r.series, {{0, 1}, {10, 0}});
  AddAll(b, {{0, 3}, {10, 0}});
  b->SetMultiArea(maStacked100);
  r.Paint();
  EXPECT_EQ(r.series->YPixel(0), 219);  // 25 %
  EXPECT_EQ(b->YPixel(0), 12);          // 100 %
  EXPECT_EQ(b->BottomPos, 288);         // at index 1 everything is 0: 0 %, not the panel's top
  EXPECT_EQ(b->YPixel(1), 288);
  EXPECT_EQ(r.series->HighestY(), 100);
  EXPECT_EQ(r.series->LowestY(), 0);
  r.series->SetMultiArea(maNone);
  EXPECT_EQ(b->MultiArea(), maNone);
  EXPECT_EQ(b->HighestY(), 3);
}

TEST(AreaSeries, StackedAreasShareOneDepthSlot) {
  SeriesRig<TAreaSeries> r;
  r.chart.SetView3D(true);
  auto* line = new TLineSeries;
  line->SetParentChart(&r.chart);
  auto* b = new TAreaSeries;
  b->SetParentChart(&r.chart);
  for (TChartSeries* s : {static_cast<TChartSeries*>(r.series), static_cast<TChartSeries*>(line),
                          static_cast<TChartSeries*>(b)})
    AddAll(s, {{0, 1}, {10, 2}});
  r.Paint();
  EXPECT_NE(b->ZOrder(), r.series->ZOrder());
  r.series->SetMultiArea(maStacked);
  r.Paint();
  EXPECT_EQ(b->ZOrder(), r.series->ZOrder());
  EXPECT_NE(line->ZOrder(), r.series->ZOrder());
}

// ---------------------------------------------------------------- 3D ribbons

struct RibbonCase {
  const char* name;
  std::initializer_list<Pt> points;
  int lineHeight;
  bool dark, stairs;
};

TEST(LineSeries, RibbonFacesIn3D) {
  const RibbonCase cases[] = {
      {"flat top only", {{0, 0}, {50, 1}}, 0, true, false},
      {"with height", {{0, 0}, {50, 1}}, 5, true, false},
      {"steep: underside, shaded", {{0, -5}, {10, 5}}, 5, true, false},
      {"steep without shading", {{0, -5}, {10, 5}}, 5, false, false},
      {"stairs", {{0, 0}, {10, 5}}, 0, true, true},
  };
  for (const RibbonCase& c : cases) {
    SeriesRig<TLineSeries> r;
    r.chart.SetView3D(true);
    r.series->SetLineHeight(c.lineHeight);
    r.series->SetDark3D(c.dark);
    r.series->SetStairs(c.stairs);
    AddAll(r.series, c.points);
    const auto calls = r.SeriesCalls();
    const int D = r.series->BackDepth;
    ASSERT_GT(D, 0);
    const tk::TPoint p{r.series->XPixel(0), r.series->YPixel(0)};
    const tk::TPoint q{r.series->XPixel(1), r.series->YPixel(1)};
    // orthogonal projection: depth z goes z to the right and z up
    auto plane = [&](tk::TPoint a, tk::TPoint b) {
      return std::vector<int>{a.x, a.y, b.x, b.y, b.x + D, b.y - D, a.x + D, a.y - D};
    };
    const int h = c.lineHeight;
    std::vector<std::vector<int>> faces;
    std::vector<tk::TColor> colours;
    const tk::TColor red = tk::clRed, dark = DarkenColor(tk::clRed, 64);
    const bool steep = c.dark && static_cast<double>(p.y - q.y) / (q.x - p.x) > 1;
    if (c.stairs) {
      faces = {plane(p, {q.x, p.y}), plane({q.x, p.y}, q)};
      colours = {red, dark};
    } else {
      if (h > 0) {
        faces.push_back({q.x, q.y, p.x, p.y, p.x, p.y + h, q.x, q.y + h});  // front
        faces.push_back(plane(q, {q.x, q.y + h}));                          // end
        colours = {red, red};
      }
      const int down = steep ? h : 0;
      faces.push_back(plane({p.x, p.y + down}, {q.x, q.y + down}));
      colours.push_back(steep ? dark : red);
    }
    ASSERT_EQ(calls.size(), faces.size()) << c.name;
    for (size_t k = 0; k < calls.size(); ++k) {
      EXPECT_EQ(calls[k].op, "Polygon") << c.name;
      EXPECT_EQ(calls[k].args, faces[k]) << c.name << " face " << k;
      EXPECT_EQ(calls[k].brush.color, colours[k]) << c.name << " face " << k;
    }
  }
}

TEST(LineSeries, AClearLineBrushDrawsNothingIn3D) {
  SeriesRig<TLineSeries> r;
  r.chart.SetView3D(true);
  r.series->SetLineBrush(tk::bsClear);
  AddAll(r.series, {{0, 0}, {10, 5}});
  EXPECT_TRUE(r.SeriesCalls().empty());
}

TEST(AreaSeries, In3DTheTopAndTheEnd) {
  SeriesRig<TAreaSeries> r;
  r.chart.SetView3D(true);
  AddAll(r.series, {{0, 0}, {10, 5}});
  const auto calls = r.SeriesCalls();
  Strings ops;
  for (const auto& c : calls)
    ops.push_back(c.op);
  // the top face, the end plane at the last point, the front quad
  EXPECT_EQ(ops, (Strings{"Polygon", "Polygon", "Polygon"}));
  const int bottom = r.chart.LeftAxis().EndPixel;
  const tk::TPoint p{r.series->XPixel(0), r.series->YPixel(0)},
      q{r.series->XPixel(1), r.series->YPixel(1)};
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2].args, (std::vector<int>{p.x, bottom, p.x, p.y, q.x, q.y, q.x, bottom}));
}

// ---------------------------------------------------------------- the mouse

struct HitCase {
  const char* name;
  int x, y, expected;
};

TEST(CustomSeries, PointAtPixel) {
  // (0, 0), (10, 5), (50, 0) are the pixels (12, 150), (50, 12), (200, 150)
  const HitCase lineCases[] = {
      {"on the first point", 12, 150, 0},
      {"half way up the first segment", 31, 81, 0},
      {"on the second segment", 125, 81, 1},
      {"off the line", 125, 200, -1},
  };
  SeriesRig<TLineSeries> line;
  AddAll(line.series, {{0, 0}, {10, 5}, {50, 0}});
  line.Paint();
  for (const HitCase& c : lineCases)
    EXPECT_EQ(line.series->PointAtPixel(c.x, c.y), c.expected) << c.name;

  const HitCase stairCases[] = {
      {"along the step", 40, 150, 0},
      {"up the riser", 50, 100, 0},
      {"where the straight line would be", 31, 81, -1},
  };
  line.series->SetStairs(true);
  for (const HitCase& c : stairCases)
    EXPECT_EQ(line.series->PointAtPixel(c.x, c.y), c.expected) << c.name;

  const HitCase pointCases[] = {
      {"inside the marker", 15, 152, 0},
      {"the marker's corner", 46, 16, 1},
      {"no line to click", 31, 81, -1},
  };
  SeriesRig<TPointSeries> points;
  AddAll(points.series, {{0, 0}, {10, 5}});
  points.Paint();
  for (const HitCase& c : pointCases)
    EXPECT_EQ(points.series->PointAtPixel(c.x, c.y), c.expected) << c.name;

  SeriesRig<TAreaSeries> area;
  AddAll(area.series, {{0, 0}, {10, 5}});
  area.Paint();
  EXPECT_EQ(area.series->PointAtPixel(30, 200), 0);  // inside the filled area
  EXPECT_EQ(area.series->PointAtPixel(100, 200), -1);

  SeriesRig<TLineSeries> broken;
  AddAll(broken.series, {{0, 0}, {10, 5, true}, {50, 0}});
  broken.Paint();
  EXPECT_EQ(broken.series->PointAtPixel(31, 81), -1);  // no line runs to a null point
  EXPECT_EQ(TLineSeries().PointAtPixel(0, 0), -1);
}

TEST(CustomSeries, ClickOnAMarker) {
  SeriesRig<TPointSeries> r;
  AddAll(r.series, {{0, 0}, {10, 5}});
  r.Paint();
  int clicked = -1, clicks = 0;
  r.series->OnClickPointer = [&](TCustomSeries*, int index, int, int) { clicked = index, ++clicks; };
  EXPECT_TRUE(r.series->HandleClick(1, tk::mbLeft, {}, 50, 12));
  EXPECT_EQ(clicked, 1);
  EXPECT_FALSE(r.series->HandleClick(1, tk::mbLeft, {}, 150, 150));  // off its marker
  EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------- types

TEST(CustomSeries, TypesRegistryAndCopies) {
  struct TypeCase {
    const char* className;
    const char* description;
    bool line, area, marker, singlePoint;
  };
  const TypeCase cases[] = {
      {"TLineSeries", "Line", true, false, false, false},
      {"TPointSeries", "Point", false, false, true, true},
      {"TAreaSeries", "Area", true, true, false, false},
  };
  for (const TypeCase& c : cases) {
    const auto& types = SeriesTypes();
    const auto it = std::find_if(types.begin(), types.end(), [&](const TZozSeriesType& t) {
      return t.SeriesClass == c.className;
    });
    ASSERT_NE(it, types.end()) << c.className;
    EXPECT_EQ(it->Description, c.description);
    EXPECT_EQ(it->GalleryPage, "Standard");
    auto made = CreateSeriesByClassName(c.className);
    auto* s = dynamic_cast<TCustomSeries*>(made.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->DrawLine(), c.line);
    EXPECT_EQ(s->DrawArea(), c.area);
    EXPECT_EQ(s->Pointer().Visible(), c.marker);
    EXPECT_EQ(s->SinglePointAllowed, c.singlePoint);
    EXPECT_TRUE(s->IncludePointBeyondEdge);
    // copied from each of the others, it keeps its own line, area and markers
    for (const TypeCase& from : cases) {
      auto other = CreateSeriesByClassName(from.className);
      auto* o = dynamic_cast<TCustomSeries*>(other.get());
      o->SetStairs(true);
      o->SetLineHeight(3);
      s->Assign(*o);
      EXPECT_EQ(s->DrawLine(), c.line) << c.className << " from " << from.className;
      EXPECT_EQ(s->DrawArea(), c.area);
      EXPECT_EQ(s->Pointer().Visible(), c.marker);
      EXPECT_TRUE(s->Stairs());
      EXPECT_EQ(s->LineHeight(), 3);
    }
  }
  TPointSeries p;
  EXPECT_EQ(p.Marks().ArrowLength(), 0);
  EXPECT_FALSE(p.ClickableLine());
  TLineSeries l;
  EXPECT_EQ(l.Marks().ArrowLength(), 8);
  EXPECT_EQ(l.AreaBrush(), tk::bsSolid);
  EXPECT_EQ(l.AreaColor(), tk::clDefault);
  EXPECT_EQ(l.LineBrush(), tk::bsSolid);
  EXPECT_EQ(l.LineHeight(), 0);
  EXPECT_TRUE(l.Dark3D());
  EXPECT_FALSE(l.Stairs());
  EXPECT_FALSE(l.InvertedStairs());
  EXPECT_EQ(l.PrevColor, tk::clNone);
  EXPECT_EQ(TAreaSeries().MultiArea(), maNone);
}

TEST(CustomSeries, MarksSitTheArrowLengthAbove) {
  SeriesRig<TLineSeries> r;
  r.series->Marks().SetVisible(true);
  r.series->Marks().SetArrowLength(6);
  r.series->AddPointXY(50, 0, "25");
  r.Paint();
  const TSeriesMarkPosition* p = r.series->Marks().Positions().Position(0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->ArrowStart, (tk::TPoint{200, 150}));
  EXPECT_EQ(p->ArrowEnd, (tk::TPoint{200, 144}));
  EXPECT_EQ(p->Bounds(), (tk::TRect{190, 130, 210, 145}));
}

// ---------------------------------------------------------------- dense lines

QImage LinePicture(const std::vector<double>& ys, bool reduce, bool stairs, size_t nullEvery) {
  TChart chart;
  chart.SetSize(800, 400);
  chart.SetView3D(false);
  chart.Title().SetVisible(false);
  chart.SetAxisVisible(false);
  auto* line = new TLineSeries;
  line->SetParentChart(&chart);
  line->SetSeriesColor(tk::clRed);
  line->SetStairs(stairs);
  line->ReduceDensePoints = reduce;
  for (size_t i = 0; i < ys.size(); ++i)
    if (nullEvery && i % nullEvery == nullEvery / 2)
      line->AddNullPointXY(static_cast<double>(i), ys[i]);
    else
      line->AddPointXY(static_cast<double>(i), ys[i]);
  QImage image(800, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, 800, 400});
  }
  return image;
}


TEST(LineSeriesDense, ReducedDrawingMatchesTheFullOne) {
  std::mt19937 rng(15);
  std::normal_distribution<double> step(0, 1);
  std::vector<double> walk(100000), noise(100000);
  double v = 0;
  for (size_t i = 0; i < walk.size(); ++i) {
    v += step(rng);
    walk[i] = v;
    noise[i] = step(rng);
  }
  noise[54321] = 40;  // a one-sample spike
  struct Shape {
    bool stairs;
    size_t nullEvery;
  };
  for (const Shape shape : {Shape{false, 0}, Shape{true, 0}, Shape{false, 20000}}) {
    for (const auto* data : {&walk, &noise}) {
      const QImage full = LinePicture(*data, false, shape.stairs, shape.nullEvery);
      const QImage reduced = LinePicture(*data, true, shape.stairs, shape.nullEvery);
      EXPECT_LE(RedDifference(full, reduced), 0.005)
          << "stairs " << shape.stairs << " nulls " << shape.nullEvery;
    }
  }
  const QImage spiky = LinePicture(noise, true, false, 0);
  bool spikeSeen = false;
  for (int y = 0; y < 60 && !spikeSeen; ++y)
    for (int x = 0; x < 800 && !spikeSeen; ++x)
      spikeSeen = spiky.pixel(x, y) == qRgb(255, 0, 0);
  EXPECT_TRUE(spikeSeen);
}

TEST(LineSeriesDense, ReducedToAFewSegmentsAColumn) {
  SeriesRig<TLineSeries> r;
  for (int i = 0; i < 20000; ++i)
    r.series->AddPointXY(i * 100.0 / 20000, (i % 7) - 3);
  const size_t reduced = r.SeriesCalls().size();
  EXPECT_LE(reduced, 2u * 4 * 377);  // a move and a line for at most four points a column
  r.series->ReduceDensePoints = false;
  EXPECT_GT(r.SeriesCalls().size(), 20000u);
  // markers, per-point colours and areas keep every point
  r.series->ReduceDensePoints = true;
  r.series->SetPointColor(5, tk::clBlue);
  EXPECT_GT(r.SeriesCalls().size(), 20000u);
}

}  // namespace
