#include "toolkit/Grid.h"

#include <QHeaderView>
#include <QTableWidget>

#include "toolkit/QtBridge.h"

namespace tk {

TStringGrid::TStringGrid(TWinControl* parent) : TControl(new QTableWidget, parent) {
  table_ = static_cast<QTableWidget*>(Widget());
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setFocusPolicy(Qt::StrongFocus);
}

void TStringGrid::SetColumns(const std::vector<TGridColumn>& columns) {
  table_->setColumnCount(static_cast<int>(columns.size()));
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    auto* item = new QTableWidgetItem(ToQString(columns[c].caption));
    item->setToolTip(ToQString(columns[c].hint));
    table_->setHorizontalHeaderItem(c, item);
  }
}

int TStringGrid::ColCount() const {
  return table_->columnCount();
}

int TStringGrid::RowCount() const {
  return table_->rowCount();
}

void TStringGrid::SetRowCount(int rows) {
  table_->setRowCount(rows < 0 ? 0 : rows);
}

std::string TStringGrid::Caption(int col) const {
  const QTableWidgetItem* item = table_->horizontalHeaderItem(col);
  return item ? FromQString(item->text()) : std::string();
}

std::string TStringGrid::HeaderHint(int col) const {
  const QTableWidgetItem* item = table_->horizontalHeaderItem(col);
  return item ? FromQString(item->toolTip()) : std::string();
}

std::string TStringGrid::Cell(int col, int row) const {
  const QTableWidgetItem* item = table_->item(row, col);
  return item ? FromQString(item->text()) : std::string();
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  QTableWidgetItem* item = table_->item(row, col);
  if (item)
    item->setText(ToQString(text));
  else
    table_->setItem(row, col, new QTableWidgetItem(ToQString(text)));
}

}  // namespace tk
