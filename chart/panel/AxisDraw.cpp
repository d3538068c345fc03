// Drawing one axis: title, labels, axis line, ticks, grid and minor ticks.
#include <algorithm>
#include <cmath>

#include "chart/panel/Axis.h"
#include "chart/panel/AxisPanel.h"
#include "chart/panel/TextLines.h"
#include "toolkit/Rounding.h"

void TCustomChartAxis::DrawAxis(bool placeAxisLine) {
  UsesDateTime = HasDateTimeValues();
  panel_.SelectFont(*labelsFont_);
  labelStep_ = LabelStep();
  if (placeAxisLine) AxisLinePos = PositionOffset(EdgeOf(panel_.ChartRect), panel_.ChartRect);
  if (!title_.Caption().empty()) DrawTitle();
  dateTimeStep_ = DateTimeStepFor(labelStep_);
  ticks_list_.clear();
  RunLabelPass(
      labelStep_);  // a logarithmic pass may raise CurrentMinimum for the rest of the paint

  TZozCanvas3D& c = panel_.Canvas();
  const tk::TRect& r = panel_.ChartRect;
  const int D = panel_.TotalDepth, W = WallSize();
  // axis line
  if (axisPen_.Visible()) {
    SelectChartPen(c, axisPen_);
    if (depth_) {
      const int y = r.bottom + panel_.WallSize(panel_.BottomAxis());
      c.MovePenAtDepth(r.right, y, 0);
      c.DrawLineToAtDepth(r.right, y, D);
    } else if (horizontal_) {
      if (otherSide_)
        c.DrawHorizontalAtDepth(StartPixel, EndPixel, AxisLinePos, D);
      else
        c.DrawHorizontalAtDepth(StartPixel - panel_.WallSize(panel_.LeftAxis()), EndPixel,
                                AxisLinePos + W, 0);
    } else {
      if (otherSide_)
        c.DrawVerticalAtDepth(AxisLinePos, StartPixel, EndPixel, D);
      else
        c.DrawVerticalAtDepth(AxisLinePos - W, StartPixel,
                              EndPixel + panel_.WallSize(panel_.BottomAxis()), 0);
    }
  }
  if (ticks_.Visible()) {
    SelectChartPen(c, ticks_);
    for (int t : ticks_list_)
      DrawTick(t, 1, tickLength_);
  }
  if (grid_.Visible()) {
    SelectChartPen(c, grid_);
    if (grid_.Color() == tk::clDefault) c.Pen().color = tk::RGB(128, 128, 128);
    c.Brush().style = tk::bsClear;
    c.SetBackgroundMode(tk::TRANSPARENT);
    if (gridCentered_) {
      for (size_t i = 1; i < ticks_list_.size(); ++i)
        DrawGridLine(tk::RoundToInt((ticks_list_[i] + ticks_list_[i - 1]) * 0.5));
    } else {
      for (int t : ticks_list_)
        DrawGridLine(t);
    }
    c.SetBackgroundMode(tk::OPAQUE);
  }
  if (ticksInner_.Visible()) {
    SelectChartPen(c, ticksInner_);
    for (int t : ticks_list_)
      DrawTick(t, -1, -tickInnerLength_);
  }
  if (!ticks_list_.empty() && minorTicks_.Visible()) {
    SelectChartPen(c, minorTicks_);
    DrawMinor(false);
  }
  if (!ticks_list_.empty() && minorGrid_.Visible()) {
    SelectChartPen(c, minorGrid_);
    DrawMinor(true);
  }
  c.SetTextAlignment(tk::TA_LEFT | tk::TA_TOP);
}

void TCustomChartAxis::DrawTick(int t, int o, int length) {
  TZozCanvas3D& c = panel_.Canvas();
  const int D = panel_.TotalDepth, W = WallSize();
  if (depth_) {
    const int x = AxisLinePos + o;
    c.DrawHorizontalAtDepth(x, x + length, panel_.ChartRect.bottom, t);
  } else if (horizontal_) {
    if (otherSide_)
      c.DrawVerticalAtDepth(t, AxisLinePos - o, AxisLinePos - o - length, D);
    else
      c.DrawVerticalAtDepth(t, AxisLinePos + W + o, AxisLinePos + W + o + length, 0);
  } else {
    if (otherSide_)
      c.DrawHorizontalAtDepth(AxisLinePos + o, AxisLinePos + o + length, t, D);
    else
      c.DrawHorizontalAtDepth(AxisLinePos - W - o, AxisLinePos - W - o - length, t, 0);
  }
}

void TCustomChartAxis::DrawGridLine(int g) {
  TZozCanvas3D& c = panel_.Canvas();
  const tk::TRect& r = panel_.ChartRect;
  const int D = panel_.TotalDepth;
  if (depth_) {
    c.DrawVerticalAtDepth(r.left, r.top, r.bottom, g);
    c.DrawHorizontalAtDepth(r.left, r.right, r.bottom, g);
    return;
  }
  const bool flat = !panel_.View3D();
  if (horizontal_) {
    if (flat) {
      c.DrawVertical(g, r.top, r.bottom);
    } else if (otherSide_) {
      c.DrawVerticalAtDepth(g, r.top, r.bottom, D);
    } else {
      c.DrawDepthLine(g, AxisLinePos, 0, D);  // along the floor to the back wall
      c.DrawVerticalAtDepth(g, r.top, r.bottom, D);
    }
  } else {
    if (flat) {
      c.DrawHorizontal(r.left, r.right, g);
    } else if (otherSide_) {
      c.DrawHorizontalAtDepth(r.left, r.right, g, D);
    } else {
      c.DrawDepthLine(AxisLinePos, g, 0, D);
      c.DrawHorizontalAtDepth(r.left, r.right, g, D);
    }
  }
}

void TCustomChartAxis::DrawMinor(bool grid) {
  const int k = minorTickCount_;
  const std::vector<int>& t = ticks_list_;
  const size_t n = t.size();
  // ticks saturated at the ends of the int range must not wrap round here
  auto use = [&](long long m) {
    if (!(StartPixel < m && m < EndPixel)) return;
    if (grid)
      DrawGridLine(static_cast<int>(m));
    else
      DrawTick(static_cast<int>(m), 1, minorTickLength_);
  };
  if (k <= 0) return;
  if (n > 1 && !logarithmic_) {
    const double delta = (static_cast<double>(t[1]) - t[0]) / (k + 1);
    for (int j = 1; j <= k; ++j) {
      use(static_cast<long long>(t[0]) - tk::RoundToInt(j * delta));
      use(static_cast<long long>(t[n - 1]) + tk::RoundToInt(j * delta));
    }
  }
  for (size_t i = 1; i < n; ++i) {
    if (!logarithmic_) {
      const double delta = (static_cast<double>(t[i]) - t[i - 1]) / (k + 1);
      for (int j = 1; j <= k; ++j)
        use(static_cast<long long>(t[i]) - tk::RoundToInt(j * delta));
    } else {
      double v = PixelToValue(t[i - 1]);
      const double s = (logarithmicBase_ * v - v) / (k + 1);
      for (int j = 1; j <= k; ++j) {
        v += s;
        if (v > CurrentMaximum) break;
        use(ValueToPixel(v));
      }
    }
  }
}

void TCustomChartAxis::DrawLabel(const std::string& text, int p) {
  if (tickOnLabelsOnly_) AddTick(p);
  TZozCanvas3D& c = panel_.Canvas();
  panel_.SelectFont(*labelsFont_);
  c.Brush().color = panel_.Color();
  c.Brush().style = tk::bsClear;
  if (depth_) {
    c.SetTextAlignment(tk::TA_LEFT | tk::TA_TOP);
    c.PutTextAtDepth(LabelsPos, panel_.ChartRect.bottom, p, text);
  } else if (horizontal_) {
    DrawTextBlock(p, LabelsPos, labelsAngle_, text);
  } else {
    DrawTextBlock(LabelsPos, p, labelsAngle_, text);
  }
}

void TCustomChartAxis::DrawTitle() {
  TZozCanvas3D& c = panel_.Canvas();
  panel_.SelectFont(title_.Font());
  c.Brush().color = panel_.Color();
  c.Brush().style = tk::bsClear;
  if (depth_) {
    c.SetTextAlignment(tk::TA_LEFT | tk::TA_TOP);
    c.PutTextAtDepth(TitlePos, panel_.ChartRect.bottom, panel_.TotalDepth / 2, title_.Caption());
  } else if (horizontal_) {
    DrawTextBlock(CenterPixel, TitlePos, title_.Angle(), title_.Caption());
  } else {
    DrawTextBlock(TitlePos, CenterPixel, title_.Angle(), title_.Caption());
  }
}

void TCustomChartAxis::DrawTextBlock(int x, int y, int angle, const std::string& text) {
  TZozCanvas3D& c = panel_.Canvas();
  const int fh = c.FontPixelHeight(), half = fh / 2;
  const int z = otherSide_ ? panel_.TotalDepth : 0;
  using namespace tk;
  // which side of the chart: 0 bottom, 1 top, 2 left, 3 right
  const int side = horizontal_ ? (otherSide_ ? 1 : 0) : (otherSide_ ? 3 : 2);
  unsigned align = TA_LEFT | TA_TOP;
  switch (angle) {
    case 0: {
      const unsigned a[4] = {TA_CENTER | TA_TOP, TA_CENTER | TA_BOTTOM, TA_RIGHT | TA_TOP,
                             TA_LEFT | TA_TOP};
      align = a[side];
      if (side >= 2) y -= half;
      break;
    }
    case 90: {
      const unsigned a[4] = {TA_RIGHT | TA_TOP, TA_LEFT | TA_TOP, TA_CENTER | TA_BOTTOM,
                             TA_CENTER | TA_TOP};
      align = a[side];
      if (side < 2) x -= half;
      break;
    }
    case 180: {
      const unsigned a[4] = {TA_CENTER | TA_BOTTOM, TA_CENTER | TA_TOP, TA_LEFT | TA_TOP,
                             TA_RIGHT | TA_TOP};
      align = a[side];
      if (side >= 2) y += half;
      break;
    }
    case 270: {
      const unsigned a[4] = {TA_LEFT | TA_TOP, TA_RIGHT | TA_TOP, TA_CENTER | TA_TOP,
                             TA_CENTER | TA_BOTTOM};
      align = a[side];
      if (side < 2) x += half;
      break;
    }
    default:
      break;
  }
  c.SetTextAlignment(align);
  const int n = LineCount(text);
  const int lh = angle == 180 || angle == 270 ? -fh : fh;
  if (horizontal_) {
    if (angle == 0)
      y -= side == 0 ? lh : tk::RoundToInt(n * static_cast<double>(lh));
    else if (angle == 90 || angle == 270)
      x -= tk::RoundToInt(lh * 0.5 * (n + 1));
    else if (angle == 180)
      y -= side == 0 ? tk::RoundToInt(n * static_cast<double>(lh)) : lh;
  } else {
    if (angle == 0 || angle == 180)
      y -= tk::RoundToInt(lh * 0.5 * (n + 1));
    else if (angle == 90)
      x -= side == 3 ? lh : tk::RoundToInt(n * static_cast<double>(lh));
    else if (angle == 270)
      x -= side == 3 ? tk::RoundToInt(n * static_cast<double>(lh)) : lh;
  }
  ForEachLine(text, [&](const std::string& line) {
    if (angle == 0) {
      y += lh;
      c.PutTextAtDepth(x, y, z, line);
    } else if (angle == 90 || angle == 270) {
      x += lh;
      c.PutRotatedTextAtDepth(x, y, z, line, angle);
    } else if (angle == 180) {
      y += lh;
      c.PutRotatedTextAtDepth(x, y, z, line, angle);
    } else {
      c.PutRotatedTextAtDepth(x, y, z, line, angle);
    }
  });
}
