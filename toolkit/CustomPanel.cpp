#include "toolkit/CustomPanel.h"

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include "toolkit/Application.h"
#include "toolkit/QtSurface.h"

namespace tk {

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (mods & Qt::ShiftModifier) s |= ssShift;
  if (mods & Qt::AltModifier) s |= ssAlt;
  if (mods & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

TShiftState ShiftOf(const QMouseEvent* e) {
  return ShiftOf(e->modifiers(), e->buttons());
}

TMouseButton ButtonOf(Qt::MouseButton b) {
  return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

}  // namespace

class PanelHost : public QWidget {
 public:
  PanelHost() {
    frame_.setSingleShot(true);
    frame_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frame_, &QTimer::timeout, this, [this] { update(); });
  }

  TCustomPanel* owner = nullptr;

  // Turns a request for a paint into at most one paint per display frame: a
  // clock ticking every millisecond would otherwise be followed by a paint
  // after every tick, and the paints would starve the ticks.
  void RequestFrame() {
    // this frame's paint is already booked: a series adding a million points
    // asks a million times, and finding the screen's rate costs more than the point
    if (frame_.isActive() || updateBooked_) return;
    const qint64 due = FrameMs();
    const qint64 since = lastPaint_.isValid() ? lastPaint_.elapsed() : due;
    if (since >= due) {
      updateBooked_ = true;
      update();
      return;
    }
    frame_.start(static_cast<int>(due - since));
  }

 protected:
  int FrameMs() const {
    const QScreen* s = screen();
    const double hz = s && s->refreshRate() >= 1.0 ? s->refreshRate() : 60.0;
    return std::max(1, static_cast<int>(1000.0 / hz));
  }

  void paintEvent(QPaintEvent*) override {
    updateBooked_ = false;
    lastPaint_.start();
    frame_.stop();  // this paint serves whatever was booked
    if (!owner) return;
    TQtSurface surface(this);
    Dispatch([&] { owner->Paint(surface); });
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (!owner) return;
    const QPoint p = e->position().toPoint();
    Dispatch([&] { owner->DoMouseDown(ButtonOf(e->button()), ShiftOf(e), p.x(), p.y()); });
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (!owner) return;
    const QPoint p = e->position().toPoint();
    Dispatch([&] {
      owner->DoMouseDown(ButtonOf(e->button()), ShiftOf(e) | ssDouble, p.x(), p.y());
    });
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!owner) return;
    const QPoint p = e->position().toPoint();
    Dispatch([&] { owner->DoMouseMove(ShiftOf(e), p.x(), p.y()); });
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!owner) return;
    const QPoint p = e->position().toPoint();
    Dispatch([&] { owner->DoMouseUp(ButtonOf(e->button()), ShiftOf(e), p.x(), p.y()); });
  }
  void wheelEvent(QWheelEvent* e) override {
    if (!owner) return;
    const QPoint p = e->position().toPoint();
    Dispatch([&] {
      owner->DoMouseWheel(ShiftOf(e->modifiers(), e->buttons()), e->angleDelta().y(), p.x(), p.y());
    });
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    if (!owner || !owner->OnContextPopup) {
      e->ignore();
      return;
    }
    // from the keyboard there is no pointer position: open over the middle
    const QPoint p = e->reason() == QContextMenuEvent::Mouse ? e->pos() : rect().center();
    owner->DoContextPopup(p.x(), p.y());
  }
  void keyPressEvent(QKeyEvent* e) override {
    // not every platform turns these keys into a context menu request by itself
    const bool menuKey = e->key() == Qt::Key_Menu && e->modifiers() == Qt::NoModifier;
    const bool shiftF10 = e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier;
    if (owner && owner->OnContextPopup && (menuKey || shiftF10)) {
      const QPoint p = rect().center();
      owner->DoContextPopup(p.x(), p.y());
      return;
    }
    QWidget::keyPressEvent(e);
  }
  void leaveEvent(QEvent*) override {
    if (owner) Dispatch([&] { owner->MouseLeave(); });
  }
  void resizeEvent(QResizeEvent*) override {
    if (owner) Dispatch([&] { owner->Resized(); });
  }

 private:
  QTimer frame_;
  QElapsedTimer lastPaint_;
  bool updateBooked_ = false;  // update() asked for and its paint not yet come
};

TCustomPanel::TCustomPanel(TWinControl* parent) : TWinControl(new PanelHost, parent) {
  auto* host = static_cast<PanelHost*>(Widget());
  host->owner = this;
  // the chart paints every pixel itself from its buffer: no erasing first
  host->setAttribute(Qt::WA_OpaquePaintEvent);
  host->setAttribute(Qt::WA_NoSystemBackground);
  host->setAutoFillBackground(false);
  host->setMouseTracking(true);
}

TCustomPanel::~TCustomPanel() {
  if (WidgetAlive()) static_cast<PanelHost*>(Widget())->owner = nullptr;
}

void TCustomPanel::Invalidate() {
  static_cast<PanelHost*>(Widget())->RequestFrame();
}

void TCustomPanel::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
  MouseDown(button, shift, x, y);
}

void TCustomPanel::DoMouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
  MouseMove(shift, x, y);
}

void TCustomPanel::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  MouseUp(button, shift, x, y);
}

void TCustomPanel::DoMouseWheel(TShiftState shift, int delta, int x, int y) {
  // a two-notch turn moves twice, eight eighths of a notch move once
  wheelTurn_ += delta;
  while (wheelTurn_ >= kWheelDelta || wheelTurn_ <= -kWheelDelta) {
    const bool down = wheelTurn_ < 0;
    wheelTurn_ += down ? kWheelDelta : -kWheelDelta;
    const TMouseWheelUpDownEvent& event = down ? OnMouseWheelDown : OnMouseWheelUp;
    if (event) event(this, shift, {x, y});
    MouseWheel(shift, down, x, y);
  }
}

void TCustomPanel::DoContextPopup(int x, int y) {
  Dispatch(OnContextPopup, this, TPoint{x, y});
}

void TCustomPanel::InvalidateAfterPaint() {
  auto* host = static_cast<PanelHost*>(Widget());
  QTimer::singleShot(0, host, [host] { host->RequestFrame(); });  // dropped with the widget
}

void TCustomPanel::RepaintNow() {
  if (Widget()->isVisible()) {
    Widget()->repaint();
    return;
  }
  QImage image(std::max(1, Width()), std::max(1, Height()), QImage::Format_RGB32);
  TQtSurface surface(&image);
  Paint(surface);
}

void TCustomPanel::SetCursor(int cursor) {
  cursor_ = cursor;
  Qt::CursorShape shape = Qt::ArrowCursor;
  switch (cursor) {
    case crCross:
      shape = Qt::CrossCursor;
      break;
    case crHandPoint:
      shape = Qt::PointingHandCursor;
      break;
    case crSizeAll:
      shape = Qt::SizeAllCursor;
      break;
    default:
      break;
  }
  Widget()->setCursor(shape);
}

bool TCustomPanel::SaveImage(const std::string& path) {
  QImage image(std::max(1, Width()), std::max(1, Height()), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TQtSurface surface(&image);
    Paint(surface);
  }
  return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace tk
