#include "chart/series/Marks.h"

#include <gtest/gtest.h>

#include "chart/series/FastLineSeries.h"
#include "chart/series/Series.h"
#include "chart/panel/SeriesTypes.h"
#include "tests/support/ChartRig.h"
#include "tests/support/StubChart.h"

namespace {

// ---------------------------------------------------------------- mark texts

struct TextCase {
  TSeriesMarksStyle style;
  int index;
  const char* expected;
};

TEST(MarkText, EveryStyle) {
  // values 25 and -75 sum to 100 in magnitude; point 1 has a label
  const TextCase cases[] = {
      {smsValue, 0, "25"},
      {smsValue, 1, "-75"},
      {smsPercent, 0, "25 %"},
      {smsPercent, 1, "75 %"},  // the magnitude, not the signed share
      {smsLabel, 0, "25"},      // no label: the value
      {smsLabel, 1, "b"},
      {smsLabelPercent, 0, "25 25 %"},
      {smsLabelPercent, 1, "b 75 %"},
      {smsLabelValue, 1, "b -75"},
      {smsLegend, 1, "legend 1"},
      {smsPercentTotal, 0, "25 % of 100"},
      {smsLabelPercentTotal, 1, "b 75 % of 100"},
      {smsXValue, 1, "x3"},  // as the horizontal axis writes it
  };
  StubChart chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  s.AddPointXY(2, 25);
  s.AddPointXY(3, -75, "b");
  for (const TextCase& c : cases) {
    s.Marks().SetStyle(c.style);
    EXPECT_EQ(s.MarkTextOf(c.index), c.expected) << "style " << c.style << " index " << c.index;
  }
}

TEST(MarkText, WithoutChartOrTotal) {
  TChartSeries s;  // no chart: no axis for x, no legend
  s.AddPointXY(1234.5, 0);
  s.Marks().SetStyle(smsXValue);
  EXPECT_EQ(s.MarkTextOf(0), "1,234.5");
  s.Marks().SetStyle(smsPercent);
  EXPECT_EQ(s.MarkTextOf(0), "100 %");  // the values sum to 0
  s.Marks().SetStyle(smsLegend);
  EXPECT_EQ(s.MarkTextOf(0), "");
}

TEST(MarkText, TheHandlerHasTheLastWord) {
  TChartSeries s;
  s.AddPointXY(0, 7);
  s.OnGetMarkText = [](TChartSeries*, int index, std::string& text) {
    text.append("/").append(std::to_string(index));
  };
  s.Marks().SetStyle(smsValue);
  EXPECT_EQ(s.MarkTextOf(0), "7/0");
}

// ---------------------------------------------------------------- settings

TEST(Marks, DefaultsSettersAndAssign) {
  StubChart chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  TSeriesMarks& m = s.Marks();
  EXPECT_EQ(m.ArrowLength(), 8);
  EXPECT_EQ(m.BackColor(), 0x80FFFFu);
  EXPECT_FALSE(m.Transparent());
  EXPECT_FALSE(m.Clip());
  EXPECT_FALSE(m.Visible());
  EXPECT_EQ(m.Style(), smsLabel);
  EXPECT_EQ(m.Arrow().Color(), tk::clWhite);
  EXPECT_TRUE(m.Frame().Visible());
  EXPECT_FALSE(m.FontIsStored());
  EXPECT_EQ(&m.ParentSeries(), &s);

  const int before = chart.invalidations;
  m.SetArrowLength(8);  // unchanged: no repaint
  EXPECT_EQ(chart.invalidations, before);
  m.SetArrowLength(3);
  m.Frame().SetWidth(2);
  m.Font().SetSize(12);
  EXPECT_EQ(chart.invalidations, before + 3);
  EXPECT_TRUE(m.FontIsStored());

  TChartSeries other;
  other.Marks().SetVisible(true);
  other.Marks().SetStyle(smsXValue);
  other.Marks().SetBackColor(tk::clAqua);
  other.Marks().Arrow().SetColor(tk::clRed);
  s.SetMarks(other.Marks());
  EXPECT_TRUE(m.Visible());
  EXPECT_EQ(m.Style(), smsXValue);
  EXPECT_EQ(m.BackColor(), tk::clAqua);
  EXPECT_EQ(m.Arrow().Color(), tk::clRed);
  EXPECT_EQ(m.ArrowLength(), 8);
  EXPECT_EQ(m.Frame().Width(), 1);
  EXPECT_FALSE(m.FontIsStored());
}

TEST(MarkPositions, FollowThePoints) {
  TChartSeries s;
  for (int i = 0; i < 4; ++i)
    s.AddPointXY(i, i);
  TSeriesMarksPositions& p = s.Marks().Positions();
  EXPECT_EQ(p.Position(0), nullptr);
  p.Ensure(2).BoxWidth = 22;
  p.Ensure(3).BoxWidth = 33;
  EXPECT_EQ(p.Count(), 4);
  EXPECT_EQ(p.Position(1), nullptr);  // grown with empty entries
  EXPECT_EQ(p.Position(7), nullptr);
  s.RemovePointAt(2);  // the entries after it move down with their points
  ASSERT_NE(p.Position(2), nullptr);
  EXPECT_EQ(p.Position(2)->BoxWidth, 33);
  s.RemovePointAt(0);
  EXPECT_EQ(p.Position(1)->BoxWidth, 33);
  s.RemoveAllPoints();
  EXPECT_EQ(p.Count(), 0);

  TSeriesMarkPosition a, b;
  a.ArrowStart = {1, 2};
  a.ArrowEnd = {3, 4};
  a.BoxTopLeft = {5, 6};
  a.BoxWidth = 7;
  a.BoxHeight = 8;
  a.UserPlaced = true;
  b.Assign(a);
  EXPECT_FALSE(b.UserPlaced);  // a copy is never the user's
  EXPECT_EQ(b.Bounds(), (tk::TRect{5, 6, 12, 14}));
  EXPECT_EQ(b.ArrowStart, (tk::TPoint{1, 2}));
  EXPECT_EQ(b.ArrowEnd, (tk::TPoint{3, 4}));
}

// ---------------------------------------------------------------- drawing

// A flat chart with the chart rectangle (12, 12, 388, 288): x 0..100 and y
// -2..2 over it, so (50, 0) is the pixel (200, 150). The recording font is 6
// pixels a character and 13 high; "W" is 6 wide.
struct MarksRig : ChartRig {
  TChartSeries* series = AddEmptySeries();
  MarksRig() : ChartRig(400, 300) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.SetAxisVisible(false);
    chart.SetBevelOuter(bvNone);
    chart.Legend().SetVisible(false);  // the whole rectangle stays the plot
    chart.BottomAxis().SetLimits(0, 100);
    chart.LeftAxis().SetLimits(-2, 2);
    series->Marks().SetVisible(true);
  }
  // what the marks drew: everything after the series' clip was removed
  std::vector<tk::TDrawCall> MarkCalls() {
    Paint();
    std::vector<tk::TDrawCall> out;
    bool after = false;
    for (const auto& c : surface.Calls()) {
      if (c.op == "CopyFrom") break;  // the finished frame goes to the window
      if (after) out.push_back(c);
      if (c.op == "RemoveClip") after = true;
    }
    return out;
  }
  static std::vector<std::string> Strings(const std::vector<tk::TDrawCall>& calls) {
    std::vector<std::string> out;
    for (const auto& c : calls)
      out.push_back(c.ToString());
    return out;
  }
};

TEST(MarksPaint, OneLineBoxAboveThePoint) {
  MarksRig r;
  r.series->AddPointXY(50, 0, "25");
  const auto calls = r.MarkCalls();
  // width 2 × 6 + "W" 6 + 2 × frame 1 = 20; height 13 + 2 = 15; bottom edge on the point
  EXPECT_EQ(MarksRig::Strings(calls),
            (std::vector<std::string>{"MoveTo 200,150", "LineTo 200,150", "Rectangle 190,136,210,151",
                                      "TextOut 200,137 '25'"}));
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[1].pen.color, tk::clWhite);  // the arrow pen
  EXPECT_EQ(calls[2].brush.color, 0x80FFFFu);
  EXPECT_EQ(calls[2].brush.style, tk::bsSolid);
  EXPECT_EQ(calls[3].textAlign, tk::TA_CENTER | tk::TA_TOP);
  EXPECT_EQ(calls[3].brush.style, tk::bsClear);
}

TEST(MarksPaint, TwoLinesAreTwoFontHeights) {
  MarksRig r;
  r.series->AddPointXY(50, 0, "ab\rcde");
  r.series->Marks().Arrow().SetVisible(false);
  // widest line 18 + 6 + 2 = 26 wide; 2 × 13 + 2 = 28 high
  EXPECT_EQ(MarksRig::Strings(r.MarkCalls()),
            (std::vector<std::string>{"Rectangle 187,123,213,151", "TextOut 200,124 'ab'",
                                      "TextOut 200,137 'cde'"}));
}

TEST(MarksPaint, TransparentWithoutFrameIsTextOnly) {
  MarksRig r;
  r.series->AddPointXY(50, 0, "25");
  r.series->Marks().SetTransparent(true);
  r.series->Marks().Frame().SetVisible(false);
  r.series->Marks().Arrow().SetVisible(false);
  // no frame: 18 wide and 13 high, the text at the box's top
  EXPECT_EQ(MarksRig::Strings(r.MarkCalls()), (std::vector<std::string>{"TextOut 200,138 '25'"}));
  // transparent with a frame draws the outline, unfilled
  r.series->Marks().Frame().SetVisible(true);
  const auto calls = r.MarkCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].ToString(), "Rectangle 190,136,210,151");
  EXPECT_EQ(calls[0].brush.style, tk::bsClear);
}

TEST(MarksPaint, NullPointsAndEmptyTextsGetNoMark) {
  MarksRig r;
  r.series->AddPointXY(20, 0, "");
  r.series->AddNullPointXY(40, 0, "n");
  r.series->Marks().SetStyle(smsLabel);
  r.series->OnGetMarkText = [](TChartSeries*, int index, std::string& text) {
    if (index == 0) text.clear();
  };
  EXPECT_TRUE(r.MarkCalls().empty());
}

struct ArrowCase {
  tk::TColor back, arrow, point, expected;
};

TEST(MarksPaint, ArrowColourStaysVisible) {
  const ArrowCase cases[] = {
      {tk::clWhite, tk::clRed, tk::clRed, tk::clBlack},      // the point's colour on white
      {tk::clBlack, tk::clRed, tk::clRed, tk::clWhite},      // ... and on black
      {tk::clWhite, tk::clWhite, tk::clRed, tk::clBlack},    // the background's colour
      {tk::clBlack, tk::clBlack, tk::clRed, tk::clWhite},
      {tk::clWhite, tk::clBlue, tk::clRed, tk::clBlue},      // anything else as it is
  };
  for (const ArrowCase& c : cases) {
    MarksRig r;
    r.chart.SetBackColor(c.back);
    r.series->SetSeriesColor(c.point);
    r.series->Marks().Arrow().SetColor(c.arrow);
    r.series->AddPointXY(50, 0, "x");
    const auto calls = r.MarkCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[1].op, "LineTo");
    EXPECT_EQ(calls[1].pen.color, c.expected) << std::hex << c.back << " " << c.arrow;
  }
}

TEST(MarksPaint, UserPlacedBoxesStay) {
  MarksRig r;
  r.series->AddPointXY(50, 0, "25");
  r.series->AddPointXY(75, 0, "25");
  r.series->Marks().Arrow().SetVisible(false);
  r.MarkCalls();
  TSeriesMarkPosition* p = r.series->Marks().Positions().Position(0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Bounds(), (tk::TRect{190, 136, 210, 151}));
  p->UserPlaced = true;
  p->BoxTopLeft = {5, 6};
  r.chart.LeftAxis().SetLimits(-1, 3);  // the layout moves every box down by 69
  const auto calls = MarksRig::Strings(r.MarkCalls());
  EXPECT_EQ(calls, (std::vector<std::string>{"Rectangle 5,6,25,21", "TextOut 15,7 '25'",
                                             "Rectangle 284,205,304,220", "TextOut 294,206 '25'"}));
  // the other entry follows the latest layout
  EXPECT_EQ(r.series->Marks().Positions().Position(1)->Bounds(), (tk::TRect{284, 205, 304, 220}));
}

TEST(MarksPaint, FastLineLiftsItsMarksByTheArrowLength) {
  MarksRig r;
  auto* line = new TFastLineSeries;
  line->SetParentChart(&r.chart);
  r.series->Marks().SetVisible(false);
  line->Marks().SetVisible(true);
  line->Marks().SetArrowLength(5);
  line->AddPointXY(50, 0, "25");
  std::vector<std::string> marks;
  r.Paint();
  for (const auto& c : r.surface.Calls())
    if ((c.op == "Rectangle" && c.brush.color == 0x80FFFF) || c.op == "TextOut" || (c.op == "LineTo" && c.pen.color == tk::clWhite))
      marks.push_back(c.ToString());
  // the arrow runs from the point up 5 pixels, and the box sits on its end
  EXPECT_EQ(marks, (std::vector<std::string>{"LineTo 200,145", "Rectangle 190,131,210,146",
                                             "TextOut 200,132 '25'"}));
}

TEST(MarksPaint, ClipOnlyWhenAsked) {
  MarksRig r;
  r.series->AddPointXY(50, 0, "25");
  EXPECT_EQ(r.MarkCalls()[0].op, "MoveTo");
  r.series->Marks().SetClip(true);
  const auto calls = r.MarkCalls();
  EXPECT_EQ(calls.front().op, "IntersectClipRect");
  EXPECT_EQ(calls.back().op, "RemoveClip");
}

TEST(MarksPaint, ThreeDMovesTheBoxWithTheArrowEnd) {
  MarksRig flat;
  flat.series->AddPointXY(50, 0, "25");
  flat.series->Marks().Arrow().SetVisible(false);
  const auto flatCalls = flat.MarkCalls();

  MarksRig r;
  r.chart.SetView3D(true);
  r.series->AddPointXY(50, 0, "25");
  r.series->Marks().Arrow().SetVisible(false);
  const auto calls = r.MarkCalls();
  ASSERT_EQ(calls.size(), 2u);
  const int x = r.series->XPixel(0), y = r.series->YPixel(0);
  const tk::TPoint moved = r.chart.Canvas().ProjectPoint(x, y, r.series->MiddleDepth);
  EXPECT_GT(r.series->MiddleDepth, 0);
  EXPECT_NE(moved, (tk::TPoint{x, y}));
  // the same box as in a flat chart of this size, shifted by the projection of its point
  const int left = x - 10 + moved.x - x, top = y - 14 + moved.y - y;
  EXPECT_EQ(calls[0].ToString(), "Rectangle " + std::to_string(left) + "," + std::to_string(top) +
                                     "," + std::to_string(left + 20) + "," +
                                     std::to_string(top + 15));
  EXPECT_EQ(flatCalls.size(), 2u);
}

TEST(MarksPaint, ZoomScalesTheFontIn3D) {
  MarksRig r;
  r.chart.SetView3D(true);
  r.chart.View3DOptions().SetZoom(200);
  r.series->AddPointXY(50, 0, "25");
  r.series->Marks().Arrow().SetVisible(false);
  const auto calls = r.MarkCalls();
  ASSERT_EQ(calls.size(), 2u);
  // 8 points zoomed to 16: 21 pixels high, 11 wide a character
  EXPECT_EQ(calls[1].font.font.height, -21);
  EXPECT_EQ(calls[0].args[2] - calls[0].args[0], 3 * 11 + 2);
  EXPECT_EQ(calls[0].args[3] - calls[0].args[1], 23 + 2);
}

TEST(MarksPaint, WidestMarkAndMarkLabels) {
  MarksRig r;
  r.chart.SetAxisVisible(true);
  r.chart.BottomAxis().SetLabelStyle(talMark);
  r.series->Marks().SetVisible(false);  // the texts below come from the axis alone
  r.series->Marks().SetStyle(smsLabelValue);
  r.series->AddPointXY(20, 1, "a");
  r.series->AddPointXY(60, -1, "bcd\ref");
  int widest = -1;
  r.chart.OnAfterDraw = [&](TCustomZozPanel*) {
    r.chart.Canvas().Font().font.height = -11;
    widest = r.chart.WidestMark();
  };
  r.Paint();
  EXPECT_EQ(widest, 5 * 6);  // the line "ef -1" of the second mark
  // the bottom axis writes the mark texts, not the labels
  const auto texts = r.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "a 1"), texts.end());
  EXPECT_EQ(std::find(texts.begin(), texts.end(), "a"), texts.end());
}

}  // namespace

// Marks above the points of a line, point, area or fast line series stay
// inside the chart rectangle on automatic axes, whichever point is highest
// and however wide the texts: the series ask for room above the highest
// point and beside the first and the last.
TEST(MarksPaint, MarksAboveThePointsStayInsideTheChart) {
  struct Case {
    const char* kind;
    std::vector<double> values;
  };
  const std::vector<Case> cases = {
      {"Line", {5, 1, 2}},          {"Line", {1, 2, 5}},   {"Point", {3, 9, 1, 9}},
      {"Area", {1000000, 10, 20}},  {"Fast Line", {1, 2, 900000}},
      {"Fast Line", {-5, -1, -3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " from " + std::to_string(c.values.front()));
    ChartRig r(400, 300);
    r.chart.SetView3D(false);
    r.chart.Legend().SetVisible(false);
    TChartSeries* s = nullptr;
    for (const TZozSeriesType& t : SeriesTypes())
      if (t.Description == c.kind && t.Create) s = t.Create().release();
    ASSERT_NE(s, nullptr);
    s->SetParentChart(&r.chart);  // the chart frees it
    for (std::size_t i = 0; i < c.values.size(); ++i)
      s->AddPointXY(static_cast<double>(i), c.values[i]);
    s->Marks().SetVisible(true);
    s->Marks().SetStyle(smsValue);
    r.Paint();
    r.ExpectMarkBoxesInsideTheChart(*s, c.values.size(), 1);
  }
}
