// A node's relaxation solved from its parent's optimal basis by the dual
// simplex method: the branch changes only right-hand sides (or adds a bound
// row, whose slack joins the basis), so the parent's basis keeps every
// reduced cost on the right side and only some basic values fall below 0.
// Each step factorises the basis afresh from the problem's columns (no
// tableau, no accumulated round-off). The optimum found is certified by
// simplex/certificate.h as the simplex method's own is; anything else
// (a basis that is not dual feasible, a row no column can repair, too many
// steps, a certificate that fails) returns nothing, and the caller solves
// from scratch.
#pragma once

#include <optional>
#include <vector>

#include "common/progress.h"
#include "lp/lp_problem.h"
#include "simplex/simplex_solver.h"

namespace orcalc::integer {

// Steps before giving up: a child is typically a few pivots from its
// parent; one that takes more is left to the simplex method.
inline constexpr int kDualStepLimit = 300;

// `problem` normalised; `basis` one column per row as SimplexResult::basis.
// The certified optimum, or nothing.
std::optional<lp::SimplexResult> SolveFromBasis(const lp::LpProblem& problem,
                                                std::vector<int> basis,
                                                Progress* progress = nullptr);

}  // namespace orcalc::integer
