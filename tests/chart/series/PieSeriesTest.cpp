#include "chart/series/PieSeries.h"

#include <gtest/gtest.h>

#include <numbers>

#include "chart/panel/SeriesTypes.h"
#include "tests/support/ChartRig.h"

// A flat 400 x 300 chart whose rectangle is (12, 12, 388, 288): with the
// marks hidden the pie's centre is (200, 150) and its radii 188 and 138.
namespace {

using Strings = std::vector<std::string>;
constexpr double kPi = std::numbers::pi;

struct PieRig : ChartRig {
  TPieSeries* pie = new TPieSeries;
  explicit PieRig(std::initializer_list<double> values = {}, bool marks = false)
      : ChartRig(400, 300) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.SetBevelOuter(bvNone);
    chart.Legend().SetVisible(false);
    pie->Marks().SetVisible(marks);
    pie->SetParentChart(&chart);
    for (double v : values) pie->AddPointValue(v);
  }
  Strings Pies() {
    Paint();
    return surface.Ops("Pie");
  }
};

double Degrees(double radians) {
  return radians * 180 / kPi;
}

// ---------------------------------------------------------------- circle geometry

TEST(PieGeometry, CircleInTheChartRectangle) {
  struct Case {
    const char* name;
    tk::TRect chart;
    TCircleRoom room;
    bool circled;
    double ratio;
    int customX, customY;
    tk::TRect rect;
  };
  const Case cases[] = {
      {"even rectangle as it is", {12, 12, 388, 288}, {}, false, 1, 0, 0, {12, 12, 388, 288}},
      {"odd sides move in by one", {10, 10, 101, 51}, {}, false, 1, 0, 0, {10, 10, 100, 50}},
      {"a rectangle too small grows to 4", {0, 0, 3, 2}, {}, false, 1, 0, 0, {0, 0, 4, 4}},
      {"room for marks on every side", {12, 12, 388, 288}, {20, 30}, false, 1, 0, 0,
       {42, 32, 358, 268}},
      {"circled on square pixels: narrowed", {12, 12, 388, 288}, {}, true, 1, 0, 0,
       {62, 12, 338, 288}},
      {"circled, ratio 1.5: made lower (188 / 1.5 = 125.3)", {12, 12, 388, 288}, {}, true, 1.5,
       0, 0, {12, 25, 388, 275}},
      {"circled, ratio 0.5: narrowed to 69", {12, 12, 388, 288}, {}, true, 0.5, 0, 0,
       {131, 12, 269, 288}},
      {"custom radii about the centre", {12, 12, 388, 288}, {}, false, 1, 50, 40,
       {150, 110, 250, 190}},
  };
  for (const Case& c : cases) {
    const TCircleLayout l = LayoutCircle(c.chart, c.room, c.circled, c.ratio, c.customX, c.customY);
    EXPECT_EQ(l.rect, c.rect) << c.name;
    EXPECT_EQ(l.xCenter, (c.rect.left + c.rect.right) / 2) << c.name;
    EXPECT_EQ(l.xRadius, (c.rect.right - c.rect.left) / 2) << c.name;
    EXPECT_EQ(l.yRadius, (c.rect.bottom - c.rect.top) / 2) << c.name;
  }
}

TEST(PieGeometry, ScreenPixelRatio) {
  struct Case {
    tk::TScreenMetrics screen;
    double ratio;
  };
  const Case cases[] = {
      {{1920, 1080, 520, 292.5}, 1},      // square pixels
      {{1280, 1024, 400, 300}, 0.9375},   // 5:4 pixels on a 4:3 tube
      {{0, 0, 0, 0}, 1},                  // no screen
      {{1920, 1080, 0, 0}, 1},            // a screen that does not know its size
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ScreenPixelRatio(c.screen), c.ratio);
}

TEST(PieGeometry, AnglesAndPointsFromTheCentre) {
  PieRig r({1});
  r.Paint();
  struct Case {
    int rotation;
    double angle;
    tk::TPoint at;
  };
  // x = 200 + round(cos(rotation + a) * 188), y = 150 - round(sin(rotation + a) * 138)
  const Case cases[] = {
      {0, 0, {388, 150}},       {0, kPi / 2, {200, 12}},   {0, kPi, {12, 150}},
      {90, 0, {200, 12}},       {90, kPi, {200, 288}},     {0, kPi / 4, {333, 52}},
      {180, kPi / 2, {200, 288}},
  };
  for (const Case& c : cases) {
    r.pie->SetRotationAngle(c.rotation);
    EXPECT_EQ(r.pie->AngleToPos(c.angle, 188, 138), c.at) << c.rotation << " " << c.angle;
    // and back: the angle of that point, from the rotation
    EXPECT_NEAR(r.pie->PointToAngle(c.at.x, c.at.y), c.angle, 0.01);
  }
}

// ---------------------------------------------------------------- slices

TEST(PieSlices, AnglesFromTheValues) {
  struct Case {
    const char* name;
    std::initializer_list<double> values;
    std::vector<double> ends;  // degrees
  };
  const Case cases[] = {
      {"1, 1, 2: a quarter, a quarter, a half", {1, 1, 2}, {90, 180, 360}},
      {"negative values count by magnitude", {-1, 3}, {90, 360}},
      {"all zero: the first slice is the whole circle", {0, 0, 0}, {360, 360, 360}},
      {"one point", {7}, {360}},
  };
  for (const Case& c : cases) {
    PieRig r(c.values);
    r.Paint();
    const auto& a = r.pie->Angles();
    ASSERT_EQ(a.size(), c.ends.size()) << c.name;
    double start = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      EXPECT_NEAR(Degrees(a[i].start), start, 1e-9) << c.name << " " << i;
      EXPECT_NEAR(Degrees(a[i].end), c.ends[i], 1e-9) << c.name << " " << i;
      EXPECT_NEAR(Degrees(a[i].middle), (start + c.ends[i]) / 2, 1e-9) << c.name << " " << i;
      start = c.ends[i];
    }
  }
}

TEST(PieSlices, FlatSlicesAsPlatformPies) {
  struct Case {
    const char* name;
    std::initializer_list<double> values;
    int rotation;
    Strings pies;
  };
  const Case cases[] = {
      {"1, 1, 2 counter-clockwise from 3 o'clock",
       {1, 1, 2},
       0,
       {"Pie 12,12,388,288,388,150,200,12", "Pie 12,12,388,288,200,12,12,150",
        "Pie 12,12,388,288,12,150,388,150"}},
      {"rotated by 90 degrees they start at 12 o'clock",
       {1, 1, 2},
       90,
       {"Pie 12,12,388,288,200,12,12,150", "Pie 12,12,388,288,12,150,200,288",
        "Pie 12,12,388,288,200,288,200,12"}},
      {"all zero: one whole ellipse, the empty slivers are not drawn",
       {0, 0, 0},
       0,
       {"Pie 12,12,388,288,388,150,388,150"}},
      {"a single point is the whole ellipse", {5}, 0, {"Pie 12,12,388,288,388,150,388,150"}},
  };
  for (const Case& c : cases) {
    PieRig r(c.values);
    r.pie->SetRotationAngle(c.rotation);
    EXPECT_EQ(r.Pies(), c.pies) << c.name;
  }
}

TEST(PieSlices, BrushPenAndPatterns) {
  PieRig r({1, 1});
  r.pie->PiePen().SetColor(0x123456);
  r.Paint();
  std::vector<const tk::TDrawCall*> pies;
  for (const auto& c : r.surface.Calls())
    if (c.op == "Pie") pies.push_back(&c);
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_EQ(pies[0]->brush.color, 0x0000FFu);  // palette red, then green: each slice its colour
  EXPECT_EQ(pies[1]->brush.color, 0x008000u);
  EXPECT_EQ(pies[0]->brush.style, tk::bsSolid);
  EXPECT_EQ(pies[0]->pen.color, 0x123456u);

  r.pie->SetUsePatterns(true);
  r.pie->SetCircleBackColor(0xABCDEF);
  r.Paint();
  pies.clear();
  for (const auto& c : r.surface.Calls())
    if (c.op == "Pie") pies.push_back(&c);
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_EQ(pies[0]->brush.style, tk::bsHorizontal);
  EXPECT_EQ(pies[1]->brush.style, tk::bsVertical);
  EXPECT_EQ(pies[1]->backColor, 0xABCDEFu);
}

// ---------------------------------------------------------------- the "other" slice

TEST(PieOtherSlice, SmallSlicesGatherIntoOne) {
  struct Case {
    const char* name;
    TPieOtherStyle style;
    double value;
    int points;          // after the paint, "Other" included
    double other;        // its value, 0 for none
    int legendItems;
  };
  const Case cases[] = {
      {"below 10 %: 3 and 2", poBelowPercent, 10, 5, 5, 3},
      {"below the value 3: only 2", poBelowValue, 3, 5, 2, 4},
      {"no style: nothing gathered", poNone, 10, 4, 0, 4},
      {"nothing below 1 %", poBelowPercent, 1, 4, 0, 4},
  };
  for (const Case& c : cases) {
    PieRig r({50, 45, 3, 2});
    r.pie->OtherSlice().SetStyle(c.style);
    r.pie->OtherSlice().SetValue(c.value);
    for (int paint = 0; paint < 3; ++paint) {  // a repaint adds no second "Other"
      r.Paint();
      ASSERT_EQ(r.pie->PointCount(), c.points) << c.name << " paint " << paint;
      int others = 0;
      for (int i = 0; i < r.pie->PointCount(); ++i)
        if (r.pie->PointLabel(i) == "Other") {
          ++others;
          EXPECT_EQ(r.pie->YValueAt(i), c.other) << c.name;
        }
      EXPECT_EQ(others, c.other != 0 ? 1 : 0) << c.name;
      EXPECT_EQ(r.pie->LegendItemCount(), c.legendItems) << c.name;
    }
  }
}

TEST(PieOtherSlice, MembersHaveNoSliceMarkOrLegendItem) {
  PieRig r({50, 45, 3, 2}, true);
  r.pie->Marks().SetStyle(smsPercent);
  r.pie->OtherSlice().SetStyle(poBelowPercent);
  r.pie->OtherSlice().SetValue(10);
  // 50 -> 180 degrees, 45 -> 342 (x 200 + round(188 cos 342) = 379, y 150 + 43),
  // the members nothing, "Other" the last 18
  r.pie->Marks().SetVisible(false);
  EXPECT_EQ(r.Pies(), (Strings{"Pie 12,12,388,288,388,150,12,150", "Pie 12,12,388,288,12,150,379,193",
                               "Pie 12,12,388,288,379,193,388,150"}));
  EXPECT_TRUE(r.pie->IsOtherMember(2));
  EXPECT_TRUE(r.pie->IsOtherMember(3));
  EXPECT_FALSE(r.pie->IsOtherMember(4));
  // the legend maps its items to the slices drawn
  EXPECT_EQ(r.pie->LegendIndexToPoint(0), 0);
  EXPECT_EQ(r.pie->LegendIndexToPoint(1), 1);
  EXPECT_EQ(r.pie->LegendIndexToPoint(2), 4);
  // percentages count each original value once: 50 of 100, "Other" 5 of 100
  EXPECT_EQ(r.pie->MarkTextOf(0), "50 %");
  EXPECT_EQ(r.pie->MarkTextOf(4), "5 %");
  r.pie->Marks().SetVisible(true);
  r.Paint();
  EXPECT_EQ(r.Texts(), (Strings{"50 %", "45 %", "5 %"}));
}

TEST(PieOtherSlice, PaintAsksForNoFurtherPaint) {
  PieRig r({50, 45, 3, 2});
  r.pie->OtherSlice().SetStyle(poBelowPercent);
  r.pie->OtherSlice().SetValue(10);
  r.Paint();
  r.chart.Canvas().RepaintFromBuffer();  // a clean picture stays clean...
  EXPECT_FALSE(r.chart.Canvas().Dirty());  // ...the rebuilt "Other" did not dirty it
}

// ---------------------------------------------------------------- explosion

TEST(PieExplode, BiggestSlicePushedOutAndKeptInside) {
  // 1, 2, 1: the big slice spans 90..270 degrees, its middle points left.
  // Radii 188 and 138 shrink to 188 * 100 / 130 = 144 and 106 so that the
  // pushed-out slice (144 * 0.3 = 43 pixels left) still ends at x 13.
  PieRig r({1, 2, 1});
  r.pie->SetExplodeBiggest(30);
  const Strings pies = r.Pies();
  EXPECT_EQ(pies, (Strings{"Pie 56,44,344,256,344,150,200,44", "Pie 13,44,301,256,157,44,157,256",
                           "Pie 56,44,344,256,200,256,344,150"}));
  EXPECT_TRUE(r.pie->IsExploded());
  EXPECT_EQ(r.pie->ExplodedSlice().Value(1), 30);
  EXPECT_EQ(r.pie->ExplodedSlice().Value(0), 0);
  EXPECT_EQ(r.pie->ExplodeOffset(1), (tk::TPoint{-43, 0}));
  const tk::TRect chartRect = r.chart.ChartRectangle();
  for (const auto& c : r.surface.Calls()) {
    if (c.op != "Pie") continue;
    EXPECT_GE(c.args[0], chartRect.left) << c.ToString();
    EXPECT_GE(c.args[1], chartRect.top) << c.ToString();
    EXPECT_LE(c.args[2], chartRect.right) << c.ToString();
    EXPECT_LE(c.args[3], chartRect.bottom) << c.ToString();
  }
}

TEST(PieExplode, EveryDirectionStaysInside) {
  // whatever the slice's direction and the percentage, nothing leaves the rectangle
  for (int rotation : {0, 30, 45, 90, 135, 180, 225, 270, 315})
    for (int percent : {10, 30, 50, 100}) {
      PieRig r({1, 3, 1});
      r.pie->SetRotationAngle(rotation);
      r.pie->SetExplodeBiggest(percent);
      r.Paint();
      const tk::TRect c = r.chart.ChartRectangle();
      const tk::TPoint off = r.pie->ExplodeOffset(1);
      const int cx = r.pie->CircleXCenter + off.x, cy = r.pie->CircleYCenter - off.y;
      EXPECT_GE(cx - r.pie->XRadius, c.left) << rotation << " " << percent;
      EXPECT_LE(cx + r.pie->XRadius, c.right) << rotation << " " << percent;
      EXPECT_GE(cy - r.pie->YRadius, c.top) << rotation << " " << percent;
      EXPECT_LE(cy + r.pie->YRadius, c.bottom) << rotation << " " << percent;
    }
}

TEST(PieExplode, SettingASliceRepaintsOnlyOnChange) {
  PieRig r({1, 2});
  r.Paint();
  r.chart.Canvas().RepaintFromBuffer();
  r.pie->ExplodedSlice().SetValue(5, 0);  // beyond the list: already 0
  EXPECT_FALSE(r.chart.Canvas().Dirty());
  EXPECT_EQ(r.pie->ExplodedSlice().Count(), 0);
  r.pie->ExplodedSlice().SetValue(3, 20);  // grows the list with zeros
  EXPECT_TRUE(r.chart.Canvas().Dirty());
  EXPECT_EQ(r.pie->ExplodedSlice().Count(), 4);
  EXPECT_EQ(r.pie->ExplodedSlice().Value(2), 0);
}

TEST(PieExplode, ThreeDimensionalOrderBackToFront) {
  struct Case {
    const char* name;
    std::initializer_list<double> values;
    int rotation;
    bool exploded;
    std::vector<int> order;
  };
  // the distance of each slice's middle from the back of the pie (90 degrees)
  const Case cases[] = {
      {"not exploded: index order", {4, 2, 1, 1}, 0, false, {0, 1, 2, 3}},
      // middles 90, 225, 292.5, 337.5: distances 0, 135, 157.5, 112.5
      {"exploded: 337.5 is nearer the back than 292.5", {4, 2, 1, 1}, 0, true, {0, 3, 1, 2}},
      // middles 45, 135, 270 turned by 90: 135, 225, 0 -> 45, 135, 90
      {"rotated by 90", {1, 1, 2}, 90, true, {0, 2, 1}},
  };
  for (const Case& c : cases) {
    PieRig r(c.values);
    r.chart.SetView3D(true);
    r.pie->SetRotationAngle(c.rotation);
    r.pie->SetExplodeBiggest(c.exploded ? 20 : 0);
    r.Paint();
    EXPECT_EQ(r.pie->DrawingOrder(), c.order) << c.name;
    EXPECT_TRUE(r.surface.Ops("Pie").empty()) << c.name;  // thick slices are polygons
    EXPECT_FALSE(r.surface.Ops("Polygon").empty()) << c.name;
  }
}

// ---------------------------------------------------------------- rotation

TEST(PieRotation, StoredModulo360NegativeRaises) {
  struct Case {
    int set;
    int stored;
    bool raises;
  };
  const Case cases[] = {{450, 90, false}, {359, 359, false}, {360, 0, false},
                        {720, 0, false},  {-1, 0, true},     {-90, 0, true}};
  for (const Case& c : cases) {
    TPieSeries pie;
    if (c.raises) {
      try {
        pie.SetRotationAngle(c.set);
        ADD_FAILURE() << c.set << " was accepted";
      } catch (const PieException& e) {
        EXPECT_EQ(e.Message(), "Rotation Angle must be between 0 and 359 degrees");
      }
    } else {
      pie.SetRotationAngle(c.set);
    }
    EXPECT_EQ(pie.RotationAngle(), c.stored) << c.set;
  }
  TPieSeries kept;
  kept.SetRotationAngle(45);
  EXPECT_THROW(kept.SetRotationAngle(-1), ChartException);
  EXPECT_EQ(kept.RotationAngle(), 45);
}

// ---------------------------------------------------------------- pie mode

struct ModeState {
  bool axes, clip, walls, frame;
  tk::TBrushStyle backBrush;
  bool zoom;
  TPanningMode panning;
};

ModeState StateOf(TChart& c) {
  return {c.AxisVisible(), c.ClipPoints(),          c.View3DWalls(), c.Frame().Visible(),
          c.BackWall().Brush().Style(), c.AllowZoom(), c.AllowPanning()};
}

constexpr ModeState kPieMode{false, false, false, false, tk::bsClear, false, pmNone};
constexpr ModeState kNormal{true, true, true, true, tk::bsSolid, true, pmBoth};
// a new chart's own settings (its back wall brush is clear)
constexpr ModeState kUntouched{true, true, true, true, tk::bsClear, true, pmBoth};

bool operator==(const ModeState& a, const ModeState& b) {
  return a.axes == b.axes && a.clip == b.clip && a.walls == b.walls && a.frame == b.frame &&
         a.backBrush == b.backBrush && a.zoom == b.zoom && a.panning == b.panning;
}

// Steps on a chart and two pies p and q: "p+" p->SetParentChart(chart), "p-"
// p->SetParentChart(none), "pA" / "pD" the chart attaches / detaches p, "pF" p
// is freed, "p0" / "p1" p made inactive / active; likewise for q.
void Act(TChart& chart, TPieSeries*& p, TPieSeries*& q, const std::string& steps) {
  for (size_t i = 0; i + 1 < steps.size(); i += 3) {
    TPieSeries*& s = steps[i] == 'p' ? p : q;
    switch (steps[i + 1]) {
      case '+': s->SetParentChart(&chart); break;
      case '-': s->SetParentChart(nullptr); break;
      case 'A': chart.AttachSeries(s); break;
      case 'D': chart.DetachSeries(s); break;
      case 'F': delete s; s = nullptr; break;
      case '0': s->SetActive(false); break;
      case '1': s->SetActive(true); break;
    }
  }
}

TEST(PieMode, EnteringAndLeaving) {
  struct Case {
    const char* name;
    const char* steps;
    ModeState expected;
  };
  const Case cases[] = {
      {"added: pie mode", "p+", kPieMode},
      {"removed again: restored", "p+ p-", kNormal},
      {"attached by the chart", "pA", kPieMode},
      {"detached by the chart: restored", "pA pD", kNormal},
      {"freed: restored", "p+ pF", kNormal},
      {"made inactive: restored", "p+ p0", kNormal},
      {"active again: pie mode", "p+ p0 p1", kPieMode},
      {"an inactive pie added: the chart untouched", "p0 p+", kUntouched},
      {"one of two pies removed: the other keeps pie mode", "p+ q+ p-", kPieMode},
      {"one of two pies made inactive: pie mode stays", "p+ q+ q0", kPieMode},
  };
  for (const Case& k : cases) {
    TChart chart;
    const ModeState before = StateOf(chart);
    auto* p = new TPieSeries;
    auto* q = new TPieSeries;
    Act(chart, p, q, k.steps);
    EXPECT_TRUE(StateOf(chart) == (k.expected == kUntouched ? before : k.expected)) << k.name;
    if (p && !p->ParentChart()) delete p;
    if (!q->ParentChart()) delete q;
  }
}

TEST(PieMode, ViewOptionsTurnToTheTiltedView) {
  TChart chart;
  chart.View3DOptions().SetOrthogonal(true);
  chart.View3DOptions().SetTilt(5);
  chart.View3DOptions().SetPerspective(20);
  auto* pie = new TPieSeries;
  pie->SetParentChart(&chart);
  const TView3DOptions& v = chart.View3DOptions();
  EXPECT_FALSE(v.Orthogonal());
  EXPECT_EQ(v.Rotation(), 360);
  EXPECT_EQ(v.Elevation(), 315);
  EXPECT_EQ(v.Perspective(), 0);
  EXPECT_EQ(v.Tilt(), 0);
}

TEST(PieMode, PaintShowsNoAxesAndNoClip) {
  PieRig r({1, 1, 2});
  r.Paint();
  for (const auto& c : r.surface.Calls()) EXPECT_NE(c.op, "IntersectClipRect");
  // the hidden axes write no labels
  EXPECT_TRUE(r.Texts().empty());
}

// ---------------------------------------------------------------- shared by the class

struct OtherPie : TPieSeries {};

TEST(PieShared, CircledAndRadiiGoToEverySeriesOfTheClass) {
  TChart chart;
  auto* a = new TPieSeries;
  auto* b = new TPieSeries;
  auto* other = new OtherPie;
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{a, b, other})
    s->SetParentChart(&chart);
  a->SetCircled(true);
  b->SetCustomXRadius(40);
  a->SetCustomYRadius(30);
  for (TPieSeries* s : {a, b}) {
    EXPECT_TRUE(s->Circled());
    EXPECT_EQ(s->CustomXRadius(), 40);
    EXPECT_EQ(s->CustomYRadius(), 30);
  }
  EXPECT_FALSE(other->Circled());  // another class keeps its own
  EXPECT_EQ(other->CustomXRadius(), 0);
  a->SetRotationAngle(30);  // the rotation is each series' own
  EXPECT_EQ(b->RotationAngle(), 0);
}

TEST(PieShared, CircledCorrectsForTheScreen) {
  PieRig r({1});
  r.pie->ScreenMetrics = [] { return tk::TScreenMetrics{1280, 1024, 400, 300}; };
  r.pie->SetCircled(true);
  r.Paint();
  // ratio 0.9375: 138 * 0.9375 = 129.4 < 188, narrowed to 129 (then even: 258 wide)
  EXPECT_EQ(r.pie->CircleRect, (tk::TRect{71, 12, 329, 288}));
}

// ---------------------------------------------------------------- hit tests

TEST(PieHit, SlicesUnderThePointer) {
  struct Case {
    const char* name;
    std::initializer_list<double> values;
    int explode;
    tk::TPoint at;
    int hit;
  };
  const Case cases[] = {
      {"upper right quarter", {1, 1, 2}, 0, {300, 100}, 0},
      {"upper left quarter", {1, 1, 2}, 0, {100, 100}, 1},
      {"lower half", {1, 1, 2}, 0, {200, 250}, 2},
      {"on the rim at 3 o'clock", {1, 1, 2}, 0, {388, 150}, 0},
      {"the box's corner is outside the ellipse", {1, 1, 2}, 0, {20, 20}, -1},
      {"beyond the rim", {1, 1, 2}, 0, {395, 150}, -1},
      // 1, 2, 1 exploded: slice 1 is drawn about (157, 150) with radii 144, 106
      {"the pushed-out part of the slice", {1, 2, 1}, 30, {14, 150}, 1},
      {"the gap the push opened at the centre", {1, 2, 1}, 30, {190, 150}, -1},
      {"an unmoved slice", {1, 2, 1}, 30, {250, 100}, 0},
  };
  for (const Case& c : cases) {
    PieRig r(c.values);
    r.pie->SetExplodeBiggest(c.explode);
    r.Paint();
    EXPECT_EQ(r.pie->PointAtPixel(c.at.x, c.at.y), c.hit) << c.name;
  }
}

TEST(PieHit, NoPaintNoSlice) {
  TPieSeries pie;
  pie.AddPointValue(1);
  EXPECT_EQ(pie.PointAtPixel(0, 0), -1);
}

// ---------------------------------------------------------------- legend, marks, registry

TEST(PieLegend, OneItemPerSliceInItsColour) {
  PieRig r({50, 45, 3, 2});
  r.chart.Legend().SetVisible(true);
  r.pie->OtherSlice().SetStyle(poBelowPercent);
  r.pie->OtherSlice().SetValue(10);
  r.pie->SetPointColor(1, 0x00AA00);
  r.Paint();
  EXPECT_EQ(r.Texts(), (Strings{"50 ", "45 ", "5 Other"}));
  // the legend boxes in the slices' colours: palette red, the own green, palette white
  std::vector<tk::TColor> boxes;
  for (const auto& c : r.surface.Calls())
    if (c.op == "Rectangle" && c.brush.style == tk::bsSolid && c.args[2] - c.args[0] < 40)
      boxes.push_back(c.brush.color);
  EXPECT_EQ(boxes, (std::vector<tk::TColor>{0x0000FF, 0x00AA00, 0xFFFFFF}));
}

TEST(PieMarks, AroundThePie) {
  PieRig r({1, 1, 2}, true);
  r.pie->Marks().SetStyle(smsValue);
  r.Paint();
  // each arrow runs outwards from the rim along its slice's middle
  const Strings lines = r.surface.Ops("LineTo");
  ASSERT_EQ(lines.size(), 3u);
  const int cx = r.pie->CircleXCenter, cy = r.pie->CircleYCenter;
  const auto& a = r.pie->Angles();
  for (int i = 0; i < 3; ++i) {
    const TSeriesMarkPosition* p = r.pie->Marks().Positions().Position(i);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ArrowStart, r.pie->AngleToPos(a[static_cast<size_t>(i)].middle,
                                                r.pie->XRadius, r.pie->YRadius));
    // the box lies on the outer side of the arrow's end
    EXPECT_EQ(p->BoxTopLeft.x, p->ArrowEnd.x > cx ? p->ArrowEnd.x : p->ArrowEnd.x - p->BoxWidth);
    EXPECT_EQ(p->BoxTopLeft.y, p->ArrowEnd.y > cy ? p->ArrowEnd.y : p->ArrowEnd.y - p->BoxHeight);
  }
  // 45 degrees up right, 135 up left, 270 straight down
  EXPECT_GT(r.pie->Marks().Positions().Position(0)->ArrowEnd.x, cx);
  EXPECT_LT(r.pie->Marks().Positions().Position(1)->ArrowEnd.x, cx);
  EXPECT_GT(r.pie->Marks().Positions().Position(2)->ArrowEnd.y, r.pie->CircleRect.bottom);
  // the marks took their room: the circle is smaller than the chart rectangle
  EXPECT_LT(r.pie->YRadius, 138);
}

namespace {

// Even-odd test of a point against a polygon given as x, y pairs.
bool InsidePolygon(const std::vector<int>& xy, double x, double y) {
  bool inside = false;
  const std::size_t n = xy.size() / 2;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

bool InsideEllipse(const std::vector<int>& box, double x, double y) {
  const double rx = (box[2] - box[0]) / 2.0, ry = (box[3] - box[1]) / 2.0;
  const double dx = (x - (box[0] + rx)) / rx, dy = (y - (box[1] + ry)) / ry;
  return dx * dx + dy * dy < 1;
}

}  // namespace

// Every mark box, wherever the slices turn and however large the chart, lies
// inside the chart rectangle and covers no pixel of the pie: flat its ellipse
// (the platform pies), in 3D every face drawn. Pixel centres of each box are
// tested against the recorded shapes.
TEST(PieMarks, BoxesClearOfThePieAndInsideTheChart) {
  struct Case {
    int width, height;
    bool view3D;
    int rotation;
    double scale;  // larger values make wider texts
    int explode;   // the biggest slice pushed out by this percentage
  };
  std::vector<Case> cases;
  for (bool view3D : {false, true})
    for (const tk::TPoint size : {tk::TPoint{400, 300}, {480, 360}, {260, 200}, {300, 420}})
      for (int rotation : {0, 100, 250})
        cases.push_back({size.x, size.y, view3D, rotation, rotation == 100 ? 1000.0 : 1.0,
                         rotation == 250 ? 30 : 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) +
                 (c.view3D ? " 3D" : " flat") + ", rotated " + std::to_string(c.rotation) +
                 ", exploded " + std::to_string(c.explode));
    PieRig r({}, true);
    r.chart.SetSize(c.width, c.height);
    r.chart.SetView3D(c.view3D);
    r.chart.SetChart3DPercent(75);
    r.pie->SetRotationAngle(c.rotation);
    r.pie->SetExplodeBiggest(c.explode);
    r.pie->Marks().SetStyle(smsValue);
    for (double v : {40, 592, 610, 311, 953, 275, 778, 51}) r.pie->AddPointValue(v * c.scale);
    r.Paint();
    const tk::TColor markBack = r.pie->Marks().BackColor();
    std::vector<std::vector<int>> boxes, polygons, ellipses;
    for (const tk::TDrawCall& call : r.surface.Calls()) {
      if (call.op == "Rectangle" && call.brush.color == markBack) boxes.push_back(call.args);
      if (call.op == "Polygon") polygons.push_back(call.args);
      if (call.op == "Pie") ellipses.push_back({call.args.begin(), call.args.begin() + 4});
    }
    ASSERT_EQ(boxes.size(), 8u);
    ASSERT_FALSE(polygons.empty() && ellipses.empty());
    const tk::TRect chartRect = r.chart.ChartRect;
    for (const std::vector<int>& b : boxes) {
      SCOPED_TRACE("box " + std::to_string(b[0]) + "," + std::to_string(b[1]) + "," +
                   std::to_string(b[2]) + "," + std::to_string(b[3]));
      EXPECT_GE(b[0], chartRect.left);
      EXPECT_GE(b[1], chartRect.top);
      EXPECT_LE(b[2], chartRect.right);
      EXPECT_LE(b[3], chartRect.bottom);
      int covered = 0;
      for (int y = b[1]; y < b[3]; ++y)
        for (int x = b[0]; x < b[2]; ++x) {
          bool hit = false;
          for (const auto& p : polygons) hit = hit || InsidePolygon(p, x + 0.5, y + 0.5);
          for (const auto& e : ellipses) hit = hit || InsideEllipse(e, x + 0.5, y + 0.5);
          covered += hit;
        }
      EXPECT_EQ(covered, 0);
    }
  }
}

TEST(PieSeriesType, DefaultsRegistryAndSamples) {
  TPieSeries pie;
  EXPECT_TRUE(pie.ColorEachPoint());
  EXPECT_TRUE(pie.Marks().Visible());
  EXPECT_EQ(pie.Marks().ArrowLength(), 8);
  EXPECT_EQ(pie.PieValues().Name(), "Pie");
  EXPECT_EQ(pie.XValues().Name(), "");
  EXPECT_TRUE(pie.Dark3D());
  EXPECT_FALSE(pie.UsePatterns());
  EXPECT_EQ(pie.OtherSlice().Text(), "Other");
  EXPECT_FALSE(pie.UsesAxes());
  EXPECT_EQ(pie.SampleCount(), 8);
  pie.FillSampleValues(pie.SampleCount());
  EXPECT_EQ(pie.PointCount(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_GT(pie.YValueAt(i), 0);
  EXPECT_THROW(pie.FillSampleValues(0), ChartException);

  const TZozSeriesType* entry = nullptr;
  for (const TZozSeriesType& t : SeriesTypes())
    if (t.Description == "Pie") entry = &t;
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GalleryPage, "Standard");
  EXPECT_EQ(entry->GallerySeriesCount, 1);
  auto made = CreateSeriesByClassName("TPieSeries");
  EXPECT_NE(dynamic_cast<TPieSeries*>(made.get()), nullptr);
}

TEST(PieSeriesType, AssignCopiesThePieSettings) {
  TPieSeries a, b;
  a.SetExplodeBiggest(25);
  a.SetUsePatterns(true);
  a.SetDark3D(false);
  a.SetRotationAngle(120);
  a.OtherSlice().SetStyle(poBelowValue);
  a.OtherSlice().SetText("Rest");
  b.Assign(a);
  EXPECT_EQ(b.ExplodeBiggest(), 25);
  EXPECT_TRUE(b.UsePatterns());
  EXPECT_FALSE(b.Dark3D());
  EXPECT_EQ(b.RotationAngle(), 120);
  EXPECT_EQ(b.OtherSlice().Style(), poBelowValue);
  EXPECT_EQ(b.OtherSlice().Text(), "Rest");
}

}  // namespace

// A mark in the legend's style shows the legend row of its point; with small
// slices gathered into "Other" the rows are fewer than the points, and a mark
// took its point index for a row, asked for a row past the last and threw out
// of the paint.
TEST(PieOtherSlice, LegendStyleMarksShowTheirPointsRows) {
  PieRig r({50, 45, 3, 2}, true);
  r.pie->Marks().SetStyle(smsLegend);
  r.pie->OtherSlice().SetStyle(poBelowPercent);
  r.pie->OtherSlice().SetValue(10);
  ASSERT_NO_THROW(r.Paint());
  ASSERT_EQ(r.pie->PointCount(), 5);
  const struct {
    int point, row;  // row -1: gathered into "Other", in no row
  } rows[] = {{0, 0}, {1, 1}, {2, -1}, {3, -1}, {4, 2}};
  for (const auto& row : rows) {
    ASSERT_NO_THROW(r.pie->MarkTextOf(row.point)) << row.point;
    EXPECT_EQ(r.pie->MarkTextOf(row.point),
              row.row < 0 ? "" : r.chart.Legend().PointText(*r.pie, row.row))
        << row.point;
  }
}
