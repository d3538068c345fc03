#include "toolkit/Timer.h"

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <limits>

#include "toolkit/Application.h"
#include "toolkit/Change.h"
#include "toolkit/Errors.h"

namespace tk {

namespace {
constexpr int kPreciseBelowMs = 20;
constexpr std::int64_t kMostDebtMs = 50;  // a late wake-up makes up at most this much
constexpr std::int64_t kNsPerMs = 1'000'000;
}  // namespace

TTimer::TTimer() : timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Wake(); });
}

TTimer::~TTimer() {
  *alive_ = false;
}

void TTimer::SetInterval(std::uint32_t ms) {
  if (Change(interval_, ms)) Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (Change(enabled_, enabled)) Update();
}

bool TTimer::Running() const {
  return timer_->isActive();
}

void TTimer::SetClock(TClock clock) {
  clock_ = std::move(clock);
  lastTick_ = Now();  // readings of two clocks cannot be compared
}

std::uint32_t TTimer::MostTicksPerWake() const {
  if (interval_ == 0 || interval_ >= kPreciseBelowMs) return 1;
  return static_cast<std::uint32_t>(std::max<std::int64_t>(1, kMostDebtMs / interval_));
}

std::int64_t TTimer::Now() const {
  if (clock_) return clock_();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void TTimer::Update() {
  timer_->stop();
  ++run_;
  // Qt would fire continuously at 0 ms; here 0 means no ticks.
  if (!enabled_ || interval_ == 0 || !OnTimer) return;
  const auto ms =
      static_cast<int>(std::min<std::uint32_t>(interval_, std::numeric_limits<int>::max()));
  // Short intervals (1 ms bit times) need ticks on the millisecond; a coarse
  // timer may fire up to 5 % late or early, which is harmless only for long ones.
  timer_->setTimerType(ms < kPreciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
  // The countdown is read before the system timer starts, so the system's
  // wake-ups never fall due before ours and an on-time one owes one tick.
  lastTick_ = Now();
  timer_->start(ms);
  if (!timer_->isActive()) throw Exception("Not enough timers available");
}

void TTimer::Wake() {
  const std::int64_t now = Now();
  if (interval_ >= kPreciseBelowMs) {
    lastTick_ = now;
    Dispatch(OnTimer);
    return;
  }
  // The system timer schedules its next wake-up from when it actually woke,
  // so the ticks a late wake-up missed are lost unless counted here, on the
  // grid of whole intervals since the countdown started.
  const std::int64_t step = static_cast<std::int64_t>(interval_) * kNsPerMs;
  const std::int64_t owed = (now - lastTick_) / step;
  if (owed <= 0) return;
  lastTick_ += owed * step;
  const std::int64_t fire = std::min<std::int64_t>(owed, MostTicksPerWake());
  // A handler that stops the timer, changes its interval or clears the event
  // ends the catch-up at once: no tick comes after Enabled became false.
  const std::uint64_t run = run_;
  const std::shared_ptr<bool> alive = alive_;
  for (std::int64_t i = 0; i < fire && OnTimer; ++i) {
    try {
      const auto handler = OnTimer;  // the handler may clear or replace the event
      handler();
    } catch (...) {
      // the message has been shown (and the user may have sat on its box);
      // the rest of this wake-up's debt goes rather than repeating the error
      ReportCurrentException();
      return;
    }
    if (!*alive || run_ != run || !OnTimer) return;  // destroyed, stopped or cleared
  }
}

}  // namespace tk
