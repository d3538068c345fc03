#pragma once
// The base of series functions as the series base sees it: a component that a
// series owns and that computes the series' points from its data sources. The
// functions themselves (chart/functions) build on this; the series only needs
// to know its parent and to ask it to fill from a source.

#include "toolkit/Component.h"

class TChartSeries;

class TZozFunction : public tk::TComponent {
 public:
  explicit TZozFunction(tk::TComponent* owner = nullptr) : tk::TComponent(owner) {}

  // properties
  TChartSeries* ParentSeries() const { return parent_; }

  // overridables
  // Adds to the parent series the points computed from `source`; the parent
  // has been cleared and has taken the source's date-time flags.
  virtual void FillFromSource(TChartSeries* /*source*/) {}

 private:
  friend class TChartSeries;  // sets the parent when it takes or lets go of the function
  TChartSeries* parent_ = nullptr;
};
