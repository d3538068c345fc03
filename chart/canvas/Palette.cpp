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
