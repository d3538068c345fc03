#include "toolkit/Shortcut.h"

#include <QShortcut>
#include <QWidget>

#include "toolkit/Application.h"
#include "toolkit/Control.h"
#include "toolkit/QtBridge.h"

namespace tk {

TShortcut::TShortcut(TControl& control, const std::string& keys, TShortcutScope scope)
    : shortcut_(new QShortcut(QKeySequence(ToQString(keys)), control.Widget())) {
  shortcut_->setContext(scope == ssFocused ? Qt::WidgetWithChildrenShortcut : Qt::WindowShortcut);
  QObject::connect(shortcut_, &QShortcut::activated, [this] { Activate(); });
  QObject::connect(shortcut_, &QObject::destroyed, [this] { shortcut_ = nullptr; });
}

TShortcut::~TShortcut() {
  // the widget may outlive this object; it must not call into it any more
  if (shortcut_) {
    shortcut_->disconnect();
    delete shortcut_;
  }
}

void TShortcut::Activate() {
  Dispatch(OnActivate);
}

}  // namespace tk
