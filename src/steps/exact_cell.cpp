#include "steps/exact_cell.h"

#include "common/number_text.h"
#include "steps/exact_reading.h"

namespace orcalc::steps {

mpq_class ReadExactCell(const Sheet& sheet, int row, int col, double used,
                        std::vector<std::string>& notes) {
  ExactReading reading = ReadExactNumber(sheet.Cell(row, col), used);
  if (!reading.from_text) {
    notes.push_back("单元格(" + PlainNumber(row) + "," + PlainNumber(col) +
                    ")的文字无法精确读取，按计算所用的双精度值 " + PlainNumber(used) +
                    " 的精确值计算。");
  }
  return std::move(reading.value);
}

}  // namespace orcalc::steps
