#pragma once
// Graphics objects in the engine's vocabulary: pen, brush and font
// descriptions, the pen and brush objects that tell their owner when they
// change, and the text alignment and background flags of the drawing surface.

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// A pattern for brushes: a small picture of RGB pixels that a fill repeats
// across the surface. The repeats line up with the surface's origin, not with
// the figure, so neighbouring fills join without a seam. A pattern never
// changes once made and is shared by handle (brush objects, the surface's
// brush, recorded calls), so two handles to one pattern are the same pattern.
class TBrushBitmap {
 public:
  // pixels: width x height colours, row by row from the top; missing pixels are white and
  // surplus ones ignored, negative sizes count as 0
  TBrushBitmap(int width, int height, std::vector<TColor> pixels);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // No pixels: a brush with an empty pattern fills as if it had none.
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // The colour at (x, y) of the endless repeat, for any x and y.
  TColor PixelAt(int x, int y) const;
  const std::vector<TColor>& Pixels() const { return pixels_; }

 private:
  int width_, height_;
  std::vector<TColor> pixels_;
};

using TBrushBitmapRef = std::shared_ptr<const TBrushBitmap>;

TBrushBitmapRef MakeBrushBitmap(int width, int height, std::vector<TColor> pixels);

// What a fill paints with. A brush with a non-empty bitmap fills with that
// pattern whatever its style and colour (bsClear included); without one, the
// style decides: nothing, the colour, or a hatch in the colour over the
// background. The bitmap stays with the brush until it is taken away, so code
// that sets up a plain fill sets bitmap to nullptr.
struct TBrushSpec {
  TBrushSpec(TColor c = clWhite, TBrushStyle s = bsSolid, TBrushBitmapRef b = nullptr)
      : color(c), style(s), bitmap(std::move(b)) {}
  TColor color;
  TBrushStyle style;
  TBrushBitmapRef bitmap;
  bool HasBitmap() const { return bitmap && !bitmap->Empty(); }
  // Whether a fill with this brush paints anything.
  bool Fills() const { return style != bsClear || HasBitmap(); }
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
  // The pattern the brush fills with; nullptr (the default) for none.
  const TBrushBitmapRef& Bitmap() const { return spec_.bitmap; }
  void SetBitmap(TBrushBitmapRef b) {
    if (b == spec_.bitmap) return;
    spec_.bitmap = std::move(b);
    if (onChange_) onChange_();
  }
  // An empty pattern counts as none.
  bool HasBitmap() const { return spec_.HasBitmap(); }
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
