#pragma once
// The everyday series types and the drawing engine they share: a line from
// point to point (optionally as stairs, a ribbon in 3D charts), the region
// under it filled, and a marker at every point.

#include <functional>

#include "chart/canvas/ChartPen.h"
#include "chart/series/Pointer.h"
#include "chart/series/Series.h"
#include "toolkit/Change.h"

class TCustomSeries;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TCustomSeries* sender, int valueIndex)>;
using TOnClickPointer = std::function<void(TCustomSeries* sender, int valueIndex, int x, int y)>;

enum TMultiArea { maNone, maStacked, maStacked100 };

class TCustomSeries : public TChartSeries {
 public:
  TCustomSeries();
  ~TCustomSeries() override;

  // ---------------------------------------------------------------- properties
  tk::TBrushStyle AreaBrush() const { return areaBrush_; }
  void SetAreaBrush(tk::TBrushStyle style) { Set(areaBrush_, style); }
  tk::TColor AreaColor() const { return areaColor_; }
  void SetAreaColor(tk::TColor color) { Set(areaColor_, color); }
  TChartPen& AreaLinesPen() { return areaLinesPen_; }
  void SetAreaLinesPen(const TChartPen& pen) { areaLinesPen_.Assign(pen); }
  bool ClickableLine() const { return clickableLine_; }
  void SetClickableLine(bool on) { clickableLine_ = on; }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool on) { Set(dark3D_, on); }
  bool DrawArea() const { return drawArea_; }
  void SetDrawArea(bool on) { Set(drawArea_, on); }
  bool DrawLine() const { return drawLine_; }
  void SetDrawLine(bool on) { Set(drawLine_, on); }
  bool InvertedStairs() const { return invertedStairs_; }
  void SetInvertedStairs(bool on) { Set(invertedStairs_, on); }
  tk::TBrushStyle LineBrush() const { return lineBrush_; }
  void SetLineBrush(tk::TBrushStyle style) { Set(lineBrush_, style); }
  int LineHeight() const { return lineHeight_; }
  void SetLineHeight(int height) { Set(lineHeight_, height); }
  TChartPen& LinePen() { return linePen_; }
  void SetLinePen(const TChartPen& pen) { linePen_.Assign(pen); }
  TSeriesPointer& Pointer() { return pointer_; }
  const TSeriesPointer& Pointer() const { return pointer_; }
  void SetPointer(const TSeriesPointer& pointer) { pointer_.Assign(pointer); }
  bool Stairs() const { return stairs_; }
  void SetStairs(bool on) { Set(stairs_, on); }
  // Draw dense lines through each pixel column's extremes (on by default).
  bool ReduceDensePoints = true;

  // ---------------------------------------------------------------- drawing state
  int BottomPos = 0, PrevBottomPos = 0;
  tk::TPoint PrevPoint{0, 0};
  tk::TColor PrevColor = tk::clNone;
  double SlopeRatio = 1;

  // ---------------------------------------------------------------- events
  TOnClickPointer OnClickPointer;
  TOnGetPointerStyle OnGetPointerStyle;

  // ---------------------------------------------------------------- operations
  TSeriesPointerStyle PointerStyleOf(int index);
  void DrawAllPoints() override;
  void DrawPoint(int index) override;
  void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  int PointAtPixel(int x, int y) const override;
  void HorizontalMargins(int& left, int& right) const override;
  void VerticalMargins(int& top, int& bottom) const override;
  bool HandleClick(int pointIndex, tk::TMouseButton button, tk::TShiftState shift, int x,
                   int y) override;
  void DrawLegendSymbol(int index, const tk::TRect& r) override;
  // Takes another series' settings; the type keeps its own line, area and marker choice.
  void Assign(const tk::TComponent& source) override;

 protected:
  template <typename T>
  void Set(T& field, const T& value) {
    if (tk::Change(field, value)) RequestRepaint();
  }
  // Each type's own draw-line, draw-area and marker visibility.
  virtual void ForceTypeSettings() {}
  // Where the point's area ends below it: the bottom of the vertical axis.
  virtual int OriginPixel(int index) const;
  // Whether every point's area ends at the bottom of the vertical axis and
  // each point is drawn at its own value (nothing stacked).
  virtual bool PlainOrigin() const { return true; }
  TZozCanvas3D* Canvas() const;
  bool Flat() const;

 private:
  void AssignOwnSettings(const TCustomSeries& source);
  void LeadIn(int index, tk::TPoint q, tk::TColor c);
  void DrawSegmentTo(int index, tk::TPoint q, tk::TColor c, bool markers);
  void DrawRibbon(int index, tk::TPoint p, tk::TPoint q, tk::TColor c);
  void DrawAreaPart(int index, tk::TPoint p, tk::TPoint q, tk::TColor c);
  void DrawFlatLine(tk::TPoint p, tk::TPoint q, tk::TColor c);
  void DrawAreaOutlineColumn(int x, int top, int bottom, tk::TColor c);
  void DrawAreaPartOutline(tk::TPoint p, tk::TPoint q, tk::TColor c);
  void DrawMarkers(int index, tk::TPoint q, tk::TColor c);
  tk::TColor FillColor(tk::TColor c) const;
  bool ShouldReduce() const;
  void DrawReduced();
  bool OnLineBetween(tk::TPoint target, tk::TPoint p, tk::TPoint q) const;

  tk::TBrushStyle areaBrush_ = tk::bsSolid;
  tk::TColor areaColor_ = tk::clDefault;
  TChartPen areaLinesPen_;
  bool clickableLine_ = true;
  bool dark3D_ = true;
  bool drawArea_ = false;
  bool drawLine_ = false;
  bool invertedStairs_ = false;
  tk::TBrushStyle lineBrush_ = tk::bsSolid;
  int lineHeight_ = 0;
  TChartPen linePen_;
  TSeriesPointer pointer_;
  bool stairs_ = false;
  int prevIndex_ = -1;  // the point at PrevPoint, whose marker is still to come
};

class TLineSeries : public TCustomSeries {
 public:
  TLineSeries();

 protected:
  void ForceTypeSettings() override;
};

class TPointSeries : public TCustomSeries {
 public:
  TPointSeries();

 protected:
  void ForceTypeSettings() override;
};

class TAreaSeries : public TCustomSeries {
 public:
  TAreaSeries();

  // Stacking is shared: setting it on one area series sets it on all of the chart's.
  TMultiArea MultiArea() const { return multiArea_; }
  void SetMultiArea(TMultiArea mode);

  int YPixel(int index) const override;
  double HighestY() const override;
  double LowestY() const override;
  void AssignZOrder() override;

 protected:
  void ForceTypeSettings() override;
  int OriginPixel(int index) const override;
  bool PlainOrigin() const override { return multiArea_ == maNone; }

 private:
  // The value a stacked point is drawn at, and the value its area starts from.
  double StackedValue(int index, bool origin) const;

  TMultiArea multiArea_ = maNone;
};
