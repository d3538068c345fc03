#pragma once
// Conversions between the toolkit's vocabulary and Qt's. Only toolkit sources
// include this header.

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <string>

class QWidget;

#include "toolkit/Color.h"
#include "toolkit/Font.h"

namespace tk {

inline QColor ToQColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

inline QString ToQString(const std::string& s) {
  return QString::fromStdString(s);
}
inline std::string FromQString(const QString& s) {
  return s.toStdString();
}

QFont ToQFont(const TFont& font);

// Calls f whenever the widget changes size or font. The watcher is a child of
// the widget and goes with it.
void WhenResized(QWidget* widget, std::function<void()> f);

}  // namespace tk
