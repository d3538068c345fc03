// The shortcuts that dense series types take, each against the same chart
// drawn the straightforward way, pixel for pixel on real pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "chart/panel/Chart.h"
#include "chart/series/CustomSeries.h"
#include "tests/support/ChartRig.h"
#include "toolkit/QtSurface.h"

namespace {

constexpr int kW = 640, kH = 360;

using Values = std::vector<double>;

Values Walk(int n, double step, unsigned seed = 5) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> d(0, step);
  Values v(static_cast<std::size_t>(n));
  double y = 0;
  for (double& e : v)
    e = y += d(rng);
  return v;
}

Values Noise(int n, unsigned seed = 6) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> d(0, 1);
  Values v(static_cast<std::size_t>(n));
  for (double& e : v)
    e = d(rng);
  return v;
}

QImage Picture(TChart& chart) {
  QImage image(kW, kH, QImage::Format_RGB32);
  image.fill(Qt::black);
  chart.Canvas().MarkDirty();
  tk::TQtSurface surface(&image);
  chart.PaintInto(surface, {0, 0, kW, kH});
  return image;
}

int DifferentPixels(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

// pixels in the fill or outline colours (black, red, blue); the chart around is grey and white
int AreaPixels(const QImage& a) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      n += p == qRgb(0, 0, 0) || p == qRgb(255, 0, 0) || p == qRgb(0, 0, 255);
    }
  return n;
}

struct AreaCase {
  const char* name;
  Values ys;
  std::function<void(TChart&, TAreaSeries&)> setUp = [](TChart&, TAreaSeries&) {};
};

}  // namespace

// A dense area drawn through pixel columns looks exactly like the same area
// drawn part by part from every point.
TEST(DenseTypes, AreaThroughColumnsMatchesPointByPoint) {
  const Values walk = Walk(40000, 0.05), noise = Noise(40000);
  Values spiky = Walk(40000, 0.01);
  spiky[20001] = 3;  // one sample far above its neighbours
  spiky[30003] = -3;
  Values saw(40000);  // every point far from the one before: steep joins between columns
  for (std::size_t i = 0; i < saw.size(); ++i)
    saw[i] = (i % 2 ? 1.0 : -1.0) * (1 + static_cast<double>(i % 7) / 7);
  const std::vector<AreaCase> cases = {
      {"walk", walk},
      {"sawtooth", saw},
      {"few points a column", Walk(3000, 0.3)},
      {"noise", noise},
      {"single spikes both ways", spiky},
      {"pen 3 outline", walk, [](TChart&, TAreaSeries& s) { s.AreaLinesPen().SetWidth(3); }},
      {"outline of its own colour", noise,
       [](TChart&, TAreaSeries& s) { s.AreaLinesPen().SetColor(tk::clBlue); }},
      {"outline hidden", walk, [](TChart&, TAreaSeries& s) { s.AreaLinesPen().SetVisible(false); }},
      {"hatched fill", noise, [](TChart&, TAreaSeries& s) { s.SetAreaBrush(tk::bsDiagCross); }},
      {"stairs", walk, [](TChart&, TAreaSeries& s) { s.SetStairs(true); }},
      {"inverted stairs", noise,
       [](TChart&, TAreaSeries& s) {
         s.SetStairs(true);
         s.SetInvertedStairs(true);
       }},
      {"values below the axis' bottom", noise,
       [](TChart& c, TAreaSeries&) { c.LeftAxis().SetLimits(-0.5, 3); }},
      {"a window inside the data", walk,
       [](TChart& c, TAreaSeries&) { c.BottomAxis().SetLimits(5000.5, 31000.2); }},
      {"inverted vertical axis", walk,
       [](TChart& c, TAreaSeries&) { c.LeftAxis().SetInverted(true); }},
      {"null points break it", noise,
       [](TChart&, TAreaSeries& s) {
         for (int i : {100, 7000, 7001, 25000})
           s.SetPointColor(i, tk::clNone);
       }},
  };
  for (const AreaCase& c : cases) {
    TChart chart;
    chart.SetSize(kW, kH);
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    auto* area = new TAreaSeries;  // owned by the chart
    area->SetParentChart(&chart);
    area->SetSeriesColor(tk::clRed);
    for (std::size_t i = 0; i < c.ys.size(); ++i)
      area->AddPointXY(static_cast<double>(i), c.ys[i]);
    c.setUp(chart, *area);
    area->ReduceDensePoints = false;
    Picture(chart);  // the first paint lays the axes out from nothing; compare settled ones
    const QImage reference = Picture(chart);
    area->ReduceDensePoints = true;
    const QImage fast = Picture(chart);
    EXPECT_EQ(DifferentPixels(fast, reference), 0) << c.name;
    EXPECT_GT(AreaPixels(reference), kW * kH / 10) << c.name << ": hardly anything drawn";
  }
}

// The columns really are the way taken: a dense area costs a few parts a
// column, not one a point, and a sparse or stacked one is still drawn part by part.
TEST(DenseTypes, AreaPartsPerColumnOnlyWhenDense) {
  struct Case {
    const char* name;
    int points;
    TMultiArea multi;
    bool reduced;
  };
  const std::vector<Case> cases = {
      {"dense", 40000, maNone, true},
      {"sparse", 500, maNone, false},
      {"dense but stacked", 40000, maStacked, false},
      {"dense stairs", 40000, maNone, false},
  };
  for (const Case& c : cases) {
    ChartRig r(kW, kH);
    r.chart.SetView3D(false);
    r.chart.Legend().SetVisible(false);
    auto* area = new TAreaSeries;
    area->SetParentChart(&r.chart);
    const Values ys = Noise(c.points);
    for (std::size_t i = 0; i < ys.size(); ++i)
      area->AddPointXY(static_cast<double>(i), ys[i] + 5);
    area->SetMultiArea(c.multi);
    area->SetStairs(std::string(c.name) == "dense stairs");
    r.Paint();
    int parts = 0;
    for (const auto& call : r.surface.Calls())
      parts += call.op == "Polygon";
    const int plotWidth = kW;  // at most this many columns
    if (c.reduced)
      EXPECT_LE(parts, 4 * plotWidth) << c.name;
    else
      EXPECT_GE(parts, c.points / 2) << c.name;
  }
}
