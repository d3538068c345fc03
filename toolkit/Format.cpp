#include "toolkit/Format.h"

#include <QLocale>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tk {

namespace {

char FirstLatin1(const QString& s, char fallback) {
  return s.isEmpty() || s[0].unicode() > 0xFF ? fallback : static_cast<char>(s[0].unicode());
}

// Qt's date pattern letters turned into ours (minutes are "n", not "m").
std::string FromQtPattern(const QString& qt) {
  std::string out;
  const std::string s = qt.toStdString();
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == 'M')
      out += 'm';
    else if (c == 'm')
      out += 'n';
    else if (c == 'H')
      out += 'h';
    else if (c == 'A' || c == 'a') {
      out += "AM/PM";
      if (i + 1 < s.size() && (s[i + 1] == 'P' || s[i + 1] == 'p')) ++i;
    } else if (c == 't')
      continue;  // time zone: not shown
    else
      out += c;
  }
  return out;
}

// The locale's separators and short formats, read from Qt once per locale:
// a chart formats a thousand labels a paint, and asking Qt each time built
// and threw away two strings per label.
struct TLocaleState {
  QLocale locale = QLocale::system();
  char thousand = ',', decimal = '.';
  std::string shortDate, shortTime;
  std::uint64_t generation = 0;

  TLocaleState() { Read(); }
  void Read() {
    thousand = FirstLatin1(locale.groupSeparator(), ',');
    decimal = FirstLatin1(locale.decimalPoint(), '.');
    shortDate = FromQtPattern(locale.dateFormat(QLocale::ShortFormat));
    shortTime = FromQtPattern(locale.timeFormat(QLocale::ShortFormat));
    ++generation;
  }
};

TLocaleState& LocaleState() {
  static TLocaleState state;
  return state;
}

}  // namespace

void SetFormatLocale(const std::string& name) {
  TLocaleState& l = LocaleState();
  l.locale = name.empty() ? QLocale::system() : QLocale(QString::fromStdString(name));
  l.Read();
}

std::uint64_t FormatLocaleGeneration() {
  return LocaleState().generation;
}

char ThousandSeparator() {
  return LocaleState().thousand;
}
char DecimalSeparator() {
  return LocaleState().decimal;
}
const std::string& ShortDateFormat() {
  return LocaleState().shortDate;
}
const std::string& ShortTimeFormat() {
  return LocaleState().shortTime;
}

// ---------------------------------------------------------------- numbers

namespace {

struct Section {
  std::string prefix, suffix;
  int minInt = 0;  // digits always shown before the point
  int minDec = 0, maxDec = 0;
  bool grouping = false;
  bool hasDigits = false;
};

Section ParseSection(const std::string& p) {
  Section s;
  bool afterPoint = false, seenDigit = false, seenZero = false;
  std::string* literal = &s.prefix;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    if (c == '"' || c == '\'') {
      const std::size_t end = p.find(c, i + 1);
      const std::size_t stop = end == std::string::npos ? p.size() : end;
      *literal += p.substr(i + 1, stop - i - 1);
      i = stop;
    } else if (c == '#' || c == '0') {
      seenDigit = true;
      s.hasDigits = true;
      literal = &s.suffix;
      if (afterPoint) {
        ++s.maxDec;
        if (c == '0') s.minDec = s.maxDec;
      } else if (c == '0' || seenZero) {
        seenZero = true;
        ++s.minInt;  // from the first '0' on, every integer place is forced
      }
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      literal = &s.suffix;
    } else if (c == ',' && !afterPoint) {
      s.grouping = true;
    } else {
      (seenDigit || afterPoint ? s.suffix : s.prefix) += c;
    }
  }
  return s;
}

// |value| to `decimals` places, halves away from zero, as integer and fraction
// digits. The value is first taken to 15 significant digits, the precision a
// double holds, so that 1.005 counts as the 1.005 the user typed and a label
// reached by repeated steps of 0.1 shows as the value it stands for.
void RoundDigits(double magnitude, int decimals, std::string& intPart, std::string& fracPart) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", magnitude);
  // buf: d.dddddddddddddde[+-]x
  std::string digits;
  digits += buf[0];
  digits.append(buf + 2, 14);
  const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
  // place the point: digits[0] has weight 10^exponent
  int pointAt = exponent + 1;  // number of integer digits
  if (pointAt <= 0) {
    digits.insert(0, static_cast<std::size_t>(1 - pointAt), '0');
    pointAt = 1;
  }
  if (static_cast<int>(digits.size()) < pointAt + decimals + 1)
    digits.append(static_cast<std::size_t>(pointAt + decimals + 1) - digits.size(), '0');
  const bool up = digits[static_cast<std::size_t>(pointAt + decimals)] >= '5';
  digits.resize(static_cast<std::size_t>(pointAt + decimals));
  if (up) {
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
      digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++digits[static_cast<std::size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');
      ++pointAt;
    }
  }
  intPart = digits.substr(0, static_cast<std::size_t>(pointAt));
  fracPart = digits.substr(static_cast<std::size_t>(pointAt));
}

// Infinities and NaN have no digits to lay out: the section's literal text
// still goes round them, so "0;(0)" shows -inf as "(INF)" like any negative.
std::string ApplyNonFinite(const Section& s, double value, bool showSign) {
  std::string out;
  if (showSign && value < 0) out += '-';
  out += s.prefix;
  out += std::isnan(value) ? "NAN" : "INF";
  out += s.suffix;
  return out;
}

std::string Apply(const Section& s, double value, bool showSign) {
  if (!std::isfinite(value)) return ApplyNonFinite(s, value, showSign);
  std::string intPart, fracPart;
  RoundDigits(std::fabs(value), s.maxDec, intPart, fracPart);
  // only significant digits, then the pattern's zeros; each in one pass, as a value near
  // 1e300 has 300 digits
  intPart.erase(0, std::min(intPart.find_first_not_of('0'), intPart.size()));
  if (static_cast<int>(intPart.size()) < s.minInt)
    intPart.insert(0, static_cast<std::size_t>(s.minInt) - intPart.size(), '0');
  while (static_cast<int>(fracPart.size()) > s.minDec && !fracPart.empty() &&
         fracPart.back() == '0')
    fracPart.pop_back();
  if (s.grouping && ThousandSeparator() != 0) {
    std::string grouped;
    grouped.reserve(intPart.size() + intPart.size() / 3);
    for (std::size_t i = 0; i < intPart.size(); ++i) {
      if (i > 0 && (intPart.size() - i) % 3 == 0) grouped += ThousandSeparator();
      grouped += intPart[i];
    }
    intPart.swap(grouped);
  }
  std::string number = intPart;
  if (!fracPart.empty()) number += DecimalSeparator() + fracPart;
  const bool nonzero = number.find_first_of("123456789") != std::string::npos;
  std::string out;
  if (showSign && value < 0 && nonzero) out += '-';
  out += s.prefix;
  out += number;
  out += s.suffix;
  return out;
}

}  // namespace

std::string FormatFloat(const std::string& pattern, double value) {
  std::vector<std::string> sections{""};
  char quote = 0;
  for (char c : pattern) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  if (value == 0 && sections.size() > 2 && !sections[2].empty())
    return Apply(ParseSection(sections[2]), 0, false);
  if (value < 0 && sections.size() > 1 && !sections[1].empty())
    return Apply(ParseSection(sections[1]), -value, false);
  const Section s = ParseSection(sections[0]);
  if (!s.hasDigits) return s.prefix + s.suffix;
  return Apply(s, value, true);
}

// ---------------------------------------------------------------- dates

namespace {

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Days from 0001-01-01 (proleptic Gregorian), day 1 being that date.
long long DayNumber(int y, int m, int d) {
  static const int cumulative[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const long long yy = y - 1;
  long long n = yy * 365 + yy / 4 - yy / 100 + yy / 400 + cumulative[m - 1] + d;
  if (m > 2 && IsLeap(y)) ++n;
  return n;
}

const long long kEpoch = DayNumber(1899, 12, 30);

const char* const kMonthShort[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kMonthLong[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};
const char* const kDayShort[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDayLong[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                "Thursday", "Friday", "Saturday"};

}  // namespace

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

EConvertError::EConvertError() : Exception("Invalid argument to date encode") {}

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) throw EConvertError();
  return static_cast<double>(DayNumber(year, month, day) - kEpoch);
}

TDateTime EncodeDateTime(const TDateParts& p) {
  const double time =
      (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.millisecond) / 86400000.0;
  const double date = EncodeDate(p.year, p.month, p.day);
  return date >= 0 ? date + time : date - time;
}

namespace {

// The day counts of 0001-01-01 and 9999-12-31, the calendar's ends.
const double kFirstDay = static_cast<double>(DayNumber(1, 1, 1) - kEpoch);
const double kLastDay = static_cast<double>(DayNumber(9999, 12, 31) - kEpoch);

bool InCalendar(TDateTime value) {
  const double whole = std::trunc(value);
  return whole >= kFirstDay && whole <= kLastDay;  // false for NaN
}

}  // namespace

TDateParts DecodeDateTime(TDateTime value) {
  TDateParts p;
  if (std::isnan(value)) return p;
  if (!InCalendar(value)) {
    // the nearer end of the calendar, at its first or its last millisecond
    if (value < kFirstDay) return {1, 1, 1, 0, 0, 0, 0};
    return {9999, 12, 31, 23, 59, 59, 999};
  }
  const double whole = std::trunc(value);
  const long long n = static_cast<long long>(whole) + kEpoch;  // 1 .. 3652059
  // year from the day number, then month and day
  int y = static_cast<int>(n / 366) + 1;
  while (DayNumber(y + 1, 1, 1) <= n)
    ++y;
  int m = 1;
  while (m < 12 && DayNumber(y, m + 1, 1) <= n)
    ++m;
  p.year = y;
  p.month = m;
  p.day = static_cast<int>(n - DayNumber(y, m, 1)) + 1;
  long long ms = std::llround(std::fabs(value - whole) * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  p.hour = static_cast<int>(ms / 3600000);
  p.minute = static_cast<int>(ms / 60000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.millisecond = static_cast<int>(ms % 1000);
  return p;
}

TDateTime IncMonth(TDateTime value, int months) {
  TDateParts p = DecodeDateTime(value);
  // months counted from January of the year 1, kept inside the calendar
  long long total = (p.year - 1) * 12LL + (p.month - 1) + months;
  total = std::clamp(total, 0LL, 9999 * 12LL - 1);
  p.year = static_cast<int>(total / 12) + 1;
  p.month = static_cast<int>(total % 12) + 1;
  p.day = std::min(p.day, DaysInMonth(p.year, p.month));
  return EncodeDateTime(p);
}

std::string FormatDateTime(const std::string& pattern, TDateTime value) {
  if (!InCalendar(value)) return {};  // no date to show: NaN, infinities, beyond the calendar
  const TDateParts p = DecodeDateTime(value);
  const long long dayNumber = DayNumber(p.year, p.month, p.day);
  const int weekday =
      static_cast<int>(((dayNumber % 7) + 7) % 7);  // 0001-01-01 was a Monday: day 1 -> 1
  auto two = [](int v) {
    std::string s = std::to_string(v);
    if (v < 10) s.insert(s.begin(), '0');
    return s;
  };
  std::string out;
  bool lastWasHour = false;
  const std::string& f = pattern;
  for (std::size_t i = 0; i < f.size();) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
    std::size_t run = 1;
    while (i + run < f.size() && std::tolower(static_cast<unsigned char>(f[i + run])) == c)
      ++run;
    if (f[i] == '"' || f[i] == '\'') {
      const std::size_t end = f.find(f[i], i + 1);
      const std::size_t stop = end == std::string::npos ? f.size() : end;
      out += f.substr(i + 1, stop - i - 1);
      i = stop + 1;
      continue;
    }
    if (f.compare(i, 5, "am/pm") == 0 || f.compare(i, 5, "AM/PM") == 0) {
      const bool upper = f[i] == 'A';
      out += p.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 5;
      continue;
    }
    switch (c) {
      case 'c':
        out += FormatDateTime(ShortDateFormat(), value);
        if (p.hour || p.minute || p.second) {
          out += ' ';
          out += FormatDateTime(ShortTimeFormat(), value);
        }
        break;
      case 'd':
        if (run == 1)
          out += std::to_string(p.day);
        else if (run == 2)
          out += two(p.day);
        else if (run == 3)
          out += kDayShort[weekday];
        else if (run == 4)
          out += kDayLong[weekday];
        else
          out += FormatDateTime(ShortDateFormat(), value);
        break;
      case 'm':
        if (lastWasHour && run <= 2) {
          out += run == 1 ? std::to_string(p.minute) : two(p.minute);
        } else if (run == 1)
          out += std::to_string(p.month);
        else if (run == 2)
          out += two(p.month);
        else if (run == 3)
          out += kMonthShort[p.month - 1];
        else
          out += kMonthLong[p.month - 1];
        break;
      case 'y':
        out += run <= 2 ? two(p.year % 100) : std::to_string(p.year);
        break;
      case 'h': {
        int h = p.hour;
        const std::string rest = f.substr(i);
        if (rest.find("am/pm") != std::string::npos || rest.find("AM/PM") != std::string::npos)
          h = h % 12 ? h % 12 : 12;
        out += run == 1 ? std::to_string(h) : two(h);
        break;
      }
      case 'n':
        out += run == 1 ? std::to_string(p.minute) : two(p.minute);
        break;
      case 's':
        out += run == 1 ? std::to_string(p.second) : two(p.second);
        break;
      case 'z': {
        std::string ms = std::to_string(p.millisecond);
        if (run >= 3) ms.insert(0, 3 - ms.size(), '0');
        out += ms;
        break;
      }
      case 't':
        out += FormatDateTime(ShortTimeFormat(), value);
        break;
      case '/':
        out.append(run, '/');
        break;
      case ':':
        out.append(run, ':');
        break;
      default:
        out.append(f, i, run);
        break;
    }
    if (c != ' ' && c != ':') lastWasHour = c == 'h';
    i += run;
  }
  return out;
}

}  // namespace tk
