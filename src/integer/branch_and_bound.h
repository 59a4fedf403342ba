// Branch and bound over the simplex method: the best whole-number solution
// of a linear program some of whose variables must be whole numbers.
//
// Every node's relaxation is the problem as read with the bounds its
// branches set (a lower bound shifted out of the variable, an upper bound as
// a row χj ≤ u, and χj ≤ 1 for a 0-1 variable). A child starts from its
// parent's optimal basis by the dual simplex method (dual_warm_start.h),
// its optimum or infeasibility certified against its rows as a plain
// calculation's is; where that does not settle it, the simplex method
// solves it from scratch and certifies it. Bases are kept for open nodes up
// to a fixed total size. A node whose
// relaxation's optimum has a whole-number variable at a fractional value v
// branches into χj ≤ ⌊v⌋
// and χj ≥ ⌈v⌉. The search goes depth first until it finds a first
// whole-number solution, then always takes the open node of the best bound.
#pragma once

#include <optional>
#include <vector>

#include "common/progress.h"
#include "integer/variable_types.h"
#include "lp/lp_problem.h"
#include "simplex/simplex_solver.h"

namespace orcalc::integer {

inline constexpr long kDefaultNodeLimit = 100000;

// A value of a whole-number variable within this fraction of its magnitude
// (at least 1) of a whole number is that whole number: a certified
// relaxation's point is good to about 1e-12 of its values (see
// simplex/certificate.h), so this is far above round-off and far below any
// fraction a branch could cut off.
inline constexpr double kWholeTolerance = 1e-9;

enum class IntegerOutcome {
  Optimal,                // the best whole-number solution, proven
  NoWholeSolution,        // no point of the rows is whole where it must be
  RelaxationUnbounded,    // a relaxation's objective is unbounded
  RelaxationFailed,       // a relaxation ran out of iterations or overflowed
  LimitWithIncumbent,     // the node or time limit stopped the search
  LimitWithoutIncumbent,  // the same before any whole-number solution
  Stopped,                // the caller asked the search to stop
};

enum class NodeFate {
  Open,             // not examined when the search ended
  Branched,         // split on a fractional variable
  FathomedByBound,  // its bound cannot beat the best whole-number solution
  Infeasible,       // its relaxation has no point
  WholeSolution,    // its relaxation's optimum is whole where it must be
  Failed,           // its relaxation ended without a verdict
};

struct SearchNode {
  int parent = -1;  // -1 for the root
  int depth = 0;
  // The branching row that made it: χ(variable+1) ≤ value (upper) or ≥ value.
  int variable = -1;
  bool upper = false;
  double value = 0;
  // Its parent's relaxation S; for the root, infinitely good.
  double bound = 0;
  std::optional<double> relaxation;  // its relaxation's S, when solved to an optimum
  NodeFate fate = NodeFate::Open;
};

struct IntegerOptions {
  long node_limit = kDefaultNodeLimit;
  long iteration_limit = lp::kIterationLimit;  // each relaxation's
  // Told the nodes, the incumbent and the bound after every node; asked by
  // every relaxation whether to stop. Its time limit ends the search as a
  // limit reached (with the incumbent kept); a request stops it.
  Progress* progress = nullptr;
};

struct IntegerResult {
  IntegerOutcome outcome = IntegerOutcome::Optimal;
  bool time_limit = false;  // the limit reached was the time limit
  // The best whole-number solution: outcome Optimal, the point with its
  // whole-number variables rounded to whole numbers, S from the problem's
  // objective at that point.
  std::optional<lp::SimplexResult> incumbent;
  long nodes = 0;  // nodes examined
  // The best S any whole-number solution could have (the incumbent's when
  // proven); unset before the root's relaxation is solved.
  std::optional<double> best_bound;
  std::vector<SearchNode> tree;
  // The relaxation that ended the search (unbounded or failed).
  std::optional<lp::SimplexResult> ending_relaxation;
  // Some relaxation's verdict carried a warning of the simplex method.
  bool doubtful_relaxation = false;
  // Whether the objective counts only whole-number variables with
  // whole-number coefficients (a node must then beat the incumbent by 1).
  bool whole_objective = false;
};

// `problem` as the simplex method takes it (right-hand sides normalised),
// `types` one per variable.
IntegerResult SolveBranchAndBound(const lp::LpProblem& problem,
                                  const std::vector<VariableType>& types,
                                  const IntegerOptions& options = {});

}  // namespace orcalc::integer
