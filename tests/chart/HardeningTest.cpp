// Property values that once hung a paint or ran into undefined arithmetic,
// each painted on the recording surface under a time bound, and the same
// values set on a shown chart, whose window must keep running.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QtTest/QTest>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "chart/canvas/Canvas.h"
#include "chart/panel/SeriesTypes.h"
#include "tests/support/ChartRig.h"
#include "toolkit/Application.h"
#include "toolkit/Errors.h"

namespace {

struct Trigger {
  const char* name;
  std::function<void(TChart&)> set;
};

TChartSeries* SeriesWithPoints(TChart& ch, std::initializer_list<std::pair<double, double>> pts) {
  auto* s = new TChartSeries;
  s->SetParentChart(&ch);
  for (auto [x, y] : pts)
    s->AddPointXY(x, y);
  return s;
}

const std::vector<Trigger>& Triggers() {
  static const std::vector<Trigger> triggers = {
      {"denormal increment",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}, {10, 1}});
         ch.BottomAxis().SetIncrement(5e-324);
       }},
      {"denormal increment on a date-time axis",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{40000, 0}, {40010, 1}})->XValues().SetDateTime(true);
         ch.BottomAxis().SetIncrement(5e-324);
       }},
      {"logarithmic axis whose first label underflows",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}, {10, 1}});
         TChartAxis& a = ch.LeftAxis();
         a.SetLogarithmicBase(7);
         a.SetLimits(5e-324, 1);
         a.SetLogarithmic(true);
       }},
      {"date-time series far beyond the calendar",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}, {3e102, 1}})->XValues().SetDateTime(true);
       }},
      {"monthly labels before the first day of the calendar",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}})->XValues().SetDateTime(true);
         ch.BottomAxis().SetLimits(-695900.5, -695800.066);
         ch.BottomAxis().SetIncrement(30);
       }},
      {"yearly labels at the first year",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}})->XValues().SetDateTime(true);
         ch.BottomAxis().SetLimits(-693593, -692000);
         ch.BottomAxis().SetIncrement(365);
       }},
      {"depth axis 1e300..2e300",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}, {1, 1}});
         ch.SetView3D(true);
         ch.DepthAxis().SetVisible(true);
         ch.DepthAxis().SetLimits(1e300, 2e300);
       }},
      {"depth axis 0..0, orthogonal",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}, {1, 1}});
         ch.SetView3D(true);
         ch.DepthAxis().SetVisible(true);
         ch.DepthAxis().SetLimits(0, 0);
       }},
      {"depth axis 0..0, rotated",
       [](TChart& ch) {
         SeriesWithPoints(ch, {{0, 0}, {1, 1}});
         ch.SetView3D(true);
         ch.View3DOptions().SetOrthogonal(false);
         ch.View3DOptions().SetRotation(20);
         ch.DepthAxis().SetVisible(true);
         ch.DepthAxis().SetLimits(0, 0);
       }},
  };
  return triggers;
}

}  // namespace

// Each value once made the paint loop for ever or trap under the sanitizers; a
// paint in a child process that has not finished in ten seconds is a hang.
TEST(HardeningDeathTest, EveryTriggerPaintsWithinATimeBound) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const Trigger& t : Triggers()) {
    EXPECT_EXIT(
        {
          alarm(10);
          ChartRig r(600, 400);
          t.set(r.chart);
          r.Paint();
          r.Paint();
          _exit(0);
        },
        ::testing::ExitedWithCode(0), "")
        << t.name;
  }
}

// A denormal desired step labels the axis as the minimum increment does: the
// step search starts from the minimum either way.
TEST(Hardening, DenormalIncrementLabelsAsTheMinimumIncrement) {
  auto labels = [](double increment) {
    ChartRig r(600, 400);
    SeriesWithPoints(r.chart, {{0, 0}, {10, 1}});
    r.chart.LeftAxis().SetLabels(false);
    r.chart.BottomAxis().SetIncrement(increment);
    r.Paint();
    return r.Texts();
  };
  const auto expected = labels(1e-12);
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(labels(5e-324), expected);
}

// Base 7 from the smallest double to 1: a label for every power 7^k that is a
// double at least 5e-324, that is k from -382 (maybe -383, by the rounding of
// the power) up to 0, ending at "1".
TEST(Hardening, LogarithmicPassClimbsOutOfAnUnderflow) {
  ChartRig r(600, 4000);
  SeriesWithPoints(r.chart, {{0, 0}, {10, 1}});
  r.chart.BottomAxis().SetLabels(false);
  r.chart.Title().SetVisible(false);
  r.chart.Legend().SetVisible(false);  // only the axis writes texts
  TChartAxis& a = r.chart.LeftAxis();
  a.SetLogarithmicBase(7);
  a.SetLimits(5e-324, 1);
  a.SetLogarithmic(true);
  a.SetLabelsSeparation(0);
  r.Paint();
  const auto texts = r.Texts();
  EXPECT_GE(texts.size(), 383u);
  EXPECT_LE(texts.size(), 384u);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "1");
}

// ---------------------------------------------------------------- projection

namespace {

// A slow transcription in long double: round half to even, then saturate the
// sum with the screen centre to the int range.
int SaturatedRef(long double v, int centre) {
  long double r = std::nearbyint(v);  // the default rounding mode: halves to even
  r = std::clamp<long double>(r, INT_MIN, INT_MAX);
  return static_cast<int>(std::clamp<long double>(r + centre, INT_MIN, INT_MAX));
}

struct ProjectionView {
  tk::TRecordingSurface screen;
  TView3DOptions options;
  TZozCanvas3D canvas;
  ProjectionView(bool orthogonal, int zoom, int rotation = 0) {
    options.SetOrthogonal(orthogonal);
    options.SetZoom(zoom);
    options.SetRotation(rotation);
    options.SetPerspective(0);
    canvas.StartFrame(screen, &options, tk::clWhite, true, {0, 0, 600, 400});
    canvas.SetProjectionCenter(60, {0, 0, 600, 400}, {100, 50, 500, 350});  // centre 300, 200
  }
};

}  // namespace

TEST(Hardening, OrthogonalProjectionSaturatesFarPoints) {
  struct Case {
    int zoom, x, y, z;
  };
  const Case cases[] = {
      {100, 0, 0, INT_MIN},
      {100, 0, 0, INT_MAX},
      {100, INT_MAX, INT_MIN, INT_MAX},
      {100, INT_MIN, INT_MAX, INT_MIN},
      {300, INT_MAX, 0, INT_MAX},
      {50, INT_MIN, INT_MIN, INT_MIN},
      {100, 150, 80, 10},
      {50, 301, 203, 0},
  };
  for (const Case& c : cases) {
    ProjectionView v(true, c.zoom);
    const long double zoom = c.zoom / 100.0L;
    const tk::TPoint expected{
        SaturatedRef((static_cast<long double>(c.x) - 300 + c.z) * zoom, 300),
        SaturatedRef((static_cast<long double>(c.y) - 200 - c.z) * zoom, 200)};
    EXPECT_EQ(v.canvas.ProjectPoint(c.x, c.y, c.z), expected) << c.x << "," << c.y << "," << c.z;
  }
}

TEST(Hardening, RotatedProjectionSaturatesFarPoints) {
  ProjectionView v(false, 100, 20);
  const auto k = v.canvas.Coefficients();
  for (int z : {INT_MIN, 0, INT_MAX})
    for (int x : {INT_MIN, 0, INT_MAX})
      for (int y : {INT_MIN, INT_MAX}) {
        const long double dx = x - 300.0L, dy = y - 200.0L, dz = z - 30.0L;
        const tk::TPoint expected{SaturatedRef(dx * k.xx + dy * k.xy + dz * k.xz, 300),
                                  SaturatedRef(dx * k.yx + dy * k.yy + dz * k.yz, 200)};
        EXPECT_EQ(v.canvas.ProjectPoint(x, y, z), expected) << x << "," << y << "," << z;
        int ix = x, iy = y;
        v.canvas.UnprojectPoint(ix, iy, z);  // and back without wrapping round
      }
}

// All five forms give the same pixel, flat, orthogonal and rotated with perspective.
TEST(Hardening, TheFiveFormsOfProjectPointAgree) {
  std::mt19937 rng(13);
  std::uniform_int_distribution<int> coord(-5000, 5000);
  for (int mode = 0; mode < 3; ++mode) {
    ProjectionView v(mode == 1, 80, 35);
    if (mode == 2) {
      v.options.SetPerspective(15);
      v.canvas.StartFrame(v.screen, &v.options, tk::clWhite, true, {0, 0, 600, 400});
      v.canvas.SetProjectionCenter(60, {0, 0, 600, 400}, {100, 50, 500, 350});
    }
    if (mode == 0) v.canvas.StartFrame(v.screen, &v.options, tk::clWhite, false, {0, 0, 600, 400});
    const TCanvas3D& c = v.canvas;  // through the interface: every form is virtual
    for (int k = 0; k < 200; ++k) {
      const int x = coord(rng), y = coord(rng), z = coord(rng);
      const tk::TPoint returned = c.ProjectPoint(x, y, z);
      tk::TPoint written, moved{x, y};
      c.ProjectPoint(x, y, z, written);
      c.ProjectPoint(moved, z);
      const tk::TPoint fromPoint3D = c.ProjectPoint(TPoint3D{x, y, z});
      int ix = x, iy = y;
      c.ProjectInPlace(ix, iy, z);
      EXPECT_EQ(written, returned);
      EXPECT_EQ(moved, returned);
      EXPECT_EQ(fromPoint3D, returned);
      EXPECT_EQ((tk::TPoint{ix, iy}), returned);
    }
  }
}

// ---------------------------------------------------------------- on a shown chart

// Every trigger set on a chart in a window: the paints run from the event
// loop, any message is one of the engine's, and the window still paints and
// answers afterwards.
TEST(Hardening, AShownChartSurvivesEveryTrigger) {
  for (const Trigger& t : Triggers()) {
    std::vector<std::string> messages;
    tk::SetErrorHandler([&](const std::string& m) { messages.push_back(m); });
    {
      TChart chart;
      chart.SetSize(500, 300);
      chart.Show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(chart.Widget()));
      try {
        t.set(chart);
      } catch (const tk::Exception& e) {
        messages.push_back(e.Message());  // a refusal by a setter is fine: it names the fault
      }
      chart.Invalidate();
      for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QTest::qWait(5);
      }
      chart.RepaintNow();
      EXPECT_TRUE(chart.Widget()->isVisible()) << t.name;
      // still alive: a change repaints as usual
      chart.Title().SetText({"after"});
      chart.RepaintNow();
    }
    tk::SetErrorHandler(nullptr);
    EXPECT_TRUE(messages.empty()) << t.name << ": " << (messages.empty() ? "" : messages[0]);
  }
}
