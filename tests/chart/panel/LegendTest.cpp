// The legend on real charts drawn onto the recording surface; positions
// worked out by hand from the recording surface's text metrics: the default
// chart font is 13 pixels high and 6 pixels wide per character.

#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "chart/series/FastLineSeries.h"
#include "tests/support/ChartRig.h"

namespace {

// A 400 x 250 chart with nothing but series and legend: the chart rectangle
// starts at (12, 10, 388, 240) from the margins (3 % and 4 %).
struct LegendRig : ChartRig {
  LegendRig(int w = 400, int h = 250) : ChartRig(w, h) {
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.Title().SetVisible(false);
  }
  TChartSeries* Titled(const std::string& title) {
    auto* s = new TChartSeries;
    s->SetTitle(title);
    s->SetParentChart(&chart);
    return s;
  }
  TChartLegend& L() { return chart.Legend(); }
  // the calls from the legend's shadow on (the first FillRect after the background)
  std::vector<tk::TDrawCall> LegendCalls() const {
    const auto& calls = surface.Calls();
    std::vector<tk::TDrawCall> out;
    int fills = 0;
    for (const auto& c : calls) {
      if (c.op == "FillRect" && ++fills == 1) continue;  // the panel background
      if (fills >= 2) out.push_back(c);
    }
    return out;
  }
  std::vector<std::string> Strings(const std::vector<tk::TDrawCall>& calls) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      out.push_back(c.ToString());
    return out;
  }
};

template <typename F>
void ExpectLegendError(F&& f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no exception, expected \"" << message << "\"";
  } catch (const LegendException& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace

TEST(Legend, Defaults) {
  TChart chart;
  const TChartLegend& l = chart.Legend();
  EXPECT_TRUE(l.Visible());
  EXPECT_EQ(l.Alignment(), laRight);
  EXPECT_EQ(l.LegendStyle(), lsAuto);
  EXPECT_EQ(l.TextStyle(), ltsLeftValue);
  EXPECT_EQ(l.Color(), tk::clWhite);
  EXPECT_EQ(l.ColorWidth(), 12);
  EXPECT_EQ(l.TopPos(), 10);
  EXPECT_EQ(l.MaxNumRows(), 10);
  EXPECT_EQ(l.ShadowSize(), 3);
  EXPECT_EQ(l.ShadowColor(), tk::clBlack);
  EXPECT_TRUE(l.ResizeChart());
  EXPECT_FALSE(l.Inverted());
  EXPECT_EQ(l.FirstValue(), 0);
  EXPECT_EQ(l.HorizMargin(), 0);
  EXPECT_EQ(l.VertMargin(), 0);
  EXPECT_FALSE(l.FontIsStored());
  TChartLegend& m = chart.Legend();
  EXPECT_TRUE(m.Frame().Visible());
  EXPECT_EQ(m.Frame().Width(), 1);
  EXPECT_FALSE(m.DividingLines().Visible());
  EXPECT_EQ(m.Brush().Color(), tk::clDefault);
  EXPECT_EQ(m.Brush().Style(), tk::bsSolid);
}

// Row: the property, the bad value, the message; the old value stays.
TEST(Legend, BadValuesKeepTheOldOnes) {
  TChart chart;
  TChartLegend& l = chart.Legend();
  struct Row {
    const char* what;
    std::function<void()> set;
    std::function<int()> get;
    int kept;
    std::string message;
  } rows[] = {
      {"TopPos 101", [&] { l.SetTopPos(101); }, [&] { return l.TopPos(); }, 10,
       "Top Legend Position must be between 0 and 100 %"},
      {"TopPos -1", [&] { l.SetTopPos(-1); }, [&] { return l.TopPos(); }, 10,
       "Top Legend Position must be between 0 and 100 %"},
      {"FirstValue -1", [&] { l.SetFirstValue(-1); }, [&] { return l.FirstValue(); }, 0,
       "First Legend Value must be > 0"},
      {"ColorWidth 101", [&] { l.SetColorWidth(101); }, [&] { return l.ColorWidth(); }, 12,
       "Legend Color Width must be between 0 and 100 %"},
      {"ColorWidth -5", [&] { l.SetColorWidth(-5); }, [&] { return l.ColorWidth(); }, 12,
       "Legend Color Width must be between 0 and 100 %"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    ExpectLegendError(r.set, r.message);
    EXPECT_EQ(r.get(), r.kept);
  }
  l.SetFirstValue(0);  // accepted, whatever the message says
  l.SetTopPos(100);
  l.SetColorWidth(0);
  EXPECT_EQ(l.TopPos(), 100);
}

// Two series at each side. Worked out: tw = 30 + 4 = 34, boxes 4 wide from
// tw and 5 wide from the rows' widest text (30 + 10) x 12 % = 4.8; a side
// legend starts at 10 % of 250 = 25; gaps are 3 % of 376 = 11 and 4 % of 230 = 9.
TEST(Legend, TwoSeriesAtEachSide) {
  struct Row {
    TLegendAlignment side;
    tk::TRect box;
    std::vector<std::string> texts;  // TextOut calls
    std::vector<std::string> boxes;  // the item rectangles
    tk::TRect chartRect;
  } rows[] = {
      {laRight, {338, 25, 383, 53}, {"TextOut 351,26 'Alpha'", "TextOut 351,39 'Be'"},
       {"Rectangle 342,28,347,37", "Rectangle 342,41,347,50"}, {12, 10, 338 - 11, 240}},
      {laLeft, {14, 25, 59, 53}, {"TextOut 27,26 'Alpha'", "TextOut 27,39 'Be'"},
       {"Rectangle 18,28,23,37", "Rectangle 18,41,23,50"}, {59 + 11, 10, 388, 240}},
      // width 6 + 42 x 2 + 8 = 98, shifted by 10 % of (400 - 98) = 30 from centre 200
      {laTop, {181, 12, 279, 27}, {"TextOut 193,13 'Alpha'", "TextOut 235,13 'Be'"},
       {"Rectangle 185,15,189,24", "Rectangle 227,15,231,24"}, {12, 27 + 3 + 9, 388, 240}},
      {laBottom, {181, 220, 279, 235}, {"TextOut 193,221 'Alpha'", "TextOut 235,221 'Be'"},
       {"Rectangle 185,223,189,232", "Rectangle 227,223,231,232"}, {12, 10, 388, 220 - 9}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.side);
    LegendRig r;
    TChartSeries* a = r.Titled("Alpha");
    r.Titled("Be");
    r.L().SetAlignment(row.side);
    r.Paint();
    EXPECT_EQ(r.L().EffectiveStyle(), lsSeries);
    EXPECT_EQ(r.L().RectLegend(), row.box);
    EXPECT_EQ(r.surface.Ops("TextOut"), row.texts);
    const tk::TRect& b = row.box;
    // shadow, then the framed box one pixel out, then the item boxes
    const std::vector<std::string> expected{
        "FillRect " + std::to_string(b.left + 3) + "," + std::to_string(b.top + 3) + "," +
            std::to_string(b.right + 4) + "," + std::to_string(b.bottom + 4),
        "Rectangle " + std::to_string(b.left - 1) + "," + std::to_string(b.top - 1) + "," +
            std::to_string(b.right + 1) + "," + std::to_string(b.bottom + 1),
        row.boxes[0], row.boxes[1]};
    std::vector<std::string> got;
    for (const auto& c : r.LegendCalls())
      if (c.op == "FillRect" || c.op == "Rectangle") got.push_back(c.ToString());
    got.resize(std::min<size_t>(got.size(), 4));
    EXPECT_EQ(got, expected);
    for (const auto& c : r.LegendCalls())
      if (c.ToString() == row.boxes[0]) {
        EXPECT_EQ(c.brush.color, a->SeriesColor());
      }
    // the chart rectangle gives up the room and the gap
    EXPECT_EQ(r.chart.ChartRect, row.chartRect);
  }
}

TEST(Legend, TextsFromTitlesNamesOrNumbersAndTheEvent) {
  LegendRig r;
  r.Titled("T");
  r.Titled("")->SetName("Named");
  r.Titled("");
  r.Paint();
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"T", "Named", "Series 2"}));
  r.chart.OnGetLegendText = [](TCustomChart*, TLegendStyle style, int index, std::string& t) {
    EXPECT_EQ(style, lsSeries);
    t.push_back('#');
    t.append(std::to_string(index));
  };
  r.L().SetFirstValue(1);
  r.Paint();
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"Named#1", "Series 2#2"}));
  // the last values of each series
  r.chart.OnGetLegendText = nullptr;
  r.L().SetFirstValue(0);
  r.L().SetLegendStyle(lsLastValues);
  r.L().SetTextStyle(ltsRightValue);
  r.chart.Series(0)->AddPointXY(1, 5, "five");
  r.chart.Series(0)->AddPointXY(2, 6, "six\rlines");
  r.Paint();
  ASSERT_FALSE(r.Texts().empty());
  EXPECT_EQ(r.Texts()[0], "six lines 6");  // line separators become blanks
}

TEST(Legend, ManyValuesAtTheRightOnlyWhatFits) {
  LegendRig r;
  TChartSeries* s = r.Titled("S");
  for (int i = 0; i < 1000; ++i)
    s->AddPointXY(i, i % 10);
  r.Paint();
  EXPECT_EQ(r.L().EffectiveStyle(), lsValues);
  // (240 - 2 x 1 - 25) div 13 = 16 rows
  EXPECT_EQ(r.L().NumRows(), 16);
  EXPECT_EQ(r.surface.Ops("TextOut").size(), 16u);
  EXPECT_EQ(r.L().RectLegend().bottom, 25 + 16 * 13 + 2);
  EXPECT_EQ(r.Texts().back(), "5 ");  // value, a blank, no label
}

TEST(Legend, InvertedListsFromTheLast) {
  LegendRig r;
  r.Titled("A");
  r.Titled("B");
  r.Titled("C");
  r.L().SetInverted(true);
  r.Paint();
  EXPECT_EQ(r.surface.Ops("TextOut"),
            (std::vector<std::string>{"TextOut 375,26 'C'", "TextOut 375,39 'B'",
                                      "TextOut 375,52 'A'"}));
}

// 25 items of 10 characters: tw 64, boxes 8, items 80 wide; (376 - 2 - 8) div 80 = 4 columns.
TEST(Legend, BottomRowsAndColumns) {
  struct Row {
    int maxRows, rows, drawn;
  } rows[] = {{10, 7, 25}, {5, 5, 20}, {7, 7, 25}, {1, 1, 4}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.maxRows);
    LegendRig r;
    for (int i = 0; i < 25; ++i) {
      std::string t = "Series " + std::to_string(100 + i);
      r.Titled(t);
    }
    r.L().SetAlignment(laBottom);
    r.L().SetMaxNumRows(row.maxRows);
    r.Paint();
    EXPECT_EQ(r.L().NumCols(), 4);
    EXPECT_EQ(r.L().NumRows(), row.rows);
    const auto texts = r.Texts();
    ASSERT_EQ(static_cast<int>(texts.size()), row.drawn);
    EXPECT_EQ(texts.back(), "Series " + std::to_string(100 + row.drawn - 1));
    EXPECT_EQ(r.L().RectLegend().top, 235 - row.rows * 13 - 2);
  }
}

TEST(Legend, TopPosHalfwayRoundsHalfToEven) {
  LegendRig r(671, 209);
  r.Titled("A");
  r.Titled("B");
  r.L().SetTopPos(50);
  r.Paint();
  EXPECT_EQ(r.L().RectLegend().top, 104);  // Round(104.5)
}

TEST(Legend, BlackLegendOutlinesMatchingSymbolsInWhite) {
  LegendRig r;
  r.Titled("A")->SetSeriesColor(tk::clBlack);
  r.Titled("B")->SetSeriesColor(tk::clRed);
  r.L().SetColor(tk::clBlack);
  r.L().Font().SetColor(tk::clBlack);
  r.Paint();
  std::vector<tk::TDrawCall> boxes, texts;
  for (const auto& c : r.LegendCalls()) {
    if (c.op == "Rectangle") boxes.push_back(c);
    if (c.op == "TextOut") texts.push_back(c);
  }
  ASSERT_GE(boxes.size(), 4u);  // frame, A, A's outline, B (then the back wall)
  EXPECT_EQ(boxes[1].brush.color, tk::clBlack);
  EXPECT_EQ(boxes[1].pen.color, tk::clWhite);  // the item pen on a black legend
  EXPECT_EQ(boxes[2].ToString(), boxes[1].ToString());
  EXPECT_EQ(boxes[2].brush.style, tk::bsClear);
  EXPECT_EQ(boxes[2].pen.color, tk::clWhite);
  EXPECT_EQ(boxes[3].pen.color, tk::clBlack);  // back to black after the outline
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].font.font.color, tk::clBlack);  // the font's colour, not the pen's
  EXPECT_EQ(r.chart.LegendColorValue, tk::clBlack);
}

TEST(Legend, DividingLinesShadowOffAndNoResize) {
  LegendRig r;
  r.Titled("A");
  r.Titled("B");
  r.Titled("C");
  r.L().DividingLines().SetVisible(true);
  r.L().SetShadowSize(0);
  r.L().SetResizeChart(false);
  r.L().SetHorizMargin(7);
  r.Paint();
  // right edge 388 - 2 with no shadow; texts 6 wide, boxes Round(16 x 12 %) = 2
  EXPECT_EQ(r.L().RectLegend(), (tk::TRect{368, 25, 386, 66}));
  EXPECT_EQ(r.surface.Ops("FillRect").size(), 1u);  // the background only
  std::vector<std::string> lines;  // between rows, at the tops of the later ones
  for (const auto& c : r.surface.Calls())
    if (c.op == "MoveTo" || c.op == "LineTo") lines.push_back(c.ToString());
  EXPECT_EQ(lines, (std::vector<std::string>{"MoveTo 368,39", "LineTo 386,39", "MoveTo 368,52",
                                             "LineTo 386,52"}));
  EXPECT_EQ(r.chart.ChartRect.right, 388 - 7);  // only the gap
}

TEST(Legend, BackgroundTakesTheBrushPatternAndHatch) {
  LegendRig r;
  r.Titled("A");
  r.Titled("B");
  const tk::TBrushBitmapRef pattern = tk::MakeBrushBitmap(2, 2, {tk::clRed, 0, 0, tk::clRed});
  r.L().Brush().SetBitmap(pattern);
  r.L().Brush().SetStyle(tk::bsCross);
  r.L().SetColor(tk::clYellow);
  r.Paint();
  const auto calls = r.LegendCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].op, "FillRect");  // the shadow, plain
  EXPECT_EQ(calls[0].brush.bitmap, nullptr);
  EXPECT_EQ(calls[0].brush.color, tk::clBlack);
  EXPECT_EQ(calls[1].op, "Rectangle");  // the box: pattern, hatch on the legend colour
  EXPECT_EQ(calls[1].brush.bitmap, pattern);
  EXPECT_EQ(calls[1].brush.style, tk::bsCross);
  EXPECT_EQ(calls[1].backColor, tk::clYellow);
  EXPECT_EQ(calls[1].backMode, tk::OPAQUE);
  for (size_t i = 2; i < calls.size(); ++i)
    EXPECT_EQ(calls[i].brush.bitmap, nullptr) << calls[i].ToString();  // items are plain
}

TEST(Legend, PositionAndRectangleEvents) {
  LegendRig r;
  r.Titled("A");
  r.Titled("B");
  std::vector<int> boxXs;
  r.chart.OnGetLegendPos = [&](TCustomChart*, int index, int& x, int& y, int& xColor) {
    boxXs.push_back(xColor);
    x += 10 * index;
    y += 1;
  };
  r.chart.OnGetLegendRect = [](TCustomChart*, tk::TRect& rect) { rect.left -= 20; };
  r.Paint();
  // texts 6 wide: text x 383 - 6 - 2 = 375, boxes 2 wide from 369, the box from 365
  EXPECT_EQ(boxXs, (std::vector<int>{369, 369}));
  EXPECT_EQ(r.L().RectLegend().left, 345);
  EXPECT_EQ(r.surface.Ops("TextOut"),
            (std::vector<std::string>{"TextOut 375,27 'A'", "TextOut 385,40 'B'"}));
  EXPECT_EQ(r.chart.ChartRect.right, 345 - 11);
}

TEST(Legend, FastLineSymbolIsALine) {
  LegendRig r;
  auto* f = new TFastLineSeries;
  f->SetTitle("F");
  f->SetParentChart(&r.chart);
  r.Titled("G");
  r.Paint();
  std::vector<std::string> lines;
  for (const auto& c : r.LegendCalls())
    if (c.op == "MoveTo" || c.op == "LineTo") lines.push_back(c.ToString());
  // the box (369, 28, 371, 37): a line across its middle
  EXPECT_EQ(lines, (std::vector<std::string>{"MoveTo 369,32", "LineTo 371,32"}));
}

TEST(Legend, HitTestAnswersThePosition) {
  LegendRig r;
  r.Titled("A");
  r.Titled("B");
  r.Titled("C");
  r.L().SetFirstValue(1);  // two items, rows of 28 div 2 = 14 in (365, 25, 383, 53)
  r.Paint();
  ASSERT_EQ(r.L().RectLegend(), (tk::TRect{365, 25, 383, 53}));
  struct Row {
    int x, y, answer;
  } rows[] = {{370, 30, 0}, {370, 45, 1}, {370, 53, 1}, {364, 45, -1}, {370, 60, -1},
              {365, 26, 0}, {383, 40, 0}, {370, 25, -1}};
  for (const Row& row : rows)
    EXPECT_EQ(r.L().Clicked(row.x, row.y), row.answer) << row.x << "," << row.y;
  EXPECT_EQ(r.chart.CalcClickedPart(370, 45).Part, TChartClickedPart::cpLegend);
  // a horizontal legend of three: width 6 + 15 x 3 + 8 = 59, shifted by Round(34.1) from
  // centre 200 to (205, 12, 263, 27); columns 58 div 3 = 19 wide from 206, 225, 244
  r.L().SetFirstValue(0);
  r.L().SetAlignment(laTop);
  r.Paint();
  ASSERT_EQ(r.L().NumCols(), 3);
  ASSERT_EQ(r.L().RectLegend(), (tk::TRect{205, 12, 263, 27}));
  const Row across[] = {{210, 15, 0}, {230, 15, 1}, {225, 15, 1}, {250, 26, 2},
                        {250, 12, -1}, {204, 15, -1}};
  for (const Row& row : across)
    EXPECT_EQ(r.L().Clicked(row.x, row.y), row.answer) << row.x << "," << row.y;
}

TEST(Legend, AClickOnTheLegendFiresItsEvent) {
  TChart chart;
  chart.SetSize(400, 250);
  chart.SetView3D(false);
  for (const char* t : {"A", "B"}) {
    auto* s = new TChartSeries;
    s->SetTitle(t);
    s->SetParentChart(&chart);
  }
  int clicks = 0;
  chart.OnClickLegend = [&](TCustomChart*, tk::TMouseButton, tk::TShiftState, int, int) {
    ++clicks;
  };
  chart.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(chart.Widget()));
  chart.RepaintNow();
  const tk::TRect box = chart.Legend().RectLegend();
  QTest::mouseClick(chart.Widget(), Qt::LeftButton, {},
                    {(box.left + box.right) / 2, box.top + 5});
  EXPECT_EQ(clicks, 1);
}

TEST(Legend, SignalChartDrawsNoLegendAndKeepsItsRectangle) {
  ChartRig r;
  ConfigureAsSignalChart(r.chart);
  auto* s = new TFastLineSeries;
  s->SetShowInLegend(false);
  s->SetParentChart(&r.chart);
  s->AddPointXY(0, 1);
  tk::TRect atLegend;
  r.chart.OnGetLegendRect = [&](TCustomChart* c, tk::TRect&) { atLegend = c->ChartRect; };
  r.Paint();
  EXPECT_EQ(atLegend, (tk::TRect{20, 8, 651, 201}));  // asked first, before the title
  EXPECT_EQ(r.chart.Legend().EffectiveStyle(), lsValues);
  EXPECT_EQ(r.chart.Legend().NumRows(), 0);
  EXPECT_EQ(r.surface.Ops("FillRect").size(), 1u);  // no shadow
  EXPECT_EQ(r.surface.Ops("TextOut")[0], "TextOut 317,8 'Signal'");
}

TEST(Legend, CopyingTakesTheListedSettings) {
  TChart a, b;
  TChartLegend& l = a.Legend();
  l.SetAlignment(laTop);
  l.SetTopPos(40);
  l.SetColor(tk::clYellow);
  l.SetShadowSize(7);
  l.DividingLines().SetVisible(true);
  l.SetMaxNumRows(3);
  l.SetInverted(true);
  b.SetLegend(l);
  EXPECT_EQ(b.Legend().Alignment(), laTop);
  EXPECT_EQ(b.Legend().TopPos(), 40);
  EXPECT_EQ(b.Legend().Color(), tk::clYellow);
  EXPECT_EQ(b.Legend().MaxNumRows(), 3);
  EXPECT_TRUE(b.Legend().Inverted());
  EXPECT_EQ(b.Legend().ShadowSize(), 3);             // not copied
  EXPECT_FALSE(b.Legend().DividingLines().Visible());  // not copied
}
