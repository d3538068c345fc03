#include "toolkit/Control.h"

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <algorithm>

#include "toolkit/QtBridge.h"

namespace tk {

TControl::TControl(QWidget* widget, TWinControl* parent)
    : widget_(widget),
      parent_(parent),
      alive_(std::make_shared<bool>(true)),
      visible_(parent != nullptr) {  // a window stays hidden until shown
  // Qt may delete the widget with its parent widget before we get to it.
  QObject::connect(widget_, &QObject::destroyed, [alive = alive_] { *alive = false; });
  if (parent_) {
    widget_->setParent(parent_->Widget());
    parent_->AddChild(this);
  }
  widget_->setAutoFillBackground(true);
  ApplyPalette();
  widget_->setFont(ToQFont(font_));
}

TControl::~TControl() {
  if (parent_) parent_->RemoveChild(this);
  if (*alive_) {
    // the derived control is gone: its slots must not run while the widget dies
    widget_->blockSignals(true);
    delete widget_;
  }
}

int TControl::Left() const {
  return widget_->x();
}
int TControl::Top() const {
  return widget_->y();
}
int TControl::Width() const {
  return widget_->width();
}
int TControl::Height() const {
  return widget_->height();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  widget_->setGeometry(left, top, std::max(0, width), std::max(0, height));
  RememberAnchorDistances();
  BoundsChanged();
}

void TControl::SetHint(const std::string& hint) {
  hint_ = hint;
  widget_->setToolTip(ToQString(hint));
}

void TControl::SetAnchors(TAnchors anchors) {
  anchors_ = anchors;
  RememberAnchorDistances();
}

void TControl::RememberAnchorDistances() {
  if (!parent_) return;
  rightDistance_ = parent_->ClientWidth() - (Left() + Width());
  bottomDistance_ = parent_->ClientHeight() - (Top() + Height());
}

void TControl::ParentResized(int parentWidth, int parentHeight) {
  int left = Left(), top = Top(), width = Width(), height = Height();
  if ((anchors_ & akRight) && (anchors_ & akLeft))
    width = parentWidth - left - rightDistance_;
  else if (anchors_ & akRight)
    left = parentWidth - width - rightDistance_;
  if ((anchors_ & akBottom) && (anchors_ & akTop))
    height = parentHeight - top - bottomDistance_;
  else if (anchors_ & akBottom)
    top = parentHeight - height - bottomDistance_;
  // distances stay as remembered: a window shrunk and grown back restores the layout
  widget_->setGeometry(left, top, std::max(0, width), std::max(0, height));
  BoundsChanged();
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  widget_->setVisible(visible);
}

bool TControl::Enabled() const {
  return widget_->isEnabled();
}
void TControl::SetEnabled(bool enabled) {
  widget_->setEnabled(enabled);
}

void TControl::SetColor(TColor color) {
  color_ = color;
  ApplyPalette();
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  widget_->setFont(ToQFont(font_));
  ApplyPalette();
}

void TControl::ApplyPalette() {
  QPalette p = widget_->palette();
  const QColor back = ToQColor(color_);
  const QColor text = ToQColor(font_.color);
  p.setColor(QPalette::Window, back);
  p.setColor(QPalette::Button, back);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Text, text);
  widget_->setPalette(p);
}

void TControl::SetTabOrder(int order) {
  tabOrder_ = order;
  if (order >= 0) AcceptTabStop();
  if (parent_) parent_->UpdateTabOrder();
}

void TControl::AcceptTabStop() {
  widget_->setFocusPolicy(Qt::StrongFocus);
}

void TControl::TabStopsChanged() {
  if (parent_ && tabOrder_ >= 0) parent_->UpdateTabOrder();
}

void TControl::SetFocus() {
  FocusWidget()->setFocus(Qt::OtherFocusReason);
}
bool TControl::Focused() const {
  return FocusWidget()->hasFocus();
}

TWinControl::TWinControl(QWidget* widget, TWinControl* parent) : TControl(widget, parent) {
  WhenResized(widget, [this] { Resized(); });
}

TWinControl::~TWinControl() {
  // children that outlive their container must not reach back into it
  for (TControl* child : children_)
    child->parent_ = nullptr;
}

int TWinControl::ClientWidth() const {
  return Widget()->width();
}
int TWinControl::ClientHeight() const {
  return Widget()->height();
}

void TWinControl::AddChild(TControl* child) {
  children_.push_back(child);
}

void TWinControl::RemoveChild(TControl* child) {
  std::erase(children_, child);
}

void TWinControl::Resized() {
  for (TControl* child : children_)
    child->ParentResized(ClientWidth(), ClientHeight());
}

void TWinControl::UpdateTabOrder() {
  std::vector<TControl*> ordered;
  for (TControl* c : children_)
    if (c->TabOrder() >= 0) ordered.push_back(c);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
  std::vector<QWidget*> chain;
  for (TControl* c : ordered)
    for (QWidget* w : c->TabStops())
      chain.push_back(w);
  for (size_t i = 1; i < chain.size(); ++i)
    QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace tk
