#include "toolkit/StdControls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <limits>

#include "toolkit/Application.h"
#include "toolkit/QtBridge.h"

namespace tk {

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TWinControl* parent) : TControl(new QLabel, parent) {
  label_ = static_cast<QLabel*>(Widget());
  label_->setAutoFillBackground(false);  // labels are transparent over their parent
}

std::string TLabel::Caption() const {
  return FromQString(label_->text());
}
void TLabel::SetCaption(const std::string& caption) {
  label_->setText(ToQString(caption));
  AdjustSize();
}

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  AdjustSize();
}

void TLabel::SetFont(const TFont& font) {
  TControl::SetFont(font);
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!autoSize_) return;
  const QFontMetrics m(label_->font());
  SetBounds(Left(), Top(), m.horizontalAdvance(label_->text()), m.height());
}

// ---------------------------------------------------------------- TEdit

namespace {

bool IsEightBit(QChar c) {
  return c.unicode() >= 1 && c.unicode() <= 0xFF;
}

}  // namespace

TEdit::TEdit(TWinControl* parent) : TControl(new QLineEdit, parent) {
  edit_ = static_cast<QLineEdit*>(Widget());
  // The platform's default limit of 32767 characters would cut a longer text
  // to send without a word; the only limit left is the size of a string.
  edit_->setMaxLength(std::numeric_limits<int>::max());
  SetColor(clWindow);
  // One filter on every change catches typing, pasting, dropping and input methods alike.
  QObject::connect(edit_, &QLineEdit::textChanged, [this] {
    if (filtering_) return;
    Filter();
    Dispatch(OnChange);
  });
}

void TEdit::Filter() {
  const QString text = edit_->text();
  if (std::all_of(text.begin(), text.end(), IsEightBit)) return;
  QString kept;
  int cursor = edit_->cursorPosition();
  for (int i = 0; i < text.size(); ++i) {
    if (IsEightBit(text[i]))
      kept += text[i];
    else if (i < edit_->cursorPosition())
      --cursor;
  }
  filtering_ = true;
  edit_->setText(kept);
  edit_->setCursorPosition(std::max(0, cursor));
  filtering_ = false;
  Beep();
}

std::string TEdit::Text() const {
  const QByteArray bytes = edit_->text().toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void TEdit::SetText(const std::string& text) {
  edit_->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

bool TEdit::IsEmpty() const {
  return edit_->text().isEmpty();
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TWinControl* parent) : TControl(new QPushButton, parent) {
  button_ = static_cast<QPushButton*>(Widget());
  button_->setAutoDefault(false);
  QObject::connect(button_, &QPushButton::clicked, [this] { Dispatch(OnClick); });
}

std::string TButton::Caption() const {
  return FromQString(button_->text());
}
void TButton::SetCaption(const std::string& caption) {
  button_->setText(ToQString(caption));
}
void TButton::Click() {
  button_->click();
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TWinControl* parent) : TControl(new QCheckBox, parent) {
  box_ = static_cast<QCheckBox*>(Widget());
  QObject::connect(box_, &QCheckBox::toggled, [this] { Dispatch(OnClick); });
}

std::string TCheckBox::Caption() const {
  return FromQString(box_->text());
}
void TCheckBox::SetCaption(const std::string& caption) {
  box_->setText(ToQString(caption));
}
bool TCheckBox::Checked() const {
  return box_->isChecked();
}
void TCheckBox::SetChecked(bool checked) {
  box_->setChecked(checked);
}

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(TWinControl* parent) : TControl(new QTextEdit, parent) {
  memo_ = static_cast<QTextEdit*>(Widget());
  memo_->setAcceptRichText(false);
  memo_->setFrameShape(QFrame::NoFrame);
  SetColor(clWindow);
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  for (QTextBlock b = memo_->document()->begin(); b.isValid(); b = b.next())
    lines.push_back(FromQString(b.text()));
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& l : lines)
    list << ToQString(l);
  memo_->setPlainText(list.join('\n'));
  ApplyAlignment();
}

void TMemo::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  ApplyAlignment();
}

void TMemo::ApplyAlignment() {
  const Qt::Alignment a = alignment_ == taCenter         ? Qt::AlignHCenter
                          : alignment_ == taRightJustify ? Qt::AlignRight
                                                         : Qt::AlignLeft;
  QTextCursor c(memo_->document());
  c.select(QTextCursor::Document);
  QTextBlockFormat f;
  f.setAlignment(a);
  c.mergeBlockFormat(f);
}

bool TMemo::ReadOnly() const {
  return memo_->isReadOnly();
}
void TMemo::SetReadOnly(bool readOnly) {
  memo_->setReadOnly(readOnly);
}

void TMemo::SetColor(TColor color) {
  TControl::SetColor(color);
  QPalette p = memo_->palette();
  p.setColor(QPalette::Base, ToQColor(color));
  memo_->setPalette(p);
}

void TMemo::SetFont(const TFont& font) {
  TControl::SetFont(font);
  SetColor(Color());  // the palette carries both colours
}

// ---------------------------------------------------------------- TScrollBar

namespace {

// A scroll bar that lets go of the mouse when a message box opens. The box
// may open inside the press itself (the first step's change handler fails),
// before the bar has armed its auto-repeat: then it lets go once the press
// is over, or the repeat would start with no release ever to stop it.
class ScrollBarWidget : public QScrollBar, public TMouseCapture {
 public:
  ScrollBarWidget() : QScrollBar(Qt::Horizontal) {}
  ~ScrollBarWidget() override { ReleaseMouseCapture(this); }

  void LetGoOfMouse() override {
    if (inPress_)
      letGoAfterPress_ = true;
    else
      Release();
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    SetMouseCapture(this);
    button_ = e->button();
    inPress_ = true;
    letGoAfterPress_ = false;
    QScrollBar::mousePressEvent(e);
    inPress_ = false;
    if (letGoAfterPress_) Release();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QScrollBar::mouseReleaseEvent(e);
    if (e->buttons() == Qt::NoButton) ReleaseMouseCapture(this);
  }
  void hideEvent(QHideEvent* e) override {
    ReleaseMouseCapture(this);
    QScrollBar::hideEvent(e);
  }

 private:
  void Release() {
    ReleaseMouseCapture(this);
    const QPointF away(-1, -1);  // off the bar: the release hits no part of it
    QMouseEvent up(QEvent::MouseButtonRelease, away, mapToGlobal(away), button_, Qt::NoButton,
                   Qt::NoModifier);
    QScrollBar::mouseReleaseEvent(&up);
  }

  Qt::MouseButton button_ = Qt::LeftButton;
  bool inPress_ = false;
  bool letGoAfterPress_ = false;
};

}  // namespace

TScrollBar::TScrollBar(TWinControl* parent) : TControl(new ScrollBarWidget, parent) {
  bar_ = static_cast<QScrollBar*>(Widget());
  bar_->setRange(0, 100);
  bar_->setSingleStep(1);
  bar_->setPageStep(1);
  QObject::connect(bar_, &QScrollBar::valueChanged, [this] { Dispatch(OnChange); });
}

int TScrollBar::Min() const {
  return bar_->minimum();
}
int TScrollBar::Max() const {
  return bar_->maximum() + std::max(0, pageSize_ - 1);
}
int TScrollBar::Position() const {
  return bar_->value();
}
void TScrollBar::SetMin(int v) {
  bar_->setMinimum(v);
}
void TScrollBar::SetMax(int v) {
  bar_->setMaximum(v - std::max(0, pageSize_ - 1));
}
void TScrollBar::SetPosition(int v) {
  bar_->setValue(v);
}

void TScrollBar::SetPageSize(int v) {
  const int max = Max();
  pageSize_ = std::max(0, v);
  bar_->setPageStep(std::max(1, pageSize_));
  SetMax(max);
}

}  // namespace tk
