// The whole-number side of the graphical method: the points of the region
// whose whole-number variables are whole, and the best of them, which the
// picture marks beside the linear program's optimum.
#pragma once

#include <optional>
#include <vector>

#include "geometry/graph_geometry.h"
#include "integer/branch_and_bound.h"
#include "integer/variable_types.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

// The most whole-number points the picture marks. The box has 4 to 8 tick
// intervals a side, so 400 points (20 × 20 at most when both variables are
// whole) stay at least about 1/20 of the picture apart — 20 pixels in the
// window's smallest picture — and each dot can be told from its neighbours;
// beyond that the dots merge into a grey field that hides the region.
inline constexpr int kMostLatticePoints = 400;
// The most nodes the picture's search of the integer optimum takes.
inline constexpr long kPictureNodeLimit = 2000;

// `problem` in two variables as the graph takes it (right-hand sides
// normalised), `types` one per variable with at least one whole, and the
// picture's box. A point is feasible when every row holds within 1e-9 of
// its terms' magnitude.
GraphLattice ComputeGraphLattice(const LpProblem& problem,
                                 const std::vector<integer::VariableType>& types,
                                 const GraphBox& box);

}  // namespace orcalc::lp
