// Axis settings in any combination (limits, increments, logarithmic scales,
// inverted and date-time axes, the depth axis in 3D), each followed by a full
// paint on the recording surface. A paint that does not end is caught by
// libFuzzer's -timeout; refused settings must be the engine's own errors.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <memory>

#include "chart/panel/Chart.h"
#include "fuzz/FuzzSupport.h"
#include "toolkit/Errors.h"
#include "toolkit/RecordingSurface.h"

namespace {

double Value(FuzzedDataProvider& in) { return FuzzValue(in, 1000); }

void SetOne(FuzzedDataProvider& in, TChart& ch) {
  TCustomChartAxis* axes[] = {&ch.BottomAxis(), &ch.LeftAxis(), &ch.TopAxis(), &ch.RightAxis(),
                              &ch.DepthAxis()};
  TCustomChartAxis& a = *axes[in.ConsumeIntegralInRange(0, 4)];
  switch (in.ConsumeIntegralInRange(0, 19)) {
    case 0:
      a.SetLimits(Value(in), Value(in));
      break;
    case 1:
      a.SetIncrement(Value(in));
      break;
    case 2:
      a.SetLogarithmic(in.ConsumeBool());
      break;
    case 3:
      a.SetLogarithmicBase(in.ConsumeIntegralInRange(-1, 40));
      break;
    case 4:
      a.SetInverted(in.ConsumeBool());
      break;
    case 5:
      a.SetAutomatic(in.ConsumeBool());
      break;
    case 6:
      a.SetMinimum(Value(in));
      break;
    case 7:
      a.SetMaximum(Value(in));
      break;
    case 8:
      a.SetLabelsAngle(in.ConsumeIntegralInRange(-1, 360));
      break;
    case 9:
      a.SetLabelsSeparation(in.ConsumeIntegralInRange(-1, 200));
      break;
    case 10:
      a.SetDateTimeFormat(in.ConsumeRandomLengthString(12));
      break;
    case 11:
      a.SetAxisValuesFormat(in.ConsumeRandomLengthString(12));
      break;
    case 12:
      a.SetExactDateTime(in.ConsumeBool());
      break;
    case 13:
      a.SetRoundFirstLabel(in.ConsumeBool());
      break;
    case 14:
      a.SetLabelsOnAxis(in.ConsumeBool());
      break;
    case 15:
      a.SetMinorTickCount(in.ConsumeIntegralInRange(-1, 20));
      break;
    case 16:
      a.SetVisible(in.ConsumeBool());
      break;
    case 17:
      a.SetStartPosition(in.ConsumeFloatingPointInRange<double>(-50, 150));
      a.SetEndPosition(in.ConsumeFloatingPointInRange<double>(-50, 150));
      break;
    case 18:
      ch.SetView3D(in.ConsumeBool());
      break;
    default:
      ch.View3DOptions().SetOrthogonal(in.ConsumeBool());
      ch.View3DOptions().SetRotation(in.ConsumeIntegralInRange(0, 360));
      ch.View3DOptions().SetElevation(in.ConsumeIntegralInRange(0, 360));
      ch.View3DOptions().SetZoom(in.ConsumeIntegralInRange(1, 500));
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  TChart chart;
  chart.SetSize(600, 400);
  // one surface for all inputs: a paint records tens of thousands of calls, and
  // growing a fresh log for each input cost more than the engine's own work
  static tk::TRecordingSurface surface;
  auto* series = new TChartSeries;  // owned by the chart
  series->SetParentChart(&chart);
  series->XValues().SetDateTime(in.ConsumeBool());
  for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n)
    series->AddPointXY(Value(in), Value(in));
  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step) {
    try {
      SetOne(in, chart);
    } catch (const tk::Exception&) {
      // a refused value: the engine's message, the old value kept
    }
    if (step % 4 == 3 && in.ConsumeBool()) {  // a paint costs up to 10000 labels an axis
      surface.Clear();
      chart.PaintInto(surface, {0, 0, 600, 400});
    }
  }
  surface.Clear();
  chart.PaintInto(surface, {0, 0, 600, 400});
  return 0;
}
