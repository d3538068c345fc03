#pragma once
// Graphics objects in the engine's vocabulary: pen, brush and font
// descriptions, the pen and brush objects that tell their owner when they
// change, and the text alignment and background flags of the drawing surface.

#include <functional>
#include <string>

#include "toolkit/Color.h"
#include "toolkit/Font.h"

namespace tk {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor,
};
enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

// Text alignment flags: one horizontal and one vertical flag, or-ed.
inline constexpr unsigned TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24;
inline constexpr unsigned TA_HORIZONTAL_MASK = 6, TA_VERTICAL_MASK = 24;

// Background modes behind text, hatches and dashes.
inline constexpr int TRANSPARENT = 1, OPAQUE = 2;

// Pixels per inch of every surface: sizes in points convert at 96.
inline constexpr int kPixelsPerInch = 96;

struct TPenSpec {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = psSolid;
  TPenMode mode = pmCopy;
  bool alternatePixels = false;  // a cosmetic pen that sets every other pixel
  bool operator==(const TPenSpec&) const = default;
};

struct TBrushSpec {
  TColor color = clWhite;
  TBrushStyle style = bsSolid;
  bool operator==(const TBrushSpec&) const = default;
};

// A font as the surface selects it: the description plus the rotation of the
// text's baseline in tenths of a degree, counter-clockwise.
struct TFontSpec {
  TFont font{"Arial", -13, clBlack, {}};
  int escapement = 0;
  bool operator==(const TFontSpec&) const = default;
};

// A pen that tells its owner when it changes.
class TPen {
 public:
  explicit TPen(std::function<void()> onChange = {}) : onChange_(std::move(onChange)) {}
  virtual ~TPen() = default;
  TColor Color() const { return spec_.color; }
  void SetColor(TColor c) { Set(spec_.color, c); }
  int Width() const { return spec_.width; }
  void SetWidth(int w) { Set(spec_.width, w); }
  TPenStyle Style() const { return spec_.style; }
  void SetStyle(TPenStyle s) { Set(spec_.style, s); }
  TPenMode Mode() const { return spec_.mode; }
  void SetMode(TPenMode m) { Set(spec_.mode, m); }
  const TPenSpec& Settings() const { return spec_; }
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

 protected:
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void Changed() {
    if (onChange_) onChange_();
  }
  TPenSpec spec_;

 private:
  std::function<void()> onChange_;
};

// A brush that tells its owner when it changes.
class TBrush {
 public:
  explicit TBrush(std::function<void()> onChange = {}, TColor color = clWhite)
      : spec_{color, bsSolid}, onChange_(std::move(onChange)) {}
  TColor Color() const { return spec_.color; }
  void SetColor(TColor c) {
    if (c == spec_.color) return;
    spec_.color = c;
    if (onChange_) onChange_();
  }
  TBrushStyle Style() const { return spec_.style; }
  void SetStyle(TBrushStyle s) {
    if (s == spec_.style) return;
    spec_.style = s;
    if (onChange_) onChange_();
  }
  const TBrushSpec& Settings() const { return spec_; }
  void Assign(const TBrush& other) {
    if (other.spec_ == spec_) return;
    spec_ = other.spec_;
    if (onChange_) onChange_();
  }

 private:
  TBrushSpec spec_;
  std::function<void()> onChange_;
};

// A font object: the description, its size in points, and a change handler.
class TFontObject {
 public:
  explicit TFontObject(std::function<void()> onChange = {}) : onChange_(std::move(onChange)) {}
  const TFont& Value() const { return font_; }
  void Assign(const TFont& font) {
    if (font == font_) return;
    font_ = font;
    Changed();
  }
  const std::string& Name() const { return font_.name; }
  void SetName(const std::string& name) { Assign({name, font_.height, font_.color, font_.style}); }
  TColor Color() const { return font_.color; }
  void SetColor(TColor c) { Assign({font_.name, font_.height, c, font_.style}); }
  const TFontStyle& Style() const { return font_.style; }
  void SetStyle(const TFontStyle& s) { Assign({font_.name, font_.height, font_.color, s}); }
  int Height() const { return font_.height; }
  void SetHeight(int h) { Assign({font_.name, h, font_.color, font_.style}); }
  // Points at 96 pixels per inch; a size sets a character height.
  int Size() const;
  void SetSize(int points);
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

 private:
  void Changed() {
    if (onChange_) onChange_();
  }
  TFont font_{"Arial", -11, clBlack, {}};
  std::function<void()> onChange_;
};

// Points to a character height in pixels (negative) and back, at 96 per inch.
int PointsToHeight(int points);
int HeightToPoints(int height);

}  // namespace tk
