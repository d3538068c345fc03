#include "toolkit/Rounding.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <random>

#include "toolkit/Errors.h"

using namespace tk;

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  struct Case {
    double v;
    std::int64_t r;
  };
  const Case cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {0.49999999999999994, 0},
      {2.5000000001, 3},
      {-2.5000000001, -3},
      {7.0, 7},
      {-7.0, -7},
      {1e15 + 0.5, 1000000000000000},
      {4503599627370497.0, 4503599627370497},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RoundHalfEven(c.v), c.r) << c.v;
}

TEST(RoundHalfEven, AgreesWithTheFloatingPointUnitOnRandomValues) {
  ASSERT_EQ(std::fegetround(), FE_TONEAREST);
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> wide(-1e9, 1e9);
  std::uniform_int_distribution<int> halves(-4000, 4000);
  for (int i = 0; i < 20000; ++i) {
    const double v = (i % 2) ? wide(rng) : halves(rng) / 2.0;  // half of them exact ties
    EXPECT_EQ(RoundHalfEven(v), static_cast<std::int64_t>(std::nearbyint(v))) << v;
  }
}

TEST(RoundHalfEven, NonFiniteAndHugeValuesSaturate) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(INFINITY), kMax);
  EXPECT_EQ(RoundHalfEven(-INFINITY), kMin);
  EXPECT_EQ(RoundHalfEven(1e300), kMax);
  EXPECT_EQ(RoundToInt(3e9), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt(-3e9), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(RoundToInt(-2.5), -2);
  // either side of 2^63, where the one-instruction rounding hands over to saturation
  EXPECT_EQ(RoundHalfEven(9223372036854774784.0), 9223372036854774784LL);  // 2^63 - 1024
  EXPECT_EQ(RoundHalfEven(9223372036854775808.0), kMax);                   // 2^63
  EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), kMin);                  // -2^63
  EXPECT_EQ(RoundHalfEven(-9223372036854777856.0), kMin);                  // -2^63 - 2048
  EXPECT_EQ(RoundHalfEven(-2251799813685249.5), -2251799813685250LL);      // a tie near 2^51
}

namespace {

// Reference: exact rational arithmetic in 128 bits, halves away from zero as
// floor((2|n| + |d|) / 2|d|) with the sign put back afterwards.
std::int64_t ReferenceMulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
  const __int128 n = static_cast<__int128>(a) * b;
  const __int128 an = n < 0 ? -n : n;
  const __int128 ad = c < 0 ? -static_cast<__int128>(c) : c;
  const __int128 q = (2 * an + ad) / (2 * ad);
  return static_cast<std::int64_t>(((n < 0) != (c < 0)) ? -q : q);
}

}  // namespace

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  struct Case {
    int a, b, c, r;
  };
  const Case cases[] = {
      {1, 1, 2, 1},
      {-1, 1, 2, -1},
      {1, -1, 2, -1},
      {-1, -1, 2, 1},
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {5, 1, -2, -3},
      {1, 1, 3, 0},
      {2, 1, 3, 1},
      {-2, 1, 3, -1},
      {3, 671, 100, 20},
      {4, 209, 100, 8},
      {50, 671, 100, 336},
      {0, 7, 3, 0},
      {65536, 65536, 1, std::numeric_limits<int>::max()},
      {-65536, 65536, 1, std::numeric_limits<int>::min()},
      {7, 9, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.r) << c.a << "*" << c.b << "/" << c.c;
}

TEST(MulDiv, MatchesExactRationalArithmetic) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> small(-2000, 2000);
  std::uniform_int_distribution<int> big(std::numeric_limits<int>::min(),
                                         std::numeric_limits<int>::max());
  for (int i = 0; i < 50000; ++i) {
    const int a = (i % 3) ? small(rng) : big(rng);
    const int b = small(rng);
    int c = (i % 5) ? small(rng) : big(rng);
    if (c == 0) c = 1;
    std::int64_t expected = ReferenceMulDiv(a, b, c);
    expected = std::clamp<std::int64_t>(expected, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max());
    ASSERT_EQ(MulDiv(a, b, c), expected) << a << "*" << b << "/" << c;
  }
}

TEST(Div, TruncatesTowardZero) {
  struct Case {
    std::int64_t a, b, q, r;
  };
  const Case cases[] = {
      {7, 2, 3, 1},
      {-7, 2, -3, -1},
      {7, -2, -3, 1},
      {-7, -2, 3, -1},
      {1, 2, 0, 1},
      {25, 2, 12, 1},
      {0, 5, 0, 0},
      {std::numeric_limits<std::int64_t>::min(), -1, std::numeric_limits<std::int64_t>::min(), 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(Div(c.a, c.b), c.q) << c.a << " div " << c.b;
    EXPECT_EQ(Mod(c.a, c.b), c.r) << c.a << " mod " << c.b;
  }
}

TEST(Div, ByZeroRaisesItsError) {
  EXPECT_THROW(Div(1, 0), EDivByZero);
  try {
    Mod(1, 0);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Division by zero");
  }
}
