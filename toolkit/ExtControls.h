#pragma once
// Containers and larger controls: panel, radio group and rich text box.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/StdControls.h"

class QGroupBox;
class QButtonGroup;
class QRadioButton;

namespace tk {

// A raised panel that holds controls and shows its caption centred.
class TPanel : public TWinControl {
 public:
  explicit TPanel(TWinControl* parent);
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 private:
  std::string caption_;
};

// A captioned frame of mutually exclusive items; ItemIndex -1 chooses none.
// The group takes its place in the tab chain through its checked item (the
// first when none is checked); the arrow keys move the choice through the
// items, wrapping at either end, and fire OnClick as a click does.
class TRadioGroup : public TWinControl {
 public:
  explicit TRadioGroup(TWinControl* parent);
  ~TRadioGroup() override;

  // properties
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  // The button of one item, for tests that click it.
  QRadioButton* ItemButton(int index) const;

  // events
  TNotifyEvent OnClick;

 protected:
  std::vector<QWidget*> TabStops() const override;
  void AcceptTabStop() override {}
  QWidget* FocusWidget() const override;

 private:
  friend class RadioItem;
  void ArrangeButtons();
  int TabStopIndex() const { return itemIndex_ >= 0 ? itemIndex_ : 0; }
  void UpdateItemFocus();
  void StepChoice(QRadioButton* from, int delta);
  QGroupBox* box_;
  std::unique_ptr<QButtonGroup> group_;
  std::vector<QRadioButton*> buttons_;
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class TextBufferView;

// Editable text; bits are appended at the end in place, never by reading and
// rewriting the whole text, and only the visible lines are laid out and drawn.
class TRichEdit : public TControl {
 public:
  explicit TRichEdit(TWinControl* parent);
  std::string Text() const;
  void SetText(const std::string& text);
  void AppendText(const std::string& text);
  void Clear();
  void SetColor(TColor color) override;
  TNotifyEvent OnChange;

 private:
  TextBufferView* view_;
};

}  // namespace tk
