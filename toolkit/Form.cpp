#include "toolkit/Form.h"

#include <QPixmap>
#include <QWidget>

#include "toolkit/QtBridge.h"

namespace tk {

TForm::TForm() : TWinControl(new QWidget, nullptr) {}

TForm::~TForm() = default;

std::string TForm::Caption() const {
  return FromQString(Widget()->windowTitle());
}

void TForm::SetCaption(const std::string& caption) {
  Widget()->setWindowTitle(ToQString(caption));
}

void TForm::SetClientSize(int width, int height) {
  Widget()->resize(width, height);
  BoundsChanged();
}

void TForm::SetPosition(int left, int top) {
  Widget()->move(left, top);
}

void TForm::Close() {
  Widget()->close();
}

bool TForm::SaveImage(const std::string& path) const {
  return Widget()->grab().save(ToQString(path), "PNG");
}

}  // namespace tk
