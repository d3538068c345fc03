#include "chart/panel/Legend.h"

#include <algorithm>

#include "chart/canvas/ChartFont.h"
#include "chart/panel/Chart.h"
#include "toolkit/Rounding.h"

TCustomChartLegend::TCustomChartLegend(TCustomChart& chart)
    : TChartFontObject(chart),
      owner_(chart),
      brush_([&chart] { chart.ToolChanged(); }),
      dividingLines_([&chart] { chart.ToolChanged(); }),
      frame_([&chart] { chart.ToolChanged(); }) {}

// ---------------------------------------------------------------- checked properties

void TCustomChartLegend::SetColorWidth(int percent) {
  if (percent < 0 || percent > 100)
    throw LegendException("Legend Color Width must be between 0 and 100 %");
  Set(colorWidth_, percent);
}

void TCustomChartLegend::SetFirstValue(int first) {
  // 0 is the first item, whatever the message says
  if (first < 0) throw LegendException("First Legend Value must be > 0");
  Set(firstValue_, first);
}

void TCustomChartLegend::SetTopPos(int percent) {
  if (percent < 0 || percent > 100)
    throw LegendException("Top Legend Position must be between 0 and 100 %");
  Set(topPos_, percent);
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle style) {
  if (!tk::Change(legendStyle_, style)) return;
  CalcEffectiveStyle();
  Repaint();
}

bool TCustomChartLegend::FontIsStored() const {
  return !IsStandardFont(*font_);
}

void TCustomChartLegend::Assign(const TCustomChartLegend& other) {
  visible_ = other.visible_;
  legendStyle_ = other.legendStyle_;
  firstValue_ = other.firstValue_;
  alignment_ = other.alignment_;
  textStyle_ = other.textStyle_;
  colorWidth_ = other.colorWidth_;
  horizMargin_ = other.horizMargin_;
  vertMargin_ = other.vertMargin_;
  resizeChart_ = other.resizeChart_;
  inverted_ = other.inverted_;
  topPos_ = other.topPos_;
  color_ = other.color_;
  frame_.Assign(other.frame_);
  maxNumRows_ = other.maxNumRows_;
  brush_.Assign(other.brush_);
  font_->Assign(other.font_->Value());
  CalcEffectiveStyle();
  Repaint();
}

// ---------------------------------------------------------------- items

void TCustomChartLegend::CalcEffectiveStyle() {
  effectiveStyle_ = legendStyle_;
  if (legendStyle_ == lsAuto)
    effectiveStyle_ = owner_.SeriesList().CountActive() < 2 ? lsValues : lsSeries;
}

int TCustomChartLegend::TotalLegendItems() const {
  int n = 0;
  if (effectiveStyle_ == lsValues) {
    const TChartSeries* s = owner_.FirstActiveSeries();
    if (s && s->ShowInLegend()) n = s->LegendItemCount() - firstValue_;
  } else {
    for (TChartSeries* s : owner_.SeriesList())
      if (s->Active() && s->ShowInLegend()) ++n;
    n -= firstValue_;
  }
  return std::max(0, n);
}

std::string TCustomChartLegend::PointText(const TChartSeries& series, int index) const {
  if (index == -1) return {};
  std::string t = series.LegendText(index, textStyle_);
  std::replace(t.begin(), t.end(), '\r', ' ');
  return t;
}

std::string TCustomChartLegend::ItemText(int i) const {
  std::string t;
  if (effectiveStyle_ == lsSeries) {
    t = owner_.LegendSeriesTitle(i);
  } else if (effectiveStyle_ == lsValues) {
    if (const TChartSeries* s = owner_.FirstActiveSeries()) t = PointText(*s, i);
  } else if (const TChartSeries* s = owner_.LegendSeriesAt(i)) {
    t = PointText(*s, s->PointCount() - 1);
  }
  if (owner_.OnGetLegendText) owner_.OnGetLegendText(&owner_, effectiveStyle_, i, t);
  return t;
}

int TCustomChartLegend::WidestText(int n) {
  const int last = n == -1 ? firstValue_ + TotalLegendItems() - 1 : firstValue_ + n - 1;
  int widest = 0;
  for (int i = firstValue_; i <= last; ++i)
    widest = std::max(widest, owner_.Canvas().MeasureTextWidth(ItemText(i)));
  return widest;
}

int TCustomChartLegend::MaxLegendValues(int start, int itemSize) const {
  const tk::TRect& cr = owner_.ChartRect;
  const int far = IsVertical() ? cr.bottom : cr.right;
  if (start >= far || itemSize <= 0) return 0;
  const int room = IsVertical() ? cr.bottom - 2 * frame_.Width() - start
                                : owner_.ChartWidth - 2 * frame_.Width() - start;
  return std::min(room / itemSize, TotalLegendItems());
}

// ---------------------------------------------------------------- drawing

// The frame's width and its one-pixel gap, when the frame shows.
int TCustomChartLegend::ExtraFrame() const {
  return frame_.Visible() ? frame_.Width() + 1 : 0;
}

void TCustomChartLegend::DrawLegend() {
  TZozCanvas3D& c = owner_.Canvas();
  CalcEffectiveStyle();
  owner_.LegendColorValue = color_;
  owner_.SelectFont(*font_);
  TLayout l;
  l.h = itemHeight_ = c.FontPixelHeight();
  // a legend beside the chart is as wide as the rows it shows (measured once
  // their number is known); only one above or below lays its columns out by
  // the widest of all its texts, a million of them for a lone long series
  l.tw = IsVertical() ? 4 : WidestText(-1) + 4;
  colorBoxWidth_ = tk::RoundToInt(l.tw * colorWidth_ * 0.01);
  l.items = TotalLegendItems();
  LayoutRows(l);
  LayoutWidths(l);
  if (owner_.OnGetLegendRect) owner_.OnGetLegendRect(&owner_, rect_);
  if (l.slotCount < 1) return;  // nothing to list: no box, and the chart keeps its room
  DrawBackground();
  c.Pen() = {color_ == tk::clBlack ? tk::clWhite : tk::clBlack, 1, tk::psSolid, tk::pmCopy, false};
  const int last = std::min(l.items, l.slotCount) + firstValue_ - 1;
  if (!inverted_) {
    for (int i = firstValue_; i <= last; ++i)
      DrawItem(l, i, i - firstValue_);
  } else {
    for (int i = last; i >= firstValue_; --i)
      DrawItem(l, i, last - i);
  }
  TakeRoom();
}

void TCustomChartLegend::LayoutRows(TLayout& l) {
  const tk::TRect& cr = owner_.ChartRect;
  const tk::TRect& b = owner_.ChartBounds();
  auto columnsAndRows = [&] {
    numCols_ = MaxLegendValues(8, l.tw + colorBoxWidth_ + 8);
    if (numCols_ <= 0) {
      numRows_ = 0;
      return;
    }
    numRows_ = l.items / numCols_ + (l.items % numCols_ ? 1 : 0);
    numRows_ = std::min(numRows_, maxNumRows_);
  };
  switch (alignment_) {
    case laTop:
      rect_.top = cr.top + ExtraFrame();
      columnsAndRows();
      rect_.bottom = rect_.top + numRows_ * l.h + 2;
      break;
    case laBottom:
      rect_.bottom = cr.bottom - shadowSize_ - ExtraFrame();
      columnsAndRows();
      rect_.top = rect_.bottom - numRows_ * l.h - 2;
      break;
    default:
      rect_.top = b.top + tk::RoundToInt(topPos_ * (b.bottom - b.top) * 0.01);
      numCols_ = 1;
      numRows_ = MaxLegendValues(rect_.top, l.h);
      rect_.bottom = rect_.top + numRows_ * l.h + 2;
      break;
  }
}

void TCustomChartLegend::LayoutWidths(TLayout& l) {
  const tk::TRect& cr = owner_.ChartRect;
  const tk::TRect& b = owner_.ChartBounds();
  if (alignment_ == laLeft || alignment_ == laRight) {
    const int w = WidestText(numRows_);
    colorBoxWidth_ = tk::RoundToInt((w + 10) * colorWidth_ * 0.01);
    if (alignment_ == laLeft) {
      rect_.left = cr.left + ExtraFrame();
      l.boxX = rect_.left + 4;
      l.textX = l.boxX + colorBoxWidth_ + 4;
      rect_.right = l.textX + w + 2;
    } else {
      rect_.right = cr.right - ExtraFrame() - shadowSize_;
      l.textX = rect_.right - w - 2;
      l.boxX = l.textX - colorBoxWidth_ - 4;
      rect_.left = l.boxX - 4;
    }
    l.slotCount = numRows_;
    return;
  }
  const int width = std::min(owner_.ChartWidth,
                             2 * shadowSize_ + (colorBoxWidth_ + l.tw + 4) * numCols_ + 8);
  const int shift = tk::RoundToInt(topPos_ * (b.right - b.left - width) * 0.01);
  rect_.left = owner_.ChartXCenter - width / 2 + shift;
  rect_.right = owner_.ChartXCenter + width / 2 + shift;
  l.boxX = rect_.left + 4;
  l.textX = l.boxX + colorBoxWidth_ + 4;
  l.slotCount = numCols_ * numRows_;
}

void TCustomChartLegend::DrawBackground() {
  TZozCanvas3D& c = owner_.Canvas();
  tk::TRect r = rect_;
  SelectChartPen(c, frame_);
  int e;
  if (frame_.Visible()) {
    if (frame_.Color() == tk::clDefault) c.Pen().color = tk::clBlack;
    const int fw = frame_.Width();
    r = {r.left - fw, r.top - fw, r.right + fw, r.bottom + fw};
    e = shadowSize_ + fw + (fw - 1) / 2;
  } else {
    e = shadowSize_ - 1;
  }
  c.Brush().style = tk::bsSolid;
  c.Brush().bitmap = nullptr;  // the shadow is plain, whatever pattern came before
  if (shadowSize_ > 0) {
    c.Brush().color = shadowColor_;
    c.FillArea({rect_.left + shadowSize_, rect_.top + shadowSize_, rect_.right + e,
                rect_.bottom + e});
  }
  c.Brush() = brush_.Settings();  // with the brush's pattern bitmap, if it has one
  if (brush_.Style() != tk::bsSolid) {
    c.SetBackgroundColor(tk::ColorToRGB(color_));
    c.SetBackgroundMode(tk::OPAQUE);
  } else {
    c.Brush().color = color_;
  }
  c.DrawRect(r);
}

void TCustomChartLegend::DrawItem(const TLayout& l, int i, int p) {
  TZozCanvas3D& c = owner_.Canvas();
  c.Brush() = {color_, tk::bsSolid};
  int x = l.textX, y = rect_.top + 1;
  if (IsVertical()) {
    y += p * l.h;
  } else {
    y += (p / numCols_) * l.h;
    x += (p % numCols_) * (l.tw + colorBoxWidth_ + 4);
  }
  int boxX = l.boxX;
  if (owner_.OnGetLegendPos) owner_.OnGetLegendPos(&owner_, i, x, y, boxX);
  c.Brush().style = tk::bsClear;
  const tk::TRect box{x - 4 - colorBoxWidth_, y + 2, x - 4, y + l.h - 2};
  const std::string t = ItemText(i);
  if (!t.empty()) {
    c.PutText(x, y, t);
    TChartSeries* s = effectiveStyle_ == lsValues ? owner_.FirstActiveSeries()
                                                  : owner_.LegendSeriesAt(i);
    if (!s) {
      c.Brush() = {tk::clWhite, tk::bsSolid};
      c.DrawRect(box);
    } else if (effectiveStyle_ == lsValues) {
      s->DrawLegendEntry(s->LegendIndexToPoint(i), box);
    } else {
      s->DrawLegendEntry(-1, box);
    }
  }
  if (p > 0 && dividingLines_.Visible()) {
    SelectChartPen(c, dividingLines_);
    c.SetBackgroundMode(tk::TRANSPARENT);
    if (IsVertical())
      c.DrawHorizontal(rect_.left, rect_.right, y);
    else
      c.DrawVertical(box.left - 4, rect_.top, rect_.bottom);
  }
}

void TCustomChartLegend::TakeRoom() {
  tk::TRect& cr = owner_.ChartRect;
  const int width = owner_.ChartWidth, height = owner_.ChartHeight;
  if (resizeChart_) {
    switch (alignment_) {
      case laLeft: cr.left = rect_.right; break;
      case laRight: cr.right = rect_.left; break;
      case laTop: cr.top = rect_.bottom + shadowSize_; break;
      case laBottom: cr.bottom = rect_.top; break;
    }
  }
  const int hGap = horizMargin_ ? horizMargin_ : tk::MulDiv(3, width, 100);
  const int vGap = vertMargin_ ? vertMargin_ : tk::MulDiv(4, height, 100);
  switch (alignment_) {
    case laLeft: cr.left += hGap; break;
    case laRight: cr.right -= hGap; break;
    case laTop: cr.top += vGap; break;
    case laBottom: cr.bottom -= vGap; break;
  }
  owner_.UpdateChartMetrics();
}

// ---------------------------------------------------------------- hit test

int TCustomChartLegend::Clicked(int x, int y) const {
  if (!(x >= rect_.left && x <= rect_.right && y >= rect_.top && y <= rect_.bottom)) return -1;
  auto rowAt = [&](int rowHeight) {
    for (int r = 0; r < numRows_; ++r) {
      const int y0 = rect_.top + r * rowHeight + 1;
      if (y0 <= y && y <= y0 + rowHeight) return r;
    }
    return -1;
  };
  if (IsVertical()) {
    if (numRows_ <= 0) return -1;
    return rowAt((rect_.bottom - rect_.top) / numRows_);
  }
  if (numCols_ <= 0) return -1;
  const int columnWidth = (rect_.right - rect_.left) / numCols_;
  const int h = itemHeight_;
  int answer = -1;
  for (int col = 0; col < numCols_; ++col) {
    const int x0 = rect_.left + col * columnWidth + 1;
    if (x0 <= x && x <= x0 + columnWidth) {
      const int r = rowAt(h);
      if (r != -1) answer = col + r * numCols_;
    }
  }
  return answer;
}
