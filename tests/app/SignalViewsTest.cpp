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

}  // namespace
