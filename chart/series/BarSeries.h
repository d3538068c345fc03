#pragma once
// Bar series: one bar per point from an origin to the point's value, upright
// (TBarSeries) or lying (THorizBarSeries). Bar series of the same class in a
// chart are laid out together: side by side, stacked, stacked to 100 % or
// overlapping; in 3D charts the bars are solids.

#include <functional>

#include "chart/ChartErrors.h"
#include "chart/canvas/ChartPen.h"
#include "chart/panel/Titles.h"
#include "chart/series/Series.h"

// A bar setting out of its range; the setting keeps its old value.
class BarException : public ChartException {
 public:
  explicit BarException(const std::string& message) : ChartException(message) {}
};

enum TBarStyle {
  bsRectangle,
  bsPyramid,
  bsInvPyramid,
  bsCilinder,
  bsEllipse,
  bsArrow,
  bsRectGradient,
};

enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

class TCustomBarSeries;
using TOnGetBarStyle =
    std::function<void(TCustomBarSeries* sender, int valueIndex, TBarStyle& style)>;

// One bar on screen: across runs the thickness (x for upright bars), the
// value and origin pixels run along the value axis.
struct TBarGeometry {
  int low = 0, high = 0;  // across: left and right (top and bottom when lying)
  int value = 0, origin = 0;
  int Near() const { return value < origin ? value : origin; }  // top (left when lying)
  int Far() const { return value < origin ? origin : value; }   // bottom (right when lying)
};

class TCustomBarSeries : public TChartSeries {
 public:
  TCustomBarSeries();
  ~TCustomBarSeries() override;

  // ---------------------------------------------------------------- properties
  bool AutoBarSize() const { return autoBarSize_; }
  void SetAutoBarSize(bool on) { Set(autoBarSize_, on); }
  bool AutoMarkPosition() const { return autoMarkPosition_; }
  void SetAutoMarkPosition(bool on) { Set(autoMarkPosition_, on); }
  TChartBrush& BarBrush() { return barBrush_; }
  const TChartBrush& BarBrush() const { return barBrush_; }
  TChartPen& BarPen() { return barPen_; }
  const TChartPen& BarPen() const { return barPen_; }
  void SetBarPen(const TChartPen& pen) { barPen_.Assign(pen); }
  TBarStyle BarStyle() const { return barStyle_; }
  void SetBarStyle(TBarStyle style) { Set(barStyle_, style); }
  int BarWidthPercent() const { return barWidthPercent_; }
  void SetBarWidthPercent(int percent);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool on) { Set(dark3D_, on); }
  // Shared: setting it on one bar series sets it on every series of its class in the chart.
  TMultiBar MultiBar() const { return multiBar_; }
  void SetMultiBar(TMultiBar mode);
  int OffsetPercent() const { return offsetPercent_; }
  void SetOffsetPercent(int percent);
  // Shared like MultiBar.
  bool SideMargins() const { return sideMargins_; }
  void SetSideMargins(bool on);
  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool on) { Set(useYOrigin_, on); }
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double origin);

  // ---------------------------------------------------------------- events
  TOnGetBarStyle OnGetBarStyle;

  // ---------------------------------------------------------------- drawing state
  // The bar thickness in pixels, worked out with the axis margins.
  int BarSize() const { return barSize_; }
  tk::TColor BarColor() const { return barColor_; }
  const tk::TRect& BarBounds() const { return barBounds_; }

  // ---------------------------------------------------------------- operations
  TBarStyle BarStyleOf(int index) const;
  // Where bar `index` lies on screen, before any projection.
  TBarGeometry BarAt(int index) const;
  // Series of this class laid out with this one, and this one's place among them (from 1).
  int SeriesInGroup() const;
  int OrderInGroup() const;

  void StartDrawingPoints() override;
  void DrawPoint(int index) override;
  void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  int PointAtPixel(int x, int y) const override;
  bool DrawsForward() const override;
  bool DrawsSeriesForward(int index) const override;
  void AssignZOrder() override;
  void PrepareLegendBrush(int index, tk::TColor& backColor, tk::TBrushStyle& style) override;
  void DrawLegendSymbol(int index, const tk::TRect& box) override;
  int SampleCount() const override { return 6; }
  void FillSampleValues(int count) override;
  void Assign(const tk::TComponent& source) override;

 protected:
  template <typename T>
  void Set(T& field, const T& value) {
    if (tk::Change(field, value)) RequestRepaint();
  }
  // Whether the bars stand (value on the vertical axis) or lie.
  virtual bool Upright() const = 0;
  virtual int CustomThickness() const = 0;
  TSeriesAxis* CategoryAxis() const { return Upright() ? GetHorizAxis() : GetVertAxis(); }
  TSeriesAxis* ValueAxis() const { return Upright() ? GetVertAxis() : GetHorizAxis(); }
  // Works out the thickness; the margins across the bars come with it.
  void CategoryMargins(int& first, int& second) const;
  void ValueMargins(int& low, int& high) const;
  // The stacked extremes of the value list the bars stand for.
  double HighestBarValue(double plain) const;
  double LowestBarValue(double plain) const;

 private:
  bool SameClass(const TChartSeries* s) const;
  int ComputeBarSize() const;
  int MarkLength() const;
  int CategoryPixel(int index) const;
  int ValuePixel(double v) const;
  int AcrossShift() const;
  int ValueAxisLowEnd() const;
  void PrepareBarTools(int index);
  void DrawFlatBar(TBarStyle style, const TBarGeometry& g);
  void Draw3DBar(TBarStyle style, const TBarGeometry& g);
  void DrawFlatRectangle(const tk::TRect& r);
  void FillFrontGradient(const tk::TRect& r);
  bool Flat() const;
  static int Middle(const TBarGeometry& g);
  tk::TRect ScreenRect(const TBarGeometry& g) const;

  bool autoBarSize_ = false;
  bool autoMarkPosition_ = true;
  TChartBrush barBrush_;
  TChartPen barPen_;
  TBarStyle barStyle_ = bsRectangle;
  int barWidthPercent_ = 70;
  bool dark3D_ = true;
  TMultiBar multiBar_ = mbSide;
  int offsetPercent_ = 0;
  bool sideMargins_ = true;
  bool useYOrigin_ = true;
  double yOrigin_ = 0;
  mutable int barSize_ = 0;  // the margins run on a const series and fix it for the paint
  tk::TColor barColor_ = tk::clDefault;
  tk::TRect barBounds_{};
};

class TBarSeries : public TCustomBarSeries {
 public:
  TBarSeries();
  int CustomBarWidth() const { return customBarWidth_; }
  void SetCustomBarWidth(int width) { Set(customBarWidth_, width); }

  void HorizontalMargins(int& left, int& right) const override;
  void VerticalMargins(int& top, int& bottom) const override;
  double HighestY() const override;
  double LowestY() const override;
  std::string EditorClassName() const override { return "TBarSeriesEditor"; }

 protected:
  bool Upright() const override { return true; }
  int CustomThickness() const override { return customBarWidth_; }

 private:
  int customBarWidth_ = 0;
};

class THorizBarSeries : public TCustomBarSeries {
 public:
  THorizBarSeries();
  int CustomBarHeight() const { return customBarHeight_; }
  void SetCustomBarHeight(int height) { Set(customBarHeight_, height); }

  TChartValueList& MandatoryList() const override { return XValues(); }
  void HorizontalMargins(int& left, int& right) const override;
  void VerticalMargins(int& top, int& bottom) const override;
  double HighestX() const override;
  double LowestX() const override;
  std::string EditorClassName() const override { return "THorizBarSeriesEditor"; }

 protected:
  bool Upright() const override { return false; }
  int CustomThickness() const override { return customBarHeight_; }

 private:
  int customBarHeight_ = 0;
};
