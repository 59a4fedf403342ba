#include "geometry/graph_lattice.h"

#include <cmath>

namespace orcalc::lp {
namespace {

constexpr double kRowTolerance = 1e-9;

bool Feasible(const LpProblem& problem, GraphPoint point) {
  for (int i = 0; i < problem.constraints; ++i) {
    const double t1 = problem.Coefficient(i, 0) * point.x1;
    const double t2 = problem.Coefficient(i, 1) * point.x2;
    const double b = problem.rhs[static_cast<std::size_t>(i)];
    const double slack = kRowTolerance * (std::fabs(t1) + std::fabs(t2) + std::fabs(b) + 1);
    const double excess = t1 + t2 - b;
    const double sign = problem.signs[static_cast<std::size_t>(i)];
    if (sign == kLessEqual && excess > slack) return false;
    if (sign == kGreaterEqual && excess < -slack) return false;
    if (sign == kEqual && std::fabs(excess) > slack) return false;
  }
  return true;
}

// The whole values of one variable inside [low, high] (none and 1 for 0-1).
struct WholeRange {
  double first = 0;
  double last = -1;
  double Count() const { return last < first ? 0 : last - first + 1; }
};

WholeRange RangeOf(integer::VariableType type, double low, double high) {
  WholeRange range{std::ceil(std::max(low, 0.0)), std::floor(high)};
  if (type == integer::VariableType::Binary) range.last = std::min(range.last, 1.0);
  return range;
}

}  // namespace

GraphLattice ComputeGraphLattice(const LpProblem& problem,
                                 const std::vector<integer::VariableType>& types,
                                 const GraphBox& box) {
  GraphLattice lattice;
  // The picture is drawn on the window's thread: a search of two variables
  // that needs more nodes than this (an open region, say) ends as a limit
  // reached rather than holding the window.
  integer::IntegerOptions options;
  options.node_limit = kPictureNodeLimit;
  const integer::IntegerResult search = integer::SolveBranchAndBound(problem, types, options);
  lattice.outcome = search.outcome;
  if (search.incumbent && search.incumbent->x.size() >= 2) {
    lattice.optimum = GraphPoint{search.incumbent->x[0], search.incumbent->x[1]};
    lattice.value = search.incumbent->objective;
  }
  if (types.size() < 2 || !integer::IsWhole(types[0]) || !integer::IsWhole(types[1]))
    return lattice;
  const WholeRange r1 = RangeOf(types[0], box.x1_min, box.x1_max);
  const WholeRange r2 = RangeOf(types[1], box.x2_min, box.x2_max);
  if (r1.Count() * r2.Count() > kMostLatticePoints) {
    lattice.too_many = true;
    return lattice;
  }
  for (double x2 = r2.first; x2 <= r2.last; ++x2)
    for (double x1 = r1.first; x1 <= r1.last; ++x1)
      if (Feasible(problem, {x1, x2})) lattice.points.push_back({x1, x2});
  return lattice;
}

}  // namespace orcalc::lp
