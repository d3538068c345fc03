#pragma once
// A chart drawn onto a recording surface, and a chart set up as the signal chart.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "chart/panel/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "toolkit/RecordingSurface.h"

// Configures a chart as the program's signal chart (without its series).
inline void ConfigureAsSignalChart(TChart& ch) {
  ch.SetSize(671, 209);
  ch.SetAllowPanning(pmHorizontal);
  ch.BackWall().Brush().SetColor(tk::clWhite);
  ch.BackWall().Brush().SetStyle(tk::bsClear);
  ch.Title().SetText({"Signal"});
  ch.SetView3D(false);
  ch.SetBevelOuter(bvLowered);
  TChartAxis& b = ch.BottomAxis();
  b.SetAutomatic(false);
  b.SetMaximum(999);
  b.SetAxisValuesFormat("#,##");
  b.SetDateTimeFormat("ss:hnd");
  b.SetExactDateTime(false);
  b.SetIncrement(1.1574074074074e-05);
  b.SetLabelsAngle(45);
  b.SetLabelsOnAxis(false);
  b.SetLabelsSeparation(0);
  b.MinorGrid().SetStyle(tk::psDash);
  b.SetMinorTickCount(1);
  b.MinorTicks().SetVisible(false);
  b.SetRoundFirstLabel(false);
  TChartAxis& l = ch.LeftAxis();
  l.SetAutomatic(false);
  l.SetMinimum(-2);
  l.SetMaximum(2);
  TChartAxis& r = ch.RightAxis();
  r.SetAutomatic(false);
  r.SetMinimum(-2);
  r.SetMaximum(2);
  r.SetVisible(false);
  TChartAxis& t = ch.TopAxis();
  t.SetAutomatic(false);
  t.SetMaximum(999);
  t.SetVisible(false);
  ch.DepthAxis().SetTickLength(1);
}

struct ChartRig {
  TChart chart;
  tk::TRecordingSurface surface;
  explicit ChartRig(int w = 671, int h = 209) { chart.SetSize(w, h); }
  void Paint() {
    surface.Clear();
    chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  }
  // the texts drawn, in order
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& c : surface.Calls())
      if (c.op == "TextOut") out.push_back(c.text);
    return out;
  }
  // The boxes of a series' marks in the last paint (rectangles in the marks'
  // colour), each checked inside the chart's rectangle grown by slack pixels on
  // its right and bottom edges, and their count.
  void ExpectMarkBoxesInsideTheChart(const TChartSeries& s, std::size_t count, int slack = 0) {
    std::size_t boxes = 0;
    for (const tk::TDrawCall& call : surface.Calls()) {
      if (call.op != "Rectangle" || call.brush.color != s.Marks().BackColor()) continue;
      ++boxes;
      SCOPED_TRACE(call.ToString());
      EXPECT_GE(call.args[0], chart.ChartRect.left);
      EXPECT_GE(call.args[1], chart.ChartRect.top);
      EXPECT_LE(call.args[2], chart.ChartRect.right + slack);
      EXPECT_LE(call.args[3], chart.ChartRect.bottom + slack);
    }
    EXPECT_EQ(boxes, count);
  }
  // an active series with no points on the default axes, owned by the chart;
  // like the signal's series it stays out of the legend
  TChartSeries* AddEmptySeries() {
    auto* s = new TChartSeries;
    s->SetShowInLegend(false);
    s->SetParentChart(&chart);
    return s;
  }
};

// Every call of a recorded drawing with the tools it was drawn with, one text each.
// The chart keeps drawing into the bitmap the first surface made, which logs into
// that surface: a chart is drawn onto the same surface every time.
inline std::vector<std::string> Drawing(TChart& chart, tk::TRecordingSurface& surface) {
  surface.Clear();
  chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  std::vector<std::string> out;
  for (const tk::TDrawCall& c : surface.Calls()) {
    if (c.op == "CreateBitmap") continue;  // the first paint makes the buffer, later ones reuse it
    char tools[160];
    std::snprintf(tools, sizeof tools, " pen %x/%d/%d brush %x/%d font %s/%d/%x/%d",
                  static_cast<unsigned>(c.pen.color), c.pen.width, static_cast<int>(c.pen.style),
                  static_cast<unsigned>(c.brush.color), static_cast<int>(c.brush.style),
                  c.font.font.name.c_str(), c.font.font.height,
                  static_cast<unsigned>(c.font.font.color), c.font.escapement);
    out.push_back(c.ToString() + tools);
  }
  return out;
}

// The drawing of the designed signal chart, built apart from the window, holding the
// given points in its one red 3-pixel line, with its bottom labels a bit time apart.
inline std::vector<std::string> DesignedSignalDrawing(const TChartSeries& sent, double bitTime) {
  TChart chart;
  tk::TRecordingSurface surface;
  ConfigureAsSignalChart(chart);
  auto* s = new TFastLineSeries;
  s->SetSeriesColor(tk::clRed);
  s->LinePen().SetColor(tk::clRed);
  s->LinePen().SetWidth(3);
  s->SetShowInLegend(false);
  s->SetValueFormat("#,##");
  s->Marks().SetArrowLength(8);
  s->SetParentChart(&chart);
  chart.BottomAxis().SetIncrement(bitTime);
  for (int i = 0; i < sent.PointCount(); ++i)
    s->AddPointXY(sent.XValueAt(i), sent.YValueAt(i));
  return Drawing(chart, surface);
}
