#pragma once
// The default palette: sixteen colours that series and points take in turn.

#include "toolkit/Color.h"

inline constexpr int kDefaultPaletteSize = 16;

// Entry index mod 16 (a negative index counts from the end).
tk::TColor DefaultPaletteColor(int index);

// Each channel of the colour (resolved to RGB) lowered by amount, never below 0.
// Solid shapes shade their side faces with it.
tk::TColor DarkenColor(tk::TColor color, int amount);
