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

enum class View { flat, orthogonal, fromAbove, fromBelow };

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
      for (int cone : {100, 40}) cases.push_back({vertical, v, cone});
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
    for (const auto& p : r.Polygons(4)) drawn.insert(p);
    size_t showing = 0, unclear = 0;
    for (int i = 0; i < kSides; ++i) {
      const double m = 2 * std::numbers::pi * (i + 0.5) / kSides;
      // outward: round the axis, tipped towards the far end by the narrowing
      const Vec radial = c.vertical ? Vec{std::cos(m), 0, std::sin(m)} : Vec{0, std::cos(m), std::sin(m)};
      const double tip = (R - farR) / L;
      const Vec normal{radial.x + tip * axis.x, radial.y + tip * axis.y, radial.z + tip * axis.z};
      const auto shows = Shows(normal, v);
      if (!shows) {
        ++unclear;
        continue;
      }
      showing += *shows ? 1 : 0;
      const double a0 = 2 * std::numbers::pi * i / kSides, a1 = 2 * std::numbers::pi * (i + 1) / kSides;
      const tk::TPoint q[4] = {ring(R, nearAt, a0), ring(R, nearAt, a1), ring(farR, farAt, a1),
                               ring(farR, farAt, a0)};
      std::vector<int> quad;
      for (const tk::TPoint& p : q) quad.insert(quad.end(), {p.x, p.y});
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
