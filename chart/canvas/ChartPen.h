#pragma once
// The chart pen: a pen that can be switched off and can draw fine alternate
// dots, with preset variants for the chart's hidden, grid, tick, axis and
// arrow pens.

#include <functional>

#include "toolkit/Graphics.h"

class TZozCanvas;

class TChartPen : public tk::TPen {
 public:
  explicit TChartPen(std::function<void()> onChange = {}) : tk::TPen(std::move(onChange)) {}

  bool SmallDots() const { return smallDots_; }
  void SetSmallDots(bool on) { Set(smallDots_, on); }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { Set(visible_, on); }
  // Takes every setting of another chart pen.
  void Assign(const TChartPen& other);

  // Whether a stored form would keep a property, i.e. it differs from this class's default.
  bool ColorIsStored() const { return Color() != defaults_.color; }
  bool StyleIsStored() const { return Style() != defaults_.style; }
  bool WidthIsStored() const { return Width() != defaults_.width; }
  bool VisibleIsStored() const { return visible_ != defaultVisible_; }

 protected:
  // Preset classes change their defaults and the current values together.
  void SetDefaults(tk::TColor color, int width, tk::TPenStyle style, bool visible);

 private:
  bool smallDots_ = false;
  bool visible_ = true;
  tk::TPenSpec defaults_;
  bool defaultVisible_ = true;
};

// Off unless switched on (the minor grid).
class TChartHiddenPen : public TChartPen {
 public:
  explicit TChartHiddenPen(std::function<void()> onChange = {});
};

// Gray dots (grid lines).
class TDottedGrayPen : public TChartPen {
 public:
  explicit TDottedGrayPen(std::function<void()> onChange = {});
};

// Gray (ticks).
class TDarkGrayPen : public TChartPen {
 public:
  explicit TDarkGrayPen(std::function<void()> onChange = {});
};

// Two pixels wide (axis lines).
class TChartAxisPen : public TChartPen {
 public:
  explicit TChartAxisPen(std::function<void()> onChange = {});
};

// White (arrows of series marks).
class TChartArrowPen : public TChartPen {
 public:
  explicit TChartArrowPen(std::function<void()> onChange = {});
};

// Makes the canvas's surface pen draw like the chart pen.
void SelectChartPen(TZozCanvas& canvas, const TChartPen& pen);
