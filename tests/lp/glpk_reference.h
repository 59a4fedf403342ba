// GLPK's verdict on a linear program, from its exact (rational) simplex
// method, the reference that floating-point round-off cannot mislead.
#pragma once

#include <glpk.h>

#include <climits>
#include <cmath>
#include <optional>
#include <span>

#include "lp/glpk_problem.h"
#include "lp/lp_problem.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {

enum class Verdict { Optimal, Infeasible, Unbounded, Unknown };

struct Reference {
  Verdict verdict = Verdict::Unknown;
  double objective = 0;  // the optimum, for Verdict::Optimal
  double scale = 0;      // the sum of |c_j x_j| over the optimal point
};

// The verdict of glp_exact started from glp_simplex's basis (so it works
// from a good basis and only confirms or corrects it in exact arithmetic).
inline Reference ExactReference(const LpProblem& p) {
  glp_prob* lp = GlpkProblem(p);
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  // GLPK's floating-point method can stall on badly scaled data: given up,
  // the exact method starts from the slack basis instead.
  parm.it_lim = 50000;
  if (glp_simplex(lp, &parm) != 0) glp_std_basis(lp);
  parm.it_lim = INT_MAX;
  Reference reference;
  if (glp_exact(lp, &parm) == 0) {
    switch (glp_get_status(lp)) {
      case GLP_OPT:
        reference = {Verdict::Optimal, glp_get_obj_val(lp), 0};
        for (int j = 1; j <= p.variables; ++j) {
          reference.scale +=
              std::fabs(p.objective[static_cast<std::size_t>(j - 1)] * glp_get_col_prim(lp, j));
        }
        break;
      case GLP_NOFEAS:
        reference.verdict = Verdict::Infeasible;
        break;
      case GLP_UNBND:
        reference.verdict = Verdict::Unbounded;
        break;
      default:
        break;
    }
  }
  glp_delete_prob(lp);
  return reference;
}

// glp_exact's optimum started from `basis` (as SimplexResult::basis hands
// it out; an artificial variable basic in a row is that row's own auxiliary
// variable): where the basis is optimal, the exact method confirms it
// without a step. nullopt when it finds no optimum.
inline std::optional<double> ExactFromBasis(const LpProblem& p, std::span<const int> basis) {
  glp_prob* lp = GlpkProblem(p);
  for (int j = 1; j <= p.variables; ++j) glp_set_col_stat(lp, j, GLP_NL);
  for (int i = 1; i <= p.constraints; ++i) {
    const double s = p.signs[static_cast<std::size_t>(i - 1)];
    glp_set_row_stat(lp, i, s == kLessEqual ? GLP_NU : s == kGreaterEqual ? GLP_NL : GLP_NS);
  }
  for (std::size_t r = 0; r < basis.size(); ++r) {
    const int column = basis[r];
    if (column == kArtificialColumn) {
      glp_set_row_stat(lp, static_cast<int>(r) + 1, GLP_BS);
    } else if (column < p.variables) {
      glp_set_col_stat(lp, column + 1, GLP_BS);
    } else {
      glp_set_row_stat(lp, column - p.variables + 1, GLP_BS);
    }
  }
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  std::optional<double> optimum;
  if (glp_exact(lp, &parm) == 0 && glp_get_status(lp) == GLP_OPT) optimum = glp_get_obj_val(lp);
  glp_delete_prob(lp);
  return optimum;
}

}  // namespace orcalc::lp
