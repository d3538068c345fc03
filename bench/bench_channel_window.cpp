// The channel's cost in the real window at 1000 bits/s (NRZ-L, start/stop
// bits and parity): one clock tick, and one paint of the signal chart showing
// the last second, with the channel off (ideal) and on (a cable of 0.3 bit
// times, noise of 0.1 and a bit error rate of 1e-3). The ticks run with the
// newest bit inside the window, where the received line grows with each bit,
// and with the window left where it was designed (0..999 ms), where new bits
// fall outside it. A measurement, not a test: nothing is asserted.
#include <benchmark/benchmark.h>

#include <QImage>
#include <string>

#include "app/Unit1.h"
#include "toolkit/QtSurface.h"

namespace {

constexpr int kHistoryBits = 20 * 1000;  // 20 s at 1000 bits/s before measuring

struct Window {
  TForm1 form;
  QImage image;
  explicit Window(bool channelOn) {
    form.SpinEdit1.SetValue(1000);
    form.CheckBox1.SetChecked(true);
    form.CheckBox2.SetChecked(true);
    form.RG1.SetItemIndex(leNrzL);
    form.Edit1.SetText(std::string(20000, 'K'));
    form.Button1.Click();
    form.Timer1.SetEnabled(false);  // the benchmark drives the tick handler itself
    if (channelOn) {
      form.ChannelClick();
      form.ChannelDialog()->OnSettings({0.3, 0.1, 1e-3, 0, 1});
      form.ChannelDialog()->Hide();
    }
    for (int i = 0; i < kHistoryBits; ++i)
      Tick();
    form.Channel().Recount().Finish();
    Paint();  // the axes learn their pixels, as the shown window's do at once
  }
  void Paint() {
    TChart& chart = form.Chart1;
    if (image.isNull()) image = QImage(chart.Width(), chart.Height(), QImage::Format_RGB32);
    chart.Canvas().MarkDirty();
    tk::TQtSurface surface(&image);
    chart.PaintInto(surface, {0, 0, image.width(), image.height()});
  }
  void Tick() {
    if (form.Edit1.IsEmpty()) form.Edit1.SetText(std::string(20000, 'K'));
    form.Timer1Timer();
  }
  double Now() const { return form.Model().ElapsedMs(); }
  // the window's right edge `ahead` ms past the newest bit
  void ShowNewest(double ahead) {
    form.Chart1.BottomAxis().SetLimits(Now() + ahead - 999, Now() + ahead);
    form.Channel().WindowMoved();
  }
};

const char* Label(bool on) {
  return on ? "channel on" : "channel off";
}

void BM_Tick_InWindow(benchmark::State& state) {
  const bool on = state.range(0) != 0;
  Window w(on);
  int sinceMove = 1000;
  for (auto _ : state) {
    if (sinceMove >= 900) {  // keep the newest bit inside the window
      state.PauseTiming();
      w.ShowNewest(950);
      sinceMove = 0;
      state.ResumeTiming();
    }
    w.Tick();
    ++sinceMove;
  }
  state.SetLabel(std::string(Label(on)) + ", newest bit in the window");
}

void BM_Tick_DesignedWindow(benchmark::State& state) {
  const bool on = state.range(0) != 0;
  Window w(on);
  for (auto _ : state)
    w.Tick();
  state.SetLabel(std::string(Label(on)) + ", window 0..999 ms");
}

void BM_Paint_LastSecond(benchmark::State& state) {
  const bool on = state.range(0) != 0;
  Window w(on);
  w.ShowNewest(0);
  for (auto _ : state)
    w.Paint();
  state.SetLabel(std::string(Label(on)) + ", received line " +
                 std::to_string(w.form.Channel().Received().PointCount()) + " points");
}

}  // namespace

BENCHMARK(BM_Tick_InWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Tick_DesignedWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint_LastSecond)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
