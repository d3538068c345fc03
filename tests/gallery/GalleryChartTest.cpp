// The gallery's chart set-up, headless: what it lists, what each entry puts
// into the chart, and that every control survives its whole range.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "chart/functions/Function.h"
#include "chart/series/BarSeries.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SampleValues.h"
#include "gallery/GalleryChart.h"
#include "toolkit/RecordingSurface.h"

namespace {

struct GalleryRig {
  TChart chart;
  GalleryChart gallery{chart};
  tk::TRecordingSurface surface;
  GalleryRig() { chart.SetSize(480, 360); }
  void Paint() {
    surface.Clear();
    chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  }
  // the drawing operations each series made between its before- and
  // after-drawing events, in the order of AllSeries
  std::vector<std::multiset<std::string>> PaintPerSeries() {
    const std::vector<TChartSeries*> all = gallery.AllSeries();
    std::vector<std::multiset<std::string>> ops(all.size());
    std::vector<std::size_t> from(all.size(), 0);
    for (std::size_t i = 0; i < all.size(); ++i) {
      all[i]->BeforeDrawValues = [this, &from, i](TChartSeries*) {
        from[i] = surface.Calls().size();
      };
      all[i]->AfterDrawValues = [this, &from, &ops, i](TChartSeries*) {
        for (std::size_t k = from[i]; k < surface.Calls().size(); ++k)
          ops[i].insert(surface.Calls()[k].op);
      };
    }
    Paint();
    for (TChartSeries* s : all)
      s->BeforeDrawValues = s->AfterDrawValues = nullptr;
    return ops;
  }
  int IndexOf(const std::string& description) const {
    const auto& types = SeriesTypes();
    for (std::size_t i = 0; i < types.size(); ++i)
      if (types[i].Description == description) return static_cast<int>(i);
    ADD_FAILURE() << "no entry " << description;
    return 0;
  }
  const GallerySetting& Setting(const std::string& caption) const {
    for (const GallerySetting& s : GalleryChart::Settings())
      if (s.Caption == caption) return s;
    throw std::runtime_error("no setting " + caption);
  }
};

// What each entry shows, worked out from what a user sees: how many series,
// how many points each of the shown ones holds, and which drawing operations
// make its kind of primitive, flat and in 3D (a line, a ribbon in 3D; a
// filled bar, slice or marker).
struct EntryCase {
  std::string name;
  std::size_t series;   // with a function's result series
  int points;           // of each shown (source) series
  std::set<std::string> flat, in3D;
};

const std::set<std::string> kLine = {"Polyline", "LineTo"};
const std::set<std::string> kFilled = {"Polygon", "Rectangle", "FillRect", "Ellipse"};
const std::set<std::string> kSlice = {"Pie", "Polygon"};
const std::set<std::string> kRibbon = {"Polygon"};

const std::vector<EntryCase> kEntries = {
    {"Functions: Add", 3, 26, kLine, kRibbon},
    {"Functions: Subtract", 3, 26, kLine, kRibbon},
    {"Functions: Multiply", 3, 26, kLine, kRibbon},
    {"Functions: Divide", 3, 26, kLine, kRibbon},
    {"Functions: High", 3, 26, kLine, kRibbon},
    {"Functions: Low", 3, 26, kLine, kRibbon},
    {"Functions: Average", 3, 26, kLine, kRibbon},
    {"Standard: Line", 2, 26, kLine, kRibbon},
    {"Standard: Bar", 2, 6, kFilled, kFilled},
    {"Standard: Horiz. Bar", 2, 6, kFilled, kFilled},
    {"Standard: Area", 2, 26, kFilled, kFilled},
    {"Standard: Point", 2, 26, kFilled, kFilled},
    {"Standard: Pie", 1, 8, kSlice, kSlice},
    {"Standard: Fast Line", 2, 26, kLine, kLine},
};

bool DrewAny(const std::multiset<std::string>& ops, const std::set<std::string>& kinds) {
  for (const std::string& k : kinds)
    if (ops.count(k)) return true;
  return false;
}

}  // namespace

TEST(GalleryChart, ListsEveryRegisteredTypeInRegistryOrder) {
  std::vector<std::string> expected;
  for (const EntryCase& c : kEntries)
    expected.push_back(c.name);
  EXPECT_EQ(GalleryChart::EntryNames(), expected);
}

TEST(GalleryChart, EveryEntryOpensAndDrawsItsKindFlatAndIn3D) {
  GalleryRig rig;
  for (bool view3D : {false, true}) {
    rig.gallery.SetView3D(view3D);
    for (std::size_t e = 0; e < kEntries.size(); ++e) {
      const EntryCase& c = kEntries[e];
      SCOPED_TRACE(c.name + (view3D ? " 3D" : " flat"));
      ASSERT_NO_THROW(rig.gallery.Open(static_cast<int>(e)));
      ASSERT_EQ(rig.gallery.AllSeries().size(), c.series);
      EXPECT_EQ(rig.chart.SeriesCount(), static_cast<int>(c.series));
      for (TChartSeries* s : rig.gallery.SourceSeries())
        EXPECT_EQ(s->PointCount(), c.points);
      const auto ops = rig.PaintPerSeries();
      for (std::size_t i = 0; i < ops.size(); ++i)
        EXPECT_TRUE(DrewAny(ops[i], view3D ? c.in3D : c.flat)) << "series " << i;
    }
  }
}

// The function's result against the sum, difference, ... of its two sources
// worked out point by point here (Period 0: one result per source point).
TEST(GalleryChart, FunctionsComputeFromBothSources) {
  struct Case {
    std::string name;
    double (*expected)(double a, double b);
  };
  const std::vector<Case> cases = {
      {"Add", [](double a, double b) { return a + b; }},
      {"Subtract", [](double a, double b) { return a - b; }},
      {"Multiply", [](double a, double b) { return a * b; }},
      {"Divide", [](double a, double b) { return b == 0 ? a : a / b; }},  // 0 divides nothing
      {"High", [](double a, double b) { return std::max(a, b); }},
      {"Low", [](double a, double b) { return std::min(a, b); }},
      {"Average", [](double a, double b) { return (a + b) / 2; }},
  };
  GalleryRig rig;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rig.gallery.Open(rig.IndexOf(c.name));
    TChartSeries& a = *rig.gallery.SourceSeries().at(0);
    TChartSeries& b = *rig.gallery.SourceSeries().at(1);
    TChartSeries& r = *rig.gallery.ResultSeries();
    ASSERT_EQ(r.PointCount(), a.PointCount());
    for (int i = 0; i < r.PointCount(); ++i)
      EXPECT_NEAR(r.YValues().ValueAt(i), c.expected(a.YValues().ValueAt(i), b.YValues().ValueAt(i)),
                  1e-9)
          << "point " << i;
    EXPECT_TRUE(rig.chart.Legend().Visible());
  }
}

TEST(GalleryChart, GallerySettingsOfBarsAndPies) {
  GalleryRig rig;
  const int default3DPercent = rig.chart.Chart3DPercent();
  for (const char* name : {"Bar", "Horiz. Bar"}) {
    rig.gallery.Open(rig.IndexOf(name));
    for (TChartSeries* s : rig.gallery.SourceSeries()) {
      auto* bar = dynamic_cast<TCustomBarSeries*>(s);
      ASSERT_NE(bar, nullptr) << name;
      EXPECT_EQ(bar->BarWidthPercent(), 85) << name;
      EXPECT_EQ(bar->MultiBar(), mbNone) << name;
    }
  }
  struct PieCase {
    bool view3D;
    bool circled;
  };
  for (const PieCase c : {PieCase{false, true}, PieCase{true, false}}) {
    rig.gallery.SetView3D(c.view3D);
    rig.gallery.Open(rig.IndexOf("Pie"));
    EXPECT_EQ(rig.chart.Chart3DPercent(), 75);
    EXPECT_EQ(rig.gallery.First<TPieSeries>()->Circled(), c.circled) << c.view3D;
    // switching the view afterwards follows, as opening does
    rig.gallery.SetView3D(!c.view3D);
    EXPECT_EQ(rig.gallery.First<TPieSeries>()->Circled(), !c.circled) << c.view3D;
  }
  rig.gallery.Open(rig.IndexOf("Line"));
  EXPECT_EQ(rig.chart.Chart3DPercent(), default3DPercent);
}

// Every control that applies to an entry goes through every value of its
// sweep, flat and 3D; each value reads back and the chart still paints.
TEST(GalleryChart, EveryControlSurvivesItsRangeOnEveryEntry) {
  GalleryRig rig;
  for (bool view3D : {false, true}) {
    for (std::size_t e = 0; e < kEntries.size(); ++e) {
      rig.gallery.SetView3D(view3D);
      rig.gallery.Open(static_cast<int>(e));
      int applied = 0;
      for (const GallerySetting& s : GalleryChart::Settings()) {
        if (!rig.gallery.Applies(s)) continue;
        ++applied;
        for (int v : s.Sweep) {
          SCOPED_TRACE(kEntries[e].name + " / " + s.Caption + " = " + std::to_string(v) +
                       (view3D ? " (3D)" : " (flat)"));
          ASSERT_NO_THROW(s.Set(rig.gallery, v));
          EXPECT_EQ(s.Get(rig.gallery), v);
          ASSERT_NO_THROW(rig.Paint());
          EXPECT_FALSE(rig.surface.Calls().empty());
        }
      }
      // 3D view, legend and marks settings apply to everything
      EXPECT_GE(applied, 11) << kEntries[e].name;
    }
  }
}

// Which per-type controls each kind of entry offers.
TEST(GalleryChart, PerTypeControlsApplyToTheirTypesOnly) {
  struct Case {
    std::string entry;
    std::vector<std::string> on, off;
  };
  const std::vector<Case> cases = {
      {"Line", {"Stairs", "Pointer style"}, {"MultiArea", "Bar style", "Circled", "Period"}},
      {"Area", {"Stairs", "MultiArea"}, {"MultiBar", "Explode biggest", "Period align"}},
      {"Bar", {"Bar style", "MultiBar"}, {"Stairs", "Rotation angle", "Period"}},
      {"Pie", {"Explode biggest", "Other slice", "Circled", "Rotation angle"}, {"Stairs", "MultiBar"}},
      {"Average", {"Period", "Period style", "Period align", "Stairs"}, {"Bar style", "Circled"}},
      {"Fast Line", {"3D", "Legend", "Marks style"}, {"Stairs", "Bar style", "Period"}},
  };
  GalleryRig rig;
  for (const Case& c : cases) {
    rig.gallery.Open(rig.IndexOf(c.entry));
    for (const std::string& s : c.on)
      EXPECT_TRUE(rig.gallery.Applies(rig.Setting(s))) << c.entry << " " << s;
    for (const std::string& s : c.off)
      EXPECT_FALSE(rig.gallery.Applies(rig.Setting(s))) << c.entry << " " << s;
  }
}

// A value the engine refuses raises its message, keeps the old value, and
// the chart goes on painting.
TEST(GalleryChart, RefusedValuesKeepTheOldValue) {
  struct Case {
    std::string entry, setting;
    int bad;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"Pie", "Rotation angle", -1, "Rotation Angle must be between 0 and 359 degrees"},
      {"Average", "Period", -1, "Function Period should be >= 0"},
  };
  GalleryRig rig;
  for (const Case& c : cases) {
    rig.gallery.Open(rig.IndexOf(c.entry));
    const GallerySetting& s = rig.Setting(c.setting);
    const int before = s.Get(rig.gallery);
    try {
      s.Set(rig.gallery, c.bad);
      ADD_FAILURE() << c.setting << " took " << c.bad;
    } catch (const std::exception& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_EQ(s.Get(rig.gallery), before) << c.setting;
    rig.Paint();
    EXPECT_FALSE(rig.surface.Calls().empty());
  }
}

// Opening an entry twice shows the same values, whatever the clock says, and
// another entry shows others.
TEST(GalleryChart, SampleValuesAreTheSameOnEveryOpening) {
  GalleryRig rig;
  auto values = [&](int entry) {
    SeedSampleValues(12345);  // whatever ran before must not matter
    rig.gallery.Open(entry);
    std::vector<double> v;
    for (TChartSeries* s : rig.gallery.AllSeries())
      for (int i = 0; i < s->PointCount(); ++i) v.push_back(s->YValues().ValueAt(i));
    return v;
  };
  for (std::size_t e = 0; e < kEntries.size(); ++e) {
    SCOPED_TRACE(kEntries[e].name);
    const std::vector<double> first = values(static_cast<int>(e));
    EXPECT_EQ(values(static_cast<int>(e)), first);
  }
  EXPECT_NE(values(rig.IndexOf("Line")), values(rig.IndexOf("Fast Line")));
}

// A pie turns the view to look at it from above; the entry after it shows the
// view the user had before, rotated or not.
TEST(GalleryChart, ViewComesBackAfterAPie) {
  struct View {
    bool orthogonal;
    int rotation, elevation, perspective, zoom;
  };
  GalleryRig rig;
  for (const View& v : {View{true, 345, 345, 15, 100}, View{false, 300, 330, 40, 80}}) {
    rig.gallery.SetView3D(true);
    rig.gallery.Open(rig.IndexOf("Line"));
    TView3DOptions& o = rig.chart.View3DOptions();
    o.SetOrthogonal(v.orthogonal);
    o.SetRotation(v.rotation);
    o.SetElevation(v.elevation);
    o.SetPerspective(v.perspective);
    o.SetZoom(v.zoom);
    rig.gallery.Open(rig.IndexOf("Pie"));
    EXPECT_EQ(o.Elevation(), 315);  // the pie's own view while it shows
    rig.gallery.Open(rig.IndexOf("Fast Line"));
    EXPECT_EQ(o.Orthogonal(), v.orthogonal);
    EXPECT_EQ(o.Rotation(), v.rotation);
    EXPECT_EQ(o.Elevation(), v.elevation);
    EXPECT_EQ(o.Perspective(), v.perspective);
    EXPECT_EQ(o.Zoom(), v.zoom);
    EXPECT_TRUE(rig.chart.LeftAxis().Visible());
  }
}

// A result more than ten times larger or smaller than its sources goes on the
// right axis; one of the sources' size stays with them on the left. The ratio
// is worked out here from the values shown.
TEST(GalleryChart, ResultsOfAnotherScaleGoOnTheRightAxis) {
  GalleryRig rig;
  auto magnitude = [](const TChartSeries& s) {
    double m = 0;
    for (int i = 0; i < s.PointCount(); ++i) m = std::max(m, std::fabs(s.YValues().ValueAt(i)));
    return m;
  };
  struct Case {
    std::string name;
    bool right;  // sample values of 0..1000 multiply to about 10^5, divide to about 1
  };
  for (const Case& c : std::vector<Case>{{"Add", false}, {"Subtract", false}, {"Multiply", true},
                                         {"Divide", true}, {"High", false}, {"Low", false},
                                         {"Average", false}}) {
    SCOPED_TRACE(c.name);
    rig.gallery.Open(rig.IndexOf(c.name));
    const TChartSeries& r = *rig.gallery.ResultSeries();
    const double sources = std::max(magnitude(*rig.gallery.SourceSeries()[0]),
                                    magnitude(*rig.gallery.SourceSeries()[1]));
    const double ratio = magnitude(r) / sources;
    EXPECT_EQ(ratio > 10 || ratio < 0.1, c.right) << ratio;
    EXPECT_EQ(r.VertAxis(), c.right ? aRightAxis : aLeftAxis);
    for (TChartSeries* s : rig.gallery.SourceSeries()) EXPECT_EQ(s->VertAxis(), aLeftAxis);
    EXPECT_EQ(rig.chart.AxisShown(rig.chart.RightAxis()), c.right);
  }
}
