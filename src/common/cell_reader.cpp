#include "common/cell_reader.h"

#include "common/numeric_reading.h"

namespace orcalc {

bool CellReader::Read(int row, int col, double& into) {
  const NumberReading reading = ReadNumberChecked(sheet_.Cell(row, col));
  if (reading.overflow) {
    if (!overflow_) overflow_ = CellPosition{row, col};
    return false;
  }
  into = reading.value;
  return true;
}

}  // namespace orcalc
