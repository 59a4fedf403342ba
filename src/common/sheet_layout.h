// Where the sheet windows lay out a problem on the grid, and so how a sheet's
// shape gives its counts. Row 0 holds the column headers and column 0 the
// row headers; the variables' coefficients start in column 1.
#pragma once

namespace orcalc {

// The two kinds of sheet: the linear-programming sheet has the objective
// row above its constraint rows, the goal sheet starts with its goals.
enum class SheetKind { LinearProgramming, GoalProgramming };

// The largest number of variables, constraints or goals a sheet may hold.
inline constexpr int kMaxCount = 500;

inline constexpr int kFirstDataRow = 1;
inline constexpr int kFirstDataCol = 1;

struct SheetLayout {
  // The row of the first constraint (goal): on a linear-programming sheet
  // the objective row comes before it.
  int first_count_row;
  // The columns after the coefficients.
  int trailing_cols;

  // The smallest sheet of the kind: no variable and no constraint (goal).
  constexpr int SmallestRows() const { return first_count_row; }
  constexpr int SmallestCols() const { return kFirstDataCol + trailing_cols; }

  // The constraints (goals) and the variables a sheet of this shape holds;
  // negative when it is smaller than the smallest sheet.
  constexpr int CountFromRows(int rows) const { return rows - SmallestRows(); }
  constexpr int VariablesFromCols(int cols) const { return cols - SmallestCols(); }
  // The column of the constraint (goal) signs, right after the coefficients.
  constexpr int SignCol(int variables) const { return kFirstDataCol + variables; }
};

// Objective row, then one row per constraint; after the coefficients the
// sign and the right-hand side.
inline constexpr SheetLayout kLpSheetLayout{kFirstDataRow + 1, 2};
// One row per goal; after the coefficients the sign, the target, and the
// weight and priority level of the negative and of the positive deviation.
inline constexpr SheetLayout kGoalSheetLayout{kFirstDataRow, 6};

}  // namespace orcalc
