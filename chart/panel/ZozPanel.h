#pragma once
// The two lower layers of the chart control: the panel with its margins, 3D
// settings, canvas, chart bounds and chart rectangle, invalidation and paint
// entry; and the extended panel with the background gradient, back image and
// the zoom and panning switches.

#include <functional>
#include <memory>

#include "chart/canvas/Canvas.h"
#include "chart/canvas/View3DOptions.h"
#include "toolkit/Change.h"
#include "toolkit/CustomPanel.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TZozBackImageMode { pbmStretch, pbmTile, pbmCenter };

// A mouse drag in progress: zooming or panning.
struct TZoomRecord {
  bool Active = false;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  void Activate(int x, int y) {
    Active = true;
    X0 = X1 = x;
    Y0 = Y1 = y;
  }
};

class TCustomZozPanel;
using TChartNotifyEvent = std::function<void(TCustomZozPanel* sender)>;

class TChartGradient {
 public:
  explicit TChartGradient(std::function<void()> changed) : changed_(std::move(changed)) {}
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Set(visible_, v); }
  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection d) { Set(direction_, d); }
  tk::TColor StartColor() const { return startColor_; }
  void SetStartColor(tk::TColor c) { Set(startColor_, c); }
  tk::TColor EndColor() const { return endColor_; }
  void SetEndColor(tk::TColor c) { Set(endColor_, c); }
  void Assign(const TChartGradient& o) {
    visible_ = o.visible_;
    direction_ = o.direction_;
    startColor_ = o.startColor_;
    endColor_ = o.endColor_;
    changed_();
  }

 private:
  template <typename T>
  void Set(T& f, T v) {
    if (tk::Change(f, std::move(v))) changed_();
  }
  std::function<void()> changed_;
  bool visible_ = false;
  TGradientDirection direction_ = gdTopBottom;
  tk::TColor startColor_ = tk::clWhite, endColor_ = tk::clYellow;
};

class TCustomZozPanel : public tk::TCustomPanel {
 public:
  explicit TCustomZozPanel(tk::TWinControl* parent);
  ~TCustomZozPanel() override;

  // ---------------------------------------------------------------- properties
  int MarginLeft() const { return margins_.left; }
  int MarginTop() const { return margins_.top; }
  int MarginRight() const { return margins_.right; }
  int MarginBottom() const { return margins_.bottom; }
  void SetMarginLeft(int v) { SetValue(margins_.left, v); }
  void SetMarginTop(int v) { SetValue(margins_.top, v); }
  void SetMarginRight(int v) { SetValue(margins_.right, v); }
  void SetMarginBottom(int v) { SetValue(margins_.bottom, v); }
  bool View3D() const { return view3D_; }
  virtual void SetView3D(bool on) { SetValue(view3D_, on); }
  TView3DOptions& View3DOptions() { return *view3DOptions_; }
  int Chart3DPercent() const { return chart3DPercent_; }
  void SetChart3DPercent(int percent);
  bool Monochrome() const { return canvas_->MonochromeBuffer(); }
  void SetMonochrome(bool on) { canvas_->SetMonochromeBuffer(on); }
  bool PrintProportional() const { return printProportional_; }
  void SetPrintProportional(bool on) { printProportional_ = on; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut b) { SetValue(bevelOuter_, b); }
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut b) { SetValue(bevelInner_, b); }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int w) { SetValue(bevelWidth_, w); }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int w) { SetValue(borderWidth_, w); }
  void SetColor(tk::TColor c) override;

  // ---------------------------------------------------------------- run-time state
  TZozCanvas3D& Canvas() const { return *canvas_; }
  const tk::TRect& ChartBounds() const { return chartBounds_; }
  tk::TRect ChartRect;
  int ChartWidth = 0, ChartHeight = 0, ChartXCenter = 0, ChartYCenter = 0;
  bool ApplyZOrder = true;
  int TotalDepth = 0, TotalHeightDepth = 0;
  TZoomRecord Zoom, Panning;
  bool CancelMouse = false;
  int SavedCursor = tk::crDefault;

  // ---------------------------------------------------------------- operations
  // Marks the picture dirty and asks for a paint; nothing is drawn now. Asked
  // while a paint is drawing, it asks for one more paint after that one.
  void Invalidate();
  bool Painting() const { return painting_; }
  void SetAutoRepaint(bool on) { autoRepaint_ = on; }
  // Redraws the whole chart now rather than on the next paint message.
  void RepaintNow();
  bool AutoRepaint() const { return autoRepaint_; }
  // The whole chart onto any surface, within a rectangle.
  virtual void PaintInto(tk::TSurface& surface, const tk::TRect& r);
  void UpdateChartMetrics();
  virtual void ToolChanged() { Invalidate(); }
  void SelectFont(const tk::TFontObject& font);
  virtual void PaintBevels(const tk::TRect& r);
  bool ClippingAllowed() const { return !canvas_->HandlesProjection(); }
  void ApplyFillStyle(tk::TColor color, tk::TBrushStyle style, tk::TColor backColor);
  // Takes another chart's settings (not its series).
  virtual void Assign(const TCustomZozPanel& other);

 protected:
  void Paint(tk::TSurface& surface) override;
  virtual void PaintContents(const tk::TRect& bounds) = 0;
  template <typename T>
  void SetValue(T& field, const T& value) {
    if (tk::Change(field, value)) Invalidate();
  }

 private:
  tk::TRect margins_{3, 4, 3, 4};
  bool view3D_ = true;
  std::unique_ptr<TView3DOptions> view3DOptions_;
  int chart3DPercent_ = 15;
  bool printProportional_ = true;
  TBevelCut bevelOuter_ = bvRaised, bevelInner_ = bvNone;
  int bevelWidth_ = 1, borderWidth_ = 0;
  std::unique_ptr<TZozCanvas3D> canvas_;
  tk::TRect chartBounds_;
  bool autoRepaint_ = false;
  bool painting_ = false, repaintAfterPaint_ = false;
};

class TCustomZozPanelExtended : public TCustomZozPanel {
 public:
  explicit TCustomZozPanelExtended(tk::TWinControl* parent);

  TChartGradient& Gradient() { return gradient_; }
  const tk::TPicture* BackImage() const { return backImage_.get(); }
  void SetBackImage(std::shared_ptr<const tk::TPicture> picture);
  TZozBackImageMode BackImageMode() const { return backImageMode_; }
  void SetBackImageMode(TZozBackImageMode m) { SetValue(backImageMode_, m); }
  bool AllowZoom() const { return allowZoom_; }
  void SetAllowZoom(bool on) { allowZoom_ = on; }
  TPanningMode AllowPanning() const { return allowPanning_; }
  void SetAllowPanning(TPanningMode m) { allowPanning_ = m; }
  bool AnimatedZoom() const { return animatedZoom_; }
  void SetAnimatedZoom(bool on) { SetValue(animatedZoom_, on); }
  int AnimatedZoomSteps() const { return animatedZoomSteps_; }
  void SetAnimatedZoomSteps(int n) { SetValue(animatedZoomSteps_, n); }
  bool Zoomed = false;

  TChartNotifyEvent OnAfterDraw, OnScroll, OnUndoZoom, OnZoom;

  virtual void PaintBackImage(const tk::TRect& r);
  virtual void FillBackground(const tk::TRect& r);
  virtual void PaintPanel(const tk::TRect& r);
  // The back image into a rectangle at a depth (0 for the panel, the total depth inside the back
  // wall).
  void DrawBackImage(tk::TRect r, int z);
  void Assign(const TCustomZozPanel& other) override;

 private:
  int animatedZoomSteps_ = 8;
  bool animatedZoom_ = false, allowZoom_ = true;
  TPanningMode allowPanning_ = pmBoth;
  std::shared_ptr<const tk::TPicture> backImage_;
  TZozBackImageMode backImageMode_ = pbmStretch;
  TChartGradient gradient_;
};
