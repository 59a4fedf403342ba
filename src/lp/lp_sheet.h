// The linear-programming sheet read back as a problem.
#pragma once

#include <string_view>

#include "common/sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

// The sign code of a sign cell's text: +1 when it holds "≤", otherwise -1
// when it holds "≥", otherwise 0 (equality; also an empty cell or "=").
double SignCode(std::string_view text);

struct LpIntake {
  LpProblem problem;
  // The first cell, in reading order, whose number is too large for a
  // double; the problem is then incomplete and must not be solved.
  bool overflow = false;
  int overflow_row = 0;
  int overflow_col = 0;
};

// Reads m variables and n constraints from the sheet (constraint rows top to
// bottom, each left to right, then the objective row), with the right-hand
// sides normalised. Cells beyond the sheet read as empty.
LpIntake ReadLpSheet(const Sheet& sheet, int variables, int constraints, Sense sense);

}  // namespace orcalc::lp
