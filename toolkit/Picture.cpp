#include "toolkit/Picture.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QSvgGenerator>
#include <QWidget>

#include "toolkit/Control.h"
#include "toolkit/QtBridge.h"
#include "toolkit/QtSurface.h"

namespace tk {

struct TExportPicture::Impl {
  TPictureKind kind;
  QImage image;
  QByteArray svg;
  QBuffer svgBuffer{&svg};
  QSvgGenerator generator;
  std::unique_ptr<TQtSurface> surface;

  void End() { surface.reset(); }  // the painter ends, and the SVG is complete
};

TExportPicture::TExportPicture(TPictureKind kind, int width, int height, const std::string& title)
    : impl_(std::make_unique<Impl>()) {
  Impl& i = *impl_;
  i.kind = kind;
  width = std::max(1, width);
  height = std::max(1, height);
  if (kind == pkSvg) {
    i.generator.setOutputDevice(&i.svgBuffer);
    i.generator.setSize(QSize(width, height));
    i.generator.setViewBox(QRect(0, 0, width, height));
    i.generator.setTitle(ToQString(title));
    i.surface = std::make_unique<TQtSurface>(&i.generator);
  } else {
    i.image = QImage(width, height, QImage::Format_RGB32);
    i.image.fill(Qt::white);
    i.surface = std::make_unique<TQtSurface>(&i.image);
  }
}

TExportPicture::~TExportPicture() {
  impl_->End();
}

TSurface& TExportPicture::Surface() {
  return *impl_->surface;
}

std::string TExportPicture::Bytes() {
  Impl& i = *impl_;
  i.End();
  if (i.kind == pkSvg) return std::string(i.svg.constData(), static_cast<std::size_t>(i.svg.size()));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  i.image.save(&buffer, "PNG");
  return std::string(png.constData(), static_cast<std::size_t>(png.size()));
}

void TExportPicture::CopyToClipboard() {
  impl_->End();
  if (impl_->kind == pkPng) QApplication::clipboard()->setImage(impl_->image);
}

std::string PromptSaveFileName(const TControl& parent, const std::string& caption,
                               const std::string& defaultName,
                               const std::vector<std::string>& filters) {
  QStringList list;
  for (const std::string& f : filters) list << ToQString(f);
  return FromQString(QFileDialog::getSaveFileName(parent.Widget(), ToQString(caption),
                                                  ToQString(defaultName), list.join(";;")));
}

}  // namespace tk
