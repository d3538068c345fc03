#pragma once
// The marker a series can draw at each of its points: its shape, half sizes,
// pen and brush, flat or as a solid in 3D charts.

#include "chart/canvas/ChartPen.h"
#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"

class TChartSeries;
class TZozCanvas3D;

enum TSeriesPointerStyle {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond,
  psSmallDot,
};

class TSeriesPointer {
 public:
  explicit TSeriesPointer(TChartSeries& owner);

  // ---------------------------------------------------------------- properties
  // the fill; a colour of the default sentinel takes the point's colour
  tk::TBrush& Brush() { return brush_; }
  const tk::TBrush& Brush() const { return brush_; }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool on) { Set(dark3D_, on); }
  bool Draw3D() const { return draw3D_; }
  void SetDraw3D(bool on) { Set(draw3D_, on); }
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int size);
  bool InflateMargins() const { return inflateMargins_; }
  void SetInflateMargins(bool on) { Set(inflateMargins_, on); }
  TChartPen& Pen() { return pen_; }
  const TChartPen& Pen() const { return pen_; }
  TSeriesPointerStyle Style() const { return style_; }
  void SetStyle(TSeriesPointerStyle style) { Set(style_, style); }
  int VertSize() const { return vertSize_; }
  void SetVertSize(int size);
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { Set(visible_, on); }

  // ---------------------------------------------------------------- operations
  // The marker of a point at (x, y) on the series' chart, in 3D when the chart is.
  void Draw(int x, int y, tk::TColor color, TSeriesPointerStyle style);
  // The marker flat at the centre of a legend symbol, smaller when a line runs through it.
  void DrawLegendShape(tk::TColor color, const tk::TRect& r, bool withLine);
  // What a visible marker asks of the axes so that markers at the ends are not cut.
  void Margins(int& horizontal, int& vertical) const;
  // The box the marker of a point at (x, y) covers.
  tk::TRect Box(int x, int y) const {
    return {x - horizSize_, y - vertSize_, x + horizSize_, y + vertSize_};
  }
  void Assign(const TSeriesPointer& other);

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void Repaint() const;
  void Prepare(TZozCanvas3D& c, tk::TColor color) const;
  void DrawFlat(TZozCanvas3D& c, int x, int y, int h, int v, tk::TColor color,
                TSeriesPointerStyle style) const;
  void Draw3DShape(TZozCanvas3D& c, int x, int y, tk::TColor color,
                   TSeriesPointerStyle style) const;

  TChartSeries& owner_;
  tk::TBrush brush_;
  bool dark3D_ = true;
  bool draw3D_ = true;
  int horizSize_ = 4;
  bool inflateMargins_ = true;
  TChartPen pen_;
  TSeriesPointerStyle style_ = psRectangle;
  int vertSize_ = 4;
  bool visible_ = true;
};
