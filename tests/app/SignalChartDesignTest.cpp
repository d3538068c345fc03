// The signal chart as the window builds it: every design-time value read off
// the live chart, series, axes and scroll bar of a real TForm1, one row each,
// against the values written out here by hand.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "app/Unit1.h"
#include "toolkit/Application.h"

namespace {

// One text per value, so that rows of any type share one table.
std::string Str(bool v) {
  return v ? "True" : "False";
}
std::string Str(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}
std::string Str(const std::string& v) {
  return '"' + v + '"';
}
std::string Str(const char* v) {
  return Str(std::string(v));
}
std::string Str(const std::vector<std::string>& lines) {
  std::string text = "[";
  for (const std::string& l : lines)
    text += Str(l) + ";";
  return text + "]";
}
template <typename T>
  requires(std::is_integral_v<T> || std::is_enum_v<T>)
std::string Str(T v) {
  if constexpr (std::is_same_v<T, bool>)
    return v ? "True" : "False";
  else
    return std::to_string(static_cast<long long>(v));
}

struct Row {
  const char* property;
  std::string actual, expected;
};

class SignalChartDesign : public ::testing::Test {
 protected:
  void TearDown() override { PanningMouseButton = tk::mbRight; }
  TForm1 form;
};

}  // namespace

TEST_F(SignalChartDesign, EveryDesignTimeValueOfTheChart) {
  TChart& c = form.Chart1;
  TChartAxis& b = c.BottomAxis();
  TChartAxis& l = c.LeftAxis();
  TChartAxis& r = c.RightAxis();
  TChartAxis& t = c.TopAxis();
  const Row rows[] = {
      {"Chart1.Left", Str(c.Left()), Str(8)},
      {"Chart1.Top", Str(c.Top()), Str(368)},
      {"Chart1.Width", Str(c.Width()), Str(671)},
      {"Chart1.Height", Str(c.Height()), Str(209)},
      {"Chart1.Anchors", Str(c.Anchors()), Str(1 | 2 | 4 | 8)},
      {"Chart1.TabOrder", Str(c.TabOrder()), Str(4)},
      {"AllowPanning", Str(c.AllowPanning()), Str(pmHorizontal)},
      {"AllowZoom", Str(c.AllowZoom()), Str(true)},
      {"BackWall.Brush.Color", Str(c.BackWall().Brush().Color()), Str(0xFFFFFF)},
      {"BackWall.Brush.Style", Str(c.BackWall().Brush().Style()), Str(tk::bsClear)},
      {"Title.Text", Str(c.Title().Text()), Str(std::vector<std::string>{"Signal"})},
      {"View3D", Str(c.View3D()), Str(false)},
      {"BevelOuter", Str(c.BevelOuter()), Str(bvLowered)},
      {"BottomAxis.Automatic", Str(b.Automatic()), Str(false)},
      {"BottomAxis.AutomaticMaximum", Str(b.AutomaticMaximum()), Str(false)},
      {"BottomAxis.AutomaticMinimum", Str(b.AutomaticMinimum()), Str(false)},
      {"BottomAxis.Minimum", Str(b.Minimum()), Str(0.0)},
      {"BottomAxis.Maximum", Str(b.Maximum()), Str(999.0)},
      {"BottomAxis.AxisValuesFormat", Str(b.AxisValuesFormat()), Str("#,##")},
      {"BottomAxis.DateTimeFormat", Str(b.DateTimeFormat()), Str("ss:hnd")},
      {"BottomAxis.ExactDateTime", Str(b.ExactDateTime()), Str(false)},
      {"BottomAxis.Increment", Str(b.Increment()), Str(1.1574074074074e-05)},
      {"BottomAxis.LabelsAngle", Str(b.LabelsAngle()), Str(45)},
      {"BottomAxis.LabelsOnAxis", Str(b.LabelsOnAxis()), Str(false)},
      {"BottomAxis.LabelsSeparation", Str(b.LabelsSeparation()), Str(0)},
      {"BottomAxis.MinorGrid.Style", Str(b.MinorGrid().Style()), Str(tk::psDash)},
      {"BottomAxis.MinorTickCount", Str(b.MinorTickCount()), Str(1)},
      {"BottomAxis.MinorTicks.Visible", Str(b.MinorTicks().Visible()), Str(false)},
      {"BottomAxis.RoundFirstLabel", Str(b.RoundFirstLabel()), Str(false)},
      {"BottomAxis.Visible", Str(b.Visible()), Str(true)},
      {"LeftAxis.Automatic", Str(l.Automatic()), Str(false)},
      {"LeftAxis.AutomaticMaximum", Str(l.AutomaticMaximum()), Str(false)},
      {"LeftAxis.AutomaticMinimum", Str(l.AutomaticMinimum()), Str(false)},
      {"LeftAxis.Minimum", Str(l.Minimum()), Str(-2.0)},
      {"LeftAxis.Maximum", Str(l.Maximum()), Str(2.0)},
      {"LeftAxis.Visible", Str(l.Visible()), Str(true)},
      {"RightAxis.Automatic", Str(r.Automatic()), Str(false)},
      {"RightAxis.AutomaticMaximum", Str(r.AutomaticMaximum()), Str(false)},
      {"RightAxis.AutomaticMinimum", Str(r.AutomaticMinimum()), Str(false)},
      {"RightAxis.Minimum", Str(r.Minimum()), Str(-2.0)},
      {"RightAxis.Maximum", Str(r.Maximum()), Str(2.0)},
      {"RightAxis.Visible", Str(r.Visible()), Str(false)},
      {"TopAxis.Automatic", Str(t.Automatic()), Str(false)},
      {"TopAxis.AutomaticMaximum", Str(t.AutomaticMaximum()), Str(false)},
      {"TopAxis.AutomaticMinimum", Str(t.AutomaticMinimum()), Str(false)},
      {"TopAxis.Minimum", Str(t.Minimum()), Str(0.0)},
      {"TopAxis.Maximum", Str(t.Maximum()), Str(999.0)},
      {"TopAxis.Visible", Str(t.Visible()), Str(false)},
      {"DepthAxis.TickLength", Str(c.DepthAxis().TickLength()), Str(1)},
      {"ZoomMouseButton", Str(ZoomMouseButton), Str(tk::mbLeft)},
      {"PanningMouseButton (FormCreate)", Str(PanningMouseButton), Str(tk::mbLeft)},
  };
  for (const Row& row : rows)
    EXPECT_EQ(row.actual, row.expected) << row.property;
}

TEST_F(SignalChartDesign, EveryDesignTimeValueOfTheSeriesAndScrollBar) {
  ASSERT_EQ(form.Chart1.SeriesCount(), 1);
  TChartSeries& s = *form.Chart1.Series(0);  // the window's way to it
  ASSERT_EQ(&s, form.Series1);
  TFastLineSeries& f = *form.Series1;
  const tk::TScrollBar& bar = form.ScrollBar1;
  const Row rows[] = {
      {"SeriesColor", Str(s.SeriesColor()), Str(0x0000FF)},
      {"LinePen.Color", Str(f.LinePen().Color()), Str(0x0000FF)},
      {"LinePen.Width", Str(f.LinePen().Width()), Str(3)},
      {"ShowInLegend", Str(s.ShowInLegend()), Str(false)},
      {"ValueFormat", Str(s.ValueFormat()), Str("#,##")},
      {"XValues.Name", Str(s.XValues().Name()), Str("X")},
      {"XValues.DateTime", Str(s.XValues().DateTime()), Str(false)},
      {"XValues.Multiplier", Str(s.XValues().Multiplier()), Str(1.0)},
      {"XValues.Order", Str(s.XValues().Order()), Str(loAscending)},
      {"YValues.Name", Str(s.YValues().Name()), Str("Y")},
      {"YValues.DateTime", Str(s.YValues().DateTime()), Str(false)},
      {"YValues.Multiplier", Str(s.YValues().Multiplier()), Str(1.0)},
      {"YValues.Order", Str(s.YValues().Order()), Str(loNone)},
      {"HorizAxis", Str(s.HorizAxis()), Str(aBottomAxis)},
      {"VertAxis", Str(s.VertAxis()), Str(aLeftAxis)},
      {"ParentChart", Str(s.ParentChart() == &form.Chart1), Str(true)},
      {"ScrollBar1.Left", Str(bar.Left()), Str(8)},
      {"ScrollBar1.Top", Str(bar.Top()), Str(576)},
      {"ScrollBar1.Width", Str(bar.Width()), Str(673)},
      {"ScrollBar1.Height", Str(bar.Height()), Str(16)},
      {"ScrollBar1.Anchors", Str(bar.Anchors()), Str(1 | 4 | 8)},
      {"ScrollBar1.TabOrder", Str(bar.TabOrder()), Str(11)},
      {"ScrollBar1.Min", Str(bar.Min()), Str(0)},
      {"ScrollBar1.Max", Str(bar.Max()), Str(100)},
      {"ScrollBar1.Position", Str(bar.Position()), Str(0)},
      {"ScrollBar1.PageSize", Str(bar.PageSize()), Str(0)},
  };
  for (const Row& row : rows)
    EXPECT_EQ(row.actual, row.expected) << row.property;
}
