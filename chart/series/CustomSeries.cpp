#include "chart/series/CustomSeries.h"

#include <algorithm>
#include <cmath>

#include "chart/canvas/Canvas.h"
#include "chart/panel/HitTest.h"

// ---------------------------------------------------------------- the shared engine

TCustomSeries::TCustomSeries()
    : areaLinesPen_([this] { StyleChanged(); }),
      linePen_([this] { StyleChanged(); }),
      pointer_(*this) {
  IncludePointBeyondEdge = true;  // the line runs on to the first point past the edge
}

TCustomSeries::~TCustomSeries() = default;

TZozCanvas3D* TCustomSeries::Canvas() const {
  return ParentChart() ? ParentChart()->DrawingCanvas() : nullptr;
}

bool TCustomSeries::Flat() const {
  return !ParentChart() || !ParentChart()->View3D();
}

TSeriesPointerStyle TCustomSeries::PointerStyleOf(int index) {
  return OnGetPointerStyle ? OnGetPointerStyle(this, index) : pointer_.Style();
}

int TCustomSeries::OriginPixel(int /*index*/) const {
  const TSeriesAxis* v = GetVertAxis();
  return v ? v->AxisEndPixel() : 0;
}

void TCustomSeries::DrawPointMark(int index, const std::string& text,
                                  TSeriesMarkPosition& position) {
  // the mark sits the arrow's length above its point
  const int lift = Marks().ArrowLength();
  position.ArrowEnd.y -= lift;
  position.BoxTopLeft.y -= lift;
  TChartSeries::DrawPointMark(index, text, position);
}

void TCustomSeries::HorizontalMargins(int& left, int& right) const {
  int vertical = 0, halfMark = 0, markHeight = 0;
  pointer_.Margins(left, vertical);
  MarksRoomAbove(halfMark, markHeight);
  left = right = std::max(left, halfMark);
}

void TCustomSeries::VerticalMargins(int& top, int& bottom) const {
  int horizontal = 0, halfMark = 0, markHeight = 0;
  pointer_.Margins(horizontal, top);
  MarksRoomAbove(halfMark, markHeight);
  bottom = top;
  top = std::max(top, markHeight);
}

void TCustomSeries::Assign(const tk::TComponent& source) {
  const auto* s = dynamic_cast<const TCustomSeries*>(&source);
  if (s == this) return;
  if (s) AssignOwnSettings(*s);
  TChartSeries::Assign(source);
  ForceTypeSettings();
}

void TCustomSeries::AssignOwnSettings(const TCustomSeries& source) {
  const TCustomSeries* s = &source;
  SetAreaBrush(s->areaBrush_);
  SetAreaColor(s->areaColor_);
  areaLinesPen_.Assign(s->areaLinesPen_);
  clickableLine_ = s->clickableLine_;
  SetDark3D(s->dark3D_);
  SetDrawArea(s->drawArea_);
  SetDrawLine(s->drawLine_);
  SetInvertedStairs(s->invertedStairs_);
  SetLineBrush(s->lineBrush_);
  SetLineHeight(s->lineHeight_);
  linePen_.Assign(s->linePen_);
  pointer_.Assign(s->pointer_);
  SetStairs(s->stairs_);
}

// ---------------------------------------------------------------- the mouse

bool TCustomSeries::OnLineBetween(tk::TPoint target, tk::TPoint p, tk::TPoint q) const {
  if (!stairs_) return PointOnSegment(target, p, q, 0);
  const tk::TPoint corner = invertedStairs_ ? tk::TPoint{p.x, q.y} : tk::TPoint{q.x, p.y};
  return PointOnSegment(target, p, corner, 0) || PointOnSegment(target, corner, q, 0);
}

// A click finds a point on its marker first, then on the line (or the area)
// that leads on from it.
int TCustomSeries::PointAtPixel(int x, int y) const {
  if (FirstVisible < 0 || LastVisible < 0) return -1;
  if (TZozCanvas3D* c = Canvas()) c->UnprojectPoint(x, y, MiddleDepth);
  const tk::TPoint target{x, y};
  const bool lines = clickableLine_ && (drawLine_ || drawArea_);
  int prev = -1;
  tk::TPoint p{};
  int prevBottom = 0;
  for (int i = FirstVisible; i <= LastVisible && i < PointCount(); ++i) {
    if (IsNullPoint(i)) {
      prev = -1;
      continue;
    }
    const tk::TPoint q{XPixel(i), YPixel(i)};
    const int bottom = OriginPixel(i);
    if (pointer_.Visible()) {
      const tk::TRect b = pointer_.Box(q.x, q.y);
      if (x >= b.left && x <= b.right && y >= b.top && y <= b.bottom) return i;
    }
    if (prev >= 0 && lines) {
      if (OnLineBetween(target, p, q)) return prev;
      if (drawArea_ && PointInsidePolygon(target, {{p.x, prevBottom}, p, q, {q.x, bottom}}))
        return prev;
    }
    prev = i;
    p = q;
    prevBottom = bottom;
  }
  return -1;
}

bool TCustomSeries::HandleClick(int pointIndex, tk::TMouseButton button, tk::TShiftState shift,
                                int x, int y) {
  bool fired = false;
  if (OnClickPointer && pointer_.Visible() && pointIndex >= 0 && pointIndex < PointCount()) {
    int cx = x, cy = y;
    if (TZozCanvas3D* c = Canvas()) c->UnprojectPoint(cx, cy, MiddleDepth);
    const tk::TRect b = pointer_.Box(XPixel(pointIndex), YPixel(pointIndex));
    if (cx >= b.left && cx <= b.right && cy >= b.top && cy <= b.bottom) {
      OnClickPointer(this, pointIndex, x, y);
      if (ParentChart()) ParentChart()->CancelMouseAction();
      fired = true;
    }
  }
  return TChartSeries::HandleClick(pointIndex, button, shift, x, y) || fired;
}

// ---------------------------------------------------------------- the legend

// A line through the box with the marker on it, or the box filled like the area.
void TCustomSeries::DrawLegendSymbol(int index, const tk::TRect& r) {
  TZozCanvas3D* cv = Canvas();
  if (!cv) return;
  const tk::TColor c = index < 0 ? SeriesColor() : PointColor(index);
  tk::TColor back = ParentChart()->LegendColor();
  if (back == tk::clDefault) back = ParentChart()->PanelColor();
  if (drawArea_) {
    // a hatch shows the legend's colour between its lines, as the other symbols do
    ParentChart()->ApplyFillStyle(FillColor(c), areaBrush_, back);
    SelectChartPen(*cv, areaLinesPen_);
    if (areaLinesPen_.Color() == tk::clDefault || !areaLinesPen_.Visible()) cv->Pen().color = c;
    cv->DrawRect(r);
  } else {
    if (drawLine_) {
      SelectChartPen(*cv, linePen_);
      cv->Pen().color = c;
      cv->Brush().style = tk::bsClear;
      cv->DrawHorizontal(r.left, r.right, (r.top + r.bottom) / 2);
    }
    if (pointer_.Visible()) pointer_.DrawLegendShape(c, r, drawLine_);
  }
  // a white series in a white legend would leave an empty row: outline its box
  const tk::TColor shown = drawArea_ ? FillColor(c) : c;
  if (tk::ColorToRGB(shown) != tk::ColorToRGB(back)) return;
  cv->Brush().style = tk::bsClear;
  cv->Pen() = tk::TPenSpec{};
  cv->Pen().color = tk::ColorToRGB(back) == tk::clBlack ? tk::clWhite : tk::clBlack;
  cv->DrawRect(r);
  cv->Pen().color = tk::clBlack;
}

// ---------------------------------------------------------------- the three types

TLineSeries::TLineSeries() {
  ForceTypeSettings();
  SinglePointAllowed = false;
}

void TLineSeries::ForceTypeSettings() {
  SetDrawLine(true);
  SetDrawArea(false);
  Pointer().SetVisible(false);
}

TPointSeries::TPointSeries() {
  ForceTypeSettings();
  Marks().SetArrowLength(0);
  SetClickableLine(false);
}

void TPointSeries::ForceTypeSettings() {
  SetDrawLine(false);
  SetDrawArea(false);
  Pointer().SetVisible(true);
}

TAreaSeries::TAreaSeries() {
  ForceTypeSettings();
  SinglePointAllowed = false;
}

void TAreaSeries::ForceTypeSettings() {
  SetDrawLine(true);
  SetDrawArea(true);
  Pointer().SetVisible(false);
}

void TAreaSeries::SetMultiArea(TMultiArea mode) {
  if (tk::Change(multiArea_, mode)) RequestRepaint();
  if (TSeriesChart* chart = ParentChart())
    for (int k = 0; k < chart->SeriesCount(); ++k)
      if (auto* a = dynamic_cast<TAreaSeries*>(chart->SeriesAt(k)); a && a != this)
        if (tk::Change(a->multiArea_, mode)) a->RequestRepaint();
}

double TAreaSeries::StackedValue(int index, bool origin) const {
  double v = SumOfPriorSeries(index, false) + (origin ? 0 : YValueAt(index));
  if (multiArea_ == maStacked100) {
    // nothing to share at this index: the point stays at 0 %
    const double total = SumOfPriorSeries(index, true);
    v = total == 0 ? 0 : v * 100 / total;
  }
  return v;
}

int TAreaSeries::YPixel(int index) const {
  if (multiArea_ == maNone) return TCustomSeries::YPixel(index);
  return YValueToPixel(StackedValue(index, false));
}

int TAreaSeries::OriginPixel(int index) const {
  const int end = TCustomSeries::OriginPixel(index);
  if (multiArea_ == maNone) return end;
  const int p = YValueToPixel(StackedValue(index, true));
  const TSeriesAxis* v = GetVertAxis();
  return v && !v->Inverted() ? std::min(p, end) : p;  // never below the axis
}

double TAreaSeries::HighestY() const {
  if (multiArea_ == maStacked100) return 100;
  if (multiArea_ == maNone || PointCount() == 0) return TCustomSeries::HighestY();
  double highest = StackedValue(0, false);
  for (int i = 1; i < PointCount(); ++i)
    highest = std::max(highest, StackedValue(i, false));
  return highest;
}

double TAreaSeries::LowestY() const {
  return multiArea_ == maStacked100 ? 0 : TCustomSeries::LowestY();
}

// Stacked areas share one depth slot, the one the first of them takes.
void TAreaSeries::AssignZOrder() {
  TSeriesChart* chart = ParentChart();
  if (multiArea_ == maNone || FixedZOrder() != -1 || !chart) {
    TCustomSeries::AssignZOrder();
    return;
  }
  for (int k = 0; k < chart->SeriesCount(); ++k) {
    auto* a = dynamic_cast<TAreaSeries*>(chart->SeriesAt(k));
    if (!a || !a->Active()) continue;
    if (a == this) break;
    SetAutoZOrder(a->ZOrder());
    return;
  }
  TCustomSeries::AssignZOrder();
}
