#include "chart/panel/Titles.h"

#include <algorithm>

#include "chart/canvas/ChartFont.h"

namespace {
constexpr int kTitleGap = 5;  // between a title and the plotting area
}

TChartFontObject::TChartFontObject(TCustomZozPanel& chart)
    : chart_(chart), font_(NewDefaultFont([&chart] { chart.ToolChanged(); })) {}

// ---------------------------------------------------------------- title

TChartTitle::TChartTitle(TCustomZozPanel& chart)
    : TChartFontObject(chart),
      brush_([&chart] { chart.ToolChanged(); }),
      frame_([&chart] { chart.ToolChanged(); }) {
  tk::TFont f = font_->Value();
  f.color = tk::clBlue;
  font_->Assign(f);
}

void TChartTitle::SetText(const std::vector<std::string>& lines) {
  text_ = lines;
  Repaint();
}

bool TChartTitle::FontIsStored() const {
  return font_->Name() != DefaultFontName() || font_->Size() != DefaultFontSize() ||
         font_->Color() != tk::clBlue || !(font_->Style() == tk::TFontStyle{});
}

bool TChartTitle::Clicked(int x, int y) const {
  return visible_ && x >= titleRect_.left && x < titleRect_.right && y >= titleRect_.top &&
         y < titleRect_.bottom;
}

void TChartTitle::DrawTitle(bool onTop) {
  TCustomZozPanel& chart = chart_;
  TZozCanvas3D& c = chart.Canvas();
  const tk::TRect cr = chart.ChartRect;
  chart.SelectFont(*font_);
  const int h = c.FontPixelHeight();

  // fill style
  if (color_ == tk::clDefault) {
    if (brush_.Style() != tk::bsSolid) {
      c.Brush() = brush_.Settings();
      c.SetBackgroundMode(tk::TRANSPARENT);
    } else if (brush_.Color() == tk::clDefault) {
      c.Brush().style = tk::bsClear;
      c.Brush().bitmap = nullptr;  // a pattern would fill even a clear brush
    } else {
      SetColor(brush_.Color());  // the title takes the brush's colour as its own
      c.Brush() = {color_, tk::bsSolid};
    }
  } else if (brush_.Style() != tk::bsSolid) {
    c.Brush() = brush_.Settings();
    c.SetBackgroundMode(tk::OPAQUE);
    c.SetBackgroundColor(tk::ColorToRGB(color_));
  } else {
    c.Brush() = {color_, tk::bsSolid};
  }

  const bool framed = frame_.Visible() && frame_.Color() != tk::clDefault;
  const int a = framed ? frame_.Width() : 0;
  const int L = cr.left + a, R = cr.right - a;
  int T, B;
  if (onTop) {
    T = cr.top + a;
    B = T - kTitleGap;
  } else {
    B = cr.bottom - a;
    T = B + kTitleGap;
  }
  titleRect_ = {L, T, R, B};
  int f = 0;
  if (framed) {
    c.Pen() = {frame_.Color(), frame_.Width(), frame_.Style(), frame_.Mode(), false};
    f = frame_.Width();
  } else {
    c.Pen().style = tk::psClear;
  }
  const int n = static_cast<int>(text_.size());
  if (onTop)
    titleRect_.bottom = T + n * h;
  else
    titleRect_.top = B - n * h;
  titleRect_ = {titleRect_.left - f, titleRect_.top - f, titleRect_.right + f,
                titleRect_.bottom + f};

  const int wW = c.MeasureTextWidth("W");
  if (framed || c.Brush().style != tk::bsClear) {
    if (adjustFrame_) {
      int widest = 0;
      for (const std::string& line : text_)
        widest = std::max(widest, c.MeasureTextWidth(line));
      const int m = widest + wW;
      if (alignment_ == tk::taLeftJustify) {
        titleRect_.right = titleRect_.left + m;
      } else if (alignment_ == tk::taRightJustify) {
        titleRect_.left = titleRect_.right - m;
      } else {
        const int mid = (titleRect_.left + titleRect_.right) / 2;
        titleRect_.left = mid - m / 2;
        titleRect_.right = mid + m / 2;
      }
    }
    c.DrawRect(titleRect_);
  }
  c.SetBackgroundMode(tk::TRANSPARENT);

  auto drawLine = [&](const std::string& line, int y) {
    const int w = c.MeasureTextWidth(line);
    const int x = alignment_ == tk::taLeftJustify    ? L + wW / 2
                  : alignment_ == tk::taRightJustify ? R - w - wW / 2
                                                     : (L + R) / 2 - w / 2;
    if (c.HandlesProjection())
      c.PutTextAtDepth(x, y, 0, line);
    else
      c.PutText(x, y, line);
  };
  if (onTop) {
    for (const std::string& line : text_) {
      drawLine(line, T);
      T += h;
    }
    const int e = (n > 0 ? T : cr.top + a - kTitleGap) + (framed ? f : 0);
    chart.ChartRect.top = e + kTitleGap;
  } else {
    for (int i = n - 1; i >= 0; --i) {
      const int y = B - h;
      drawLine(text_[static_cast<size_t>(i)], y);
      B = y;
    }
    const int e = (n > 0 ? B : cr.bottom - a + kTitleGap) - (framed ? f : 0);
    chart.ChartRect.bottom = e - kTitleGap;
  }
  chart.UpdateChartMetrics();
}

void TChartTitle::Assign(const TChartTitle& o) {
  adjustFrame_ = o.adjustFrame_;
  alignment_ = o.alignment_;
  brush_.Assign(o.brush_);
  color_ = o.color_;
  frame_.Assign(o.frame_);
  text_ = o.text_;
  visible_ = o.visible_;
  font_->Assign(o.font_->Value());
  Repaint();
}

// ---------------------------------------------------------------- wall

TChartWall::TChartWall(TCustomZozPanel& chart, tk::TColor defaultColor)
    : chart_(chart),
      color_(defaultColor),
      brush_([&chart] { chart.ToolChanged(); }),
      pen_([&chart] { chart.ToolChanged(); }),
      defaultColor_(defaultColor) {}

void TChartWall::Prepare() {
  TZozCanvas3D& c = chart_.Canvas();
  SelectChartPen(c, pen_);
  if (brush_.HasBitmap()) {
    c.Brush().bitmap = brush_.Bitmap();  // the pattern fills, whatever style the canvas had
    return;
  }
  c.Brush().bitmap = nullptr;
  if (color_ == tk::clDefault && brush_.Style() == tk::bsSolid)
    c.Brush().style = tk::bsClear;
  else
    chart_.ApplyFillStyle(color_, brush_.Style(), brush_.Color());
}

void TChartWall::Assign(const TChartWall& o) {
  brush_.Assign(o.brush_);
  color_ = o.color_;
  dark3D_ = o.dark3D_;
  pen_.Assign(o.pen_);
  size_ = o.size_;
  chart_.Invalidate();
}
