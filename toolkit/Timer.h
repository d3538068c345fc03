#pragma once
// A millisecond clock. An interval of 0 gives no ticks at all; setting a
// different interval, or enabling the timer, starts a full new countdown.

#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

namespace tk {

class TTimer {
 public:
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

  // events
  std::function<void()> OnTimer;

 private:
  void Update();
  std::unique_ptr<QTimer> timer_;
  std::uint32_t interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace tk
