#pragma once
// A flat chart for the series types, drawn on the recording surface. The
// chart rectangle is (12, 12, 388, 288); the bottom axis maps 0..100 onto
// x 12..388 (3.76 pixels a unit) and the left axis -5..5 onto y 288..12
// (27.6 pixels a unit), so (0, 0) is the pixel (12, 150), (10, 5) is (50, 12)
// and (50, 0) is (200, 150).

#include <string>
#include <vector>

#include "chart/series/CustomSeries.h"
#include "tests/support/ChartRig.h"

template <typename S>
struct SeriesRig : ChartRig {
  S* series = new S;
  SeriesRig() : ChartRig(400, 300) {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    chart.SetAxisVisible(false);
    chart.SetBevelOuter(bvNone);
    chart.Legend().SetVisible(false);  // the whole rectangle stays the plot
    chart.BottomAxis().SetLimits(0, 100);
    chart.LeftAxis().SetLimits(-5, 5);
    series->SetParentChart(&chart);
    series->SetSeriesColor(tk::clRed);
  }
  // the calls made while the series was clipped to the chart rectangle
  std::vector<tk::TDrawCall> SeriesCalls() {
    Paint();
    std::vector<tk::TDrawCall> out;
    bool inside = false;
    for (const auto& c : surface.Calls()) {
      if (c.op == "IntersectClipRect" || c.op == "SelectClipPolygon")
        inside = true;
      else if (c.op == "RemoveClip")
        inside = false;
      else if (inside)
        out.push_back(c);
    }
    return out;
  }
  std::vector<std::string> Strings() {
    std::vector<std::string> out;
    for (const auto& c : SeriesCalls())
      out.push_back(c.ToString());
    return out;
  }
};
