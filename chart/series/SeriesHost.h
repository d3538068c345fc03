#pragma once
// What a series needs of the chart that shows it and of the axes that place
// its points. The chart panel and its axes implement these; keeping them this
// narrow lets series code and its tests stand without the panel.

#include <cstddef>
#include <limits>
#include <string>

#include "toolkit/Color.h"
#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"

namespace tk {
class TComponent;
}

class TZozCanvas3D;

class TChartSeries;

// An axis as a series sees it: converts between values and pixels.
class TSeriesAxis {
 public:
  virtual ~TSeriesAxis() = default;
  virtual bool IsHorizontal() const = 0;
  virtual bool Inverted() const = 0;
  virtual int ValueToPixel(double value) const = 0;
  virtual double PixelToValue(int pixel) const = 0;
  // The value one step after `value` along this axis: a date axis steps
  // whole months and years on the calendar, anything else adds the step.
  virtual double IncrementValue(double value, double step) const { return value + step; }
  // The pixel where the axis ends: the bottom of a vertical axis, the right of a horizontal one.
  virtual int AxisEndPixel() const = 0;
  // Where, going towards larger values, the pixel after `pixel` begins; NaN
  // when the axis has no such boundary (not linear, or no extent).
  virtual double NextPixelValue(int /*pixel*/) const {
    return std::numeric_limits<double>::quiet_NaN();
  }
  // For ascending values: how many, from the first on, land on the first one's
  // pixel (each value times multiplier); that pixel goes to `pixel`.
  // A value written as the axis writes its labels.
  virtual std::string LabelText(double value) = 0;
  std::size_t PixelRun(const double* values, std::size_t count, double multiplier,
                       int& pixel) const;
};

// Raises "Circular Series dependences are not allowed" when `source` is fed,
// directly or down its chain of sources, by `series`.
void CheckNoCircularSeriesSource(const TChartSeries* series, const TChartSeries* source);

// A chart as a series sees it.
class TSeriesChart {
 public:
  virtual ~TSeriesChart() = default;

  // the series list: joining and leaving it, and reading it
  virtual void AddSeries(TChartSeries* series) = 0;
  virtual void RemoveSeries(TChartSeries* series) = 0;
  virtual int SeriesCount() const = 0;
  virtual TChartSeries* SeriesAt(int index) const = 0;

  // painting
  virtual void Invalidate() = 0;
  virtual bool IsDestroying() const = 0;
  virtual tk::TRect ChartRectangle() const = 0;
  // the colour behind the plot: the back wall's, or the panel's when the wall has none
  virtual tk::TColor ChartBackColor() const = 0;
  // the legend's text of one point of a series
  virtual std::string FormatValueForLegend(TChartSeries* series, int valueIndex) = 0;

  // axes
  virtual TSeriesAxis* GetBottomAxis() const = 0;
  virtual TSeriesAxis* GetTopAxis() const = 0;
  virtual TSeriesAxis* GetLeftAxis() const = 0;
  virtual TSeriesAxis* GetRightAxis() const = 0;

  // 3D and depth slots
  virtual bool View3D() const = 0;
  virtual void SetView3D(bool view3D) = 0;
  virtual void SetClipPoints(bool clip) = 0;
  virtual bool AppliesZOrder() const = 0;
  virtual int MaxZOrder() const = 0;
  virtual void SetMaxZOrder(int z) = 0;
  // depth of one series slot, across and up
  virtual int SeriesDepthWidth() const = 0;
  virtual int SeriesDepthHeight() const = 0;

  // the canvas the chart draws with; series draw their points on it
  virtual TZozCanvas3D* DrawingCanvas() const = 0;
  // Shows the buffered picture, with whatever was drawn into it since the
  // last paint, without redrawing the chart.
  virtual void ShowBuffer() = 0;

  // a series that handled a click asks the chart to ignore the rest of it
  virtual void CancelMouseAction() = 0;
  // links between series (data sources)
  virtual void CheckDataSource(TChartSeries* series) = 0;
  // Whether `source` may feed `series`: a series other than it that it accepts.
  virtual bool IsValidDataSource(const TChartSeries* series, const tk::TComponent* source) const;
  // Raises "Circular Series dependences are not allowed" when `source` is fed,
  // directly or down its chain of sources, by `series`.
  virtual void CheckNoCircularSource(const TChartSeries* series, const TChartSeries* source) const;
  virtual void DataSourceRemoved(TChartSeries* /*series*/, tk::TComponent* /*source*/) {}

  // legend symbols: the legend's colour at its last paint, and fill styles
  virtual tk::TColor LegendColor() const { return tk::clWhite; }
  virtual tk::TColor PanelColor() const { return tk::clBtnFace; }
  virtual void ApplyFillStyle(tk::TColor /*color*/, tk::TBrushStyle /*style*/,
                              tk::TColor /*backColor*/) {}

  // sample values: the span the other series cover on a series' axes; False
  // when no series of the chart has points
  virtual bool ValueSpan(const TChartSeries& /*series*/, double& /*lowX*/, double& /*highX*/,
                         double& /*lowY*/, double& /*highY*/) const {
    return false;
  }
  // A pie fills the chart rectangle: entering hides axes, walls and frame and
  // stops zoom and panning; leaving shows and allows them again.
  virtual void SwitchPieMode(bool /*entering*/) {}
  virtual bool AutoRepaint() const { return true; }
  virtual void SetAutoRepaint(bool /*on*/) {}
};
