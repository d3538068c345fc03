// The mouse on a chart: clicks on its parts, zooming into a dragged
// rectangle or undoing it, panning the axes, and the wheel.
#include <cstdlib>

#include "chart/panel/Chart.h"

tk::TMouseButton ZoomMouseButton = tk::mbLeft;
tk::TShiftState ZoomShiftKeys = 0;
tk::TMouseButton PanningMouseButton = tk::mbRight;
tk::TShiftState PanningShiftKeys = 0;
double AnimatedZoomFactor = 3;

namespace {
constexpr int kMinimumZoomDrag = 16;
constexpr double kWheelShare = 0.03;
}  // namespace

TChartClickedPart TCustomChart::CalcClickedPart(int x, int y) const {
  TChartClickedPart part;
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = Series(i);
    if (!s->Active()) continue;
    const int index = s->PointAtPixel(x, y);
    if (index >= 0) {
      part.Part = TChartClickedPart::cpSeries;
      part.Series = s;
      part.PointIndex = index;
      return part;
    }
  }
  for (TCustomChartAxis* a : Axes()) {
    if (a->AxisHitTest(x, y)) {
      part.Part = TChartClickedPart::cpAxis;
      part.Axis = a;
      return part;
    }
  }
  if (title_->Clicked(x, y)) {
    part.Part = TChartClickedPart::cpTitle;
  } else if (foot_->Clicked(x, y)) {
    part.Part = TChartClickedPart::cpFoot;
  } else if (SeriesList().CountActive() > 0 && ChartRect.Contains({x, y})) {
    part.Part = TChartClickedPart::cpChartRect;
  } else if (legend_->Visible() && legend_->Clicked(x, y) != -1) {
    part.Part = TChartClickedPart::cpLegend;
  }
  return part;
}

bool TCustomChart::FireBackgroundClick(tk::TMouseButton button, tk::TShiftState shift, int x,
                                       int y) {
  if (!OnClickBackground) return false;
  CancelMouse = true;
  OnClickBackground(this, button, shift, x, y);
  return CancelMouse;
}

bool TCustomChart::TryStartDrag(tk::TMouseButton button, tk::TShiftState shift, int x, int y) {
  bool handled = false;
  if (AllowZoom() && button == ZoomMouseButton && (shift & ZoomShiftKeys) == ZoomShiftKeys) {
    SetCursor(tk::crDefault);
    Zoom.Activate(x, y);
    DrawZoomRectangleNow();
    handled = true;
  }
  if (AllowPanning() != pmNone && button == PanningMouseButton &&
      (shift & PanningShiftKeys) == PanningShiftKeys) {
    SetCursor(tk::crDefault);
    Panning.Activate(x, y);
    handled = true;
  }
  return handled;
}

void TCustomChart::MouseDown(tk::TMouseButton button, tk::TShiftState shift, int x, int y) {
  if (Zoom.Active || Panning.Active) return;
  if (!CancelMouse) {
    bool handled = false;
    const TChartClickedPart part = CalcClickedPart(x, y);
    switch (part.Part) {
      case TChartClickedPart::cpLegend:
        if (OnClickLegend) {
          CancelMouse = true;
          OnClickLegend(this, button, shift, x, y);
          handled = CancelMouse;
        }
        break;
      case TChartClickedPart::cpAxis:
        if (OnClickAxis) {
          CancelMouse = true;
          OnClickAxis(this, part.Axis, button, shift, x, y);
          handled = CancelMouse;
        }
        if (!handled) handled = TryStartDrag(button, shift, x, y);
        break;
      case TChartClickedPart::cpSeries:
        handled = part.Series->HandleClick(part.PointIndex, button, shift, x, y);
        if (OnClickSeries) {
          CancelMouse = true;
          OnClickSeries(this, part.Series, part.PointIndex, button, shift, x, y);
          handled = CancelMouse;
        }
        if (!handled) handled = TryStartDrag(button, shift, x, y);
        break;
      case TChartClickedPart::cpChartRect:
        handled = FireBackgroundClick(button, shift, x, y);
        if (!handled) handled = TryStartDrag(button, shift, x, y);
        break;
      default:
        break;
    }
    if (!handled) FireBackgroundClick(button, shift, x, y);
  }
  CancelMouse = false;
}

void TCustomChart::MouseMove(tk::TShiftState /*shift*/, int x, int y) {
  if (Zoom.Active) {
    if (x == Zoom.X1 && y == Zoom.Y1) return;
    DrawZoomRectangleNow();  // erases the old one
    Zoom.X1 = x;
    Zoom.Y1 = y;
    DrawZoomRectangleNow();
    return;
  }
  if (Panning.Active) {
    if (!ChartRect.Contains({x, y})) {
      Panning.Active = false;
      return;
    }
    if (x == Panning.X1 && y == Panning.Y1) return;
    if (restored_) SaveScales();
    const bool h = PanDirection(true, Panning.X1, x);
    const bool v = PanDirection(false, Panning.Y1, y);
    Panning.X1 = x;
    Panning.Y1 = y;
    if (h || v) {
      if (OnScroll) OnScroll(this);
      Invalidate();
    }
    return;
  }
  int cursor = initialCursor_;
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = Series(i);
    if (s->Active() && s->Cursor() != tk::crDefault && s->PointAtPixel(x, y) >= 0) {
      cursor = s->Cursor();
      break;
    }
  }
  if (cursor != Cursor()) SetCursor(cursor);
  for (TChartSeries* s : SeriesList())
    s->HandleMouseMove();
}

bool TCustomChart::PanDirection(bool horizontal, int p0, int p1) {
  if (p0 == p1) return false;
  const TPanningMode mode = AllowPanning();
  if (mode != pmBoth && mode != (horizontal ? pmHorizontal : pmVertical)) return false;
  for (TCustomChartAxis* a : Axes()) {
    if (a->IsDepth() || a->IsHorizontal() != horizontal) continue;
    const double d = a->PixelToValue(p0) - a->PixelToValue(p1);
    double aMin = a->Minimum() + d, aMax = a->Maximum() + d;
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(a, aMin, aMax, allow);
    if (allow) a->SetLimits(aMin, aMax);
  }
  return true;  // counts as panned even when a handler refused
}

void TCustomChart::MouseUp(tk::TMouseButton button, tk::TShiftState /*shift*/, int x, int y) {
  for (TChartSeries* s : SeriesList())
    s->HandleMouseUp();
  if (Zoom.Active && button == ZoomMouseButton) {
    Zoom.Active = false;
    DrawZoomRectangleNow();
    Canvas().Pen().mode = tk::pmCopy;
    Zoom.X1 = x;
    Zoom.Y1 = y;
    if (std::abs(x - Zoom.X0) > kMinimumZoomDrag && std::abs(y - Zoom.Y0) > kMinimumZoomDrag) {
      if (Zoom.X0 < x && Zoom.Y0 < y) {
        // normalised already: start is the upper left corner
        const double bottomMin = BottomAxis().PixelToValue(Zoom.X0),
                     bottomMax = BottomAxis().PixelToValue(Zoom.X1);
        const double topMin = TopAxis().PixelToValue(Zoom.X0),
                     topMax = TopAxis().PixelToValue(Zoom.X1);
        const double leftMin = LeftAxis().PixelToValue(Zoom.Y1),
                     leftMax = LeftAxis().PixelToValue(Zoom.Y0);
        const double rightMin = RightAxis().PixelToValue(Zoom.Y1),
                     rightMax = RightAxis().PixelToValue(Zoom.Y0);
        ApplyZoom(topMin, topMax, bottomMin, bottomMax, leftMin, leftMax, rightMin, rightMax);
      } else {
        ResetZoom();
      }
    }
    Invalidate();
  }
  Panning.Active = false;
}

void TCustomChart::MouseWheel(tk::TShiftState /*shift*/, bool down, int /*x*/, int /*y*/) {
  for (TCustomChartAxis* a : Axes()) {
    if (a->IsHorizontal()) continue;
    const double step = (a->Maximum() - a->Minimum()) * kWheelShare;
    a->ShiftRange(down ? step : -step, false);  // a notch down (towards the user) adds
  }
}

void TCustomChart::MouseLeave() {
  SetCursor(initialCursor_);
  Panning.Active = false;
}

void TCustomChart::DrawZoomRectangleNow() {
  tk::TBitmap* buffer = Canvas().Buffer();
  if (!buffer || Canvas().Dirty()) return;  // the next full paint draws it
  Canvas().AttachSurface(buffer->Canvas());
  PaintZoomRectangle();
  ShowBuffer();
}

void TCustomChart::SaveScales() {
  const std::vector<TChartAxis*> axes = SideAxes();
  for (size_t i = 0; i < axes.size(); ++i)
    saved_[i] = {axes[i]->Automatic(), axes[i]->AutomaticMinimum(), axes[i]->AutomaticMaximum(),
                 axes[i]->Minimum(), axes[i]->Maximum()};
  restored_ = false;
}

void TCustomChart::ApplyZoom(double topMin, double topMax, double bottomMin, double bottomMax,
                             double leftMin, double leftMax, double rightMin, double rightMax) {
  if (restored_) SaveScales();
  struct Target {
    TChartAxis& axis;
    double min, max;
  };
  Target targets[4] = {{LeftAxis(), leftMin, leftMax},
                       {RightAxis(), rightMin, rightMax},
                       {TopAxis(), topMin, topMax},
                       {BottomAxis(), bottomMin, bottomMax}};
  if (AnimatedZoom()) {
    for (int step = 1; step < AnimatedZoomSteps(); ++step) {
      for (Target& t : targets) {
        const double min = t.axis.Minimum() + (t.min - t.axis.Minimum()) / AnimatedZoomFactor;
        const double max = t.axis.Maximum() - (t.axis.Maximum() - t.max) / AnimatedZoomFactor;
        t.axis.SetLimits(min, max);
      }
      RepaintNow();
    }
  }
  for (Target& t : targets)
    t.axis.SetLimits(t.min, t.max);
  Zoomed = true;
  if (OnZoom) OnZoom(this);
}

void TCustomChart::ResetZoom() {
  if (!restored_) {
    const std::vector<TChartAxis*> axes = SideAxes();
    for (size_t i = 0; i < axes.size(); ++i) {
      TChartAxis& a = *axes[i];
      const TSavedScale& s = saved_[i];
      a.SetAutomatic(s.automatic);
      a.SetAutomaticMinimum(s.automaticMinimum);
      a.SetAutomaticMaximum(s.automaticMaximum);
      if (!a.Automatic()) a.SetLimits(s.minimum, s.maximum);
    }
  }
  restored_ = true;
  if (OnUndoZoom) OnUndoZoom(this);
  Invalidate();
  Zoomed = false;
}
