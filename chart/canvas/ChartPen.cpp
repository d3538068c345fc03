#include "chart/canvas/ChartPen.h"

#include "chart/canvas/Canvas.h"

void TChartPen::Assign(const TChartPen& other) {
  const bool changed =
      !(spec_ == other.spec_) || smallDots_ != other.smallDots_ || visible_ != other.visible_;
  spec_ = other.spec_;
  smallDots_ = other.smallDots_;
  visible_ = other.visible_;
  if (changed) Changed();
}

void TChartPen::SetDefaults(tk::TColor color, int width, tk::TPenStyle style, bool visible) {
  defaults_.color = spec_.color = color;
  defaults_.width = spec_.width = width;
  defaults_.style = spec_.style = style;
  defaultVisible_ = visible_ = visible;
}

TChartHiddenPen::TChartHiddenPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  SetDefaults(tk::clBlack, 1, tk::psSolid, false);
}

TDottedGrayPen::TDottedGrayPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  SetDefaults(tk::clGray, 1, tk::psDot, true);
}

TDarkGrayPen::TDarkGrayPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  SetDefaults(tk::clGray, 1, tk::psSolid, true);
}

TChartAxisPen::TChartAxisPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  SetDefaults(tk::clBlack, 2, tk::psSolid, true);
}

TChartArrowPen::TChartArrowPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  SetDefaults(tk::clWhite, 1, tk::psSolid, true);
}

void SelectChartPen(TZozCanvas& canvas, const TChartPen& pen) {
  tk::TPenSpec& surfacePen = canvas.Pen();
  if (!pen.Visible()) {
    surfacePen.style = tk::psClear;
  } else if (pen.SmallDots() && pen.Width() == 1) {
    surfacePen = tk::TPenSpec{tk::ColorToRGB(pen.Color()), 1, tk::psSolid, tk::pmCopy, true};
  } else {
    surfacePen = tk::TPenSpec{pen.Color(), pen.Width(), pen.Style(), pen.Mode(), false};
  }
}
