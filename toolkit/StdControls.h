#pragma once
// The standard controls: label, one-line text box, push button, check box,
// multi-line text box and scroll bar.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Control.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QCheckBox;
class QTextEdit;
class QScrollBar;

namespace tk {

using TNotifyEvent = std::function<void()>;

// A caption; with AutoSize (the default) it takes the size of its text.
class TLabel : public TControl {
 public:
  explicit TLabel(TWinControl* parent);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  void SetFont(const TFont& font) override;

 private:
  void AdjustSize();
  QLabel* label_;
  bool autoSize_ = true;
};

// One line of text holding 8-bit characters only (codes 1..255): anything
// else typed, pasted or dropped in is refused with a beep, the rest is kept.
class TEdit : public TControl {
 public:
  explicit TEdit(TWinControl* parent);
  // The text as 8-bit character codes (Latin-1).
  std::string Text() const;
  void SetText(const std::string& text);
  bool IsEmpty() const;
  TNotifyEvent OnChange;

 private:
  void Filter();
  QLineEdit* edit_;
  bool filtering_ = false;
};

// A push button; '&' in the caption marks the Alt accelerator letter.
class TButton : public TControl {
 public:
  explicit TButton(TWinControl* parent);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void Click();
  TNotifyEvent OnClick;

 private:
  QPushButton* button_;
};

// Fires OnClick whenever its checked state changes, by the user or by code.
class TCheckBox : public TControl {
 public:
  explicit TCheckBox(TWinControl* parent);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool Checked() const;
  void SetChecked(bool checked);
  TNotifyEvent OnClick;

 private:
  QCheckBox* box_;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Multi-line text.
class TMemo : public TControl {
 public:
  explicit TMemo(TWinControl* parent);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);
  void SetColor(TColor color) override;
  void SetFont(const TFont& font) override;

 private:
  void ApplyAlignment();
  QTextEdit* memo_;
  TAlignment alignment_ = taLeftJustify;
};

// A horizontal scroll bar; OnChange fires whenever Position changes.
class TScrollBar : public TControl {
 public:
  explicit TScrollBar(TWinControl* parent);
  int Min() const;
  int Max() const;
  int Position() const;
  int PageSize() const { return pageSize_; }
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);
  void SetPageSize(int v);
  TNotifyEvent OnChange;

 private:
  QScrollBar* bar_;
  int pageSize_ = 0;
};

}  // namespace tk
