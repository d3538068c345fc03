#pragma once
// A top-level window. Its bounds are those of its client area: the frame and
// title bar belong to the window manager, which draws them differently on
// every desktop.

#include <string>

#include "toolkit/Control.h"

namespace tk {

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;

  // properties
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetClientSize(int width, int height);
  void SetPosition(int left, int top);

  // operations
  void Close();
  // Writes a picture of the window's client area as PNG; false on failure.
  bool SaveImage(const std::string& path) const;
};

}  // namespace tk
