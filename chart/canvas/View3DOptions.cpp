#include "chart/canvas/View3DOptions.h"

void TView3DOptions::SetHorizOffset(int v) {
  if (Set(horizOffset_, v) && OnScroll) OnScroll(true);
}

void TView3DOptions::SetVertOffset(int v) {
  if (Set(vertOffset_, v) && OnScroll) OnScroll(false);
}

void TView3DOptions::SetZoom(int v) {
  if (v == zoom_) return;
  if (OnZoom) OnZoom(v);  // told before the value is stored
  zoom_ = v;
  RequestRepaint();
}

void TView3DOptions::Assign(const TView3DOptions& o) {
  elevation_ = o.elevation_;
  horizOffset_ = o.horizOffset_;
  orthogonal_ = o.orthogonal_;
  perspective_ = o.perspective_;
  rotation_ = o.rotation_;
  tilt_ = o.tilt_;
  vertOffset_ = o.vertOffset_;
  zoom_ = o.zoom_;
  zoomText_ = o.zoomText_;
}
