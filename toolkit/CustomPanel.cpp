#include "toolkit/CustomPanel.h"

#include <QElapsedTimer>
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
    if (frame_.isActive()) return;  // this frame's paint is already booked
    const qint64 due = FrameMs();
    const qint64 since = lastPaint_.isValid() ? lastPaint_.elapsed() : due;
    if (since >= due) {
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
    lastPaint_.start();
    frame_.stop();  // this paint serves whatever was booked
    if (!owner) return;
    TQtSurface surface(this);
    Dispatch([&] { owner->Paint(surface); });
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (!owner) return;
    TShiftState s = ShiftOf(e->modifiers(), e->buttons());
    Dispatch([&] {
      owner->MouseDown(ButtonOf(e->button()), s, e->position().toPoint().x(),
                       e->position().toPoint().y());
    });
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (!owner) return;
    TShiftState s = ShiftOf(e->modifiers(), e->buttons()) | ssDouble;
    Dispatch([&] {
      owner->MouseDown(ButtonOf(e->button()), s, e->position().toPoint().x(),
                       e->position().toPoint().y());
    });
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!owner) return;
    Dispatch([&] {
      owner->MouseMove(ShiftOf(e->modifiers(), e->buttons()), e->position().toPoint().x(),
                       e->position().toPoint().y());
    });
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!owner) return;
    Dispatch([&] {
      owner->MouseUp(ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()),
                     e->position().toPoint().x(), e->position().toPoint().y());
    });
  }
  void wheelEvent(QWheelEvent* e) override {
    if (!owner) return;
    Dispatch([&] {
      owner->MouseWheel(ShiftOf(e->modifiers(), e->buttons()), e->angleDelta().y(),
                        e->position().toPoint().x(), e->position().toPoint().y());
    });
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
