#pragma once
// A series drawn as a plain line from point to point, with as little work
// per point as possible: a segment that would end on the pixel where the
// previous one ended is not drawn at all.

#include "chart/canvas/ChartPen.h"
#include "chart/series/DenseColumns.h"
#include "chart/series/Series.h"

#include <vector>

class TFastLineSeries : public TChartSeries {
 public:
  TFastLineSeries();
  ~TFastLineSeries() override;

  // properties
  TChartPen& LinePen() { return linePen_; }
  void SetLinePen(const TChartPen& pen);
  bool AutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool on) {
    if (tk::Change(autoRepaint_, on)) RequestRepaint();
  }
  void SetSeriesColor(tk::TColor color) override;
  tk::TPoint LastDrawnPoint() const { return last_; }
  // Draw dense data through each pixel column's extremes (on by default).
  bool ReduceDensePoints = true;

  // operations
  void DrawAllPoints() override;
  void DrawPoint(int index) override;
  int PointAtPixel(int x, int y) const override;
  void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  void HorizontalMargins(int& left, int& right) const override;
  void VerticalMargins(int& top, int& bottom) const override;
  void DrawLegendSymbol(int index, const tk::TRect& r) override;
  std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }
  void Assign(const tk::TComponent& source) override;

 protected:
  void AfterPointAdded(TChartSeries* sender, int index) override;

 private:
  void PreparePen();
  TZozCanvas3D* Canvas() const;
  bool Flat() const;
  // Dense data: many more visible points than pixel columns.
  bool ShouldReduce() const;
  void DrawReduced();
  void DrawChain();

  TChartPen linePen_;
  bool autoRepaint_ = true;
  tk::TPoint last_{0, 0};
  std::vector<tk::TPoint> chain_;  // a dense paint's reduced points, reused between paints
};
