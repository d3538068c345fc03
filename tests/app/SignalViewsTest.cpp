// The chart's explaining views: the plain rules they rest on (frame roles,
// label spacing, grid steps), each view's points worked out by hand, the
// designed drawing untouched while they are off, and the context menu that
// switches them, opened in the real window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/SignalViews.h"
#include "app/Unit1.h"
#include "tests/support/ChartRig.h"
#include "tests/support/TransmissionDoubles.h"
#include "toolkit/Application.h"
#include "toolkit/Hint.h"

namespace {

// ---------------------------------------------------------------- plain rules

TEST(SignalViewRules, FrameRolesByLength) {
  const struct {
    int length;
    const char* roles;
  } rows[] = {{8, "76543210"}, {9, "76543210P"}, {11, "S76543210TT"}, {12, "S76543210PTT"}};
  for (const auto& r : rows) {
    std::string roles;
    for (int i = 0; i < r.length; ++i)
      roles += BitRole(r.length, i);
    EXPECT_EQ(roles, r.roles) << r.length;
    EXPECT_EQ(BitRole(r.length, -1), '?');
    EXPECT_EQ(BitRole(r.length, r.length), '?');
  }
  EXPECT_EQ(BitRole(10, 0), '?');  // no framing option gives ten bits
}

TEST(SignalViewRules, FrameCodeAndCharacterText) {
  // 'K' is 0x4B = 01001011, four ones: even parity '0'
  EXPECT_EQ(FrameCode("01001011"), 0x4B);
  EXPECT_EQ(FrameCode("010010110"), 0x4B);
  EXPECT_EQ(FrameCode("00100101111"), 0x4B);
  EXPECT_EQ(FrameCode("001001011011"), 0x4B);
  EXPECT_EQ(FrameCode("011111111111"), 0xFF);
  const struct {
    unsigned code;
    const char* text;
  } rows[] = {{'K', "'K'"}, {'~', "'~'"}, {'!', "'!'"}, {0, "0x00"}, {' ', "0x20"},
              {0x7F, "0x7F"}, {0xFF, "0xFF"}, {'\n', "0x0A"}};
  for (const auto& r : rows)
    EXPECT_EQ(CharacterText(static_cast<std::uint8_t>(r.code)), r.text) << r.code;
}

TEST(SignalViewRules, LabelSpacingKeepsTurnedLabelsApart) {
  // two pixels free: at 45 degrees a 13-pixel-high label needs 15 / sin 45 = 21.2 px
  const struct {
    int angle, width, height, spacing;
  } rows[] = {{0, 18, 13, 20},   {180, 18, 13, 20}, {90, 18, 13, 15}, {270, 18, 13, 15},
              {45, 18, 13, 22},  {225, 18, 13, 22}, {45, 6, 13, 12},  {30, 18, 13, 24},
              {-45, 18, 13, 22}, {60, 18, 13, 18}};
  for (const auto& r : rows)
    EXPECT_EQ(LabelSpacing(r.angle, r.width, r.height), r.spacing) << r.angle << " " << r.width;
}

TEST(SignalViewRules, GridMultipleAndLabels) {
  const struct {
    double bitTime, pixelsPerMs;
    int spacing, multiple;
  } rows[] = {{62, 0.64, 22, 1}, {25, 0.64, 22, 2}, {1, 0.64, 22, 35}, {1, 1, 22, 22},
              {1, 6.07, 22, 4},  {3, 2, 6, 1},      {0, 1, 22, 1},     {5, 1, 0, 1}};
  for (const auto& r : rows)
    EXPECT_EQ(GridMultiple(r.bitTime, r.pixelsPerMs, r.spacing), r.multiple) << r.bitTime;
  EXPECT_EQ(GridLabel(0, 62, 0), 0);
  EXPECT_EQ(GridLabel(0, 62, 3), 186);
  EXPECT_EQ(GridLabel(800, 3, 0), 801);
  EXPECT_EQ(GridLabel(800, 4, 1), 804);
  EXPECT_EQ(GridLabel(800 - 1e-9, 4, 0), 800);  // a hair below still counts as on it
  EXPECT_EQ(GridLabel(13.5, 2.5, 0), 15);
}

// ---------------------------------------------------------------- views on their own chart

// The signal chart with its red series, fed by the real model; the views see
// every point the series receives, after `tamper` has had its say.
struct ViewsRig {
  // the signal first, as in the window: the views come after it and draw over it
  static TFastLineSeries* AttachSignal(TChart& chart) {
    ConfigureAsSignalChart(chart);
    auto* s = new TFastLineSeries;
    s->SetShowInLegend(false);
    s->SetParentChart(&chart);
    return s;
  }
  ViewsRig() {
    for (int v = 0; v < kSignalViewCount; ++v)
      views.SetShown(static_cast<TSignalView>(v), true);
  }
  struct Sink : TSignalSink {
    ViewsRig& r;
    explicit Sink(ViewsRig& rig) : r(rig) {}
    void AddPoint(double x, double y) override {
      if (r.tamper) y = r.tamper(r.points++, y);
      r.signal->AddPointXY(x, y);
      r.views.SignalPoint(x, y);
    }
    void ClearPoints() override { r.signal->RemoveAllPoints(); }
  };
  void Send(const std::string& s) {
    text.SetText(s);
    model.Start();
    views.Restart(inputs);
    while (!text.Text().empty() || !model.PendingBits().empty())
      Tick();
  }
  void Tick() {
    views.BeforeTick(model, inputs, text.Text());
    model.Tick();
    views.AfterTick(model);
  }
  std::vector<Pt> Points(const TChartSeries& s) const {
    std::vector<Pt> out;
    for (int i = 0; i < s.PointCount(); ++i)
      out.push_back({s.XValueAt(i), s.YValueAt(i)});
    return out;
  }
  std::string Labels(const TChartSeries& s) const {
    std::string out;
    for (int i = 0; i < s.PointCount(); ++i)
      out += s.PointLabel(i) + (i + 1 < s.PointCount() ? "|" : "");
    return out;
  }

  ChartRig rig;
  TFastLineSeries* signal = AttachSignal(rig.chart);
  FakeTextSource text;
  RecordingBuffer buffer;
  FakeInputs inputs;
  std::function<double(int, double)> tamper;  // (the point's number, its level)
  int points = 0;
  Sink sink{*this};
  TTransmissionModel model{text, buffer, sink, inputs};
  TSignalViews views{rig.chart, [this] { return static_cast<double>(inputs.bitTime); }};
};

TEST(SignalViewsOnTheirOwnChart, RolesOfATwelveBitFrame) {
  ViewsRig r;
  r.inputs.startStop = r.inputs.parity = true;
  r.Send("K");
  EXPECT_EQ(r.Labels(r.views.Roles()), "S|7|6|5|4|3|2|1|0|P|T|T");
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(r.Points(r.views.Roles())[i], (Pt{31.0 + 62 * i, kRoleLevel})) << i;
  // one character, centred under the frame's 12 x 62 = 744 ms
  EXPECT_EQ(r.Points(r.views.Characters()), (std::vector<Pt>{{372, kCharacterLevel}}));
  EXPECT_EQ(r.Labels(r.views.Characters()), "'K'");
}

TEST(SignalViewsOnTheirOwnChart, ClockOnePeriodPerBitTime) {
  const struct {
    std::uint32_t bitTime;
    std::vector<Pt> firstTwoBits;
  } rows[] = {
      {62, {{0, 1.8}, {31, 1.8}, {31, 1.4}, {62, 1.4}, {62, 1.8}, {93, 1.8}, {93, 1.4}, {124, 1.4}}},
      {3, {{0, 1.8}, {1.5, 1.8}, {1.5, 1.4}, {3, 1.4}, {3, 1.8}, {4.5, 1.8}, {4.5, 1.4}, {6, 1.4}}},
  };
  for (const auto& row : rows) {
    ViewsRig r;
    r.inputs.bitTime = row.bitTime;
    r.Send("K");
    const std::vector<Pt> clock = r.Points(r.views.Clock());
    ASSERT_EQ(clock.size(), 32u);  // four points for each of the eight bits
    EXPECT_EQ(std::vector<Pt>(clock.begin(), clock.begin() + 8), row.firstTwoBits);
    EXPECT_EQ(clock.back(), (Pt{8.0 * row.bitTime, kClockLow}));
  }
}

TEST(SignalViewsOnTheirOwnChart, ReceiverFlagsWhatTheWaveCarries) {
  // 'K' = 01001011, parity '0'; unipolar levels 1 / 0; bit i spans 62 i .. 62 (i + 1)
  const struct {
    const char* name;
    bool startStop, parity;
    std::function<double(int, double)> tamper;
    const char* decoded;    // the clean frames' texts
    const char* erring;     // the erring frames' texts
    double errorAt;         // the sampling instant that carries the error
    const char* reasonStart;
  } rows[] = {
      {"clean", true, true, nullptr, "'K'|'E'", "", -1, ""},
      // data bit 6 (the second sent, points 2 and 3) flipped from 1 to 0: 0x0B, parity now odd
      {"flipped level", false, true, [](int n, double y) { return n == 2 || n == 3 ? 1 - y : y; },
       "'E'", "0x0B parity!", 8 * 62 + 31, "Parity error"},
      // the first stop bit of 'K' (bit 9, points 18 and 19) forced low; 'E' is read again
      // from its start bit
      {"stop bit low", true, false, [](int n, double y) { return n == 18 || n == 19 ? 0 : y; },
       "'E'", "'K' framing!", 9 * 62 + 31, "Framing error"},
  };
  for (const auto& row : rows) {
    ViewsRig r;
    r.inputs.startStop = row.startStop;
    r.inputs.parity = row.parity;
    r.tamper = row.tamper;
    r.Send("KE");
    SCOPED_TRACE(row.name);
    EXPECT_EQ(r.Labels(r.views.Decoded()), row.decoded);
    EXPECT_EQ(r.Labels(r.views.DecodedErrors()), row.erring);
    const TPointSeries& dots = r.views.Samples();
    const int bits = 2 * (8 + (row.startStop ? 3 : 0) + (row.parity ? 1 : 0));
    ASSERT_EQ(dots.PointCount(), bits);  // one dot at the middle of every bit
    for (int i = 0; i < bits; ++i) {
      EXPECT_EQ(dots.XValueAt(i), 31.0 + 62 * i);
      const bool warned = dots.XValueAt(i) == row.errorAt;
      EXPECT_EQ(dots.PointColor(i) != dots.SeriesColor(), warned) << i;
      if (warned) {
        EXPECT_EQ(dots.PointLabel(i).rfind(row.reasonStart, 0), 0u) << dots.PointLabel(i);
      } else {
        // a clean dot keeps no text: its hint is made under the pointer (an hour at
        // 1000 bits/s kept 3.6 M of them)
        EXPECT_EQ(dots.PointLabel(i), "") << i;
      }
    }
  }
}

TEST(SignalViewsOnTheirOwnChart, TheDotsExplainThemselvesUnderThePointer) {
  ViewsRig r;
  r.inputs.parity = true;
  r.tamper = [](int n, double y) { return n == 2 || n == 3 ? 1 - y : y; };
  r.Send("K");
  r.rig.Paint();  // the hint looks among the points drawn last
  const TPointSeries& dots = r.views.Samples();
  const int px = dots.XPixel(8), py = dots.YPixel(8);  // the parity bit
  EXPECT_EQ(r.views.HintAt(px + 2, py - 2).rfind("Parity error", 0), 0u);
  EXPECT_EQ(r.views.HintAt(dots.XPixel(0), dots.YPixel(0)), "Data bit 7: 0, read at 31 ms");
  EXPECT_EQ(r.views.HintAt(px, py + 30), "");
  r.views.SetShown(svReceiver, false);
  EXPECT_EQ(r.views.HintAt(px, py), "");
}

// START again without Clear: the last run's dots stay and keep explaining themselves,
// the new run's (twice as fast here, so they stand apart) explain their own bits.
TEST(SignalViewsOnTheirOwnChart, DotsOfAnEarlierRunKeepTheirHints) {
  ViewsRig r;
  r.Send("K");  // 0x4B: data bit 3 is 1, read at 4 * 62 + 31 ms
  r.inputs.bitTime = 31;
  r.Send("E");  // 0x45: data bit 3 is 0, read at 4 * 31 + 15.5 ms
  r.rig.Paint();
  const TPointSeries& dots = r.views.Samples();
  ASSERT_EQ(dots.PointCount(), 16);
  const struct {
    double x;
    const char* hint;
  } rows[] = {
      {279, "Data bit 3: 1, read at 279 ms"},  {31, "Data bit 7: 0, read at 31 ms"},
      {465, "Data bit 0: 1, read at 465 ms"},  {139.5, "Data bit 3: 0, read at 139.5 ms"},
      {232.5, "Data bit 0: 1, read at 232.5 ms"}, {15.5, "Data bit 7: 0, read at 15.5 ms"},
  };
  for (const auto& row : rows) {
    int dot = 0;  // the dots are kept in time order, the runs mixed
    while (dot < dots.PointCount() && dots.XValueAt(dot) != row.x)
      ++dot;
    ASSERT_LT(dot, dots.PointCount()) << row.x;
    EXPECT_EQ(r.views.HintAt(dots.XPixel(dot), dots.YPixel(dot)), row.hint) << row.x;
  }
}

TEST(SignalViewsOnTheirOwnChart, EachTickCostsOnlyThePointsItAdds) {
  ViewsRig r;
  r.inputs.startStop = r.inputs.parity = true;
  int added = 0, cleared = 0;
  for (TChartSeries* s : {static_cast<TChartSeries*>(&r.views.Roles()),
                          static_cast<TChartSeries*>(&r.views.Characters()),
                          static_cast<TChartSeries*>(&r.views.Samples()),
                          static_cast<TChartSeries*>(&r.views.Decoded()),
                          static_cast<TChartSeries*>(&r.views.DecodedErrors()),
                          static_cast<TChartSeries*>(&r.views.Clock())}) {
    s->OnAfterAdd = [&](TChartSeries*, int) { ++added; };
    s->OnClearValues = [&](TChartSeries*) { ++cleared; };
  }
  r.text.SetText("KELDOKELDO");
  r.model.Start();
  r.views.Restart(r.inputs);
  for (int tick = 0; tick < 120; ++tick) {
    added = 0;
    r.Tick();
    // a role, four clock points, a dot, and at a frame's end its two characters
    const bool frameEnd = tick % 12 == 11;
    EXPECT_EQ(added, frameEnd ? 8 : 6) << tick;
  }
  EXPECT_EQ(cleared, 0);
  r.views.Clear();
  for (const TChartSeries* s : {static_cast<TChartSeries*>(&r.views.Roles()),
                                static_cast<TChartSeries*>(&r.views.Samples()),
                                static_cast<TChartSeries*>(&r.views.Clock())})
    EXPECT_EQ(s->PointCount(), 0);
  EXPECT_TRUE(r.views.Receiver().Bits().empty());
}

TEST(SignalViewsOnTheirOwnChart, RoleTextsHideWhenABitIsNarrowerThanThem) {
  // the recording surface makes a 9-pixel font 5 px a letter; 607 axis pixels span the window
  const struct {
    std::uint32_t bitTime;
    double min, max;
    bool shown;
  } rows[] = {{62, 0, 999, true},  // 37.7 px a bit
              {1, 0, 999, false},  // 0.6 px a bit
              {1, 0, 20, true},    // 30 px a bit after a zoom
              {8, 0, 999, false},  // 4.9 px: narrower than a letter and its gap
              {12, 0, 999, true}}; // 7.3 px
  for (const auto& row : rows) {
    ViewsRig r;
    r.inputs.bitTime = row.bitTime;
    r.Send("K");
    r.rig.chart.BottomAxis().SetLimits(row.min, row.max);
    r.rig.Paint();
    int roles = 0;  // the role letters, told from the axis labels by their small font
    for (const tk::TDrawCall& c : r.rig.surface.Calls())
      roles += c.op == "TextOut" && c.font.font.height == -9;
    EXPECT_EQ(roles, row.shown ? 8 : 0) << row.bitTime;
  }
}

// ---------------------------------------------------------------- in the real window


// The bottom axis's label values, ascending: its labels are the turned texts.
std::vector<double> BottomLabels(TChart& chart) {
  tk::TRecordingSurface surface;
  chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  std::vector<double> out;
  for (const tk::TDrawCall& c : surface.Calls())
    if (c.op == "TextOut" && c.font.escapement != 0) out.push_back(std::stod(c.text));
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<double> Multiples(double first, double step, double last) {
  std::vector<double> out;
  for (double v = first; v <= last + 1e-9; v += step)
    out.push_back(v);
  return out;
}

class SignalViewsWindow : public ::testing::Test {
 protected:
  void TearDown() override { PanningMouseButton = tk::mbRight; }
  void Send(const std::string& text, int ticks) {
    form.Edit1.SetText(text);
    form.Button1.Click();
    for (int i = 0; i < ticks; ++i)
      form.Timer1Timer();
    form.Timer1.SetEnabled(false);
  }
  tk::TMenuItem& Item(TSignalView v) { return form.ChartMenu.Item(v); }
  TForm1 form;
};

TEST_F(SignalViewsWindow, BitGridLabelValues) {
  // 607 axis pixels over the window; a label of three 6-pixel digits, 13 px high,
  // turned by 45 degrees needs 22 px: 62 ms = 37.7 px (every bit), 25 ms = 15.2 px
  // (every second bit), 1 ms = 0.61 px (every 37th); zoomed into 800..900, 6.07 px a
  // millisecond (every 4th); the axis end carries no label
  const struct {
    int speed;
    bool grid;
    double min, max;
    std::vector<double> labels;
  } rows[] = {
      {16, true, 0, 999, Multiples(62, 62, 992)},
      {40, true, 0, 999, Multiples(50, 50, 950)},
      {1000, true, 0, 999, Multiples(37, 37, 962)},
      {1000, true, 800, 900, Multiples(804, 4, 896)},
      {16, true, 800, 900, {806, 868}},
      {16, false, 0, 999, Multiples(7, 62, 937)},    // the designed labels, from the top down
      {1000, false, 800, 900, Multiples(801, 1, 899)},
  };
  for (const auto& row : rows) {
    TForm1 f;
    f.SpinEdit1.SetValue(row.speed);
    f.Button2.Click();  // Clear: the designed labels take the bit time as their increment
    f.Chart1.BottomAxis().SetLimits(row.min, row.max);
    tk::TMenuItem& grid = f.ChartMenu.Item(svBitGrid);
    grid.Click();  // on, and for the designed rows off again
    if (!row.grid) grid.Click();
    EXPECT_EQ(BottomLabels(f.Chart1), row.labels) << row.speed << " " << row.min;
  }
}

TEST_F(SignalViewsWindow, EveryViewOffLeavesTheDesignedDrawing) {
  form.CheckBox1.SetChecked(true);
  form.CheckBox2.SetChecked(true);
  Send("KELDO", 60);
  // the designed chart, built apart from the window, with the same points
  const std::vector<std::string> reference = DesignedSignalDrawing(*form.Series1, 62);
  tk::TRecordingSurface surface;
  ASSERT_EQ(Drawing(form.Chart1, surface), reference);
  EXPECT_EQ(form.Chart1.SeriesCount(), 1);
  for (int v = 0; v < kSignalViewCount; ++v) {
    SCOPED_TRACE(form.ChartMenu.Item(v).Caption());
    EXPECT_FALSE(form.ChartMenu.Item(v).Checked());  // off at start
    form.ChartMenu.Item(v).Click();
    EXPECT_TRUE(form.Views().Shown(static_cast<TSignalView>(v)));
    EXPECT_NE(Drawing(form.Chart1, surface), reference);  // the view draws something
    form.ChartMenu.Item(v).Click();
    EXPECT_EQ(Drawing(form.Chart1, surface), reference);
  }
  // all on at once, then all off
  for (int v = 0; v < kSignalViewCount; ++v)
    form.ChartMenu.Item(v).Click();
  EXPECT_EQ(form.Chart1.SeriesCount(), 7);
  EXPECT_EQ(form.Chart1.LegendSeriesAt(0), nullptr);  // the legend stays as designed: empty
  for (int v = kSignalViewCount - 1; v >= 0; --v)
    form.ChartMenu.Item(v).Click();
  EXPECT_EQ(Drawing(form.Chart1, surface), reference);
}

TEST_F(SignalViewsWindow, ReceiverReadsBackEveryEncodingAndFraming) {
  for (int encoding = 0; encoding < 5; ++encoding)
    for (int options = 0; options < 4; ++options) {
      TForm1 f;
      f.RG1.SetItemIndex(encoding);
      f.CheckBox1.SetChecked(options & 1);
      f.CheckBox2.SetChecked(options & 2);
      f.ChartMenu.Item(svReceiver).Click();
      const int frame = 8 + (options & 1 ? 3 : 0) + (options & 2 ? 1 : 0);
      f.Edit1.SetText("Hi!");
      f.Button1.Click();
      for (int i = 0; i < 3 * frame; ++i)
        f.Timer1Timer();
      SCOPED_TRACE(testing::Message() << "encoding " << encoding << " options " << options);
      const TSignalViews& v = f.Views();
      EXPECT_EQ(v.Receiver().Text(), "Hi!");
      ASSERT_EQ(v.Samples().PointCount(), 3 * frame);
      for (int i = 0; i < 3 * frame; ++i)  // a dot in the middle of every 62 ms bit
        EXPECT_EQ(v.Samples().XValueAt(i), 31.0 + 62 * i);
      EXPECT_EQ(v.Decoded().PointCount(), 3);
      EXPECT_EQ(v.DecodedErrors().PointCount(), 0);
    }
}

TEST_F(SignalViewsWindow, ClearEmptiesTheViewsAndStartRefillsThem) {
  for (int v = 0; v < kSignalViewCount; ++v)
    Item(static_cast<TSignalView>(v)).Click();
  Send("KE", 16);
  EXPECT_EQ(form.Views().Roles().PointCount(), 16);
  form.Button2.Click();
  for (const TChartSeries* s : {static_cast<const TChartSeries*>(&form.Views().Roles()),
                                static_cast<const TChartSeries*>(&form.Views().Samples()),
                                static_cast<const TChartSeries*>(&form.Views().Clock()),
                                static_cast<const TChartSeries*>(&form.Views().Decoded())})
    EXPECT_EQ(s->PointCount(), 0);
  Send("L", 8);
  EXPECT_EQ(form.Views().Receiver().Text(), "L");
  EXPECT_EQ(form.Views().Roles().XValueAt(0), 31);  // time started again at 0
}

TEST_F(SignalViewsWindow, PointerOverAnErringDotShowsItsReason) {
  form.CheckBox2.SetChecked(true);  // parity
  Send("K", 9);
  tk::TRecordingSurface surface;
  Drawing(form.Chart1, surface);  // the views are off: nothing to explain
  const TPointSeries& dots = form.Views().Samples();
  form.Chart1MouseMove(100, 100);
  EXPECT_EQ(tk::HintText(), "");
  Item(svReceiver).Click();
  Drawing(form.Chart1, surface);
  form.Chart1MouseMove(dots.XPixel(0), dots.YPixel(0));
  EXPECT_EQ(tk::HintText(), "Data bit 7: 0, read at 31 ms");
  form.Chart1MouseMove(dots.XPixel(0), dots.YPixel(0) - 40);
  EXPECT_EQ(tk::HintText(), "");
}

// ---------------------------------------------------------------- the context menu

class ChartMenuInWindow : public SignalViewsWindow {
 protected:
  void SetUp() override {
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    form.Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
  }
  QWidget* Chart() { return form.Chart1.Widget(); }
  bool Opens() { return QTest::qWaitFor([&] { return form.ChartMenu.IsOpen(); }, 2000); }
  void CloseMenu() {
    form.ChartMenu.Close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.ChartMenu.IsOpen(); }, 2000));
  }
};

TEST_F(ChartMenuInWindow, ItemsAreTheFourViewsAllOff) {
  const char* captions[] = {"&Bit grid", "Bit r&oles", "&Receiver", "&Clock"};
  // the commands (compare, export) follow the views; CompareWindowTest holds them
  ASSERT_GE(form.ChartMenu.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(form.ChartMenu.Item(i).Caption(), captions[i]);
    EXPECT_TRUE(form.ChartMenu.Item(i).Checkable());
    EXPECT_FALSE(form.ChartMenu.Item(i).Checked());
  }
}

TEST_F(ChartMenuInWindow, OpensFromTheMouseAndTheKeyboard) {
  // a right click through the window system, as a user's click arrives
  QWindow* window = form.Widget()->windowHandle();
  const QPoint at = Chart()->mapTo(form.Widget(), QPoint(200, 100));
  const double before[] = {form.Chart1.BottomAxis().Minimum(), form.Chart1.BottomAxis().Maximum()};
  QTest::mouseClick(window, Qt::RightButton, {}, at);
  EXPECT_TRUE(Opens());
  CloseMenu();
  // the right button neither zooms nor pans this chart
  EXPECT_EQ(form.Chart1.BottomAxis().Minimum(), before[0]);
  EXPECT_EQ(form.Chart1.BottomAxis().Maximum(), before[1]);

  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
  } keys[] = {{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}};
  for (const auto& k : keys) {
    form.Chart1.SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Chart()->hasFocus(); }, 2000));
    QTest::keyClick(window, k.key, k.mods);
    EXPECT_TRUE(Opens()) << k.key;
    CloseMenu();
  }
  // a plain F10 on the chart is no request for the menu
  QTest::keyClick(window, Qt::Key_F10);
  QTest::qWait(50);
  EXPECT_FALSE(form.ChartMenu.IsOpen());
}

TEST_F(ChartMenuInWindow, AcceleratorsToggleTheViews) {
  const struct {
    Qt::Key key;
    TSignalView view;
  } rows[] = {{Qt::Key_B, svBitGrid}, {Qt::Key_O, svBitRoles}, {Qt::Key_R, svReceiver},
              {Qt::Key_C, svClock}};
  for (const auto& r : rows)
    for (bool expected : {true, false}) {
      form.Chart1.SetFocus();
      QTest::keyClick(form.Widget()->windowHandle(), Qt::Key_Menu);
      ASSERT_TRUE(Opens());
      QTest::keyClick(form.ChartMenu.Widget(), r.key);
      EXPECT_TRUE(QTest::qWaitFor([&] { return form.Views().Shown(r.view) == expected; }, 2000))
          << r.key;
      EXPECT_EQ(form.ChartMenu.Item(r.view).Checked(), expected);
      EXPECT_TRUE(QTest::qWaitFor([&] { return !form.ChartMenu.IsOpen(); }, 2000));
    }
}

}  // namespace
