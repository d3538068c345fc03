// The walls' brushes on a recorded paint: a wall whose brush carries a pattern
// bitmap fills with it, one without takes the pattern off the canvas brush.
#include <gtest/gtest.h>

#include "tests/support/ChartRig.h"

namespace {

const tk::TColor kBackPen = tk::RGB(200, 0, 0), kLeftPen = tk::RGB(0, 200, 0),
                 kBottomPen = tk::RGB(0, 0, 200);

// The calls drawn with one wall's pen (each wall gets a pen colour of its own).
std::vector<const tk::TDrawCall*> CallsWithPen(const tk::TRecordingSurface& s, tk::TColor pen) {
  std::vector<const tk::TDrawCall*> out;
  for (const tk::TDrawCall& c : s.Calls())
    if ((c.op == "Rectangle" || c.op == "Polygon") && c.pen.color == pen) out.push_back(&c);
  return out;
}

}  // namespace

TEST(WallBrush, APatternBitmapFillsTheWallAndOnlyThatWall) {
  const tk::TBrushBitmapRef P = tk::MakeBrushBitmap(2, 2, {1, 2, 3, 4});
  const tk::TBrushBitmapRef Q = tk::MakeBrushBitmap(1, 3, {5, 6, 7});
  const tk::TBrushBitmapRef empty = tk::MakeBrushBitmap(0, 0, {});
  struct Case {
    const char* name;
    bool view3D;
    tk::TBrushBitmapRef back, left, bottom;
    int backSize, leftSize;
    // what the canvas brush carries for each wall (nullptr: no pattern)
    tk::TBrushBitmapRef wantBack, wantLeft, wantBottom;
  };
  const std::vector<Case> cases{
      {"flat, pattern", false, P, nullptr, nullptr, 0, 0, P, nullptr, nullptr},
      {"flat, empty pattern", false, empty, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr},
      {"3D, back and bottom", true, P, nullptr, Q, 0, 0, P, nullptr, Q},
      {"3D, left only", true, nullptr, Q, nullptr, 0, 0, nullptr, Q, nullptr},
      {"3D, thick back", true, P, nullptr, nullptr, 6, 0, P, nullptr, nullptr},
      {"3D, thick left", true, nullptr, P, P, 0, 5, nullptr, P, P},
  };
  for (const Case& c : cases) {
    ChartRig r;
    r.chart.SetAxisVisible(false);
    r.chart.Title().SetVisible(false);
    r.chart.SetView3D(c.view3D);
    TChartWall* walls[3] = {&r.chart.BackWall(), &r.chart.LeftWall(), &r.chart.BottomWall()};
    const tk::TBrushBitmapRef given[3] = {c.back, c.left, c.bottom};
    const tk::TBrushBitmapRef want[3] = {c.wantBack, c.wantLeft, c.wantBottom};
    const tk::TColor pens[3] = {kBackPen, kLeftPen, kBottomPen};
    for (int i = 0; i < 3; ++i) {
      walls[i]->Pen().SetColor(pens[i]);
      walls[i]->Brush().SetBitmap(given[i]);
    }
    r.chart.BackWall().SetSize(c.backSize);
    r.chart.LeftWall().SetSize(c.leftSize);
    r.Paint();
    for (int i = 0; i < (c.view3D ? 3 : 1); ++i) {
      const auto calls = CallsWithPen(r.surface, pens[i]);
      ASSERT_FALSE(calls.empty()) << c.name << " wall " << i;
      for (const tk::TDrawCall* call : calls) {
        EXPECT_EQ(call->brush.bitmap, want[i]) << c.name << " wall " << i << ": " << call->ToString();
        // a patterned wall is not shaded: every face has the brush of the front one
        if (want[i]) {
          EXPECT_EQ(call->brush, calls.front()->brush) << c.name << " wall " << i;
        }
      }
    }
    // the empty pattern counts as none: the clear back wall is outlined only
    if (c.back == empty) {
      EXPECT_FALSE(CallsWithPen(r.surface, kBackPen)[0]->brush.Fills());
    }
  }
}

TEST(WallBrush, ThePlainFillSetUpTakesAnyPatternAway) {
  ChartRig r;
  r.Paint();  // attaches a surface
  TZozCanvas3D& c = r.chart.Canvas();
  c.Brush().bitmap = tk::MakeBrushBitmap(1, 1, {0});
  r.chart.ApplyFillStyle(tk::clRed, tk::bsCross, tk::clWhite);
  EXPECT_EQ(c.Brush(), (tk::TBrushSpec{tk::clRed, tk::bsCross, nullptr}));
}
