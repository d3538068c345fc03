// Cost of one clock tick of the transmission model, with a receive buffer that
// already holds N characters: a tick must stay constant work however long the
// student has been sending.
#include <benchmark/benchmark.h>

#include <string>

#include "app/TransmissionModel.h"

namespace {

struct Source : TTextSource {
  std::string text;
  std::string Text() const override { return text; }
  void SetText(const std::string& t) override { text = t; }
  void SetEnabled(bool) override {}
  bool IsEmpty() const override { return text.empty(); }
};

struct Buffer : TReceiveBufferSink {
  std::string text;
  void AppendText(const std::string& s) override { text += s; }
  void ClearText() override { text.clear(); }
};

struct Signal : TSignalSink {
  double sum = 0;
  void AddPoint(double x, double y) override { sum += x + y; }
  void ClearPoints() override {}
};

struct Inputs : TTransmissionInputs {
  bool StartStopBits() const override { return true; }
  bool Parity() const override { return true; }
  int Encoding() const override { return leManchester; }
  std::uint32_t BitTime() const override { return 1; }
};

void BM_Tick(benchmark::State& state) {
  Source text;
  Buffer buffer;
  Signal signal;
  Inputs inputs;
  buffer.text.assign(static_cast<size_t>(state.range(0)), '0');
  TTransmissionModel model(text, buffer, signal, inputs);
  model.Start();
  for (auto _ : state) {
    if (text.text.empty()) text.text = "KELDO";
    model.Tick();
  }
  benchmark::DoNotOptimize(signal.sum);
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_Tick)->Arg(1000)->Arg(100000)->Arg(1000000);
