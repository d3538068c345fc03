#pragma once
// Choosing one text of a list: a list box that shows them all and a drop-down
// combo box. Both fire OnChange whenever ItemIndex changes, by the user or by
// code, so a handler sees every change in one place.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Control.h"

class QListWidget;
class QComboBox;

namespace tk {

using TNotifyEvent = std::function<void()>;

class TListBox : public TControl {
 public:
  explicit TListBox(TWinControl* parent);
  // properties
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const;  // -1 when nothing is chosen
  void SetItemIndex(int index);
  // events
  TNotifyEvent OnChange;

 private:
  QListWidget* list_;
};

class TComboBox : public TControl {
 public:
  explicit TComboBox(TWinControl* parent);
  // properties
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const;  // -1 when nothing is chosen
  void SetItemIndex(int index);
  // events
  TNotifyEvent OnChange;

 private:
  QComboBox* combo_;
};

// Lays the PNG pictures out in a grid of the given number of columns, each
// with its file name (without folder and extension) below, and writes the
// sheet as PNG; false when a picture cannot be read or the sheet not written.
bool SaveContactSheet(const std::vector<std::string>& pictures, int columns,
                      const std::string& path);

}  // namespace tk
