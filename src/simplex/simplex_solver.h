// The two-phase tableau simplex method.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "common/progress.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

inline constexpr double kEpsilon = 0.0001;
inline constexpr long kIterationLimit = 1000000;
// A row takes part in the ratio test when its entry in the pivot column is
// above this fraction of the column's largest magnitude (or above epsilon).
inline constexpr double kRatioFloor = 1e-9;
// An entry of the row in force within this fraction of the magnitudes of
// the terms it is made of is taken for round-off.
inline constexpr double kRoundOffFloor = 1e-12;
// Round-off in an entry of a constraint row: this fraction of its column's
// largest magnitude.
inline constexpr double kEntryNoise = 1e-15;
// Round-off in a basic variable's value: this fraction of the largest
// right-hand side.
inline constexpr double kValueNoise = 1e-12;

// A run of this many degenerate pivots in a row (each leaving the point
// where it is, so the objective does not move) hands the choice to the
// smallest-index rule until a pivot moves the point, whether or not a basis
// repeats. The written rule leaves a degenerate corner within a few dozen
// pivots on every problem of the tests' well-scaled and mixed-scale sets
// (the longest run there is well below this); stalling on large degenerate
// models (netlib's BRANDY) runs for hundreds of thousands without
// repeating a basis, which Bland's rule ends.
inline constexpr long kDegenerateRun = 100;

// In SimplexResult::basis: the row's own artificial variable is basic.
inline constexpr int kArtificialColumn = -1;

// One pivot as the method made it, for showing the tableaux step by step.
struct PivotRecord {
  int row = 0;     // the constraint row (0-based) whose basic variable leaves
  int column = 0;  // the entering column, numbered as in SimplexResult::basis
  int phase = 2;   // 1 while the phase-1 row is in force
  // Chosen by the smallest-index rule (against cycling or stalling), and
  // made while carrying on after a verdict that did not hold.
  bool smallest_index = false;
  bool carried_on = false;
  // Carrying on, the method found its tableau spoilt by round-off and set
  // it back to the first basis before this pivot.
  bool from_start = false;
};

struct SimplexOptions {
  // The loop stops once its counter, which starts at 1 and counts pivots and
  // phase ends alike, reaches this value.
  long iteration_limit = kIterationLimit;
  // Bland's rule while degenerate pivots revisit a basis, or after a long run
  // of them. Only tests turn it off, to show the cycling it prevents.
  bool anti_cycling = true;
  // Checks the verdict against the problem as read and, where it does not
  // hold, carries on with tolerances relative to each quantity's own scale
  // (see certificate.h). Only tests turn it off, to show the method as
  // written.
  bool certify = true;
  // The ratio test's floor relative to the pivot column. Only tests turn it
  // off, to compare with the fixed floor of epsilon it replaced.
  bool relative_ratio_floor = true;
  // Told the phase and the pivots made; asked before every pivot whether to
  // stop. Null runs to the end.
  Progress* progress = nullptr;
  // Called after every pivot with the whole tableau as stored (padding
  // included); tests use it to compare runs.
  std::function<void(std::span<const double>)> after_pivot = nullptr;
  // Told every pivot, in order; the phase ends and the verdict follow from
  // the phases of the pivots and the result.
  std::function<void(const PivotRecord&)> on_pivot = nullptr;
};

enum class SimplexOutcome {
  Optimal,         // the last phase ended with no improving column
  Unbounded,       // an entering column had no entry above the tolerance
  Phase1Stuck,     // phase 1 ended with an artificial variable still positive
  IterationLimit,  // the loop ran out of iterations
  Overflow,        // a column or row the method had to weigh was not finite
  Stopped,         // the caller asked the loop to stop; no results
};

struct SimplexResult {
  SimplexOutcome outcome = SimplexOutcome::Optimal;
  double objective = 0.0;  // S
  std::vector<double> x;   // x_1..x_m, 0 for variables basic in no row
  // What the final point shows, whatever the outcome: the rows still
  // holding a positive artificial variable, a basic variable below
  // -epsilon, a decision that only the tolerance made, and a number of the
  // point (S, a basic value) or a scale that is not finite.
  int infeasible_rows = 0;
  bool constraints_broken = false;
  bool tolerance_decided = false;
  bool not_finite = false;
  // Whether the verdict (optimum, unbounded, or infeasible at the end of
  // phase 1) was checked against the problem as read, and whether it holds
  // there. A checked verdict that does not hold carries a warning; one
  // that holds carries none, whatever the fixed tolerance decided.
  bool checked = false;
  bool certified = false;
  long pivots = 0;
  long phase1_pivots = 0;
  long bland_pivots = 0;  // pivots chosen by Bland's rule
  long longest_degenerate_run = 0;
  // Pivots made after the fixed tolerance's verdict, with tolerances
  // relative to each quantity's own scale, until the verdict held.
  long relative_pivots = 0;
  // The final basis, for each constraint row in order: the column of its
  // basic variable (0..m-1 the variable χ(j+1), m+s the slack or surplus of
  // constraint s) or kArtificialColumn.
  std::vector<int> basis;
  // The columns, numbered as in `basis`, that phase 2 did not let enter
  // because they would have lifted an artificial variable off 0.
  std::vector<int> barred;
};

// Whether the result is an optimum with nothing to warn about.
inline bool SolvedCleanly(const SimplexResult& result) {
  return result.outcome == SimplexOutcome::Optimal && result.infeasible_rows == 0 &&
         !result.constraints_broken && !result.tolerance_decided && !result.not_finite &&
         (!result.checked || result.certified);
}

// Solves `problem`, whose right-hand sides must be normalised (>= 0).
SimplexResult SolveSimplex(const LpProblem& problem, const SimplexOptions& options = {});

}  // namespace orcalc::lp
