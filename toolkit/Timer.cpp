#include "toolkit/Timer.h"

#include <QTimer>
#include <algorithm>
#include <limits>

#include "toolkit/Application.h"
#include "toolkit/Change.h"
#include "toolkit/Errors.h"

namespace tk {

namespace {
constexpr int kPreciseBelowMs = 20;
}  // namespace

TTimer::TTimer() : timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Dispatch(OnTimer); });
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(std::uint32_t ms) {
  if (Change(interval_, ms)) Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (Change(enabled_, enabled)) Update();
}

bool TTimer::Running() const {
  return timer_->isActive();
}

void TTimer::Update() {
  timer_->stop();
  // Qt would fire continuously at 0 ms; here 0 means no ticks.
  if (!enabled_ || interval_ == 0 || !OnTimer) return;
  const auto ms =
      static_cast<int>(std::min<std::uint32_t>(interval_, std::numeric_limits<int>::max()));
  // Short intervals (1 ms bit times) need ticks on the millisecond; a coarse
  // timer may fire up to 5 % late or early, which is harmless only for long ones.
  timer_->setTimerType(ms < kPreciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
  timer_->start(ms);
  if (!timer_->isActive()) throw Exception("Not enough timers available");
}

}  // namespace tk
