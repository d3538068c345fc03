#pragma once
// Integer arithmetic the engine relies on for pixel-exact results: rounding
// with halves to the even neighbour, MulDiv with halves away from zero, and
// division that truncates toward zero.

#include <cstdint>

namespace tk {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// The result saturates at the 64-bit limits; NaN gives 0, so a bad value can
// never turn into undefined behaviour further down a drawing path.
std::int64_t RoundHalfEven(double value);

// RoundHalfEven narrowed to a 32-bit pixel coordinate (saturating).
std::int32_t RoundToInt(double value);

// a * b / c computed without intermediate overflow and rounded to the nearest
// integer with halves away from zero. A zero divisor gives 0 (there is no
// meaningful quotient and every caller would rather draw nothing than fail);
// a result outside 32 bits saturates.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// Integer division truncating toward zero; throws EDivByZero for b == 0.
std::int64_t Div(std::int64_t a, std::int64_t b);

// Remainder matching Div: the sign follows the dividend.
std::int64_t Mod(std::int64_t a, std::int64_t b);

}  // namespace tk
