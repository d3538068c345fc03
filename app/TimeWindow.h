#pragma once
// The time window that a scroll bar moves along a chart's bottom axis, shared
// by the signal chart and the compare chart so that both scroll alike.

class TChartAxis;

// The order in which the window's two limits are set.
enum TWindowOrder {
  // the maximum first, each limit checked against the other as it stands: a
  // window zoomed farther right of the position than its own width is refused
  // by the axis with its message and stays where it was
  woMaximumFirst,
  // the limit on the side the window moves to first, so the move never passes
  // through an inverted window and is always taken
  woNeverInverted,
};

// Puts the window's left edge at `position` and keeps its width.
void MoveTimeWindow(TChartAxis& axis, int position, TWindowOrder order = woMaximumFirst);
