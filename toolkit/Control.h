#pragma once
// The base of every control: bounds in its parent's client pixels, anchors,
// visibility, enabled state, colour, font and tab order. A container control
// keeps its children's anchored distances when it is resized.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Color.h"
#include "toolkit/Font.h"
#include "toolkit/Geometry.h"

class QWidget;
class QObject;

namespace tk {

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
inline constexpr TAnchors kDefaultAnchors = akLeft | akTop;
inline constexpr TAnchors kAllAnchors = akLeft | akTop | akRight | akBottom;

class TWinControl;

class TControl {
 public:
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  // properties
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetBounds(int left, int top, int width, int height);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors anchors);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  TColor Color() const { return color_; }
  virtual void SetColor(TColor color);
  const TFont& Font() const { return font_; }
  virtual void SetFont(const TFont& font);
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order);
  TWinControl* Parent() const { return parent_; }
  // The one-line explanation that shows while the pointer rests on the control.
  const std::string& Hint() const { return hint_; }
  virtual void SetHint(const std::string& hint);

  // operations
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetFocus();
  bool Focused() const;

  // The Qt widget behind the control, for the toolkit and for tests.
  QWidget* Widget() const { return widget_; }

 protected:
  // Takes ownership of the widget and places it in the parent (none for a window).
  TControl(QWidget* widget, TWinControl* parent);
  void ApplyPalette();
  // After the control's own size changed: containers lay out their children.
  virtual void BoundsChanged() {}
  // The widgets that stand for the control in its parent's tab chain, in order.
  // A radio group puts its items there, not its frame, and lets only the
  // checked one take Tab, so Tab lands on the choice as on any desktop.
  virtual std::vector<QWidget*> TabStops() const { return {widget_}; }
  // Gives the control's own widget a tab stop; a group that manages the focus
  // of its items leaves its frame without one.
  virtual void AcceptTabStop();
  // The widget that takes the focus when the control is focused.
  virtual QWidget* FocusWidget() const { return widget_; }
  // After the widgets of TabStops were replaced: the parent relinks its chain.
  void TabStopsChanged();
  bool WidgetAlive() const { return *alive_; }

 private:
  friend class TWinControl;
  void RememberAnchorDistances();
  void ParentResized(int parentWidth, int parentHeight);

  QWidget* widget_;
  TWinControl* parent_;
  std::shared_ptr<bool> alive_;  // false once Qt has deleted the widget
  TAnchors anchors_ = kDefaultAnchors;
  int rightDistance_ = 0, bottomDistance_ = 0;
  bool visible_ = true;
  TColor color_ = clBtnFace;
  TFont font_;
  int tabOrder_ = -1;
  std::string hint_;
};

// A control that holds other controls.
class TWinControl : public TControl {
 public:
  ~TWinControl() override;
  int ClientWidth() const;
  int ClientHeight() const;
  const std::vector<TControl*>& Controls() const { return children_; }

 protected:
  TWinControl(QWidget* widget, TWinControl* parent);
  // A hidden widget gets its resize event only when shown, so containers lay
  // out their children as soon as their own bounds change, too.
  void BoundsChanged() override { Resized(); }

 private:
  friend class TControl;
  void AddChild(TControl* child);
  void RemoveChild(TControl* child);
  void Resized();
  void UpdateTabOrder();

  std::vector<TControl*> children_;
};

}  // namespace tk
