// GLPK's verdict on a linear program, from its exact (rational) simplex
// method, the reference that floating-point round-off cannot mislead.
#pragma once

#include <glpk.h>

#include "lp/glpk_problem.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

enum class Verdict { Optimal, Infeasible, Unbounded, Unknown };

struct Reference {
  Verdict verdict = Verdict::Unknown;
  double objective = 0;  // the optimum, for Verdict::Optimal
};

// The verdict of glp_exact started from glp_simplex's basis (so it works
// from a good basis and only confirms or corrects it in exact arithmetic).
inline Reference ExactReference(const LpProblem& p) {
  glp_prob* lp = GlpkProblem(p);
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  glp_simplex(lp, &parm);
  Reference reference;
  if (glp_exact(lp, &parm) == 0) {
    switch (glp_get_status(lp)) {
      case GLP_OPT:
        reference = {Verdict::Optimal, glp_get_obj_val(lp)};
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
