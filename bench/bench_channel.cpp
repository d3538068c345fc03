// What the channel costs at 1000 bits/s: per sent bit with each knob and with
// all of them against the ideal channel, beside a tick and a paint of the real
// window; the received wave of a 1000 ms window deep in an hour's history; the
// recount of that hour after a settings change; the eye's cost per bit; and
// the bytes the history holds per bit.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Channel.h"
#include "app/LineStatistics.h"
#include "app/Unit1.h"
#include "toolkit/QtSurface.h"

namespace {

constexpr std::size_t kHour = 3600u * 1000u;  // bits of an hour at 1 ms a bit

// Frames of "KELDO" with start/stop bits and parity at 1 ms a bit, as the model sends them.
std::vector<TSentBit> Frames(int encoding, std::size_t count) {
  std::vector<TSentBit> bits;
  bits.reserve(count);
  const std::string text = "KELDO";
  std::int32_t nrzi = 1;
  for (std::size_t c = 0; bits.size() < count; ++c) {
    const unsigned char ch = static_cast<unsigned char>(text[c % text.size()]);
    std::string frame(1, '0');
    frame += ToBinary(ch);
    int ones = 0;
    for (char d : frame) ones += d == '1';
    frame += (ones % 2) ? "1" : "0";
    frame += "11";
    for (int p = 0; p < 12 && bits.size() < count; ++p) {
      TSentBit b;
      b.digit = frame[static_cast<std::size_t>(p)];
      b.encoding = encoding;
      b.bitTime = 1;
      b.startMs = static_cast<double>(bits.size());
      b.startStop = b.parity = true;
      b.position = p;
      b.nrziBefore = nrzi;
      LineLevels(encoding, b.digit, nrzi);
      bits.push_back(b);
    }
  }
  return bits;
}

TChannelSettings Knob(int which) {
  TChannelSettings s;
  switch (which) {
    case 1: s.tau = 0.5; break;
    case 2: s.sigma = 0.3; break;
    case 3: s.ber = 0.01; break;
    case 4: s.skew = 0.03; break;
    case 5: s.tau = 0.5, s.sigma = 0.3, s.ber = 0.01, s.skew = 0.03; break;
    default: break;
  }
  return s;
}
const char* const kKnobNames[] = {"ideal", "tau 0.5", "sigma 0.3", "ber 0.01", "skew 3%", "all"};

// One sent bit fed to the channel; the history is cleared every 2^20 bits
// (outside the timing) so the memory stays put over long runs.
void BM_ChannelBit(benchmark::State& state) {
  const int encoding = static_cast<int>(state.range(0));
  const std::vector<TSentBit> bits = Frames(encoding, 1u << 20);
  TChannel ch(Knob(static_cast<int>(state.range(1))));
  std::size_t i = 0;
  for (auto _ : state) {
    if (i == bits.size()) {
      state.PauseTiming();
      ch.Clear();
      i = 0;
      state.ResumeTiming();
    }
    ch.AddBit(bits[i++]);
  }
  benchmark::DoNotOptimize(ch.Counters().bitsWrong);
  state.SetLabel(std::string(EncodingName(encoding)) + ", " + kKnobNames[state.range(1)]);
}

// The real window's tick at 1000 bits/s with both framing options, and a paint of its chart.
struct Window {
  explicit Window(int encoding) {
    form.SpinEdit1.SetValue(1000);
    form.CheckBox1.SetChecked(true);
    form.CheckBox2.SetChecked(true);
    form.RG1.SetItemIndex(encoding);
    form.Button1.Click();
    form.Timer1.SetEnabled(false);
  }
  void Tick() {
    if (form.Edit1.IsEmpty()) form.Edit1.SetText("KELDO");
    form.Timer1Timer();
  }
  TForm1 form;
};

void BM_WindowTick(benchmark::State& state) {
  Window w(static_cast<int>(state.range(0)));
  for (int i = 0; i < 10000; ++i) w.Tick();
  for (auto _ : state) w.Tick();
  state.SetLabel(EncodingName(static_cast<int>(state.range(0))));
}

void BM_WindowPaint(benchmark::State& state) {
  Window w(static_cast<int>(state.range(0)));
  for (int i = 0; i < 10000; ++i) w.Tick();
  QImage image(w.form.Chart1.Width(), w.form.Chart1.Height(), QImage::Format_RGB32);
  for (auto _ : state) {
    w.form.Chart1.Canvas().MarkDirty();
    tk::TQtSurface surface(&image);
    w.form.Chart1.PaintInto(surface, {0, 0, image.width(), image.height()});
  }
  state.SetLabel(std::string(EncodingName(static_cast<int>(state.range(0)))) + ", 10 s of history");
}

// An hour's history, built once per encoding and settings.
TChannel& HourChannel(int encoding, int knob) {
  static std::unique_ptr<TChannel> channels[5][6];
  std::unique_ptr<TChannel>& ch = channels[encoding][knob];
  if (!ch) {
    ch = std::make_unique<TChannel>(Knob(knob));
    for (const TSentBit& b : Frames(encoding, kHour)) ch->AddBit(b);
  }
  return *ch;
}

void BM_WindowWave(benchmark::State& state) {
  const int encoding = static_cast<int>(state.range(0)), knob = static_cast<int>(state.range(1));
  TChannel& ch = HourChannel(encoding, knob);
  std::vector<double> xs, ys;
  double x0 = kHour / 2.0;
  for (auto _ : state) {
    ch.FillWave(x0, x0 + 1000, xs, ys);
    x0 += 1.0;  // a scrolling window
  }
  state.SetLabel(std::string(EncodingName(encoding)) + ", " + kKnobNames[knob] + ", " +
                 std::to_string(xs.size()) + " samples");
}

void BM_Recount(benchmark::State& state) {
  const int encoding = static_cast<int>(state.range(0));
  TChannel& ch = HourChannel(encoding, 0);
  bool all = false;
  for (auto _ : state) {
    all = !all;
    ch.SetSettings(all ? Knob(5) : Knob(0));
    while (!ch.RunRecount(100000)) {
    }
  }
  state.counters["bits"] = static_cast<double>(ch.BitCount());
  state.counters["bytes/bit"] = static_cast<double>(ch.HistoryBytes()) / static_cast<double>(ch.BitCount());
  state.SetLabel(std::string(EncodingName(encoding)) + ", 1 h, ideal <-> all knobs");
}

// The eye following the transmission, fed after every bit or once a paint (16
// ms, so 16 bits), all knobs on; per bit, the channel's own cost included.
void BM_EyeBit(benchmark::State& state) {
  const int encoding = static_cast<int>(state.range(0));
  const auto every = static_cast<std::size_t>(state.range(1));
  const std::vector<TSentBit> bits = Frames(encoding, 1u << 20);
  TChannel ch(Knob(5));
  TEyeDiagram eye;
  std::size_t i = 0, next = 0;
  for (auto _ : state) {
    if (i == bits.size()) {
      state.PauseTiming();
      ch.Clear();
      i = next = 0;
      state.ResumeTiming();
    }
    ch.AddBit(bits[i++]);
    if (i % every == 0) ch.FeedEye(eye, next);
  }
  state.SetLabel(std::string(EncodingName(encoding)) + ", all knobs, AddBit + FeedEye every " +
                 std::to_string(every) + " bits");
}

void BytesPerBit(benchmark::State& state) {
  const int encoding = static_cast<int>(state.range(0));
  TChannel& ch = HourChannel(encoding, 5);
  for (auto _ : state) benchmark::DoNotOptimize(ch.HistoryBytes());
  state.counters["bytes/bit"] = static_cast<double>(ch.HistoryBytes()) / static_cast<double>(ch.BitCount());
  state.SetLabel(std::string(EncodingName(encoding)) + ", 1 h, all knobs");
}

}  // namespace

BENCHMARK(BM_WindowTick)->Arg(leNrzL)->Arg(leManchester);
BENCHMARK(BM_WindowPaint)->Arg(leNrzL)->Arg(leManchester)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChannelBit)->ArgsProduct({{leNrzL, leManchester}, {0, 1, 2, 3, 4, 5}});
BENCHMARK(BM_WindowWave)->ArgsProduct({{leNrzL, leManchester}, {0, 5}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Recount)->Arg(leNrzL)->Arg(leManchester)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_EyeBit)->ArgsProduct({{leNrzL, leManchester}, {1, 16}});
BENCHMARK(BytesPerBit)->Arg(leNrzL)->Arg(leManchester)->Iterations(1);
