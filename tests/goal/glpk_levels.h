// GLPK as the goal solver's oracle: each level minimised in turn, its
// optimum then held as a constraint for the next.
#pragma once

#include <glpk.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "goal/goal_model.h"

namespace orcalc::goal {

// Every level's optimum. The held bound is kept within 1e-9 of the optimum
// (relative), which GLPK meets only within its feasibility tolerance, so a
// variable with a positive reduced cost (above `dual_floor`) is also fixed
// at 0, as it is in every optimum of that level. `exact` runs GLPK's exact
// simplex from the basis the floating one ends on.
inline std::vector<double> LevelOptima(const GoalModel& m, bool exact, double dual_floor) {
  const int M = m.constraint_count, N = m.variable_count, columns = N + 2 * M;
  glp_prob* lp = glp_create_prob();
  glp_add_cols(lp, columns);                                    // X1..XN, D1-..DM-, D1+..DM+
  std::vector<int> all(static_cast<std::size_t>(columns) + 1);  // 0, 1, ..., columns
  for (int c = 1; c <= columns; ++c) glp_set_col_bnds(lp, c, GLP_LO, 0, 0), all[c] = c;
  for (int i = 0; i < M; ++i) {  // A·X + D− − D+ = target
    std::vector<double> row(static_cast<std::size_t>(columns) + 1);
    for (int j = 0; j < N; ++j) row[j + 1] = m.Coefficient(i, j);
    row[N + i + 1] = 1, row[N + M + i + 1] = -1;
    glp_set_mat_row(lp, glp_add_rows(lp, 1), columns, all.data(), row.data());
    glp_set_row_bnds(lp, i + 1, GLP_FX, m.target[i], m.target[i]);
  }
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  std::vector<double> optima;
  for (int level = 1; level <= m.level_count; ++level) {
    std::vector<double> cost(static_cast<std::size_t>(columns) + 1);
    for (int i = 0; i < M; ++i) {
      if (m.neg_level[i] == level) cost[N + i + 1] = m.neg_weight[i];
      if (m.pos_level[i] == level) cost[N + M + i + 1] = m.pos_weight[i];
    }
    for (int c = 1; c <= columns; ++c) glp_set_obj_coef(lp, c, cost[c]);
    const int failed =
        exact ? (glp_simplex(lp, &parm), glp_exact(lp, &parm)) : glp_simplex(lp, &parm);
    if (failed || glp_get_status(lp) != GLP_OPT) {
      ADD_FAILURE() << "GLPK found no optimum at level " << level;
      break;
    }
    const double optimum = optima.emplace_back(glp_get_obj_val(lp));
    const int row = glp_add_rows(lp, 1);
    glp_set_mat_row(lp, row, columns, all.data(), cost.data());
    glp_set_row_bnds(lp, row, GLP_UP, 0, optimum + 1e-9 * std::max(1.0, std::fabs(optimum)));
    for (int c = 1; c <= columns; ++c)
      if (glp_get_col_dual(lp, c) > dual_floor) glp_set_col_bnds(lp, c, GLP_FX, 0, 0);
  }
  glp_delete_prob(lp);
  return optima;
}

}  // namespace orcalc::goal
