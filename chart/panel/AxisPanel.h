#pragma once
// The axis layer of the chart control: the series list, the five axes and
// the axis list, paging, and the fixed paint sequence.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/panel/Axis.h"
#include "chart/panel/ZozPanel.h"
#include "chart/series/Series.h"

class TCustomAxisPanel;

// The chart's series in attach order: the drawing order and the order of every search.
class TChartSeriesList {
 public:
  explicit TChartSeriesList(TCustomAxisPanel& chart) : chart_(chart) {}
  int Count() const { return static_cast<int>(items_.size()); }
  TChartSeries* operator[](int i) const { return items_[static_cast<size_t>(i)]; }
  int CountActive() const;
  int IndexOf(const TChartSeries* s) const;
  TCustomAxisPanel& Chart() const { return chart_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  friend class TCustomAxisPanel;
  TCustomAxisPanel& chart_;
  std::vector<TChartSeries*> items_;
};

using TAxisOnGetLabel = std::function<void(TCustomChartAxis* sender, TChartSeries* series,
                                           int valueIndex, std::string& labelText)>;
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;

// The chart frees the series still attached to it when it is destroyed, so
// attach only series made with new (or detach them first).
class TCustomAxisPanel : public TCustomZozPanelExtended, public TSeriesChart {
 public:
  explicit TCustomAxisPanel(tk::TWinControl* parent);
  ~TCustomAxisPanel() override;

  // ---------------------------------------------------------------- properties
  bool View3DWalls() const { return view3DWalls_; }
  void SetView3DWalls(bool on) { SetValue(view3DWalls_, on); }
  bool ClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool on) override { SetValue(clipPoints_, on); }
  bool AxisVisible() const { return axisVisible_; }
  void SetAxisVisible(bool on) { SetValue(axisVisible_, on); }
  int MaxPointsPerPage() const { return maxPointsPerPage_; }
  void SetMaxPointsPerPage(int n);
  int Page() const { return page_; }
  virtual void SetPage(int page);
  bool ScaleLastPage() const { return scaleLastPage_; }
  void SetScaleLastPage(bool on) { SetValue(scaleLastPage_, on); }
  int PageCount() const;

  TChartAxis& BottomAxis() { return *bottomAxis_; }
  TChartAxis& TopAxis() { return *topAxis_; }
  TChartAxis& LeftAxis() { return *leftAxis_; }
  TChartAxis& RightAxis() { return *rightAxis_; }
  TChartDepthAxis& DepthAxis() { return *depthAxis_; }
  const std::vector<TCustomChartAxis*>& Axes() const { return axes_; }
  // A custom axis, owned by the chart and appended to the axis list.
  TChartAxis& AddCustomAxis(bool horizontal, bool otherSide);
  const TChartSeriesList& SeriesList() const { return seriesList_; }

  // ---------------------------------------------------------------- events
  TChartNotifyEvent OnBeforeDrawAxes, OnBeforeDrawSeries, OnPageChange;
  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;

  // ---------------------------------------------------------------- series list
  void AttachSeries(TChartSeries* series);
  void DetachSeries(TChartSeries* series);
  void DestroyAllSeries();
  TChartSeries* Series(int i) const { return seriesList_[i]; }
  int SeriesCount() const override { return seriesList_.Count(); }
  bool AxisHasNoActiveSeries(const TCustomChartAxis& axis) const;
  TChartSeries* FirstSeriesOfAxis(const TCustomChartAxis& axis) const;
  int WidestXLabel();
  virtual int WidestMark();
  int LargestPointCount() const;
  // Width of the widest line of a text in the canvas font, and how many lines it has.
  int WidthOfLines(const std::string& text, int* lines = nullptr);
  TChartSeries* LegendSeriesAt(int n) const;
  std::string LegendSeriesTitle(int n) const;
  // The n-th active series' title as a legend would show it, whether or not it is in the legend.
  std::string ActiveSeriesTitle(int n) const;
  TChartSeries* FirstActiveSeries() const;
  tk::TColor NextFreeSeriesColor(bool checkBackground) const;
  virtual bool IsColorFree(tk::TColor color, bool checkBackground) const;
  bool AcceptsDataSource(const TChartSeries* series, const tk::TComponent* source) const;
  void RefreshFromSource(TChartSeries* series);
  void CheckNoCircularSource(const TChartSeries* destination,
                             const TChartSeries* source) const override;
  // nothing at this layer: the chart with its legend formats points
  std::string FormatValueForLegend(TChartSeries* /*series*/, int /*valueIndex*/) override {
    return {};
  }

  // ---------------------------------------------------------------- axes
  bool AxisShown(const TCustomChartAxis& axis) const;
  double SeriesLimit(const TCustomChartAxis& axis, bool minimum, bool horizontal) const;
  virtual int WallSize(const TCustomChartAxis& /*axis*/) const { return 0; }
  virtual int BackWallSize() const { return 0; }
  int MaxZOrder() const override { return maxZOrder_; }
  void SetMaxZOrder(int z) override { maxZOrder_ = z; }
  int SeriesDepth = 0, SeriesHeightDepth = 0;
  bool IsLoading() const { return false; }  // forms are built in code, never read from a stream
  void Assign(const TCustomZozPanel& other) override;

  // ---------------------------------------------------------------- TSeriesChart
  void AddSeries(TChartSeries* s) override { AttachSeries(s); }
  void RemoveSeries(TChartSeries* s) override { DetachSeries(s); }
  TChartSeries* SeriesAt(int index) const override { return seriesList_[index]; }
  void Invalidate() override { TCustomZozPanel::Invalidate(); }
  bool IsDestroying() const override { return destroying_; }
  tk::TRect ChartRectangle() const override { return ChartRect; }
  tk::TColor ChartBackColor() const override { return Color(); }
  int SeriesDepthWidth() const override { return SeriesDepth; }
  int SeriesDepthHeight() const override { return SeriesHeightDepth; }
  TSeriesAxis* GetBottomAxis() const override { return bottomAxis_.get(); }
  TSeriesAxis* GetTopAxis() const override { return topAxis_.get(); }
  TSeriesAxis* GetLeftAxis() const override { return leftAxis_.get(); }
  TSeriesAxis* GetRightAxis() const override { return rightAxis_.get(); }
  bool View3D() const override { return TCustomZozPanel::View3D(); }
  void SetView3D(bool on) override { TCustomZozPanel::SetView3D(on); }
  bool AppliesZOrder() const override { return ApplyZOrder; }
  void CancelMouseAction() override { CancelMouse = true; }
  void CheckDataSource(TChartSeries* series) override { RefreshFromSource(series); }
  bool IsValidDataSource(const TChartSeries* series,
                         const tk::TComponent* source) const override {
    return AcceptsDataSource(series, source);
  }
  tk::TColor LegendColor() const override { return LegendColorValue; }
  tk::TColor PanelColor() const override { return Color(); }
  void ApplyFillStyle(tk::TColor color, tk::TBrushStyle style, tk::TColor back) override {
    TCustomZozPanel::ApplyFillStyle(color, style, back);
  }
  bool ValueSpan(const TChartSeries& series, double& lowX, double& highX, double& lowY,
                 double& highY) const override;
  bool AutoRepaint() const override { return TCustomZozPanel::AutoRepaint(); }
  void SetAutoRepaint(bool on) override { TCustomZozPanel::SetAutoRepaint(on); }
  // the legend's colour as of its last paint, for series that draw legend symbols
  tk::TColor LegendColorValue = tk::clWhite;
  TZozCanvas3D* DrawingCanvas() const override { return &Canvas(); }
  void ShowBuffer() override { tk::TCustomPanel::Invalidate(); }

 protected:
  void PaintContents(const tk::TRect& bounds) override;
  virtual void LayoutAxes();
  virtual void LayoutSeriesMargins();
  virtual void PaintTitlesAndLegend() {}
  virtual void PaintWalls() {}
  void ComputeDepthSizes();
  void DrawAxes();
  void DrawAllSeries();
  void DrawSeries(TChartSeries& s);
  void DrawMarksOf(TChartSeries& s);
  void DrawSharedZOrder(int first);
  void PaintZoomRectangle();
  bool destroying_ = false;

 private:
  TChartSeriesList seriesList_;
  std::vector<TCustomChartAxis*> axes_;
  std::unique_ptr<TChartAxis> bottomAxis_, topAxis_, leftAxis_, rightAxis_;
  std::unique_ptr<TChartDepthAxis> depthAxis_;
  std::vector<std::unique_ptr<TChartAxis>> customAxes_;
  bool view3DWalls_ = true, clipPoints_ = true, axisVisible_ = true;
  int page_ = 1, maxPointsPerPage_ = 0;
  bool scaleLastPage_ = true;
  int maxZOrder_ = 0;
  std::vector<int> depthSlot_;

  friend class TCustomChartAxis;
  void RegisterAxis(TCustomChartAxis* axis) { axes_.push_back(axis); }
};
