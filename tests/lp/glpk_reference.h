// GLPK's verdict on a linear program, from its exact (rational) simplex
// method, the reference that floating-point round-off cannot mislead. Its
// optimum is taken from its final basis in exact arithmetic: the solution
// GLPK stores after the exact method is recomputed in doubles from that
// basis, off by up to 1e-6 of S where the basis is ill-conditioned.
#pragma once

#include <glpk.h>

#include <climits>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "lp/exact_basis.h"
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

// GLPK's basis as SimplexResult::basis hands one out: an equality row's
// auxiliary variable basic is that row's artificial variable, in that
// row's place; the other basic variables fill the other places.
inline std::vector<int> BasisOfGlpk(glp_prob* lp, const LpProblem& p) {
  const int m = p.variables;
  std::vector<int> basis(static_cast<std::size_t>(p.constraints), kArtificialColumn - 1);
  std::vector<int> others;
  for (int i = 1; i <= p.constraints; ++i) {
    if (glp_get_row_stat(lp, i) != GLP_BS) continue;
    if (p.signs[static_cast<std::size_t>(i - 1)] == kEqual)
      basis[static_cast<std::size_t>(i - 1)] = kArtificialColumn;
    else
      others.push_back(m + i - 1);
  }
  for (int j = 1; j <= m; ++j)
    if (glp_get_col_stat(lp, j) == GLP_BS) others.push_back(j - 1);
  std::size_t next = 0;
  for (int& b : basis)
    if (b == kArtificialColumn - 1 && next < others.size()) b = others[next++];
  return basis;
}

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
        reference = {Verdict::Optimal,
                     ExactlyOptimal(p, BasisOfGlpk(lp, p)).value_or(glp_get_obj_val(lp)), 0};
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

}  // namespace orcalc::lp
