#pragma once
// The canvas every chart element draws through: a drawing surface plus a
// projection of chart coordinates (x, y and a depth z) onto the screen, flat,
// orthogonal 3D or rotated 3D, and double-buffered painting.
//
// TZozCanvas declares the flat drawing vocabulary, TCanvas3D the depth
// vocabulary, and TZozCanvas3D implements both.

#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/View3DOptions.h"
#include "toolkit/DisplayList.h"
#include "toolkit/Geometry.h"
#include "toolkit/Surface.h"

struct TPoint3D {
  int x = 0, y = 0, z = 0;
};

enum TGradientDirection {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft,
};

class TZozCanvas {
 public:
  TZozCanvas();
  virtual ~TZozCanvas();
  TZozCanvas(const TZozCanvas&) = delete;
  TZozCanvas& operator=(const TZozCanvas&) = delete;

  // ---------------------------------------------------------------- the surface and its tools
  void AttachSurface(tk::TSurface& surface) { surface_ = &surface; }
  // Back to drawing nowhere: for when the attached surface is about to go away.
  void DetachSurface() { surface_ = nullSurface_.get(); }
  tk::TSurface& Surface() const { return *surface_; }
  tk::TPenSpec& Pen() const { return surface_->pen; }
  tk::TBrushSpec& Brush() const { return surface_->brush; }
  tk::TFontSpec& Font() const { return surface_->font; }
  void ResetTools();
  bool Metafiling = false;

  virtual tk::TColor BackgroundColor() const { return surface_->backColor; }
  virtual int BackgroundMode() const { return surface_->backMode; }
  virtual const void* SurfaceHandle() const { return surface_->Handle(); }
  virtual bool MonochromeBuffer() const = 0;
  virtual unsigned TextAlignment() const { return surface_->textAlign; }
  virtual bool BufferedDrawing() const = 0;
  virtual void SetBackgroundColor(tk::TColor c) { surface_->backColor = c; }
  virtual void SetBackgroundMode(int mode) { surface_->backMode = mode; }
  virtual void SetMonochromeBuffer(bool on) = 0;
  virtual void SetTextAlignment(unsigned align) { surface_->textAlign = align; }
  virtual void SetBufferedDrawing(bool on) = 0;

  // ---------------------------------------------------------------- flat drawing
  virtual void PutPixel(int x, int y, tk::TColor color) = 0;
  virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void DrawPicture(int x, int y, const tk::TPicture* picture) = 0;
  virtual void DrawEllipse(int x1, int y1, int x2, int y2) = 0;
  virtual void FillArea(const tk::TRect& r) = 0;
  virtual void DrawBevel(const tk::TRect& r, tk::TColor topColor, tk::TColor bottomColor,
                         int width) = 0;
  virtual void DrawLineTo(int x, int y) = 0;
  virtual void MovePen(int x, int y) = 0;
  virtual void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void DrawRect(int x0, int y0, int x1, int y1) = 0;
  virtual void DrawRoundedRect(int x1, int y1, int x2, int y2, int x3, int y3) = 0;
  virtual void DrawPictureStretched(const tk::TRect& r, const tk::TPicture* picture) = 0;
  virtual void PutText(int x, int y, const std::string& text) = 0;
  virtual int MeasureTextWidth(const std::string& text) = 0;
  virtual int MeasureTextHeight(const std::string& text) = 0;
  virtual void ClipToRect(const tk::TRect& r) = 0;
  virtual void DrawHorizontal(int x0, int x1, int y) = 0;
  virtual void DrawRect(const tk::TRect& r) = 0;
  virtual void DrawVertical(int x, int y0, int y1) = 0;
  virtual void ClearArea(const tk::TRect& r) = 0;
  virtual void FillGradient(const tk::TRect& r, tk::TColor start, tk::TColor end,
                            TGradientDirection dir) = 0;
  virtual void MarkDirty() = 0;
  virtual void DrawSegment(int x0, int y0, int x1, int y1) = 0;
  virtual void DrawPolygon(const tk::TPoint* points, int count) = 0;
  virtual void PutRotatedText(int x, int y, const std::string& text, int angle) = 0;
  virtual void RemoveClip() = 0;

  int FontPixelHeight() { return MeasureTextHeight("W"); }

 protected:
  tk::TSurface* surface_;

 private:
  std::unique_ptr<tk::TSurface> nullSurface_;  // draws nothing until a surface is attached
};

class TCanvas3D : public TZozCanvas {
 public:
  TView3DOptions* View3DOptions() const { return options_; }
  bool Orthogonal() const { return orthogonal_; }

  virtual void PutPixelAtDepth(int x, int y, int z, tk::TColor color) = 0;
  virtual bool HandlesProjection() const { return false; }
  virtual bool HandlesText3D() const { return false; }
  virtual void UnprojectPoint(int& x, int& y, int z) const = 0;
  // The screen pixel of (x, y, z), in five forms that compute the same thing:
  // returned; written to a point; a point moved in place at depth z; a 3D
  // point; x and y moved in place. The last has a name of its own because as
  // an overload of the first every call with int variables would be ambiguous.
  virtual tk::TPoint ProjectPoint(int x, int y, int z) const = 0;
  virtual void ProjectPoint(int x, int y, int z, tk::TPoint& out) const = 0;
  virtual void ProjectPoint(tk::TPoint& p, int z) const = 0;
  virtual tk::TPoint ProjectPoint(const TPoint3D& p) const = 0;
  virtual void ProjectInPlace(int& x, int& y, int z) const = 0;
  virtual tk::TRect StartFrame(tk::TSurface& destination, TView3DOptions* options,
                               tk::TColor backColor, bool is3D, const tk::TRect& userRect) = 0;
  virtual void CopyCanvasSettings(const TCanvas3D& other) = 0;
  virtual void SetProjectionCenter(int totalDepth, const tk::TRect& bounds,
                                   const tk::TRect& chartRect) = 0;
  virtual void PresentFrame(tk::TSurface& destination, tk::TSurface& defaultSurface,
                            const tk::TRect& userRect) = 0;
  virtual bool RepaintFromBuffer() = 0;
  virtual void DrawArrow(bool filled, tk::TPoint from, tk::TPoint to, int headWidth, int headLength,
                         int z) = 0;
  virtual void ClipToBox(const tk::TRect& r, int minZ, int maxZ) = 0;
  virtual void DrawShadedPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                                 int z1, int unused) = 0;
  virtual void DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool shade) = 0;
  virtual void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                            bool shade) = 0;
  virtual void DrawHorizontalAtDepth(int left, int right, int y, int z) = 0;
  virtual void DrawVerticalAtDepth(int x, int top, int bottom, int z) = 0;
  virtual void DrawDepthLine(int x, int y, int z0, int z1) = 0;
  virtual void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) = 0;
  virtual void BeginFlatDrawing() = 0;
  virtual void EndFlatDrawing() = 0;
  virtual void DrawSegmentAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void MovePenAtDepth(int x, int y, int z) = 0;
  virtual void DrawLineToAtDepth(int x, int y, int z) = 0;
  virtual void DrawPieSlice3D(int cx, int cy, int rx, int ry, int z0, int z1, double start,
                              double end, bool shade, bool drawSides) = 0;
  virtual void DrawPlaneAcrossDepth(tk::TPoint a, tk::TPoint b, int z0, int z1) = 0;
  virtual void DrawQuadAtDepth(tk::TPoint p1, tk::TPoint p2, tk::TPoint p3, tk::TPoint p4,
                               int z) = 0;
  virtual void DrawQuadAcrossDepth(const tk::TPoint (&points)[4], int z0, int z1) = 0;
  virtual void DrawPolygonAtDepth(const tk::TPoint* points, int count, int z) = 0;
  virtual void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                           bool shade) = 0;
  virtual void DrawRectAtDepth(const tk::TRect& r, int z) = 0;
  virtual void DrawFloorRect(int left, int top, int right, int z0, int z1) = 0;
  virtual void DrawSideRect(int left, int top, int bottom, int z0, int z1) = 0;
  virtual void PutRotatedTextAtDepth(int x, int y, int z, const std::string& text, int angle) = 0;
  virtual void DrawSphere(int x, int y, int z, double radius) = 0;
  virtual void DrawSurface() {}
  virtual void PutTextAtDepth(int x, int y, int z, const std::string& text) = 0;
  virtual void DrawTriangle3D(const TPoint3D (&points)[3], const tk::TColor (&colors)[3]) = 0;
  virtual void DrawTriangleAtDepth(tk::TPoint p1, tk::TPoint p2, tk::TPoint p3, int z) = 0;

 protected:
  TView3DOptions* options_ = nullptr;
  bool orthogonal_ = false;
};

class TZozCanvas3D : public TCanvas3D {
 public:
  TZozCanvas3D();
  ~TZozCanvas3D() override;

  // ---------------------------------------------------------------- state
  bool MonochromeBuffer() const override { return monochrome_; }
  void SetMonochromeBuffer(bool on) override;
  bool BufferedDrawing() const override { return buffered_; }
  void SetBufferedDrawing(bool on) override;
  bool Dirty() const { return dirty_; }
  bool Is3D() const { return is3D_; }
  bool ZoomText() const { return zoomText_; }
  void SetZoomText(bool on) { zoomText_ = on; }
  double ZoomFactor() const { return zoomFactor_; }
  double PerspectiveFactor() const { return perspectiveFactor_; }
  const tk::TRect& Bounds() const { return bounds_; }
  tk::TBitmap* Buffer() const { return buffer_.get(); }
  // Projection coefficients, for tests and for the mouse code.
  struct TCoefficients {
    double xx, xy, xz, yx, yy, yz;
    long double px, py;
    double pz;
  };
  TCoefficients Coefficients() const { return {xx_, xy_, xz_, yx_, yy_, yz_, px_, py_, pz_}; }
  tk::TPoint ProjectionCenter() const { return {cx_, cy_}; }
  int ProjectionCenterZ() const { return cz_; }
  tk::TPoint ScreenCenter() const { return {sx_, sy_}; }

  // ---------------------------------------------------------------- paint cycle
  tk::TRect StartFrame(tk::TSurface& destination, TView3DOptions* options, tk::TColor backColor,
                       bool is3D, const tk::TRect& userRect) override;
  void SetProjectionCenter(int totalDepth, const tk::TRect& bounds,
                           const tk::TRect& chartRect) override;
  void PresentFrame(tk::TSurface& destination, tk::TSurface& defaultSurface,
                    const tk::TRect& userRect) override;
  bool RepaintFromBuffer() override;
  void MarkDirty() override { dirty_ = true; }
  void CopyCanvasSettings(const TCanvas3D& other) override;

  // ---------------------------------------------------------------- the layer under the series
  // A paint draws the background, walls, axes, labels and grid between BeginLayer and
  // EndLayer. That drawing is recorded, not drawn; when it comes out exactly as in the last
  // paint, the pixels kept from then are copied into the picture instead, and only what
  // follows (the series, their marks, the zoom rectangle) is drawn anew. Anything that
  // changes the layer's drawing (a range, a size, a label, a colour) makes the recording
  // differ, so the layer is drawn again. Layers are kept only in a buffered colour picture on
  // a bitmap that keeps pixels.
  bool LayeredDrawing() const { return layered_; }
  void SetLayeredDrawing(bool on);
  void BeginLayer();
  void EndLayer();
  // Whether the last paint took its layer from the kept pixels.
  bool LayerReused() const { return layerReused_; }
  // Forget the kept layers: the next paint draws them anew.
  void DiscardLayer();
  // The series (with their marks) are a second layer over the first, kept the same way: when
  // the first layer was kept and the series draw exactly as in the last paint (points were
  // added where the axes do not show them, say), the pixels of both are copied. Between
  // BeginSeriesLayer and EndSeriesLayer; only after a paint's first layer.
  void BeginSeriesLayer();
  void EndSeriesLayer();
  // Whether the last paint took its series from the kept pixels.
  bool SeriesLayerReused() const { return seriesReused_; }

  // ---------------------------------------------------------------- projection
  // Far-away points (a depth offset saturated at the end of the int range)
  // saturate at the ends of the pixel range instead of wrapping round.
  tk::TPoint ProjectPoint(int x, int y, int z) const override;
  void ProjectPoint(int x, int y, int z, tk::TPoint& out) const override;
  void ProjectPoint(tk::TPoint& p, int z) const override;
  tk::TPoint ProjectPoint(const TPoint3D& p) const override;
  void ProjectInPlace(int& x, int& y, int z) const override;
  void UnprojectPoint(int& x, int& y, int z) const override;

  // ---------------------------------------------------------------- flat drawing
  void PutPixel(int x, int y, tk::TColor color) override;
  void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawPicture(int x, int y, const tk::TPicture* picture) override;
  void DrawEllipse(int x1, int y1, int x2, int y2) override;
  void FillArea(const tk::TRect& r) override;
  void DrawBevel(const tk::TRect& r, tk::TColor topColor, tk::TColor bottomColor,
                 int width) override;
  void DrawLineTo(int x, int y) override;
  void MovePen(int x, int y) override;
  void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawRect(int x0, int y0, int x1, int y1) override;
  void DrawRoundedRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
  void DrawPictureStretched(const tk::TRect& r, const tk::TPicture* picture) override;
  void PutText(int x, int y, const std::string& text) override;
  int MeasureTextWidth(const std::string& text) override;
  int MeasureTextHeight(const std::string& text) override;
  void ClipToRect(const tk::TRect& r) override;
  void DrawHorizontal(int x0, int x1, int y) override;
  void DrawRect(const tk::TRect& r) override;
  void DrawVertical(int x, int y0, int y1) override;
  void ClearArea(const tk::TRect& r) override;
  void FillGradient(const tk::TRect& r, tk::TColor start, tk::TColor end,
                    TGradientDirection dir) override;
  void DrawSegment(int x0, int y0, int x1, int y1) override;
  void DrawPolygon(const tk::TPoint* points, int count) override;
  void PutRotatedText(int x, int y, const std::string& text, int angle) override;
  void RemoveClip() override;

  // ---------------------------------------------------------------- drawing at depth
  void PutPixelAtDepth(int x, int y, int z, tk::TColor color) override;
  void DrawArrow(bool filled, tk::TPoint from, tk::TPoint to, int headWidth, int headLength,
                 int z) override;
  void ClipToBox(const tk::TRect& r, int minZ, int maxZ) override;
  void DrawShadedPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                         int unused) override;
  void DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool shade) override;
  void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                    bool shade) override;
  void DrawHorizontalAtDepth(int left, int right, int y, int z) override;
  void DrawVerticalAtDepth(int x, int top, int bottom, int z) override;
  void DrawDepthLine(int x, int y, int z0, int z1) override;
  void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
  void BeginFlatDrawing() override;
  void EndFlatDrawing() override;
  void DrawSegmentAtDepth(int x0, int y0, int x1, int y1, int z) override;
  void MovePenAtDepth(int x, int y, int z) override;
  void DrawLineToAtDepth(int x, int y, int z) override;
  void DrawPieSlice3D(int cx, int cy, int rx, int ry, int z0, int z1, double start, double end,
                      bool shade, bool drawSides) override;
  void DrawPlaneAcrossDepth(tk::TPoint a, tk::TPoint b, int z0, int z1) override;
  void DrawQuadAtDepth(tk::TPoint p1, tk::TPoint p2, tk::TPoint p3, tk::TPoint p4, int z) override;
  void DrawQuadAcrossDepth(const tk::TPoint (&points)[4], int z0, int z1) override;
  void DrawPolygonAtDepth(const tk::TPoint* points, int count, int z) override;
  void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                   bool shade) override;
  void DrawRectAtDepth(const tk::TRect& r, int z) override;
  void DrawFloorRect(int left, int top, int right, int z0, int z1) override;
  void DrawSideRect(int left, int top, int bottom, int z0, int z1) override;
  void PutRotatedTextAtDepth(int x, int y, int z, const std::string& text, int angle) override;
  void DrawSphere(int x, int y, int z, double radius) override;
  void PutTextAtDepth(int x, int y, int z, const std::string& text) override;
  void DrawTriangle3D(const TPoint3D (&points)[3], const tk::TColor (&colors)[3]) override;
  void DrawTriangleAtDepth(tk::TPoint p1, tk::TPoint p2, tk::TPoint p3, int z) override;

  // A cylinder (cone 100) or a cone narrowed to cone percent at its far end.
  void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool shade,
                int conePercent);

 private:
  void ComputeCoefficients();
  void DrawWorkingQuad();
  // the face colour solid shapes shade from, and the shading itself
  tk::TColor FaceColor() const;
  void Shade(tk::TColor face, int amount);
  int ZoomedFontHeight() const;  // 0: the font is used as it is
  void FillBands(const tk::TRect& r, tk::TColor start, tk::TColor end, TGradientDirection dir);

  // projection
  int cx_ = 0, cy_ = 0, cz_ = 0;
  int sx_ = 0, sy_ = 0;
  long double py_ = 0, px_ = 0;
  double xy_ = 0, yy_ = 1, pz_ = 1, xx_ = 1, yx_ = 0, xz_ = 0, yz_ = 0;
  bool was3D_ = false;
  bool is3D_ = false;
  // buffering
  std::unique_ptr<tk::TBitmap> buffer_;
  bool buffered_ = true;
  bool direct_ = false;  // this frame is drawn straight onto its destination
  bool monochrome_ = false;
  bool dirty_ = true;
  tk::TRect bounds_;
  bool zoomText_ = true;
  double zoomFactor_ = 1.0;
  double perspectiveFactor_ = 0;
  tk::TPoint working_[4];
  // the layer under the series
  bool layered_ = true;
  bool inLayer_ = false;     // between BeginLayer and EndLayer
  bool layerValid_ = false;  // layerPixels_ holds what lastLayer_ draws
  bool layerReused_ = false;
  std::unique_ptr<tk::TBitmap> layerPixels_;
  tk::TDisplayList layer_, lastLayer_;
  // the series over it
  bool layerCopyPending_ = false;  // the kept layer is still to be copied into the picture
  void CopyPendingLayer();
  bool inSeries_ = false;
  bool seriesValid_ = false;  // seriesPixels_ holds lastLayer_ with lastSeries_ drawn over it
  bool seriesReused_ = false;
  std::unique_ptr<tk::TBitmap> seriesPixels_;
  tk::TDisplayList series_, lastSeries_;
};
