#include <gtest/gtest.h>

#include <map>

#include "chart/canvas/Canvas.h"
#include "chart/canvas/Palette.h"
#include "toolkit/RecordingSurface.h"
#include "toolkit/Rounding.h"

namespace {

struct Rig {
  tk::TRecordingSurface screen;
  TView3DOptions options;
  TZozCanvas3D canvas;
  explicit Rig(bool is3D = false) {
    canvas.SetBufferedDrawing(false);
    canvas.StartFrame(screen, &options, tk::clWhite, is3D, {0, 0, 400, 300});
    canvas.SetProjectionCenter(40, {0, 0, 400, 300}, {0, 0, 400, 300});
  }
  // colour of each FillRect, keyed by its rectangle
  std::vector<std::pair<tk::TRect, tk::TColor>> Fills() const {
    std::vector<std::pair<tk::TRect, tk::TColor>> out;
    for (const auto& c : screen.Calls())
      if (c.op == "FillRect")
        out.push_back({{c.args[0], c.args[1], c.args[2], c.args[3]}, c.brush.color});
    return out;
  }
};

}  // namespace

TEST(Gradient, TopBottomBandsRunFromTheBottomEdge) {
  Rig r;
  r.canvas.FillGradient({0, 0, 50, 10}, tk::clBlack, tk::clWhite, gdTopBottom);
  const auto fills = r.Fills();
  ASSERT_EQ(fills.size(), 10u);
  EXPECT_EQ(fills.front().first, (tk::TRect{0, 9, 50, 10}));  // bottom row first
  EXPECT_EQ(fills.front().second, tk::clBlack);
  EXPECT_EQ(fills.back().first, (tk::TRect{0, 0, 50, 1}));
  EXPECT_EQ(fills.back().second, tk::clWhite);
  // MulDiv(n, 255, 9) per channel in between
  EXPECT_EQ(fills[1].second, tk::RGB(28, 28, 28));
  EXPECT_EQ(r.canvas.Brush().color, tk::clWhite);  // the canvas brush is back
}

TEST(Gradient, DirectionsAndSizes) {
  struct Case {
    TGradientDirection dir;
    tk::TRect rect;
    size_t fills;
    tk::TRect firstBand;
    tk::TColor firstColour;
  };
  const Case cases[] = {
      {gdBottomTop,
       {0, 0, 50, 10},
       10,
       {0, 9, 50, 10},
       tk::clWhite},  // exchanged: end colour at the bottom
      {gdLeftRight, {0, 0, 8, 30}, 8, {7, 0, 8, 30}, tk::clBlack},  // step 0 along the right edge
      {gdRightLeft, {0, 0, 8, 30}, 8, {7, 0, 8, 30}, tk::clWhite},
      {gdTopBottom,
       {0, 0, 50, 1000},
       256,
       {0, 996, 50, 1000},
       tk::clBlack},  // 256 bands of about 4 pixels
      {gdTopBottom, {0, 5, 50, 5}, 0, {}, 0},
      {gdFromCenter,
       {0, 0, 4, 4},
       8,
       {0, 0, 1, 4},
       tk::clWhite},  // the outer frame has the end colour
      {gdTopBottom, {50, 10, 0, 0}, 10, {0, 9, 50, 10}, tk::clBlack},  // normalised
  };
  for (const Case& c : cases) {
    Rig r;
    r.canvas.FillGradient(c.rect, tk::clBlack, tk::clWhite, c.dir);
    const auto fills = r.Fills();
    ASSERT_EQ(fills.size(), c.fills) << c.dir;
    if (c.fills == 0) continue;
    EXPECT_EQ(fills[0].first, c.firstBand) << c.dir;
    EXPECT_EQ(fills[0].second, c.firstColour) << c.dir;
  }
}

TEST(Gradient, DiagonalCoversEveryPixelOnce) {
  Rig r;
  r.canvas.FillGradient({10, 20, 16, 24}, tk::clBlack, tk::clWhite, gdFromTopLeft);
  std::map<std::pair<int, int>, tk::TColor> pixels;
  for (const auto& [rect, colour] : r.Fills()) {
    EXPECT_TRUE(pixels.emplace(std::make_pair(rect.left, rect.top), colour).second);
  }
  EXPECT_EQ(pixels.size(), 24u);
  // the start corner is the start colour (exchanged: the end colour passed in)
  EXPECT_EQ((pixels[{10, 20}]), tk::clWhite);
  EXPECT_GT(tk::RedOf(pixels[{10, 20}]), tk::RedOf(pixels[{15, 23}]));
}

TEST(Bevel, RingsInTheirColours) {
  Rig r;
  r.canvas.DrawBevel({10, 10, 20, 20}, tk::clWhite, tk::clGray, 2);
  std::vector<std::string> got;
  std::vector<tk::TColor> colours;
  for (const auto& c : r.screen.Calls()) {
    got.push_back(c.ToString());
    colours.push_back(c.pen.color);
  }
  EXPECT_EQ(got,
            (std::vector<std::string>{"Polyline 10,19,10,10,19,10", "Polyline 19,10,19,19,9,19",
                                      "Polyline 11,18,11,11,18,11", "Polyline 18,11,18,18,10,18"}));
  EXPECT_EQ(colours, (std::vector<tk::TColor>{tk::clWhite, tk::clGray, tk::clWhite, tk::clGray}));
}

TEST(Box, FlatIsOneRectangleAndObliqueShowsShadedSides) {
  Rig flat;
  flat.canvas.Brush().color = tk::RGB(200, 100, 50);
  flat.canvas.DrawBox(10, 50, 20, 80, 0, 30, true);
  EXPECT_EQ(flat.screen.Ops("Polygon"),
            std::vector<std::string>{"Polygon 10,20,50,20,50,80,10,80"});

  Rig oblique(true);  // orthogonal: depth right and up, centre (200, 150)
  oblique.canvas.Brush().color = tk::RGB(200, 100, 50);
  oblique.canvas.DrawBox(10, 50, 20, 80, 0, 30, true);
  std::vector<std::string> polys;
  std::vector<tk::TColor> colours;
  for (const auto& c : oblique.screen.Calls()) {
    polys.push_back(c.ToString());
    colours.push_back(c.brush.color);
  }
  EXPECT_EQ(polys, (std::vector<std::string>{"Polygon 10,20,50,20,50,80,10,80",
                                             "Polygon 50,20,80,-10,80,50,50,80",
                                             "Polygon 10,20,50,20,80,-10,40,-10"}));
  EXPECT_EQ(colours, (std::vector<tk::TColor>{tk::RGB(200, 100, 50), tk::RGB(72, 0, 0),
                                              tk::RGB(136, 36, 0)}));
}

TEST(Arrow, ZeroLengthDrawsNothingAndFilledHasSevenCorners) {
  Rig r;
  r.canvas.DrawArrow(true, {5, 5}, {5, 5}, 10, 8, 0);
  EXPECT_TRUE(r.screen.Calls().empty());
  r.canvas.DrawArrow(true, {0, 0}, {100, 0}, 20, 10, 0);
  // pointing right: shaft at y -5..5 from x 0 to 90, head corners (90, -10) and (90, 10), tip (100,
  // 0)
  EXPECT_EQ(r.screen.Ops("Polygon"),
            std::vector<std::string>{"Polygon 0,5,0,-5,90,-5,90,-10,100,0,90,10,90,5"});
  r.screen.Clear();
  r.canvas.DrawArrow(false, {0, 0}, {0, 100}, 20, 10, 0);  // pointing down the screen
  EXPECT_EQ(r.screen.Ops("LineTo"),
            (std::vector<std::string>{"LineTo 0,100", "LineTo 10,90", "LineTo -10,90"}));
}

TEST(Shapes, FlatPyramidCylinderAndPieShowTheirFronts) {
  Rig r;
  r.canvas.DrawPyramid(true, 10, 20, 50, 80, 0, 30, true);
  // the front triangle first: base front edge to the apex
  ASSERT_FALSE(r.screen.Calls().empty());
  EXPECT_EQ(r.screen.Calls()[0].ToString(), "Polygon 10,80,50,80,30,20");
  r.screen.Clear();
  r.canvas.DrawCylinder(true, 10, 20, 50, 80, 0, 30, false);
  int minX = 1000, maxX = -1000;
  for (const auto& c : r.screen.Calls())
    for (size_t i = 0; i < c.args.size(); i += 2)
      minX = std::min(minX, c.args[i]), maxX = std::max(maxX, c.args[i]);
  EXPECT_EQ(minX, 10);
  EXPECT_EQ(maxX, 50);
  r.screen.Clear();
  r.canvas.DrawPieSlice3D(100, 100, 50, 50, 0, 20, 0, 1.5707963267948966, false, true);
  ASSERT_FALSE(r.screen.Ops("Polygon").empty());
  // the face: the centre then 11 arc points from (150, 100) to (100, 50)
  bool sawFace = false;
  for (const auto& c : r.screen.Calls())
    if (c.args.size() == 2 * 12 && c.args[0] == 100 && c.args[1] == 100 && c.args[2] == 150 &&
        c.args[3] == 100 && c.args[22] == 100 && c.args[23] == 50)
      sawFace = true;
  EXPECT_TRUE(sawFace);
}

TEST(Shapes, PixelsAndTrianglesAtDepth) {
  Rig r(true);
  r.canvas.PutPixelAtDepth(10, 10, 5, tk::clRed);
  EXPECT_EQ(r.screen.Calls().back().ToString(), "SetPixel 15,5");
  r.canvas.Pen().width = 3;
  r.canvas.PutPixelAtDepth(10, 10, 5, tk::clRed);
  EXPECT_EQ(r.screen.Calls().back().ToString(), "LineTo 15,5");
  const TPoint3D pts[3] = {{0, 0, 0}, {10, 0, 10}, {0, 10, 20}};
  const tk::TColor cols[3] = {tk::clLime, tk::clRed, tk::clRed};
  r.canvas.DrawTriangle3D(pts, cols);
  EXPECT_EQ(r.screen.Calls().back().ToString(), "Polygon 0,0,20,-10,20,-10");
  EXPECT_EQ(r.screen.Calls().back().brush.color, tk::clLime);
  const tk::TPoint quad[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  r.canvas.DrawQuadAcrossDepth(quad, 0, 10);
  EXPECT_EQ(r.screen.Calls().back().ToString(), "Polygon 0,0,10,0,20,0,10,0");
}

namespace {

// The fills of a recorded gradient replayed onto a grid of colours (-1: not painted).
std::vector<std::vector<long long>> Replay(const Rig& r, const tk::TRect& area) {
  std::vector<std::vector<long long>> grid(
      static_cast<size_t>(area.Height()),
      std::vector<long long>(static_cast<size_t>(area.Width()), -1));
  for (const auto& [rect, colour] : r.Fills())
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        grid.at(static_cast<size_t>(y - area.top)).at(static_cast<size_t>(x - area.left)) = colour;
  return grid;
}

// The concentric frames step by step, one pixel at a time: insets a and b
// from 0, four one-pixel strips in colour step a + b over W div 2 + H div 2
// steps, a and b growing while below their halves, until both have reached them.
std::vector<std::vector<long long>> SlowFromCenter(int W, int H, tk::TColor from, tk::TColor to) {
  std::vector<std::vector<long long>> grid(static_cast<size_t>(H),
                                           std::vector<long long>(static_cast<size_t>(W), -1));
  auto put = [&](int x, int y, long long c) {
    grid[static_cast<size_t>(y)][static_cast<size_t>(x)] = c;
  };
  const int span = W / 2 + H / 2;
  auto step = [&](int n) {
    auto ch = [&](int s, int e) { return (s + tk::MulDiv(n, e - s, span)) & 0xFF; };
    return static_cast<long long>(
        tk::RGB(static_cast<std::uint8_t>(ch(tk::RedOf(from), tk::RedOf(to))),
                static_cast<std::uint8_t>(ch(tk::GreenOf(from), tk::GreenOf(to))),
                static_cast<std::uint8_t>(ch(tk::BlueOf(from), tk::BlueOf(to)))));
  };
  int a = 0, b = 0;
  for (;;) {
    const long long c = step(a + b);
    for (int y = a; y < a + (H - 2 * a); ++y)
      put(b, y, c);  // left
    for (int y = a; y < a + (H - 2 * a); ++y)
      put(W - b - 1, y, c);  // right
    for (int x = b; x < b + (W - 2 * b); ++x)
      put(x, a, c);  // top
    for (int x = b; x < b + (W - 2 * b); ++x)
      put(x, H - a - 1, c);               // bottom
    if (a >= H / 2 && b >= W / 2) break;  // the frame at both halves is the last
    if (a < H / 2) ++a;
    if (b < W / 2) ++b;
  }
  return grid;
}

}  // namespace

TEST(Gradient, FromCenterPaintsEveryFrameOfTheSteps) {
  const tk::TColor start = tk::RGB(10, 200, 30), end = tk::RGB(250, 0, 140);
  struct Size {
    int w, h;
  };
  for (const Size s : {Size{400, 250},
                       {250, 400},
                       {4, 4},
                       {3, 3},
                       {5, 3},
                       {3, 5},
                       {7, 4},
                       {6, 9},
                       {1, 1},
                       {1, 6},
                       {10, 1},
                       {2, 2},
                       {31, 30}}) {
    Rig r;
    const tk::TRect area{7, 11, 7 + s.w, 11 + s.h};
    r.canvas.FillGradient(area, start, end, gdFromCenter);
    // exchanged first: step 0, the outer frame, is the end colour passed in
    const auto want = SlowFromCenter(s.w, s.h, end, start);
    const auto got = Replay(r, area);
    int differ = 0;
    for (size_t y = 0; y < want.size(); ++y)
      for (size_t x = 0; x < want[y].size(); ++x)
        differ += got[y][x] != want[y][x];
    EXPECT_EQ(differ, 0) << s.w << "x" << s.h;
    for (const auto& row : got)
      for (long long c : row)
        ASSERT_NE(c, -1) << s.w << "x" << s.h << ": a pixel left unpainted";
  }
}
