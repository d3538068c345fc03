#pragma once
// An integer box with up/down buttons. Its value is whatever integer its text
// reads, unclamped while the user types (a text that is no integer reads as
// MinValue); the buttons and arrow keys step within MinValue..MaxValue, and a
// value outside the range is clamped and written back when focus leaves.
// Only digits, '+', '-', the decimal separator and control keys may be typed;
// anything else, and Enter, is refused with a beep.

#include <functional>
#include <optional>
#include <string>

#include "toolkit/Control.h"
#include "toolkit/StdControls.h"

namespace tk {

class SpinLineEdit;

class TSpinEdit : public TControl {
 public:
  explicit TSpinEdit(TWinControl* parent);
  ~TSpinEdit() override;

  // properties
  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  void SetMinValue(int v) { minValue_ = v; }
  void SetMaxValue(int v) { maxValue_ = v; }
  int Value() const;
  void SetValue(int v);
  std::string Text() const;
  void SetText(const std::string& text);

  // operations
  void StepUp() { SetValue(Value() + 1); }
  void StepDown() { SetValue(Value() - 1); }

  // events
  TNotifyEvent OnChange;  // every change of the text, by any means

  QWidget* Editor() const;  // the text part, for tests that type into it

  // The integer a text reads as, or nullopt when it is no integer.
  static std::optional<int> ParseInteger(const std::string& text);

 private:
  friend class SpinLineEdit;
  int Clamp(int v) const;
  void FocusLeft();
  void Layout();

  SpinLineEdit* edit_;
  int minValue_ = 0;
  int maxValue_ = 100;
};

}  // namespace tk
