// Marks and the legend together on a real chart drawn onto the recording
// surface: a legend-style mark repeats the legend's text for its point, and
// the line, point and area series draw their own symbols in the legend boxes.
// The recording surface's font is 13 pixels high and 6 pixels wide per
// character; positions below are worked out by hand from that.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/series/CustomSeries.h"
#include "tests/support/ChartRig.h"

namespace {

// A 400 x 250 chart with nothing but series, marks and the legend.
struct Rig : ChartRig {
  Rig() : ChartRig(400, 250) {
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.Title().SetVisible(false);
  }
  template <typename S>
  S* Add(const std::string& title) {
    auto* s = new S;
    s->SetTitle(title);
    s->SetParentChart(&chart);
    return s;
  }
};

// ---------------------------------------------------------------- legend-style marks

struct MarkRow {
  const char* name;
  TLegendTextStyle textStyle;
  int firstValue;
  std::vector<std::string> legend;  // the legend's rows, from FirstValue on
  std::vector<std::string> marks;   // the marks of points 0, 1, 2
};

TEST(MarksAndLegend, LegendStyleMarksRepeatTheLegendText) {
  // points (1, 1234.5, "a"), (2, -2, no label), (3, 0.5, "c\rd"); magnitudes sum to 1237
  const MarkRow rows[] = {
      {"left value", ltsLeftValue, 0, {"1,234.5 a", "-2 ", "0.5 c d"},
       {"1,234.5 a", "-2 ", "0.5 c d"}},
      {"right value", ltsRightValue, 0, {"a 1,234.5", " -2", "c d 0.5"},
       {"a 1,234.5", " -2", "c d 0.5"}},
      // the unlabelled point has an empty legend text, so its mark is left out
      {"plain", ltsPlain, 0, {"a", "", "c d"}, {"a", "c d"}},
      // 1234.5 / 12.37 = 99.798..., -2 / 12.37 = -0.1616..., 0.5 / 12.37 = 0.0404...
      {"left percent", ltsLeftPercent, 0, {"99.8 % a", "-0.16 % ", "0.04 % c d"},
       {"99.8 % a", "-0.16 % ", "0.04 % c d"}},
      // the legend starts at point 1; the marks still label every point
      {"first value 1", ltsLeftValue, 1, {"-2 ", "0.5 c d"}, {"1,234.5 a", "-2 ", "0.5 c d"}},
  };
  for (const MarkRow& row : rows) {
    SCOPED_TRACE(row.name);
    Rig r;
    auto* s = r.Add<TLineSeries>("L");
    s->AddPointXY(1, 1234.5, "a");
    s->AddPointXY(2, -2);
    s->AddPointXY(3, 0.5, "c\rd");
    s->Marks().SetStyle(smsLegend);
    s->Marks().SetVisible(true);
    r.chart.Legend().SetTextStyle(row.textStyle);
    r.chart.Legend().SetFirstValue(row.firstValue);
    r.Paint();
    ASSERT_EQ(r.chart.Legend().EffectiveStyle(), lsValues);
    for (size_t i = 0; i < row.legend.size(); ++i)
      EXPECT_EQ(r.chart.Legend().ItemText(row.firstValue + static_cast<int>(i)), row.legend[i]);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(s->MarkTextOf(i), r.chart.FormatValueForLegend(s, i));
    // the legend draws its non-empty rows first, then each mark draws its text
    std::vector<std::string> expected;
    for (const std::string& t : row.legend)
      if (!t.empty()) expected.push_back(t);
    expected.insert(expected.end(), row.marks.begin(), row.marks.end());
    EXPECT_EQ(r.Texts(), expected);
  }
}

// ---------------------------------------------------------------- legend symbols

enum Kind { kLine, kLineMarker, kLineCircle, kPoint, kArea, kAreaHatched, kWhiteLine, kWhiteCross, kWhiteArea };

struct SymbolRow {
  const char* name;
  Kind kind;
  TLegendAlignment side;
  std::vector<std::string> ops;  // what the first item draws in its box
  tk::TBrushStyle brushStyle;    // of the last shape drawn
};

TCustomSeries* MakeSeries(Rig& r, Kind kind) {
  TCustomSeries* s = nullptr;
  switch (kind) {
    case kWhiteLine:
      s = r.Add<TLineSeries>("Alpha");
      s->SetSeriesColor(tk::clWhite);
      return s;
    case kWhiteCross:
      s = r.Add<TPointSeries>("Alpha");
      s->Pointer().SetStyle(psCross);
      s->SetSeriesColor(tk::clWhite);
      return s;
    case kWhiteArea:
      s = r.Add<TAreaSeries>("Alpha");
      s->SetAreaColor(tk::clWhite);
      break;
    case kLine:
    case kLineMarker:
    case kLineCircle:
      s = r.Add<TLineSeries>("Alpha");
      s->Pointer().SetVisible(kind != kLine);
      if (kind == kLineCircle) s->Pointer().SetStyle(psCircle);
      s->LinePen().SetWidth(2);
      break;
    case kPoint:
      s = r.Add<TPointSeries>("Alpha");
      break;
    case kArea:
    case kAreaHatched:
      s = r.Add<TAreaSeries>("Alpha");
      if (kind == kAreaHatched) {
        s->SetAreaColor(tk::clLime);
        s->SetAreaBrush(tk::bsCross);
      }
      break;
  }
  s->SetSeriesColor(tk::clRed);
  return s;
}

TEST(MarksAndLegend, SeriesSymbolsInTheLegendBoxes) {
  // "Alpha" and "Be" at the right: text x 351, colour boxes (342, 28, 347, 37) and
  // (342, 41, 347, 50), centre of the first (344, 32). At the left the first box is
  // (18, 28, 23, 37) with centre (20, 32). With a line through it a marker's half
  // sizes are limited to 5 / 3 = 1 and 9 / 3 = 3; without, to 5 / 2 + 1 = 3 and 4.
  const SymbolRow rows[] = {
      {"line", kLine, laRight, {"MoveTo 342,32", "LineTo 347,32"}, tk::bsClear},
      {"line at the left", kLine, laLeft, {"MoveTo 18,32", "LineTo 23,32"}, tk::bsClear},
      {"line with marker", kLineMarker, laRight,
       {"MoveTo 342,32", "LineTo 347,32", "Rectangle 343,29,346,36"}, tk::bsSolid},
      {"line with circle", kLineCircle, laLeft,
       {"MoveTo 18,32", "LineTo 23,32", "Ellipse 19,29,21,35"}, tk::bsSolid},
      {"point", kPoint, laRight, {"Rectangle 341,28,348,37"}, tk::bsSolid},
      {"area", kArea, laRight, {"Rectangle 342,28,347,37"}, tk::bsSolid},
      {"hatched area", kAreaHatched, laLeft, {"Rectangle 18,28,23,37"}, tk::bsCross},
      // symbols in the legend's own colour get their box outlined, as plain boxes do
      {"white line", kWhiteLine, laRight,
       {"MoveTo 342,32", "LineTo 347,32", "Rectangle 342,28,347,37"}, tk::bsClear},
      {"white cross", kWhiteCross, laRight,
       {"MoveTo 344,28", "LineTo 344,37", "MoveTo 341,32", "LineTo 348,32",
        "Rectangle 342,28,347,37"}, tk::bsClear},
      {"white area", kWhiteArea, laLeft, {"Rectangle 18,28,23,37", "Rectangle 18,28,23,37"},
       tk::bsClear},
  };
  for (const SymbolRow& row : rows) {
    SCOPED_TRACE(row.name);
    Rig r;
    TCustomSeries* s = MakeSeries(r, row.kind);
    r.Add<TChartSeries>("Be");
    r.chart.Legend().SetAlignment(row.side);
    r.Paint();
    ASSERT_EQ(r.chart.Legend().EffectiveStyle(), lsSeries);
    const bool right = row.side == laRight;
    const std::string second = right ? "Rectangle 342,41,347,50" : "Rectangle 18,41,23,50";
    // the shapes between the legend's frame and the second item's box
    std::vector<tk::TDrawCall> drawn;
    int frames = 0;
    for (const auto& c : r.surface.Calls()) {
      if (c.ToString() == second) break;
      const bool shape = c.op == "MoveTo" || c.op == "LineTo" || c.op == "Rectangle" ||
                         c.op == "Ellipse" || c.op == "Polygon";
      if (c.op == "Rectangle" && frames == 0) {
        ++frames;  // the legend frame
        continue;
      }
      if (shape && frames > 0) drawn.push_back(c);
    }
    std::vector<std::string> got;
    for (const auto& c : drawn)
      got.push_back(c.ToString());
    EXPECT_EQ(got, row.ops);
    ASSERT_FALSE(drawn.empty());
    if (row.kind <= kLineCircle) {
      EXPECT_EQ(drawn[1].pen.color, tk::clRed);  // the line in the series colour
      EXPECT_EQ(drawn[1].pen.width, 2);
    }
    const tk::TDrawCall& last = drawn.back();
    if (row.kind >= kWhiteLine) {
      EXPECT_EQ(last.brush.style, tk::bsClear);
      EXPECT_EQ(last.pen.color, tk::clBlack);
      EXPECT_EQ(last.pen.width, 1);
    } else if (row.kind != kLine) {
      EXPECT_EQ(last.brush.style, row.brushStyle);
      EXPECT_EQ(last.brush.color, row.kind == kAreaHatched ? tk::clLime : tk::clRed);
    }
    if (row.kind == kAreaHatched) {
      EXPECT_EQ(last.backColor, r.chart.Legend().Color());  // not the chart's grey
    }
    (void)s;
  }
}

}  // namespace
