#include <gtest/gtest.h>

#include <functional>

#include "chart/canvas/Canvas.h"
#include "toolkit/RecordingSurface.h"

namespace {

// A flat canvas drawing straight onto a recording surface.
struct Flat {
  tk::TRecordingSurface screen;
  TZozCanvas3D canvas;
  explicit Flat(bool is3D = false, TView3DOptions* options = nullptr) {
    canvas.SetBufferedDrawing(false);
    canvas.StartFrame(screen, options, tk::clWhite, is3D, {0, 0, 400, 300});
    canvas.SetProjectionCenter(40, {0, 0, 400, 300}, {20, 10, 380, 290});
  }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    for (const auto& c : screen.Calls())
      out.push_back(c.ToString());
    screen.Clear();
    return out;
  }
};

}  // namespace

TEST(FlatCanvas, DepthOperationsDrawTheirFlatTwins) {
  using Draw = std::function<void(TZozCanvas3D&)>;
  struct Case {
    const char* name;
    Draw atDepth, flat;
  };
  const Case cases[] = {
      {"segment", [](auto& c) { c.DrawSegmentAtDepth(1, 2, 30, 40, 40); },
       [](auto& c) { c.DrawSegment(1, 2, 30, 40); }},
      {"horizontal", [](auto& c) { c.DrawHorizontalAtDepth(1, 30, 7, 12); },
       [](auto& c) { c.DrawHorizontal(1, 30, 7); }},
      {"vertical", [](auto& c) { c.DrawVerticalAtDepth(9, 2, 70, 12); },
       [](auto& c) { c.DrawVertical(9, 2, 70); }},
      {"line",
       [](auto& c) {
         c.MovePenAtDepth(3, 4, 9);
         c.DrawLineToAtDepth(50, 60, 9);
       },
       [](auto& c) {
         c.MovePen(3, 4);
         c.DrawLineTo(50, 60);
       }},
      {"text", [](auto& c) { c.PutTextAtDepth(10, 20, 30, "Signal"); },
       [](auto& c) { c.PutText(10, 20, "Signal"); }},
      {"rect",
       [](auto& c) {
         c.DrawRectAtDepth({5, 6, 50, 60}, 20);
       },
       [](auto& c) {
         const tk::TPoint p[4] = {{5, 6}, {50, 6}, {50, 60}, {5, 60}};
         c.DrawPolygon(p, 4);
       }},
      {"triangle",
       [](auto& c) {
         c.DrawTriangleAtDepth({1, 1}, {9, 1}, {5, 8}, 30);
       },
       [](auto& c) {
         const tk::TPoint p[3] = {{1, 1}, {9, 1}, {5, 8}};
         c.DrawPolygon(p, 3);
       }},
      {"box", [](auto& c) { c.DrawBox(10, 50, 20, 80, 0, 30, true); },
       [](auto& c) {
         const tk::TPoint p[4] = {{10, 20}, {50, 20}, {50, 80}, {10, 80}};
         c.DrawPolygon(p, 4);
       }},
      {"ellipse", [](auto& c) { c.DrawEllipseAtDepth(10, 20, 50, 60, 30); },
       [](auto& c) { c.DrawEllipse(10, 20, 51, 61); }},
      {"sphere", [](auto& c) { c.DrawSphere(30, 30, 5, 9.6); },
       [](auto& c) { c.DrawEllipse(20, 20, 41, 41); }},
      {"rotated text", [](auto& c) { c.PutRotatedTextAtDepth(10, 20, 5, "T", 45); },
       [](auto& c) { c.PutRotatedText(10, 20, "T", 45); }},
  };
  for (const Case& c : cases) {
    Flat a, b;
    c.atDepth(a.canvas);
    c.flat(b.canvas);
    EXPECT_EQ(a.Take(), b.Take()) << c.name;
  }
  Flat depthLine;
  depthLine.canvas.DrawDepthLine(7, 8, 0, 50);  // from a point to itself
  EXPECT_EQ(depthLine.Take(), (std::vector<std::string>{"MoveTo 7,8", "LineTo 7,8"}));
}

TEST(ClipToBox, ThreeCases) {
  {
    Flat flat;
    flat.canvas.ClipToBox({20, 10, 380, 290}, 0, 40);
    EXPECT_EQ(flat.Take(), std::vector<std::string>{"IntersectClipRect 21,11,380,289"});
  }
  {
    TView3DOptions top;
    top.SetOrthogonal(false);
    top.SetElevation(270);
    top.SetRotation(360);
    Flat above(true, &top);
    const tk::TPoint a = above.canvas.ProjectPoint(20, 10, 0),
                     b = above.canvas.ProjectPoint(380, 10, 40);
    above.canvas.ClipToBox({20, 10, 380, 290}, 0, 40);
    EXPECT_EQ(above.Take(),
              std::vector<std::string>{"IntersectClipRect " + std::to_string(a.x) + "," +
                                       std::to_string(a.y) + "," + std::to_string(b.x) + "," +
                                       std::to_string(b.y)});
  }
  {
    TView3DOptions ortho;  // orthogonal by default: depth goes right and up
    Flat oblique(true, &ortho);
    oblique.canvas.ClipToBox({20, 10, 380, 290}, 0, 40);
    // P0 (20,290,0), P1 (20,10,0), P2 = (20,10,40) -> (60,-30) is higher than (380,10,0),
    // P3 (380,10,40) -> (420,-30), P4 = (380,290,40) -> (420,250) is further right, P5 (380,290,0)
    EXPECT_EQ(oblique.Take(), std::vector<std::string>{
                                  "SelectClipPolygon 20,290,20,10,60,-30,420,-30,420,250,380,290"});
  }
}

TEST(RotatedText, AngleAndBrushRules) {
  struct Case {
    int angle, escapement;
  };
  for (const Case& c : {Case{450, 900}, {360, 3600}, {90, 900}, {0, 0}, {721, 3610}}) {
    Flat f;
    f.canvas.Brush().style = tk::bsSolid;
    f.canvas.PutRotatedText(10, 10, "x", c.angle);
    ASSERT_EQ(f.screen.Calls().size(), 1u);
    EXPECT_EQ(f.screen.Calls()[0].font.escapement, c.escapement) << c.angle;
    EXPECT_EQ(f.canvas.Font().escapement, 0);        // the rotated font was temporary
    EXPECT_EQ(f.canvas.Brush().style, tk::bsClear);  // and stays clear
  }
}

TEST(ZoomText, TextAtDepthScalesWithTheZoom) {
  struct Case {
    int zoom, points, drawnHeight;
  };
  const Case cases[] = {
      {100, 10, -13},  // unchanged
      {50, 10, -7},    // 5 points
      {10, 1, -1},     // a 1-point font stays at 1 point
      {200, 8, -21},   // 16 points
  };
  for (const Case& c : cases) {
    TView3DOptions o;
    o.SetZoom(c.zoom);
    Flat f(true, &o);
    f.canvas.Font().font.height = tk::PointsToHeight(c.points);
    const int before = f.canvas.Font().font.height;
    f.canvas.PutTextAtDepth(10, 10, 0, "W");
    EXPECT_EQ(f.screen.Calls().back().font.font.height, c.drawnHeight) << c.zoom;
    EXPECT_EQ(f.canvas.Font().font.height, before);
  }
  TView3DOptions o;
  o.SetZoom(50);
  o.SetZoomText(false);
  Flat f(true, &o);
  f.canvas.Font().font.height = -13;
  f.canvas.PutTextAtDepth(10, 10, 0, "W");
  EXPECT_EQ(f.screen.Calls().back().font.font.height, -13);
}

TEST(BufferedPaint, Lifecycle) {
  tk::TRecordingSurface window;
  TZozCanvas3D canvas;
  auto paint = [&](int w, int h) {
    if (canvas.RepaintFromBuffer()) return std::string("from buffer");
    const tk::TRect r = canvas.StartFrame(window, nullptr, tk::clWhite, false, {0, 0, w, h});
    EXPECT_EQ(r, (tk::TRect{0, 0, w, h}));
    canvas.FillArea(r);
    canvas.PresentFrame(window, window, {0, 0, w, h});
    return std::string("drawn");
  };
  EXPECT_TRUE(canvas.Dirty());
  EXPECT_EQ(paint(300, 200), "drawn");
  EXPECT_FALSE(canvas.Dirty());
  EXPECT_EQ(window.Ops("CreateBitmap"), std::vector<std::string>{"CreateBitmap 300,200,0"});
  EXPECT_EQ(window.Ops("CopyFrom"), std::vector<std::string>{"CopyFrom 0,0,300,200"});
  EXPECT_EQ(paint(300, 200), "from buffer");
  EXPECT_EQ(window.Ops("FillRect").size(), 1u);  // nothing drawn again
  canvas.MarkDirty();
  EXPECT_EQ(paint(300, 200), "drawn");
  EXPECT_EQ(window.Ops("CreateBitmap").size(), 1u);  // same size: the bitmap is kept
  canvas.MarkDirty();
  EXPECT_EQ(paint(320, 200), "drawn");
  EXPECT_EQ(window.Ops("CreateBitmap").back(), "CreateBitmap 320,200,0");
  canvas.SetMonochromeBuffer(true);
  EXPECT_TRUE(canvas.Dirty());
  EXPECT_EQ(canvas.Buffer(), nullptr);
  paint(320, 200);
  EXPECT_EQ(window.Ops("CreateBitmap").back(), "CreateBitmap 320,200,1");
  canvas.SetBufferedDrawing(false);
  EXPECT_EQ(canvas.Buffer(), nullptr);
  EXPECT_TRUE(canvas.Dirty());
  EXPECT_FALSE(canvas.RepaintFromBuffer());
}

TEST(ResetTools, DefaultsOfTheSurface) {
  Flat f;
  f.canvas.Pen().width = 5;
  f.canvas.Brush().style = tk::bsCross;
  f.canvas.ResetTools();
  EXPECT_EQ(f.canvas.Pen(), (tk::TPenSpec{tk::clBlack, 1, tk::psSolid, tk::pmCopy, false}));
  EXPECT_EQ(f.canvas.Brush(), (tk::TBrushSpec{tk::clWhite, tk::bsSolid}));
  EXPECT_EQ(f.canvas.Font().font.height, -13);
  EXPECT_EQ(f.canvas.BackgroundMode(), tk::TRANSPARENT);
  EXPECT_EQ(f.canvas.BackgroundColor(), tk::clWhite);
}

TEST(Canvas, WithoutASurfaceDrawsNothingAndMeasuresZero) {
  TZozCanvas3D canvas;
  canvas.DrawRect(0, 0, 10, 10);
  EXPECT_EQ(canvas.MeasureTextWidth("abc"), 0);
  EXPECT_FALSE(canvas.RepaintFromBuffer());
}
