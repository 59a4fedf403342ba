// The goal program of a sheet in exact fractions, read from the cells'
// texts: "0.1" is 1/10, not the double nearest to it.
#pragma once

#include <gmpxx.h>

#include <string>
#include <vector>

#include "common/sheet.h"
#include "goal/goal_model.h"

namespace orcalc::steps {

struct ExactGoalModel {
  std::vector<mpq_class> coef;  // M × N, row by row
  std::vector<mpq_class> target;
  std::vector<mpq_class> neg_weight;
  std::vector<mpq_class> pos_weight;
  // Cells whose text could not be read exactly ("单元格(r,c)…").
  std::vector<std::string> notes;
};

// The cells of `model` (as ReadGoalModel read it from `sheet`) read
// exactly; a cell whose text does not give the double the calculation used
// counts as that double's exact value, with a note.
ExactGoalModel ReadExactGoalModel(const Sheet& sheet, const goal::GoalModel& model);

// The exact values of the doubles of `model`, for a program that comes from
// no sheet.
ExactGoalModel ExactGoalFromDoubles(const goal::GoalModel& model);

}  // namespace orcalc::steps
