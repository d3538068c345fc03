#pragma once
// A series function: computes the points of its parent series from the
// parent's data sources, over the whole source, over groups of points or x
// ranges, or across several sources point by point. The parent owns it and
// refills itself through it whenever a source refreshes.

#include <vector>

#include "toolkit/Component.h"

class TChartSeries;
class TChartValueList;

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

// The data sources of a parent that are series, in data-source order.
using TFunctionSources = std::vector<const TChartSeries*>;

class TZozFunction : public tk::TComponent {
 public:
  explicit TZozFunction(tk::TComponent* owner = nullptr);
  ~TZozFunction() override;

  // ---------------------------------------------------------------- properties
  // Size of a group: points (psNumPoints) or a span of x (psRange); 0 is one
  // result for the whole source.
  double Period() const { return period_; }
  void SetPeriod(double period);
  TFunctionPeriodStyle PeriodStyle() const { return periodStyle_; }
  void SetPeriodStyle(TFunctionPeriodStyle style);
  TFunctionPeriodAlign PeriodAlign() const { return periodAlign_; }
  void SetPeriodAlign(TFunctionPeriodAlign align);
  TChartSeries* ParentSeries() const { return parent_; }
  // While set, changing a property does not refill the parent.
  bool RecalcSuspended() const { return recalcSuspended_; }
  void SetRecalcSuspended(bool on) { recalcSuspended_ = on; }
  bool PeriodUsable() const { return periodUsable_; }
  bool MovingWindow() const { return movingWindow_; }

  // ---------------------------------------------------------------- operations
  // Refills the parent from its sources (through its chart's data-source check).
  void Recompute();
  // Moves this function to another series, which frees the function it had.
  // A function without a parent belongs to nobody yet and is taken over by
  // the series (it must not be held by a unique_ptr of its own any more).
  // A null series is ignored: a function lives as long as some series holds it.
  void AttachToSeries(TChartSeries* series);
  void SetParentComponent(TChartSeries* series) { AttachToSeries(series); }
  // Takes Period, PeriodStyle and PeriodAlign from another function,
  // refilling the parent once; any other component is ignored.
  void Assign(const tk::TComponent& source) override;
  // The list of a source series that the function reads.
  const TChartValueList& ValueListFor(const TChartSeries& source) const;
  // Adds one result to the parent, on the source's value axis.
  void AddResultPoint(bool sourceYMandatory, double result, double x);

  // ---------------------------------------------------------------- overridables
  virtual void AddPeriodPoint(const TChartSeries& source, int first, int last, double x);
  virtual void FillWhole(const TChartSeries& source, const TChartValueList& list);
  virtual void FillByPeriods(const TChartSeries& source, const TChartValueList& list);
  // first = -1 means the whole source. The base computes nothing (0).
  virtual double ComputeForRange(const TChartSeries& source, int first, int last) const;
  virtual double ComputeAcrossSources(const TFunctionSources& sources, int index) const;
  // Adds to the parent the points computed from `source`; the parent has been
  // cleared and has taken the source's date-time flags.
  virtual void FillFromSource(TChartSeries* source);

 protected:
  void SetPeriodUsable(bool on) { periodUsable_ = on; }
  void SetMovingWindow(bool on) { movingWindow_ = on; }
  // The value of a source at index in the list the function reads, or false
  // when the source has no point there.
  bool SourceValueAt(const TChartSeries& source, int index, double& value) const;

 private:
  friend class TChartSeries;  // sets the parent when it takes or lets go of the function
  void FillAcrossSources(const TChartSeries& source, const TChartValueList& list);
  void FillMovingWindow(const TChartSeries& source, const TChartValueList& list);
  // The end of the x range after `end`, stepped the way the parent's
  // horizontal axis steps dates.
  double NextRangeEnd(double end) const;
  double AlignedX(double start, double end) const;
  // Gathers the parent's data sources that are series into sources_; answers
  // how many data sources the parent has.
  std::size_t GatherParentSources();

  double period_ = 0;
  TFunctionPeriodStyle periodStyle_ = psNumPoints;
  TFunctionPeriodAlign periodAlign_ = paCenter;
  TChartSeries* parent_ = nullptr;
  bool recalcSuspended_ = false;
  bool periodUsable_ = true;
  bool movingWindow_ = false;
  TFunctionSources sources_;  // reused from fill to fill
};

// A function whose only rule combines the values of several sources at one
// index; over one source it gives 0.
class TManySeriesZozFunction : public TZozFunction {
 public:
  double ComputeForRange(const TChartSeries& source, int first, int last) const override;
  double ComputeAcrossSources(const TFunctionSources& sources, int index) const override;

  // overridables
  virtual double CombineTwo(double result, double value) const = 0;
};
