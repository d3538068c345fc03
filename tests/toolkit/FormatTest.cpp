#include "toolkit/Format.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {

struct PinnedLocale : ::testing::Test {
  void SetUp() override { SetFormatLocale("en_US"); }
  void TearDown() override { SetFormatLocale(""); }
};

}  // namespace

TEST_F(PinnedLocale, FormatFloatPatterns) {
  struct Case {
    const char* pattern;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {"#,##", 937, "937"},
      {"#,##", 1500, "1,500"},
      {"#,##", 62.5, "63"},
      {"#,##", 0, ""},
      {"#,##", -62.5, "-63"},
      {"#,##", 1234567, "1,234,567"},
      {"#,##0.###", 0, "0"},
      {"#,##0.###", 1234.5, "1,234.5"},
      {"#,##0.###", 0.0005, "0.001"},
      {"#,##0.###", -0.0004, "0"},
      {"#,##0.###", 2, "2"},
      {"#,##0.###", -1, "-1"},
      {"0.00", 1.005, "1.01"},
      {"0.00", 2.5, "2.50"},
      {"000", 7, "007"},
      {"##0.## %", 12.345, "12.35 %"},
      {"#.##", 0.5, ".5"},
      {"0.###", 999.9996, "1000"},
      {"#,##0.###", 1e15, "1,000,000,000,000,000"},
      {"0.#", 0.1 + 0.2, "0.3"},
      {"#,##0.###", 0.7999999999999999, "0.8"},
      {"0", 1e-300, "0"},
      {"0.0", 123456789.25, "123456789.3"},
      {"0;(0);'zero'", -5, "(5)"},
      {"0;(0);'zero'", 0, "zero"},
      {"0;(0)", 5, "5"},
      {"'x='0", 3, "x=3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << c.pattern << " " << c.value;
}

TEST_F(PinnedLocale, SeparatorsFollowTheLocale) {
  EXPECT_EQ(ThousandSeparator(), ',');
  EXPECT_EQ(DecimalSeparator(), '.');
  SetFormatLocale("de_DE");
  EXPECT_EQ(FormatFloat("#,##0.###", 1234.5), "1.234,5");
}

TEST(Dates, EncodeAndDecodeRoundTrip) {
  struct Case {
    int y, m, d;
    double serial;
  };
  for (const Case& c : {Case{1899, 12, 30, 0},
                        {1899, 12, 31, 1},
                        {1900, 1, 1, 2},
                        {2000, 1, 1, 36526},
                        {2026, 12, 8, 46364},
                        {1899, 12, 29, -1},
                        {1900, 3, 1, 61}}) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    const TDateParts p = DecodeDateTime(c.serial);
    EXPECT_EQ((std::tuple{p.year, p.month, p.day}), (std::tuple{c.y, c.m, c.d}));
  }
  const TDateParts t = DecodeDateTime(36526.75 + 1.5 / 86400);
  EXPECT_EQ((std::tuple{t.hour, t.minute, t.second, t.millisecond}), (std::tuple{18, 0, 1, 500}));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31), 1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -1), EncodeDate(2023, 12, 15));
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST_F(PinnedLocale, FormatDateTimePatterns) {
  const double t = EncodeDateTime({2026, 3, 7, 14, 5, 9, 42});
  struct Case {
    const char* pattern;
    const char* text;
  };
  for (const Case& c : {Case{"yyyy-mm-dd", "2026-03-07"},
                        {"d/m/yy", "7/3/26"},
                        {"hh:nn:ss", "14:05:09"},
                        {"h:mm", "14:05"},
                        {"ss:zzz", "09:042"},
                        {"mmm d", "Mar 7"},
                        {"dddd", "Saturday"},
                        {"h am/pm", "2 pm"},
                        {"'at' hh", "at 14"},
                        {"mmmm", "March"}})
    EXPECT_EQ(FormatDateTime(c.pattern, t), c.text) << c.pattern;
}
