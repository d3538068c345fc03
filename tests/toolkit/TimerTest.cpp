// The clock's catch-up after a late wake-up, driven by a fake steady clock:
// the system timer still wakes the process, but how many ticks each wake-up
// owes is decided only by the fake time, so the counts do not depend on how
// busy the machine is.
#include <gtest/gtest.h>

#include <QtTest/QTest>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Errors.h"
#include "toolkit/Timer.h"

using namespace tk;

namespace {

constexpr std::int64_t kUs = 1000;  // nanoseconds

struct FakeClock {
  std::int64_t now = 1'000'000'000;  // any origin: only differences count
  int reads = 0;
  TTimer::TClock Clock() {
    return [this] {
      ++reads;
      return now;
    };
  }
};

// Lets the system timer wake the process once more. Each wake-up reads the
// clock once, so the first reading after the call is a whole wake-up that
// already saw the time as it is now.
void OneWake(const TTimer& timer, FakeClock& clock) {
  if (!timer.Running()) {
    for (int i = 0; i < 5; ++i)
      ProcessMessages();
    return;
  }
  const int reads = clock.reads;
  ASSERT_TRUE(QTest::qWaitFor([&] { return clock.reads > reads; }, 5000));
}

struct Step {
  std::int64_t advanceUs;               // fake time that passes before the wake-up
  std::function<void(TTimer&)> before;  // done between the advance and the wake-up
  int ticks;                            // ticks that wake-up fires
};

}  // namespace

TEST(Timer, ALateWakeUpFiresTheTicksItOwes) {
  struct Case {
    const char* name;
    std::uint32_t intervalMs;
    std::vector<Step> steps;
  };
  const auto interval = [](std::uint32_t ms) { return [ms](TTimer& t) { t.SetInterval(ms); }; };
  const auto restart = [](TTimer& t) {
    t.SetEnabled(false);
    t.SetEnabled(true);
  };
  const Case cases[] = {
      {"on time, one tick each", 1, {{1000, {}, 1}, {1000, {}, 1}, {1000, {}, 1}, {1000, {}, 1}}},
      {"three intervals late", 1, {{3000, {}, 3}, {1000, {}, 1}}},
      {"late by half an interval: the rest is owed next", 1, {{2500, {}, 2}, {500, {}, 1}}},
      {"woken early owes nothing yet", 4, {{3000, {}, 0}, {1000, {}, 1}, {12000, {}, 3}}},
      {"a second late at 1 ms: 50 ms worth, older debt dropped",
       1,
       {{1'000'000, {}, 50}, {1000, {}, 1}}},
      {"a second late at 5 ms", 5, {{1'000'000, {}, 10}, {5000, {}, 1}}},
      // 60 ms owe 30 ticks of 2 ms, 25 are fired and the other 5 dropped
      {"just over the bound at 2 ms", 2, {{60'000, {}, 25}, {1000, {}, 0}, {1000, {}, 1}}},
      {"the longest precise interval", 19, {{190'000, {}, 2}, {19'000, {}, 1}}},
      {"a new interval starts a new countdown",
       1,
       {{5000, interval(2), 0}, {1000, {}, 0}, {1000, {}, 1}}},
      {"stopping and starting forgets the debt", 1, {{30'000, restart, 0}, {1000, {}, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock clock;
    TTimer timer;
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetClock(clock.Clock());
    timer.SetInterval(c.intervalMs);
    ASSERT_TRUE(timer.Running());
    for (const Step& s : c.steps) {
      clock.now += s.advanceUs * kUs;
      if (s.before) s.before(timer);
      ticks = 0;
      OneWake(timer, clock);
      EXPECT_EQ(ticks, s.ticks) << "after " << s.advanceUs << " us";
    }
  }
}

TEST(Timer, AHandlerThatStopsTheClockEndsTheCatchUp) {
  struct Case {
    const char* name;
    // what the handler does at its n-th tick (counted from 1) besides counting
    std::function<void(TTimer&, int tick)> onTick;
    int ticks;      // fired by a wake-up 10 intervals late
    bool running;   // afterwards
    int nextTicks;  // fired by a following wake-up 4 ms later
    std::vector<std::string> errors = {};
  };
  const Case cases[] = {
      {"nothing done: all ten", [](TTimer&, int) {}, 10, true, 4},
      {"disabled at the second",
       [](TTimer& t, int n) {
         if (n == 2) t.SetEnabled(false);
       },
       2, false, 0},
      // the new 2 ms countdown starts at the late wake-up: 4 ms later owe 2
      {"interval changed at the third",
       [](TTimer& t, int n) {
         if (n == 3) t.SetInterval(2);
       },
       3, true, 2},
      {"event cleared at the fourth",
       [](TTimer& t, int n) {
         if (n == 4) t.OnTimer = nullptr;
       },
       4, true, 0},
      // the error is shown once and the clock goes on
      {"an error at the second",
       [](TTimer&, int n) {
         if (n == 2) throw Exception("boom");
       },
       2,
       true,
       4,
       {"boom"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> errors;
    SetErrorHandler([&](const std::string& m) { errors.push_back(m); });
    FakeClock clock;
    TTimer timer;
    int ticks = 0, count = 0;
    timer.OnTimer = [&] {
      ++ticks;
      c.onTick(timer, ++count);
    };
    timer.SetClock(clock.Clock());
    timer.SetInterval(1);
    clock.now += 10'000 * kUs;
    OneWake(timer, clock);
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_EQ(timer.Running(), c.running);
    ticks = 0;
    clock.now += 4000 * kUs;
    OneWake(timer, clock);
    EXPECT_EQ(ticks, c.nextTicks);
    EXPECT_EQ(errors, c.errors);
    SetErrorHandler(nullptr);
  }
}

TEST(Timer, AHandlerMayDestroyItsTimerDuringACatchUp) {
  // the window may close (and free its clock) from a tick; the ticks still owed
  // must not be fired by a timer that no longer exists (ASan sees the use)
  FakeClock clock;
  auto timer = std::make_unique<TTimer>();
  int ticks = 0;
  timer->OnTimer = [&] {
    ++ticks;
    timer.reset();
  };
  timer->SetClock(clock.Clock());
  timer->SetInterval(1);
  clock.now += 10'000 * kUs;
  const int reads = clock.reads;
  ASSERT_TRUE(QTest::qWaitFor([&] { return clock.reads > reads || !timer; }, 5000));
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(timer, nullptr);
}

TEST(Timer, LongIntervalsFireOncePerWakeUp) {
  // a coarse timer is never made up: it fires once however late it woke
  FakeClock clock;
  TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetClock(clock.Clock());
  timer.SetInterval(20);
  clock.now += 200'000 * kUs;
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 5000));
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(timer.MostTicksPerWake(), 1u);
}
