// The figures of a goal program's calculation for scripts: how it ended,
// each level's achievement, every variable and deviation, every block of
// the report and every message.
#pragma once

#include <vector>

#include "common/calculation.h"
#include "common/result_status.h"
#include "common/result_writer.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {

// What Calculate hands out besides its outcome.
struct GoalRun {
  bool cell_overflow = false;  // a cell too large for a double: nothing solved
  int goals = 0;               // M
  int variables = 0;           // N
  int levels = 0;              // L
  GoalOutcome outcome = GoalOutcome::Optimal;
  bool numeric_overflow = false;  // some block shows a number that is not finite
  // One per block of the report, in order: a snapshot after every pivot,
  // then the final one.
  std::vector<GoalSnapshot> blocks;
};

ResultStatus GoalStatus(GoalOutcome outcome);

// The messages of the run with their keywords: "round_off", "cycling",
// "pivot_limit", "numeric_overflow", or "cell_overflow".
std::vector<KeyedMessage> GoalNotices(const GoalRun& run, const CalculationOutcome& outcome);

// One object: "status", "pivots", "achievement" (level 1…L), "variables"
// (X1…XN), "negative_deviations" and "positive_deviations" (D1…DM) as the
// final block shows them (null and empty without one), "blocks" (each with
// the same five figures), "messages".
void WriteGoalResult(ResultWriter& out, const GoalRun& run, const CalculationOutcome& outcome,
                     ResultStatus stopped_as = ResultStatus::Cancelled);

}  // namespace orcalc::goal
