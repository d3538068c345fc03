#pragma once
// A control that paints itself: Qt's paint, mouse, wheel, leave and resize
// events become the panel's virtual operations, the background is never
// erased before a paint, and errors raised while handling them go to the
// application's error handler.

#include "toolkit/Control.h"
#include "toolkit/Mouse.h"
#include "toolkit/Surface.h"

namespace tk {

enum TCursor : int {
  crDefault = 0,
  crArrow = -2,
  crCross = -3,
  crHandPoint = -21,
  crSizeAll = -22
};

class TCustomPanel : public TWinControl {
 public:
  explicit TCustomPanel(TWinControl* parent);
  ~TCustomPanel() override;

  // Asks for a paint on the next paint message; nothing is drawn now.
  void Invalidate();
  // Asks for a paint from the event loop, after the current event: safe to
  // call from inside a paint, where a plain update may be merged into it.
  void InvalidateAfterPaint();
  // Paints at once: on the screen when shown, otherwise off screen (so the
  // panel's own buffered picture is brought up to date all the same).
  void RepaintNow();
  TRect ClientRect() const { return {0, 0, Width(), Height()}; }
  int Cursor() const { return cursor_; }
  void SetCursor(int cursor);
  void SetSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  // Paints now into an image-backed surface the size of the control (tests, screenshots).
  bool SaveImage(const std::string& path);

 protected:
  friend class PanelHost;
  // overridables
  virtual void Paint(TSurface& surface) = 0;
  virtual void MouseDown(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseMove(TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseUp(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseWheel(TShiftState, int /*delta*/, int /*x*/, int /*y*/) {}
  virtual void MouseLeave() {}
  virtual void Resized() {}

 private:
  int cursor_ = crDefault;
};

}  // namespace tk
