#include "lp/lp_problem.h"

namespace orcalc::lp {

void LpProblem::Resize(int m, int n) {
  variables = m;
  constraints = n;
  const auto um = static_cast<std::size_t>(m);
  const auto un = static_cast<std::size_t>(n);
  objective.assign(um, 0.0);
  coefficients.assign(um * un, 0.0);
  signs.assign(un, 0.0);
  rhs.assign(un, 0.0);
}

void NormaliseRightHandSides(LpProblem& problem) {
  const auto m = static_cast<std::size_t>(problem.variables);
  for (std::size_t i = 0; i < problem.rhs.size(); ++i) {
    if (!(problem.rhs[i] < 0)) continue;
    for (std::size_t j = 0; j < m; ++j) {
      problem.coefficients[i * m + j] = -1 * problem.coefficients[i * m + j];
    }
    problem.signs[i] = -1 * problem.signs[i];
    problem.rhs[i] = -1 * problem.rhs[i];
  }
}

}  // namespace orcalc::lp
