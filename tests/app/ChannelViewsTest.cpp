// The channel in the window: its two menu commands, the dialog's knobs and
// verdict, the received line with its legend (and the designed drawing while
// the channel is ideal), the recount that runs between events, and the eye
// diagram window with its measure.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Export.h"
#include "app/Unit1.h"
#include "tests/support/ChartRig.h"
#include "toolkit/Application.h"

namespace {

// Records the messages the application would show.
struct Messages {
  Messages() {
    tk::SetErrorHandler([this](const std::string& m) { shown.push_back(m); });
  }
  ~Messages() { tk::SetErrorHandler({}); }
  std::vector<std::string> shown;
};


bool Drew(const std::vector<std::string>& drawing, const std::string& prefix) {
  for (const std::string& s : drawing)
    if (s.rfind(prefix, 0) == 0) return true;
  return false;
}

class ChannelWindow : public ::testing::Test {
 protected:
  void TearDown() override { PanningMouseButton = tk::mbRight; }
  void Send(const std::string& text, int ticks) {
    form.Edit1.SetText(text);
    form.Button1.Click();
    for (int i = 0; i < ticks; ++i)
      form.Timer1Timer();
    form.Timer1.SetEnabled(false);
  }
  tk::TMenuItem* Command(const std::string& caption) {
    for (int i = 0; i < form.ChartMenu.Count(); ++i)
      if (form.ChartMenu.Item(i).Caption() == caption) return &form.ChartMenu.Item(i);
    return nullptr;
  }
  TChannelDialog& OpenDialog() {
    Command("C&hannel…")->Click();
    return *form.ChannelDialog();
  }
  void SetChannel(const TChannelSettings& s) {
    OpenDialog();
    form.ChannelDialog()->OnSettings(s);
  }
  TForm1 form;
};

// ---------------------------------------------------------------- the menu

TEST_F(ChannelWindow, TwoCommandsAfterTheOthersAndNothingOnAtStart) {
  ASSERT_EQ(form.ChartMenu.Count(), 10);
  EXPECT_EQ(form.ChartMenu.Item(8).Caption(), "C&hannel…");
  EXPECT_EQ(form.ChartMenu.Item(9).Caption(), "&Eye diagram");
  for (int i : {8, 9})
    EXPECT_FALSE(form.ChartMenu.Item(i).Checkable());
  EXPECT_EQ(form.ChannelDialog(), nullptr);
  EXPECT_EQ(form.EyeWindow(), nullptr);
  EXPECT_TRUE(form.Channel().Settings().IsIdeal());
  EXPECT_FALSE(form.Channel().On());
  EXPECT_EQ(form.Chart1.SeriesCount(), 1);
  // the dialog opens beside the window, which goes on working: it is no modal box
  TChannelDialog& d = OpenDialog();
  EXPECT_TRUE(d.Visible());
  EXPECT_FALSE(d.Widget()->isModal());
  Send("K", 3);
  EXPECT_EQ(form.Buffer.Text(), "010");
}

// ---------------------------------------------------------------- the dialog

TEST_F(ChannelWindow, KnobsSetTheChannelAndABadValueShowsItsMessage) {
  Messages messages;
  TChannelDialog& d = OpenDialog();
  using Field = double (*)(const TChannelSettings&);
  const struct {
    tk::TKnob TChannelDialog::*knob;
    const char* typed;
    Field field;
    double expected;  // what the channel holds afterwards
  } rows[] = {
      {&TChannelDialog::Tau, "0.5", [](const TChannelSettings& s) { return s.tau; }, 0.5},
      {&TChannelDialog::Tau, "2", [](const TChannelSettings& s) { return s.tau; }, 2},
      {&TChannelDialog::Sigma, "0.25", [](const TChannelSettings& s) { return s.sigma; }, 0.25},
      {&TChannelDialog::Ber, "1e-3", [](const TChannelSettings& s) { return s.ber; }, 0.001},
      {&TChannelDialog::Skew, "5", [](const TChannelSettings& s) { return s.skew; }, 0.05},
      {&TChannelDialog::Skew, "-7.5", [](const TChannelSettings& s) { return s.skew; }, -0.075},
      {&TChannelDialog::Seed, "42",
       [](const TChannelSettings& s) { return static_cast<double>(s.seed); }, 42},
  };
  for (const auto& r : rows) {
    (d.*r.knob).EnterText(r.typed);
    EXPECT_DOUBLE_EQ(r.field(form.Channel().Settings()), r.expected) << r.typed;
    EXPECT_DOUBLE_EQ(r.field(d.Shown()), r.expected) << r.typed;
  }
  EXPECT_TRUE(messages.shown.empty());

  const TChannelSettings before = form.Channel().Settings();
  const struct {
    tk::TKnob TChannelDialog::*knob;
    const char* typed;
    std::string message;
  } bad[] = {
      {&TChannelDialog::Sigma, "1.5", "Noise sigma must be between 0 and 1 (got 1.5)"},
      {&TChannelDialog::Tau, "3", TChannelSettings{3, 0.25, 0.001, -0.075, 42}.Problem()},
      {&TChannelDialog::Ber, "0.5", TChannelSettings{2, 0.25, 0.5, -0.075, 42}.Problem()},
      {&TChannelDialog::Skew, "-12", TChannelSettings{2, 0.25, 0.001, -0.12, 42}.Problem()},
      {&TChannelDialog::Seed, "2.5", "Seed must be a whole number from 0 on (got 2.5)"},
      {&TChannelDialog::Tau, "slow", "\"slow\" is not a number"},
  };
  for (const auto& b : bad) {
    messages.shown.clear();
    (d.*b.knob).EnterText(b.typed);
    EXPECT_FALSE(b.message.empty()) << b.typed;
    EXPECT_EQ(messages.shown, std::vector<std::string>{b.message}) << b.typed;
    EXPECT_EQ(form.Channel().Settings(), before) << b.typed << ": the old settings stay";
    EXPECT_EQ(d.Shown(), before) << b.typed << ": the knobs go back";
  }
  EXPECT_EQ(d.Sigma.Text(), "0.25");

  // the bit error rate's slider runs over five decades, 1e-6 to 0.1
  d.Ber.MoveSlider(1 + 999 * 2 / 5);
  EXPECT_NEAR(form.Channel().Settings().ber, 1e-6 * std::pow(1e5, 399.0 / 999), 1e-12);
  d.Reset.Click();
  EXPECT_TRUE(form.Channel().Settings().IsIdeal());
  EXPECT_EQ(form.Channel().Settings().seed, 42u) << "the seed is no knob of the line's quality";
  EXPECT_EQ(d.Tau.Text(), "0");
}

TEST_F(ChannelWindow, EveryKnobAndCounterExplainsItself) {
  TChannelDialog& d = OpenDialog();
  for (tk::TKnob* k : {&d.Tau, &d.Sigma, &d.Ber, &d.Skew, &d.Seed}) {
    EXPECT_FALSE(k->Hint().empty()) << k->Caption();
    EXPECT_EQ(k->Hint().find('\n'), std::string::npos) << "one line: " << k->Caption();
  }
  const struct {
    tk::TKnob TChannelDialog::*knob;
    const char* unit;
    double low, high;
    bool logarithmic;
  } units[] = {{&TChannelDialog::Tau, "bit times", 0, 2, false},
               {&TChannelDialog::Sigma, "levels", 0, 1, false},
               {&TChannelDialog::Ber, "per bit", 0, 0.1, true},
               {&TChannelDialog::Skew, "%", -10, 10, false}};
  for (const auto& u : units) {
    const tk::TKnob& k = d.*u.knob;
    EXPECT_EQ(k.Unit(), u.unit);
    EXPECT_EQ(k.Scale().minimum, u.low) << u.unit;
    EXPECT_EQ(k.Scale().maximum, u.high) << u.unit;
    EXPECT_EQ(k.Scale().logarithmic, u.logarithmic) << u.unit;
  }
  const char* captions[kVerdictCount] = {"Bits sent",
                                         "Bits received wrong",
                                         "Characters sent",
                                         "Characters decoded right",
                                         "Parity errors caught",
                                         "Framing errors caught",
                                         "Undetected errors"};
  for (int i = 0; i < kVerdictCount; ++i) {
    EXPECT_EQ(d.VerdictCaption[i].Caption(), captions[i]);
    EXPECT_FALSE(d.VerdictCaption[i].Hint().empty()) << captions[i];
    EXPECT_EQ(d.VerdictNumber[i].Caption(), "0") << captions[i];
  }
}

TEST_F(ChannelWindow, CountersFollowTheBitsSent) {
  TChannelDialog& d = OpenDialog();
  form.CheckBox1.SetChecked(true);
  form.CheckBox2.SetChecked(true);
  Send("KE", 24);  // two frames of 12 bits
  EXPECT_EQ(d.VerdictNumber[vdBitsSent].Caption(), "24");
  EXPECT_EQ(d.VerdictNumber[vdCharactersSent].Caption(), "2");
  EXPECT_EQ(d.VerdictNumber[vdCharactersRight].Caption(), "2");
  EXPECT_EQ(d.VerdictNumber[vdBitsWrong].Caption(), "0");
  form.Button2.Click();  // Clear forgets the history
  EXPECT_EQ(d.VerdictNumber[vdBitsSent].Caption(), "0");
}

// ---------------------------------------------------------------- the received line

TEST_F(ChannelWindow, IdealChannelLeavesTheDesignedDrawing) {
  form.CheckBox1.SetChecked(true);
  Send("KELDO", 40);
  // the designed chart, built apart from the window, with the same points
  const std::vector<std::string> reference = DesignedSignalDrawing(*form.Series1, 62);
  tk::TRecordingSurface surface;
  ASSERT_EQ(Drawing(form.Chart1, surface), reference);

  OpenDialog();  // an open dialog changes nothing
  EXPECT_EQ(Drawing(form.Chart1, surface), reference);
  form.ChannelDialog()->Sigma.EnterText("0.2");
  EXPECT_NE(Drawing(form.Chart1, surface), reference);
  form.ChannelDialog()->Reset.Click();
  EXPECT_EQ(form.Chart1.SeriesCount(), 1);
  EXPECT_EQ(Drawing(form.Chart1, surface), reference);
}

TEST_F(ChannelWindow, ReceivedLineOnlyWhileNotIdealWithALegendNamingBoth) {
  const struct {
    const char* name;
    TChannelSettings settings;
    bool shown;
  } rows[] = {
      {"ideal", TChannelSettings::Ideal(), false},
      {"seed alone", {0, 0, 0, 0, 7}, false},
      {"cable", {0.5, 0, 0, 0, 1}, true},
      {"noise", {0, 0.2, 0, 0, 1}, true},
      {"errors", {0, 0, 0.05, 0, 1}, true},
      {"skew alone", {0, 0, 0, 0.03, 1}, true},  // the wave is the sent one, the receiver is not
  };
  for (const auto& r : rows) {
    TForm1 f;
    f.Edit1.SetText("KELDO");
    f.Button1.Click();
    for (int i = 0; i < 20; ++i)
      f.Timer1Timer();
    f.ChartMenu.Item(8).Click();
    f.ChannelDialog()->OnSettings(r.settings);
    SCOPED_TRACE(r.name);
    EXPECT_EQ(f.Chart1.SeriesCount(), r.shown ? 2 : 1);
    tk::TRecordingSurface surface;
    const std::vector<std::string> d = Drawing(f.Chart1, surface);
    std::vector<std::string> texts;
    for (const tk::TDrawCall& c : surface.Calls())
      if (c.op == "TextOut") texts.push_back(c.text);
    const bool named = std::count(texts.begin(), texts.end(), "Sent") == 1 &&
                       std::count(texts.begin(), texts.end(), "Received") == 1;
    EXPECT_EQ(named, r.shown);
    if (!r.shown) continue;
    EXPECT_EQ(f.Chart1.LegendSeriesAt(0), f.Series1);
    TFastLineSeries& rx = f.Channel().Received();
    EXPECT_EQ(f.Chart1.LegendSeriesAt(1), &rx);
    // the sent wave keeps its designed pen; the received one is thin and not red
    EXPECT_EQ(f.Series1->LinePen().Width(), 3);
    EXPECT_EQ(f.Series1->LinePen().Color(), tk::clRed);
    EXPECT_EQ(rx.LinePen().Width(), 1);
    EXPECT_NE(tk::ColorToRGB(rx.LinePen().Color()), tk::ColorToRGB(tk::clRed));
    EXPECT_TRUE(Drew(d, "Polyline")) << "the received line is drawn";
    // sampled 32 times a bit over the 20 bits sent (62 ms each, 1240 ms in all)
    EXPECT_GT(rx.PointCount(), 16 * 32 - 1);
    EXPECT_LT(rx.PointCount(), 20 * 32);
    for (int i = 1; i < rx.PointCount(); ++i)
      ASSERT_LT(rx.XValueAt(i - 1), rx.XValueAt(i));
  }
}

TEST_F(ChannelWindow, ReceivedWaveCoversOnlyTheShownWindow) {
  form.SpinEdit1.SetValue(1000);      // 1 ms bits
  Send(std::string(400, 'U'), 3000);  // 3000 of its 3200 bits
  SetChannel({0.3, 0.1, 0, 0, 1});
  TFastLineSeries& rx = form.Channel().Received();
  const struct { double min, max; } windows[] = {{0, 999}, {1500, 1600}, {2900, 3100}, {200, 210}};
  for (const auto& w : windows) {
    form.Chart1.BottomAxis().SetLimits(w.min, w.max);
    form.Channel().WindowMoved();
    const double width = w.max - w.min;
    ASSERT_GT(rx.PointCount(), 0) << w.min;
    // no more than the window's samples and a little on either side
    EXPECT_GE(rx.XValueAt(0), w.min - 0.05 * width) << w.min;
    EXPECT_LE(rx.XValueAt(rx.PointCount() - 1), std::min(3000.0, w.max + 0.05 * width)) << w.min;
    EXPECT_LE(rx.PointCount(), (std::min(3000.0, w.max) - w.min) * 1.1 * 32 + 64) << w.min;
    // from the left edge on: its first pixel column (the axis, never painted
    // here, takes 2000 columns)
    EXPECT_LE(rx.XValueAt(0), w.min + width / 2000) << "from the left edge on";
  }
  // the scroll bar moves the window, and the wave with it
  form.Chart1.BottomAxis().SetLimits(0, 999);
  form.ScrollBar1.SetPosition(50);
  EXPECT_GT(rx.XValueAt(0), 20);
  EXPECT_LE(rx.XValueAt(0), 50);
}

// ---------------------------------------------------------------- the receiver view

std::vector<std::string> Labels(const TChartSeries& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.PointCount(); ++i)
    out.push_back(s.PointLabel(i));
  return out;
}

TEST_F(ChannelWindow, ReceiverViewDecodesTheReceivedWaveWithItsOwnClock) {
  // framed NRZ-L: the start bit resynchronises each 12-bit frame, so the last
  // stop bit is read 11.5 x skew bit times off its middle: 0.345 at 3 % (inside
  // the bit), 0.805 at 7 % (in the next frame's start bit, a 0: a framing error)
  const struct {
    double skew;
    std::vector<std::string> right, flagged;
  } rows[] = {
      {0.0, {"'K'", "'E'", "'L'", "'D'", "'O'"}, {}},
      {0.03, {"'K'", "'E'", "'L'", "'D'", "'O'"}, {}},
      {-0.03, {"'K'", "'E'", "'L'", "'D'", "'O'"}, {}},
  };
  for (const auto& r : rows) {
    TForm1 f;
    f.RG1.SetItemIndex(leNrzL);
    f.CheckBox1.SetChecked(true);
    f.CheckBox2.SetChecked(true);
    f.ChartMenu.Item(svReceiver).Click();
    f.Chart1.BottomAxis().SetLimits(0, 4000);  // all five 744 ms frames in the window
    f.ChartMenu.Item(8).Click();
    f.ChannelDialog()->OnSettings({0, 0, 0, r.skew, 1});
    // the last frame is read to its end on the idle line after it (61 ticks:
    // the view draws a frame's decisions once the tick after its last bit shows them)
    f.Edit1.SetText("KELDO");
    f.Button1.Click();
    for (int i = 0; i < 61; ++i)
      f.Timer1Timer();
    f.Channel().Recount().Finish();
    SCOPED_TRACE(r.skew);
    EXPECT_EQ(f.Views().ChannelShown() != nullptr, r.skew != 0);
    EXPECT_EQ(Labels(f.Views().Decoded()), r.right);
    EXPECT_EQ(Labels(f.Views().DecodedErrors()), r.flagged);
  }
  // at 7 % the first frame's last stop bit is read in the next frame's start bit
  TForm1 f;
  f.RG1.SetItemIndex(leNrzL);
  f.CheckBox1.SetChecked(true);
  f.CheckBox2.SetChecked(true);
  f.ChartMenu.Item(svReceiver).Click();
  f.Chart1.BottomAxis().SetLimits(0, 4000);
  f.ChartMenu.Item(8).Click();
  f.ChannelDialog()->OnSettings({0, 0, 0, 0.07, 1});
  f.Edit1.SetText("KELDO!");
  f.Button1.Click();
  for (int i = 0; i < 72; ++i)
    f.Timer1Timer();
  // The first frame starts in step. Bit i of the frame is read at (i + 0.5) x 1.07
  // bit times: data bit 0 (i = 8) at 9.1, in the parity bit (0 for the four ones
  // of 'K' = 0x4B), so 0x4A 'J'; the parity (i = 9) at 10.2 in the first stop
  // bit, a 1: four ones, even, no parity error; the last stop bit (i = 11) at
  // 12.3 in the next start bit: a framing error. After it the receiver hunts
  // for a start bit in the middle of the next frame and reads garbage.
  const std::vector<std::string> flagged = Labels(f.Views().DecodedErrors());
  ASSERT_FALSE(flagged.empty());
  EXPECT_EQ(flagged.front(), "'J' framing!");
  EXPECT_LT(f.Views().Decoded().PointCount(), 3);
  // back to ideal: the ideal receiver's reading of every bit again
  f.ChannelDialog()->Reset.Click();
  EXPECT_EQ(f.Views().ChannelShown(), nullptr);
  EXPECT_EQ(Labels(f.Views().Decoded()),
            (std::vector<std::string>{"'K'", "'E'", "'L'", "'D'", "'O'", "'!'"}));
  EXPECT_TRUE(f.Views().DecodedErrors().PointCount() == 0);
}

TEST_F(ChannelWindow, ReceiverViewDrawsOnlyTheWindowsDecisions) {
  form.SpinEdit1.SetValue(1000);
  form.ChartMenu.Item(svReceiver).Click();
  Send(std::string(400, 'U'), 3000);
  EXPECT_EQ(form.Views().Samples().PointCount(), 3000) << "the ideal receiver: every bit";
  SetChannel({0, 0.05, 0, 0, 1});
  TPointSeries& dots = form.Views().Samples();
  // the designed window 0..999 ms holds a thousand 1 ms bits
  EXPECT_GE(dots.PointCount(), 990);
  EXPECT_LE(dots.PointCount(), 1000);
  for (int i = 0; i < dots.PointCount(); ++i)
    ASSERT_LE(dots.XValueAt(i), 999);
  form.Chart1.BottomAxis().SetLimits(2000, 2100);
  form.Channel().WindowMoved();
  form.ChannelDialog()->OnSettings({0, 0.06, 0, 0, 1});  // any change shows the window anew
  form.Channel().Recount().Finish();
  EXPECT_GE(dots.PointCount(), 99);
  EXPECT_LE(dots.PointCount(), 101);
  EXPECT_GE(dots.XValueAt(0), 2000);
}

TEST(ColumnReducer, KeepsTheExtremesOfEachColumnInTheirOrder) {
  using Points = std::vector<std::pair<double, double>>;
  const struct {
    const char* name;
    Points samples, kept;  // kept: worked out by hand, columns of width 1 from 0
  } rows[] = {
      {"one sample", {{0.5, 1}}, {{0.5, 1}}},
      {"high before low", {{0.1, 0}, {0.2, 5}, {0.3, -5}, {0.4, 1}}, {{0.2, 5}, {0.3, -5}}},
      {"low before high",
       {{0.1, 0}, {0.2, -5}, {0.25, 2}, {0.3, 5}, {0.4, 1}},
       {{0.2, -5}, {0.3, 5}}},
      {"the first is the lowest", {{0.1, -1}, {0.5, 3}, {0.9, 2}}, {{0.1, -1}, {0.5, 3}}},
      {"rising", {{0.1, 0}, {0.5, 1}, {0.9, 2}}, {{0.1, 0}, {0.9, 2}}},
      {"flat: the first sample stands for the column", {{0.1, 1}, {0.4, 1}, {0.7, 1}}, {{0.1, 1}}},
      {"two columns",
       {{0.2, 0}, {0.6, 4}, {0.8, 1}, {1.1, -2}, {1.5, 3}},
       {{0.2, 0}, {0.6, 4}, {1.1, -2}, {1.5, 3}}},
      {"an empty column between", {{0.5, 1}, {2.5, -1}}, {{0.5, 1}, {2.5, -1}}},
      {"negative x", {{-0.5, 1}, {-0.2, 3}, {0.1, 2}}, {{-0.5, 1}, {-0.2, 3}, {0.1, 2}}},
      {"many samples in a column",
       {{0.01, 0}, {0.02, 0.5}, {0.03, 0.2}, {0.04, 0.9}, {0.05, -0.3}, {0.06, 0.1}, {0.07, 0.4}},
       {{0.04, 0.9}, {0.05, -0.3}}},
  };
  for (const auto& r : rows) {
    TColumnReducer reducer;
    reducer.Start(0, 1);
    Points kept;
    const auto give = [&](double x, double y) { kept.push_back({x, y}); };
    for (const auto& [x, y] : r.samples)
      reducer.Add(x, y, give);
    reducer.Flush(give);
    EXPECT_EQ(kept, r.kept) << r.name;
  }
}

TEST_F(ChannelWindow, ReceivedLineKeepsAFewPointsPerPixelColumn) {
  form.SpinEdit1.SetValue(1000);      // 1 ms bits: over 600 pixels, 1.6 bits a column
  Send(std::string(300, 'U'), 1500);  // 1500 of its 2400 bits
  tk::TRecordingSurface surface;
  Drawing(form.Chart1, surface);  // the axis learns its pixels
  SetChannel({0, 0.2, 0, 0, 1});
  const int pixels = form.Chart1.BottomAxis().AxisPixels;
  ASSERT_GT(pixels, 500);
  TFastLineSeries& rx = form.Channel().Received();
  // a refill keeps at most two points of each column, never the 32 samples of a bit
  EXPECT_LE(rx.PointCount(), 2 * (pixels + 30));
  EXPECT_GE(rx.PointCount(), pixels);
  form.Chart1.BottomAxis().SetLimits(1000, 1999);
  form.Channel().WindowMoved();
  const int before = rx.PointCount();
  for (int i = 0; i < 400; ++i)
    form.Timer1Timer();  // bits 1500..1899, inside the window
  // 400 bits over 0.61 pixels a bit: about 243 columns, two points each
  EXPECT_LE(rx.PointCount() - before, 2 * (243 + 2));
  EXPECT_GE(rx.PointCount() - before, 2 * (243 - 2));
  for (int i = 1; i < rx.PointCount(); ++i)
    ASSERT_LT(rx.XValueAt(i - 1), rx.XValueAt(i));
}

// ---------------------------------------------------------------- the recount

TEST_F(ChannelWindow, RecountRunsInSlicesWhileTheWindowGoesOn) {
  form.SpinEdit1.SetValue(1000);
  form.CheckBox1.SetChecked(true);
  Send(std::string(400, 'K'), 4000);
  TChannelDialog& d = OpenDialog();
  form.Channel().SetRecountSliceBits(500);  // 4000 bits: eight slices
  d.Sigma.EnterText("0.45");
  EXPECT_TRUE(form.Channel().Recount().Running()) << "nothing waits for the whole history";
  EXPECT_EQ(d.VerdictNumber[vdBitsWrong].Caption(), "0") << "the old counts until the recount ends";
  EXPECT_EQ(d.Status.Caption(), "Recounting the history...");
  // the received wave is there at once
  EXPECT_EQ(form.Chart1.SeriesCount(), 2);
  EXPECT_GT(form.Channel().Received().PointCount(), 0);
  int events = 0, eventsWhileRunning = 0;
  bool barSeen = false;
  while (form.Channel().Recount().Running()) {
    QTimer::singleShot(0, [&] {
      ++events;
      if (form.Channel().Recount().Running()) ++eventsWhileRunning;
    });
    form.Timer1Timer();  // the clock goes on meanwhile
    tk::ProcessMessages();
    barSeen |= d.Progress.Visible();
  }
  EXPECT_GE(form.Channel().Recount().Slices(), 8);
  EXPECT_GT(eventsWhileRunning, 0);
  EXPECT_TRUE(barSeen);
  EXPECT_FALSE(d.Progress.Visible());
  EXPECT_EQ(d.Status.Caption(), "");
  // sigma 0.45 on NRZ... the unipolar swing of 1 with threshold 0.5: many wrong bits
  EXPECT_NE(d.VerdictNumber[vdBitsWrong].Caption(), "0");
  EXPECT_EQ(d.VerdictNumber[vdBitsSent].Caption(),
            std::to_string(form.Channel().Channel().Counters().bitsSent));
}

TEST(ChannelWindowLifetime, ClosingWhileARecountRunsTouchesNoFreedDialog) {
  // the dialog holds the recount's progress bar and goes before the channel
  // does: the window must take the bar back first (the sanitizers see it)
  for (bool finish : {false, true}) {
    auto form = std::make_unique<TForm1>();
    form->SpinEdit1.SetValue(1000);
    form->Edit1.SetText(std::string(100, 'K'));
    form->Button1.Click();
    for (int i = 0; i < 800; ++i)
      form->Timer1Timer();
    form->ChannelClick();
    form->Channel().SetRecountSliceBits(50);
    form->ChannelDialog()->Sigma.EnterText("0.3");
    tk::ProcessMessages();
    EXPECT_TRUE(form->Channel().Recount().Running());
    if (finish) form->Channel().Recount().Finish();
    form.reset();
    tk::ProcessMessages();  // no slice may run into the freed window
  }
  PanningMouseButton = tk::mbRight;
}

// ---------------------------------------------------------------- the eye

TEST_F(ChannelWindow, EyeWindowFillsWithBitsAndClosesWithEsc) {
  form.RG1.SetItemIndex(leNrzL);
  SetChannel({0.2, 0.05, 0, 0, 3});
  Command("&Eye diagram")->Click();
  TEyeWindow* eye = form.EyeWindow();
  ASSERT_NE(eye, nullptr);
  EXPECT_EQ(eye->Eye().Traces(), 0u);
  Send("KELDO", 40);
  EXPECT_GT(eye->Eye().Traces(), 30u);
  eye->RefreshPicture();
  int coloured = 0;
  for (int y = 0; y < eye->Picture().Height(); ++y)
    for (int x = 0; x < eye->Picture().Width(); ++x)
      coloured += eye->Picture().Pixel(x, y) != tk::clWhite;
  EXPECT_GT(coloured, 100);
  tk::TRecordingSurface surface;
  const std::vector<std::string> d = Drawing(eye->Chart, surface);
  EXPECT_TRUE(Drew(d, "DrawPicture"));
  EXPECT_EQ(eye->ThresholdLine().YValueAt(0), 0) << "NRZ-L decides at the midpoint of -1 and 1";
  EXPECT_EQ(eye->InstantLine().XValueAt(0), 0);
  EXPECT_EQ(eye->Opening.Caption().rfind("Eye height ", 0), 0u);
  // saved as the other pictures are: the density comes out in the PNG
  const std::string png = ChartPicture(eye->Chart, tk::pkPng);
  QImage saved;
  ASSERT_TRUE(saved.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                 static_cast<int>(png.size()), "PNG"));
  int dark = 0;  // the rails' cells are a deep blue
  for (int y = 0; y < saved.height(); ++y)
    for (int x = 0; x < saved.width(); ++x) {
      const QRgb p = saved.pixel(x, y);
      dark += qBlue(p) > 80 && qRed(p) < 60 && qGreen(p) < 90;
    }
  EXPECT_GT(dark, 200);
  EXPECT_EQ(eye->DefaultName("png"), "signal-eye.png");

  eye->Show();
  QWidget* w = eye->Widget();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isVisible(); }, 2000));
}

TEST_F(ChannelWindow, EyeFollowsNewBitsOnly) {
  SetChannel({0, 0.1, 0, 0, 5});
  Command("&Eye diagram")->Click();
  TEyeWindow& eye = *form.EyeWindow();
  Send("KELDO", 20);
  const std::uint64_t after20 = eye.Eye().Traces();
  for (int i = 0; i < 10; ++i)
    form.Timer1Timer();
  const std::uint64_t after30 = eye.Eye().Traces();
  EXPECT_GT(after30, after20);
  EXPECT_LE(after30 - after20, 10u) << "each bit adds its own trace once";
  eye.Follow(form.Channel().Channel(), form.RG1.ItemIndex());  // nothing new: nothing added
  EXPECT_EQ(eye.Eye().Traces(), after30);
}

// ---------------------------------------------------------------- the eye's measure

// Traces of a two-level line at 64 samples over two bit times from the
// sampling instant: each is the sent level with its edges at -0.5 and 0.5
// bit times, the edge drawn between neighbouring samples.
void AddSquareTrace(TEyeDiagram& eye, double before, double during, double after,
                    double offset = 0) {
  std::vector<double> t, v;
  for (int i = 0; i <= 64; ++i) {
    const double x = -1 + i / 32.0 + 1 / 64.0 * (i < 64);
    t.push_back(x);
    v.push_back((x < -0.5 ? before : x < 0.5 ? during : after) + offset);
  }
  eye.AddTrace(t.data(), v.data(), t.size());
}

TEST(EyeMeasure, HeightAndWidthFromTheDensity) {
  constexpr double row = 4.0 / 128, column = 2.0 / 256;
  const struct {
    const char* name;
    std::function<void(TEyeDiagram&)> fill;
    double height, width;  // worked out on the grid, one cell either way
    bool open;
  } rows[] = {
      // rails at +1 (row 96) and -1 (row 32): the rows 33..95 between them are empty
      {"clean rails",
       [](TEyeDiagram& e) {
         for (int i = 0; i < 50; ++i) {
           AddSquareTrace(e, -1, 1, -1);
           AddSquareTrace(e, 1, -1, 1);
           AddSquareTrace(e, 1, 1, 1);
           AddSquareTrace(e, -1, -1, -1);
         }
       },
       63 * row, 1.0, true},
      // flipped bits are clean levels too: the eye stays as open
      {"clean rails, some bits flipped",
       [](TEyeDiagram& e) {
         for (int i = 0; i < 50; ++i) {
           AddSquareTrace(e, -1, 1, -1);
           AddSquareTrace(e, 1, -1, 1);
         }
         for (int i = 0; i < 5; ++i)
           AddSquareTrace(e, 1, 1, -1);
       },
       63 * row, 1.0, true},
      // a rare outlier through the threshold is noise, not a closed eye
      {"one stray trace in two hundred",
       [](TEyeDiagram& e) {
         for (int i = 0; i < 100; ++i) {
           AddSquareTrace(e, -1, 1, -1);
           AddSquareTrace(e, 1, -1, 1);
         }
         AddSquareTrace(e, 0, 0, 0, 0.01);
       },
       63 * row, 1.0, true},
      // a rail squeezed to 0.5: rows 33..79 lie between -1 and +0.5 (row 80)
      {"a low upper rail",
       [](TEyeDiagram& e) {
         for (int i = 0; i < 50; ++i) {
           AddSquareTrace(e, -1, 0.5, -1);
           AddSquareTrace(e, 0.5, -1, 0.5);
         }
       },
       47 * row, 1.0, true},
      {"traces through the threshold at the instant",
       [](TEyeDiagram& e) {
         for (int i = 0; i < 50; ++i) {
           AddSquareTrace(e, -1, 1, -1);
           AddSquareTrace(e, 0, 0, 0, 0.01);
         }
       },
       0, 0, false},
      {"one rail only",
       [](TEyeDiagram& e) {
         for (int i = 0; i < 50; ++i)
           AddSquareTrace(e, 1, 1, 1);
       },
       0, 0, false},
      // a slow cable: every edge a ramp from 0.1 bit times before a border to 0.1
      // after; a column keeps half the rails' opening where the ramp is at half
      // its swing, 0.05 from each border: 1 - 2 x 0.05 bit times
      {"ramps between the bits",
       [](TEyeDiagram& e) {
         for (int i = 0; i < 50; ++i)
           for (double sign : {-1.0, 1.0}) {
             std::vector<double> t, v;
             for (int k = 0; k <= 64; ++k) {
               const double x = -1 + k / 32.0;
               const double d = std::min(std::abs(x + 0.5), std::abs(x - 0.5));
               const double level = d >= 0.1 ? 1 : d / 0.1;  // 0 at the border, 1 from 0.1 on
               t.push_back(x);
               v.push_back(sign * (std::abs(x) < 0.5 ? level : -level));
             }
             e.AddTrace(t.data(), v.data(), t.size());
           }
       },
       63 * row, 0.9, true},
      {"nothing yet", [](TEyeDiagram&) {}, 0, 0, false},
  };
  for (const auto& r : rows) {
    TEyeDiagram eye;
    eye.SetThreshold(0);
    r.fill(eye);
    const TEyeOpening o = MeasureEye(eye);
    EXPECT_NEAR(o.height, r.height, row + 1e-9) << r.name;
    EXPECT_NEAR(o.width, r.width, 4 * column + 1e-9) << r.name;
    EXPECT_EQ(o.open, r.open) << r.name;
  }
}

TEST(EyeMeasure, ColoursAndText) {
  EXPECT_EQ(DensityColor(0, 10), tk::clWhite);
  EXPECT_EQ(DensityColor(10, 10), tk::RGB(8, 48, 107));  // the busiest cell is darkest
  EXPECT_EQ(DensityColor(1, 1), tk::RGB(8, 48, 107));
  // darker as the count grows
  int last = 3 * 255;
  for (std::uint32_t n : {1u, 3u, 10u, 30u, 100u}) {
    const tk::TColor c = DensityColor(n, 100);
    const int sum = tk::RedOf(c) + tk::GreenOf(c) + tk::BlueOf(c);
    EXPECT_LT(sum, last) << n;
    last = sum;
  }
  EXPECT_EQ(EyeOpeningText({1.5, 0.875, true}), "Eye height 1.5 levels, width 0.875 bit times");
  EXPECT_EQ(EyeOpeningText({0, 0, false}),
            "Eye height 0 levels, width 0 bit times: the eye is closed");
}

}  // namespace
