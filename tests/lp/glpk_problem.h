// A linear program handed to GLPK, the outside reference of the tests.
#pragma once

#include <glpk.h>

#include <vector>

#include "lp/lp_problem.h"

namespace orcalc::lp {

// `p` as a GLPK problem with every variable >= 0; the caller deletes it.
inline glp_prob* GlpkProblem(const LpProblem& p) {
  glp_term_out(GLP_OFF);
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, p.sense == Sense::Maximise ? GLP_MAX : GLP_MIN);
  glp_add_cols(lp, p.variables);
  std::vector<int> index(static_cast<std::size_t>(p.variables) + 1);
  std::vector<double> value(index.size());
  for (int j = 1; j <= p.variables; ++j) {
    index[static_cast<std::size_t>(j)] = j;
    glp_set_col_bnds(lp, j, GLP_LO, 0, 0);
    glp_set_obj_coef(lp, j, p.objective[static_cast<std::size_t>(j - 1)]);
  }
  if (p.constraints > 0) glp_add_rows(lp, p.constraints);
  for (int i = 0; i < p.constraints; ++i) {
    const double s = p.signs[static_cast<std::size_t>(i)], b = p.rhs[static_cast<std::size_t>(i)];
    glp_set_row_bnds(lp, i + 1,
                     s == kLessEqual      ? GLP_UP
                     : s == kGreaterEqual ? GLP_LO
                                          : GLP_FX,
                     b, b);
    for (int j = 1; j <= p.variables; ++j)
      value[static_cast<std::size_t>(j)] = p.Coefficient(i, j - 1);
    glp_set_mat_row(lp, i + 1, p.variables, index.data(), value.data());
  }
  return lp;
}

}  // namespace orcalc::lp
