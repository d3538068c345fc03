// Dense lines: the column walk against a slow point-by-point model, and a
// frame drawn straight onto its picture against the same frame drawn into a
// buffer and copied.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "chart/series/CustomSeries.h"
#include "chart/series/FastLineSeries.h"
#include "tests/support/ChartRig.h"
#include "toolkit/QtSurface.h"

namespace {

using Data = std::vector<std::pair<double, double>>;

Data Make(int n, const std::function<std::pair<double, double>(int, std::mt19937&)>& point) {
  std::mt19937 rng(7);
  Data d;
  for (int i = 0; i < n; ++i)
    d.push_back(point(i, rng));
  return d;
}

// The chain a dense fast line must draw, worked out point by point: each run
// of points on one pixel column gives its first point, its lowest and highest
// (first occurrences, the earlier one first) and its last point; the chain
// starts at the point before the window when there is one.
std::vector<tk::TPoint> SlowChain(TFastLineSeries& s, TChart& chart) {
  // the lists hand out their values with their multipliers applied
  auto px = [&](int i) { return chart.BottomAxis().ValueToPixel(s.XValues().ValueAt(i)); };
  auto value = [&](int i) { return s.YValues().ValueAt(i); };
  auto py = [&](double v) { return chart.LeftAxis().ValueToPixel(v); };
  std::vector<tk::TPoint> chain;
  auto add = [&](tk::TPoint p) {
    if (chain.empty() || chain.back() != p) chain.push_back(p);
  };
  if (s.FirstVisible > 0) add({px(s.FirstVisible - 1), py(value(s.FirstVisible - 1))});
  for (int i = s.FirstVisible; i <= s.LastVisible;) {
    int j = i, lowAt = i, highAt = i;
    for (; j <= s.LastVisible && px(j) == px(i); ++j) {
      if (value(j) < value(lowAt)) lowAt = j;
      if (value(j) > value(highAt)) highAt = j;
    }
    add({px(i), py(value(i))});
    add({px(i), py(value(std::min(lowAt, highAt)))});
    add({px(i), py(value(std::max(lowAt, highAt)))});
    add({px(i), py(value(j - 1))});
    i = j;
  }
  return chain;
}

// The series' chain as recorded: the last move inside the series' clip and its line-tos.
std::vector<tk::TPoint> DrawnChain(const tk::TRecordingSurface& surface) {
  std::vector<tk::TPoint> chain;
  bool inside = false;
  for (const auto& c : surface.Calls())
    if (c.op == "IntersectClipRect")
      inside = true;
    else if (c.op == "RemoveClip")
      inside = false;
    else if (inside && c.op == "MoveTo")
      chain = {{c.args[0], c.args[1]}};
    else if (inside && c.op == "LineTo")
      chain.push_back({c.args[0], c.args[1]});
  return chain;
}

}  // namespace

TEST(DenseColumns, ChainMatchesThePointByPointModel) {
  struct Case {
    const char* name;
    Data data;
    int pen = 1;
    double xMultiplier = 1, yMultiplier = 1;
    double from = 0, to = 100;  // the bottom axis's limits
    bool ascending = true;
  };
  auto walk = [](int n) {
    double v = 0;
    return Make(n, [&v, n](int i, std::mt19937& g) {
      v += std::normal_distribution<double>(0, 0.05)(g);
      return std::pair{i * 100.0 / n, v};
    });
  };
  auto noise = Make(30000, [](int i, std::mt19937& g) {
    return std::pair{i * 100.0 / 30000, std::normal_distribution<double>(0, 0.5)(g)};
  });
  noise[12345].second = 1.9;  // a one-sample spike
  auto clustered = Make(30000, [](int i, std::mt19937& g) {
    // bursts of points with empty stretches between: column widths jump up and down
    const double burst = (i / 3000) * 10.0;
    return std::pair{burst + (i % 3000) * (i / 3000 % 2 ? 0.2 : 4.0) / 3000,
                     std::uniform_real_distribution<double>(-1, 1)(g)};
  });
  auto repeated = Make(20000, [](int i, std::mt19937& g) {
    return std::pair{(i / 100) * 0.5, std::uniform_int_distribution<int>(-1, 1)(g) * 1.0};
  });
  auto flat = Make(20000, [](int i, std::mt19937&) { return std::pair{i * 0.005, 1.0}; });
  const std::vector<Case> cases = {
      {"walk", walk(30000)},
      {"walk, pen 3", walk(30000), 3},
      {"noise with a spike", noise},
      {"clustered x", clustered},
      {"repeated x and levels", repeated},
      {"flat", flat},
      {"y turned round by its multiplier", noise, 1, 1, -1},
      {"x halved by its multiplier", walk(30000), 1, 0.5, 1, 0, 50},
      {"a window inside the data", walk(30000), 1, 1, 1, 20.2, 80.7},
      {"x not known to ascend", noise, 1, 1, 1, 0, 100, false},
  };
  for (const Case& c : cases) {
    ChartRig r(400, 300);
    r.chart.SetView3D(false);
    r.chart.SetAxisVisible(false);
    auto* line = new TFastLineSeries;
    line->SetParentChart(&r.chart);
    line->LinePen().SetWidth(c.pen);
    line->XValues().SetMultiplier(c.xMultiplier);
    line->YValues().SetMultiplier(c.yMultiplier);
    for (const auto& [x, y] : c.data)
      line->AddPointXY(x, y);
    if (!c.ascending) line->XValues().SetOrder(loNone);
    r.chart.BottomAxis().SetLimits(c.from, c.to);
    r.chart.LeftAxis().SetLimits(-2, 2);
    r.Paint();
    const auto drawn = DrawnChain(r.surface);
    EXPECT_GT(drawn.size(), 200u) << c.name;  // reduced, and still a line
    EXPECT_LT(drawn.size(), c.data.size() / 4) << c.name;
    EXPECT_EQ(drawn, SlowChain(*line, r.chart)) << c.name;
  }
}

namespace {

// Takes the frame the way the chart always did: into a buffer that is then
// copied onto the picture.
class BufferedSurface : public tk::TQtSurface {
 public:
  using TQtSurface::TQtSurface;
  bool HoldsFrame(int, int) const override { return false; }
};

template <typename Series>
QImage Frame(const std::vector<double>& ys, int pen, bool direct) {
  TChart chart;
  chart.SetSize(800, 400);
  chart.SetView3D(false);
  chart.Title().SetText({"Signal"});
  auto* line = new Series;
  line->SetParentChart(&chart);
  line->SetSeriesColor(tk::clRed);
  line->SetShowInLegend(false);
  line->LinePen().SetWidth(pen);
  for (size_t i = 0; i < ys.size(); ++i)
    line->AddPointXY(static_cast<double>(i), ys[i]);
  QImage image(800, 400, QImage::Format_RGB32);
  image.fill(Qt::black);  // whatever the picture held before: the frame covers it all
  if (direct) {
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, 800, 400});
  } else {
    BufferedSurface surface(&image);
    chart.PaintInto(surface, {0, 0, 800, 400});
  }
  return image;
}

}  // namespace

TEST(DenseColumns, AFrameDrawnStraightOntoItsPictureLooksTheSame) {
  std::mt19937 rng(3);
  std::normal_distribution<double> step(0, 1);
  std::vector<double> walk(200000), noise(200000);
  double v = 0;
  for (size_t i = 0; i < walk.size(); ++i) {
    walk[i] = v += step(rng);
    noise[i] = step(rng);
  }
  for (int pen : {1, 3})
    for (const auto* data : {&walk, &noise}) {
      const QImage before = Frame<TFastLineSeries>(*data, pen, false);
      EXPECT_EQ(before.pixel(400, 200) == qRgb(0, 0, 0), false);  // really drawn
      EXPECT_TRUE(Frame<TFastLineSeries>(*data, pen, true) == before) << "pen " << pen;
      EXPECT_TRUE(Frame<TLineSeries>(*data, pen, true) == Frame<TLineSeries>(*data, pen, false))
          << "line series, pen " << pen;
    }
}
