// A linear-programming sheet read from a file: its counts and sense.
#pragma once

#include <string>

#include "common/sheet.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

struct LpSheetFit {
  std::string mismatch;  // empty when the sheet is one OK lays out
  int variables = 0;     // m: columns - 3
  int constraints = 0;   // n: rows - 2
  Sense sense = Sense::Minimise;
  // The header row and column hold the layout's own texts (otherwise they
  // were named freely, and the sign column decided).
  bool as_laid_out = false;
};

// Fits a sheet whose header row and column are the layout's for the sheet's
// own counts (the data cells may hold anything), and a sheet of that shape
// with other header texts whose constraint rows' sign cells hold signs or
// nothing. Reads the sense cell.
LpSheetFit FitLpSheet(const Sheet& sheet);

// The sense recorded in the sheet's sense cell (objective row, last column):
// "Max", blanks removed, in any case, maximises; anything else minimises.
Sense SenseFromSheet(const Sheet& sheet);

}  // namespace orcalc::lp
