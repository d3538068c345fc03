#include "toolkit/Hint.h"

#include <QToolTip>
#include <QWidget>

#include "toolkit/Control.h"
#include "toolkit/QtBridge.h"

namespace tk {

namespace {
std::string& Shown() {
  static std::string text;
  return text;
}
}  // namespace

void ShowHint(const TControl& control, int x, int y, const std::string& text) {
  if (text.empty()) {
    HideHint();
    return;
  }
  if (text == Shown() && QToolTip::isVisible()) return;  // no flicker while the mouse stays on it
  Shown() = text;
  // a little below the pointer, so the hint does not sit under it
  const QPoint global = control.Widget()->mapToGlobal(QPoint(x, y + 16));
  QToolTip::showText(global, ToQString(text), control.Widget());
}

void HideHint() {
  if (Shown().empty()) return;
  Shown().clear();
  QToolTip::hideText();
}

std::string HintText() {
  return Shown();
}

}  // namespace tk
