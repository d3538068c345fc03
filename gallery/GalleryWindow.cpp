#include "gallery/GalleryWindow.h"

namespace {

constexpr int kListWidth = 180;
constexpr int kControlsWidth = 270;
constexpr int kRowHeight = 26;

}  // namespace

GalleryWindow::GalleryWindow() {
  SetCaption("Wavelot gallery");
  SetClientSize(1120, 700);
  Entries.SetBounds(8, 8, kListWidth, 684);
  Entries.SetAnchors(tk::akLeft | tk::akTop | tk::akBottom);
  Entries.SetItems(GalleryChart::EntryNames());
  Chart1.SetBounds(kListWidth + 16, 8, 1120 - kListWidth - kControlsWidth - 32, 684);
  Chart1.SetAnchors(tk::kAllAnchors);
  int top = 8;
  for (const GallerySetting& s : GalleryChart::Settings()) {
    BuildControl(s, top);
    top += kRowHeight;
  }
  Entries.OnChange = [this] {
    if (Entries.ItemIndex() < 0) return;
    gallery_.Open(Entries.ItemIndex());
    SyncControls();
  };
  Entries.SetItemIndex(0);
}

GalleryWindow::~GalleryWindow() {
  // the controls' handlers name this window: none may fire while it goes
  for (SettingControl& c : controls_) {
    if (c.check) c.check->OnClick = nullptr;
    if (c.combo) c.combo->OnChange = nullptr;
    if (c.spin) c.spin->OnChange = nullptr;
  }
  Entries.OnChange = nullptr;
}

void GalleryWindow::BuildControl(const GallerySetting& s, int top) {
  const int left = 1120 - kControlsWidth;
  SettingControl& c = controls_.emplace_back();
  c.setting = &s;
  c.label = std::make_unique<tk::TLabel>(this);
  c.label->SetCaption(s.Caption);
  c.label->SetBounds(left, top + 4, 120, 18);
  c.label->SetAnchors(tk::akRight | tk::akTop);
  const std::size_t i = controls_.size() - 1;
  tk::TControl* control = nullptr;
  if (s.kind == GallerySetting::Toggle) {
    c.check = std::make_unique<tk::TCheckBox>(this);
    c.check->OnClick = [this, i] { Changed(controls_[i], controls_[i].check->Checked()); };
    control = c.check.get();
  } else if (s.kind == GallerySetting::Choice) {
    c.combo = std::make_unique<tk::TComboBox>(this);
    c.combo->SetItems(s.Choices);
    c.combo->OnChange = [this, i] { Changed(controls_[i], controls_[i].combo->ItemIndex()); };
    control = c.combo.get();
  } else {
    c.spin = std::make_unique<tk::TSpinEdit>(this);
    c.spin->SetMinValue(s.Min);
    c.spin->SetMaxValue(s.Max);
    c.spin->OnChange = [this, i] { Changed(controls_[i], controls_[i].spin->Value()); };
    control = c.spin.get();
  }
  control->SetBounds(left + 124, top, kControlsWidth - 132, kRowHeight - 4);
  control->SetAnchors(tk::akRight | tk::akTop);
}

void GalleryWindow::Changed(SettingControl& c, int value) {
  if (syncing_ || gallery_.Entry() < 0 || !gallery_.Applies(*c.setting)) return;
  try {
    c.setting->Set(gallery_, value);
  } catch (...) {
    // the application object shows the engine's message; the control goes
    // back to the value the engine kept
    SyncControls();
    throw;
  }
  // a setting may change another one (3D circles or uncircles a pie)
  SyncControls();
}

void GalleryWindow::SyncControls() {
  syncing_ = true;
  for (SettingControl& c : controls_)
    ShowControl(c);
  syncing_ = false;
}

void GalleryWindow::ShowControl(SettingControl& c) {
  const bool applies = gallery_.Entry() >= 0 && gallery_.Applies(*c.setting);
  const int value = applies ? c.setting->Get(gallery_) : 0;
  if (c.check) {
    c.check->SetEnabled(applies);
    c.check->SetChecked(value != 0);
  } else if (c.combo) {
    c.combo->SetEnabled(applies);
    c.combo->SetItemIndex(value);
  } else {
    c.spin->SetEnabled(applies);
    if (c.spin->Value() != value || !applies) c.spin->SetValue(value);
  }
}
