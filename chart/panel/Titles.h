#pragma once
// The chart's titles (above and below the plotting area) and its walls
// (behind the series, beside the vertical axis, under the horizontal one).

#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "chart/panel/ZozPanel.h"
#include "toolkit/Graphics.h"
#include "toolkit/StdControls.h"

// A brush whose colour starts as "no colour of its own"; its pattern bitmap
// (Bitmap, SetBitmap, HasBitmap) is the toolkit brush's.
class TChartBrush : public tk::TBrush {
 public:
  explicit TChartBrush(std::function<void()> onChange)
      : tk::TBrush(std::move(onChange), tk::clDefault) {}
};

// An object that carries a chart font (titles, legend).
class TChartFontObject {
 public:
  explicit TChartFontObject(TCustomZozPanel& chart);
  virtual ~TChartFontObject() = default;
  TCustomZozPanel& ParentChart() const { return chart_; }
  tk::TFontObject& Font() { return *font_; }
  const tk::TFontObject& Font() const { return *font_; }
  void SetFont(const tk::TFont& font) { font_->Assign(font); }
  void Repaint() { chart_.Invalidate(); }

 protected:
  TCustomZozPanel& chart_;
  std::unique_ptr<tk::TFontObject> font_;
};

class TChartTitle : public TChartFontObject {
 public:
  explicit TChartTitle(TCustomZozPanel& chart);

  bool AdjustFrame() const { return adjustFrame_; }
  void SetAdjustFrame(bool on) { Set(adjustFrame_, on); }
  tk::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(tk::TAlignment a) { Set(alignment_, a); }
  TChartBrush& Brush() { return brush_; }
  tk::TColor Color() const { return color_; }
  void SetColor(tk::TColor c) { Set(color_, c); }
  TChartHiddenPen& Frame() { return frame_; }
  const std::vector<std::string>& Text() const { return text_; }
  void SetText(const std::vector<std::string>& lines);
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { Set(visible_, on); }
  const tk::TRect& TitleRect() const { return titleRect_; }
  bool FontIsStored() const;

  // True when visible and (x, y) lies in the title rectangle (right and bottom excluded).
  bool Clicked(int x, int y) const;
  // Draws the title at the top (or the foot at the bottom) and takes its space from the chart
  // rectangle.
  void DrawTitle(bool onTop);
  void Assign(const TChartTitle& other);

 private:
  template <typename T>
  void Set(T& f, const T& v) {
    if (tk::Change(f, v)) Repaint();
  }
  bool adjustFrame_ = true;
  tk::TAlignment alignment_ = tk::taCenter;
  TChartBrush brush_;
  tk::TColor color_ = tk::clDefault;
  TChartHiddenPen frame_;
  std::vector<std::string> text_;
  tk::TRect titleRect_;
  bool visible_ = true;
};

class TChartWall {
 public:
  TChartWall(TCustomZozPanel& chart, tk::TColor defaultColor);

  TChartBrush& Brush() { return brush_; }
  tk::TColor Color() const { return color_; }
  void SetColor(tk::TColor c) { Set(color_, c); }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool on) { Set(dark3D_, on); }
  TChartPen& Pen() { return pen_; }
  int Size() const { return size_; }
  void SetSize(int s) { Set(size_, s); }
  TCustomZozPanel& ParentChart() const { return chart_; }
  bool ColorIsStored() const { return color_ != defaultColor_; }
  // Shade the sides of a thick wall: Dark3D with a visible fill and no bitmap.
  bool ShadingFlag() const {
    return dark3D_ && brush_.Style() != tk::bsClear && !brush_.HasBitmap();
  }
  // Sets the canvas pen and brush to draw this wall.
  void Prepare();
  void Assign(const TChartWall& other);

 private:
  template <typename T>
  void Set(T& f, const T& v) {
    if (tk::Change(f, v)) chart_.Invalidate();
  }
  TCustomZozPanel& chart_;
  tk::TColor color_;
  TChartBrush brush_;
  bool dark3D_ = true;
  TChartPen pen_;
  int size_ = 0;
  tk::TColor defaultColor_;
};
