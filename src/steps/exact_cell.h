// A sheet cell read exactly, with a note where only the double the
// calculation used could be taken.
#pragma once

#include <gmpxx.h>

#include <string>
#include <vector>

#include "common/sheet.h"

namespace orcalc::steps {

// The exact number of cell (`row`, `col`), given the double `used` that the
// calculation read from it; where the text does not give that double, the
// double's exact value, and a note ("单元格(r,c)…") added to `notes`.
mpq_class ReadExactCell(const Sheet& sheet, int row, int col, double used,
                        std::vector<std::string>& notes);

}  // namespace orcalc::steps
