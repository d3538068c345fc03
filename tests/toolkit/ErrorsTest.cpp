#include "toolkit/Errors.h"

#include <gtest/gtest.h>

#include "toolkit/Application.h"
#include "toolkit/Color.h"

using namespace tk;

TEST(EListError, CarriesTheIndexInItsMessage) {
  struct Case {
    long long index;
    const char* message;
  };
  for (const Case& c : {Case{5, "List index out of bounds (5)"},
                        {-1, "List index out of bounds (-1)"},
                        {0, "List index out of bounds (0)"},
                        {10000000000LL, "List index out of bounds (10000000000)"}}) {
    const EListError e(c.index);
    EXPECT_EQ(e.Message(), c.message);
    EXPECT_EQ(e.Index(), c.index);
    // caught as the base class, the message survives
    try {
      throw EListError(c.index);
    } catch (const Exception& base) {
      EXPECT_STREQ(base.what(), c.message);
    }
  }
}

TEST(FormatMessage, FillsMarkersInOrder) {
  struct Case {
    const char* pattern;
    std::initializer_list<std::string> args;
    const char* out;
  };
  const Case cases[] = {
      {"%s Angle must be between 0 and 359 degrees",
       {"Axis Title"},
       "Axis Title Angle must be between 0 and 359 degrees"},
      {"3D effect percent must be between %d and %d",
       {"1", "100"},
       "3D effect percent must be between 1 and 100"},
      {"no markers", {"x"}, "no markers"},
      {"%d and %d", {"1"}, "1 and %d"},  // a missing argument leaves the marker
      {"100% sure %", {}, "100% sure %"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatMessage(c.pattern, c.args), c.out) << c.pattern;
}

TEST(Color, ChannelsAndReservedValues) {
  EXPECT_EQ(RGB(0xFF, 0, 0), 0x0000FFu);
  EXPECT_EQ(RGB(0, 0x80, 0), 0x008000u);
  EXPECT_EQ(RGB(0, 0, 0xFF), 0xFF0000u);
  const TColor teal = 0x808000;
  EXPECT_EQ(RedOf(teal), 0x00);
  EXPECT_EQ(GreenOf(teal), 0x80);
  EXPECT_EQ(BlueOf(teal), 0x80);
  EXPECT_EQ(clDefault, 0x20000000u);
  EXPECT_EQ(clNone, 0x1FFFFFFFu);
  EXPECT_FALSE(IsPlainRGB(clDefault));
  EXPECT_FALSE(IsPlainRGB(clNone));
  EXPECT_TRUE(IsPlainRGB(0xFFFFFF));
}

TEST(ShowException, TheControlHoldingTheMouseLetsGoBeforeTheMessage) {
  std::vector<std::string> events;
  struct Holder : TMouseCapture {
    Holder(std::vector<std::string>* e, const char* n) : events(e), name(n) {}
    std::vector<std::string>* events;
    const char* name;
    void LetGoOfMouse() override { events->push_back(std::string("let go ") + name); }
  };
  Holder a(&events, "a"), b(&events, "b");
  SetErrorHandler([&](const std::string& m) { events.push_back(m); });
  SetMouseCapture(&a);
  ReleaseMouseCapture(&b);  // not the holder: a keeps the mouse
  EXPECT_EQ(MouseCapture(), &a);
  ShowException("first");
  ShowException("second");  // a has already let go
  SetMouseCapture(&b);
  ReleaseMouseCapture(&b);  // released normally: nobody to tell
  ShowException("third");
  SetErrorHandler(nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"let go a", "first", "second", "third"}));
  EXPECT_EQ(MouseCapture(), nullptr);
}
