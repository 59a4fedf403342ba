// A goal-programming sheet read from a file: its counts.
#pragma once

#include <string>

#include "common/sheet.h"

namespace orcalc::goal {

struct GoalSheetFit {
  std::string mismatch;  // empty when the sheet is one OK lays out
  int goals = 0;         // M: rows - 1
  int variables = 0;     // N: columns - 7
  // The header row and column hold the layout's own texts (otherwise they
  // were named freely, and the sign column decided).
  bool as_laid_out = false;
};

// Fits a sheet whose header row and column are the layout's for the sheet's
// own counts (the data cells may hold anything), and a sheet of that shape
// with other header texts whose sign cells hold signs or nothing.
GoalSheetFit FitGoalSheet(const Sheet& sheet);

}  // namespace orcalc::goal
