// Reading a sheet's cells as numbers, noting the first one whose number is
// too large for a double.
#pragma once

#include <optional>

#include "common/sheet.h"

namespace orcalc {

struct CellPosition {
  int row = 0;
  int col = 0;
};

class CellReader {
 public:
  explicit CellReader(const Sheet& sheet) : sheet_(sheet) {}

  // The number of the cell (empty outside the sheet, so 0) into `into`;
  // false, with the cell noted and `into` left alone, when it overflows.
  bool Read(int row, int col, double& into);

  // The first cell read whose number overflowed; absent while none did.
  const std::optional<CellPosition>& overflow() const { return overflow_; }

 private:
  const Sheet& sheet_;
  std::optional<CellPosition> overflow_;
};

}  // namespace orcalc
