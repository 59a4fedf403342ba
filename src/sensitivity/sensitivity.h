// Sensitivity analysis of a solved linear program: values, reduced costs,
// shadow prices and the ranges over which one objective coefficient or one
// right-hand side can move with the final basis staying optimal, and the
// dual problem's solution.
#pragma once

#include <vector>

#include "lp/lp_problem.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {

struct VariableSensitivity {
  double value = 0;         // χj
  double reduced_cost = 0;  // dS/dχj; 0 for a basic variable
  double coefficient = 0;   // c_j
  double lower = 0;         // range of c_j with the basis staying optimal;
  double upper = 0;         // an unlimited side is -inf or +inf
  bool basic = false;
  bool barred = false;  // held at 0 because phase 2 could not let it enter
};

struct ConstraintSensitivity {
  double activity = 0;      // Σ a_ij χj
  double shadow_price = 0;  // dS/db_i, also the dual variable y_i
  double rhs = 0;           // b_i, as normalised by the intake
  double lower = 0;         // range of b_i with the basis staying feasible;
  double upper = 0;         // an unlimited side is -inf or +inf
};

enum class SensitivityStatus {
  Done,
  NotOptimal,     // the solve did not end optimal in phase 2 without a message
  SingularBasis,  // the final basis cannot be factorised (never expected)
};

struct SensitivityAnalysis {
  SensitivityStatus status = SensitivityStatus::NotOptimal;
  std::vector<VariableSensitivity> variables;      // χ1..χm
  std::vector<ConstraintSensitivity> constraints;  // rows 1..n as echoed
  double objective = 0;                            // S = Σ c_j χj
  double dual_objective = 0;                       // Σ b_i y_i, equal to S
  // Some basic variable sits at 0: the shadow prices may not be unique.
  bool degenerate = false;
  // Some nonbasic column has a reduced cost of 0: the optimal point may not
  // be unique.
  bool not_unique = false;
};

// Derives everything from the problem's data and the final basis that
// `result` hands out (whose solve must be of `problem`); the basis matrix is
// factorised afresh. Applies only when `result` ended optimal in phase 2
// without a message; otherwise the status is NotOptimal and nothing else is
// set.
SensitivityAnalysis AnalyseSensitivity(const LpProblem& problem, const SimplexResult& result);

}  // namespace orcalc::lp
