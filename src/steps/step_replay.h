// Rebuilds the tableaux of a calculation from the problem and the pivots
// it made, in exact fractions where that is affordable, and judges each
// choice again on the exact tableau.
#pragma once

#include <functional>
#include <vector>

#include "lp/lp_problem.h"
#include "simplex/simplex_solver.h"
#include "steps/exact_problem.h"
#include "steps/step_tableau.h"

namespace orcalc::steps {

// Fractions up to this many constraint rows and columns (variables,
// slack, surplus and artificial), and within the time budget.
inline constexpr int kMostExactRows = 50;
inline constexpr int kMostExactColumns = 100;
inline constexpr double kExactSeconds = 2.0;
// The tables kept hold at most this many cells in all; the tables after
// are left out, the last one excepted.
inline constexpr long kMostKeptCells = 1000000;

struct StepsInput {
  const lp::LpProblem* problem = nullptr;  // as the calculation solved it
  const ExactProblem* exact = nullptr;     // the same, exactly
  const std::vector<lp::PivotRecord>* pivots = nullptr;
  const lp::SimplexResult* result = nullptr;
};

struct ReplayOptions {
  bool fractions = true;                        // false: decimals in any case
  double exact_seconds = kExactSeconds;         // then decimals
  std::function<bool()> should_stop = nullptr;  // asked now and then; true stops
  long most_kept_cells = kMostKeptCells;
  // The first table kept (its number, from 0): a later page of the tables
  // of a large problem; the last table is kept in any case.
  long keep_from = 0;
};

StepsDocument ReplaySteps(const StepsInput& input, const ReplayOptions& options = {});

// The note on a document that leaves tables out: which ones it lists.
std::string LeftOutNote(const StepsDocument& doc);

}  // namespace orcalc::steps
