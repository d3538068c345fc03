#include "chart/series/RepaintPause.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SampleValues.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <typeinfo>

#include "chart/canvas/Canvas.h"
#include "toolkit/Change.h"
#include "toolkit/Rounding.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDegree = 0.017453292519943295769;

// Widths and heights even (the far edge moves in), and at least 4 pixels.
void MakeEven(tk::TRect& r) {
  if ((r.right - r.left) % 2 != 0) --r.right;
  if ((r.bottom - r.top) % 2 != 0) --r.bottom;
  if (r.right - r.left < 4) r.right = r.left + 4;
  if (r.bottom - r.top < 4) r.bottom = r.top + 4;
}


constexpr tk::TBrushStyle kPatterns[6] = {tk::bsHorizontal, tk::bsVertical, tk::bsFDiagonal,
                                          tk::bsBDiagonal,  tk::bsCross,    tk::bsDiagCross};

}  // namespace

// ---------------------------------------------------------------- circle geometry

double ScreenPixelRatio(const tk::TScreenMetrics& s) {
  if (s.widthPixels <= 0 || s.heightPixels <= 0 || s.widthMillimetres <= 0 ||
      s.heightMillimetres <= 0)
    return 1;
  return (static_cast<double>(s.widthPixels) / s.heightPixels) /
         (s.widthMillimetres / s.heightMillimetres);
}

TCircleLayout LayoutCircle(const tk::TRect& chartRect, const TCircleRoom& room, bool circled,
                           double ratio, int customXRadius, int customYRadius) {
  tk::TRect r = chartRect;
  MakeEven(r);
  if (room.vertical != 0 || room.horizontal != 0) {
    r.top += room.vertical;
    r.bottom -= room.vertical;
    r.left += room.horizontal;
    r.right -= room.horizontal;
    MakeEven(r);
  }
  if (circled && ratio > 0) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int rx = (r.right - r.left) / 2, ry = (r.bottom - r.top) / 2;
    if (ry * ratio < rx) {
      const int narrow = tk::RoundToInt(ry * ratio);
      r.left = cx - narrow;
      r.right = cx + narrow;
    } else {
      const int low = tk::RoundToInt(rx / ratio);
      r.top = cy - low;
      r.bottom = cy + low;
    }
    MakeEven(r);
  }
  TCircleLayout out;
  out.xCenter = (r.left + r.right) / 2;
  out.yCenter = (r.top + r.bottom) / 2;
  out.xRadius = customXRadius != 0 ? customXRadius : (r.right - r.left) / 2;
  out.yRadius = customYRadius != 0 ? customYRadius : (r.bottom - r.top) / 2;
  out.rect = {out.xCenter - out.xRadius, out.yCenter - out.yRadius, out.xCenter + out.xRadius,
              out.yCenter + out.yRadius};
  return out;
}

// ---------------------------------------------------------------- circled series

TCircledSeries::TCircledSeries() {
  XValues().SetName("Angle");
  LimitToAxisWindow = false;  // every slice is drawn, whatever the axes show
}

TCircledSeries::~TCircledSeries() {
  // leave while this is still a circled series, so the chart's pie mode ends
  TCircledSeries::SetParentChart(nullptr);
}

TZozCanvas3D* TCircledSeries::Canvas() const {
  return ParentChart() ? ParentChart()->DrawingCanvas() : nullptr;
}

double TCircledSeries::Rotation() const {
  return rotationAngle_ * kDegree;
}

template <typename F>
void TCircledSeries::ForSameClass(F&& apply) {
  apply(*this);
  if (!ParentChart()) return;
  for (int i = 0; i < ParentChart()->SeriesCount(); ++i) {
    TChartSeries* s = ParentChart()->SeriesAt(i);
    if (s != this && typeid(*s) == typeid(*this)) apply(static_cast<TCircledSeries&>(*s));
  }
}

void TCircledSeries::SetCircled(bool on) {
  ForSameClass([on](TCircledSeries& s) {
    if (tk::Change(s.circled_, on)) s.RequestRepaint();
  });
}

void TCircledSeries::SetCustomXRadius(int r) {
  ForSameClass([r](TCircledSeries& s) {
    if (tk::Change(s.customXRadius_, r)) s.RequestRepaint();
  });
}

void TCircledSeries::SetCustomYRadius(int r) {
  ForSameClass([r](TCircledSeries& s) {
    if (tk::Change(s.customYRadius_, r)) s.RequestRepaint();
  });
}

void TCircledSeries::SetRotationAngle(int degrees) {
  if (degrees < 0)
    throw PieException(
        tk::FormatMessage("%s Angle must be between 0 and 359 degrees", {"Rotation"}));
  if (tk::Change(rotationAngle_, degrees % 360)) RequestRepaint();
}

void TCircledSeries::SetCircleBackColor(tk::TColor c) {
  if (tk::Change(circleBackColor_, c)) RequestRepaint();
}

double TCircledSeries::PixelRatio() const {
  return ScreenPixelRatio(ScreenMetrics ? ScreenMetrics() : tk::PrimaryScreenMetrics());
}

int TCircledSeries::MarksRoomVertical() const {
  TZozCanvas3D* c = Canvas();
  if (!c) return 0;
  const TSeriesMarks& m = Marks();
  c->Font().font = m.Font().Value();
  const int frame = m.Frame().Visible() ? 2 * m.Frame().Width() : 0;
  // the arrow's end lies a font height beyond the arrow, and the box, a font
  // height and its frame high, beyond that end
  return m.ArrowLength() + 2 * c->FontPixelHeight() + frame;
}

int TCircledSeries::MarksRoomHorizontal() const {
  TZozCanvas3D* c = Canvas();
  if (!c) return 0;
  c->Font().font = Marks().Font().Value();
  int widest = 0;
  for (int i = 0; i < ParentChart()->SeriesCount(); ++i) {
    const TChartSeries* s = ParentChart()->SeriesAt(i);
    if (s->Active()) widest = std::max(widest, s->WidestMarkText());
  }
  c->Font().font = Marks().Font().Value();
  const TSeriesMarks& m = Marks();
  const int frame = m.Frame().Visible() ? 2 * m.Frame().Width() : 0;
  // the arrow's end lies a "W" beyond the arrow, and the box, as wide as the
  // widest text, another "W" and its frame, beyond that end
  return m.ArrowLength() + 2 * c->MeasureTextWidth("W") + widest + frame;
}

void TCircledSeries::CalcCircleGeometry() {
  if (!ParentChart()) return;
  TCircleRoom room;
  if (Marks().Visible()) {
    room.vertical = MarksRoomVertical();
    room.horizontal = MarksRoomHorizontal();
  }
  const double ratio = circled_ ? PixelRatio() : 1;
  const TCircleLayout l = LayoutCircle(ParentChart()->ChartRectangle(), room, circled_, ratio,
                                       customXRadius_, customYRadius_);
  CircleXCenter = l.xCenter;
  CircleYCenter = l.yCenter;
  SetCircleRadii(l.xRadius, l.yRadius);
}

void TCircledSeries::SetCircleRadii(int xRadius, int yRadius) {
  XRadius = xRadius;
  YRadius = yRadius;
  CircleRect = {CircleXCenter - xRadius, CircleYCenter - yRadius, CircleXCenter + xRadius,
                CircleYCenter + yRadius};
  CircleWidth = CircleRect.right - CircleRect.left;
  CircleHeight = CircleRect.bottom - CircleRect.top;
}

tk::TPoint TCircledSeries::AngleToPos(double angle, double xRadius, double yRadius) const {
  const double a = Rotation() + angle;
  return {tk::RoundToInt(std::cos(a) * xRadius) + CircleXCenter,
          CircleYCenter - tk::RoundToInt(std::sin(a) * yRadius)};
}

double TCircledSeries::PointToAngle(int x, int y) const {
  const double rx = XRadius != 0 ? XRadius : 1, ry = YRadius != 0 ? YRadius : 1;
  double a = std::atan2((CircleYCenter - y) / ry, (x - CircleXCenter) / rx);
  if (a < 0) a += kTwoPi;
  a -= Rotation();
  if (a < 0) a += kTwoPi;
  return a;
}

// ---------------------------------------------------------------- pie mode

bool TCircledSeries::HasOtherActiveCircled(const TSeriesChart& chart,
                                           const TChartSeries* except) {
  for (int i = 0; i < chart.SeriesCount(); ++i) {
    const TChartSeries* s = chart.SeriesAt(i);
    if (s != except && s->Active() && dynamic_cast<const TCircledSeries*>(s)) return true;
  }
  return false;
}

void TCircledSeries::EnterPieMode() {
  if (ParentChart()) ParentChart()->SwitchPieMode(true);
}

void TCircledSeries::LeavePieMode(TSeriesChart& chart) {
  if (chart.IsDestroying() || HasOtherActiveCircled(chart, this)) return;
  chart.SwitchPieMode(false);
}

void TCircledSeries::SetParentChart(TSeriesChart* chart) {
  TSeriesChart* old = ParentChart();
  if (chart == old) return;
  TChartSeries::SetParentChart(chart);
  if (old && Active()) LeavePieMode(*old);
  if (ParentChart() && Active()) EnterPieMode();
}

void TCircledSeries::SetActive(bool active) {
  if (active == Active()) return;
  TChartSeries::SetActive(active);
  if (!ParentChart()) return;
  if (active)
    EnterPieMode();
  else
    LeavePieMode(*ParentChart());
}

void TCircledSeries::Assign(const tk::TComponent& source) {
  if (const auto* s = dynamic_cast<const TCircledSeries*>(&source); s && s != this) {
    SetCircled(s->circled_);
    SetCustomXRadius(s->customXRadius_);
    SetCustomYRadius(s->customYRadius_);
    SetRotationAngle(s->rotationAngle_);
    SetCircleBackColor(s->circleBackColor_);
  }
  TChartSeries::Assign(source);
}

// ---------------------------------------------------------------- other slice, exploded slices

void TPieOtherSlice::SetStyle(TPieOtherStyle s) {
  if (tk::Change(style_, s)) owner_.RequestRepaint();
}

void TPieOtherSlice::SetText(const std::string& t) {
  if (tk::Change(text_, t)) owner_.RequestRepaint();
}

void TPieOtherSlice::SetValue(double v) {
  if (tk::Change(value_, v)) owner_.RequestRepaint();
}

void TPieOtherSlice::Assign(const TPieOtherSlice& other) {
  SetStyle(other.style_);
  SetText(other.text_);
  SetValue(other.value_);
}

int TExplodedSlices::Value(int index) const {
  return index >= 0 && index < Count() ? values_[static_cast<size_t>(index)] : 0;
}

void TExplodedSlices::Store(int index, int percent) {
  if (index < 0) return;
  if (index >= Count()) values_.resize(static_cast<size_t>(index) + 1, 0);
  values_[static_cast<size_t>(index)] = percent;
}

void TExplodedSlices::SetValue(int index, int percent) {
  if (index < 0 || Value(index) == percent) return;
  Store(index, percent);
  owner_.RequestRepaint();
}

int TExplodedSlices::Largest() const {
  int largest = 0;
  for (int v : values_) largest = std::max(largest, v);
  return largest;
}

// ---------------------------------------------------------------- pie series

TPieSeries::TPieSeries()
    : piePen_([this] { StyleChanged(); }), otherSlice_(*this), exploded_(*this) {
  XValues().SetName("");
  YValues().SetName("Pie");
  SetColorEachPoint(true);
  Marks().SetVisible(true);
  Marks().SetArrowLength(8);
}

void TPieSeries::SetExplodeBiggest(int percent) {
  if (tk::Change(explodeBiggest_, percent)) RequestRepaint();
}

void TPieSeries::SetUsePatterns(bool on) {
  if (tk::Change(usePatterns_, on)) RequestRepaint();
}

void TPieSeries::SetDark3D(bool on) {
  if (tk::Change(dark3D_, on)) RequestRepaint();
}

bool TPieSeries::IsOtherMember(int index) const {
  return index >= 0 && index < PointCount() && XValues().ValueAt(index) == -1;
}

void TPieSeries::Assign(const tk::TComponent& source) {
  if (const auto* s = dynamic_cast<const TPieSeries*>(&source); s && s != this) {
    piePen_.Assign(s->piePen_);
    SetExplodeBiggest(s->explodeBiggest_);
    otherSlice_.Assign(s->otherSlice_);
    SetUsePatterns(s->usePatterns_);
    SetDark3D(s->dark3D_);
  }
  TCircledSeries::Assign(source);
}

void TPieSeries::PrepareChartDraw() {
  PrepareOtherSlice();
  ApplyExplodeBiggest();
}

void TPieSeries::PrepareOtherSlice() {
  RepaintPause pause(ParentChart());
  TChartValueList& y = YValues();
  if (y.Order() != loNone) y.SortPoints();
  y.MagnitudeSumAdjustment = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (XValues().ValueAt(i) == kOtherSliceX) {
      RemovePointAt(i);
      break;
    }
  XValues().NumberSequentially();
  const double total = y.MagnitudeSum();
  if (otherSlice_.Style() == poNone || !(total > 0)) return;
  double sum = 0;
  for (int i = 0; i < PointCount(); ++i) {
    const double v = YValueAt(i);
    const double measure = otherSlice_.Style() == poBelowValue ? v : v * 100 / total;
    if (measure < otherSlice_.Value()) {
      XValues().ReplaceValue(i, -1);
      sum += v;
    }
  }
  if (sum == 0) return;
  AddPointXY(kOtherSliceX, sum, otherSlice_.Text(), tk::clDefault);
  y.MagnitudeSumAdjustment = sum;  // the total stays that of the points before "Other"
}

void TPieSeries::ApplyExplodeBiggest() {
  if (explodeBiggest_ <= 0) return;
  int biggest = -1;
  for (int i = 0; i < PointCount(); ++i)
    if (!IsOtherMember(i) && (biggest < 0 || YValueAt(i) > YValueAt(biggest))) biggest = i;
  if (biggest >= 0) exploded_.Store(biggest, explodeBiggest_);
}

void TPieSeries::CalcAngles() {
  const int n = PointCount();
  angles_.assign(static_cast<size_t>(n), {});
  const double total = YValues().MagnitudeSum();
  double running = 0, previous = 0;
  for (int i = 0; i < n; ++i) {
    if (!IsOtherMember(i)) running += std::fabs(YValueAt(i));
    double end = total == 0 || running == total ? kTwoPi : running * kTwoPi / total;
    end = std::clamp(end, previous, kTwoPi);  // never past the full circle
    TSliceAngles& a = angles_[static_cast<size_t>(i)];
    a.start = previous;
    a.end = end;
    a.middle = (a.start + a.end) / 2;
    previous = end;
  }
}

tk::TPoint TPieSeries::ExplodeOffset(int index) const {
  const int p = exploded_.Value(index);
  if (p <= 0 || index < 0 || index >= static_cast<int>(angles_.size())) return {0, 0};
  const double m = angles_[static_cast<size_t>(index)].middle + Rotation();
  return {tk::RoundToInt(std::cos(m) * XRadius * p / 100),
          tk::RoundToInt(std::sin(m) * p / 100 * YRadius)};
}

void TPieSeries::ShrinkForExplosion() {
  int largest = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (!IsOtherMember(i)) largest = std::max(largest, exploded_.Value(i));
  isExploded_ = largest > 0;
  if (!isExploded_) return;
  // An exploded slice reaches radius x (1 + p/100) from the centre, so the
  // radii shrink by that factor; half the offset off each side is not enough
  // (the slice would still cross the chart's edge).
  SetCircleRadii(XRadius * 100 / (100 + largest), YRadius * 100 / (100 + largest));
}

void TPieSeries::StartDrawingPoints() {
  CalcCircleGeometry();
  CalcAngles();
  ShrinkForExplosion();
  nextStart_ = AngleToPos(0, XRadius, YRadius);
  TCircledSeries::StartDrawingPoints();
}

std::vector<int> TPieSeries::DrawingOrder() const {
  std::vector<int> order(static_cast<size_t>(PointCount()));
  for (int i = 0; i < PointCount(); ++i) order[static_cast<size_t>(i)] = i;
  const bool view3D = ParentChart() && ParentChart()->View3D();
  if (!view3D || !isExploded_ || angles_.size() < order.size()) return order;
  // back slices first, so those in front cover them
  auto fromBack = [this](int i) {
    const double m = std::fmod(angles_[static_cast<size_t>(i)].middle + Rotation(), kTwoPi);
    const double d = std::fabs(m - std::numbers::pi / 2);
    return std::min(d, kTwoPi - d);
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return fromBack(a) < fromBack(b); });
  return order;
}

void TPieSeries::DrawAllPoints() {
  for (int i : DrawingOrder()) DrawPoint(i);
}

tk::TColor TPieSeries::BackOfPatterns() const {
  if (CircleBackColor() != tk::clDefault) return CircleBackColor();
  return ParentChart() ? ParentChart()->ChartBackColor() : tk::clWhite;
}

void TPieSeries::PrepareSliceTools(int index) {
  TZozCanvas3D& c = *Canvas();
  c.Brush().color = PointColor(index);
  c.Brush().style = usePatterns_ ? kPatterns[index % 6] : tk::bsSolid;
  c.SetBackgroundColor(BackOfPatterns());
  if (usePatterns_) c.SetBackgroundMode(tk::OPAQUE);
  SelectChartPen(c, piePen_);
}

void TPieSeries::DrawPoint(int index) {
  TZozCanvas3D* c = Canvas();
  if (!c || index < 0 || index >= static_cast<int>(angles_.size())) return;
  const TSliceAngles& a = angles_[static_cast<size_t>(index)];
  const bool skip =
      CircleWidth < 5 || CircleHeight < 5 || IsOtherMember(index) || IsNullPoint(index);
  const bool flat = !ParentChart()->View3D();
  const tk::TPoint end = AngleToPos(a.end, XRadius, YRadius);
  if (!skip) {
    PrepareSliceTools(index);
    const tk::TPoint off = ExplodeOffset(index);
    if (!flat) {
      c->DrawPieSlice3D(CircleXCenter + off.x, CircleYCenter - off.y, XRadius, YRadius,
                        FrontDepth, BackDepth, a.start + Rotation(), a.end + Rotation(), dark3D_,
                        isExploded_);
    } else if (!(end == nextStart_ && PointCount() > 1 && a.end - a.start <= 1)) {
      // a sliver whose rays meet would come out as a whole ellipse
      const tk::TRect& r = CircleRect;
      c->DrawPieSlice(r.left + off.x, r.top - off.y, r.right + off.x, r.bottom - off.y,
                      nextStart_.x + off.x, nextStart_.y - off.y, end.x + off.x, end.y - off.y);
    }
  }
  if (flat) nextStart_ = end;
}

void TPieSeries::DrawPointMark(int index, const std::string& text,
                               TSeriesMarkPosition& position) {
  TZozCanvas3D* c = Canvas();
  if (!c || IsOtherMember(index) || index >= static_cast<int>(angles_.size())) return;
  const double grow = 1 + exploded_.Value(index) / 100.0;
  const double rx = XRadius * grow, ry = YRadius * grow;
  const double middle = angles_[static_cast<size_t>(index)].middle;
  const int length = Marks().ArrowLength();
  const tk::TPoint start = AngleToPos(middle, rx, ry);
  const tk::TPoint end = AngleToPos(middle, rx + length + c->MeasureTextWidth("W"),
                                    ry + length + c->FontPixelHeight());
  position.ArrowStart = start;
  position.ArrowEnd = end;
  position.BoxTopLeft.x = end.x > CircleXCenter ? end.x : end.x - position.BoxWidth;
  position.BoxTopLeft.y = end.y > CircleYCenter ? end.y : end.y - position.BoxHeight;
  Marks().ZPosition = ParentChart()->View3D() ? OutwardDepth(*c, start) : BackDepth;
  TChartSeries::DrawPointMark(index, text, position);
}

int TPieSeries::OutwardDepth(const TZozCanvas3D& c, tk::TPoint rim) const {
  // A tilted view shows the rim of the slices in front at one depth and of
  // those behind at the other; a mark starting at the hidden rim would sit
  // on the slice's side. The outward rim is the one farther from the centre
  // on screen along the slice's middle.
  const int middle = (FrontDepth + BackDepth) / 2;
  const tk::TPoint centre = c.ProjectPoint(CircleXCenter, CircleYCenter, middle);
  const tk::TPoint out = c.ProjectPoint(rim.x, rim.y, middle);
  const double dx = out.x - centre.x, dy = out.y - centre.y;
  auto reach = [&](int z) {
    const tk::TPoint p = c.ProjectPoint(rim.x, rim.y, z);
    return (p.x - centre.x) * dx + (p.y - centre.y) * dy;
  };
  return reach(FrontDepth) > reach(BackDepth) ? FrontDepth : BackDepth;
}

int TPieSeries::PointAtPixel(int x, int y) const {
  TZozCanvas3D* c = Canvas();
  if (!c || XRadius <= 0 || YRadius <= 0) return -1;
  c->UnprojectPoint(x, y, 0);
  for (int i = 0; i < PointCount() && i < static_cast<int>(angles_.size()); ++i) {
    if (IsOtherMember(i) || IsNullPoint(i)) continue;
    // measured from the slice's own centre, so an exploded slice is hit where it is drawn
    const tk::TPoint off = ExplodeOffset(i);
    const double dx = static_cast<double>(x - (CircleXCenter + off.x)) / XRadius;
    const double dy = static_cast<double>((CircleYCenter - off.y) - y) / YRadius;
    if (dx * dx + dy * dy > 1) continue;
    double angle = std::atan2(dy, dx);
    if (angle < 0) angle += kTwoPi;
    angle -= Rotation();
    if (angle < 0) angle += kTwoPi;
    const TSliceAngles& a = angles_[static_cast<size_t>(i)];
    if (a.start <= angle && angle <= a.end && a.end > a.start) return i;
  }
  return -1;
}

int TPieSeries::LegendItemCount() const {
  int n = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (!IsOtherMember(i)) ++n;
  return n;
}

int TPieSeries::LegendIndexToPoint(int i) const {
  for (int p = 0; p < PointCount(); ++p)
    if (!IsOtherMember(p) && i-- == 0) return p;
  return -1;
}

int TPieSeries::PointToLegendIndex(int point) const {
  if (point < 0 || point >= PointCount() || IsOtherMember(point)) return -1;
  int row = 0;
  for (int p = 0; p < point; ++p)
    if (!IsOtherMember(p)) ++row;
  return row;
}

void TPieSeries::PrepareLegendBrush(int index, tk::TColor& backColor, tk::TBrushStyle& style) {
  if (!usePatterns_ || index < 0) return;
  style = kPatterns[index % 6];
  backColor = BackOfPatterns();
}

void TPieSeries::FillSampleValues(int count) {
  if (count <= 0) throw ChartException("FillSampleValues NumValues must be > 0");
  std::mt19937& rng = SampleValueGenerator();
  std::uniform_int_distribution<int> value(1, 1000);
  {
    RepaintPause pause(ParentChart());
    RemoveAllPoints();
    for (int i = 0; i < count; ++i) AddPointValue(value(rng));
  }
  RequestRepaint();
  NotifyDependents(ckRefresh, -1);
}
