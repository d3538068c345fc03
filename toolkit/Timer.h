#pragma once
// A millisecond clock. An interval of 0 gives no ticks at all; setting a
// different interval, or enabling the timer, starts a full new countdown.
//
// Short intervals (below 20 ms) keep time: when the process is woken late,
// the ticks it owes since the last one are fired together on that wake-up,
// so 1000 ticks of 1 ms come in one wall second even on a busy machine. The
// debt is bounded to 50 ms worth of ticks; anything older is dropped so a
// program that stalled for a while does not then burst for as long.

#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

namespace tk {

class TTimer {
 public:
  // A steady clock in nanoseconds; only differences between readings matter.
  using TClock = std::function<std::int64_t()>;

  TTimer();
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  // properties
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Whether ticks are actually coming (enabled, a non-zero interval and a tick handler).
  bool Running() const;

  // Where the timer reads the time that decides how many ticks are owed; an
  // empty clock restores the system's steady clock. Tests step a fake one.
  void SetClock(TClock clock);

  // The most ticks one late wake-up fires at the current interval.
  std::uint32_t MostTicksPerWake() const;

  // events
  std::function<void()> OnTimer;

 private:
  void Update();
  void Wake();
  std::int64_t Now() const;

  std::unique_ptr<QTimer> timer_;
  std::uint32_t interval_ = 1000;
  bool enabled_ = true;
  TClock clock_;
  std::int64_t lastTick_ = 0;  // on the clock: when the last owed tick fell due
  std::uint64_t run_ = 0;      // bumped by every restart or stop, ending a catch-up
  // false once the timer is destroyed: a handler may delete the timer that called it
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tk
