#pragma once
// What the painting fuzz targets share: an off-screen application that lives
// for the whole run, and chart values drawn from the input with the awkward
// ones (denormals, huge magnitudes, day counts past the calendar) made likely.
#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <cstdlib>

// Never freed: it must outlive whatever libFuzzer runs at exit.
inline void StartOffscreenApplication(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication* app = new QApplication(*argc, *argv);
  (void)app;
}

// A small integer within ±intRange, a moderate real, one of the values that
// broke label passes and date formatting before, or any double at all.
inline double FuzzValue(FuzzedDataProvider& in, int intRange) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return in.ConsumeIntegralInRange(-intRange, intRange);
    case 1:
      return in.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    case 2:
      return in.PickValueInArray({0.0, -0.0, 5e-324, 1e-12, 1e300, -1e300, 3e102, 1e19, 40000.0});
    default:
      return in.ConsumeFloatingPoint<double>();
  }
}
