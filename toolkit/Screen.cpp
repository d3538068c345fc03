#include "toolkit/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace tk {

TScreenMetrics PrimaryScreenMetrics() {
  TScreenMetrics m;
  if (!QGuiApplication::instance()) return m;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return m;
  const QSize pixels = screen->size();
  const QSizeF mm = screen->physicalSize();
  m.widthPixels = pixels.width();
  m.heightPixels = pixels.height();
  m.widthMillimetres = mm.width();
  m.heightMillimetres = mm.height();
  return m;
}

}  // namespace tk
