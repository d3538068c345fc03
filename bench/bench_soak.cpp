// A soak run: the real window sending for one simulated hour at 1000 bits/s,
// Manchester, with start/stop bits and parity, driven through the tick
// handler. The chart is painted every 16 ms of simulated time during the
// first and the last simulated minute (or all hour with --paint-all), and the
// cost of each tick plus its paint is reported there, with resident memory.
#include <time.h>
#include <unistd.h>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "app/Unit1.h"

namespace {

long ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE) / (1024 * 1024);
}

// Processor time of this thread: on a machine shared with other work, a paint that the
// scheduler interrupts takes a time slice longer in wall time than the work it does.
double ThreadCpuUs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

void Report(const char* phase, std::vector<double>& us, std::vector<double>& cpu) {
  if (us.empty()) return;
  std::sort(us.begin(), us.end());
  std::sort(cpu.begin(), cpu.end());
  auto at = [](const std::vector<double>& v, std::size_t percent) {
    return v[std::min(v.size() - 1, v.size() * percent / 100)];
  };
  std::printf(
      "%-24s ticks+paints %5zu  wall p50 %7.1f us p99 %7.1f us   cpu p50 %7.1f us p99 %7.1f us\n",
      phase, us.size(), at(us, 50), at(us, 99), at(cpu, 50), at(cpu, 99));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  bool paintAll = false;
  int encoding = 4;  // Manchester; --encoding N picks another line encoding
  long minutes = 60;  // --minutes N simulates a shorter (or longer) run
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--paint-all") == 0) paintAll = true;
    if (std::strcmp(argv[i], "--encoding") == 0 && i + 1 < argc) encoding = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc) minutes = std::atol(argv[++i]);
  }
  QApplication app(argc, argv);
  TForm1 form;
  form.SpinEdit1.SetValue(1000);  // 1 ms a bit
  form.CheckBox1.SetChecked(true);
  form.CheckBox2.SetChecked(true);
  form.RG1.SetItemIndex(encoding);
  form.Button1.Click();
  form.Timer1.SetEnabled(false);  // the soak drives the tick handler itself

  constexpr long kMinute = 60L * 1000;
  const long kTicks = std::max(2L, minutes) * kMinute;  // 1 ms ticks
  std::vector<double> first, last, firstCpu, lastCpu;
  using Clock = std::chrono::steady_clock;
  const long rssStart = ResidentMiB();
  const auto wall = Clock::now();
  for (long t = 0; t < kTicks; ++t) {
    if (form.Edit1.IsEmpty()) form.Edit1.SetText("KELDO");  // keep something to send
    const bool measured = t < kMinute || t >= kTicks - kMinute;
    const bool paint = t % 16 == 0 && (measured || paintAll);
    const auto start = Clock::now();
    const double startCpu = measured && paint ? ThreadCpuUs() : 0;
    form.Timer1Timer();
    if (paint) form.Chart1.RepaintNow();
    if (measured && paint) {
      const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
      (t < kMinute ? first : last).push_back(us);
      (t < kMinute ? firstCpu : lastCpu).push_back(ThreadCpuUs() - startCpu);
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - wall).count();
  std::printf(
      "soak: %ld ticks (%ld simulated minutes at 1000 bits/s, encoding %d), %.1f s of wall time\n",
      kTicks, kTicks / kMinute, encoding, seconds);
  std::printf(
      "signal series: %d points, last x %.0f ms\n", form.Chart1.Series(0)->PointCount(),
      form.Chart1.Series(0)->PointCount() ? form.Chart1.Series(0)->XValues().LastValue() : 0.0);
  TSignalViews& v = form.Views();
  std::printf("views (all hidden): roles %d, characters %d, samples %d, decoded %d, clock %d points;"
              " receiver %zu bits, %zu frames\n",
              v.Roles().PointCount(), v.Characters().PointCount(), v.Samples().PointCount(),
              v.Decoded().PointCount() + v.DecodedErrors().PointCount(), v.Clock().PointCount(),
              v.Receiver().Bits().size(), v.Receiver().Frames().size());
  Report("first simulated minute", first, firstCpu);
  Report("last simulated minute", last, lastCpu);
  std::printf(
      "resident memory: %ld MiB at start, %ld MiB at the end; receive buffer %zu characters\n",
      rssStart, ResidentMiB(), form.Buffer.Text().size());
  return 0;
}
