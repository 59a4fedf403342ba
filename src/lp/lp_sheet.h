// The linear-programming sheet read back as a problem.
#pragma once

#include <optional>
#include <string_view>

#include "common/cell_reader.h"
#include "common/sheet.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

// OK: n+2 rows, m+3 columns, column 0 1700 twips wide, the header texts,
// " ═ " and " Max "/" Min " in the objective row. No cell is cleared.
void LayOutSheet(Sheet& sheet, int variables, int constraints, Sense sense);

// The sign code of a sign cell's text: +1 when it holds "≤", otherwise -1
// when it holds "≥", otherwise 0 (equality; also an empty cell or "=").
double SignCode(std::string_view text);

struct LpIntake {
  LpProblem problem;
  // The first cell, in reading order, whose number is too large for a
  // double; the problem is then incomplete and must not be solved.
  std::optional<CellPosition> overflow;
};

// Reads m variables and n constraints from the sheet (constraint rows top to
// bottom, each left to right, then the objective row), with the right-hand
// sides normalised. Cells beyond the sheet read as empty.
LpIntake ReadLpSheet(const Sheet& sheet, int variables, int constraints, Sense sense);

}  // namespace orcalc::lp
