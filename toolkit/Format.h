#pragma once
// Number and date-time formatting of the runtime.
//
// The locale is the system's (through Qt) unless a program or test pins
// another with SetFormatLocale; it supplies the thousands and decimal
// separators and the short date and time formats.

#include <cstdint>
#include <string>

#include "toolkit/Errors.h"

namespace tk {

// "en_US", "de_DE", ... or "" for the system locale.
void SetFormatLocale(const std::string& name);
// A number that changes whenever SetFormatLocale is called, so that texts
// formatted earlier can be told to be stale.
std::uint64_t FormatLocaleGeneration();
char ThousandSeparator();
char DecimalSeparator();
const std::string& ShortDateFormat();  // in the pattern vocabulary below, e.g. "M/d/yyyy"
const std::string& ShortTimeFormat();  // e.g. "h:nn AM/PM"

// Formats a number by a pattern: "0" a digit always shown, "#" a digit shown
// when significant, "," thousands grouping, "." the decimal point; other
// characters (and quoted text) are copied. The value is rounded to the
// decimals the pattern shows, halves away from zero. Up to three sections
// separated by ';' give the formats for positive, negative and zero values.
std::string FormatFloat(const std::string& pattern, double value);

// Date-time values are days since 30 December 1899, the time of day as the fraction.
using TDateTime = double;

struct TDateParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The calendar runs from 0001-01-01 to 9999-12-31 (proleptic Gregorian).
// Decoding a day count outside it gives the nearer end (NaN gives the epoch);
// encoding refuses parts that name no day of it.
class EConvertError : public Exception {
 public:
  EConvertError();  // "Invalid argument to date encode"
};

TDateParts DecodeDateTime(TDateTime value);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeDateTime(const TDateParts& parts);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12
// Moves a date by whole months, keeping the day where the month allows; a move
// past either end of the calendar stops in its first or last month.
TDateTime IncMonth(TDateTime value, int months);

// Formats a date-time by a pattern: d dd ddd dddd, m mm mmm mmmm (minutes
// right after an hour), yy yyyy, h hh, n nn, s ss, z zzz, am/pm, AM/PM,
// "ddddd" the short date, "t" the short time, "c" both, '/' and ':' as the
// locale separators, quoted text copied. A value outside the calendar (NaN
// and the infinities too) has no date and gives the empty text.
std::string FormatDateTime(const std::string& pattern, TDateTime value);

}  // namespace tk
