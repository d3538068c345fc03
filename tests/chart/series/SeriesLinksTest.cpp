// Data sources and dependents, legend texts, sample values, copying and
// storing, on real charts.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chart/ChartErrors.h"
#include "chart/canvas/Palette.h"
#include "chart/panel/Chart.h"
#include "chart/series/SeriesFunction.h"
#include "toolkit/Format.h"

namespace {

struct Pt {
  double x, y;
  tk::TColor color;
  std::string label;
  bool operator==(const Pt&) const = default;
};

void PrintTo(const Pt& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ", " << p.color << ", '" << p.label << "')";
}

std::vector<Pt> PointsOf(const TChartSeries& s) {
  std::vector<Pt> out;
  for (int i = 0; i < s.PointCount(); ++i)
    out.push_back({s.XValueAt(i), s.YValueAt(i), s.PointColor(i), s.PointLabel(i)});
  return out;
}

// A chart with series it owns (it frees them when it goes).
struct Linked {
  TChart chart;
  TChartSeries* Add(const std::string& name) {
    auto* s = new TChartSeries(&owner);
    s->SetName(name);
    s->SetSeriesColor(tk::clBlack);  // one colour for all, so points compare whole
    s->SetParentChart(&chart);
    return s;
  }
  tk::TComponent owner;  // the form: series are found among its components by name
};

template <typename F>
void ExpectChartError(F&& f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no exception, expected \"" << message << "\"";
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

// Counts what the series asks of it; computes a single total point.
class TotalFunction : public TZozFunction {
 public:
  explicit TotalFunction(int* fills, bool* freed) : fills_(fills), freed_(freed) {}
  ~TotalFunction() override {
    if (freed_) *freed_ = true;
  }
  void FillFromSource(TChartSeries* source) override {
    ++*fills_;
    double sum = 0;
    for (int i = 0; i < source->PointCount(); ++i)
      sum += source->YValueAt(i);
    ParentSeries()->AddPointXY(0, sum);
  }

 private:
  int* fills_;
  bool* freed_;
};

// A component that is not a series.
class Plain : public tk::TComponent {
 public:
  using tk::TComponent::TComponent;
};

}  // namespace

// Each row: what is done to the source; what the follower then holds.
TEST(SeriesLinks, FollowersTrackEveryChangeKind) {
  Linked k;
  TChartSeries* a = k.Add("A");
  a->AddPointXY(1, 10, "one", tk::clRed);
  a->AddPointXY(3, 30);
  TChartSeries* b = k.Add("B");
  b->SetDataSource(a);  // fills from the source at once
  EXPECT_EQ(PointsOf(*b), PointsOf(*a));
  EXPECT_EQ(b->PointLabel(0), "one");
  EXPECT_EQ(b->PointColor(0), tk::clRed);
  ASSERT_EQ(a->DependentSeries(), std::vector<TChartSeries*>{b});

  a->AddPointXY(2, 20);  // lands between, in b's x order too
  EXPECT_EQ(b->XValueAt(1), 2);
  a->AddPointXY(0, 5);
  a->AddPointXY(4, 40);
  a->RemovePointAt(3);  // (3, 30)
  EXPECT_EQ(PointsOf(*b), PointsOf(*a));
  EXPECT_EQ(b->PointCount(), 4);
  a->YValues().ReplaceValue(0, 99);
  EXPECT_EQ(b->YValueAt(0), 99);
  a->RemoveAllPoints();
  EXPECT_EQ(b->PointCount(), 0);
}

TEST(SeriesLinks, FlagsOffIgnoreTheirChangeUntilARefresh) {
  struct Row {
    TRecalcOptions off;
    const char* what;
  } rows[] = {{rOnInsert, "insert"}, {rOnDelete, "delete"}, {rOnClear, "clear"},
              {rOnModify, "modify"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Linked k;
    TChartSeries* a = k.Add("A");
    a->AddPointXY(1, 1);
    a->AddPointXY(2, 2);
    TChartSeries* b = k.Add("B");
    b->SetRecalcOptions(kAllRecalcOptions & ~row.off);
    b->SetDataSource(a);
    const std::vector<Pt> before = PointsOf(*b);
    switch (row.off) {
      case rOnInsert: a->AddPointXY(3, 3); break;
      case rOnDelete: a->RemovePointAt(0); break;
      case rOnClear: a->RemoveAllPoints(); break;
      default: a->YValues().ReplaceValue(0, 7); break;
    }
    EXPECT_EQ(PointsOf(*b), before);
    a->RefreshDependents();
    EXPECT_EQ(PointsOf(*b), PointsOf(*a));
  }
}

TEST(SeriesLinks, FunctionIgnoresSinglePointsAndRecomputesOnRefresh) {
  Linked k;
  TChartSeries* a = k.Add("A");
  a->AddPointXY(1, 10);
  TChartSeries* b = k.Add("B");
  int fills = 0;
  bool freed = false;
  b->SetFunction(std::make_unique<TotalFunction>(&fills, &freed));
  EXPECT_EQ(b->Function()->ParentSeries(), b);
  a->XValues().SetDateTime(true);
  b->SetDataSource(a);
  EXPECT_EQ(fills, 1);
  EXPECT_TRUE(b->XValues().DateTime());  // taken from the source before the function runs
  EXPECT_EQ(PointsOf(*b), (std::vector<Pt>{{0, 10, b->SeriesColor(), ""}}));
  a->AddPointXY(2, 5);
  a->RemovePointAt(0);
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(b->YValueAt(0), 10);
  a->RefreshDependents();
  EXPECT_EQ(fills, 2);
  EXPECT_EQ(b->YValueAt(0), 5);
  a->YValues().ReplaceValue(0, 8);  // a modification recomputes too
  EXPECT_EQ(b->YValueAt(0), 8);
  // replacing the function frees the one before
  int otherFills = 0;
  b->SetFunction(std::make_unique<TotalFunction>(&otherFills, nullptr));
  EXPECT_TRUE(freed);
  EXPECT_EQ(otherFills, 1);
}

TEST(SeriesLinks, DataSourceChecksAndMessages) {
  Linked k;
  TChartSeries* a = k.Add("A");
  TChartSeries* b = k.Add("B");
  TChartSeries* c = k.Add("C");
  TChartSeries loose;
  ExpectChartError([&] { loose.SetDataSource(a); }, "No ParentChart to validate DataSource");
  ExpectChartError([&] { a->SetDataSource(a); }, "No valid DataSource: A");
  Plain plain(&k.owner);
  plain.SetName("Plain1");
  ExpectChartError([&] { a->SetDataSource(&plain); }, "No valid DataSource: Plain1");
  EXPECT_EQ(a->DataSource(), nullptr);
  // a circle of two and of three, each refused with the sources kept
  b->SetDataSource(a);
  ExpectChartError([&] { a->SetDataSource(b); }, "Circular Series dependences are not allowed");
  c->SetDataSource(b);
  ExpectChartError([&] { a->SetDataSource(c); }, "Circular Series dependences are not allowed");
  EXPECT_EQ(a->DataSource(), nullptr);
  EXPECT_EQ(c->DataSource(), b);
  // setting the same source again changes nothing; another replaces it
  c->SetDataSource(b);
  EXPECT_EQ(c->DataSources().size(), 1u);
  c->SetDataSource(a);
  EXPECT_EQ(c->DataSources(), std::vector<tk::TComponent*>{a});
  EXPECT_TRUE(b->DependentSeries().empty());
  // none: the sources go and so do the points
  a->AddPointXY(1, 1);
  ASSERT_EQ(c->PointCount(), 1);
  c->SetDataSource(nullptr);
  EXPECT_EQ(c->PointCount(), 0);
  EXPECT_EQ(a->DependentSeries(), std::vector<TChartSeries*>{b});
}

TEST(SeriesLinks, DesignModeRefillsWithSamplesWhenTheSourceGoes) {
  Linked k;
  TChartSeries* a = k.Add("A");
  TChartSeries* b = k.Add("B");
  b->SetDataSource(a);
  b->SetDesigning(true);
  b->SetDataSource(nullptr);
  EXPECT_EQ(b->PointCount(), b->SampleCount());
}

// Row: the style and what the legend text of point 0 reads.
TEST(SeriesLinks, LegendTextForEveryStyle) {
  tk::SetFormatLocale("en_US");
  Linked k;
  TChartSeries* s = k.Add("S");
  s->AddPointXY(7, 1234.5, "Apples");
  s->AddPointXY(8, -765.5, "Pears");  // magnitude sum 2000
  const std::string x = k.chart.BottomAxis().FormatLabel(7);
  struct Row {
    TLegendTextStyle style;
    std::string text;
  } rows[] = {
      {ltsPlain, "Apples"},
      {ltsLeftValue, "1,234.5 Apples"},
      {ltsRightValue, "Apples 1,234.5"},
      {ltsLeftPercent, "61.73 % Apples"},  // 1234.5 x 100 / 2000 = 61.725, halves away
      {ltsRightPercent, "Apples 61.73 %"},
      {ltsXValue, x},
  };
  for (const Row& r : rows)
    EXPECT_EQ(s->LegendText(0, r.style), r.text) << r.style;
  // without an axis the x value takes the value format
  TChartSeries loose;
  loose.AddPointXY(1500, 1);
  EXPECT_EQ(loose.LegendText(0, ltsXValue), "1,500");
  // magnitudes summing to 0 give 100 %
  TChartSeries zero;
  zero.AddPointXY(1, 0, "z");
  EXPECT_EQ(zero.LegendText(0, ltsLeftPercent), "100 % z");
  tk::SetFormatLocale("");
}

TEST(SeriesLinks, SampleValues) {
  {
    Linked k;
    TChartSeries* s = k.Add("S");
    ExpectChartError([&] { s->FillSampleValues(0); }, "FillSampleValues NumValues must be > 0");
    s->FillSampleValues(1);  // an empty chart: one point at x 0
    ASSERT_EQ(s->PointCount(), 1);
    EXPECT_EQ(s->XValueAt(0), 0);
    EXPECT_GE(s->YValueAt(0), 0);
    EXPECT_TRUE(k.chart.AutoRepaint());  // switched on again
  }
  {
    // a walk over x 0..count-1, never negative, each step within a quarter of 1000
    Linked k;
    TChartSeries* s = k.Add("S");
    TChartSeries* d = k.Add("D");
    d->SetDataSource(s);
    s->FillSampleValues(50);
    ASSERT_EQ(s->PointCount(), 50);
    for (int i = 0; i < 50; ++i) {
      EXPECT_EQ(s->XValueAt(i), i);
      EXPECT_GE(s->YValueAt(i), 0);
      if (i > 0) {
        EXPECT_LE(std::abs(s->YValueAt(i) - s->YValueAt(i - 1)), 250.0);
      }
    }
    EXPECT_EQ(PointsOf(*d).size(), 50u);
  }
  {
    // another series sets the span: x 10..20, y 100..200
    Linked k;
    TChartSeries* o = k.Add("O");
    o->AddPointXY(10, 100);
    o->AddPointXY(20, 200);
    TChartSeries* s = k.Add("S");
    s->FillSampleValues(5);
    ASSERT_EQ(s->PointCount(), 5);
    for (int i = 0; i < 5; ++i)
      EXPECT_DOUBLE_EQ(s->XValueAt(i), 10 + 2.5 * i);
  }
  {
    TChartSeries dates;
    dates.XValues().SetDateTime(true);
    dates.FillSampleValues(3);
    EXPECT_EQ(dates.XValueAt(2) - dates.XValueAt(0), 2);  // today and two days on
    EXPECT_GT(dates.XValueAt(0), 45000);
  }
}

TEST(SeriesLinks, CopyKeepsSourcesNotPoints) {
  Linked k;
  TChartSeries* a = k.Add("A");
  a->AddPointXY(1, 1);
  TChartSeries* b = k.Add("B");
  b->SetDataSource(a);
  b->SetTitle("Bee");
  b->SetStyle(5);
  b->SetIdentifier("id");
  b->SetRecalcOptions(rOnClear);
  TChartSeries* c = k.Add("C");
  c->Assign(*b);
  EXPECT_EQ(c->DataSources(), std::vector<tk::TComponent*>{a});
  EXPECT_EQ(a->DependentSeries(), (std::vector<TChartSeries*>{b, c}));
  EXPECT_EQ(PointsOf(*c).size(), 1u);  // filled by the chart's check, from the source
  EXPECT_EQ(c->Title(), "Bee");
  EXPECT_EQ(c->Style(), 5u);
  EXPECT_EQ(c->Identifier(), "id");
  EXPECT_EQ(c->RecalcOptions(), rOnClear);
  // without sources the points are copied, with colours and labels
  TChartSeries* d = k.Add("D");
  d->AddPointXY(2, 3, "lab", tk::clLime);
  TChartSeries* e = k.Add("E");
  e->Assign(*d);
  EXPECT_EQ(PointsOf(*e), PointsOf(*d));
  EXPECT_TRUE(e->DataSources().empty());
  // a function moves to a series that has none
  int fills = 0;
  d->SetFunction(std::make_unique<TotalFunction>(&fills, nullptr));
  TChartSeries* f = k.Add("F");
  f->Assign(*d);
  EXPECT_EQ(d->Function(), nullptr);
  ASSERT_NE(f->Function(), nullptr);
  EXPECT_EQ(f->Function()->ParentSeries(), f);
  Plain plain;
  EXPECT_THROW(f->Assign(plain), tk::Exception);
}

TEST(SeriesLinks, StoredExtrasAndTheLoadedHook) {
  Linked k;
  TChartSeries* a = k.Add("A");
  a->AddPointXY(1, 1);
  TChartSeries* b = k.Add("B");
  TChartSeries* c = k.Add("C");
  c->SetDataSource(a);
  TSeriesStoredExtras one = c->StoredExtras();
  EXPECT_TRUE(one.DataSources.empty());  // a single source is stored by the published property
  EXPECT_FALSE(one.HasStyle);
  // reading a form: names resolve once loaded; unknown names and circles add nothing
  c->SetLoading(true);
  c->ReadStoredExtras({{"B", "nobody", "a", "C"}, "ident", true, 3});
  EXPECT_EQ(c->DataSources(), std::vector<tk::TComponent*>{a});  // not yet
  c->Loaded();
  EXPECT_EQ(c->DataSources(), (std::vector<tk::TComponent*>{b, a}));
  EXPECT_EQ(c->Identifier(), "ident");
  EXPECT_EQ(c->Style(), 3u);
  EXPECT_EQ(PointsOf(*c).size(), 0u);  // refreshed from its first source, B, which is empty
  const TSeriesStoredExtras two = c->StoredExtras();
  EXPECT_EQ(two.DataSources, (std::vector<std::string>{"B", "A"}));
  EXPECT_TRUE(two.HasStyle);
  // while loading, a set source joins the list without dropping the others or refreshing
  c->SetLoading(true);
  TChartSeries* d = k.Add("D");
  c->SetDataSource(d);
  EXPECT_EQ(c->DataSources().size(), 3u);
  c->Loaded();
}

TEST(SeriesLinks, DestroyingLeavesNoAddressBehind) {
  Linked k;
  TChartSeries* a = k.Add("A");
  TChartSeries* a2 = k.Add("A2");
  a->AddPointXY(1, 1);
  a2->AddPointXY(5, 5);
  TChartSeries* b = k.Add("B");
  b->SetLoading(true);
  b->SetDataSource(a);
  b->SetDataSource(a2);
  b->Loaded();
  TChartSeries* c = k.Add("C");
  c->SetDataSource(b);
  // the middle of a chain goes: its sources forget it, its follower forgets it
  delete b;
  EXPECT_TRUE(a->DependentSeries().empty());
  EXPECT_TRUE(a2->DependentSeries().empty());
  EXPECT_TRUE(c->DataSources().empty());
  // a source goes: the follower drops it and re-checks with the one left
  TChartSeries* d = k.Add("D");
  d->SetLoading(true);
  d->SetDataSource(a);
  d->SetDataSource(a2);
  d->Loaded();
  EXPECT_EQ(d->XValueAt(0), 1);
  delete a;
  EXPECT_EQ(d->DataSources(), std::vector<tk::TComponent*>{a2});
  EXPECT_EQ(PointsOf(*d), PointsOf(*a2));
  // a plain component as the first source: its end drops the source and the points
  auto plain = std::make_unique<Plain>(&k.owner);
  plain->SetName("P");
  d->SetLoading(true);
  d->ReadStoredExtras({{"P", "A2"}, "", false, 0});
  d->Loaded();
  ASSERT_EQ(d->DataSource(), plain.get());
  plain.reset();
  EXPECT_TRUE(d->DataSources().empty());
  EXPECT_EQ(d->PointCount(), 0);
  EXPECT_TRUE(a2->DependentSeries().empty());
  // a follower that leaves its chart stops being fed
  TChartSeries* e = k.Add("E");
  e->SetDataSource(a2);
  a2->SetParentChart(nullptr);
  EXPECT_TRUE(e->DataSources().empty());
  delete a2;
  e->AddPointXY(1, 1);  // nothing reaches back to the freed source
}

// Random operations on a source with two followers: one following
// everything, the other with one of the sixteen flag combinations; both
// checked against a model after every step.
TEST(SeriesLinks, RandomOperationsOnASourceWithTwoFollowers) {
  for (TRecalcOptions flags = 0; flags < 16; ++flags) {
    SCOPED_TRACE("flags " + std::to_string(flags));
    std::mt19937 rng(100 + flags);
    Linked k;
    TChartSeries* a = k.Add("A");
    TChartSeries* all = k.Add("All");
    TChartSeries* some = k.Add("Some");
    some->SetRecalcOptions(flags);
    all->SetDataSource(a);
    some->SetDataSource(a);
    std::vector<Pt> source, follower;
    auto insertInOrder = [](std::vector<Pt>& v, const Pt& p) {
      auto at = std::upper_bound(v.begin(), v.end(), p.x,
                                 [](double x, const Pt& q) { return x < q.x; });
      v.insert(at, p);
    };
    for (int step = 0; step < 600; ++step) {
      const unsigned op = rng() % 20;
      if (op < 10) {
        const Pt p{static_cast<double>(rng() % 30), static_cast<double>(rng() % 100),
                   DefaultPaletteColor(static_cast<int>(rng() % 16)),
                   rng() % 2 ? "" : "p" + std::to_string(step)};
        a->AddPointXY(p.x, p.y, p.label, p.color);
        insertInOrder(source, p);
        if (flags & rOnInsert) insertInOrder(follower, p);
      } else if (op < 15 && !source.empty()) {
        const int i = static_cast<int>(rng() % source.size());
        a->RemovePointAt(i);
        source.erase(source.begin() + i);
        if ((flags & rOnDelete) && i < static_cast<int>(follower.size()))
          follower.erase(follower.begin() + i);
      } else if (op < 17 && !source.empty()) {
        const int i = static_cast<int>(rng() % source.size());
        const double y = static_cast<double>(rng() % 100);
        a->YValues().ReplaceValue(i, y);
        source[static_cast<size_t>(i)].y = y;
        if (flags & rOnModify) follower = source;
      } else if (op == 17) {
        a->RefreshDependents();
        follower = source;
      } else if (op == 18 && rng() % 5 == 0) {
        a->RemoveAllPoints();
        source.clear();
        if (flags & rOnClear) follower.clear();
      }
      ASSERT_EQ(PointsOf(*a), source) << "step " << step;
      ASSERT_EQ(PointsOf(*all), source) << "step " << step;
      ASSERT_EQ(PointsOf(*some), follower) << "step " << step;
    }
  }
}
