#pragma once
// A key combination that fires an event: while the control (or a child of it)
// has the focus, or anywhere in its window.

#include <functional>
#include <string>

class QShortcut;

namespace tk {

class TControl;

enum TShortcutScope { ssFocused, ssWindow };

class TShortcut {
 public:
  // keys in the portable form, "Ctrl+E", "Esc"
  TShortcut(TControl& control, const std::string& keys, TShortcutScope scope);
  ~TShortcut();
  TShortcut(const TShortcut&) = delete;
  TShortcut& operator=(const TShortcut&) = delete;

  // events: through the application's error handler
  std::function<void()> OnActivate;

  // operations
  void Activate();

 private:
  QShortcut* shortcut_;  // owned by the control's widget
};

}  // namespace tk
