#include "chart/series/BarSeries.h"

#include <algorithm>
#include <limits>
#include <random>
#include <typeinfo>

#include "chart/canvas/Canvas.h"
#include "chart/panel/AxisPanel.h"
#include "chart/panel/HitTest.h"
#include "chart/series/SampleValues.h"
#include "toolkit/Rounding.h"

namespace {

const TCustomChartAxis* ChartAxis(const TSeriesAxis* a) {
  return dynamic_cast<const TCustomChartAxis*>(a);
}

// Wider than any screen, yet far enough inside the int range that a bar's
// far edge and its margins never overflow.
constexpr int kMaxThickness = 1 << 20;

int Saturated(long long v) {
  return static_cast<int>(
      std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

// ---------------------------------------------------------------- settings

TCustomBarSeries::TCustomBarSeries()
    : barBrush_([this] { StyleChanged(); }), barPen_([this] { StyleChanged(); }) {
  Marks().SetVisible(true);
  Marks().SetArrowLength(20);
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarWidthPercent(int percent) {
  if (percent < 1 || percent > 100)
    throw BarException("Bar Width Percent must be between 1 and 100");
  Set(barWidthPercent_, percent);
}

void TCustomBarSeries::SetOffsetPercent(int percent) {
  if (percent < -100 || percent > 100)
    throw BarException("Bar Offset Percent must be between -100% and 100%");
  Set(offsetPercent_, percent);
}

void TCustomBarSeries::SetYOrigin(double origin) {
  if (origin < yOrigin_ || origin > yOrigin_) {
    yOrigin_ = origin;
    RequestRepaint();
  }
}

bool TCustomBarSeries::SameClass(const TChartSeries* s) const {
  return s && typeid(*s) == typeid(*this);
}

// The layout is one for all bars of a class: the setting goes to all of them.
void TCustomBarSeries::SetMultiBar(TMultiBar mode) {
  Set(multiBar_, mode);
  if (TSeriesChart* chart = ParentChart())
    for (int k = 0; k < chart->SeriesCount(); ++k)
      if (TChartSeries* s = chart->SeriesAt(k); s != this && SameClass(s))
        static_cast<TCustomBarSeries*>(s)->Set(static_cast<TCustomBarSeries*>(s)->multiBar_, mode);
}

void TCustomBarSeries::SetSideMargins(bool on) {
  Set(sideMargins_, on);
  if (TSeriesChart* chart = ParentChart())
    for (int k = 0; k < chart->SeriesCount(); ++k)
      if (TChartSeries* s = chart->SeriesAt(k); s != this && SameClass(s))
        static_cast<TCustomBarSeries*>(s)->Set(static_cast<TCustomBarSeries*>(s)->sideMargins_, on);
}

void TCustomBarSeries::Assign(const tk::TComponent& source) {
  const auto* s = dynamic_cast<const TCustomBarSeries*>(&source);
  if (s == this) return;
  if (s) {
    SetAutoBarSize(s->autoBarSize_);
    SetAutoMarkPosition(s->autoMarkPosition_);
    barBrush_.SetColor(s->barBrush_.Color());
    barBrush_.SetStyle(s->barBrush_.Style());
    barBrush_.SetBitmap(s->barBrush_.Bitmap());
    barPen_.Assign(s->barPen_);
    SetBarStyle(s->barStyle_);
    SetBarWidthPercent(s->barWidthPercent_);
    SetDark3D(s->dark3D_);
    Set(multiBar_, s->multiBar_);
    SetOffsetPercent(s->offsetPercent_);
    Set(sideMargins_, s->sideMargins_);
    SetUseYOrigin(s->useYOrigin_);
    SetYOrigin(s->yOrigin_);
  }
  TChartSeries::Assign(source);
}

// ---------------------------------------------------------------- layout

int TCustomBarSeries::SeriesInGroup() const {
  if (multiBar_ != mbSide || !ParentChart()) return 1;
  int n = 0;
  for (int k = 0; k < ParentChart()->SeriesCount(); ++k) {
    const TChartSeries* s = ParentChart()->SeriesAt(k);
    if (s->Active() && SameClass(s)) ++n;
  }
  return std::max(n, 1);
}

int TCustomBarSeries::OrderInGroup() const {
  int order = 1;
  if (TSeriesChart* chart = ParentChart())
    for (int k = 0; k < chart->SeriesCount(); ++k) {
      const TChartSeries* s = chart->SeriesAt(k);
      if (s == this) break;
      if (s->Active() && SameClass(s)) ++order;
    }
  return order;
}

int TCustomBarSeries::ComputeBarSize() const {
  // a bar is never thinner than nothing
  if (CustomThickness() != 0) return std::clamp(CustomThickness(), 0, kMaxThickness);
  int count = PointCount();
  TSeriesChart* chart = ParentChart();
  if (multiBar_ == mbSide && chart)
    for (int k = 0; k < chart->SeriesCount(); ++k) {
      const TChartSeries* s = chart->SeriesAt(k);
      if (s->Active() && SameClass(s)) count = std::max(count, s->PointCount());
    }
  if (const auto* panel = dynamic_cast<const TCustomAxisPanel*>(chart))
    if (panel->MaxPointsPerPage() > 0) count = panel->MaxPointsPerPage();
  const TCustomChartAxis* axis = ChartAxis(CategoryAxis());
  if (count <= 0 || !axis) return 0;
  const int length = axis->AxisPixels;
  int slot = 0;
  if (autoBarSize_) {
    const double span = axis->Maximum() + 2 - axis->Minimum();
    slot = span > 0 ? tk::RoundToInt(length / span) : 0;
  } else {
    slot = length / (count + (sideMargins_ ? 1 : 0));
  }
  // the product in the order written: 70 x 0.01 x 75 is a hair above 52.5 and rounds to 53
  int thickness = tk::RoundToInt(barWidthPercent_ * 0.01 * slot) / SeriesInGroup();
  if (thickness % 2 != 0) ++thickness;
  return std::clamp(thickness, 0, kMaxThickness);
}

void TCustomBarSeries::CategoryMargins(int& first, int& second) const {
  barSize_ = ComputeBarSize();
  const int group = Saturated(static_cast<long long>(SeriesInGroup()) * barSize_);
  first = second = sideMargins_ ? group : group / 2;
}

int TCustomBarSeries::MarkLength() const {
  TZozCanvas3D* cv = ParentChart() ? ParentChart()->DrawingCanvas() : nullptr;
  if (!Marks().Visible() || !cv) return 0;
  cv->Font().font = Marks().Font().Value();
  // along the value axis a box is as long as it is high beside upright bars,
  // and as wide as its text and a "W" beside lying ones
  int length = Marks().ArrowLength() + (Upright() ? cv->FontPixelHeight()
                                                  : WidestMarkText() + cv->MeasureTextWidth("W"));
  if (Marks().Frame().Visible()) length += 2 * Marks().Frame().Width();
  return length;
}

// Room for the marks beyond the bars' ends; low is the side of the smaller values.
void TCustomBarSeries::ValueMargins(int& low, int& high) const {
  low = high = 0;
  const int length = MarkLength();
  if (length == 0 || PointCount() == 0) return;
  if (useYOrigin_ && MandatoryList().LowestValue() < yOrigin_) low += length + 1;
  if (!useYOrigin_ || MandatoryList().HighestValue() > yOrigin_) high += length + 1;
}

double TCustomBarSeries::HighestBarValue(double plain) const {
  double v = plain;
  if (multiBar_ == mbStacked100) {
    v = 100;
  } else if (multiBar_ == mbStacked && PointCount() > 0) {
    v = MandatoryList().ValueAt(0) + SumOfPriorSeries(0, false);
    for (int i = 1; i < PointCount(); ++i)
      v = std::max(v, MandatoryList().ValueAt(i) + SumOfPriorSeries(i, false));
  }
  return useYOrigin_ ? std::max(v, yOrigin_) : v;
}

double TCustomBarSeries::LowestBarValue(double plain) const {
  const double v = multiBar_ == mbStacked100 ? 0 : plain;
  return useYOrigin_ ? std::min(v, yOrigin_) : v;
}

void TCustomBarSeries::AssignZOrder() {
  TSeriesChart* chart = ParentChart();
  if (multiBar_ == mbNone || FixedZOrder() != -1 || !chart) {
    TChartSeries::AssignZOrder();
    return;
  }
  // laid out together, bars of one class share the depth of the first of them
  for (int k = 0; k < chart->SeriesCount(); ++k) {
    TChartSeries* s = chart->SeriesAt(k);
    if (s == this) break;
    if (!s->Active() || !SameClass(s)) continue;
    SetAutoZOrder(s->ZOrder());
    return;
  }
  TChartSeries::AssignZOrder();
}

// ---------------------------------------------------------------- where a bar lies

int TCustomBarSeries::CategoryPixel(int index) const {
  return Upright() ? XPixel(index) : YPixel(index);
}

int TCustomBarSeries::ValuePixel(double v) const {
  return Upright() ? YValueToPixel(v) : XValueToPixel(v);
}

int TCustomBarSeries::AcrossShift() const {
  const int t = barSize_;
  int shift = 0;
  if (multiBar_ == mbSide) {
    const int n = SeriesInGroup(), order = OrderInGroup();
    // y grows downwards, so lying bars of the first series come lowest
    shift = Upright() ? tk::RoundToInt((order - n * 0.5 - 1) * t)
                      : tk::RoundToInt((n * 0.5 - order) * t);
  } else {
    shift = -(t / 2);
  }
  return shift + tk::RoundToInt(offsetPercent_ * t * 0.01);
}

int TCustomBarSeries::ValueAxisLowEnd() const {
  const TCustomChartAxis* a = ChartAxis(ValueAxis());
  if (!a) return 0;
  return Upright() ? a->EndPixel : a->StartPixel;  // the bottom, or the left end
}

TBarGeometry TCustomBarSeries::BarAt(int index) const {
  TBarGeometry g;
  // a point far off the axis sits at the end of the pixel range: the bar must not wrap round
  g.low = Saturated(static_cast<long long>(CategoryPixel(index)) + AcrossShift());
  g.high = Saturated(static_cast<long long>(g.low) + barSize_);
  const double v = MandatoryList().ValueAt(index);
  if (multiBar_ == mbStacked || multiBar_ == mbStacked100) {
    const double origin = SumOfPriorSeries(index, false);
    double top = v + origin, bottom = origin;
    if (multiBar_ == mbStacked100) {
      // nothing to share at this index: the bar stays flat at 0 %
      const double total = SumOfPriorSeries(index, true);
      top = total == 0 ? 0 : top * 100 / total;
      bottom = total == 0 ? 0 : bottom * 100 / total;
    }
    g.value = ValuePixel(top);
    g.origin = ValuePixel(bottom);
  } else {
    g.value = ValuePixel(v);
    g.origin = useYOrigin_ ? ValuePixel(yOrigin_) : ValueAxisLowEnd();
  }
  return g;
}

tk::TRect TCustomBarSeries::ScreenRect(const TBarGeometry& g) const {
  if (Upright()) return {g.low, g.Near(), g.high, g.Far()};
  return {g.Near(), g.low, g.Far(), g.high};
}

TBarStyle TCustomBarSeries::BarStyleOf(int index) const {
  TBarStyle style = barStyle_;
  if (OnGetBarStyle) OnGetBarStyle(const_cast<TCustomBarSeries*>(this), index, style);
  return style;
}

bool TCustomBarSeries::DrawsForward() const {
  const TSeriesAxis* a = CategoryAxis();
  return !(a && a->Inverted());
}

// Stacked bars go bottom-up (left to right when lying), so in 3D each one
// covers the top (or side) of the one below it.
bool TCustomBarSeries::DrawsSeriesForward(int /*index*/) const {
  if (multiBar_ != mbStacked && multiBar_ != mbStacked100) return true;
  const TSeriesAxis* a = ValueAxis();
  return !(a && a->Inverted());
}

// ---------------------------------------------------------------- the mouse

int TCustomBarSeries::PointAtPixel(int x, int y) const {
  if (FirstVisible < 0 || LastVisible < 0) return -1;
  if (TZozCanvas3D* c = ParentChart() ? ParentChart()->DrawingCanvas() : nullptr)
    c->UnprojectPoint(x, y, FrontDepth);
  const tk::TPoint P{x, y};
  const int across = Upright() ? x : y, along = Upright() ? y : x;
  // the last bar drawn lies on top
  for (int i = std::min(LastVisible, PointCount() - 1); i >= FirstVisible; --i) {
    if (IsNullPoint(i)) continue;
    const TBarGeometry g = BarAt(i);
    if (across < g.low || across > g.high) continue;
    const tk::TRect r = ScreenRect(g);
    bool hit = false;
    switch (BarStyleOf(i)) {
      case bsPyramid:
        hit = Upright() ? PointInsideTriangle(P, r.left, r.right, r.bottom, r.top)
                        : PointInsideSideTriangle(P, r.top, r.bottom, r.right, r.left);
        break;
      case bsInvPyramid:
        hit = Upright() ? PointInsideTriangle(P, r.left, r.right, r.top, r.bottom)
                        : PointInsideSideTriangle(P, r.top, r.bottom, r.left, r.right);
        break;
      case bsEllipse:
        hit = PointInsideEllipse(P, r);
        break;
      default:
        hit = along >= g.Near() && along <= g.Far();
        break;
    }
    if (hit) return i;
  }
  return -1;
}

// ---------------------------------------------------------------- marks

void TCustomBarSeries::DrawPointMark(int index, const std::string& text,
                                     TSeriesMarkPosition& position) {
  const TBarGeometry g = BarAt(index);
  const int lift = Marks().ArrowLength();
  const bool backwards = Upright() ? g.origin < g.value : g.origin > g.value;
  tk::TPoint end{0, 0};
  if (Upright()) {
    // centred on the bar, above its end (below it for a bar going down)
    end = {g.low + barSize_ / 2, g.value};
    position.BoxTopLeft = {end.x - position.BoxWidth / 2, end.y - position.BoxHeight + 1};
    position.ArrowStart = end;
    end.y += backwards ? lift : -lift;
    position.BoxTopLeft.y += backwards ? lift + position.BoxHeight : -lift;
  } else {
    // centred across the bar, beyond its end: right of it, or left for a bar going left
    end = {g.value, g.low + barSize_ / 2};
    position.ArrowStart = end;
    end.x += backwards ? -lift : lift;
    position.BoxTopLeft = {backwards ? end.x - position.BoxWidth : end.x,
                           end.y - position.BoxHeight / 2};
  }
  position.ArrowEnd = end;
  TChartSeries::DrawPointMark(index, text, position);
}

// ---------------------------------------------------------------- the legend

void TCustomBarSeries::PrepareLegendBrush(int /*index*/, tk::TColor& backColor,
                                          tk::TBrushStyle& style) {
  backColor = barBrush_.Color();
  style = barBrush_.Style();
}

void TCustomBarSeries::DrawLegendSymbol(int index, const tk::TRect& box) {
  TZozCanvas3D* cv = ParentChart() ? ParentChart()->DrawingCanvas() : nullptr;
  if (cv && barBrush_.Bitmap() && !barBrush_.Bitmap()->Empty())
    cv->Brush().bitmap = barBrush_.Bitmap();
  TChartSeries::DrawLegendSymbol(index, box);
}

// ---------------------------------------------------------------- sample values

// A short random walk of positive values, one bar each.
void TCustomBarSeries::FillSampleValues(int count) {
  if (count <= 0) {
    TChartSeries::FillSampleValues(count);  // raises the engine's message
    return;
  }
  RemoveAllPoints();
  std::mt19937& rng = SampleValueGenerator();
  std::uniform_int_distribution<int> start(200, 800), step(-150, 150);
  double v = start(rng);
  for (int i = 0; i < count; ++i) {
    AddPointValue(v);
    v = std::max(50.0, v + step(rng));
  }
}

// ---------------------------------------------------------------- the two types

TBarSeries::TBarSeries() {
  YValues().SetName("Bar");
  YValues().SetOrder(loNone);
}

void TBarSeries::HorizontalMargins(int& left, int& right) const {
  CategoryMargins(left, right);
}

void TBarSeries::VerticalMargins(int& top, int& bottom) const {
  int low = 0, high = 0;
  ValueMargins(low, high);
  const TSeriesAxis* v = GetVertAxis();
  const bool inverted = v && v->Inverted();
  top = inverted ? low : high;
  bottom = inverted ? high : low;
}

double TBarSeries::HighestY() const {
  return HighestBarValue(TCustomBarSeries::HighestY());
}

double TBarSeries::LowestY() const {
  return LowestBarValue(TCustomBarSeries::LowestY());
}

THorizBarSeries::THorizBarSeries() {
  XValues().SetName("Bar");
  XValues().SetOrder(loNone);
}

void THorizBarSeries::HorizontalMargins(int& left, int& right) const {
  int low = 0, high = 0;
  ValueMargins(low, high);
  const TSeriesAxis* h = GetHorizAxis();
  const bool inverted = h && h->Inverted();
  left = inverted ? high : low;
  right = inverted ? low : high;
}

void THorizBarSeries::VerticalMargins(int& top, int& bottom) const {
  CategoryMargins(top, bottom);
}

double THorizBarSeries::HighestX() const {
  return HighestBarValue(TCustomBarSeries::HighestX());
}

double THorizBarSeries::LowestX() const {
  return LowestBarValue(TCustomBarSeries::LowestX());
}

// ---------------------------------------------------------------- drawing

int TCustomBarSeries::Middle(const TBarGeometry& g) {
  return static_cast<int>((static_cast<long long>(g.low) + g.high) / 2);
}

bool TCustomBarSeries::Flat() const {
  return !ParentChart() || !ParentChart()->View3D();
}

void TCustomBarSeries::StartDrawingPoints() {
  // the margins normally fixed it; a chart that skipped them still gets the right size
  barSize_ = ComputeBarSize();
  TChartSeries::StartDrawingPoints();
}

void TCustomBarSeries::DrawPoint(int index) {
  TZozCanvas3D* cv = ParentChart() ? ParentChart()->DrawingCanvas() : nullptr;
  if (!cv || IsNullPoint(index)) return;
  const TBarGeometry g = BarAt(index);
  barColor_ = PointColor(index);
  barBounds_ = ScreenRect(g);
  PrepareBarTools(index);
  const TBarStyle style = BarStyleOf(index);
  if (Flat())
    DrawFlatBar(style, g);
  else
    Draw3DBar(style, g);
}

void TCustomBarSeries::PrepareBarTools(int /*index*/) {
  TZozCanvas3D& cv = *ParentChart()->DrawingCanvas();
  SelectChartPen(cv, barPen_);
  const tk::TColor own = barBrush_.Color();
  ParentChart()->ApplyFillStyle(barColor_, barBrush_.Style(),
                                own == tk::clDefault ? ParentChart()->ChartBackColor() : own);
  if (barBrush_.Bitmap() && !barBrush_.Bitmap()->Empty()) cv.Brush().bitmap = barBrush_.Bitmap();
}

void TCustomBarSeries::DrawFlatBar(TBarStyle style, const TBarGeometry& g) {
  TZozCanvas3D& cv = *ParentChart()->DrawingCanvas();
  const tk::TRect r = ScreenRect(g);
  const bool up = Upright();
  const int mid = Middle(g);
  switch (style) {
    case bsPyramid:
    case bsInvPyramid: {
      // the base on the side of the smaller values, the tip at the other end; inverted the other
      // way
      const bool inv = style == bsInvPyramid;
      tk::TPoint t[3];
      if (up) {
        const int base = inv ? r.top : r.bottom, tip = inv ? r.bottom : r.top;
        t[0] = {r.left, base}, t[1] = {mid, tip}, t[2] = {r.right, base};
      } else {
        const int base = inv ? r.right : r.left, tip = inv ? r.left : r.right;
        t[0] = {base, r.top}, t[1] = {tip, mid}, t[2] = {base, r.bottom};
      }
      cv.DrawPolygon(t, 3);
      break;
    }
    case bsEllipse:
      if (up)
        cv.DrawEllipse(g.low, g.value, g.high, g.origin);
      else
        cv.DrawEllipse(g.value, g.low, g.origin, g.high);
      break;
    case bsArrow:
      Draw3DBar(style, g);
      break;  // the arrow is the same shape either way
    case bsRectGradient:
      // a bar without width or height has no inside: its bands would each paint nothing
      if (r.left != r.right && r.top != r.bottom)
        cv.FillGradient(r, tk::clWhite, barColor_, up ? gdBottomTop : gdLeftRight);
      if (barPen_.Visible()) {
        cv.Brush().style = tk::bsClear;
        cv.DrawRect(r);
      }
      break;
    default:
      DrawFlatRectangle(r);
      break;  // rectangles and cylinders
  }
}

// A bar with no width or height is a line, one thinner than its pen is all
// pen, so that every bar shows however narrow the axis makes it.
void TCustomBarSeries::DrawFlatRectangle(const tk::TRect& r) {
  TZozCanvas3D& cv = *ParentChart()->DrawingCanvas();
  tk::TBrushSpec& brush = cv.Brush();
  tk::TPenSpec& pen = cv.Pen();
  if (brush.style == tk::bsSolid && !brush.bitmap) {
    if (r.left == r.right || r.top == r.bottom) {
      pen.color = brush.color;
      if (pen.style == tk::psClear) pen.style = tk::psSolid;
      cv.MovePen(r.left, r.top);
      cv.DrawLineTo(r.right, r.bottom);
      return;
    }
    if (barPen_.Visible() && (r.right - r.left < pen.width || r.bottom - r.top < pen.width)) {
      pen.color = brush.color;
      pen.style = tk::psSolid;
      brush.style = tk::bsClear;
    }
  }
  cv.DrawRect(r);
}

void TCustomBarSeries::Draw3DBar(TBarStyle style, const TBarGeometry& g) {
  TZozCanvas3D& cv = *ParentChart()->DrawingCanvas();
  const tk::TRect r = ScreenRect(g);
  const bool up = Upright();
  const int z0 = FrontDepth, z1 = BackDepth, mid = Middle(g);
  switch (style) {
    case bsPyramid:
      cv.DrawPyramid(up, r.left, r.top, r.right, r.bottom, z0, z1, dark3D_);
      break;
    case bsInvPyramid:
      if (up)
        cv.DrawPyramid(true, r.left, r.bottom, r.right, r.top, z0, z1, dark3D_);
      else
        cv.DrawPyramid(false, r.right, r.top, r.left, r.bottom, z0, z1, dark3D_);
      break;
    case bsCilinder:
      // from the origin end to the value end, as the bar grows
      if (up)
        cv.DrawCylinder(true, g.low, g.value, g.high, g.origin, z0, z1, dark3D_);
      else
        cv.DrawCylinder(false, g.origin, g.low, g.value, g.high, z0, z1, dark3D_);
      break;
    case bsEllipse:
      if (up)
        cv.DrawEllipseAtDepth(g.low, g.value, g.high, g.origin, MiddleDepth);
      else
        cv.DrawEllipseAtDepth(g.value, g.low, g.origin, g.high, MiddleDepth);
      break;
    case bsArrow: {
      const int w = g.high - g.low;
      const tk::TPoint from = up ? tk::TPoint{mid, r.bottom} : tk::TPoint{r.left, mid};
      const tk::TPoint to = up ? tk::TPoint{mid, r.top} : tk::TPoint{r.right, mid};
      cv.DrawArrow(true, from, to, w, w / 2, MiddleDepth);
      break;
    }
    default:  // rectangles and gradients
      cv.DrawBox(r.left, r.right, r.top, r.bottom, z0, z1, dark3D_);
      if (style == bsRectGradient && cv.Orthogonal()) FillFrontGradient(r);
      break;
  }
}

// The front face of a gradient box, inside its outline when the pen shows.
void TCustomBarSeries::FillFrontGradient(const tk::TRect& r) {
  TZozCanvas3D& cv = *ParentChart()->DrawingCanvas();
  const tk::TPoint a = cv.ProjectPoint(r.left, r.top, FrontDepth);
  const tk::TPoint b = cv.ProjectPoint(r.right, r.bottom, FrontDepth);
  tk::TRect face{a.x, a.y, b.x, b.y};
  if (barPen_.Visible()) {
    const int w = barPen_.Width();
    face = {face.left + 1, face.top + 1, face.right + 1 - w, face.bottom + 1 - w};
  }
  cv.FillGradient(face, tk::clWhite, barColor_, Upright() ? gdBottomTop : gdLeftRight);
}
