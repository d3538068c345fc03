#pragma once
// A top-level window positioned and sized in screen pixels.

#include <memory>
#include <string>

class QWidget;

namespace tk {

class TWindow {
 public:
  TWindow();
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  // properties
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetBounds(int left, int top, int width, int height);

  // operations
  void Show();
  void Close();

  QWidget* Widget() const;

 private:
  std::unique_ptr<QWidget> widget_;
};

}  // namespace tk
