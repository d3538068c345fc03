#include "toolkit/Window.h"

#include <QWidget>

namespace tk {

TWindow::TWindow() : widget_(std::make_unique<QWidget>()) {}

TWindow::~TWindow() = default;

std::string TWindow::Caption() const {
  return widget_->windowTitle().toStdString();
}

void TWindow::SetCaption(const std::string& caption) {
  widget_->setWindowTitle(QString::fromStdString(caption));
}

void TWindow::SetBounds(int left, int top, int width, int height) {
  widget_->setGeometry(left, top, width, height);
}

void TWindow::Show() {
  widget_->show();
}

void TWindow::Close() {
  widget_->close();
}

QWidget* TWindow::Widget() const {
  return widget_.get();
}

}  // namespace tk
