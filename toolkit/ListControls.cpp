#include "toolkit/ListControls.h"

#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/QtBridge.h"

namespace tk {

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TWinControl* parent) : TControl(new QListWidget, parent) {
  list_ = static_cast<QListWidget*>(Widget());
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  QObject::connect(list_, &QListWidget::currentRowChanged, [this] { Dispatch(OnChange); });
}

std::vector<std::string> TListBox::Items() const {
  std::vector<std::string> out;
  for (int i = 0; i < list_->count(); ++i)
    out.push_back(FromQString(list_->item(i)->text()));
  return out;
}

void TListBox::SetItems(const std::vector<std::string>& items) {
  list_->clear();
  for (const std::string& s : items)
    list_->addItem(ToQString(s));
}

int TListBox::ItemIndex() const {
  return list_->currentRow();
}

void TListBox::SetItemIndex(int index) {
  const int row = index >= 0 && index < list_->count() ? index : -1;
  if (row != list_->currentRow()) list_->setCurrentRow(row);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TWinControl* parent) : TControl(new QComboBox, parent) {
  combo_ = static_cast<QComboBox*>(Widget());
  QObject::connect(combo_, &QComboBox::currentIndexChanged, [this] { Dispatch(OnChange); });
}

std::vector<std::string> TComboBox::Items() const {
  std::vector<std::string> out;
  for (int i = 0; i < combo_->count(); ++i)
    out.push_back(FromQString(combo_->itemText(i)));
  return out;
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  // filling the list is no choice of the user's: no OnChange for it
  const QSignalBlocker quiet(combo_);
  combo_->clear();
  for (const std::string& s : items)
    combo_->addItem(ToQString(s));
  combo_->setCurrentIndex(-1);
}

int TComboBox::ItemIndex() const {
  return combo_->currentIndex();
}

void TComboBox::SetItemIndex(int index) {
  // the widget reports "no choice" again even when there was none: compare first
  const int chosen = index >= 0 && index < combo_->count() ? index : -1;
  if (chosen != combo_->currentIndex()) combo_->setCurrentIndex(chosen);
}

// ---------------------------------------------------------------- contact sheet

bool SaveContactSheet(const std::vector<std::string>& pictures, int columns,
                      const std::string& path) {
  std::vector<QImage> images;
  int cellW = 1, cellH = 1;
  for (const std::string& p : pictures) {
    QImage image(ToQString(p));
    if (image.isNull()) return false;
    cellW = std::max(cellW, image.width());
    cellH = std::max(cellH, image.height());
    images.push_back(image);
  }
  columns = std::max(1, columns);
  const int caption = 20;
  const int rows = (static_cast<int>(images.size()) + columns - 1) / columns;
  QImage sheet(columns * cellW, std::max(1, rows * (cellH + caption)), QImage::Format_RGB32);
  sheet.fill(Qt::white);
  {
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < images.size(); ++i) {
      const int x = static_cast<int>(i) % columns * cellW;
      const int y = static_cast<int>(i) / columns * (cellH + caption);
      painter.drawImage(x, y, images[i]);
      painter.drawText(QRect(x, y + cellH, cellW, caption), Qt::AlignCenter,
                       QFileInfo(ToQString(pictures[i])).completeBaseName());
    }
  }
  return sheet.save(ToQString(path), "PNG");
}

}  // namespace tk
