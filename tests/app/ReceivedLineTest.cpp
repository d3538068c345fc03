// The received wave's line: one polyline with straight runs joined, the same
// pixels as the plain fast line drawing it a segment at a time, and layered
// paints that equal full ones while it grows.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/ReceivedLine.h"
#include "app/Unit1.h"
#include "tests/support/ChartRig.h"
#include "toolkit/QtSurface.h"

namespace {

using Points = std::vector<tk::TPoint>;

Points Chained(const Points& in) {
  Points chain;
  for (const tk::TPoint& p : in) ExtendChain(chain, p);
  return chain;
}

QImage Picture(TChart& chart) {
  QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
  image.fill(Qt::black);
  chart.Canvas().MarkDirty();
  tk::TQtSurface surface(&image);
  chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  return image;
}

// A signal chart showing 0..999 ms and -2..2 with one thin blue line through `points`.
template <typename Series>
Series* LineChart(TChart& chart, const std::vector<std::pair<double, double>>& points) {
  ConfigureAsSignalChart(chart);
  auto* s = new Series;
  s->SetSeriesColor(0xB27200);
  s->LinePen().SetWidth(1);
  s->SetShowInLegend(false);
  s->SetParentChart(&chart);
  for (auto [x, y] : points) s->AddPointXY(x, y);
  return s;
}

constexpr QRgb kBlue = 0xFF0072B2u;  // the line's colour, (0, 114, 178)

int CallsNamed(const tk::TRecordingSurface& surface, const std::string& op) {
  int n = 0;
  for (const tk::TDrawCall& c : surface.Calls()) n += c.op == op;
  return n;
}

}  // namespace

TEST(ReceivedLine, ChainDropsRepeatsAndTheInsideOfStraightRuns) {
  const struct {
    const char* name;
    Points in, chain;
  } rows[] = {
      {"empty", {}, {}},
      {"one point", {{3, 4}}, {{3, 4}}},
      {"repeats", {{3, 4}, {3, 4}, {5, 4}, {5, 4}}, {{3, 4}, {5, 4}}},
      {"a row to the right", {{0, 9}, {1, 9}, {2, 9}, {7, 9}}, {{0, 9}, {7, 9}}},
      {"a row to the left", {{7, 9}, {5, 9}, {1, 9}}, {{7, 9}, {1, 9}}},
      {"a row that turns back keeps its turn", {{0, 9}, {4, 9}, {2, 9}}, {{0, 9}, {4, 9}, {2, 9}}},
      {"a column down then on down", {{5, 0}, {5, 3}, {5, 8}}, {{5, 0}, {5, 8}}},
      {"a column's way down and up", {{5, 0}, {5, 8}, {5, 2}}, {{5, 0}, {5, 8}, {5, 2}}},
      // one column's low-high pair, then the next column's: steps, none straight across two
      {"two columns", {{5, 2}, {5, 6}, {6, 3}, {6, 7}}, {{5, 2}, {5, 6}, {6, 3}, {6, 7}}},
      // a flat wave gives a pair on one pixel per column: a single row
      {"flat columns", {{5, 4}, {5, 4}, {6, 4}, {6, 4}, {7, 4}}, {{5, 4}, {7, 4}}},
      {"an edge: row, column, row",
       {{0, 10}, {1, 10}, {2, 10}, {2, 6}, {2, 1}, {3, 1}, {4, 1}},
       {{0, 10}, {2, 10}, {2, 1}, {4, 1}}},
      {"a diagonal is not joined", {{0, 0}, {1, 1}, {2, 2}}, {{0, 0}, {1, 1}, {2, 2}}},
  };
  for (const auto& r : rows) EXPECT_EQ(Chained(r.in), r.chain) << r.name;
}

// The reference is the engine's own fast line with the same points and pen,
// which draws one segment per point.
TEST(ReceivedLine, DrawsOnePolylineWithThePixelsOfTheSegmentByOneLine) {
  std::vector<std::pair<double, double>> noisy, edges, steep;
  for (int i = 0; i < 1300; ++i)  // two points a pixel column, noisy levels
    noisy.push_back({i * 0.77, (i / 64 % 2 ? 1.0 : -1.0) + 0.15 * std::sin(i * 2.3)});
  for (int i = 0; i < 60; ++i)  // a square wave with exact steps, beyond both edges
    edges.push_back({-50 + i * 20.0, (i % 3 == 0) ? 1.0 : -1.0});
  for (int i = 0; i < 40; ++i)  // steep and shallow segments, up and down, off the plot in y
    steep.push_back({100 + i * 3.0 + (i % 2) * 17.0, std::fmod(i * 1.37, 5.0) - 2.5});
  const struct {
    const char* name;
    std::vector<std::pair<double, double>> points;
    int polylines;  // the received line's calls: one polyline, or the fast line's way
  } rows[] = {
      {"noisy, two points a column", noisy, 1},
      {"square wave leaving the window", edges, 1},
      {"steep and off the plot", steep, 1},
      {"flat", {{0, 0.5}, {300, 0.5}, {600, 0.5}, {999, 0.5}}, 1},
      {"a single point draws nothing", {{500, 0}}, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    TChart reference, received;
    LineChart<TFastLineSeries>(reference, r.points);
    auto* line = LineChart<TReceivedLineSeries>(received, r.points);
    const QImage want = Picture(reference), got = Picture(received);
    ASSERT_EQ(got.size(), want.size());
    const Points& chain = line->Chain();
    // the platform's polyline may fill in a joint's pixel that separate segments leave out:
    // only added pixels of the line's colour, each beside a point of the chain, and few
    int added = 0, drawn = 0;
    for (int y = 0; y < got.height(); ++y)
      for (int x = 0; x < got.width(); ++x) {
        drawn += want.pixel(x, y) == kBlue;
        if (got.pixel(x, y) == want.pixel(x, y)) continue;
        ++added;
        ASSERT_EQ(got.pixel(x, y), kBlue) << x << "," << y;
        ASSERT_TRUE(std::any_of(chain.begin(), chain.end(), [&](tk::TPoint p) {
          return std::abs(p.x - x) <= 1 && std::abs(p.y - y) <= 1;
        })) << x << "," << y;
      }
    EXPECT_LE(added, drawn / 10);
    // a chart recorded from its first paint on (a chart keeps the first surface's bitmap)
    TChart recordedReference, recorded;
    LineChart<TFastLineSeries>(recordedReference, r.points);
    LineChart<TReceivedLineSeries>(recorded, r.points);
    tk::TRecordingSurface wantCalls, gotCalls;
    recordedReference.PaintInto(wantCalls, {0, 0, recorded.Width(), recorded.Height()});
    recorded.PaintInto(gotCalls, {0, 0, recorded.Width(), recorded.Height()});
    EXPECT_EQ(CallsNamed(gotCalls, "Polyline") - CallsNamed(wantCalls, "Polyline"), r.polylines);
    // the other parts of the chart draw alike: the line's segments are gone from the calls
    if (r.polylines > 0)
      EXPECT_LT(CallsNamed(gotCalls, "LineTo"), CallsNamed(wantCalls, "LineTo"));
    else
      EXPECT_EQ(CallsNamed(gotCalls, "LineTo"), CallsNamed(wantCalls, "LineTo"));
    if (r.polylines == 0) continue;
    // its points: no two neighbours alike, no three in a straight row
    for (std::size_t i = 1; i < chain.size(); ++i) {
      ASSERT_NE(chain[i - 1], chain[i]);
      if (i >= 2) {
        const tk::TPoint a = chain[i - 2], b = chain[i - 1], c = chain[i];
        ASSERT_FALSE(a.y == b.y && b.y == c.y && (b.x - a.x > 0) == (c.x - b.x > 0)) << i;
      }
    }
  }
}

TEST(ReceivedLine, WidePenDenseDataAnd3DDrawAsTheFastLine) {
  std::vector<std::pair<double, double>> dense;
  for (int i = 0; i < 20000; ++i) dense.push_back({i * 0.05, std::sin(i * 0.01)});
  const std::vector<std::pair<double, double>> few = {{0, 0}, {200, 1}, {400, -1}, {999, 0}};
  const struct {
    const char* name;
    const std::vector<std::pair<double, double>>* points;
    int width;
    bool view3D;
  } rows[] = {
      {"pen of 2", &few, 2, false},
      {"dense data", &dense, 1, false},
      {"3D", &few, 1, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    TChart reference, received;
    LineChart<TFastLineSeries>(reference, *r.points)->LinePen().SetWidth(r.width);
    LineChart<TReceivedLineSeries>(received, *r.points)->LinePen().SetWidth(r.width);
    reference.SetView3D(r.view3D);
    received.SetView3D(r.view3D);
    tk::TRecordingSurface want, got;
    reference.PaintInto(want, {0, 0, reference.Width(), reference.Height()});
    received.PaintInto(got, {0, 0, received.Width(), received.Height()});
    EXPECT_EQ(CallsNamed(got, "Polyline"), CallsNamed(want, "Polyline"));
    ASSERT_EQ(got.Calls().size(), want.Calls().size());
    for (std::size_t i = 0; i < got.Calls().size(); ++i)
      ASSERT_EQ(got.Calls()[i].ToString(), want.Calls()[i].ToString()) << i;
  }
}

// The window's chart keeps its picture in two layers; a paint that takes them
// from the last one must show what a paint drawn whole shows.
TEST(ReceivedLine, LayeredPaintsEqualFullRepaintsAsTheLineGrows) {
  TForm1 form;
  form.SpinEdit1.SetValue(1000);
  form.CheckBox1.SetChecked(true);
  form.Edit1.SetText(std::string(200, 'K'));
  form.Button1.Click();
  form.Timer1.SetEnabled(false);
  form.ChannelClick();
  form.ChannelDialog()->OnSettings({0.3, 0.1, 1e-3, 0, 1});
  TChart& chart = form.Chart1;
  const struct {
    const char* name;
    int ticks;  // bits sent between the paints
    double min, max;
    bool layerKept;  // the first paint after them keeps the layer under the series
  } rows[] = {
      {"the start", 300, 0, 999, true},
      {"grown inside the window", 200, 0, 999, true},
      {"moved to the newest bits", 300, 300, 1299, false},
      {"no new bit", 0, 300, 1299, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    chart.Canvas().SetLayeredDrawing(true);
    Picture(chart);  // lays down the layers of the picture before
    for (int i = 0; i < r.ticks; ++i) form.Timer1Timer();
    if (chart.BottomAxis().Minimum() != r.min) {
      chart.BottomAxis().SetLimits(r.min, r.max);
      form.Channel().WindowMoved();
    }
    ASSERT_GT(form.Channel().Received().PointCount(), 100);
    const QImage first = Picture(chart);
    EXPECT_EQ(chart.Canvas().LayerReused(), r.layerKept);
    EXPECT_EQ(chart.Canvas().SeriesLayerReused(), r.ticks == 0);
    const QImage second = Picture(chart);
    EXPECT_TRUE(chart.Canvas().SeriesLayerReused());
    chart.Canvas().SetLayeredDrawing(false);
    const QImage whole = Picture(chart);
    EXPECT_TRUE(first == whole);
    EXPECT_TRUE(second == whole);
  }
}
