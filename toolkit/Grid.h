#pragma once
// A read-only table of text cells with a header row whose captions explain
// themselves in a tooltip; the keyboard moves through its cells.

#include <string>
#include <vector>

#include "toolkit/Control.h"

class QTableWidget;

namespace tk {

struct TGridColumn {
  std::string caption;
  std::string hint;  // the header's tooltip
};

class TStringGrid : public TControl {
 public:
  explicit TStringGrid(TWinControl* parent);

  // properties
  void SetColumns(const std::vector<TGridColumn>& columns);
  int ColCount() const;
  int RowCount() const;
  void SetRowCount(int rows);
  std::string Caption(int col) const;
  std::string HeaderHint(int col) const;
  std::string Cell(int col, int row) const;
  // A cell outside the grid is ignored: the table never grows by itself.
  void SetCell(int col, int row, const std::string& text);

 private:
  QTableWidget* table_;
};

}  // namespace tk
