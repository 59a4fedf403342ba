// The linear program of a sheet in exact fractions, read from the cells'
// texts and normalised as the calculation's intake does.
#pragma once

#include <gmpxx.h>

#include <string>
#include <vector>

#include "common/sheet.h"
#include "lp/lp_problem.h"

namespace orcalc::steps {

struct ExactProblem {
  std::vector<mpq_class> objective;     // c_1..c_m as entered
  std::vector<mpq_class> coefficients;  // [i * m + j], normalised
  std::vector<mpq_class> rhs;           // normalised, >= 0
  std::vector<int> flipped;             // constraints (1-based) multiplied by -1
  // Cells whose text could not be read exactly ("单元格(r,c)…").
  std::vector<std::string> notes;
};

// The cells of `problem` (as ReadLpSheet read and normalised it from
// `sheet`) read exactly; a row is flipped exactly when the intake flipped it.
ExactProblem ReadExactProblem(const Sheet& sheet, const lp::LpProblem& problem);

// The exact values of the doubles of `problem`, for a problem that comes
// from no sheet.
ExactProblem ExactFromDoubles(const lp::LpProblem& problem);

}  // namespace orcalc::steps
