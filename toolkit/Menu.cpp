#include "toolkit/Menu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "toolkit/Application.h"
#include "toolkit/Control.h"
#include "toolkit/QtBridge.h"

namespace tk {

TMenuItem::TMenuItem(std::string caption, bool checkable, QAction* action)
    : caption_(std::move(caption)), checkable_(checkable), action_(action) {}

void TMenuItem::SetChecked(bool checked) {
  if (!checkable_ || checked_ == checked) return;
  checked_ = checked;
  action_->setChecked(checked);
}

void TMenuItem::Click() {
  if (checkable_) SetChecked(!checked_);
  Dispatch(OnClick);
}

TPopupMenu::TPopupMenu() : menu_(std::make_unique<QMenu>()) {}

TPopupMenu::~TPopupMenu() {
  // the actions go with the menu; their signals must not reach freed items
  for (QAction* a : menu_->actions())
    a->disconnect();
}

TMenuItem& TPopupMenu::Add(const std::string& caption, bool checkable) {
  QAction* action = menu_->addAction(ToQString(caption));
  action->setCheckable(checkable);
  items_.push_back(std::unique_ptr<TMenuItem>(new TMenuItem(caption, checkable, action)));
  TMenuItem* item = items_.back().get();
  // Qt has toggled its action already; the item holds the state and follows it
  QObject::connect(action, &QAction::triggered, [item](bool checked) {
    if (item->checkable_) item->checked_ = !checked;
    item->Click();
  });
  return *item;
}

void TPopupMenu::Popup(const TControl& control, int x, int y) {
  Dispatch(OnPopup);
  const QPoint global = control.Widget()->mapToGlobal(QPoint(x, y));
  menu_->popup(global);
  menu_->activateWindow();
}

bool TPopupMenu::IsOpen() const {
  return menu_->isVisible();
}

void TPopupMenu::Close() {
  menu_->hide();
}

}  // namespace tk
