// What one command (a calculation or the statistics) hands to its window.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "common/cell_reader.h"
#include "common/common_texts.h"

namespace orcalc {

struct CalculationOutcome {
  // Shown one by one, modally, in this order, before the results window.
  std::vector<std::string> messages;
  // The report for the results window; absent when the command stops
  // without one (for example on a cell that overflows).
  std::optional<std::string> report;
  // Caption and title label of the results window; empty keeps the design
  // title.
  std::string title;
  // The calculation was stopped before its end (cancelled, or out of
  // time): no messages and no report.
  bool stopped = false;
};

// Whether every value is a finite number.
inline bool AllFinite(const std::vector<double>& values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// "单元格(r,c)的数值超出范围！" for grid row r, column c.
std::string OverflowMessage(int row, int col);
inline std::string OverflowMessage(const CellPosition& cell) {
  return OverflowMessage(cell.row, cell.col);
}

}  // namespace orcalc
