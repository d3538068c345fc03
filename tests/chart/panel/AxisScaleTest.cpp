#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "chart/ChartErrors.h"
#include "tests/support/ChartRig.h"

#include <utility>
#include <vector>

namespace {

// A bottom axis laid over a chart rectangle by hand.
struct AxisRig {
  TChart chart;
  TChartAxis& axis;
  explicit AxisRig(tk::TRect rect = {40, 10, 640, 210}, bool horizontal = true)
      : axis(horizontal ? chart.BottomAxis() : chart.LeftAxis()) {
    chart.ChartRect = rect;
    chart.UpdateChartMetrics();
  }
  void Limits(double min, double max) {
    axis.SetLimits(min, max);
    axis.UpdateLimits();
    axis.UpdatePixels();
  }
};

}  // namespace

TEST(AxisScale, LinearMappingBothWays) {
  AxisRig r;
  r.Limits(0, 999);
  struct Case {
    double value;
    int pixel;
  };
  for (const Case& c : {Case{0, 40}, {999, 640}, {499.5, 340}, {-999, -560}}) {
    EXPECT_EQ(r.axis.ValueToPixel(c.value), c.pixel) << c.value;
    EXPECT_NEAR(r.axis.PixelToValue(c.pixel), c.value, 1e-9);
  }
  r.axis.SetInverted(true);
  EXPECT_EQ(r.axis.ValueToPixel(0), 640);
  EXPECT_EQ(r.axis.ValueToPixel(999), 40);
}

TEST(AxisScale, VerticalAxesGrowUpwards) {
  AxisRig r({40, 10, 640, 210}, false);
  r.Limits(-2, 2);
  EXPECT_EQ(r.axis.ValueToPixel(-2), 210);
  EXPECT_EQ(r.axis.ValueToPixel(2), 10);
  EXPECT_EQ(r.axis.ValueToPixel(0), 110);
  EXPECT_DOUBLE_EQ(r.axis.PixelToValue(60), 1);
  r.axis.SetInverted(true);
  EXPECT_EQ(r.axis.ValueToPixel(-2), 10);
}

TEST(AxisScale, DegenerateRangesAndValuesGoToTheCentre) {
  AxisRig r;
  r.axis.SetAutomatic(false);
  r.axis.UpdateLimits();
  r.axis.UpdatePixels();
  EXPECT_EQ(r.axis.CurrentRange, 0);
  EXPECT_EQ(r.axis.ValueToPixel(123), r.axis.CenterPixel);
  r.Limits(0, 1);
  for (double v : {1e300, -1e300, double(INFINITY), double(NAN)})
    EXPECT_EQ(r.axis.ValueToPixel(v), r.axis.CenterPixel) << v;
  AxisRig flat({40, 10, 40, 210});  // no extent: a width of 0 becomes the control's width
  flat.chart.ChartRect = {40, 10, 40, 210};
  flat.axis.SetLimits(0, 10);
  flat.axis.UpdateLimits();
  flat.axis.StartPixel = flat.axis.EndPixel = 40;
  flat.axis.AxisPixels = 0;
  EXPECT_EQ(flat.axis.PixelToValue(50), 0);
}

TEST(AxisScale, PositionsWithinTheRectangle) {
  AxisRig r;
  r.axis.SetStartPosition(50);
  r.Limits(0, 10);
  EXPECT_EQ(r.axis.StartPixel, 340);
  EXPECT_EQ(r.axis.EndPixel, 640);
  EXPECT_EQ(r.axis.CenterPixel, 490);
}

TEST(AxisScale, LogarithmicMapping) {
  AxisRig r;
  r.Limits(1, 1000);
  r.axis.SetLogarithmic(true);
  EXPECT_EQ(r.axis.ValueToPixel(1), 40);
  EXPECT_EQ(r.axis.ValueToPixel(1000), 640);
  EXPECT_EQ(r.axis.ValueToPixel(10), 240);
  EXPECT_EQ(r.axis.ValueToPixel(-5), 40);  // values <= 0 at the start of a horizontal axis
  EXPECT_NEAR(r.axis.PixelToValue(440), 100, 1e-9);
  EXPECT_EQ(r.axis.PixelToValue(640), 1000);
  r.Limits(0, 1000);  // a minimum of 0 uses 0 as the lower logarithm
  EXPECT_EQ(r.axis.ValueToPixel(1), 40);
}

TEST(AxisScale, LogarithmicMappingOnVerticalAndInvertedAxes) {
  // rectangle 40..640 across, 10..210 down; limits 1..1000, so a decade is a third of the axis
  struct Case {
    const char* name;
    bool horizontal, inverted;
    std::vector<std::pair<double, int>> toPixel;
    std::vector<std::pair<int, double>> toValue;
  } cases[] = {
      {"vertical", false, false,
       {{1, 210}, {10, 143}, {100, 77}, {1000, 10}, {-5, 210}, {0, 210}},
       {{10, 1000}, {210, 1}, {110, 31.622776601683793}}},
      {"vertical inverted", false, true,
       {{1, 10}, {10, 77}, {100, 143}, {1000, 210}, {-5, 10}},
       {{10, 1}, {210, 1000}, {60, 5.623413251903491}}},
      {"horizontal inverted", true, true,
       {{1, 640}, {10, 440}, {100, 240}, {1000, 40}, {-5, 640}},
       {{40, 1000}, {640, 1}, {240, 100}}},
  };
  for (const Case& c : cases) {
    AxisRig r({40, 10, 640, 210}, c.horizontal);
    r.axis.SetInverted(c.inverted);
    r.Limits(1, 1000);
    r.axis.SetLogarithmic(true);
    for (auto [value, pixel] : c.toPixel)
      EXPECT_EQ(r.axis.ValueToPixel(value), pixel) << c.name << " value " << value;
    for (auto [pixel, value] : c.toValue)
      EXPECT_NEAR(r.axis.PixelToValue(pixel), value, 1e-9) << c.name << " pixel " << pixel;
  }
}

TEST(AxisScale, SetLimitsAndShiftRange) {
  AxisRig r;
  r.axis.SetLimits(5, 3);
  EXPECT_EQ(r.axis.Minimum(), 3);
  EXPECT_EQ(r.axis.Maximum(), 5);
  EXPECT_FALSE(r.axis.Automatic() || r.axis.AutomaticMinimum() || r.axis.AutomaticMaximum());
  r.axis.SetLimits(2, 2);
  EXPECT_EQ(r.axis.Maximum(), 2 + 1e-10);
  r.axis.SetLimits(0, 999);
  r.axis.ShiftRange(10, true);  // no series beyond the maximum: nothing
  EXPECT_EQ(r.axis.Minimum(), 0);
  r.axis.ShiftRange(10, false);
  EXPECT_EQ(r.axis.Minimum(), 10);
  EXPECT_EQ(r.axis.Maximum(), 1009);
  auto* s = new TChartSeries;
  s->SetParentChart(&r.chart);
  s->AddPointXY(2000, 1);
  r.axis.ShiftRange(10, true);
  EXPECT_EQ(r.axis.Maximum(), 1019);
}

TEST(AxisScale, AutomaticLimitsComeFromTheSeries) {
  AxisRig r;
  r.axis.UpdateLimits();
  EXPECT_EQ(r.axis.CurrentMinimum, 0);  // no series: 0..0
  EXPECT_EQ(r.axis.CurrentMaximum, 0);
  auto* a = new TChartSeries;
  auto* b = new TChartSeries;
  a->SetParentChart(&r.chart);
  b->SetParentChart(&r.chart);
  a->AddPointXY(5, 1);
  a->AddPointXY(50, 1);
  b->AddPointXY(-3, 1);
  r.axis.UpdateLimits();
  EXPECT_EQ(r.axis.CurrentMinimum, -3);
  EXPECT_EQ(r.axis.CurrentMaximum, 50);
  b->SetActive(false);
  r.axis.UpdateLimits();
  EXPECT_EQ(r.axis.CurrentMinimum, 5);
}

TEST(AxisScale, PagingShowsOnePageOfPoints) {
  AxisRig r;
  auto* s = new TChartSeries;
  s->SetParentChart(&r.chart);
  for (int i = 0; i < 25; ++i)
    s->AddPointXY(i * 10, i);
  r.chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(r.chart.PageCount(), 3);
  int changes = 0;
  r.chart.OnPageChange = [&](TCustomZozPanel*) { ++changes; };
  r.chart.SetPage(5);
  EXPECT_EQ(r.chart.Page(), 3);
  r.chart.SetPage(3);
  EXPECT_EQ(changes, 1);
  r.axis.UpdateLimits();
  EXPECT_EQ(r.axis.CurrentMinimum, 200);  // points 20..24
  EXPECT_EQ(r.axis.CurrentMaximum, 240);
  r.chart.SetScaleLastPage(false);
  r.axis.UpdateLimits();
  EXPECT_EQ(r.axis.CurrentMaximum,
            200 + 40.0 * 10 / 5);  // the short page keeps the full-page scale
  r.chart.SetPage(1);
  r.axis.UpdateLimits();
  EXPECT_EQ(r.axis.CurrentMaximum, 90);
  EXPECT_THROW(r.chart.SetMaxPointsPerPage(-1), ChartException);
  EXPECT_EQ(r.chart.MaxPointsPerPage(), 10);
}

TEST(AxisScale, ValidationMessagesKeepTheOldValue) {
  struct Case {
    std::function<void(TChart&)> set;
    const char* message;
    std::function<bool(TChart&)> unchanged;
  };
  const Case cases[] = {
      {[](TChart& c) { c.BottomAxis().SetMinimum(1000); }, "Axis Minimum Value must be <= Maximum",
       [](TChart& c) { return c.BottomAxis().Minimum() == 0; }},
      {[](TChart& c) { c.BottomAxis().SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum",
       [](TChart& c) { return c.BottomAxis().Maximum() == 999; }},
      {[](TChart& c) { c.BottomAxis().SetIncrement(-1); }, "Axis increment must be >= 0",
       [](TChart& c) { return c.BottomAxis().Increment() == 0; }},
      {[](TChart& c) { c.BottomAxis().SetIncrement(NAN); }, "Axis increment must be >= 0",
       [](TChart& c) { return c.BottomAxis().Increment() == 0; }},
      {[](TChart& c) { c.BottomAxis().SetLogarithmicBase(1); },
       "Axis Logarithmic Base should be >= 2",
       [](TChart& c) { return c.BottomAxis().LogarithmicBase() == 10; }},
      {[](TChart& c) { c.BottomAxis().SetLabelsSeparation(-1); },
       "Labels Separation % must be greater than 0",
       [](TChart& c) { return c.BottomAxis().LabelsSeparation() == 10; }},
      {[](TChart& c) { c.BottomAxis().SetLabelsAngle(360); },
       "Axis Labels Angle must be between 0 and 359 degrees",
       [](TChart& c) { return c.BottomAxis().LabelsAngle() == 0; }},
      {[](TChart& c) { c.LeftAxis().Title().SetAngle(-1); },
       "Axis Title Angle must be between 0 and 359 degrees",
       [](TChart& c) { return c.LeftAxis().Title().Angle() == 90; }},
      {[](TChart& c) { c.LeftAxis().SetLimits(-5, 5), c.LeftAxis().SetLogarithmic(true); },
       "Logarithmic Axis Min and Max values should be >= 0",
       [](TChart& c) { return !c.LeftAxis().Logarithmic(); }},
      {[](TChart& c) { c.SetChart3DPercent(101); }, "3D effect percent must be between 1 and 100",
       [](TChart& c) { return c.Chart3DPercent() == 15; }},
      {[](TChart& c) { c.SetChart3DPercent(0); }, "3D effect percent must be between 1 and 100",
       [](TChart& c) { return c.Chart3DPercent() == 15; }},
  };
  for (const Case& c : cases) {
    TChart chart;
    chart.BottomAxis().SetLimits(0, 999);
    try {
      c.set(chart);
      ADD_FAILURE() << "no error: " << c.message;
    } catch (const tk::Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_TRUE(c.unchanged(chart)) << c.message;
  }
  TChart dates;
  auto* s = new TChartSeries;
  s->SetParentChart(&dates);
  s->XValues().SetDateTime(true);
  EXPECT_THROW(dates.BottomAxis().SetLogarithmic(true), AxisException);
}

TEST(AxisScale, MovingTheWindowMaximumFirst) {
  TChart chart;
  chart.BottomAxis().SetLimits(0, 999);
  chart.BottomAxis().SetMaximum(1998);
  chart.BottomAxis().SetMinimum(999);
  EXPECT_EQ(chart.BottomAxis().Minimum(), 999);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 1998);
}

TEST(AxisScale, AutomaticFlagsFollowEachOther) {
  TChart chart;
  TChartAxis& a = chart.BottomAxis();
  a.SetAutomaticMaximum(false);
  EXPECT_FALSE(a.Automatic());
  a.SetAutomaticMaximum(true);
  EXPECT_TRUE(a.Automatic());
  a.SetAutomatic(false);
  EXPECT_FALSE(a.AutomaticMinimum());
  EXPECT_FALSE(a.AutomaticMaximum());
}

// The run-length fast path must group values exactly as mapping each one does.
TEST(AxisScale, PixelRunsAgreeWithMappingEachValue) {
  std::mt19937 rng(21);
  for (bool inverted : {false, true}) {
    for (double multiplier : {1.0, 2.5}) {
      AxisRig r;
      r.axis.SetInverted(inverted);
      r.Limits(0, 977);
      std::vector<double> values;
      double v = -50;
      while (v < 1100) {
        values.push_back(v);
        v += (rng() % 7 == 0) ? 0 : (rng() % 1000) / 1500.0;  // ties and uneven steps
      }
      // values landing exactly on pixel boundaries too
      for (int p = 40; p < 60; ++p)
        values.push_back(r.axis.PixelToValue(p) + 0.0);
      std::sort(values.begin(), values.end());
      for (double& x : values)
        x /= multiplier;
      size_t from = 0;
      while (from < values.size()) {
        int pixel = 0;
        const size_t n =
            r.axis.PixelRun(values.data() + from, values.size() - from, multiplier, pixel);
        ASSERT_GE(n, 1u);
        for (size_t k = from; k < from + n; ++k) {
          ASSERT_EQ(r.axis.ValueToPixel(values[k] * multiplier), pixel) << k;
        }
        if (from + n < values.size()) {
          ASSERT_NE(r.axis.ValueToPixel(values[from + n] * multiplier), pixel);
        }
        from += n;
      }
    }
  }
}
