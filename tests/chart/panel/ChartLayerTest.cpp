// The layer a chart keeps under its series: a paint that reuses it must give
// exactly the pixels of a chart that draws everything afresh, and it must be
// reused only when the drawing under the series has not changed.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "chart/panel/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "tests/support/ChartRig.h"
#include "toolkit/Format.h"
#include "toolkit/QtSurface.h"

namespace {

// The chart under test and its twin, which never keeps a layer; both go
// through the same history, so the twin's picture is the full repaint.
struct LayerPair {
  TChart layered, full;
  TFastLineSeries* lines[2];
  double ratio = 1.0;
  double nextX = 0;
  std::string labelSuffix;  // what the label event of the event rows appends

  LayerPair() {
    full.Canvas().SetLayeredDrawing(false);
    TChart* charts[2] = {&layered, &full};
    for (int i = 0; i < 2; ++i) {
      ConfigureAsSignalChart(*charts[i]);
      lines[i] = new TFastLineSeries;
      lines[i]->SetShowInLegend(false);
      lines[i]->SetParentChart(charts[i]);
      lines[i]->SetSeriesColor(tk::clRed);
      lines[i]->LinePen().SetWidth(3);
    }
    AddPoints(40, 2.5);  // a first stretch of signal inside the 0-999 window
  }
  void Both(const std::function<void(TChart&, TFastLineSeries&)>& change) {
    change(layered, *lines[0]);
    change(full, *lines[1]);
  }
  void AddPoints(int n, double step) {
    const double from = nextX;
    Both([&](TChart&, TFastLineSeries& s) {
      double x = from;
      for (int k = 0; k < n; ++k, x += step)
        s.AddPointXY(x, (k / 2) % 2 ? 1 : -1);
    });
    nextX = from + n * step;
  }
  static QImage Picture(TChart& chart, double ratio) {
    QImage image(static_cast<int>(chart.Width() * ratio), static_cast<int>(chart.Height() * ratio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    tk::TQtSurface surface(&image);
    chart.Canvas().MarkDirty();
    chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
    return image;
  }
  // Paints both; returns the number of pixels in which they differ.
  long Paint(QImage* shown = nullptr) {
    const QImage a = Picture(layered, ratio), b = Picture(full, ratio);
    if (a.size() != b.size()) return -1;
    long differ = 0;
    for (int y = 0; y < a.height(); ++y) {
      const auto* pa = reinterpret_cast<const uint32_t*>(a.constScanLine(y));
      const auto* pb = reinterpret_cast<const uint32_t*>(b.constScanLine(y));
      for (int x = 0; x < a.width(); ++x)
        differ += pa[x] != pb[x];
    }
    if (shown) *shown = a;
    return differ;
  }
};

using Change = std::function<void(LayerPair&)>;

auto Charts(std::function<void(TChart&, TFastLineSeries&)> f) {
  return [f](LayerPair& p) { p.Both(f); };
}

// Bottom labels every 25 ms (the designed bit time of 1 day-second gives too many to draw
// any), optionally with more set up on top; the label texts are then kept between paints.
Change Labelled(std::function<void(TChart&, TFastLineSeries&)> more = {}) {
  return [more](LayerPair& p) {
    p.Both([&](TChart& c, TFastLineSeries& s) {
      c.BottomAxis().SetIncrement(25);
      if (more) more(c, s);
    });
  };
}

struct LayerCase {
  const char* name;
  Change setUp;   // before the first paint
  Change change;  // between the first and the second paint
  bool reused;    // whether the second paint may keep the layer
};

const LayerCase kCases[] = {
    {"points added inside the window", {}, [](LayerPair& p) { p.AddPoints(12, 2.5); }, true},
    {"points removed", {}, Charts([](TChart&, TFastLineSeries& s) { s.RemovePointAt(s.PointCount() - 1); }),
     true},
    {"all points removed", {}, Charts([](TChart&, TFastLineSeries& s) { s.RemoveAllPoints(); }),
     true},
    {"points added past the right edge of an automatic axis",
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetAutomatic(true); }),
     [](LayerPair& p) {
       p.nextX = 1500;
       p.AddPoints(4, 2.5);
     },
     false},
    {"points added past the right edge of the fixed window",
     {},
     [](LayerPair& p) {
       p.nextX = 1500;
       p.AddPoints(4, 2.5);
     },
     true},
    {"points added beyond an automatic left axis",
     Charts([](TChart& c, TFastLineSeries&) { c.LeftAxis().SetAutomatic(true); }),
     Charts([](TChart&, TFastLineSeries& s) { s.AddPointXY(s.XValues().LastValue() + 1, 7); }), false},
    {"scroll",
     {},
     Charts([](TChart& c, TFastLineSeries&) {
       c.BottomAxis().SetMaximum(1049);
       c.BottomAxis().SetMinimum(50);
     }),
     false},
    {"zoom", {}, Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetLimits(20, 60); }),
     false},
    {"a property change", {}, Charts([](TChart& c, TFastLineSeries&) { c.SetMarginLeft(8); }),
     false},
    {"a title change", {}, Charts([](TChart& c, TFastLineSeries&) { c.Title().SetText({"Other"}); }),
     false},
    {"a grid colour change",
     {},
     Charts([](TChart& c, TFastLineSeries&) { c.LeftAxis().Grid().SetColor(tk::clBlue); }),
     false},
    {"a resize", {}, Charts([](TChart& c, TFastLineSeries&) { c.SetSize(500, 260); }), false},
    {"a series style change",
     {},
     Charts([](TChart&, TFastLineSeries& s) {
       s.SetSeriesColor(tk::clGreen);
       s.LinePen().SetWidth(1);
     }),
     true},
    {"3D on", {}, Charts([](TChart& c, TFastLineSeries&) { c.SetView3D(true); }), false},
    {"points added in 3D",
     Charts([](TChart& c, TFastLineSeries&) { c.SetView3D(true); }),
     [](LayerPair& p) { p.AddPoints(12, 2.5); },
     true},
    {"points added with the series in the legend",
     Charts([](TChart&, TFastLineSeries& s) { s.SetShowInLegend(true); }),
     [](LayerPair& p) { p.AddPoints(12, 2.5); },
     true},
    {"points added with the legend listing values",
     Charts([](TChart& c, TFastLineSeries& s) {
       s.SetShowInLegend(true);
       c.Legend().SetLegendStyle(lsValues);
     }),
     Charts([](TChart&, TFastLineSeries& s) { s.RemovePointAt(0); }),
     false},
    {"points added with marks shown",
     Charts([](TChart&, TFastLineSeries& s) { s.Marks().SetVisible(true); }),
     [](LayerPair& p) { p.AddPoints(4, 40); },
     true},
    {"points added at a device pixel ratio of 2",
     [](LayerPair& p) { p.ratio = 2; },
     [](LayerPair& p) { p.AddPoints(12, 2.5); },
     true},
    {"the screen density changes",
     {},
     [](LayerPair& p) { p.ratio = 2; },
     false},
    {"monochrome", Charts([](TChart& c, TFastLineSeries&) { c.SetMonochrome(true); }),
     [](LayerPair& p) { p.AddPoints(12, 2.5); }, false},
    {"points added with labels every 25 ms", Labelled(), [](LayerPair& p) { p.AddPoints(12, 2.5); },
     true},
    {"points added with labels every 1 ms (998 labels)",
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetIncrement(1); }),
     [](LayerPair& p) { p.AddPoints(3, 0.25); }, true},
    {"the label format changes", Labelled(),
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetAxisValuesFormat("0.0"); }), false},
    {"the label format pads with zeros", Labelled(),
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetAxisValuesFormat("0000"); }),
     false},
    {"labels break at blanks",
     Labelled([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetAxisValuesFormat("0 ms"); }),
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetLabelsMultiLine(true); }), false},
    {"the labels' font grows", Labelled(),
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().LabelsFont().SetSize(11); }), false},
    {"the label event answers otherwise",
     [](LayerPair& p) {
       Labelled()(p);
       p.Both([&p](TChart& c, TFastLineSeries&) {
         c.OnGetAxisLabel = [&p](TCustomChartAxis*, TChartSeries*, int, std::string& text) {
           text += p.labelSuffix;
         };
       });
     },
     [](LayerPair& p) { p.labelSuffix = "!"; }, false},
    {"the locale's separators change",
     [](LayerPair& p) {
       tk::SetFormatLocale("en_US");
       Labelled([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetLimits(1000, 1999); })(p);
     },
     [](LayerPair&) { tk::SetFormatLocale("de_DE"); }, false},
    {"the labels scroll by one bit", Labelled(),
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetLimits(1, 1000); }), false},
    {"the zoom rectangle shown",
     {},
     Charts([](TChart& c, TFastLineSeries&) {
       c.Zoom.Activate(100, 50);
       c.Zoom.X1 = 300;
       c.Zoom.Y1 = 150;
     }),
     true},
};

class ChartLayer : public ::testing::TestWithParam<LayerCase> {};

TEST_P(ChartLayer, KeepsTheLayerOnlyWhenItIsUnchangedAndLooksLikeAFullRepaint) {
  const LayerCase& c = GetParam();
  LayerPair p;
  if (c.setUp) c.setUp(p);
  QImage before, after;
  ASSERT_EQ(p.Paint(), 0);
  EXPECT_FALSE(p.layered.Canvas().LayerReused()) << "nothing to keep on the first paint";
  // the first paint started from a fresh surface's tools, the later ones from the tools the
  // last paint left; from the third on the drawing under the series is the same
  ASSERT_EQ(p.Paint(), 0);
  ASSERT_EQ(p.Paint(&before), 0);
  EXPECT_EQ(p.layered.Canvas().LayerReused(), !p.layered.Monochrome());
  c.change(p);
  ASSERT_EQ(p.Paint(&after), 0) << "the layered picture differs from a full repaint";
  EXPECT_EQ(p.layered.Canvas().LayerReused(), c.reused);
  EXPECT_FALSE(p.full.Canvas().LayerReused());
  if (c.reused) {
    EXPECT_NE(before, after) << "the change shows in the picture";
  }
  // a paint with nothing changed keeps the layer, whatever came before
  ASSERT_EQ(p.Paint(), 0);
  EXPECT_EQ(p.layered.Canvas().LayerReused(), !p.layered.Monochrome());
  tk::SetFormatLocale("");
}

INSTANTIATE_TEST_SUITE_P(Changes, ChartLayer, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string n;
  for (const char* s = info.param.name; *s; ++s)
    n += std::isalnum(static_cast<unsigned char>(*s)) ? *s : '_';
  return n;
});

// Every change of the table, many times in a seeded random order, a paint after each:
// the layered chart never drifts from the full repaint.
TEST(ChartLayerSequence, RandomChangesKeepThePictureEqualToAFullRepaint) {
  std::mt19937 random(19);
  LayerPair p;
  int reused = 0;
  const int n = static_cast<int>(std::size(kCases));
  for (int step = 0; step < 80; ++step) {
    const LayerCase& c = kCases[random() % static_cast<unsigned>(n)];
    if (c.change) c.change(p);
    if (random() % 3 == 0) p.AddPoints(3, 2.5);
    ASSERT_EQ(p.Paint(), 0) << "after step " << step << ": " << c.name;
    reused += p.layered.Canvas().LayerReused();
  }
  EXPECT_GT(reused, 10);  // the sequence exercised the kept layer, not only full repaints
  tk::SetFormatLocale("");
}

// Tests that record a paint see the whole drawing every time: a recording bitmap keeps no
// pixels, so no layer is kept on one.
TEST(ChartLayerRecording, ARecordedPaintAfterNewPointsIsAFullPaint) {
  ChartRig rig;
  ConfigureAsSignalChart(rig.chart);
  auto* s = new TFastLineSeries;
  s->SetShowInLegend(false);  // as the signal: the drawing under the series stays the same
  s->SetParentChart(&rig.chart);
  s->AddPointXY(0, 1);
  s->AddPointXY(10, -1);
  auto ops = [&] {
    std::vector<std::string> out;
    for (const tk::TDrawCall& c : rig.surface.Calls())
      out.push_back(c.op);
    return out;
  };
  rig.Paint();  // makes the picture's bitmap
  rig.Paint();
  const std::vector<std::string> first = ops();
  s->AddPointXY(20, 1);
  rig.Paint();
  // background, walls, axes and labels again, then the longer line
  const std::vector<std::string> second = ops();
  for (const char* op : {"FillRect", "Rectangle", "TextOut"})
    EXPECT_EQ(std::count(second.begin(), second.end(), op),
              std::count(first.begin(), first.end(), op))
        << op;
  ASSERT_GE(second.size(), first.size());
  EXPECT_TRUE(std::equal(first.begin(), first.begin() + 20, second.begin()));
  EXPECT_FALSE(rig.chart.Canvas().LayerReused());
}

}  // namespace

namespace {

// The series drawn over the kept layer are kept too when they draw as in the last paint.
struct SeriesLayerCase {
  const char* name;
  Change setUp;
  Change change;
  bool seriesReused;
};

const SeriesLayerCase kSeriesCases[] = {
    {"nothing changed", {}, [](LayerPair&) {}, true},
    {"points added past the right edge, once the line has left the window",
     [](LayerPair& p) {
       p.nextX = 1500;
       p.AddPoints(4, 2.5);
     },
     [](LayerPair& p) { p.AddPoints(12, 2.5); }, true},
    {"the first point past the right edge: the line leaves the window",
     {},
     [](LayerPair& p) {
       p.nextX = 1500;
       p.AddPoints(1, 2.5);
     },
     false},
    {"points added inside the window", {}, [](LayerPair& p) { p.AddPoints(3, 0.25); }, false},
    {"one point moved", {},
     Charts([](TChart&, TFastLineSeries& s) { s.YValues().ReplaceValue(3, 0.5); }), false},
    {"the series' colour", {},
     Charts([](TChart&, TFastLineSeries& s) { s.SetSeriesColor(tk::clBlue); }), false},
    {"the series hidden", {}, Charts([](TChart&, TFastLineSeries& s) { s.SetActive(false); }),
     false},
    {"a scroll (the layer under changes)", {},
     Charts([](TChart& c, TFastLineSeries&) { c.BottomAxis().SetLimits(1, 1000); }), false},
    {"the zoom rectangle shown (drawn over both)", {},
     Charts([](TChart& c, TFastLineSeries&) {
       c.Zoom.Activate(100, 50);
       c.Zoom.X1 = 300;
       c.Zoom.Y1 = 150;
     }),
     true},
    {"marks shown", {}, Charts([](TChart&, TFastLineSeries& s) { s.Marks().SetVisible(true); }),
     false},
    {"points past the edge with marks shown",
     [](LayerPair& p) {
       p.Both([](TChart&, TFastLineSeries& s) { s.Marks().SetVisible(true); });
       p.nextX = 1500;
       p.AddPoints(2, 2.5);
     },
     [](LayerPair& p) { p.AddPoints(4, 2.5); }, true},
    {"at a device pixel ratio of 2, points past the edge",
     [](LayerPair& p) {
       p.ratio = 2;
       p.nextX = 1500;
       p.AddPoints(2, 2.5);
     },
     [](LayerPair& p) { p.AddPoints(4, 2.5); }, true},
};

class SeriesLayer : public ::testing::TestWithParam<SeriesLayerCase> {};

TEST_P(SeriesLayer, KeepsTheSeriesOnlyWhenTheyDrawAsBeforeAndLooksLikeAFullRepaint) {
  const SeriesLayerCase& c = GetParam();
  LayerPair p;
  if (c.setUp) c.setUp(p);
  ASSERT_EQ(p.Paint(), 0);
  EXPECT_FALSE(p.layered.Canvas().SeriesLayerReused()) << "nothing to keep on the first paint";
  ASSERT_EQ(p.Paint(), 0);
  ASSERT_EQ(p.Paint(), 0);
  EXPECT_TRUE(p.layered.Canvas().SeriesLayerReused());
  c.change(p);
  ASSERT_EQ(p.Paint(), 0) << "the kept series differ from a full repaint";
  EXPECT_EQ(p.layered.Canvas().SeriesLayerReused(), c.seriesReused);
  EXPECT_FALSE(p.full.Canvas().SeriesLayerReused());
  ASSERT_EQ(p.Paint(), 0);
  EXPECT_TRUE(p.layered.Canvas().SeriesLayerReused());
}

INSTANTIATE_TEST_SUITE_P(Changes, SeriesLayer, ::testing::ValuesIn(kSeriesCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* s = info.param.name; *s; ++s)
                             n += std::isalnum(static_cast<unsigned char>(*s)) ? *s : '_';
                           return n;
                         });

}  // namespace
