#pragma once
// The legend: the box beside, above or below the plotting area that lists the
// chart's series or the points of one series, each with a colour box. It is
// laid out and drawn early in every paint and takes its room out of the chart
// rectangle.

#include <string>

#include "chart/canvas/ChartPen.h"
#include "chart/panel/Titles.h"
#include "chart/series/Series.h"
#include "toolkit/Errors.h"

class TCustomChart;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };

// Legend settings out of range.
class LegendException : public tk::Exception {
 public:
  explicit LegendException(const std::string& message) : tk::Exception(message) {}
};

class TCustomChartLegend : public TChartFontObject {
 public:
  explicit TCustomChartLegend(TCustomChart& chart);

  // ---------------------------------------------------------------- properties
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment a) { Set(alignment_, a); }
  TChartBrush& Brush() { return brush_; }
  void SetBrush(const tk::TBrush& brush) { brush_.Assign(brush); }
  tk::TColor Color() const { return color_; }
  void SetColor(tk::TColor c) { Set(color_, c); }
  int ColorWidth() const { return colorWidth_; }
  void SetColorWidth(int percent);
  TChartHiddenPen& DividingLines() { return dividingLines_; }
  void SetDividingLines(const TChartPen& pen) { dividingLines_.Assign(pen); }
  int FirstValue() const { return firstValue_; }
  void SetFirstValue(int first);
  TChartPen& Frame() { return frame_; }
  void SetFrame(const TChartPen& pen) { frame_.Assign(pen); }
  int HorizMargin() const { return horizMargin_; }
  void SetHorizMargin(int m) { Set(horizMargin_, m); }
  bool Inverted() const { return inverted_; }
  void SetInverted(bool on) { Set(inverted_, on); }
  TLegendStyle LegendStyle() const { return legendStyle_; }
  void SetLegendStyle(TLegendStyle style);
  int MaxNumRows() const { return maxNumRows_; }
  void SetMaxNumRows(int n) { Set(maxNumRows_, n); }
  bool ResizeChart() const { return resizeChart_; }
  void SetResizeChart(bool on) { Set(resizeChart_, on); }
  tk::TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(tk::TColor c) { Set(shadowColor_, c); }
  int ShadowSize() const { return shadowSize_; }
  void SetShadowSize(int s) { Set(shadowSize_, s); }
  TLegendTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TLegendTextStyle style) { Set(textStyle_, style); }
  int TopPos() const { return topPos_; }
  void SetTopPos(int percent);
  int VertMargin() const { return vertMargin_; }
  void SetVertMargin(int m) { Set(vertMargin_, m); }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { Set(visible_, on); }
  bool FontIsStored() const;

  // ---------------------------------------------------------------- run-time values
  // where the last paint that drew the legend put the box
  const tk::TRect& RectLegend() const { return rect_; }
  TLegendStyle EffectiveStyle() const { return effectiveStyle_; }
  int ColorWidthPixels() const { return colorBoxWidth_; }
  int NumCols() const { return numCols_; }
  int NumRows() const { return numRows_; }

  // ---------------------------------------------------------------- operations
  bool IsVertical() const { return alignment_ == laLeft || alignment_ == laRight; }
  void CalcEffectiveStyle();
  int TotalLegendItems() const;
  // The text of item i (FirstValue counts), after OnGetLegendText.
  std::string ItemText(int i) const;
  // A point's text as the legend composes it; empty for index -1.
  std::string PointText(const TChartSeries& series, int index) const;
  int WidestText(int n);
  // Lays the legend out, draws it and takes its room from the chart rectangle.
  void DrawLegend();
  // The position (0-based, FirstValue not counted) of the item at (x, y), or -1.
  int Clicked(int x, int y) const;
  void Assign(const TCustomChartLegend& other);

  // ---------------------------------------------------------------- overridables
  // How many items of `itemSize` pixels fit from `start` to the chart rectangle's far edge.
  virtual int MaxLegendValues(int start, int itemSize) const;

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (tk::Change(field, value)) Repaint();
  }
  // layout state of one draw
  struct TLayout {
    int h = 0, tw = 0, items = 0, textX = 0, boxX = 0, slotCount = 0;
  };
  void LayoutRows(TLayout& l);
  void LayoutWidths(TLayout& l);
  void DrawBackground();
  void DrawItem(const TLayout& l, int i, int p);
  void TakeRoom();
  int ExtraFrame() const;

  TCustomChart& owner_;
  TLegendAlignment alignment_ = laRight;
  TChartBrush brush_;
  tk::TColor color_ = tk::clWhite;
  int colorWidth_ = 12;
  TChartHiddenPen dividingLines_;
  int firstValue_ = 0;
  TChartPen frame_;
  int horizMargin_ = 0;
  bool inverted_ = false;
  TLegendStyle legendStyle_ = lsAuto;
  int maxNumRows_ = 10;
  tk::TRect rect_;
  bool resizeChart_ = true;
  tk::TColor shadowColor_ = tk::clBlack;
  int shadowSize_ = 3;
  TLegendTextStyle textStyle_ = ltsLeftValue;
  int topPos_ = 10;
  int vertMargin_ = 0;
  bool visible_ = true;
  TLegendStyle effectiveStyle_ = lsAuto;
  int colorBoxWidth_ = 0;
  int numCols_ = 0, numRows_ = 0;
  int itemHeight_ = 0;  // the row height of the last draw, for hit tests between paints
};

class TChartLegend : public TCustomChartLegend {
 public:
  using TCustomChartLegend::TCustomChartLegend;
};
