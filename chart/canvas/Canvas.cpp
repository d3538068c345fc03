#include "chart/canvas/Canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "toolkit/Rounding.h"

namespace {

// Stands in before any surface is attached: draws nothing, measures nothing.
class TNullSurface : public tk::TSurface {
 public:
  void LineTo(int x, int y) override { current_ = {x, y}; }
  void Polyline(const tk::TPoint*, int) override {}
  void Polygon(const tk::TPoint*, int) override {}
  void Rectangle(int, int, int, int) override {}
  void RoundRect(int, int, int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Arc(int, int, int, int, int, int, int, int) override {}
  void Pie(int, int, int, int, int, int, int, int) override {}
  void FillRect(const tk::TRect&) override {}
  void SetPixel(int, int, tk::TColor) override {}
  void TextOut(int, int, const std::string&) override {}
  tk::TSize TextExtent(const std::string&) override { return {}; }
  void IntersectClipRect(const tk::TRect&) override {}
  void SelectClipPolygon(const tk::TPoint*, int) override {}
  void RemoveClip() override {}
  std::unique_ptr<tk::TBitmap> CreateBitmap(int, int, bool) override { return nullptr; }
  void CopyFrom(int, int, tk::TBitmap&) override {}
  void DrawPicture(const tk::TRect&, const tk::TPicture&) override {}
};

constexpr double kDegToRad = 0.017453292519943295769;

}  // namespace

// ---------------------------------------------------------------- TZozCanvas

TZozCanvas::TZozCanvas() : nullSurface_(std::make_unique<TNullSurface>()) {
  surface_ = nullSurface_.get();
}

TZozCanvas::~TZozCanvas() = default;

void TZozCanvas::ResetTools() {
  Pen() = tk::TPenSpec{tk::clBlack, 1, tk::psSolid, tk::pmCopy, false};
  Brush() = tk::TBrushSpec{tk::clWhite, tk::bsSolid};
  Font().font.color = tk::clBlack;
  Font().font.height = tk::PointsToHeight(10);
  Font().escapement = 0;
  SetBackgroundColor(tk::clWhite);
  SetBackgroundMode(tk::TRANSPARENT);
}

// ---------------------------------------------------------------- TZozCanvas3D: state and paint
// cycle

TZozCanvas3D::TZozCanvas3D() = default;

TZozCanvas3D::~TZozCanvas3D() = default;

void TZozCanvas3D::SetMonochromeBuffer(bool on) {
  if (on == monochrome_) return;
  monochrome_ = on;
  buffer_.reset();
  DiscardLayer();
  dirty_ = true;
  if (options_) options_->RequestRepaint();
}

void TZozCanvas3D::SetBufferedDrawing(bool on) {
  buffered_ = on;
  if (!on && buffer_) {
    buffer_.reset();
    DiscardLayer();
    dirty_ = true;
  }
}

void TZozCanvas3D::CopyCanvasSettings(const TCanvas3D& other) {
  monochrome_ = other.MonochromeBuffer();
}

tk::TRect TZozCanvas3D::StartFrame(tk::TSurface& destination, TView3DOptions* options,
                                   tk::TColor /*back*/, bool is3D, const tk::TRect& userRect) {
  bounds_ = userRect;
  options_ = options;
  is3D_ = is3D;
  orthogonal_ = false;
  zoomFactor_ = 1.0;
  if (is3D_ && options_) {
    orthogonal_ = options_->Orthogonal();
    zoomFactor_ = options_->Zoom() * 0.01;
    zoomText_ = options_->ZoomText();
  }
  if (is3D_ && !orthogonal_) ComputeCoefficients();
  if (inLayer_ || inSeries_) DiscardLayer();  // the last paint stopped half-way through a layer
  layerReused_ = seriesReused_ = false;

  const int w = userRect.Width(), h = userRect.Height();
  // A picture that is exactly the frame needs no buffer between: nothing shows it
  // half-drawn, and drawing straight onto it saves copying every pixel once more.
  // The buffer, if any, keeps the last picture shown in the window.
  // A kept layer lives in the buffer, so a layered chart always draws through it.
  direct_ = !buffered_ || (!monochrome_ && !layered_ && userRect.left == 0 &&
                           userRect.top == 0 && destination.HoldsFrame(w, h));
  if (direct_) {
    AttachSurface(destination);
    return userRect;
  }
  if (buffer_ && (buffer_->Width() != w || buffer_->Height() != h ||
                  (!monochrome_ && buffer_->PixelRatio() != destination.PixelRatio()))) {
    buffer_.reset();  // a new size, or a screen of another density
    DiscardLayer();
  }
  if (!buffer_) {
    buffer_ = destination.CreateBitmap(w, h, monochrome_);
    if (!buffer_) {  // a surface that cannot make bitmaps: draw straight onto it
      direct_ = true;
      AttachSurface(destination);
      return userRect;
    }
    // the tools every paint ends with, so the first paint into a new picture starts as the
    // later ones do and its layer can be kept by the second
    AttachSurface(buffer_->Canvas());
    ResetTools();
  }
  AttachSurface(buffer_->Canvas());
  return {0, 0, w, h};
}

void TZozCanvas3D::ComputeCoefficients() {
  perspectiveFactor_ = 0;
  const double r = options_ ? options_->Rotation() * kDegToRad : 0;
  const double e = options_ ? options_->Elevation() * kDegToRad : 0;
  const double t = options_ ? options_->Tilt() * kDegToRad : 0;
  const double sR = std::sin(r), cR = std::cos(r), sE = std::sin(e), cE = std::cos(e),
               sT = std::sin(t), cT = std::cos(t);
  // the floors keep the inverse projection from dividing by zero
  xx_ = std::max(sR * sE * sT + cR * cT, 0.00001);
  xy_ = cE * sT;
  xz_ = cR * sE * sT - cT * sR;
  yx_ = cT * sR * sE - cR * sT;
  yy_ = std::max(cE * cT, 0.00001);
  yz_ = cR * cT * sE + sR * sT;
  px_ = static_cast<long double>(cE) * sR;
  py_ = sE;
  pz_ = cE * cR;
}

void TZozCanvas3D::SetProjectionCenter(int totalDepth, const tk::TRect& /*bounds*/,
                                       const tk::TRect& r) {
  cx_ = (r.left + r.right) / 2;
  cy_ = (r.top + r.bottom) / 2;
  cz_ = totalDepth / 2;
  sx_ = cx_;
  sy_ = cy_;
  if (options_) {
    sx_ += options_->HorizOffset();
    sy_ += options_->VertOffset();
    if (options_->Perspective() > 0) perspectiveFactor_ = options_->Perspective() / 35000.0;
  }
}

void TZozCanvas3D::PresentFrame(tk::TSurface& destination, tk::TSurface& defaultSurface,
                                const tk::TRect& userRect) {
  CopyPendingLayer();  // a paint that kept its layer but drew no series layer over it
  if (!direct_ && buffer_) {
    destination.CopyFrom(userRect.left, userRect.top, *buffer_);
    dirty_ = false;
  }
  AttachSurface(defaultSurface);
}

void TZozCanvas3D::SetLayeredDrawing(bool on) {
  layered_ = on;
  if (!on) DiscardLayer();
}

void TZozCanvas3D::DiscardLayer() {
  CopyPendingLayer();
  inLayer_ = layerValid_ = false;
  layerPixels_.reset();
  inSeries_ = seriesValid_ = false;
  seriesPixels_.reset();
}

void TZozCanvas3D::BeginLayer() {
  layerReused_ = false;
  if (!layered_ || !buffered_ || !buffer_ || !buffer_->KeepsPixels() ||
      surface_ != &buffer_->Canvas()) {
    DiscardLayer();
    return;
  }
  layer_.Begin(*surface_);
  AttachSurface(layer_);
  inLayer_ = true;
}

void TZozCanvas3D::EndLayer() {
  if (!inLayer_) return;
  inLayer_ = false;
  tk::TSurface& picture = buffer_->Canvas();
  AttachSurface(picture);
  if (layerValid_ && layerPixels_ && layer_.SameDrawing(lastLayer_)) {
    // the copy waits for the series: when they are kept too, their pixels hold these
    layerCopyPending_ = true;
    layer_.FinishOnto(picture);
    layerReused_ = true;
  } else {
    layer_.PlayOnto(picture);
    // made by the picture's own surface: the same size and density
    if (!layerPixels_) layerPixels_ = picture.CreateBitmap(buffer_->Width(), buffer_->Height(), false);
    layerValid_ = layerPixels_ != nullptr;
    if (layerValid_) layerPixels_->Canvas().CopyFrom(0, 0, *buffer_);
  }
  lastLayer_.Swap(layer_);
}

void TZozCanvas3D::CopyPendingLayer() {
  if (!layerCopyPending_) return;
  layerCopyPending_ = false;
  if (buffer_ && layerPixels_) buffer_->Canvas().CopyFrom(0, 0, *layerPixels_);
}

void TZozCanvas3D::BeginSeriesLayer() {
  seriesReused_ = false;
  // over a first layer recorded in this paint's picture only
  if (!layered_ || !layerValid_ || !buffer_ || surface_ != &buffer_->Canvas()) {
    CopyPendingLayer();
    inSeries_ = seriesValid_ = false;
    seriesPixels_.reset();
    return;
  }
  series_.Begin(*surface_);
  AttachSurface(series_);
  inSeries_ = true;
}

void TZozCanvas3D::EndSeriesLayer() {
  if (!inSeries_) return;
  inSeries_ = false;
  tk::TSurface& picture = buffer_->Canvas();
  AttachSurface(picture);
  // the kept pixels are the last paint's first layer with its series: right only when this
  // paint's first layer is that one too
  if (layerReused_ && seriesValid_ && seriesPixels_ && series_.SameDrawing(lastSeries_)) {
    picture.CopyFrom(0, 0, *seriesPixels_);
    series_.FinishOnto(picture);
    layerCopyPending_ = false;
    seriesReused_ = true;
  } else {
    CopyPendingLayer();
    series_.PlayOnto(picture);
    if (!seriesPixels_)
      seriesPixels_ = picture.CreateBitmap(buffer_->Width(), buffer_->Height(), false);
    seriesValid_ = seriesPixels_ != nullptr;
    if (seriesValid_) seriesPixels_->Canvas().CopyFrom(0, 0, *buffer_);
  }
  lastSeries_.Swap(series_);
}

bool TZozCanvas3D::RepaintFromBuffer() {
  if (dirty_ || !buffer_) return false;
  surface_->CopyFrom(0, 0, *buffer_);
  return true;
}

// ---------------------------------------------------------------- projection

namespace {

// round(v) + centre, saturated to the pixel range; a plain int sum of a
// saturated offset and a centre would overflow.
int Saturated(long long p) {
  return static_cast<int>(
      std::clamp<long long>(p, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int ToScreen(double v, int centre) {
  return Saturated(static_cast<long long>(tk::RoundToInt(v)) + centre);
}

}  // namespace

tk::TPoint TZozCanvas3D::ProjectPoint(int x, int y, int z) const {
  // in doubles: x - cx + z can pass the int range when z is saturated
  const double dx = static_cast<double>(x) - cx_, dy = static_cast<double>(y) - cy_;
  if (orthogonal_)
    return {ToScreen((dx + z) * zoomFactor_, sx_), ToScreen((dy - z) * zoomFactor_, sy_)};
  if (!is3D_) return {x, y};
  const double dz = static_cast<double>(z) - cz_;
  double f = zoomFactor_;
  if (perspectiveFactor_ > 0)
    f = zoomFactor_ *
        static_cast<double>(1 - perspectiveFactor_ * (dx * px_ - dy * py_ + dz * pz_));
  return {ToScreen((dx * xx_ + dy * xy_ + dz * xz_) * f, sx_),
          ToScreen((dx * yx_ + dy * yy_ + dz * yz_) * f, sy_)};
}

void TZozCanvas3D::ProjectPoint(int x, int y, int z, tk::TPoint& out) const {
  out = ProjectPoint(x, y, z);
}

void TZozCanvas3D::ProjectPoint(tk::TPoint& p, int z) const {
  p = ProjectPoint(p.x, p.y, z);
}

tk::TPoint TZozCanvas3D::ProjectPoint(const TPoint3D& p) const {
  return ProjectPoint(p.x, p.y, p.z);
}

void TZozCanvas3D::ProjectInPlace(int& x, int& y, int z) const {
  const tk::TPoint p = ProjectPoint(x, y, z);
  x = p.x;
  y = p.y;
}

void TZozCanvas3D::UnprojectPoint(int& x, int& y, int z) const {
  if (zoomFactor_ == 0) return;
  const double q = 1.0 / zoomFactor_;
  const double x0 = x, y0 = y;
  if (orthogonal_) {
    x = Saturated(static_cast<long long>(tk::RoundToInt((x0 - sx_) * q)) - z + cx_);
    y = Saturated(static_cast<long long>(tk::RoundToInt((y0 - sy_) * q)) + z + cy_);
  } else if (is3D_ && xx_ != 0 && yy_ != 0) {
    const double dz = static_cast<double>(z) - cz_;
    x = ToScreen(((x0 - sx_) * q - dz * xz_ - (y0 - cy_) * xy_) / xx_, cx_);
    y = ToScreen(((y0 - sy_) * q - dz * yz_ - (x0 - cx_) * yx_) / yy_, cy_);
  }
}

// ---------------------------------------------------------------- flat drawing

void TZozCanvas3D::PutPixel(int x, int y, tk::TColor color) {
  surface_->SetPixel(x, y, tk::ColorToRGB(color));
}

void TZozCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  surface_->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TZozCanvas3D::DrawPicture(int x, int y, const tk::TPicture* picture) {
  if (!picture || picture->Empty()) return;
  // a one-bit picture takes its colours from the brush and the font
  SetBackgroundColor(Brush().color);
  surface_->DrawPicture({x, y, x + picture->Width(), y + picture->Height()}, *picture);
}

void TZozCanvas3D::DrawEllipse(int x1, int y1, int x2, int y2) {
  surface_->Ellipse(x1, y1, x2, y2);
}

void TZozCanvas3D::FillArea(const tk::TRect& r) {
  surface_->FillRect(r);
}

void TZozCanvas3D::DrawLineTo(int x, int y) {
  surface_->LineTo(x, y);
}

void TZozCanvas3D::MovePen(int x, int y) {
  surface_->MoveTo(x, y);
}

void TZozCanvas3D::DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  surface_->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TZozCanvas3D::DrawRect(int x0, int y0, int x1, int y1) {
  surface_->Rectangle(x0, y0, x1, y1);
}

void TZozCanvas3D::DrawRect(const tk::TRect& r) {
  surface_->Rectangle(r.left, r.top, r.right, r.bottom);
}

void TZozCanvas3D::DrawRoundedRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  surface_->RoundRect(x1, y1, x2, y2, x3, y3);
}

void TZozCanvas3D::DrawPictureStretched(const tk::TRect& r, const tk::TPicture* picture) {
  if (picture) surface_->DrawPicture(r, *picture);
}

void TZozCanvas3D::PutText(int x, int y, const std::string& text) {
  surface_->TextOut(x, y, text);
}

int TZozCanvas3D::MeasureTextWidth(const std::string& text) {
  return surface_->TextExtent(text).cx;
}

int TZozCanvas3D::MeasureTextHeight(const std::string& text) {
  return surface_->TextHeight(text);
}

void TZozCanvas3D::ClipToRect(const tk::TRect& r) {
  const tk::TPoint a = surface_->LogicalToDevice({r.left, r.top});
  const tk::TPoint b = surface_->LogicalToDevice({r.right, r.bottom});
  surface_->IntersectClipRect({a.x, a.y, b.x, b.y});
}

void TZozCanvas3D::RemoveClip() {
  surface_->RemoveClip();
}

void TZozCanvas3D::DrawHorizontal(int x0, int x1, int y) {
  surface_->MoveTo(x0, y);
  surface_->LineTo(x1, y);
}

void TZozCanvas3D::DrawVertical(int x, int y0, int y1) {
  surface_->MoveTo(x, y0);
  surface_->LineTo(x, y1);
}

void TZozCanvas3D::DrawSegment(int x0, int y0, int x1, int y1) {
  surface_->MoveTo(x0, y0);
  surface_->LineTo(x1, y1);
}

void TZozCanvas3D::ClearArea(const tk::TRect& r) {
  surface_->FillRect(r);
}

void TZozCanvas3D::DrawPolygon(const tk::TPoint* points, int count) {
  surface_->Polygon(points, count);
}

// ---------------------------------------------------------------- text

int TZozCanvas3D::ZoomedFontHeight() const {
  const int size = tk::HeightToPoints(Font().font.height);
  const int zoomed = std::max(1, tk::RoundToInt(size * zoomFactor_));
  if (zoomed == size) return 0;
  return -tk::MulDiv(zoomed, tk::kPixelsPerInch, 72);
}

void TZozCanvas3D::PutTextAtDepth(int x, int y, int z, const std::string& text) {
  const tk::TPoint p = ProjectPoint(x, y, z);
  const int height = zoomText_ && zoomFactor_ != 1 ? ZoomedFontHeight() : 0;
  if (height == 0) {
    PutText(p.x, p.y, text);
    return;
  }
  const tk::TFontSpec saved = Font();
  Font().font.height = height;  // a temporary font for this text only
  PutText(p.x, p.y, text);
  Font() = saved;
}

void TZozCanvas3D::PutRotatedText(int x, int y, const std::string& text, int angle) {
  if (angle > 360) angle -= 360;
  Brush().style = tk::bsClear;  // no box behind the text, and it stays so
  const tk::TFontSpec saved = Font();
  Font().escapement = angle * 10;
  if (zoomText_ && zoomFactor_ != 1) {
    const int size = tk::HeightToPoints(saved.font.height);
    Font().font.height =
        -tk::MulDiv(std::max(1, tk::RoundToInt(size * zoomFactor_)), tk::kPixelsPerInch, 72);
  }
  PutText(x, y, text);
  Font() = saved;
}

void TZozCanvas3D::PutRotatedTextAtDepth(int x, int y, int z, const std::string& text, int angle) {
  const tk::TPoint p = ProjectPoint(x, y, z);
  PutRotatedText(p.x, p.y, text, angle);
}

// ---------------------------------------------------------------- clipping

void TZozCanvas3D::ClipToBox(const tk::TRect& r, int minZ, int maxZ) {
  if (!is3D_) {
    ClipToRect({r.left + 1, r.top + 1, r.right, r.bottom - 1});
    return;
  }
  const int elevation = options_ ? options_->Elevation() : 0;
  const int rotation = options_ ? options_->Rotation() : 0;
  if (elevation == 270 && (rotation == 270 || rotation == 360)) {  // straight from above
    const tk::TPoint a = ProjectPoint(r.left, r.top, minZ), b = ProjectPoint(r.right, r.top, maxZ);
    ClipToRect({a.x, a.y, b.x, b.y});
    return;
  }
  const tk::TPoint rightTopFront = ProjectPoint(r.right, r.top, minZ);
  const tk::TPoint leftTopBack = ProjectPoint(r.left, r.top, maxZ);
  const tk::TPoint rightBottomBack = ProjectPoint(r.right, r.bottom, maxZ);
  tk::TPoint p[6];
  p[0] = ProjectPoint(r.left, r.bottom, minZ);
  p[1] = ProjectPoint(r.left, r.top, minZ);
  p[2] = rightTopFront.y < leftTopBack.y ? rightTopFront : leftTopBack;
  p[3] = ProjectPoint(r.right, r.top, maxZ);
  p[4] = rightTopFront.x > rightBottomBack.x ? rightTopFront : rightBottomBack;
  p[5] = ProjectPoint(r.right, r.bottom, minZ);
  if (p[5].x < p[0].x) {
    p[0].x = p[5].x;
    if (rightTopFront.y < p[0].y) p[0].y = rightTopFront.y;
  }
  for (tk::TPoint& q : p)
    q = surface_->LogicalToDevice(q);
  surface_->SelectClipPolygon(p, 6);
}

void TZozCanvas3D::BeginFlatDrawing() {
  was3D_ = is3D_;
  is3D_ = false;
}

void TZozCanvas3D::EndFlatDrawing() {
  is3D_ = was3D_;
}

// ---------------------------------------------------------------- lines and planes at depth

void TZozCanvas3D::MovePenAtDepth(int x, int y, int z) {
  const tk::TPoint p = ProjectPoint(x, y, z);
  surface_->MoveTo(p.x, p.y);
}

void TZozCanvas3D::DrawLineToAtDepth(int x, int y, int z) {
  const tk::TPoint p = ProjectPoint(x, y, z);
  surface_->LineTo(p.x, p.y);
}

void TZozCanvas3D::DrawSegmentAtDepth(int x0, int y0, int x1, int y1, int z) {
  MovePenAtDepth(x0, y0, z);
  DrawLineToAtDepth(x1, y1, z);
}

void TZozCanvas3D::DrawHorizontalAtDepth(int left, int right, int y, int z) {
  DrawSegmentAtDepth(left, y, right, y, z);
}

void TZozCanvas3D::DrawVerticalAtDepth(int x, int top, int bottom, int z) {
  DrawSegmentAtDepth(x, top, x, bottom, z);
}

void TZozCanvas3D::DrawDepthLine(int x, int y, int z0, int z1) {
  MovePenAtDepth(x, y, z0);
  DrawLineToAtDepth(x, y, z1);
}

void TZozCanvas3D::DrawWorkingQuad() {
  surface_->Polygon(working_, 4);
}

void TZozCanvas3D::DrawRectAtDepth(const tk::TRect& r, int z) {
  working_[0] = ProjectPoint(r.left, r.top, z);
  working_[1] = ProjectPoint(r.right, r.top, z);
  working_[2] = ProjectPoint(r.right, r.bottom, z);
  working_[3] = ProjectPoint(r.left, r.bottom, z);
  DrawWorkingQuad();
}

void TZozCanvas3D::DrawFloorRect(int left, int top, int right, int z0, int z1) {
  working_[0] = ProjectPoint(left, top, z0);
  working_[1] = ProjectPoint(right, top, z0);
  working_[2] = ProjectPoint(right, top, z1);
  working_[3] = ProjectPoint(left, top, z1);
  DrawWorkingQuad();
}

void TZozCanvas3D::DrawSideRect(int left, int top, int bottom, int z0, int z1) {
  working_[0] = ProjectPoint(left, top, z0);
  working_[1] = ProjectPoint(left, top, z1);
  working_[2] = ProjectPoint(left, bottom, z1);
  working_[3] = ProjectPoint(left, bottom, z0);
  DrawWorkingQuad();
}

void TZozCanvas3D::DrawPlaneAcrossDepth(tk::TPoint a, tk::TPoint b, int z0, int z1) {
  working_[0] = ProjectPoint(a.x, a.y, z0);
  working_[1] = ProjectPoint(b.x, b.y, z0);
  working_[2] = ProjectPoint(b.x, b.y, z1);
  working_[3] = ProjectPoint(a.x, a.y, z1);
  DrawWorkingQuad();
}

void TZozCanvas3D::DrawQuadAtDepth(tk::TPoint p1, tk::TPoint p2, tk::TPoint p3, tk::TPoint p4,
                                   int z) {
  working_[0] = ProjectPoint(p1.x, p1.y, z);
  working_[1] = ProjectPoint(p2.x, p2.y, z);
  working_[2] = ProjectPoint(p3.x, p3.y, z);
  working_[3] = ProjectPoint(p4.x, p4.y, z);
  DrawWorkingQuad();
}

void TZozCanvas3D::DrawQuadAcrossDepth(const tk::TPoint (&p)[4], int z0, int z1) {
  working_[0] = ProjectPoint(p[0].x, p[0].y, z0);
  working_[1] = ProjectPoint(p[1].x, p[1].y, z0);
  working_[2] = ProjectPoint(p[2].x, p[2].y, z1);
  working_[3] = ProjectPoint(p[3].x, p[3].y, z1);
  DrawWorkingQuad();
}

void TZozCanvas3D::DrawPolygonAtDepth(const tk::TPoint* points, int count, int /*z*/) {
  DrawPolygon(points, count);  // the points are already where they are to be drawn
}

void TZozCanvas3D::DrawTriangleAtDepth(tk::TPoint p1, tk::TPoint p2, tk::TPoint p3, int z) {
  const tk::TPoint t[3] = {ProjectPoint(p1.x, p1.y, z), ProjectPoint(p2.x, p2.y, z),
                           ProjectPoint(p3.x, p3.y, z)};
  surface_->Polygon(t, 3);
}

void TZozCanvas3D::DrawTriangle3D(const TPoint3D (&points)[3], const tk::TColor (&colors)[3]) {
  const tk::TPoint t[3] = {ProjectPoint(points[0]), ProjectPoint(points[1]),
                           ProjectPoint(points[2])};
  if (Brush().style != tk::bsClear) Brush().color = colors[0];
  surface_->Polygon(t, 3);
}

void TZozCanvas3D::PutPixelAtDepth(int x, int y, int z, tk::TColor color) {
  const tk::TPoint p = ProjectPoint(x, y, z);
  if (Pen().width == 1) {
    surface_->SetPixel(p.x, p.y, tk::ColorToRGB(color));
  } else {
    surface_->MoveTo(p.x, p.y);  // a zero-length line: the pen makes the dot
    surface_->LineTo(p.x, p.y);
  }
}
