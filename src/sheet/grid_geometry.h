// The arithmetic of the grid's layout, in pixels and free of widgets: where
// each cell is for a scroll position, which cell is at a point, how many
// rows and columns show in full, how far the grid scrolls, and where an
// editor goes over a cell. One fixed header row and column, one height for
// every row.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

namespace orcalc::ui {

struct GridCell {
  int row = 0;
  int col = 0;
  bool operator==(const GridCell&) const = default;
};

class GridGeometry {
 public:
  // The counts and sizes: `widths` has one entry a column.
  void setRows(int rows) { rows_ = rows; }
  void setRowHeight(int height) { row_height_ = height; }
  void setColumnWidths(const std::vector<int>& widths);

  int rows() const { return rows_; }
  int cols() const { return static_cast<int>(col_x_.size()) - 1; }
  int rowHeight() const { return row_height_; }
  int columnWidth(int col) const;

  // The first and last row and column the current cell and the scroll
  // position may take: past the fixed ones when the sheet has more.
  int firstRow() const { return rows_ > 1 ? 1 : 0; }
  int firstCol() const { return cols() > 1 ? 1 : 0; }
  int lastRow() const { return rows_ > 0 ? rows_ - 1 : 0; }
  int lastCol() const { return cols() > 0 ? cols() - 1 : 0; }
  int fixedWidth() const { return cols() > 0 ? columnWidth(0) : 0; }
  int fixedHeight() const { return rows_ > 0 ? row_height_ : 0; }

  // The first scrolled row and column shown after the fixed ones.
  int topRow() const { return top_row_; }
  int leftCol() const { return left_col_; }
  void setScroll(int top, int left) {
    top_row_ = top;
    left_col_ = left;
  }

  // A cell's left and top edge and its rectangle at the scroll position
  // (an empty rectangle outside the sheet).
  int cellX(int col) const;
  int cellY(int row) const;
  QRect cellRect(int row, int col) const;

  // The cell under `pos` within the cell area `area`, if any.
  std::optional<GridCell> cellAt(const QPoint& pos, const QRect& area) const;

  // Rows fully visible below the fixed row, and columns fully visible right
  // of the fixed column from the left column, in an area of that size.
  int visibleRows(int area_height) const;
  int visibleCols(int area_width) const;
  // The largest top row that still shows the last row at the bottom, and
  // the largest left column that still shows the last column at the right.
  int maxTopRow(int area_height) const;
  int maxLeftCol(int area_width) const;

  // Which scroll bars a grid of `full` size needs, given their thickness
  // (a bar that shows makes room for the other).
  struct Bars {
    bool vertical = false;
    bool horizontal = false;
  };
  Bars barsNeeded(const QSize& full, const QSize& bar_thickness) const;

  // The scroll position (top row, left column) nearest the present one at
  // which (row, col) shows in full in an area of `area` size; a cell larger
  // than the area shows from its top-left corner.
  GridCell scrollToShow(int row, int col, const QSize& area) const;

 private:
  int rows_ = 0;
  int row_height_ = 20;
  int top_row_ = 1;
  int left_col_ = 1;
  // col_x_[c] is the left edge of column c when nothing is scrolled;
  // col_x_[cols] is the sheet's whole width.
  std::vector<int> col_x_{0};
};

// Where an editor goes over a cell's rectangle: one pixel narrower and
// lower, so the grid lines show.
QRect editorRect(const QRect& cell);

}  // namespace orcalc::ui
