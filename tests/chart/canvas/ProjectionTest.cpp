#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "chart/canvas/Canvas.h"
#include "toolkit/RecordingSurface.h"

namespace {

constexpr tk::TRect kChart{100, 50, 500, 350};  // centre (300, 200)

// A canvas mid-paint with the given view.
struct View {
  tk::TRecordingSurface screen;
  TView3DOptions options;
  TZozCanvas3D canvas;
  View(bool is3D, bool orthogonal, int zoom = 100, int depth = 60) {
    options.SetOrthogonal(orthogonal);
    options.SetZoom(zoom);
    canvas.StartFrame(screen, &options, tk::clWhite, is3D, {0, 0, 600, 400});
    canvas.SetProjectionCenter(depth, {0, 0, 600, 400}, kChart);
  }
  void Restart(bool is3D) {
    canvas.StartFrame(screen, &options, tk::clWhite, is3D, {0, 0, 600, 400});
    canvas.SetProjectionCenter(60, {0, 0, 600, 400}, kChart);
  }
};

}  // namespace

TEST(Projection, FlatLeavesPointsAndIgnoresDepth) {
  View v(false, true);
  EXPECT_EQ(v.canvas.ProjectPoint(123, 45, 77), (tk::TPoint{123, 45}));
  EXPECT_FALSE(v.canvas.Orthogonal());  // a flat paint never uses the options' mode
}

TEST(Projection, OrthogonalShiftsDepthRightAndUp) {
  struct Case {
    int zoom, hOffset, vOffset, x, y, z;
    tk::TPoint expected;
  };
  const Case cases[] = {
      {100, 0, 0, 150, 80, 10, {160, 70}},
      {100, 0, 0, 150, 80, 0, {150, 80}},
      {100, 7, -3, 150, 80, 10, {167, 67}},
      // zoom 50 around the centre (300, 200): (150 - 300 + 10) * 0.5 = -70, (80 - 200 - 10) * 0.5 =
      // -65
      {50, 0, 0, 150, 80, 10, {230, 135}},
      // halves go to the even neighbour: (301 - 300 + 0) * 0.5 = 0.5 -> 0; (203 - 200) * 0.5 = 1.5
      // -> 2
      {50, 0, 0, 301, 203, 0, {300, 202}},
  };
  for (const Case& c : cases) {
    View v(true, true, c.zoom);
    v.options.SetHorizOffset(c.hOffset);
    v.options.SetVertOffset(c.vOffset);
    v.Restart(true);
    EXPECT_EQ(v.canvas.ProjectPoint(c.x, c.y, c.z), c.expected)
        << c.zoom << " " << c.x << "," << c.y;
  }
}

TEST(Projection, RotationCoefficients) {
  struct Case {
    int elevation, rotation, tilt;
    double xx, xy, xz, yx, yy, yz, px, py, pz;
  };
  const double s45 = std::sqrt(0.5);
  const Case cases[] = {
      {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1},
      {90, 0, 0, 1, 0, 0, 0, 0.00001, 1, 0, 1, 0},   // cos E = 0: YY floored
      {0, 90, 0, 0.00001, 0, -1, 0, 1, 0, 1, 0, 0},  // cos R = 0: XX floored
      {0, 45, 0, s45, 0, -s45, 0, 1, 0, s45, 0, s45},
      {0, 0, 30, std::cos(M_PI / 6), 0.5, 0, -0.5, std::cos(M_PI / 6), 0, 0, 0, 1},
  };
  for (const Case& c : cases) {
    View v(true, false);
    v.options.SetElevation(c.elevation);
    v.options.SetRotation(c.rotation);
    v.options.SetTilt(c.tilt);
    v.Restart(true);
    const auto k = v.canvas.Coefficients();
    const double eps = 1e-12;
    EXPECT_NEAR(k.xx, c.xx, eps) << c.elevation << "/" << c.rotation << "/" << c.tilt;
    EXPECT_NEAR(k.xy, c.xy, eps);
    EXPECT_NEAR(k.xz, c.xz, eps);
    EXPECT_NEAR(k.yx, c.yx, eps);
    EXPECT_NEAR(k.yy, c.yy, eps);
    EXPECT_NEAR(k.yz, c.yz, eps);
    EXPECT_NEAR(static_cast<double>(k.px), c.px, eps);
    EXPECT_NEAR(static_cast<double>(k.py), c.py, eps);
    EXPECT_NEAR(k.pz, c.pz, eps);
  }
}

TEST(Projection, RotatedWithZeroAnglesIsAShiftWhateverTheDepth) {
  View v(true, false);
  v.options.SetElevation(0);
  v.options.SetRotation(0);
  v.options.SetPerspective(0);
  v.options.SetHorizOffset(5);
  v.Restart(true);
  EXPECT_EQ(v.canvas.PerspectiveFactor(), 0);
  for (int z : {0, 30, 1000})
    EXPECT_EQ(v.canvas.ProjectPoint(120, 90, z), (tk::TPoint{125, 90})) << z;
}

TEST(Projection, PerspectiveScalesByDepth) {
  View v(true, false);
  v.options.SetElevation(0);
  v.options.SetRotation(0);
  v.options.SetPerspective(15);
  v.Restart(true);
  EXPECT_DOUBLE_EQ(v.canvas.PerspectiveFactor(), 15 / 35000.0);
  // dx = 100, dz = 1000 - 30: f = 1 - p * dz (PZ = 1)
  const double f = 1 - 15 / 35000.0 * (1000 - 30);
  EXPECT_EQ(v.canvas.ProjectPoint(400, 200, 1000).x,
            static_cast<int>(std::nearbyint(100 * f)) + 300);
}

TEST(Projection, UnprojectInvertsTheProjection) {
  std::mt19937 rng(8);
  for (bool orthogonal : {true, false}) {
    View v(true, orthogonal);
    v.options.SetPerspective(0);
    // about the horizontal axis only, the inverse is exact up to rounding
    v.options.SetElevation(340);
    v.options.SetRotation(0);
    v.Restart(true);
    for (int i = 0; i < 500; ++i) {
      const int x = 100 + static_cast<int>(rng() % 400), y = 50 + static_cast<int>(rng() % 300),
                z = static_cast<int>(rng() % 60);
      const tk::TPoint p = v.canvas.ProjectPoint(x, y, z);
      int ux = p.x, uy = p.y;
      v.canvas.UnprojectPoint(ux, uy, z);
      EXPECT_NEAR(ux, x, orthogonal ? 0 : 1) << orthogonal;
      EXPECT_NEAR(uy, y, orthogonal ? 0 : 1) << orthogonal;
    }
  }
  View flat(false, true);
  int x = 10, y = 20;
  flat.canvas.UnprojectPoint(x, y, 30);
  EXPECT_EQ((tk::TPoint{x, y}), (tk::TPoint{10, 20}));
  View zoomZero(true, true, 0);
  x = 10, y = 20;
  zoomZero.canvas.UnprojectPoint(x, y, 30);
  EXPECT_EQ((tk::TPoint{x, y}), (tk::TPoint{10, 20}));
}

// With rotation about both axes the inverse takes the screen point for the
// other coordinate, as written: check it against that formula by hand.
TEST(Projection, UnprojectUsesTheScreenPointForBothCoordinates) {
  View v(true, false);
  v.options.SetPerspective(0);
  v.options.SetElevation(340);
  v.options.SetRotation(20);
  v.Restart(true);
  const auto k = v.canvas.Coefficients();
  const int x0 = 350, y0 = 260, z = 45;  // centre (300, 200), depth centre 30
  const double dz = z - 30;
  int x = x0, y = y0;
  v.canvas.UnprojectPoint(x, y, z);
  EXPECT_EQ(
      x,
      static_cast<int>(std::nearbyint(((x0 - 300) - dz * k.xz - (y0 - 200) * k.xy) / k.xx)) + 300);
  EXPECT_EQ(
      y,
      static_cast<int>(std::nearbyint(((y0 - 200) - dz * k.yz - (x0 - 300) * k.yx) / k.yy)) + 200);
}

TEST(Projection, FlatDrawingBracketKeepsOrthogonalAndRestores3D) {
  View v(true, false);
  v.canvas.BeginFlatDrawing();
  EXPECT_FALSE(v.canvas.Is3D());
  EXPECT_EQ(v.canvas.ProjectPoint(5, 6, 100), (tk::TPoint{5, 6}));
  v.canvas.EndFlatDrawing();
  EXPECT_TRUE(v.canvas.Is3D());
}
