#include "chart/series/Marks.h"

#include <algorithm>
#include <cmath>

#include "chart/canvas/Canvas.h"
#include "chart/canvas/ChartFont.h"
#include "chart/panel/TextLines.h"
#include "chart/series/Series.h"
#include "toolkit/Format.h"
#include "toolkit/Rounding.h"

// ---------------------------------------------------------------- positions

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& other) {
  ArrowStart = other.ArrowStart;
  ArrowEnd = other.ArrowEnd;
  BoxTopLeft = other.BoxTopLeft;
  BoxHeight = other.BoxHeight;
  BoxWidth = other.BoxWidth;
}

TSeriesMarkPosition* TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int index) {
  if (index >= Count()) items_.resize(static_cast<std::size_t>(index) + 1);
  auto& entry = items_[static_cast<std::size_t>(index)];
  if (!entry) entry = std::make_unique<TSeriesMarkPosition>();
  return *entry;
}

void TSeriesMarksPositions::RemoveAt(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

// ---------------------------------------------------------------- the marks

TSeriesMarks::TSeriesMarks(TChartSeries& owner)
    : arrow_([this] { Repaint(); }),
      frame_([this] { Repaint(); }),
      font_(NewDefaultFont([this] { Repaint(); })),
      owner_(owner) {}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::Repaint() const {
  owner_.RequestRepaint();
}

bool TSeriesMarks::FontIsStored() const {
  return !IsStandardFont(*font_);
}

void TSeriesMarks::Assign(const TSeriesMarks& other) {
  if (&other == this) return;
  arrow_.Assign(other.arrow_);
  SetArrowLength(other.arrowLength_);
  SetBackColor(other.backColor_);
  SetTransparent(other.transparent_);
  SetClip(other.clip_);
  frame_.Assign(other.frame_);
  font_->Assign(other.font_->Value());
  SetStyle(other.style_);
  SetVisible(other.visible_);
}

void TSeriesMarks::RecallPosition(int index, TSeriesMarkPosition& position) {
  TSeriesMarkPosition& stored = positions_.Ensure(index);
  if (stored.UserPlaced)
    position.Assign(stored);
  else
    stored.Assign(position);
}

void TSeriesMarks::PaintMark(int index, tk::TColor pointColor, TSeriesMarkPosition& position,
                             const std::string& text) {
  TSeriesChart* chart = owner_.ParentChart();
  TZozCanvas3D* c = chart ? chart->DrawingCanvas() : nullptr;
  if (!c) return;
  RecallPosition(index, position);
  if (arrow_.Visible()) DrawArrowLine(pointColor, position);
  if (chart->View3D() && !c->HandlesText3D()) {
    // the box keeps its place relative to the arrow's end, which moved with the depth
    const tk::TPoint end = c->ProjectPoint(position.ArrowEnd.x, position.ArrowEnd.y, ZPosition);
    position.BoxTopLeft.x += end.x - position.ArrowEnd.x;
    position.BoxTopLeft.y += end.y - position.ArrowEnd.y;
  }
  int textTop = position.BoxTopLeft.y;
  if (frame_.Visible() || !transparent_) DrawBox(position, textTop);
  DrawText(position, textTop, text);
  c->SetTextAlignment(tk::TA_LEFT | tk::TA_TOP);
}

void TSeriesMarks::DrawArrowLine(tk::TColor pointColor, const TSeriesMarkPosition& position) {
  TSeriesChart& chart = *owner_.ParentChart();
  TZozCanvas3D& c = *chart.DrawingCanvas();
  SelectChartPen(c, arrow_);
  c.Brush().style = tk::bsClear;
  // an arrow in the point's colour, or in the background's, would not show
  const tk::TColor back = chart.ChartBackColor();
  if (arrow_.Color() == pointColor || arrow_.Color() == back)
    c.Pen().color = tk::ColorToRGB(back) == tk::clBlack ? tk::clWhite : tk::clBlack;
  const TSeriesMarkPosition& p = position;
  if (chart.View3D())
    c.DrawSegmentAtDepth(p.ArrowStart.x, p.ArrowStart.y, p.ArrowEnd.x, p.ArrowEnd.y, ZPosition);
  else
    c.DrawSegment(p.ArrowStart.x, p.ArrowStart.y, p.ArrowEnd.x, p.ArrowEnd.y);
}

void TSeriesMarks::DrawBox(const TSeriesMarkPosition& position, int& textTop) {
  TSeriesChart& chart = *owner_.ParentChart();
  TZozCanvas3D& c = *chart.DrawingCanvas();
  c.Brush().color = backColor_;
  c.Brush().style = transparent_ ? tk::bsClear : tk::bsSolid;
  SelectChartPen(c, frame_);
  if (chart.View3D() && c.HandlesText3D())
    c.DrawRectAtDepth(position.Bounds(), ZPosition + 1);
  else
    c.DrawRect(position.Bounds());
  if (frame_.Visible()) textTop += frame_.Width();
}

void TSeriesMarks::DrawText(const TSeriesMarkPosition& position, int textTop,
                            const std::string& text) {
  TSeriesChart& chart = *owner_.ParentChart();
  TZozCanvas3D& c = *chart.DrawingCanvas();
  c.Brush().style = tk::bsClear;
  c.SetTextAlignment(tk::TA_CENTER | tk::TA_TOP);
  const int x = position.BoxTopLeft.x + position.BoxWidth / 2;
  const int lineHeight = c.FontPixelHeight();
  const bool atDepth = chart.View3D() && c.HandlesText3D();
  int y = textTop;
  ForEachLine(text, [&](const std::string& line) {
    if (atDepth)
      c.PutTextAtDepth(x, y, ZPosition, line);
    else
      c.PutText(x, y, line);
    y += lineHeight;
  });
}

// ---------------------------------------------------------------- the series' side

namespace {

// The value and percentage texts of marks. The legend formats the same way;
// the percentage here is of the value's magnitude.
std::string ValueText(const TChartSeries& s, double value) {
  return tk::FormatFloat(s.ValueFormat(), value);
}

std::string PercentText(const TChartSeries& s, int index) {
  const double total = s.MandatoryList().MagnitudeSum();
  const double percent = total == 0 ? 100 : std::fabs(s.MarkValueAt(index)) * 100 / total;
  return tk::FormatFloat(s.PercentFormat(), percent);
}

std::string PercentTotalText(const TChartSeries& s, int index) {
  return PercentText(s, index) + " of " + ValueText(s, s.MandatoryList().MagnitudeSum());
}

std::string XValueText(const TChartSeries& s, int index) {
  const double x = s.XValueAt(index);
  if (TSeriesAxis* axis = s.GetHorizAxis()) return axis->LabelText(x);
  return ValueText(s, x);
}

}  // namespace

std::string TChartSeries::MarkTextOf(int index) const {
  auto labelOrValue = [&] {
    std::string label = PointLabel(index);
    return label.empty() ? ValueText(*this, MarkValueAt(index)) : label;
  };
  std::string text;
  switch (marks_->Style()) {
    case smsValue:
      text = ValueText(*this, MarkValueAt(index));
      break;
    case smsPercent:
      text = PercentText(*this, index);
      break;
    case smsLabel:
      text = labelOrValue();
      break;
    case smsLabelPercent:
      text = labelOrValue() + " " + PercentText(*this, index);
      break;
    case smsLabelValue:
      text = labelOrValue() + " " + ValueText(*this, MarkValueAt(index));
      break;
    case smsLegend:
      if (parentChart_) text = parentChart_->FormatValueForLegend(const_cast<TChartSeries*>(this), index);
      break;
    case smsPercentTotal:
      text = PercentTotalText(*this, index);
      break;
    case smsLabelPercentTotal:
      text = labelOrValue() + " " + PercentTotalText(*this, index);
      break;
    case smsXValue:
      text = XValueText(*this, index);
      break;
  }
  if (OnGetMarkText) OnGetMarkText(const_cast<TChartSeries*>(this), index, text);
  return text;
}

void TChartSeries::DrawAllMarks() {
  TZozCanvas3D* c = parentChart_ ? parentChart_->DrawingCanvas() : nullptr;
  if (!c || FirstVisible < 0) return;
  for (int i = FirstVisible; i <= LastVisible && i < PointCount(); ++i) {
    if (IsNullPoint(i)) continue;
    const std::string text = MarkTextOf(i);
    if (text.empty()) continue;
    c->Font().font = marks_->Font().Value();
    if (parentChart_->View3D() && !c->HandlesText3D() && c->ZoomText()) {
      const int points = tk::HeightToPoints(c->Font().font.height);
      const int zoomed = std::max(1, tk::RoundToInt(points * c->ZoomFactor()));
      c->Font().font.height = tk::PointsToHeight(zoomed);
    }
    int widest = 0;
    const int lines = ForEachLine(text, [&](const std::string& line) {
      widest = std::max(widest, c->MeasureTextWidth(line));
    });
    int width = widest + c->MeasureTextWidth("W");
    int height = lines * c->FontPixelHeight();
    if (marks_->Frame().Visible()) {
      width += 2 * marks_->Frame().Width();
      height += 2 * marks_->Frame().Width();
    }
    // centred above the point, its bottom edge on the point; the arrow has no length yet
    TSeriesMarkPosition p;
    p.ArrowStart = p.ArrowEnd = {XPixel(i), YPixel(i)};
    p.BoxTopLeft = {p.ArrowEnd.x - width / 2, p.ArrowEnd.y - height + 1};
    p.BoxWidth = width;
    p.BoxHeight = height;
    DrawPointMark(i, text, p);
  }
}

void TChartSeries::DrawPointMark(int index, const std::string& text,
                                 TSeriesMarkPosition& position) {
  marks_->PaintMark(index, PointColor(index), position, text);
}

void TChartSeries::MarksRoomAbove(int& halfWidth, int& height) const {
  halfWidth = height = 0;
  TZozCanvas3D* c = parentChart_ ? parentChart_->DrawingCanvas() : nullptr;
  if (!c || !marks_->Visible() || PointCount() == 0) return;
  c->Font().font = marks_->Font().Value();
  const int frame = marks_->Frame().Visible() ? 2 * marks_->Frame().Width() : 0;
  halfWidth = (WidestMarkText() + c->MeasureTextWidth("W") + frame + 1) / 2;
  height = marks_->ArrowLength() + c->FontPixelHeight() + frame;
}

int TChartSeries::WidestMarkText() const {
  TZozCanvas3D* c = parentChart_ ? parentChart_->DrawingCanvas() : nullptr;
  if (!c) return 0;
  int widest = 0;
  for (int i = 0; i < PointCount(); ++i)
    ForEachLine(MarkTextOf(i), [&](const std::string& line) {
      widest = std::max(widest, c->MeasureTextWidth(line));
    });
  return widest;
}
