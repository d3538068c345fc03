#include "toolkit/Rounding.h"

#include <cmath>
#include <limits>
#if defined(__x86_64__) && defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "toolkit/Errors.h"

namespace tk {

namespace {

template <typename Int>
Int Saturate(long double v) {
  if (v >= static_cast<long double>(std::numeric_limits<Int>::max()))
    return std::numeric_limits<Int>::max();
  if (v <= static_cast<long double>(std::numeric_limits<Int>::min()))
    return std::numeric_limits<Int>::min();
  return static_cast<Int>(v);
}

}  // namespace

std::int64_t RoundHalfEven(double value) {
#if defined(__x86_64__) && defined(__SSE2__)
  // In its default mode the processor rounds to nearest with ties to even, which
  // is this rounding in one instruction; a paint rounds tens of thousands of
  // coordinates. Values outside the 64-bit range take the exact path below.
  if (std::fabs(value) < 9223372036854775808.0) return _mm_cvtsd_si64(_mm_set_sd(value));
#endif
  if (std::isnan(value)) return 0;
  const double floor = std::floor(value);
  const double fraction = value - floor;  // exact for doubles: both share the exponent range
  double result = floor;
  if (fraction > 0.5) {
    result = floor + 1.0;
  } else if (fraction == 0.5) {
    // tie: pick whichever neighbour is even
    result = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
  }
  return Saturate<std::int64_t>(result);
}

std::int32_t RoundToInt(double value) {
  const std::int64_t r = RoundHalfEven(value);
  return Saturate<std::int32_t>(static_cast<long double>(r));
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return 0;
  // |a*b| < 2^62 always fits; the rounding is done on magnitudes so that
  // halves go away from zero whatever the signs.
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::uint64_t num =
      product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  const std::uint64_t den = c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c))
                                  : static_cast<std::uint64_t>(c);
  std::uint64_t q = num / den;
  const std::uint64_t r = num % den;
  if (r * 2 >= den) ++q;
  const long double magnitude = static_cast<long double>(q);
  return Saturate<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int64_t Div(std::int64_t a, std::int64_t b) {
  if (b == 0) throw EDivByZero();
  if (b == -1)
    return a == std::numeric_limits<std::int64_t>::min() ? a : -a;  // no trap on MIN / -1
  return a / b;
}

std::int64_t Mod(std::int64_t a, std::int64_t b) {
  if (b == 0) throw EDivByZero();
  if (b == -1) return 0;
  return a % b;
}

}  // namespace tk
