// The signal chart in the real window, end to end: the clock's ticks put the
// encoded bits on the chart, the scroll bar moves the window, errors reach the user.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "toolkit/Application.h"

#include <QImage>
#include <QWidget>

namespace {

class SignalChart : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::SetErrorHandler([this](const std::string& m) { errors.push_back(m); });
  }
  void TearDown() override {
    tk::SetErrorHandler(nullptr);
    PanningMouseButton = tk::mbRight;
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i)
      form.Timer1Timer();
  }
  TChartSeries& Series() { return *form.Chart1.Series(0); }
  std::pair<double, double> Window() {
    return {form.Chart1.BottomAxis().Minimum(), form.Chart1.BottomAxis().Maximum()};
  }

  TForm1 form;
  std::vector<std::string> errors;
};

}  // namespace

TEST_F(SignalChart, DesignTimeSetUp) {
  TChart& c = form.Chart1;
  EXPECT_EQ(c.SeriesCount(), 1);
  EXPECT_EQ(c.Series(0), form.Series1);
  EXPECT_EQ(form.Series1->SeriesColor(), tk::clRed);
  EXPECT_EQ(form.Series1->LinePen().Width(), 3);
  EXPECT_FALSE(form.Series1->ShowInLegend());
  EXPECT_FALSE(form.Series1->Marks().Visible());
  EXPECT_EQ(form.Series1->Marks().ArrowLength(), 8);
  EXPECT_FALSE(c.View3D());
  EXPECT_EQ(c.Title().Text(), std::vector<std::string>{"Signal"});
  EXPECT_EQ(Window(), std::make_pair(0.0, 999.0));
  EXPECT_EQ(c.LeftAxis().Minimum(), -2);
  EXPECT_EQ(c.LeftAxis().Maximum(), 2);
  EXPECT_FALSE(c.TopAxis().Visible());
  EXPECT_FALSE(c.RightAxis().Visible());
  EXPECT_EQ(c.AllowPanning(), pmHorizontal);
  EXPECT_EQ(PanningMouseButton, tk::mbLeft);  // set by FormCreate
  EXPECT_DOUBLE_EQ(c.BottomAxis().Increment(), 1.1574074074074e-05);
}

TEST_F(SignalChart, KeldoPutsEightyPointsOnTheChart) {
  form.Button1.Click();
  EXPECT_EQ(form.Chart1.BottomAxis().Increment(), 62);
  Ticks(40);
  ASSERT_EQ(Series().PointCount(), 80);
  const std::pair<double, double> first[] = {{0, 0}, {62, 0}, {62, 1}, {124, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Series().XValueAt(i), first[i].first);
    EXPECT_EQ(Series().YValueAt(i), first[i].second);
  }
  EXPECT_EQ(Series().XValueAt(79), 40 * 62);
}

TEST_F(SignalChart, KeldoTakesOneBitTimePerBitAtEverySpeed) {
  // 40 bits of "KELDO": the series spans 0 .. 40 bit times, in x order, and
  // every bit boundary stands on a multiple of the bit time, where the bottom
  // axis puts its labels
  struct Case {
    int speed;
    int encoding;
    int pointsPerBit;
    double lastX;  // 40 x (1000 div speed)
  };
  const Case cases[] = {
      {16, leUnipolar, 2, 2480},   {40, leRz, 4, 1000},   {40, leManchester, 4, 1000},
      {3, leRz, 4, 13320},         {1000, leNrzI, 2, 40}, {1000, leRz, 4, 40},
      {1000, leManchester, 4, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "speed " << c.speed << " encoding " << c.encoding);
    form.Button2.Click();  // Clear: no points, the clock stopped
    form.SpinEdit1.SetValue(c.speed);
    form.RG1.SetItemIndex(c.encoding);
    form.Edit1.SetText("KELDO");
    form.Button1.Click();
    const double T = 1000 / c.speed;
    EXPECT_EQ(form.Chart1.BottomAxis().Increment(), T);
    Ticks(40);
    ASSERT_EQ(Series().PointCount(), 40 * c.pointsPerBit);
    EXPECT_EQ(Series().XValueAt(0), 0);
    EXPECT_EQ(Series().XValueAt(Series().PointCount() - 1), c.lastX);
    for (int i = 1; i < Series().PointCount(); ++i)
      ASSERT_LE(Series().XValueAt(i - 1), Series().XValueAt(i)) << "point " << i;
    for (int n = 0; n < 40; ++n) {
      EXPECT_EQ(Series().XValueAt(n * c.pointsPerBit), n * T) << "bit " << n;
      if (c.pointsPerBit == 4) {
        EXPECT_EQ(Series().XValueAt(n * 4 + 1), n * T + T / 2) << "bit " << n;
      }
    }
  }
}

TEST_F(SignalChart, NrzIDrawsATransitionForEveryOneAndNoneForAZero) {
  // K = 01001011 starts high: +1 -1 -1 -1 +1 +1 -1 +1
  form.RG1.SetItemIndex(leNrzI);
  form.Button1.Click();
  Ticks(8);
  std::vector<double> levels;
  for (int i = 0; i < Series().PointCount(); i += 2)
    levels.push_back(Series().YValueAt(i));
  EXPECT_EQ(levels, (std::vector<double>{1, -1, -1, -1, 1, 1, -1, 1}));
}

TEST_F(SignalChart, ClearEmptiesTheSeriesAndKeepsTheWindow) {
  form.Button1.Click();
  Ticks(10);
  form.ScrollBar1.SetPosition(30);
  form.SpinEdit1.SetValue(10);
  form.Button2.Click();
  EXPECT_EQ(Series().PointCount(), 0);
  EXPECT_EQ(Window(), std::make_pair(30.0, 1029.0));
  EXPECT_EQ(form.Chart1.BottomAxis().Increment(), 100);
}

TEST_F(SignalChart, SecondStartMergesTheNewPointsAmongTheOld) {
  form.Button1.Click();
  Ticks(3);  // K: 0 1 0 -> (0,0) (62,0) (62,1) (124,1) (124,0) (186,0)
  form.Button1.Click();
  Ticks(1);  // the frame goes on at time 0 with its 4th bit, 0: (0,0) (62,0)
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < Series().PointCount(); ++i)
    points.push_back({Series().XValueAt(i), Series().YValueAt(i)});
  const std::vector<std::pair<double, double>> expected{{0, 0},  {0, 0},   {62, 0},  {62, 1},
                                                        {62, 0}, {124, 1}, {124, 0}, {186, 0}};
  EXPECT_EQ(points, expected);
}

TEST_F(SignalChart, ScrollBarMovesTheTimeWindow) {
  form.ScrollBar1.SetPosition(50);
  EXPECT_EQ(Window(), std::make_pair(50.0, 1049.0));
  form.ScrollBar1.SetPosition(0);
  EXPECT_EQ(Window(), std::make_pair(0.0, 999.0));
  EXPECT_TRUE(errors.empty());
}

TEST_F(SignalChart, ScrollingPastAZoomShowsTheAxisMessage) {
  form.Chart1.BottomAxis().SetLimits(800, 900);  // as a zoom leaves it
  form.ScrollBar1.SetPosition(5);                // 100 + 5 is below 800
  ASSERT_EQ(errors, std::vector<std::string>{"Axis Maximum Value must be >= Minimum"});
  EXPECT_EQ(Window(), std::make_pair(800.0, 900.0));
}

TEST_F(SignalChart, ScreenPictureShowsTheWaveform) {
  form.Button1.Click();
  Ticks(40);
  form.Show();
  QImage image = form.Widget()->grab().toImage();
  // red pixels of the 3-pixel line inside the chart's area
  int red = 0;
  const int top = form.Chart1.Top(), left = form.Chart1.Left();
  for (int y = top; y < top + form.Chart1.Height(); ++y)
    for (int x = left; x < left + form.Chart1.Width(); ++x)
      if (image.pixel(x, y) == qRgb(255, 0, 0)) ++red;
  EXPECT_GT(red, 1000);
}
