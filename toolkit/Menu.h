#pragma once
// A popup menu of command and check items, opened at a point of a control.
// Captions mark their accelerator letter with '&', as buttons do, so every
// item is reachable from the keyboard once the menu is open. The menu does
// not block: it opens, and a chosen item fires its click event later, from
// the event loop, through the application's error handler.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QAction;

namespace tk {

class TControl;

class TMenuItem {
 public:
  // properties
  const std::string& Caption() const { return caption_; }
  bool Checkable() const { return checkable_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);  // fires no event, as a program setting it expects

  // events
  std::function<void()> OnClick;  // after a check item has toggled

  // operations
  // What choosing the item does: a check item toggles, then OnClick runs.
  void Click();

 private:
  friend class TPopupMenu;
  TMenuItem(std::string caption, bool checkable, QAction* action);
  std::string caption_;
  bool checkable_;
  bool checked_ = false;
  QAction* action_;  // owned by the menu's widget
};

class TPopupMenu {
 public:
  TPopupMenu();
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  // operations
  TMenuItem& Add(const std::string& caption, bool checkable);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int i) { return *items_.at(static_cast<std::size_t>(i)); }
  // Opens the menu with its top left corner at (x, y) of the control's client area.
  void Popup(const TControl& control, int x, int y);
  bool IsOpen() const;
  void Close();

  // events
  std::function<void()> OnPopup;  // just before the menu opens

  // The Qt menu behind it, for the toolkit and for tests.
  QMenu* Widget() const { return menu_.get(); }

 private:
  std::unique_ptr<QMenu> menu_;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

}  // namespace tk
