#pragma once
// Switches a chart's automatic repaint off for a scope and restores it, also
// when a handler throws: for series that rewrite their own points (sample
// values, the pie's "other" slice) without asking for one paint per change.

#include "chart/series/SeriesHost.h"

class RepaintPause {
 public:
  explicit RepaintPause(TSeriesChart* chart) : chart_(chart) {
    if (chart_) {
      was_ = chart_->AutoRepaint();
      chart_->SetAutoRepaint(false);
    }
  }
  ~RepaintPause() {
    if (chart_) chart_->SetAutoRepaint(was_);
  }
  RepaintPause(const RepaintPause&) = delete;
  RepaintPause& operator=(const RepaintPause&) = delete;

 private:
  TSeriesChart* chart_;
  bool was_ = true;
};
