#include <gtest/gtest.h>

#include "chart/ChartErrors.h"
#include "chart/canvas/Canvas.h"
#include "chart/canvas/ChartFont.h"
#include "chart/canvas/ChartPen.h"
#include "chart/canvas/Palette.h"
#include "toolkit/RecordingSurface.h"

TEST(SelectChartPen, VisibilityAndSmallDots) {
  struct Case {
    bool visible, smallDots;
    int width;
    tk::TPenStyle style;
    tk::TPenSpec expected;
  };
  const Case cases[] = {
      {false,
       false,
       5,
       tk::psDash,
       {tk::clRed, 3, tk::psClear, tk::pmXor, false}},  // only the style changes
      {true, true, 1, tk::psDash, {tk::clBlue, 1, tk::psSolid, tk::pmCopy, true}},
      {true,
       true,
       2,
       tk::psDash,
       {tk::clBlue, 2, tk::psDash, tk::pmCopy, false}},  // wide: an ordinary pen
      {true, false, 3, tk::psDot, {tk::clBlue, 3, tk::psDot, tk::pmCopy, false}},
  };
  for (const Case& c : cases) {
    tk::TRecordingSurface s;
    TZozCanvas3D canvas;
    canvas.AttachSurface(s);
    canvas.Pen() = {tk::clRed, 3, tk::psSolid, tk::pmXor, false};
    TChartPen pen;
    pen.SetColor(tk::clBlue);
    pen.SetWidth(c.width);
    pen.SetStyle(c.style);
    pen.SetVisible(c.visible);
    pen.SetSmallDots(c.smallDots);
    SelectChartPen(canvas, pen);
    EXPECT_EQ(canvas.Pen(), c.expected) << c.visible << c.smallDots << c.width;
  }
}

TEST(ChartPen, PresetDefaultsAreNotStored) {
  TDottedGrayPen grid;
  EXPECT_EQ(grid.Color(), tk::clGray);
  EXPECT_EQ(grid.Style(), tk::psDot);
  EXPECT_FALSE(grid.ColorIsStored());
  EXPECT_FALSE(grid.StyleIsStored());
  TChartPen plain;
  plain.SetColor(tk::clGray);
  EXPECT_TRUE(plain.ColorIsStored());
  EXPECT_FALSE(TChartHiddenPen().Visible());
  EXPECT_FALSE(TChartHiddenPen().VisibleIsStored());
  EXPECT_EQ(TDarkGrayPen().Color(), tk::clGray);
  EXPECT_EQ(TChartAxisPen().Width(), 2);
  EXPECT_EQ(TChartArrowPen().Color(), tk::clWhite);
}

TEST(ChartPen, ChangesCallTheHandlerOnlyWhenSomethingChanges) {
  int changes = 0;
  TChartPen pen([&] { ++changes; });
  pen.SetVisible(true);
  pen.SetSmallDots(false);
  pen.SetWidth(1);
  EXPECT_EQ(changes, 0);
  pen.SetVisible(false);
  pen.SetSmallDots(true);
  pen.SetColor(tk::clRed);
  pen.SetMode(tk::pmNotXor);
  EXPECT_EQ(changes, 4);
}

TEST(View3DOptions, DefaultsNotificationsAndCopy) {
  int repaints = 0;
  std::vector<std::string> log;
  TView3DOptions o([&] { ++repaints; });
  EXPECT_EQ(o.Elevation(), 345);
  EXPECT_EQ(o.Rotation(), 345);
  EXPECT_EQ(o.Perspective(), 15);
  EXPECT_EQ(o.Zoom(), 100);
  EXPECT_TRUE(o.Orthogonal());
  EXPECT_TRUE(o.ZoomText());
  o.OnScroll = [&](bool h) { log.push_back(h ? "scroll h" : "scroll v"); };
  o.OnZoom = [&](int z) {
    log.push_back("zoom " + std::to_string(z) + " was " + std::to_string(o.Zoom()));
  };
  o.SetZoom(100);  // equal: nothing at all
  EXPECT_EQ(repaints, 0);
  o.SetZoom(150);
  o.SetHorizOffset(4);
  o.SetVertOffset(-2);
  o.SetElevation(-400);  // no range check
  EXPECT_EQ(log, (std::vector<std::string>{"zoom 150 was 100", "scroll h", "scroll v"}));
  EXPECT_EQ(repaints, 4);
  TView3DOptions copy;
  copy.Assign(o);
  EXPECT_EQ(copy.Zoom(), 150);
  EXPECT_EQ(copy.Elevation(), -400);
  EXPECT_FALSE(copy.OnZoom);
}

TEST(Colours, PaletteAndDarkening) {
  EXPECT_EQ(DefaultPaletteColor(17), tk::clGreen);
  EXPECT_EQ(DefaultPaletteColor(16), tk::clRed);
  EXPECT_EQ(DefaultPaletteColor(15), tk::clBlack);
  struct Case {
    tk::TColor in;
    int amount;
    tk::TColor out;
  };
  for (const Case& c : {Case{tk::RGB(200, 100, 50), 64, tk::RGB(136, 36, 0)},
                        {tk::RGB(200, 100, 50), 200, 0},
                        {tk::clBtnFace, 64, tk::RGB(128, 128, 128)},
                        {tk::RGB(10, 10, 10), 10, 0}})
    EXPECT_EQ(DarkenColor(c.in, c.amount), c.out);
}

TEST(ChartChecks, AngleAndThreeDPercent) {
  for (int ok : {0, 359, 90})
    EXPECT_NO_THROW(ValidateAngle(ok, "Axis Labels"));
  for (int bad : {-1, 360}) {
    try {
      ValidateAngle(bad, "Axis Title");
      ADD_FAILURE();
    } catch (const ChartException& e) {
      EXPECT_EQ(e.Message(), "Axis Title Angle must be between 0 and 359 degrees");
    }
  }
  EXPECT_NO_THROW(ValidateChart3DPercent(1));
  EXPECT_NO_THROW(ValidateChart3DPercent(100));
  try {
    ValidateChart3DPercent(0);
    ADD_FAILURE();
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), "3D effect percent must be between 1 and 100");
  }
}

TEST(ChartFont, DefaultFontIsStandard) {
  int changes = 0;
  auto font = NewDefaultFont([&] { ++changes; });
  EXPECT_EQ(font->Name(), "Arial");
  EXPECT_EQ(font->Size(), 8);
  EXPECT_TRUE(IsStandardFont(*font));
  font->SetColor(tk::clRed);
  EXPECT_FALSE(IsStandardFont(*font));
  EXPECT_EQ(changes, 1);
}
