#pragma once
// A font as the program describes it: face name, height in pixels (negative:
// character height; positive: cell height, leading included), colour and style.

#include <string>

#include "toolkit/Color.h"

namespace tk {

struct TFontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const TFontStyle&) const = default;
};

struct TFont {
  std::string name = "MS Sans Serif";
  int height = -11;
  TColor color = clWindowText;
  TFontStyle style;
  bool operator==(const TFont&) const = default;
};

// The installed face that stands in for a face name the machine lacks. The old
// bitmap sans-serif faces of the design are not on Linux; Liberation Sans (from
// fonts-liberation2, installed everywhere we build) has nearly the same widths,
// so captions fit the sizes the window was designed with.
std::string MappedFontFamily(const std::string& name);

}  // namespace tk
