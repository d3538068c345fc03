#pragma once
// A control that paints itself: Qt's paint, mouse, wheel, leave and resize
// events become the panel's virtual operations, the background is never
// erased before a paint, and errors raised while handling them go to the
// application's error handler.

#include <functional>

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

class TCustomPanel;
using TMouseEvent =
    std::function<void(TCustomPanel* sender, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TCustomPanel* sender, TShiftState, int x, int y)>;
using TMouseWheelUpDownEvent =
    std::function<void(TCustomPanel* sender, TShiftState, TPoint mousePos)>;
// The user asks for the control's context menu at a client point: a right
// click there, or the Menu key or Shift+F10 while the control has the focus.
using TContextPopupEvent = std::function<void(TCustomPanel* sender, TPoint pos)>;

// One notch of a mouse wheel, in the units Qt reports a wheel's turn in.
inline constexpr int kWheelDelta = 120;

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

  // events: fired before the panel's own handling of the same notification
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  // once per whole notch; touchpads report fractions of a notch, which add up
  TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;
  TContextPopupEvent OnContextPopup;

  // The toolkit's handling of each mouse notification: the event, then the overridable.
  void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void DoMouseMove(TShiftState shift, int x, int y);
  void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // delta: how far the wheel turned, kWheelDelta a notch away from the user
  void DoMouseWheel(TShiftState shift, int delta, int x, int y);
  void DoContextPopup(int x, int y);

 protected:
  friend class PanelHost;
  // overridables
  virtual void Paint(TSurface& surface) = 0;
  virtual void MouseDown(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseMove(TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseUp(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
  // one whole notch, towards the user (down) or away from the user
  virtual void MouseWheel(TShiftState, bool /*down*/, int /*x*/, int /*y*/) {}
  virtual void MouseLeave() {}
  virtual void Resized() {}

 private:
  int cursor_ = crDefault;
  int wheelTurn_ = 0;  // the part of a notch turned so far
};

}  // namespace tk
