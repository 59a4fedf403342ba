// The steps command over the linear-programming sheet: the calculation as
// 计算 runs it, its pivots recorded on the way, then its tableaux rebuilt.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "common/calculation.h"
#include "common/sheet.h"
#include "lp/lp_commands.h"
#include "steps/exact_problem.h"
#include "steps/step_replay.h"
#include "steps/step_tableau.h"

namespace orcalc::steps {

struct StepsOptions {
  bool fractions = true;  // false: decimals in any case
  double exact_seconds = kExactSeconds;
  long most_kept_cells = kMostKeptCells;
};

// What the tables were rebuilt from, kept while a window shows a large
// problem's tables so that those left out can be rebuilt a page at a time.
struct KeptCalculation {
  lp::LpProblem problem;
  ExactProblem exact;
  std::vector<lp::PivotRecord> pivots;
  lp::SimplexResult result;
  bool fractions = false;  // the tables were rebuilt in fractions
  long most_kept_cells = kMostKeptCells;
};

struct StepsOutcome {
  // The calculation's own outcome, messages and report as Calculate gives
  // them; `stopped` also when the tables were stopped part-way.
  CalculationOutcome calculation;
  // The tables; absent when the solver did not run to an end (a cell out
  // of range) or the user stopped the calculation or the tables.
  std::optional<StepsDocument> document;
  // Set when the document leaves tables out.
  std::shared_ptr<const KeptCalculation> kept;
};

// Runs lp::Calculate with `request` (its own on_pivot is replaced by the
// recording), then replays the pivots. The replay stops with the request's
// Progress, which shows ProgressPhase::Steps meanwhile.
StepsOutcome CalculateSteps(lp::LpRequest request, const Sheet& sheet,
                            const StepsOptions& options = {});

// The tables from table `first` (its number, from 0) on, as many as the
// cells allowed and the last one: a page of the tables a document left out.
StepsDocument ReplayPage(const KeptCalculation& kept, long first);

}  // namespace orcalc::steps
