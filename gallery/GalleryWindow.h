#pragma once
// The gallery's window: the registered types on the left, the chart in the
// middle and one control per gallery setting on the right. A control that
// does not apply to the open entry is disabled.

#include <memory>
#include <vector>

#include "chart/panel/Chart.h"
#include "gallery/GalleryChart.h"
#include "toolkit/Form.h"
#include "toolkit/ListControls.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/StdControls.h"

class GalleryWindow : public tk::TForm {
 public:
  GalleryWindow();
  ~GalleryWindow() override;

  // controls
  tk::TListBox Entries{this};
  TChart Chart1{this};

  // properties
  GalleryChart& Gallery() { return gallery_; }
  // the control of settings[i]: exactly one of check, combo and spin is set
  struct SettingControl {
    const GallerySetting* setting = nullptr;
    std::unique_ptr<tk::TLabel> label;
    std::unique_ptr<tk::TCheckBox> check;
    std::unique_ptr<tk::TComboBox> combo;
    std::unique_ptr<tk::TSpinEdit> spin;
  };
  std::vector<SettingControl>& Controls() { return controls_; }

 private:
  void BuildControl(const GallerySetting& s, int top);
  // a control's new value goes to the engine; a refused one is put back
  void Changed(SettingControl& c, int value);
  // every control shows the engine's value and whether it applies
  void SyncControls();
  void ShowControl(SettingControl& c);

  GalleryChart gallery_{Chart1};
  std::vector<SettingControl> controls_;
  bool syncing_ = false;
};
