// The real-time rate: the real window, shown (headless unless a display is
// given), sending at 1000, 500 and 100 bits/s, Manchester, with start/stop
// bits and parity, for 10 wall-clock seconds each, driven by its own clock
// and its own paint messages. Reports the bits sent per wall second and the
// chart's paints per second. A measurement, not a test: nothing is asserted.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Unit1.h"

namespace {

// Counts the paint messages that reach one widget.
class PaintCounter : public QObject {
 public:
  long paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

void RunOne(int speed, double seconds) {
  TForm1 form;
  form.Show();
  PaintCounter counter;
  form.Chart1.Widget()->installEventFilter(&counter);
  long ticks = 0;
  form.Timer1.OnTimer = [&] {
    ++ticks;
    form.Timer1Timer();
  };
  // far more text than the run can send, so every tick sends a bit
  form.Edit1.SetText(std::string(static_cast<std::size_t>(speed * seconds / 8) + 64, 'K'));
  form.SpinEdit1.SetValue(speed);
  form.CheckBox1.SetChecked(true);
  form.CheckBox2.SetChecked(true);
  form.RG1.SetItemIndex(4);  // Manchester
  QApplication::processEvents();
  form.Button1.Click();
  QElapsedTimer wall;
  wall.start();
  QTimer::singleShot(static_cast<int>(seconds * 1000), [] { QApplication::quit(); });
  QApplication::exec();
  const double s = static_cast<double>(wall.nsecsElapsed()) / 1e9;
  form.Timer1.SetEnabled(false);
  std::printf("%5d bits/s: %7.1f bits per wall second, %6.1f paints per second (%.1f s)\n", speed,
              static_cast<double>(ticks) / s, static_cast<double>(counter.paints) / s, s);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  double seconds = 10;
  int only = 0;  // --speed N runs that speed alone
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atof(argv[++i]);
    if (std::strcmp(argv[i], "--speed") == 0 && i + 1 < argc) only = std::atoi(argv[++i]);
  }
  QApplication app(argc, argv);
  for (int speed : {1000, 500, 100})
    if (only == 0 || speed == only) RunOne(speed, seconds);
  return 0;
}
