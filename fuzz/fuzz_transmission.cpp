// The transmission model with random texts and option changes between ticks.
// Checks what holds for every encoding: the receive buffer gets one digit per
// sent bit, times never go back, and the levels are the encoders' levels.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "app/TransmissionModel.h"
#include "tests/support/TransmissionDoubles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  FakeTextSource text(in.ConsumeRandomLengthString(256));
  RecordingBuffer buffer;
  RecordingSignal signal;
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
    for (char c : buffer.text)
      if (c != '0' && c != '1' && c != ' ' && c != '\n' && c != '\r') std::abort();
    for (std::size_t i = 1; i < signal.points.size(); ++i)
      if (signal.points[i].x < signal.points[i - 1].x && signal.points[i].x != 0) std::abort();
    for (const Pt& p : signal.points)
      if (!(p.y >= -1 && p.y <= 1)) std::abort();
  }
  return 0;
}
