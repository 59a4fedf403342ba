// The coefficient sheet as plain data: what the grid shows.
#pragma once

#include <string>
#include <vector>

namespace orcalc {

// Row 0 and column 0 are the fixed header row and column. Cells outside the
// sheet read as the empty text; writes outside it are ignored.
class Sheet {
 public:
  static constexpr int kDefaultWidth = -1;  // a column width never set

  Sheet() : Sheet(2, 2) {}
  Sheet(int rows, int cols);
  // The cells given row by row (rows * cols of them; missing ones are
  // empty, extra ones dropped), taken over without a copy.
  Sheet(int rows, int cols, std::vector<std::string> cells);

  int rows() const { return rows_; }
  int cols() const { return cols_; }

  // Changing the counts keeps every cell that exists before and after; new
  // cells are empty. Negative counts are taken as 0.
  void SetRows(int rows);
  void SetCols(int cols);
  void Resize(int rows, int cols);

  bool Contains(int row, int col) const {
    return row >= 0 && col >= 0 && row < rows_ && col < cols_;
  }
  const std::string& Cell(int row, int col) const;
  void SetCell(int row, int col, std::string text);

  // Column widths in twips; kDefaultWidth when never set.
  int ColumnWidth(int col) const;
  void SetColumnWidth(int col, int twips);

  bool operator==(const Sheet& other) const = default;

 private:
  int rows_ = 0;
  int cols_ = 0;
  std::vector<std::string> cells_;  // row-major, rows_ * cols_
  std::vector<int> widths_;         // one per column
};

}  // namespace orcalc
