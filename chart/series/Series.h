#pragma once
// The base of every series type: points made of one value per value list
// (x and y at least), an optional colour and label each; adding, removing and
// clearing them with the events and notices that go with it; the visible index
// range that drawing uses; and the axes that place the points.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/series/Marks.h"
#include "chart/series/SeriesHost.h"
#include "chart/series/SparseList.h"
#include "chart/series/ValueList.h"
#include "toolkit/Change.h"
#include "toolkit/Color.h"
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"
#include "toolkit/Mouse.h"

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// What a series tells the series that take their points from it.
enum TChartChangeKind { ckCleared, ckPointAdded, ckPointRemoved, ckRefresh, ckValueModified };

// Which changes of a data source a series follows.
enum TRecalcOption : unsigned { rOnDelete = 1, rOnModify = 2, rOnInsert = 4, rOnClear = 8 };
using TRecalcOptions = unsigned;
inline constexpr TRecalcOptions kAllRecalcOptions = rOnDelete | rOnModify | rOnInsert | rOnClear;

// How the legend composes a point's text.
enum TLegendTextStyle {
  ltsPlain,
  ltsLeftValue,
  ltsRightValue,
  ltsLeftPercent,
  ltsRightPercent,
  ltsXValue
};

class TZozFunction;

// The settings a stored form keeps for a series beside its published properties.
struct TSeriesStoredExtras {
  std::vector<std::string> DataSources;  // written only with more than one data source
  std::string Identifier;                // written when not empty
  bool HasStyle = false;                 // written when the style is not empty
  unsigned Style = 0;
};

class TChartSeries;
using TSeriesNotifyEvent = std::function<void(TChartSeries* sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* sender, int valueIndex)>;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* sender)>;
using TSeriesOnClear = std::function<void(TChartSeries* sender)>;
using TSeriesClick =
    std::function<void(TChartSeries* sender, int valueIndex, tk::TMouseButton button,
                       tk::TShiftState shift, int x, int y)>;
using TSeriesOnGetMarkText =
    std::function<void(TChartSeries* sender, int valueIndex, std::string& markText)>;

class TChartSeries : public tk::TComponent {
 public:
  explicit TChartSeries(tk::TComponent* owner = nullptr);
  ~TChartSeries() override;

  // ---------------------------------------------------------------- properties

  bool Active() const { return active_; }
  virtual void SetActive(bool active);
  tk::TColor SeriesColor() const { return seriesColor_; }
  virtual void SetSeriesColor(tk::TColor color);
  bool ColorEachPoint() const { return colorEachPoint_; }
  virtual void SetColorEachPoint(bool on);
  const std::string& ColorSource() const { return colorSource_; }
  void SetColorSource(const std::string& source);
  std::int16_t Cursor() const { return cursor_; }
  void SetCursor(std::int16_t cursor) {
    if (tk::Change(cursor_, cursor)) RequestRepaint();
  }
  const std::string& XLabelsSource() const { return xLabelsSource_; }
  void SetXLabelsSource(const std::string& source);
  TSeriesChart* ParentChart() const { return parentChart_; }
  virtual void SetParentChart(TSeriesChart* chart);
  const std::string& PercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& format);
  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool show);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  const std::string& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const std::string& format);
  THorizAxis HorizAxis() const { return horizAxis_; }
  void SetHorizAxis(THorizAxis axis);
  TVertAxis VertAxis() const { return vertAxis_; }
  void SetVertAxis(TVertAxis axis);
  TSeriesAxis* CustomHorizAxis() const { return customHorizAxis_; }
  void SetCustomHorizAxis(TSeriesAxis* axis);
  TSeriesAxis* CustomVertAxis() const { return customVertAxis_; }
  void SetCustomVertAxis(TSeriesAxis* axis);
  TRecalcOptions RecalcOptions() const { return recalcOptions_; }
  void SetRecalcOptions(TRecalcOptions options) { recalcOptions_ = options; }
  unsigned Style() const { return style_; }
  void SetStyle(unsigned style) { style_ = style & 0x3F; }  // six flags, kept and copied
  const std::string& Identifier() const { return identifier_; }
  void SetIdentifier(const std::string& id) { identifier_ = id; }

  TSeriesMarks& Marks() const { return *marks_; }
  void SetMarks(const TSeriesMarks& marks) { marks_->Assign(marks); }

  TChartValueList& XValues() const { return *xValues_; }
  TChartValueList& YValues() const { return *yValues_; }
  void SetXValues(const TChartValueList& source);  // takes the settings, not the values
  void SetYValues(const TChartValueList& source);
  TChartValueLists& ValuesList() { return valuesList_; }
  const TChartValueLists& ValuesList() const { return valuesList_; }

  // depth slot: -1 lets the chart assign one
  int ZOrder() const { return zOrder_ >= 0 ? zOrder_ : autoZOrder_; }
  int FixedZOrder() const { return zOrder_; }
  void SetZOrder(int z);

  // drawing state the chart reads and sets
  int FirstVisible = -1;
  int LastVisible = -1;
  bool LimitToAxisWindow = true;
  bool IncludePointBeyondEdge = false;
  bool SinglePointAllowed = true;
  bool OwnDepthValues = false;
  int FrontDepth = 0, MiddleDepth = 0, BackDepth = 0;

  TSeriesAxis* GetHorizAxis() const { return horizAxisResolved_; }
  TSeriesAxis* GetVertAxis() const { return vertAxisResolved_; }
  const std::vector<TChartSeries*>& DependentSeries() const { return dependents_; }

  // the first data source, or none
  tk::TComponent* DataSource() const { return dataSources_.empty() ? nullptr : dataSources_[0]; }
  // Raises a ChartException and keeps the sources when the chart refuses the
  // component or it would close a circle of sources; none drops them all.
  void SetDataSource(tk::TComponent* source);
  const std::vector<tk::TComponent*>& DataSources() const { return dataSources_; }
  // The series function that computes this series' points, owned; setting one
  // frees the one before and re-checks the data source.
  TZozFunction* Function() const { return function_.get(); }
  void SetFunction(std::unique_ptr<TZozFunction> function);
  std::unique_ptr<TZozFunction> ReleaseFunction();
  bool IsLoading() const { return Loading(); }

  // ---------------------------------------------------------------- events
  TSeriesNotifyEvent AfterDrawValues;
  TSeriesNotifyEvent BeforeDrawValues;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnClear OnClearValues;
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;
  TSeriesOnGetMarkText OnGetMarkText;

  // ---------------------------------------------------------------- adding, removing, clearing
  virtual int AddPointXY(double x, double y, const std::string& label = {},
                         tk::TColor color = tk::clDefault);
  virtual int AddPointValue(double value, const std::string& label = {},
                            tk::TColor color = tk::clDefault);
  virtual int AddNullPoint(const std::string& label = {});
  virtual int AddNullPointXY(double x, double y, const std::string& label = {});
  int AddPointAtX(double x, const std::string& label = {}, tk::TColor color = tk::clDefault);
  int AddPointAtY(double y, const std::string& label = {}, tk::TColor color = tk::clDefault);
  virtual void RemovePointAt(int index);
  virtual void RemoveAllPoints();
  virtual void EmptyPointStorage();
  virtual void ExchangePoints(int i, int j);
  virtual void InsertExtraValues(int index);
  virtual void ResetValueToAdd(TChartValueList& list) { list.ValueToAdd = 0; }

  // ---------------------------------------------------------------- points
  int PointCount() const { return xValues_->ValueCount(); }
  virtual double XValueAt(int index) const { return xValues_->ValueAt(index); }
  virtual double YValueAt(int index) const { return yValues_->ValueAt(index); }
  virtual tk::TColor PointColor(int index) const;
  virtual std::string PointLabel(int index) const;
  void SetPointColor(int index, tk::TColor color);
  void SetPointLabel(int index, const std::string& label);
  bool IsNullPoint(int index) const { return PointColor(index) == tk::clNone; }
  // Whether any point was given a colour of its own (a null point counts).
  bool HasPointColors() const { return colors_.Materialized(); }
  virtual double OriginValueAt(int index) const { return MandatoryList().ValueAt(index); }
  virtual double MarkValueAt(int index) const { return MandatoryList().ValueAt(index); }
  virtual TChartValueList& MandatoryList() const { return *yValues_; }
  bool YIsMandatory() const { return &MandatoryList() == yValues_.get(); }
  virtual TChartValueList& ValueListByName(const std::string& name) const;
  virtual double HighestX() const { return xValues_->HighestValue(); }
  virtual double HighestY() const { return yValues_->HighestValue(); }
  virtual double HighestZ() const { return ZOrder(); }
  virtual double LowestX() const { return xValues_->LowestValue(); }
  virtual double LowestY() const { return yValues_->LowestValue(); }
  virtual double LowestZ() const { return ZOrder(); }
  virtual double SumOfPriorSeries(int index, bool all) const;
  virtual int SampleCount() const { return 26; }
  virtual std::string EditorClassName() const { return {}; }
  // Entries of the per-point lists actually stored, for the footprint figures.
  std::size_t PointAttributeBytes() const {
    return colors_.CapacityBytes() + labels_.CapacityBytes();
  }

  // ---------------------------------------------------------------- axes and pixels
  void ResolveAxes();
  virtual bool UsesAxes() const { return true; }
  virtual bool UsesAxis(const TSeriesAxis* axis) const;
  virtual int XPixel(int index) const { return XValueToPixel(XValueAt(index)); }
  virtual int YPixel(int index) const { return YValueToPixel(YValueAt(index)); }
  int XValueToPixel(double v) const;
  int YValueToPixel(double v) const;
  int MandatoryValueToPixel(double v) const;
  double XPixelToValue(int pixel) const;
  virtual int PointAtPixel(int /*x*/, int /*y*/) const { return -1; }
  virtual void HorizontalMargins(int& left, int& right) const { left = right = 0; }
  virtual void VerticalMargins(int& top, int& bottom) const { top = bottom = 0; }

  // ---------------------------------------------------------------- drawing, run by the chart
  void FindVisibleRange();
  // The same range found by the plain forward scan, for tests of the fast path.
  void FindVisibleRangeByScan();
  virtual void PrepareChartDraw() {}
  virtual void StartDrawingPoints();
  virtual void DrawAllPoints();
  virtual void DrawPoint(int /*index*/) {}
  virtual void DoneDrawingPoints();
  virtual bool DrawsForward() const { return true; }
  virtual bool DrawsSeriesForward(int /*index*/) const { return true; }
  virtual bool SharesZOrder() const;
  virtual void AssignZOrder();
  virtual void Apply3DForGallery(bool view3D);
  void RequestRepaint() const;
  virtual void StyleChanged() { RequestRepaint(); }

  // ---------------------------------------------------------------- marks
  std::string MarkTextOf(int index) const;
  // Lays out and draws the marks of the visible points.
  void DrawAllMarks();
  virtual void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position);
  // The widest mark text of all points, in the canvas's font.
  int WidestMarkText() const;
  // The room that marks sitting the arrow's length above their points need:
  // half a box beside the first and the last point, arrow and box above.
  void MarksRoomAbove(int& halfWidth, int& height) const;

  // ---------------------------------------------------------------- legend
  virtual int LegendItemCount() const { return PointCount(); }
  virtual int LegendIndexToPoint(int i) const { return i; }
  // The legend row showing a point, -1 when the legend shows it in none.
  virtual int PointToLegendIndex(int point) const { return point; }
  virtual tk::TColor LegendEntryColor(int i) const { return PointColor(i); }
  std::string LegendText(int index, TLegendTextStyle style) const;
  // The colour box of a legend item: index -1 stands for the whole series.
  virtual void DrawLegendEntry(int index, const tk::TRect& box);
  virtual void DrawLegendSymbol(int index, const tk::TRect& box);
  virtual void PrepareLegendBrush(int /*index*/, tk::TColor& /*backColor*/,
                                  tk::TBrushStyle& /*style*/) {}

  // ---------------------------------------------------------------- sample values, copying, storing
  // Replaces the points by `count` random ones within the range the chart shows.
  virtual void FillSampleValues(int count);
  void Assign(const tk::TComponent& source) override;
  void Loaded() override;
  TSeriesStoredExtras StoredExtras() const;
  // What reading a stored form does with the extras; names resolve when loaded.
  void ReadStoredExtras(const TSeriesStoredExtras& extras);

  // ---------------------------------------------------------------- mouse
  virtual void HandleMouseMove() {}
  virtual bool HandleClick(int pointIndex, tk::TMouseButton button, tk::TShiftState shift, int x,
                           int y);
  virtual void HandleMouseUp() {}

  // ---------------------------------------------------------------- links to other series
  virtual bool AcceptsSource(const TChartSeries* series) const { return series != this; }
  virtual bool AcceptsSeriesSource(const TChartSeries* /*series*/) const { return true; }
  void NotifyDependents(TChartChangeKind kind, int index);
  void RefreshDependents() { NotifyDependents(ckRefresh, -1); }
  void CheckDataSource();
  virtual int CopyPointFrom(const TChartSeries& source, int index);
  virtual void SourcePointAdded(const TChartSeries& source, int index);
  // A dependent that missed the source's inserts may not have the point; the
  // source's removal must not fail on its account.
  virtual void SourcePointRemoved(const TChartSeries& /*source*/, int index) {
    if (index >= 0 && index < PointCount()) RemovePointAt(index);
  }
  virtual void CopyAllPointsFrom(const TChartSeries& source);
  // The series fed by this one forget it as their source (and re-check theirs).
  void UnlinkDependents();

 protected:
  void Notification(tk::TComponent* component, tk::TOperation operation) override;
  // After a point has been stored: events, dependents, repaint.
  virtual void AfterPointAdded(TChartSeries* sender, int index);
  // The value list of the direction that is not mandatory (x for ordinary series).
  TChartValueList& NotMandatoryList() const { return YIsMandatory() ? *xValues_ : *yValues_; }
  TSeriesAxis* NotMandatoryAxis() const {
    return YIsMandatory() ? horizAxisResolved_ : vertAxisResolved_;
  }
  void SetAutoZOrder(int z) { autoZOrder_ = z; }

 private:
  void FindVisibleRangeImpl(bool allowBisection);
  void CheckPointIndex(int index) const;
  // links
  void DropDataSources();
  void AddDataSourceEntry(tk::TComponent* source);
  void AddDependent(TChartSeries* series);
  void RemoveDependent(TChartSeries* series);
  void AssignValueSettings(const TChartSeries& source);
  void AssignPublished(const TChartSeries& source);

  bool active_ = true;
  tk::TColor seriesColor_ = tk::clDefault;
  bool colorEachPoint_ = false;
  TSparseList<tk::TColor> colors_{tk::clDefault};
  std::string colorSource_;
  std::int16_t cursor_ = 0;
  TSeriesAxis* horizAxisResolved_ = nullptr;
  TSeriesAxis* vertAxisResolved_ = nullptr;
  std::string xLabelsSource_;
  std::vector<tk::TComponent*> dataSources_;
  std::vector<TChartSeries*> dependents_;
  std::unique_ptr<TSeriesMarks> marks_;
  std::unique_ptr<std::vector<std::string>> pendingSourceNames_;
  std::unique_ptr<TZozFunction> function_;
  TSeriesChart* parentChart_ = nullptr;
  std::string percentFormat_ = "##0.## %";
  bool showInLegend_ = true;
  std::string title_;
  std::string valueFormat_ = "#,##0.###";
  TChartValueLists valuesList_;
  std::unique_ptr<TChartValueList> xValues_;
  TSparseList<std::string> labels_{std::string()};
  std::unique_ptr<TChartValueList> yValues_;
  THorizAxis horizAxis_ = aBottomAxis;
  TSeriesAxis* customHorizAxis_ = nullptr;
  TSeriesAxis* customVertAxis_ = nullptr;
  int zOrder_ = -1;
  TVertAxis vertAxis_ = aLeftAxis;
  TRecalcOptions recalcOptions_ = kAllRecalcOptions;
  unsigned style_ = 0;
  std::string identifier_;
  int autoZOrder_ = 0;
};
