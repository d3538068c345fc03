#include "toolkit/SpinEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <algorithm>
#include <cctype>
#include <charconv>

#include "toolkit/Application.h"
#include "toolkit/QtBridge.h"

namespace tk {

class SpinLineEdit : public QLineEdit {
 public:
  SpinLineEdit(TSpinEdit* owner, QWidget* parent) : QLineEdit(parent), owner_(owner) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    switch (e->key()) {
      case Qt::Key_Up:
        owner_->StepUp();
        return;
      case Qt::Key_Down:
        owner_->StepDown();
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        Beep();
        return;
      default:
        break;
    }
    // chords (Ctrl+V, Alt+letter) are shortcuts, not typed characters
    const bool chord = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!chord && !e->text().isEmpty() && !Allowed(e->text()[0])) {
      Beep();
      return;
    }
    QLineEdit::keyPressEvent(e);
  }

  void focusOutEvent(QFocusEvent* e) override {
    QLineEdit::focusOutEvent(e);
    if (owner_) owner_->FocusLeft();
  }

 public:
  // The editor loses focus while it is being deleted, after its owner is gone.
  void Detach() { owner_ = nullptr; }

 private:
  static bool Allowed(QChar c) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      return true;  // control keys: backspace, Ctrl+V, ...
    return c.isDigit() || c == '+' || c == '-' || c == QLocale::system().decimalPoint()[0];
  }

  TSpinEdit* owner_;
};

TSpinEdit::TSpinEdit(TWinControl* parent) : TControl(new QWidget, parent) {
  edit_ = new SpinLineEdit(this, Widget());
  auto* up = new QToolButton(Widget());
  auto* down = new QToolButton(Widget());
  up->setArrowType(Qt::UpArrow);
  down->setArrowType(Qt::DownArrow);
  up->setObjectName("up");
  down->setObjectName("down");
  for (QToolButton* b : {up, down}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
  }
  QObject::connect(up, &QToolButton::clicked, [this] { Dispatch([this] { StepUp(); }); });
  QObject::connect(down, &QToolButton::clicked, [this] { Dispatch([this] { StepDown(); }); });
  QObject::connect(edit_, &QLineEdit::textChanged, [this] { Dispatch(OnChange); });
  Widget()->setFocusProxy(edit_);
  SetColor(clWindow);
  Layout();
  WhenResized(Widget(), [this] { Layout(); });
}

TSpinEdit::~TSpinEdit() {
  if (WidgetAlive()) edit_->Detach();
}

void TSpinEdit::Layout() {
  const int w = Widget()->width(), h = Widget()->height();
  const int buttonWidth = std::min(16, w);
  edit_->setGeometry(0, 0, w - buttonWidth, h);
  const QList<QToolButton*> buttons = Widget()->findChildren<QToolButton*>();
  for (QToolButton* b : buttons) {
    const bool isUp = b->objectName() == "up";
    b->setGeometry(w - buttonWidth, isUp ? 0 : h / 2, buttonWidth, isUp ? h / 2 : h - h / 2);
  }
}

std::optional<int> TSpinEdit::ParseInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ')
    ++i;  // leading blanks are tolerated, trailing ones not
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return std::nullopt;
  }
  const long long v = negative ? -magnitude : magnitude;
  if (v > 2147483647LL) return std::nullopt;
  return static_cast<int>(v);
}

int TSpinEdit::Value() const {
  return ParseInteger(Text()).value_or(minValue_);
}

int TSpinEdit::Clamp(int v) const {
  return std::clamp(v, minValue_, std::max(minValue_, maxValue_));
}

void TSpinEdit::SetValue(int v) {
  SetText(std::to_string(Clamp(v)));
}

std::string TSpinEdit::Text() const {
  return FromQString(edit_->text());
}

void TSpinEdit::SetText(const std::string& text) {
  edit_->setText(ToQString(text));
}

void TSpinEdit::FocusLeft() {
  const int v = Value();
  if (Clamp(v) != v) Dispatch([this, v] { SetValue(v); });
}

QWidget* TSpinEdit::Editor() const {
  return edit_;
}

}  // namespace tk
