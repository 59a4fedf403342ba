// A goal-programming problem as read from the goal sheet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/cell_reader.h"
#include "common/sheet.h"

namespace orcalc::goal {

// Goal i (0-based here, row i+1 of the sheet) reads
//   coef(i,0)·X1 + … + coef(i,N-1)·XN + D(i)- − D(i)+ = target(i);
// each deviation carries a weight and a priority level. Level 1 is
// minimised first; levels outside 1..level_count never cost anything.
struct GoalModel {
  int constraint_count = 0;  // M
  int variable_count = 0;    // N
  int level_count = 0;       // L, always N
  std::vector<double> coef;  // M × N, row by row
  std::vector<double> target;
  std::vector<double> neg_weight;
  std::vector<std::int16_t> neg_level;
  std::vector<double> pos_weight;
  std::vector<std::int16_t> pos_level;

  double Coefficient(int i, int j) const {
    return coef[static_cast<std::size_t>(i) * static_cast<std::size_t>(variable_count) +
                static_cast<std::size_t>(j)];
  }
};

// A level cell's number: rounded to the nearest whole number, halves to the
// even neighbour, then kept within the 16-bit range (a value outside it is
// clamped and so lies outside every real level).
std::int16_t RoundLevel(double value);

struct GoalIntake {
  GoalModel model;
  // The first cell read whose number does not fit a double; nothing else is
  // read after it and the model must not be used.
  std::optional<CellPosition> overflow;
};

// Reads M goals over N variables from the sheet, goal rows from the top; in
// each row columns 1..N, then N+2..N+6 (the sign column N+1 is not read).
// Cells beyond the sheet read as empty, that is as 0.
GoalIntake ReadGoalModel(const Sheet& sheet, int goals, int variables);

}  // namespace orcalc::goal
