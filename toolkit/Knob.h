#pragma once
// A labelled knob for one number: a caption, a slider, a box that shows the
// value and takes a typed one, and the unit after it. The slider runs evenly
// or logarithmically; what the value means is the owner's business, so a
// typed value outside the range is passed on as typed, for the owner to
// accept or to refuse with its own message.

#include <functional>
#include <string>

#include "toolkit/Control.h"

class QLabel;
class QSlider;
class QLineEdit;

namespace tk {

// How the slider's positions 0..kSteps map to values. A logarithmic scale
// runs from `smallest` (or the minimum, when that is above 0) up to the
// maximum in equal ratios; when the range starts at 0 the first position is
// 0 itself, so the knob can still be turned fully off.
struct TKnobScale {
  static constexpr int kSteps = 1000;
  double minimum = 0, maximum = 1;
  bool logarithmic = false;
  double smallest = 1e-6;  // the lowest non-zero value of a logarithmic scale from 0

  double ValueAt(int position) const;
  // The nearest position; values beyond the range stand at its ends.
  int PositionOf(double value) const;
};

// The text of a number with the given significant digits, in the C locale
// ("0.25", "1e-05", "-3"), and back; false when the text is not a number.
std::string KnobText(double value, int digits);
bool ParseKnobText(const std::string& text, double& value);

class TKnob : public TWinControl {
 public:
  explicit TKnob(TWinControl* parent);
  ~TKnob() override;

  // properties
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  std::string Unit() const;
  void SetUnit(const std::string& unit);
  const TKnobScale& Scale() const { return scale_; }
  void SetScale(const TKnobScale& scale);
  int Digits() const { return digits_; }
  void SetDigits(int digits);
  double Value() const { return value_; }
  // Shows the value; fires nothing, as a program setting it expects.
  void SetValue(double value);
  // The caption, slider, box and unit all explain themselves with it.
  void SetHint(const std::string& hint) override;
  std::string Text() const;  // what the box shows
  int SliderPosition() const;

  // operations: what the user does, for tests as well
  // Types the text into the box and presses Enter.
  void EnterText(const std::string& text);
  // Drags the slider to the position.
  void MoveSlider(int position);

  // events: the value the user chose, through the application's error handler
  std::function<void(double)> OnChange;

 private:
  void Show(double value);
  void SliderMoved(int position);
  void TextEntered();

  QLabel* caption_;
  QSlider* slider_;
  QLineEdit* box_;
  QLabel* unit_;
  TKnobScale scale_;
  int digits_ = 3;
  double value_ = 0;
  bool showing_ = false;  // the knob is moving its own parts
};

}  // namespace tk
