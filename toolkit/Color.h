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

namespace tk {

// System colours: the high bit set and the element index in the low byte.
// They resolve to fixed RGB values so that pictures are the same everywhere.
inline constexpr TColor clSystemBit = 0x80000000;
inline constexpr TColor clScrollBar = 0x80000000;
inline constexpr TColor clBackground = 0x80000001;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowFrame = 0x80000006;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnText = 0x80000012;
inline constexpr TColor clBtnHighlight = 0x80000014;

// The plain colours the program names.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

constexpr bool IsSystemColor(TColor c) {
  return (c & clSystemBit) != 0;
}

// A colour as plain 0x00BBGGRR: system colours through the fixed table (an
// unknown element gives black), plain colours with any stray high byte
// cleared. The reserved engine values must be handled by their owners first.
TColor ColorToRGB(TColor c);

}  // namespace tk
