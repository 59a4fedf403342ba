// The graphical method for a linear program in two variables: the feasible
// region in the first quadrant as a convex polygon, its corner points, the
// optimum, and a drawing box with round tick steps that shows all of it.
#pragma once

#include <optional>
#include <vector>

#include "integer/branch_and_bound.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

// Boundary lines are named by a number: 1..n for the constraints, and these
// two for the axes of the first quadrant.
inline constexpr int kLineChi1Zero = -1;  // χ1 = 0, the χ2 axis
inline constexpr int kLineChi2Zero = -2;  // χ2 = 0, the χ1 axis

struct GraphPoint {
  double x1 = 0.0;
  double x2 = 0.0;
  bool operator==(const GraphPoint&) const = default;
};

struct GraphCorner {
  GraphPoint point;
  double value = 0.0;      // S = c1·χ1 + c2·χ2
  std::vector<int> lines;  // the lines through it: axes first, then constraints ascending
};

enum class GraphRegion {
  Empty,      // no point satisfies every constraint
  Bounded,    // a polygon, a segment or a single point
  Unbounded,  // open in the directions open_first .. open_last
};

enum class GraphOutcome {
  Empty,      // no feasible point: no optimum
  Optimal,    // the optimum below
  Unbounded,  // the objective improves without limit along an open direction
};

struct GraphOptimum {
  double value = 0.0;        // S at the optimum
  std::vector<int> corners;  // indices of the optimal corners, in the corners' order
  // The optimum goes on from corners.front() along open_first, or from
  // corners.back() along open_last (the objective is constant along it).
  bool along_first_ray = false;
  bool along_last_ray = false;
  bool unique() const { return corners.size() == 1 && !along_first_ray && !along_last_ray; }
};

// [x1_min, x1_max] × [x2_min, x2_max], ticks every x1_step and x2_step (1, 2
// or 5 times a power of ten) from the lower ends, which are 0 or whole steps.
struct GraphBox {
  double x1_min = 0.0;
  double x2_min = 0.0;
  double x1_max = 1.0;
  double x2_max = 1.0;
  double x1_step = 0.2;
  double x2_step = 0.2;
};

// A constraint with at least one nonzero coefficient, as a line in the
// picture.
struct GraphConstraintLine {
  int index = 0;  // 1..n
  double a1 = 0.0, a2 = 0.0, b = 0.0;
  double sign = kEqual;  // kLessEqual, kGreaterEqual or kEqual
  // Unit vector toward the side that violates the constraint (zero for an
  // equality).
  GraphPoint infeasible_side;
  bool visible = false;  // whether the line crosses the drawing box
  GraphPoint from, to;   // its piece inside the box, when visible
};

// With a whole-number variable: the whole-number points of the region and
// the best of them (ComputeGraphLattice).
struct GraphLattice {
  // The feasible points inside the box with both coordinates whole (only 0
  // and 1 for a 0-1 variable), row by row; empty when the box holds more
  // whole-number points than the picture marks (kMostLatticePoints) or a
  // variable is continuous.
  std::vector<GraphPoint> points;
  bool too_many = false;  // points left out because the box holds too many
  integer::IntegerOutcome outcome = integer::IntegerOutcome::NoWholeSolution;
  std::optional<GraphPoint> optimum;  // the best whole-number solution
  double value = 0.0;                 // S there
};

struct GraphGeometry {
  Sense sense = Sense::Maximise;
  double c1 = 0.0, c2 = 0.0;

  GraphRegion region = GraphRegion::Empty;
  // Counterclockwise. For an unbounded region: the corners between the two
  // open directions, from the one next to open_first to the one next to
  // open_last.
  std::vector<GraphCorner> corners;
  // Unbounded region: unit directions of the two unbounded edges; the region
  // is the corners' hull plus every combination of these two directions.
  GraphPoint open_first, open_last;
  // A constraint with both coefficients 0 that no point satisfies (its
  // index), or 0.
  int contradictory_zero_row = 0;

  GraphOutcome outcome = GraphOutcome::Empty;
  GraphOptimum optimum;  // when outcome is Optimal

  GraphBox box;
  std::vector<GraphConstraintLine> lines;
  // The region clipped to the box (counterclockwise; empty when the region
  // is empty).
  std::vector<GraphPoint> shaded;
  // The objective's level line through the corner with the best value (the
  // optimum, when there is one), inside the box; absent when both objective
  // coefficients are 0 or there is no corner.
  bool has_level_line = false;
  GraphPoint level_from, level_to;
  GraphPoint level_point;  // the corner it goes through
  // Set when a variable must be whole.
  std::optional<GraphLattice> lattice;
};

// The geometry of `problem`, which must have exactly two variables. Works
// on the rows as given (the intake has normalised them). A point lies on the
// line a1·χ1 + a2·χ2 = b when |a1·χ1 + a2·χ2 − b| is within 1e-9 of the
// line's own terms there, |a1·χ1| + |a2·χ2| + |b|, plus what the rounding of
// the point's coordinates can account for (about 1e-12 of the magnitudes
// each was computed from); on an axis only that rounding counts. Two points
// are one when each coordinate agrees within their rounding. Lines at an
// angle below about 1e-12 are parallel, and corners more than about 1e8
// times the data's scale (the distance of the farthest line from the
// origin) away count as lying at infinity.
GraphGeometry ComputeGraph(const LpProblem& problem);

// The drawing box for extents e1 and e2 (largest coordinate to show on each
// axis): at least 10 % more than each, rounded up to a multiple of a step of
// 1, 2 or 5 × 10^k that gives 4 to 8 intervals. An extent of 0 (or below
// 1e-305) takes the other one, both 0 give [0, 1].
GraphBox NiceGraphBox(double e1, double e2);

}  // namespace orcalc::lp
