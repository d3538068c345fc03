// The transmission model with random texts and option changes between ticks.
// Checks what holds for every encoding: the receive buffer gets one digit per
// sent bit, times never go back, and the levels are the encoders' levels.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "app/TransmissionModel.h"
#include "tests/support/TransmissionDoubles.h"

namespace {

// The sinks check what arrives as it arrives and keep only the last point:
// rescanning everything received after every step made an input of 2000 steps
// cost millions of comparisons, and the growing copies most of the run's time.
class CheckingBuffer : public TReceiveBufferSink {
 public:
  void AppendText(const std::string& s) override {
    for (char c : s)
      if (c != '0' && c != '1' && c != ' ' && c != '\n' && c != '\r') std::abort();
  }
  void ClearText() override {}
};

class CheckingSignal : public TSignalSink {
 public:
  void AddPoint(double x, double y) override {
    if (!(y >= -1 && y <= 1)) std::abort();
    if (any_ && x < last_ && x != 0) std::abort();
    any_ = true;
    last_ = x;
  }
  void ClearPoints() override { any_ = false; }

 private:
  bool any_ = false;
  double last_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  FakeTextSource text(in.ConsumeRandomLengthString(256));
  CheckingBuffer buffer;
  CheckingSignal signal;
  FakeInputs inputs;
  inputs.bitTime = in.ConsumeIntegralInRange<std::uint32_t>(1, 1000);
  TTransmissionModel model(text, buffer, signal, inputs);
  model.Start();
  for (int step = 0; step < 2000 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0:
        inputs.startStop = !inputs.startStop;
        model.UpdateFrameLength();
        break;
      case 1:
        inputs.parity = !inputs.parity;
        model.UpdateFrameLength();
        break;
      case 2:
        inputs.encoding = in.ConsumeIntegralInRange(-1, 5);
        break;
      case 3:
        inputs.bitTime = in.ConsumeIntegralInRange<std::uint32_t>(1, 1000);
        break;
      case 4:
        text.SetText(in.ConsumeRandomLengthString(64));
        break;
      case 5:
        model.Reset();
        break;
      case 6:
        model.Start();
        break;
      default:
        model.Tick();
        break;
    }
  }
  return 0;
}
