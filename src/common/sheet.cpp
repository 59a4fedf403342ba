#include "common/sheet.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace orcalc {
namespace {

const std::string kEmpty;

// Where cell (row, col), inside a sheet of `cols` columns, is kept.
std::size_t CellIndex(int row, int col, int cols) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
         static_cast<std::size_t>(col);
}

}  // namespace

Sheet::Sheet(int rows, int cols) { Resize(rows, cols); }

Sheet::Sheet(int rows, int cols, std::vector<std::string> cells)
    : rows_(std::max(rows, 0)), cols_(std::max(cols, 0)), cells_(std::move(cells)) {
  cells_.resize(static_cast<size_t>(rows_) * static_cast<size_t>(cols_));
  widths_.resize(static_cast<size_t>(cols_), kDefaultWidth);
}

void Sheet::SetRows(int rows) { Resize(rows, cols_); }
void Sheet::SetCols(int cols) { Resize(rows_, cols); }

void Sheet::Resize(int rows, int cols) {
  rows = std::max(rows, 0);
  cols = std::max(cols, 0);
  if (cols == cols_) {
    cells_.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
  } else {
    std::vector<std::string> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    const int keep_rows = std::min(rows, rows_);
    const int keep_cols = std::min(cols, cols_);
    for (int r = 0; r < keep_rows; ++r) {
      for (int c = 0; c < keep_cols; ++c) {
        cells[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)] =
            std::move(cells_[CellIndex(r, c, cols_)]);
      }
    }
    cells_ = std::move(cells);
  }
  widths_.resize(static_cast<size_t>(cols), kDefaultWidth);
  rows_ = rows;
  cols_ = cols;
}

const std::string& Sheet::Cell(int row, int col) const {
  if (!Contains(row, col)) return kEmpty;
  return cells_[CellIndex(row, col, cols_)];
}

void Sheet::SetCell(int row, int col, std::string text) {
  if (!Contains(row, col)) return;
  cells_[CellIndex(row, col, cols_)] = std::move(text);
}

int Sheet::ColumnWidth(int col) const {
  if (col < 0 || col >= cols_) return kDefaultWidth;
  return widths_[static_cast<size_t>(col)];
}

void Sheet::SetColumnWidth(int col, int twips) {
  if (col < 0 || col >= cols_) return;
  widths_[static_cast<size_t>(col)] = twips;
}

}  // namespace orcalc
