#include "toolkit/ExtControls.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/QtBridge.h"
#include "toolkit/TextBufferView.h"

namespace tk {

// ---------------------------------------------------------------- TPanel

namespace {

class PanelWidget : public QWidget {
 public:
  std::string caption;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(ToQColor(clBtnHighlight));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(ToQColor(clBtnShadow));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (!caption.empty()) {
      p.setPen(palette().color(QPalette::WindowText));
      p.drawText(rect(), Qt::AlignCenter, ToQString(caption));
    }
  }
};

}  // namespace

TPanel::TPanel(TWinControl* parent) : TWinControl(new PanelWidget, parent) {}

void TPanel::SetCaption(const std::string& caption) {
  caption_ = caption;
  static_cast<PanelWidget*>(Widget())->caption = caption;
  Widget()->update();
}

// ---------------------------------------------------------------- TRadioGroup

// An item of a radio group: the arrow keys belong to the group, which moves
// the choice in item order rather than by where the buttons happen to sit.
class RadioItem : public QRadioButton {
 public:
  RadioItem(const QString& text, QWidget* parent, TRadioGroup* group)
      : QRadioButton(text, parent), group_(group) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    switch (e->key()) {
      case Qt::Key_Up:
      case Qt::Key_Left:
        group_->StepChoice(this, -1);
        return;
      case Qt::Key_Down:
      case Qt::Key_Right:
        group_->StepChoice(this, +1);
        return;
      default:
        QRadioButton::keyPressEvent(e);
    }
  }

 private:
  TRadioGroup* group_;
};

TRadioGroup::TRadioGroup(TWinControl* parent)
    : TWinControl(new QGroupBox, parent), group_(std::make_unique<QButtonGroup>()) {
  box_ = static_cast<QGroupBox*>(Widget());
  box_->setFocusPolicy(Qt::NoFocus);  // the frame itself is never a stop
  group_->setExclusive(true);
  QObject::connect(group_.get(), &QButtonGroup::idToggled, [this](int id, bool on) {
    if (!on || id == itemIndex_) return;
    itemIndex_ = id;
    UpdateItemFocus();
    Dispatch(OnClick);
  });
  // items share the client height evenly, as the design lays them out
  WhenResized(box_, [this] { ArrangeButtons(); });
}

TRadioGroup::~TRadioGroup() = default;

std::string TRadioGroup::Caption() const {
  return FromQString(box_->title());
}
void TRadioGroup::SetCaption(const std::string& caption) {
  box_->setTitle(ToQString(caption));
}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
  for (QRadioButton* b : buttons_) {
    group_->removeButton(b);
    delete b;
  }
  buttons_.clear();
  items_ = items;
  for (size_t i = 0; i < items_.size(); ++i) {
    auto* b = new RadioItem(ToQString(items_[i]), box_, this);
    group_->addButton(b, static_cast<int>(i));
    buttons_.push_back(b);
    b->show();
  }
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->setChecked(true);
  UpdateItemFocus();
  ArrangeButtons();
  TabStopsChanged();
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  if (index < 0) {
    group_->setExclusive(false);
    for (QRadioButton* b : buttons_)
      b->setChecked(false);
    group_->setExclusive(true);
    itemIndex_ = -1;
    UpdateItemFocus();
    Dispatch(OnClick);
  } else {
    buttons_[static_cast<size_t>(index)]->setChecked(true);  // fires OnClick through idToggled
  }
}

QRadioButton* TRadioGroup::ItemButton(int index) const {
  return index >= 0 && index < static_cast<int>(buttons_.size())
             ? buttons_[static_cast<size_t>(index)]
             : nullptr;
}

std::vector<QWidget*> TRadioGroup::TabStops() const {
  return {buttons_.begin(), buttons_.end()};
}

QWidget* TRadioGroup::FocusWidget() const {
  return buttons_.empty() ? Widget() : buttons_[static_cast<size_t>(TabStopIndex())];
}

// All items sit in the tab chain, but only the stop takes Tab: Tab skips the
// others, and Shift+Tab comes back to the choice from either side.
void TRadioGroup::UpdateItemFocus() {
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->setFocusPolicy(static_cast<int>(i) == TabStopIndex() ? Qt::StrongFocus
                                                                       : Qt::ClickFocus);
}

void TRadioGroup::StepChoice(QRadioButton* from, int delta) {
  const auto at = std::find(buttons_.begin(), buttons_.end(), from);
  if (at == buttons_.end()) return;
  const int count = static_cast<int>(buttons_.size());
  const int to = (static_cast<int>(at - buttons_.begin()) + delta + count) % count;
  QRadioButton* next = buttons_[static_cast<size_t>(to)];
  next->setFocus(Qt::TabFocusReason);
  next->click();  // checks it: OnClick fires through the group, as for a mouse click
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const int top = QFontMetrics(box_->font()).height() + 2;
  const int count = static_cast<int>(buttons_.size());
  const int available = std::max(0, box_->height() - top - 4);
  const int itemHeight = available / count;
  for (int i = 0; i < count; ++i) {
    const int y = top + i * available / count;
    buttons_[static_cast<size_t>(i)]->setGeometry(8, y, box_->width() - 16,
                                                  std::max(itemHeight, 1));
  }
}

// ---------------------------------------------------------------- TRichEdit

TRichEdit::TRichEdit(TWinControl* parent) : TControl(new TextBufferView, parent) {
  view_ = static_cast<TextBufferView*>(Widget());
  SetColor(clWindow);
  view_->onChange = [this] { Dispatch(OnChange); };
}

std::string TRichEdit::Text() const {
  return view_->Text();
}

void TRichEdit::SetText(const std::string& text) {
  view_->SetText(text);
}

void TRichEdit::AppendText(const std::string& text) {
  view_->Append(text);
}

void TRichEdit::Clear() {
  view_->Clear();
}

void TRichEdit::SetColor(TColor color) {
  TControl::SetColor(color);
  QPalette p = view_->palette();
  p.setColor(QPalette::Base, ToQColor(color));
  view_->setPalette(p);
}

}  // namespace tk
