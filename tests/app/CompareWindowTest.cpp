// The compare window, opened from the real window: its lines against a
// transmission ticked through the model, its bands and their names, the bits
// it follows while sending, its statistics table, and its keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/CompareWindow.h"
#include "app/Unit1.h"
#include "tests/support/TransmissionDoubles.h"
#include "toolkit/Application.h"
#include "toolkit/RecordingSurface.h"

namespace {

// A transmission of `text` ticked through the model, bit by bit as the window sends it.
std::vector<Pt> Transmitted(const std::string& text, int encoding, std::uint32_t bitTime,
                            bool startStop, bool parity) {
  struct Inputs : TTransmissionInputs {
    int encoding;
    std::uint32_t bitTime;
    bool startStop, parity;
    bool StartStopBits() const override { return startStop; }
    bool Parity() const override { return parity; }
    int Encoding() const override { return encoding; }
    std::uint32_t BitTime() const override { return bitTime; }
  } inputs;
  inputs.encoding = encoding;
  inputs.bitTime = bitTime;
  inputs.startStop = startStop;
  inputs.parity = parity;
  FakeTextSource source(text);
  RecordingBuffer buffer;
  RecordingSignal signal;
  TTransmissionModel model(source, buffer, signal, inputs);
  model.Start();
  for (std::size_t i = 0; i < 12 * text.size(); ++i) model.Tick();
  return signal.points;
}

class CompareWindowTest : public ::testing::Test {
 protected:
  void Options(bool startStop, bool parity) {
    form.CheckBox1.SetChecked(startStop);
    form.CheckBox2.SetChecked(parity);
    form.nrbChange();
  }
  void Open() {
    for (int i = 0; i < form.ChartMenu.Count(); ++i)
      if (form.ChartMenu.Item(i).Caption() == "Com&pare encodings") form.ChartMenu.Item(i).Click();
    ASSERT_NE(form.Compare(), nullptr);
  }
  TCompareWindow& Window() { return *form.Compare(); }
  TForm1 form;
};

TEST_F(CompareWindowTest, LinesAreTheModelsTransmissionInTheirBands) {
  form.Edit1.SetText("KELDO");
  Options(true, true);
  Open();
  // 62 ms at the designed 16 bits/s; bands from the top, three levels apart
  const double offsets[] = {12, 9, 6, 3, 0};
  ASSERT_EQ(Window().Input().bits.size(), 60u);
  for (int e = 0; e < kEncodingCount; ++e) {
    SCOPED_TRACE(EncodingName(e));
    EXPECT_EQ(TCompareWindow::Offset(e), offsets[e]);
    const std::vector<Pt> expected = Transmitted("KELDO", e, 62, true, true);
    TFastLineSeries& line = Window().Line(e);
    ASSERT_EQ(line.PointCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < line.PointCount(); ++i)
      ASSERT_EQ((Pt{line.XValueAt(i), line.YValueAt(i) - offsets[e]}), expected[i]) << i;
    EXPECT_EQ(line.Title(), EncodingName(e));
  }
  // one value-and-role label per bit, in the middle of its bit
  TPointSeries& labels = Window().BitLabels();
  ASSERT_EQ(labels.PointCount(), 60);
  EXPECT_EQ(labels.PointLabel(0), "0 S");   // K's start bit
  EXPECT_EQ(labels.PointLabel(2), "1 6");   // 0x4B = 01001011
  EXPECT_EQ(labels.PointLabel(9), "0 P");   // four ones: even parity 0
  EXPECT_EQ(labels.PointLabel(11), "1 T");
  EXPECT_EQ(labels.XValueAt(1), 1.5 * 62);
}

TEST_F(CompareWindowTest, LeftAxisNamesTheBandsTopDownAndTheLegendListsThem) {
  form.Edit1.SetText("K");
  Open();
  tk::TRecordingSurface surface;
  TChart& chart = Window().Chart;
  chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  std::map<std::string, std::vector<int>> textYs;
  for (const tk::TDrawCall& c : surface.Calls())
    if (c.op == "TextOut") textYs[c.text].push_back(c.args.size() > 1 ? c.args[1] : 0);
  int lastY = -1;
  for (int e = 0; e < kEncodingCount; ++e) {
    SCOPED_TRACE(EncodingName(e));
    const std::vector<int>& ys = textYs[EncodingName(e)];
    ASSERT_EQ(ys.size(), 2u);  // once on the axis, once in the legend under the chart
    const int axisY = std::min(ys[0], ys[1]);
    EXPECT_GT(axisY, lastY);  // the first encoding stands highest
    lastY = axisY;
  }
  EXPECT_EQ(textYs.count("12"), 0u);  // no level numbers left on the axis
  EXPECT_EQ(textYs.count("Line encodings of \"K\""), 1u);
}

// The texts on the chart that are whole numbers: the bottom axis's labels.
// A chart draws through the bitmap its first surface made, which logs into that
// surface: one surface serves every paint of a chart.
std::vector<double> NumberLabels(TChart& chart, tk::TRecordingSurface& surface) {
  surface.Clear();
  chart.PaintInto(surface, {0, 0, chart.Width(), chart.Height()});
  std::vector<double> out;
  for (const tk::TDrawCall& c : surface.Calls()) {
    if (c.op != "TextOut" || c.text.empty()) continue;
    std::size_t used = 0;
    const double v = std::stod(c.text.find_first_not_of("0123456789") == std::string::npos
                                   ? c.text : "nan", &used);
    if (used == c.text.size() && v == v) out.push_back(v);
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(CompareWindowTest, BottomLabelsStandOnBitBoundaries) {
  // 62 ms bits; with 40 bits over the axis the labels need several bits between them
  const struct {
    const char* text;
    std::size_t minimumLabels;
  } rows[] = {{"K", 8}, {"KE", 8}, {"KELDO", 5}};
  tk::TRecordingSurface surface;
  for (const auto& r : rows) {
    form.Edit1.SetText(r.text);
    Open();
    const std::vector<double> labels = NumberLabels(Window().Chart, surface);
    SCOPED_TRACE(r.text);
    ASSERT_GE(labels.size(), r.minimumLabels);
    const double step = labels[1] - labels[0];
    EXPECT_EQ(std::fmod(step, 62), 0);
    for (std::size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i], labels[0] + i * step) << i;
    EXPECT_EQ(std::fmod(labels[0], 62), 0);
  }
}

// A bit label is drawn only where its bit is wider than it: 11 bits of 62 ms
// over the axis give each bit about 57 px, 60 bits about 10 px.
TEST_F(CompareWindowTest, BitLabelsShowOnlyWhereTheyFit) {
  const struct {
    const char* text;
    bool framed;
    std::size_t drawn;
  } rows[] = {{"K", true, 11}, {"KELDO", true, 0}};
  tk::TRecordingSurface surface;
  for (const auto& r : rows) {
    form.Edit1.SetText(r.text);
    Options(r.framed, false);
    Open();
    surface.Clear();
    Window().Chart.PaintInto(surface, {0, 0, Window().Chart.Width(), Window().Chart.Height()});
    std::size_t drawn = 0;
    for (const tk::TDrawCall& c : surface.Calls())
      drawn += c.op == "TextOut" && c.text.size() == 3 && c.text[1] == ' ';
    EXPECT_EQ(drawn, r.drawn) << r.text;
  }
}

TEST_F(CompareWindowTest, FollowsTheBitsWhileSendingAndTheTextBeforeStart) {
  form.Edit1.SetText("KE");
  Options(true, false);
  Open();
  EXPECT_EQ(Window().Input().bits, "00100101111" "00100010111");
  EXPECT_EQ(Window().Input().text, "KE");
  form.Button1.Click();
  EXPECT_EQ(Window().Input().bits, "");  // START: nothing sent yet
  for (int i = 0; i < 13; ++i) form.Timer1Timer();
  form.Timer1.SetEnabled(false);
  EXPECT_EQ(Window().Input().bits, "00100101111" "00");
  EXPECT_EQ(Window().Input().roles, "S76543210TT" "S7");
  EXPECT_EQ(Window().Input().text, "KE");
  EXPECT_EQ(Window().Line(leUnipolar).PointCount(), 2 * 13);
  form.Button2.Click();  // Clear: back to the text box, which still holds nothing sent
  EXPECT_EQ(Window().Input().text, form.Edit1.Text());
}

// While sending, a tick gives each line exactly the points of its new bit and
// leaves the earlier ones as they were: the window never draws its history again.
TEST_F(CompareWindowTest, SendingAddsOnlyTheNewBitsPoints) {
  form.Edit1.SetText("KE");
  Options(true, true);
  Open();
  form.Button1.Click();
  int added[kEncodingCount] = {}, cleared = 0;
  for (int e = 0; e < kEncodingCount; ++e) {
    Window().Line(e).OnAfterAdd = [&added, e](TChartSeries*, int) { ++added[e]; };
    Window().Line(e).OnClearValues = [&cleared](TChartSeries*) { ++cleared; };
  }
  // the signal's own encoding is no business of the compare chart's
  const int signalEncodings[] = {leUnipolar, leManchester, leNrzI};
  for (int tick = 0; tick < 24; ++tick) {
    SCOPED_TRACE(tick);
    form.RG1.SetItemIndex(signalEncodings[tick % 3]);
    std::vector<std::vector<Pt>> before(kEncodingCount);
    for (int e = 0; e < kEncodingCount; ++e)
      for (int i = 0; i < Window().Line(e).PointCount(); ++i)
        before[e].push_back({Window().Line(e).XValueAt(i), Window().Line(e).YValueAt(i)});
    std::fill(std::begin(added), std::end(added), 0);
    form.Timer1Timer();
    for (int e = 0; e < kEncodingCount; ++e) {
      ASSERT_EQ(added[e], PointsPerBit(e)) << EncodingName(e);
      ASSERT_EQ(Window().Line(e).PointCount(), static_cast<int>(before[e].size()) + added[e]);
      for (std::size_t i = 0; i < before[e].size(); ++i)
        ASSERT_EQ((Pt{Window().Line(e).XValueAt(static_cast<int>(i)),
                      Window().Line(e).YValueAt(static_cast<int>(i))}), before[e][i]);
    }
    ASSERT_EQ(Window().BitLabels().PointCount(), tick + 1);
  }
  form.Timer1.SetEnabled(false);
  EXPECT_EQ(cleared, 0);
  // bit by bit, the lines come out as the model draws the whole transmission at once
  for (int e = 0; e < kEncodingCount; ++e) {
    SCOPED_TRACE(EncodingName(e));
    const std::vector<Pt> expected = Transmitted("KE", e, 62, true, true);
    TFastLineSeries& line = Window().Line(e);
    ASSERT_EQ(line.PointCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < line.PointCount(); ++i)
      ASSERT_EQ((Pt{line.XValueAt(i), line.YValueAt(i) - TCompareWindow::Offset(e)}),
                expected[i]) << i;
  }
}

// The last position the bar reaches: its Max counts the page in.
int LastPosition(const tk::TScrollBar& bar) {
  return bar.Max() - std::max(0, bar.PageSize() - 1);
}

// A left drag zooms, the bar then moves the zoomed window as the signal
// chart's does, a window at the newest bit follows the bits and one scrolled
// back stays; the reverse drag shows the whole transmission again.
TEST_F(CompareWindowTest, ScrollBarMovesTheZoomedWindowAndFollowsNewBits) {
  form.Edit1.SetText("KE");  // 16 bits of 62 ms
  Open();
  form.Button1.Click();
  const auto send = [&](int bits) {
    for (int i = 0; i < bits; ++i) form.Timer1Timer();
    form.Timer1.SetEnabled(false);
  };
  send(8);
  TCompareWindow& w = Window();
  TChartAxis& bottom = w.Chart.BottomAxis();
  tk::TScrollBar& bar = w.ScrollBar;
  const auto window = [&] { return std::make_pair(bottom.Minimum(), bottom.Maximum()); };
  EXPECT_EQ(window(), std::make_pair(0.0, 496.0));  // not zoomed: every bit in view
  EXPECT_EQ(LastPosition(bar), 0);
  std::vector<std::string> messages;
  tk::SetErrorHandler([&](const std::string& m) { messages.push_back(m); });

  w.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.Widget()));
  w.Chart.RepaintNow();
  QWidget* chart = w.Chart.Widget();
  const auto pixel = [&](double ms) { return bottom.ValueToPixel(ms); };
  const QPoint from(pixel(62), 60), to(pixel(186), 300);
  QTest::mousePress(chart, Qt::LeftButton, {}, from);
  for (int i = 1; i <= 4; ++i) QTest::mouseMove(chart, from + (to - from) * i / 4);
  QTest::mouseRelease(chart, Qt::LeftButton, {}, to);
  ASSERT_FALSE(w.Chart.Restored());
  const double width = bottom.Maximum() - bottom.Minimum();
  EXPECT_NEAR(bottom.Minimum(), 62, 2);
  EXPECT_NEAR(width, 124, 4);

  const struct {
    const char* step;
    int bits;         // sent first
    int moveTo;       // then the bar goes here; -1 leaves it, -2 presses End on it
    double left;      // the window's left edge after both
  } rows[] = {
      {"zoomed: the bar shows the window", 0, -1, bottom.Minimum()},
      {"scrolled back, new bits leave it", 4, -1, bottom.Minimum()},
      {"the bar moves it, keeping its width", 0, 300, 300},
      {"End takes it to the newest bit", 0, -2, std::ceil(744 - width)},
      {"at the newest bit it follows them", 2, -1, 868 - width},
      {"far back in one move, no message", 0, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.step);
    send(r.bits);
    if (r.moveTo == -2) {
      bar.SetFocus();
      QTest::keyClick(bar.Widget(), Qt::Key_End);
    } else if (r.moveTo >= 0) {
      bar.SetPosition(r.moveTo);
    }
    const double end = static_cast<double>(w.Input().bits.size()) * 62;
    EXPECT_DOUBLE_EQ(bottom.Minimum(), r.left);
    EXPECT_NEAR(bottom.Maximum() - bottom.Minimum(), width, 1e-9);
    EXPECT_EQ(bar.Position(), std::lround(r.left));
    EXPECT_EQ(bar.PageSize(), std::lround(width));
    EXPECT_EQ(LastPosition(bar), static_cast<int>(std::ceil(end - width)));
  }
  EXPECT_TRUE(messages.empty()) << messages.front();
  tk::SetErrorHandler(nullptr);

  QTest::mousePress(chart, Qt::LeftButton, {}, to);
  for (int i = 1; i <= 4; ++i) QTest::mouseMove(chart, to + (from - to) * i / 4);
  QTest::mouseRelease(chart, Qt::LeftButton, {}, from);
  EXPECT_TRUE(w.Chart.Restored());
  EXPECT_EQ(window(), std::make_pair(0.0, 14 * 62.0));
  EXPECT_EQ(LastPosition(bar), 0);
}

TEST_F(CompareWindowTest, StatisticsTableOfKeldo) {
  form.Edit1.SetText("KELDO");
  form.SpinEdit1.SetValue(10);
  Open();
  // worked out by hand for the 40 data bits (see LineStatisticsTest): at 10 bits/s
  const char* rows[kEncodingCount][kStatisticsColumns] = {
      {"Unipolar", "0.575", "4.0", "0.425", "5.0"},
      {"NRZ-L", "0.575", "4.0", "0.150", "5.0"},
      {"NRZ-I", "0.425", "4.0", "0.000", "5.0"},
      {"RZ", "1.975", "0.5", "-0.075", "10.0"},
      {"Manchester", "1.400", "1.0", "0.000", "10.0"},
  };
  for (int r = 0; r < kEncodingCount; ++r)
    for (int c = 0; c < kStatisticsColumns; ++c)
      EXPECT_EQ(Window().Statistics.Cell(c, r), rows[r][c]) << r << "," << c;
  for (int c = 0; c < kStatisticsColumns; ++c) {
    EXPECT_FALSE(Window().Statistics.Caption(c).empty());
    EXPECT_FALSE(Window().Statistics.HeaderHint(c).empty()) << c;
  }
}

TEST(CompareFixedText, CLocaleFixedDecimals) {
  const struct {
    double v;
    int decimals;
    const char* text;
  } rows[] = {{0.425, 3, "0.425"}, {-0.075, 3, "-0.075"}, {-0.0, 3, "0.000"},
              {1234.5, 1, "1234.5"}, {12, 0, "12"}, {2.5, 1, "2.5"}};
  for (const auto& r : rows) EXPECT_EQ(FixedText(r.v, r.decimals), r.text) << r.v;
}

TEST_F(CompareWindowTest, CtrlEOnTheChartOpensAndEscCloses) {
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  form.Widget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
  form.Chart1.SetFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.Chart1.Widget()->hasFocus(); }, 2000));
  QTest::keyClick(form.Widget()->windowHandle(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.Compare() != nullptr; }, 2000));
  QWidget* w = Window().Widget();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  // Tab walks chart, scroll bar, table
  Window().Chart.SetFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Window().Chart.Focused(); }, 2000));
  QTest::keyClick(w->windowHandle(), Qt::Key_Tab);
  EXPECT_TRUE(Window().ScrollBar.Focused());
  QTest::keyClick(w->windowHandle(), Qt::Key_Tab);
  EXPECT_TRUE(Window().Statistics.Focused());
  QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isVisible(); }, 2000));
}

}  // namespace
