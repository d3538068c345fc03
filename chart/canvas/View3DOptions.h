#pragma once
// How a 3D chart is viewed: the angles, offsets, perspective and zoom that
// steer the canvas's projection. Changes ask the owning chart to repaint.

#include <functional>

class TView3DOptions {
 public:
  // The parent's repaint request.
  explicit TView3DOptions(std::function<void()> repaint = {}) : repaint_(std::move(repaint)) {}

  int Elevation() const { return elevation_; }
  void SetElevation(int v) { Set(elevation_, v); }
  int HorizOffset() const { return horizOffset_; }
  void SetHorizOffset(int v);
  bool Orthogonal() const { return orthogonal_; }
  void SetOrthogonal(bool v) { Set(orthogonal_, v); }
  int Perspective() const { return perspective_; }
  void SetPerspective(int v) { Set(perspective_, v); }
  int Rotation() const { return rotation_; }
  void SetRotation(int v) { Set(rotation_, v); }
  int Tilt() const { return tilt_; }
  void SetTilt(int v) { Set(tilt_, v); }
  int VertOffset() const { return vertOffset_; }
  void SetVertOffset(int v);
  int Zoom() const { return zoom_; }
  void SetZoom(int v);
  bool ZoomText() const { return zoomText_; }
  void SetZoomText(bool v) { Set(zoomText_, v); }

  // Copies the nine values; notifications stay and no repaint is asked for.
  void Assign(const TView3DOptions& other);
  void RequestRepaint() const {
    if (repaint_) repaint_();
  }

  // for the owner: True when HorizOffset changed, False when VertOffset did
  std::function<void(bool horizontal)> OnScroll;
  std::function<void(int zoom)> OnZoom;

 private:
  template <typename T>
  bool Set(T& field, T value) {
    if (field == value) return false;
    field = value;
    RequestRepaint();
    return true;
  }

  std::function<void()> repaint_;
  int elevation_ = 345;
  int horizOffset_ = 0;
  bool orthogonal_ = true;
  int perspective_ = 15;
  int rotation_ = 345;
  int tilt_ = 0;
  int vertOffset_ = 0;
  int zoom_ = 100;
  bool zoomText_ = true;
};
