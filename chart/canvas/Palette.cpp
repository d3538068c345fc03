#include "chart/canvas/Palette.h"

namespace {

constexpr tk::TColor kPalette[kDefaultPaletteSize] = {
    tk::clRed,     tk::clGreen,  tk::clYellow, tk::clBlue,   tk::clWhite, tk::clGray,
    tk::clFuchsia, tk::clTeal,   tk::clNavy,   tk::clMaroon, tk::clLime,  tk::clOlive,
    tk::clPurple,  tk::clSilver, tk::clAqua,   tk::clBlack,
};

}  // namespace

tk::TColor DefaultPaletteColor(int index) {
  const int i = index % kDefaultPaletteSize;
  return kPalette[i < 0 ? i + kDefaultPaletteSize : i];
}

tk::TColor DarkenColor(tk::TColor color, int amount) {
  const tk::TColor rgb = tk::ColorToRGB(color);
  auto channel = [amount](int c) { return static_cast<std::uint8_t>(c > amount ? c - amount : 0); };
  return tk::RGB(channel(tk::RedOf(rgb)), channel(tk::GreenOf(rgb)), channel(tk::BlueOf(rgb)));
}
