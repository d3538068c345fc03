// Label texts kept between paints: a kept text or width is used only while
// everything it was made from stands, so a chart that has gone through a
// change draws exactly as a chart set up that way from the start.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "chart/panel/Chart.h"
#include "chart/panel/LabelTextCache.h"
#include "chart/series/FastLineSeries.h"
#include "tests/support/ChartRig.h"
#include "toolkit/Format.h"

namespace {

struct OtherSurface {};

// One use of the cache: the format and measure in force, a value asked for, and what
// should follow (texts worked out by hand; widths at 7 or 9 pixels a character).
struct CacheStep {
  const char* what;
  const char* format;
  bool dateTime, multiLine;
  std::uint64_t locale;
  double value;
  int fontHeight;
  bool otherSurface;
  double ratio;
  const char* text;  // what the formatter makes (checked on the entry)
  int width;
  int made, measured;  // misses so far
};

// The formatter: "<format>|<value>", so a text shows what it was made from.
std::string Made(const std::string& format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s|%g", format.c_str(), v);
  return buf;
}

const CacheStep kSteps[] = {
    {"first value", "#,##0", false, false, 1, 1000, 7, false, 1, "#,##0|1000", 70, 1, 1},
    {"the same value again: held", "#,##0", false, false, 1, 1000, 7, false, 1, "#,##0|1000", 70,
     1, 1},
    {"another value", "#,##0", false, false, 1, 2000, 7, false, 1, "#,##0|2000", 70, 2, 2},
    {"the first one is still held", "#,##0", false, false, 1, 1000, 7, false, 1, "#,##0|1000",
     70, 2, 2},
    {"a value a rounding away is another", "#,##0", false, false, 1, 1000.0000000000001, 7, false,
     1, "#,##0|1000", 70, 3, 3},
    {"a new format", "0.0", false, false, 1, 1000, 7, false, 1, "0.0|1000", 56, 4, 4},
    {"a new locale", "0.0", false, false, 2, 1000, 7, false, 1, "0.0|1000", 56, 5, 5},
    {"blanks now break lines", "0.0", false, true, 2, 1000, 7, false, 1, "0.0|1000", 56, 6, 6},
    {"the same pattern read as a date", "0.0", true, true, 2, 1000, 7, false, 1, "0.0|1000", 56,
     7, 7},
    {"a bigger font: measured again, not made", "0.0", true, true, 2, 1000, 9, false, 1,
     "0.0|1000", 72, 7, 8},
    {"held in that font", "0.0", true, true, 2, 1000, 9, false, 1, "0.0|1000", 72, 7, 8},
    {"another pixel ratio", "0.0", true, true, 2, 1000, 9, false, 2, "0.0|1000", 72, 7, 9},
    {"another kind of surface", "0.0", true, true, 2, 1000, 9, true, 2, "0.0|1000", 72, 7, 10},
    {"minus zero is not zero", "0.0", true, true, 2, -0.0, 9, true, 2, "0.0|-0", 54, 8, 11},
};

TEST(LabelTextCache, MakesAndMeasuresOnlyWhatItDoesNotHold) {
  TLabelTextCache cache;
  for (const CacheStep& s : kSteps) {
    SCOPED_TRACE(s.what);
    cache.UseFormat(s.format, s.dateTime, s.multiLine, s.locale);
    TLabelTextCache::TEntry& e =
        cache.Entry(s.value, [&](double v) { return Made(s.format, v); });
    tk::TFontSpec font;
    font.font.height = s.fontHeight;
    cache.UseMeasure(font, s.otherSurface ? typeid(OtherSurface) : typeid(CacheStep), s.ratio);
    int lines = 0;
    const int width = cache.Width(
        e,
        [&](const std::string& text, int* n) {
          *n = 2;
          return static_cast<int>(text.size()) * s.fontHeight;
        },
        &lines);
    EXPECT_EQ(e.text, s.text);
    EXPECT_EQ(width, s.width);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(cache.Made(), s.made);
    EXPECT_EQ(cache.Measured(), s.measured);
  }
}

TEST(LabelTextCache, ALongScrollKeepsItBoundedAndRight) {
  TLabelTextCache cache;
  cache.UseFormat("0", false, false, 1);
  const int n = static_cast<int>(TLabelTextCache::kLimit) * 3 + 7;
  for (int i = 0; i < n; ++i) {
    const std::string& t = cache.Entry(i, [](double v) { return Made("0", v); }).text;
    ASSERT_EQ(t, Made("0", i));
    ASSERT_LE(cache.Size(), TLabelTextCache::kLimit);
  }
  EXPECT_EQ(cache.Made(), n);
}

// ---------------------------------------------------------------- through a chart

// Labels at 1000, 2000 and 3000 on both axes, so the left labels' widths place the plot.
void BaseLabels(TChart& c) {
  c.SetView3D(false);
  for (TChartAxis* a : {&c.BottomAxis(), &c.LeftAxis()}) {
    a->SetAutomatic(false);
    a->SetLimits(1000, 3000);
    a->SetIncrement(1000);
    a->SetAxisValuesFormat("#,##0");
  }
  auto* s = new TFastLineSeries;
  s->SetShowInLegend(false);
  s->SetParentChart(&c);
  s->AddPointXY(1500, 1500);
  s->AddPointXY(2500, 2500);
}

std::vector<std::string> Calls(const tk::TRecordingSurface& surface) {
  std::vector<std::string> out;
  for (const tk::TDrawCall& c : surface.Calls())
    out.push_back(c.ToString());
  return out;
}

struct AfterChange {
  const char* what;
  std::function<void(TChart&)> change;
  std::vector<std::string> leftLabels;  // the left axis's texts afterwards, top to bottom
};

void Bang(TCustomChartAxis*, TChartSeries*, int, std::string& text) {
  text += "!";
}

const AfterChange kChanges[] = {
    {"nothing", [](TChart&) {}, {"3,000", "2,000", "1,000"}},
    {"the locale", [](TChart&) { tk::SetFormatLocale("de_DE"); }, {"3.000", "2.000", "1.000"}},
    {"the format",
     [](TChart& c) { c.LeftAxis().SetAxisValuesFormat("0.0"); },
     {"3000.0", "2000.0", "1000.0"}},
    {"the format to a wider one",
     [](TChart& c) { c.LeftAxis().SetAxisValuesFormat("0000000"); },
     {"0003000", "0002000", "0001000"}},
    {"blanks break lines",
     [](TChart& c) {
       c.LeftAxis().SetAxisValuesFormat("0 ms");
       c.LeftAxis().SetLabelsMultiLine(true);
     },
     {"3000", "ms", "2000", "ms", "1000", "ms"}},
    {"a date axis",
     [](TChart& c) {
       c.Series(0)->YValues().SetDateTime(true);
       c.LeftAxis().SetDateTimeFormat("yyyy");
     },
     {"1908", "1905", "1902"}},
    {"the label event", [](TChart& c) { c.OnGetAxisLabel = Bang; }, {"3,000!", "2,000!", "1,000!"}},
    {"the label event and back",
     [](TChart& c) {
       c.OnGetAxisLabel = Bang;
       c.OnGetAxisLabel = nullptr;
     },
     {"3,000", "2,000", "1,000"}},
    {"a bigger label font",
     [](TChart& c) { c.LeftAxis().LabelsFont().SetHeight(-30); },
     {"3,000", "2,000", "1,000"}},
};

class LabelTexts : public ::testing::TestWithParam<AfterChange> {
 protected:
  void SetUp() override { tk::SetFormatLocale("en_US"); }
  void TearDown() override { tk::SetFormatLocale(""); }
};

TEST_P(LabelTexts, AChangedChartDrawsAsOneSetUpThatWay) {
  const AfterChange& c = GetParam();
  ChartRig changed;
  BaseLabels(changed.chart);
  changed.Paint();
  changed.Paint();  // every label text is now kept
  c.change(changed.chart);
  changed.Paint();

  ChartRig fresh;  // made with the final settings: nothing kept from before
  BaseLabels(fresh.chart);
  c.change(fresh.chart);
  fresh.Paint();
  fresh.Paint();  // as the changed chart's, not its first paint (which makes the picture)

  EXPECT_EQ(Calls(changed.surface), Calls(fresh.surface));
  // the left axis's labels come after the bottom's three
  const std::vector<std::string> texts = changed.Texts();
  ASSERT_GE(texts.size(), 3 + c.leftLabels.size());
  EXPECT_EQ(std::vector<std::string>(texts.begin() + 3, texts.begin() + 3 +
                                                        static_cast<long>(c.leftLabels.size())),
            c.leftLabels);
}

INSTANTIATE_TEST_SUITE_P(Changes, LabelTexts, ::testing::ValuesIn(kChanges),
                         [](const auto& info) {
                           std::string n;
                           for (const char* s = info.param.what; *s; ++s)
                             n += std::isalnum(static_cast<unsigned char>(*s)) ? *s : '_';
                           return n;
                         });

}  // namespace
