#include "common/calculation.h"

namespace orcalc {

std::string OverflowMessage(int row, int col) {
  return kCellOverflowStart + std::to_string(row) + "," + std::to_string(col) + kCellOverflowEnd;
}

}  // namespace orcalc
