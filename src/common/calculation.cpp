#include "common/calculation.h"

namespace orcalc {

std::string OverflowMessage(int row, int col) {
  return "单元格(" + std::to_string(row) + "," + std::to_string(col) + ")的数值超出范围！";
}

}  // namespace orcalc
