#include "app/TimeWindow.h"

#include "chart/panel/Axis.h"

void MoveTimeWindow(TChartAxis& axis, int position, TWindowOrder order) {
  const double width = axis.Maximum() - axis.Minimum();
  if (order == woNeverInverted && position < axis.Minimum()) {
    axis.SetMinimum(position);
    axis.SetMaximum(width + position);
    return;
  }
  axis.SetMaximum(width + position);
  axis.SetMinimum(position);
}
