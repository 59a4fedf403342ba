// A goal-programming sheet read from a file: its counts.
#pragma once

#include <string>

#include "common/sheet.h"

namespace orcalc::goal {

struct GoalSheetFit {
  std::string mismatch;  // empty when the sheet is one OK lays out
  int goals = 0;         // M: rows - 1
  int variables = 0;     // N: columns - 7
};

// Checks the header row and column against the layout for the sheet's own
// counts; the data cells may hold anything.
GoalSheetFit FitGoalSheet(const Sheet& sheet);

}  // namespace orcalc::goal
