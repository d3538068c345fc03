#pragma once
// Colours are 32-bit values with red in the low byte, green in the second and
// blue in the third (0x00BBGGRR). Two values above the RGB range are reserved
// by the chart engine; system colours are resolved elsewhere.

#include <cstdint>

namespace tk {

using TColor = std::uint32_t;

// "Use the owner's colour": a point takes its series' colour, a series gets a
// free palette colour when it joins a chart.
inline constexpr TColor clDefault = 0x20000000;
// Marks a null point, which series types skip when drawing.
inline constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}
constexpr std::uint8_t RedOf(TColor c) {
  return c & 0xFF;
}
constexpr std::uint8_t GreenOf(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(TColor c) {
  return (c >> 16) & 0xFF;
}

constexpr bool IsPlainRGB(TColor c) {
  return c <= 0x00FFFFFF;
}

}  // namespace tk
