// Which faces of the solid shapes are drawn, worked out from the geometry: a
// face of a convex solid shows when its outward normal points at the viewer.
// The direction to the viewer comes from the projection itself: the screen
// moves of the three axis directions give its two rows, and the depth that
// leaves the screen point still is their cross product.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <set>

#include "chart/canvas/Canvas.h"
#include "chart/canvas/Palette.h"
#include "toolkit/RecordingSurface.h"
#include "toolkit/Rounding.h"

namespace {

struct Vec {
  double x, y, z;
};
double Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(Vec a, Vec b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

enum class View { flat, orthogonal, fromAbove, fromBelow, rotated0, pieMode };

struct Rig {
  tk::TRecordingSurface screen;
  TView3DOptions options;
  TZozCanvas3D canvas;
  explicit Rig(View v) {
    options.SetPerspective(0);  // a parallel projection: one viewing direction everywhere
    options.SetOrthogonal(v == View::orthogonal);
    if (v == View::fromAbove) {
      options.SetElevation(340);
      options.SetRotation(25);
    }
    if (v == View::rotated0) {
      options.SetElevation(0);
      options.SetRotation(0);
    }
    if (v == View::pieMode) {  // the view a chart takes for its pies
      options.SetElevation(315);
      options.SetRotation(360);
    }
    if (v == View::fromBelow) {
      options.SetElevation(25);
      options.SetRotation(335);
    }
    canvas.SetBufferedDrawing(false);
    canvas.StartFrame(screen, &options, tk::clWhite, v != View::flat, {0, 0, 400, 300});
    canvas.SetProjectionCenter(60, {0, 0, 400, 300}, {0, 0, 400, 300});
  }
  // Unit vector from the scene towards the viewer.
  Vec ToViewer() const {
    const tk::TPoint o = canvas.ProjectPoint(200, 150, 30);
    auto move = [&](int dx, int dy, int dz) {
      const tk::TPoint p = canvas.ProjectPoint(200 + dx, 150 + dy, 30 + dz);
      return tk::TPoint{p.x - o.x, p.y - o.y};
    };
    const tk::TPoint ex = move(1000, 0, 0), ey = move(0, 1000, 0), ez = move(0, 0, 1000);
    const Vec row1{ex.x / 1e3, ey.x / 1e3, ez.x / 1e3}, row2{ex.y / 1e3, ey.y / 1e3, ez.y / 1e3};
    const Vec away = Cross(row1, row2);  // depth grows away from the viewer
    const double n = std::sqrt(Dot(away, away));
    return {-away.x / n, -away.y / n, -away.z / n};
  }
  std::vector<std::vector<int>> Polygons(size_t corners) const {
    std::vector<std::vector<int>> out;
    for (const auto& c : screen.Calls())
      if (c.op == "Polygon" && c.args.size() == 2 * corners) out.push_back(c.args);
    return out;
  }
};

// Which way a face turns: shows, hidden, or too close to edge-on to tell.
std::optional<bool> Shows(Vec normal, Vec toViewer) {
  const double d = Dot(normal, toViewer) / std::sqrt(Dot(normal, normal));
  if (std::fabs(d) < 0.05) return std::nullopt;
  return d > 0;
}

}  // namespace

TEST(SolidFaces, CylindersAndConesShowTheFacesTurnedToTheViewer) {
  // The box: 60 wide round the axis, 60 deep, 100 long; so the cross-section
  // is a circle of radius 30 and a side's outward normal is easy to write.
  struct Case {
    bool vertical;
    View view;
    int cone;
  };
  std::vector<Case> cases;
  for (bool vertical : {true, false})
    for (View v : {View::orthogonal, View::fromAbove, View::fromBelow})
      for (int cone : {100, 40})
        cases.push_back({vertical, v, cone});
  constexpr int kSides = 16;
  const double R = 30, L = 100, zMid = 30;
  for (const Case& c : cases) {
    Rig r(c.view);
    const int left = c.vertical ? 170 : 150, right = c.vertical ? 230 : 250;
    const int top = c.vertical ? 100 : 120, bottom = c.vertical ? 200 : 180;
    r.canvas.DrawCone(c.vertical, left, top, right, bottom, 0, 60, false, c.cone);
    const Vec v = r.ToViewer();
    const double farR = R * c.cone / 100.0;
    // a ring point: along the axis at 'along', angle a, radius rad
    auto ring = [&](double rad, int along, double a) {
      const double across = c.vertical ? 200 : 150;
      const int u = tk::RoundToInt(across + rad * std::cos(a)),
                z = tk::RoundToInt(zMid + rad * std::sin(a));
      return c.vertical ? r.canvas.ProjectPoint(u, along, z) : r.canvas.ProjectPoint(along, u, z);
    };
    const int nearAt = c.vertical ? bottom : left, farAt = c.vertical ? top : right;
    // the axis, pointing from the near end to the far end
    const Vec axis = c.vertical ? Vec{0, -1, 0} : Vec{1, 0, 0};
    std::set<std::vector<int>> drawn;
    for (const auto& p : r.Polygons(4))
      drawn.insert(p);
    size_t showing = 0, unclear = 0;
    for (int i = 0; i < kSides; ++i) {
      const double m = 2 * std::numbers::pi * (i + 0.5) / kSides;
      // outward: round the axis, tipped towards the far end by the narrowing
      const Vec radial =
          c.vertical ? Vec{std::cos(m), 0, std::sin(m)} : Vec{0, std::cos(m), std::sin(m)};
      const double tip = (R - farR) / L;
      const Vec normal{radial.x + tip * axis.x, radial.y + tip * axis.y, radial.z + tip * axis.z};
      const auto shows = Shows(normal, v);
      if (!shows) {
        ++unclear;
        continue;
      }
      showing += *shows ? 1 : 0;
      const double a0 = 2 * std::numbers::pi * i / kSides,
                   a1 = 2 * std::numbers::pi * (i + 1) / kSides;
      const tk::TPoint q[4] = {ring(R, nearAt, a0), ring(R, nearAt, a1), ring(farR, farAt, a1),
                               ring(farR, farAt, a0)};
      std::vector<int> quad;
      for (const tk::TPoint& p : q)
        quad.insert(quad.end(), {p.x, p.y});
      EXPECT_EQ(drawn.count(quad), *shows ? 1u : 0u)
          << (c.vertical ? "vertical" : "horizontal") << " view " << static_cast<int>(c.view)
          << " cone " << c.cone << " side " << i;
    }
    EXPECT_GE(drawn.size(), showing);
    EXPECT_LE(drawn.size(), showing + unclear);
    EXPECT_GE(showing, 6u);  // about half of the sixteen
    // the end: the far one when its outside faces us, else the near one
    const auto farShows = Shows(axis, v), nearShows = Shows({-axis.x, -axis.y, -axis.z}, v);
    ASSERT_TRUE(farShows && nearShows);
    auto ringPolygon = [&](double rad, int along) {
      std::vector<int> out;
      for (int i = 0; i < kSides; ++i) {
        const tk::TPoint p = ring(rad, along, 2 * std::numbers::pi * i / kSides);
        out.insert(out.end(), {p.x, p.y});
      }
      return out;
    };
    const auto ends = r.Polygons(kSides);
    ASSERT_EQ(ends.size(), 1u) << (c.vertical ? "vertical" : "horizontal") << " view "
                               << static_cast<int>(c.view);
    EXPECT_EQ(ends[0], *farShows ? ringPolygon(farR, farAt) : ringPolygon(R, nearAt))
        << (c.vertical ? "vertical" : "horizontal") << " view " << static_cast<int>(c.view)
        << " cone " << c.cone << (*farShows ? " (far end)" : " (near end)");
  }
}

TEST(SolidFaces, PyramidsDrawTheFacesWorkedOutByHand) {
  // Orthogonal view, zoom 100: (x, y, z) lands on (x + z, y - z).
  struct Case {
    const char* name;
    bool vertical;
    int left, top, right, bottom;
    std::vector<std::string> polygons;
    std::vector<int> shades;  // 0, 64 or 128 per polygon
  };
  const Case cases[] = {
      // apex (30, 20, 15) at (45, 5); the back-left corner (10, 80, 30) at (40, 50) lies lower
      {"tall",
       true,
       10,
       20,
       50,
       80,
       {"Polygon 10,80,50,80,45,5", "Polygon 50,80,80,50,45,5"},
       {0, 128}},
      // apex (30, 70, 15) at (45, 55); the back-left corner at (40, 50) lies higher: all four
      {"flat",
       true,
       10,
       70,
       50,
       80,
       {"Polygon 10,80,50,80,45,55", "Polygon 10,80,40,50,45,55", "Polygon 50,80,80,50,45,55",
        "Polygon 40,50,80,50,45,55"},
       {0, 0, 128, 128}},
      // upside down: the front, then the base on top at y = 20
      {"inverted",
       true,
       10,
       80,
       50,
       20,
       {"Polygon 10,20,50,20,45,65", "Polygon 10,20,50,20,80,-10,40,-10"},
       {0, 64}},
      // lying: base at x = 10, apex (60, 50, 15) at (75, 35)
      {"horizontal",
       false,
       10,
       20,
       60,
       80,
       {"Polygon 10,20,10,80,75,35", "Polygon 10,20,40,-10,75,35"},
       {0, 64}},
      // pointing left: the base shows as a plane along the depth at x = 60
      {"horizontal reversed",
       false,
       60,
       20,
       10,
       80,
       {"Polygon 60,20,60,80,25,35", "Polygon 60,20,90,-10,25,35",
        "Polygon 60,20,90,-10,90,50,60,80"},
       {0, 64, 128}},
  };
  const tk::TColor face = tk::RGB(200, 160, 40);
  for (const Case& c : cases) {
    Rig r(View::orthogonal);
    r.canvas.Brush().color = face;
    r.canvas.DrawPyramid(c.vertical, c.left, c.top, c.right, c.bottom, 0, 30, true);
    std::vector<std::string> got;
    std::vector<tk::TColor> colours;
    for (const auto& call : r.screen.Calls()) {
      got.push_back(call.ToString());
      colours.push_back(call.brush.color);
    }
    EXPECT_EQ(got, c.polygons) << c.name;
    std::vector<tk::TColor> want;
    for (int s : c.shades)
      want.push_back(s == 0 ? face : DarkenColor(face, s));
    EXPECT_EQ(colours, want) << c.name;
  }
}

TEST(SolidFaces, EllipsesAtDepthInEachProjection) {
  // Rotated with all angles 0 the projection is the identity about the centre,
  // so the outline points are the formula's own: point 0 at (cx, y2), point i
  // at (cx + trunc(rx sin(i pi/10)), cy + trunc(ry cos(i pi/10))).
  const int x1 = 100, y1 = 80, x2 = 161, y2 = 121;  // centre (130, 100), radii 30 and 20
  std::vector<int> outline{130, 121};
  for (int i = 1; i < 32; ++i) {
    const double a = i * std::numbers::pi / 10;
    outline.push_back(130 + static_cast<int>(30 * std::sin(a)));
    outline.push_back(100 + static_cast<int>(20 * std::cos(a)));
  }
  struct Case {
    const char* name;
    View view;
    tk::TBrushStyle brush;
    tk::TPenStyle pen;
    size_t triangles;
    bool polyline;
    std::string ellipse;  // the platform ellipse, when one is drawn
  };
  const Case cases[] = {
      {"flat", View::flat, tk::bsSolid, tk::psSolid, 0, false, "Ellipse 100,80,162,122"},
      {"orthogonal", View::orthogonal, tk::bsSolid, tk::psSolid, 0, false,
       "Ellipse 110,70,171,111"},  // both corners moved by the depth 10
      {"rotated", View::rotated0, tk::bsSolid, tk::psSolid, 31, true, ""},
      {"rotated, clear brush", View::rotated0, tk::bsClear, tk::psSolid, 0, true, ""},
      {"rotated, clear pen", View::rotated0, tk::bsSolid, tk::psClear, 31, false, ""},
  };
  for (const Case& c : cases) {
    Rig r(c.view);
    r.canvas.Brush().style = c.brush;
    r.canvas.Pen().style = c.pen;
    r.canvas.DrawEllipseAtDepth(x1, y1, x2, y2, 10);
    size_t triangles = 0;
    bool polyline = false;
    std::string ellipse;
    for (const auto& call : r.screen.Calls()) {
      if (call.op == "Polygon") {
        ++triangles;
        EXPECT_EQ(call.pen.style, tk::psClear) << c.name;  // the inside has no outline
        EXPECT_EQ(call.args.size(), 6u) << c.name;
        EXPECT_EQ((std::vector<int>{call.args[0], call.args[1]}), (std::vector<int>{130, 100}));
      }
      if (call.op == "Polyline") {
        polyline = true;
        EXPECT_EQ(call.args, outline) << c.name;
      }
      if (call.op == "Ellipse") ellipse = call.ToString();
    }
    EXPECT_EQ(triangles, c.triangles) << c.name;
    EXPECT_EQ(polyline, c.polyline) << c.name;
    EXPECT_EQ(ellipse, c.ellipse) << c.name;
    EXPECT_EQ(r.canvas.Pen().style, c.pen) << c.name;  // the pen is given back
  }
}

TEST(SolidFaces, ThickPieSliceSidesFaceAndRim) {
  // Orthogonal view: (x, y, z) lands on (x + z, y - z). Centre (100, 100),
  // radius 50, depth 0 to 20.
  struct Case {
    const char* name;
    double start, end;
    bool drawSides;
    std::vector<size_t> corners;  // polygon sizes in drawing order
    std::vector<int> shades;
  };
  const double pi = std::numbers::pi;
  const Case cases[] = {
      // 0 to 90 degrees: 11 arc points rising up the screen, no rim faces us; the first
      // side's outer point (150, 100) lies right of the centre, the last (100, 50) on it
      {"upper right", 0, pi / 2, true, {12}, {0}},
      // 180 to 360: 20 arc points; the side from (50, 100) lies left, the one to (150, 100)
      // right; depth runs up and right, so the rim faces us from 135 to 315 degrees:
      // points 1 (180) to 15 (312.6)
      {"lower half", pi, 2 * pi, true, {4, 4, 21, 30}, {0, 0, 0, 32}},
      {"lower half, no sides", pi, 2 * pi, false, {21, 30}, {0, 32}},
  };
  const tk::TColor face = tk::RGB(90, 180, 250);
  for (const Case& c : cases) {
    Rig r(View::orthogonal);
    r.canvas.Brush().color = face;
    r.canvas.DrawPieSlice3D(100, 100, 50, 50, 0, 20, c.start, c.end, true, c.drawSides);
    std::vector<size_t> corners;
    std::vector<tk::TColor> colours;
    for (const auto& call : r.screen.Calls()) {
      corners.push_back(call.args.size() / 2);
      colours.push_back(call.brush.color);
    }
    EXPECT_EQ(corners, c.corners) << c.name;
    std::vector<tk::TColor> want;
    for (int s : c.shades)
      want.push_back(s == 0 ? face : DarkenColor(face, s));
    EXPECT_EQ(colours, want) << c.name;
  }
  // the lower half's rim: arc points 1 to 15 at the back, then back along the front
  Rig r(View::orthogonal);
  r.canvas.DrawPieSlice3D(100, 100, 50, 50, 0, 20, pi, 2 * pi, false, false);
  const auto& rim = r.screen.Calls().back().args;
  std::vector<int> want;
  for (int k = 1; k <= 15; ++k) {
    const double a = pi + (k - 1) * pi / 19;
    want.insert(want.end(), {100 + tk::RoundToInt(50 * std::cos(a)) + 20,
                             100 - tk::RoundToInt(50 * std::sin(a)) - 20});
  }
  for (int k = 15; k >= 1; --k) {
    const double a = pi + (k - 1) * pi / 19;
    want.insert(want.end(),
                {100 + tk::RoundToInt(50 * std::cos(a)), 100 - tk::RoundToInt(50 * std::sin(a))});
  }
  EXPECT_EQ(rim, want);
}

TEST(SolidFaces, ThickPieSliceRimShowsWhereItFacesTheViewer) {
  // A whole slice: 32 arc points round an ellipse of radii 80 and 60, 40 deep.
  // The face is drawn at the back depth and the rim runs from under it towards
  // the front, so the picture is the solid mirrored in depth: a stretch of rim
  // is drawn exactly when its outward normal, worked out in the chart's own
  // coordinates, turns away from the viewer.
  const double pi = std::numbers::pi;
  constexpr int n = 32;
  for (View view : {View::orthogonal, View::fromAbove, View::fromBelow, View::pieMode}) {
    Rig r(view);
    r.canvas.DrawPieSlice3D(200, 150, 80, 60, 0, 40, 0, 2 * pi, false, false);
    std::vector<tk::TPoint> back(n + 1);
    for (int k = 1; k <= n; ++k) {
      const double a = (k - 1) * 2 * pi / (n - 1);
      back[static_cast<size_t>(k)] = r.canvas.ProjectPoint(
          200 + tk::RoundToInt(80 * std::cos(a)), 150 - tk::RoundToInt(60 * std::sin(a)), 40);
    }
    std::set<int> drawn;  // segment k joins arc points k and k + 1
    const auto& calls = r.screen.Calls();
    for (size_t c = 1; c < calls.size(); ++c) {  // the face first, then the rim
      const auto& args = calls[c].args;
      const int half = static_cast<int>(args.size()) / 4;
      int first = 1;
      while (first < n && !(back[static_cast<size_t>(first)] == tk::TPoint{args[0], args[1]}))
        ++first;
      for (int j = 0; j + 1 < half; ++j) drawn.insert(first + j);
    }
    const Vec toViewer = r.ToViewer();
    int checked = 0;
    for (int k = 1; k < n; ++k) {
      const double a = (k - 0.5) * 2 * pi / (n - 1);
      const std::optional<bool> shows = Shows({std::cos(a) / 80, -std::sin(a) / 60, 0}, toViewer);
      if (!shows) continue;
      ++checked;
      EXPECT_EQ(drawn.count(k) == 1, !*shows) << static_cast<int>(view) << " segment " << k;
    }
    EXPECT_GT(checked, 20) << static_cast<int>(view);
  }
}
