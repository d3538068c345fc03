#include "toolkit/CustomPanel.h"

#include <QImage>
#include <QMouseEvent>
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
  TCustomPanel* owner = nullptr;

 protected:
  void paintEvent(QPaintEvent*) override {
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
  Widget()->update();
}

void TCustomPanel::InvalidateAfterPaint() {
  QWidget* w = Widget();
  QTimer::singleShot(0, w, [w] { w->update(); });  // dropped with the widget
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
