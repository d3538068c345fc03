#pragma once
// Pies: the points of a series as the slices of a circle (an ellipse unless
// Circled) filling the chart rectangle, each slice's angle proportional to
// the magnitude of its value; slices can be pushed out from the centre, small
// ones gathered into one "other" slice, and in 3D charts they are thick.

#include <functional>
#include <string>
#include <vector>

#include "chart/ChartErrors.h"
#include "chart/canvas/ChartPen.h"
#include "chart/series/Series.h"
#include "toolkit/Screen.h"

class PieException : public ChartException {
 public:
  explicit PieException(const std::string& message) : ChartException(message) {}
};

// The x value that marks the extra point standing for the "other" slice.
inline constexpr double kOtherSliceX = 2147483647.0;

// How many vertical pixels one horizontal pixel is worth on this screen:
// (pixel width / pixel height) over (millimetre width / millimetre height);
// 1 when the screen does not know its size.
double ScreenPixelRatio(const tk::TScreenMetrics& screen);

// The circle's box within a chart rectangle, before the explosion is taken out.
struct TCircleLayout {
  tk::TRect rect;
  int xCenter = 0, yCenter = 0, xRadius = 0, yRadius = 0;
};
struct TCircleRoom {
  int vertical = 0;    // taken off the top and the bottom (marks)
  int horizontal = 0;  // taken off the left and the right (marks)
};
TCircleLayout LayoutCircle(const tk::TRect& chartRect, const TCircleRoom& room, bool circled,
                           double pixelRatio, int customXRadius, int customYRadius);

class TCircledSeries : public TChartSeries {
 public:
  TCircledSeries();
  ~TCircledSeries() override;

  // ---------------------------------------------------------------- properties
  // Circled and the custom radii are shared by the chart's series of the same class.
  bool Circled() const { return circled_; }
  void SetCircled(bool on);
  int CustomXRadius() const { return customXRadius_; }
  void SetCustomXRadius(int r);
  int CustomYRadius() const { return customYRadius_; }
  void SetCustomYRadius(int r);
  // Degrees; stored modulo 360, a negative angle raises PieException.
  int RotationAngle() const { return rotationAngle_; }
  void SetRotationAngle(int degrees);
  tk::TColor CircleBackColor() const { return circleBackColor_; }
  void SetCircleBackColor(tk::TColor c);

  // ---------------------------------------------------------------- geometry of the last paint
  tk::TRect CircleRect;
  int CircleWidth = 0, CircleHeight = 0;
  int CircleXCenter = 0, CircleYCenter = 0;
  int XRadius = 0, YRadius = 0;
  double Rotation() const;

  // ---------------------------------------------------------------- operations
  // The point at an angle (radians from the rotation, counter-clockwise).
  tk::TPoint AngleToPos(double angle, double xRadius, double yRadius) const;
  // The angle of a screen point seen from the centre, from the rotation, in [0, 2 pi).
  double PointToAngle(int x, int y) const;
  // Lays the circle out in the chart rectangle (marks room, Circled, custom radii).
  void CalcCircleGeometry();
  // Puts the circle at the centre with the given radii.
  void SetCircleRadii(int xRadius, int yRadius);
  // The pixel ratio Circled corrects for; the primary screen's by default.
  double PixelRatio() const;
  std::function<tk::TScreenMetrics()> ScreenMetrics;

  bool UsesAxes() const override { return false; }
  void SetParentChart(TSeriesChart* chart) override;
  void SetActive(bool active) override;
  void Assign(const tk::TComponent& source) override;

 protected:
  TZozCanvas3D* Canvas() const;
  int MarksRoomVertical() const;
  int MarksRoomHorizontal() const;

 private:
  // The chart leaves its pie mode once no active circled series is left in it.
  static bool HasOtherActiveCircled(const TSeriesChart& chart, const TChartSeries* except);
  void EnterPieMode();
  void LeavePieMode(TSeriesChart& chart);
  template <typename F>
  void ForSameClass(F&& apply);

  bool circled_ = false;
  int customXRadius_ = 0, customYRadius_ = 0;
  int rotationAngle_ = 0;
  tk::TColor circleBackColor_ = tk::clDefault;
};

enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

// Which small slices become one "other" slice.
class TPieOtherSlice {
 public:
  explicit TPieOtherSlice(TChartSeries& owner) : owner_(owner) {}
  TPieOtherStyle Style() const { return style_; }
  void SetStyle(TPieOtherStyle s);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& t);
  double Value() const { return value_; }
  void SetValue(double v);
  void Assign(const TPieOtherSlice& other);

 private:
  TChartSeries& owner_;
  TPieOtherStyle style_ = poNone;
  std::string text_ = "Other";
  double value_ = 0;
};

// How far each slice is pushed out, in percent of the radii; 0 beyond the list.
class TExplodedSlices {
 public:
  explicit TExplodedSlices(TChartSeries& owner) : owner_(owner) {}
  int Value(int index) const;
  // Grows the list with zeros as needed; a different value repaints.
  void SetValue(int index, int percent);
  // The same without the repaint, for the paint itself.
  void Store(int index, int percent);
  int Count() const { return static_cast<int>(values_.size()); }
  int Largest() const;

 private:
  TChartSeries& owner_;
  std::vector<int> values_;
};

class TPieSeries : public TCircledSeries {
 public:
  TPieSeries();

  // ---------------------------------------------------------------- properties
  TChartPen& PiePen() { return piePen_; }
  void SetPiePen(const TChartPen& pen) { piePen_.Assign(pen); }
  int ExplodeBiggest() const { return explodeBiggest_; }
  void SetExplodeBiggest(int percent);
  TPieOtherSlice& OtherSlice() { return otherSlice_; }
  void SetOtherSlice(const TPieOtherSlice& o) { otherSlice_.Assign(o); }
  bool UsePatterns() const { return usePatterns_; }
  void SetUsePatterns(bool on);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool on);
  TChartValueList& PieValues() const { return YValues(); }
  TExplodedSlices& ExplodedSlice() { return exploded_; }

  // ---------------------------------------------------------------- slice state of the last paint
  struct TSliceAngles {
    double start = 0, middle = 0, end = 0;
  };
  const std::vector<TSliceAngles>& Angles() const { return angles_; }
  bool IsExploded() const { return isExploded_; }
  // A point gathered into the "other" slice: no slice, mark or legend item.
  bool IsOtherMember(int index) const;
  // The shift of an exploded slice's centre (y up).
  tk::TPoint ExplodeOffset(int index) const;

  // ---------------------------------------------------------------- operations
  void CalcAngles();
  void PrepareChartDraw() override;
  void StartDrawingPoints() override;
  void DrawAllPoints() override;
  void DrawPoint(int index) override;
  void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  // the depth whose rim a mark at this rim point starts from in 3D
  int OutwardDepth(const TZozCanvas3D& c, tk::TPoint rim) const;
  int PointAtPixel(int x, int y) const override;
  int LegendItemCount() const override;
  int LegendIndexToPoint(int i) const override;
  int PointToLegendIndex(int point) const override;
  void PrepareLegendBrush(int index, tk::TColor& backColor, tk::TBrushStyle& style) override;
  int SampleCount() const override { return 8; }
  void FillSampleValues(int count) override;
  void Assign(const tk::TComponent& source) override;
  // The order in which the slices are drawn.
  std::vector<int> DrawingOrder() const;

 private:
  void PrepareOtherSlice();
  void ApplyExplodeBiggest();
  void ShrinkForExplosion();
  void PrepareSliceTools(int index);
  tk::TColor BackOfPatterns() const;

  TChartPen piePen_;
  int explodeBiggest_ = 0;
  TPieOtherSlice otherSlice_;
  bool usePatterns_ = false;
  bool dark3D_ = true;
  TExplodedSlices exploded_;
  std::vector<TSliceAngles> angles_;
  bool isExploded_ = false;
  tk::TPoint nextStart_{0, 0};  // where the next flat slice starts
};
