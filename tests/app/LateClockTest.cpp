// The window at 1000 bits/s on a clock that is woken late: every tick the
// timer makes up sends exactly one bit, as an on-time tick does. A fake
// steady clock decides how late each wake-up is.
#include <gtest/gtest.h>

#include <QtTest/QTest>
#include <cstdint>
#include <string>

#include "app/Unit1.h"
#include "toolkit/Application.h"

namespace {

// The bits in the receive buffer; a space follows each whole frame.
std::size_t Bits(const std::string& buffer) {
  std::size_t n = 0;
  for (char ch : buffer)
    n += ch == '0' || ch == '1';
  return n;
}

struct FakeClock {
  std::int64_t now = 5'000'000'000;
  int reads = 0;
};

}  // namespace

TEST(LateClock, EveryMadeUpTickSendsOneBit) {
  struct Case {
    std::int64_t lateMs;  // since the last wake-up
    std::size_t bits;     // sent by this wake-up
  };
  // at 1 ms a bit, a wake-up that comes n ms after the last owes n bits, up to 50 ms worth
  const Case cases[] = {{1, 1}, {1, 1}, {3, 3}, {7, 7}, {50, 50}, {400, 50}, {2, 2}, {1, 1}};
  TForm1 form;
  FakeClock clock;
  form.Timer1.SetClock([&] {
    ++clock.reads;
    return clock.now;
  });
  form.Edit1.SetText(std::string(200, 'K'));  // 12-bit frames: far more bits than sent here
  form.SpinEdit1.SetValue(1000);
  form.CheckBox1.SetChecked(true);
  form.CheckBox2.SetChecked(true);
  int ticks = 0;
  form.Timer1.OnTimer = [&] {
    ++ticks;
    form.Timer1Timer();
  };
  form.Button1.Click();
  ASSERT_EQ(form.Timer1.Interval(), 1u);
  std::size_t sent = Bits(form.Buffer.Text());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lateMs);
    clock.now += c.lateMs * 1'000'000;
    ticks = 0;
    const int reads = clock.reads;
    ASSERT_TRUE(QTest::qWaitFor([&] { return clock.reads > reads; }, 5000));
    const std::size_t now = Bits(form.Buffer.Text());
    EXPECT_EQ(static_cast<std::size_t>(ticks), c.bits);
    EXPECT_EQ(now - sent, c.bits);
    sent = now;
  }
  // 115 bits make nine whole 12-bit frames and seven bits of the tenth
  EXPECT_EQ(sent, 115u);
  EXPECT_EQ(form.Buffer.Text().size(), 115u + 9u);
}
