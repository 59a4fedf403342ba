#include "sheet/grid_geometry.h"

#include <algorithm>

namespace orcalc::ui {

void GridGeometry::setColumnWidths(const std::vector<int>& widths) {
  col_x_.assign(widths.size() + 1, 0);
  for (std::size_t c = 0; c < widths.size(); ++c) col_x_[c + 1] = col_x_[c] + widths[c];
}

int GridGeometry::columnWidth(int col) const {
  if (col < 0 || col >= cols()) return 0;
  const auto c = static_cast<std::size_t>(col);
  return col_x_[c + 1] - col_x_[c];
}

int GridGeometry::cellX(int col) const {
  if (col <= 0) return col_x_[0];
  return fixedWidth() + col_x_[static_cast<std::size_t>(col)] -
         col_x_[static_cast<std::size_t>(left_col_)];
}

int GridGeometry::cellY(int row) const {
  if (row <= 0) return 0;
  return fixedHeight() + (row - top_row_) * row_height_;
}

QRect GridGeometry::cellRect(int row, int col) const {
  if (row < 0 || col < 0 || row >= rows_ || col >= cols()) return {};
  return QRect(cellX(col), cellY(row), columnWidth(col), row_height_);
}

std::optional<GridCell> GridGeometry::cellAt(const QPoint& pos, const QRect& area) const {
  if (!area.contains(pos)) return std::nullopt;
  GridCell cell;
  if (pos.y() < fixedHeight()) {
    cell.row = 0;
  } else {
    cell.row = top_row_ + (pos.y() - fixedHeight()) / std::max(row_height_, 1);
    if (cell.row >= rows_) return std::nullopt;
  }
  if (pos.x() < fixedWidth()) {
    cell.col = 0;
  } else {
    const int x = pos.x() - fixedWidth() + col_x_[static_cast<std::size_t>(left_col_)];
    const auto it = std::upper_bound(col_x_.begin() + left_col_, col_x_.end(), x);
    cell.col = static_cast<int>(it - col_x_.begin()) - 1;
    if (cell.col >= cols()) return std::nullopt;
  }
  if (cell.row < 0 || cell.col < 0) return std::nullopt;
  return cell;
}

int GridGeometry::visibleRows(int area_height) const {
  return std::max((area_height - fixedHeight()) / std::max(row_height_, 1), 0);
}

int GridGeometry::visibleCols(int area_width) const {
  const int avail = area_width - fixedWidth();
  int n = 0;
  for (int c = std::max(left_col_, firstCol()); c < cols() && c > 0; ++c) {
    if (col_x_[static_cast<std::size_t>(c) + 1] - col_x_[static_cast<std::size_t>(left_col_)] >
        avail)
      break;
    ++n;
  }
  return n;
}

int GridGeometry::maxTopRow(int area_height) const {
  const int scrolled = rows_ - firstRow();
  return std::max(firstRow(), firstRow() + scrolled - std::max(visibleRows(area_height), 1));
}

int GridGeometry::maxLeftCol(int area_width) const {
  const int avail = area_width - fixedWidth();
  int left = lastCol();
  while (left > firstCol() && col_x_.back() - col_x_[static_cast<std::size_t>(left) - 1] <= avail)
    --left;
  return std::max(left, firstCol());
}

GridGeometry::Bars GridGeometry::barsNeeded(const QSize& full, const QSize& bar_thickness) const {
  Bars bars;
  for (int pass = 0; pass < 2; ++pass) {
    const int w = full.width() - (bars.vertical ? bar_thickness.width() : 0);
    const int h = full.height() - (bars.horizontal ? bar_thickness.height() : 0);
    bars.horizontal = maxLeftCol(w) > firstCol();
    bars.vertical = maxTopRow(h) > firstRow();
  }
  return bars;
}

GridCell GridGeometry::scrollToShow(int row, int col, const QSize& area) const {
  GridCell scroll{top_row_, left_col_};
  if (row >= firstRow() && row > 0) {
    const int shown = std::max(visibleRows(area.height()), 1);
    if (row < scroll.row)
      scroll.row = row;
    else if (row >= scroll.row + shown)
      scroll.row = row - shown + 1;
  }
  if (col >= firstCol() && col > 0) {
    const int avail = area.width() - fixedWidth();
    if (col < scroll.col) {
      scroll.col = col;
    } else {
      while (scroll.col < col && col_x_[static_cast<std::size_t>(col) + 1] -
                                         col_x_[static_cast<std::size_t>(scroll.col)] >
                                     avail)
        ++scroll.col;
    }
  }
  return scroll;
}

QRect editorRect(const QRect& cell) {
  return QRect(cell.x(), cell.y(), std::max(cell.width() - 1, 0), std::max(cell.height() - 1, 0));
}

}  // namespace orcalc::ui
