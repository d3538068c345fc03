// Number and date-time formatting, and date stepping: any pattern, any value.
// Beyond not crashing, decoding an in-calendar day must encode back to it and
// month steps must stay in the calendar.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdlib>

#include "toolkit/Format.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tk::SetFormatLocale("en_US");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const double value = in.ConsumeBool() ? in.ConsumeFloatingPoint<double>()
                                        : in.ConsumeFloatingPointInRange<double>(-1e7, 1e7);
  const int months = in.ConsumeIntegral<int>();
  const std::string pattern = in.ConsumeRandomLengthString(64);
  (void)tk::FormatFloat(pattern, value);
  (void)tk::FormatDateTime(pattern, value);

  const tk::TDateParts p = tk::DecodeDateTime(value);
  const double day = tk::EncodeDate(p.year, p.month, p.day);  // a decoded date always encodes
  if (value >= -693593 && value < 2958466 && day != std::trunc(value)) std::abort();
  const double moved = tk::IncMonth(value, months);
  if (!(moved >= -693594 && moved < 2958466)) std::abort();
  return 0;
}
