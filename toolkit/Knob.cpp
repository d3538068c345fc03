#include "toolkit/Knob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "toolkit/Application.h"
#include "toolkit/Errors.h"
#include "toolkit/QtBridge.h"

namespace tk {

// ---------------------------------------------------------------- the scale

namespace {

// The low end of the logarithmic part of a scale.
double LogLow(const TKnobScale& s) {
  return s.minimum > 0 ? s.minimum : s.smallest;
}

// A logarithmic scale from 0 keeps position 0 for 0 and spreads the rest over 1..kSteps.
bool ZeroAtStart(const TKnobScale& s) {
  return s.minimum <= 0;
}

}  // namespace

double TKnobScale::ValueAt(int position) const {
  const int p = std::clamp(position, 0, kSteps);
  if (!logarithmic || !(maximum > LogLow(*this)) || !(LogLow(*this) > 0))
    return minimum + (maximum - minimum) * p / kSteps;
  if (ZeroAtStart(*this)) {
    if (p == 0) return 0;
    // positions 1..kSteps: the first is the smallest, the last the maximum
    return LogLow(*this) * std::pow(maximum / LogLow(*this), (p - 1.0) / (kSteps - 1));
  }
  return LogLow(*this) * std::pow(maximum / LogLow(*this), static_cast<double>(p) / kSteps);
}

int TKnobScale::PositionOf(double value) const {
  if (std::isnan(value)) return 0;
  if (!logarithmic || !(maximum > LogLow(*this)) || !(LogLow(*this) > 0)) {
    if (!(maximum > minimum)) return 0;
    const double f = (value - minimum) / (maximum - minimum);
    return static_cast<int>(std::lround(std::clamp(f, 0.0, 1.0) * kSteps));
  }
  const double low = LogLow(*this);
  if (ZeroAtStart(*this)) {
    if (value <= 0) return 0;
    // anything between 0 and the smallest goes to the smallest: it is not off
    const double f = std::log(std::max(value, low) / low) / std::log(maximum / low);
    return 1 + static_cast<int>(std::lround(std::clamp(f, 0.0, 1.0) * (kSteps - 1)));
  }
  const double f = std::log(std::max(value, low) / low) / std::log(maximum / low);
  return static_cast<int>(std::lround(std::clamp(f, 0.0, 1.0) * kSteps));
}

std::string KnobText(double value, int digits) {
  if (value == 0) value = 0;  // no "-0"
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                               std::max(1, digits));
  return std::string(buffer, r.ptr);
}

bool ParseKnobText(const std::string& text, double& value) {
  std::size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
    ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
    --e;
  if (b < e && text[b] == '+') ++b;  // from_chars takes no plus sign
  double v = 0;
  const auto r = std::from_chars(text.data() + b, text.data() + e, v);
  if (r.ec != std::errc() || r.ptr != text.data() + e || b == e || !std::isfinite(v)) return false;
  value = v;
  return true;
}

// ---------------------------------------------------------------- the control

namespace {
constexpr int kCaptionWidth = 150, kBoxWidth = 72, kUnitWidth = 64;
}  // namespace

TKnob::TKnob(TWinControl* parent) : TWinControl(new QWidget, parent) {
  auto* layout = new QHBoxLayout(Widget());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);
  caption_ = new QLabel;
  caption_->setFixedWidth(kCaptionWidth);
  slider_ = new QSlider(Qt::Horizontal);
  slider_->setRange(0, TKnobScale::kSteps);
  box_ = new QLineEdit;
  box_->setFixedWidth(kBoxWidth);
  box_->setAlignment(Qt::AlignRight);
  unit_ = new QLabel;
  unit_->setFixedWidth(kUnitWidth);
  layout->addWidget(caption_);
  layout->addWidget(slider_, 1);
  layout->addWidget(box_);
  layout->addWidget(unit_);
  QObject::connect(slider_, &QSlider::valueChanged, [this](int p) { SliderMoved(p); });
  QObject::connect(box_, &QLineEdit::returnPressed, [this] { TextEntered(); });
  Show(value_);
}

TKnob::~TKnob() {
  slider_->disconnect();
  box_->disconnect();
}

std::string TKnob::Caption() const {
  return FromQString(caption_->text());
}
void TKnob::SetCaption(const std::string& caption) {
  caption_->setText(ToQString(caption));
}
std::string TKnob::Unit() const {
  return FromQString(unit_->text());
}
void TKnob::SetUnit(const std::string& unit) {
  unit_->setText(ToQString(unit));
}

void TKnob::SetScale(const TKnobScale& scale) {
  scale_ = scale;
  Show(value_);
}

void TKnob::SetDigits(int digits) {
  digits_ = std::max(1, digits);
  Show(value_);
}

void TKnob::SetValue(double value) {
  value_ = value;
  Show(value);
}

void TKnob::SetHint(const std::string& hint) {
  TWinControl::SetHint(hint);
  for (QWidget* w : {static_cast<QWidget*>(caption_), static_cast<QWidget*>(slider_),
                     static_cast<QWidget*>(box_), static_cast<QWidget*>(unit_)})
    w->setToolTip(ToQString(hint));
}

std::string TKnob::Text() const {
  return FromQString(box_->text());
}
int TKnob::SliderPosition() const {
  return slider_->value();
}

void TKnob::EnterText(const std::string& text) {
  box_->setText(ToQString(text));
  TextEntered();
}

void TKnob::MoveSlider(int position) {
  slider_->setValue(position);  // fires SliderMoved when the position changes
}

void TKnob::Show(double value) {
  showing_ = true;
  slider_->setValue(scale_.PositionOf(value));
  box_->setText(ToQString(KnobText(value, digits_)));
  showing_ = false;
}

void TKnob::SliderMoved(int position) {
  if (showing_) return;
  value_ = scale_.ValueAt(position);
  box_->setText(ToQString(KnobText(value_, digits_)));
  Dispatch(OnChange, value_);
}

void TKnob::TextEntered() {
  const std::string text = Text();
  double v = 0;
  if (!ParseKnobText(text, v)) {
    Show(value_);  // the box goes back to the value it had
    Dispatch([&] { throw Exception("\"" + text + "\" is not a number"); });
    return;
  }
  value_ = v;
  Show(v);
  Dispatch(OnChange, v);
}

}  // namespace tk
