#include "toolkit/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

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
      {"#,##", 123456, "123,456"},
      {"#,##", 1e21, "1,000,000,000,000,000,000,000"},
      {"0000", 12, "0012"},
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

// Infinities and NaN take the section their sign picks, and its literal text.
TEST_F(PinnedLocale, NonFiniteValuesInEverySectionForm) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  struct Case {
    const char* pattern;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {"0", inf, "INF"},         {"0", -inf, "-INF"},
      {"0", nan, "NAN"},         {"#,##0.###", -inf, "-INF"},
      {"$0.00", inf, "$INF"},    {"0 V", -inf, "-INF V"},
      {"0;(0)", -inf, "(INF)"},  {"0;(0)", inf, "INF"},
      {"0;(0)", nan, "NAN"},     {"0;(0);'z'", -inf, "(INF)"},
      {"0;(0);'z'", nan, "NAN"}, {"0;;'z'", -inf, "-INF"},
      {"'a'", inf, "a"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << c.pattern << " " << c.value;
}

namespace {

// Days since 1970-01-01 to a civil date, the well-known era arithmetic: a
// reference that shares nothing with the year-by-year search under test.
std::tuple<int, int, int> CivilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

constexpr double kUnixEpoch = 25569;  // 1970-01-01 as a day count

}  // namespace

TEST(Dates, EveryDayOfTheCalendarDecodesAndEncodesExactly) {
  const double first = EncodeDate(1, 1, 1), last = EncodeDate(9999, 12, 31);
  ASSERT_EQ(first, -693593);
  ASSERT_EQ(last, 2958465);
  int failures = 0;
  for (double day = first; day <= last && failures < 5; ++day) {
    const auto [y, m, d] = CivilFromDays(static_cast<long long>(day - kUnixEpoch));
    const TDateParts p = DecodeDateTime(day);
    if (std::tuple{p.year, p.month, p.day} != std::tuple{y, m, d} || EncodeDate(y, m, d) != day) {
      ADD_FAILURE() << "day " << day << " is " << y << "-" << m << "-" << d << ", decoded "
                    << p.year << "-" << p.month << "-" << p.day;
      ++failures;
    }
  }
}

// Beyond the calendar a day count decodes as the nearer end and formats as no
// text; nothing is read outside the month tables on the way.
TEST(Dates, OutsideTheCalendar) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  struct Case {
    double value;
    int y, m, d, h;
  };
  for (const Case& c : {Case{-693623, 1, 1, 1, 0},
                        {-693594.5, 1, 1, 1, 0},
                        {-693593.5, 1, 1, 1, 12},
                        {-695860.066, 1, 1, 1, 0},
                        {2958466, 9999, 12, 31, 23},
                        {3e102, 9999, 12, 31, 23},
                        {1e19, 9999, 12, 31, 23},
                        {-1e19, 1, 1, 1, 0},
                        {inf, 9999, 12, 31, 23},
                        {-inf, 1, 1, 1, 0},
                        {nan, 1899, 12, 30, 0}}) {
    const TDateParts p = DecodeDateTime(c.value);
    EXPECT_EQ((std::tuple{p.year, p.month, p.day, p.hour}), (std::tuple{c.y, c.m, c.d, c.h}))
        << c.value;
    const bool inside = c.value >= -693594 + 1e-9 && c.value < 2958466;
    EXPECT_EQ(FormatDateTime("d", c.value).empty(), !inside) << c.value;
  }
  for (const char* pattern : {"d", "dddd", "c", "yyyy-mm-dd hh:nn", "mmmm"})
    for (double v : {nan, inf, -inf, 1e19, -1e19, 3e102})
      EXPECT_EQ(FormatDateTime(pattern, v), "") << pattern << " " << v;
}

TEST(Dates, MonthSteppingStopsAtTheCalendarEnds) {
  struct Case {
    double from;
    int months;
    double to;
  };
  for (const Case& c :
       {Case{-695860.066, -1, EncodeDate(1, 1, 1)},
        {EncodeDate(1, 3, 31), -2, EncodeDate(1, 1, 31)},
        {EncodeDate(1, 3, 31), -3, EncodeDate(1, 1, 31)},
        {EncodeDate(9999, 11, 30), 5, EncodeDate(9999, 12, 30)},
        {EncodeDate(2024, 5, 31), std::numeric_limits<int>::min(), EncodeDate(1, 1, 31)},
        {EncodeDate(2024, 5, 31), std::numeric_limits<int>::max(), EncodeDate(9999, 12, 31)},
        {EncodeDate(2024, 3, 31), -1, EncodeDate(2024, 2, 29)}})
    EXPECT_EQ(IncMonth(c.from, c.months), c.to) << c.from << " " << c.months;
}

TEST(Dates, EncodingRefusesPartsThatNameNoDay) {
  struct Case {
    int y, m, d;
  };
  for (const Case& c : {Case{0, 1, 1},
                        {10000, 1, 1},
                        {2024, 0, 1},
                        {2024, 13, 1},
                        {2023, 2, 29},
                        {2024, 4, 31},
                        {2024, 1, 0}}) {
    try {
      EncodeDate(c.y, c.m, c.d);
      ADD_FAILURE() << c.y << "-" << c.m << "-" << c.d << " was accepted";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
  }
  EXPECT_EQ(DaysInMonth(2024, 13), 0);
  EXPECT_EQ(DaysInMonth(2024, 0), 0);
}
