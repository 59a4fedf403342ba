// The goal sheet's calculation with its steps: the calculation runs exactly
// as 计算 runs it (the same report and messages), and its tables are then
// rebuilt from the steps it took.
#pragma once

#include <optional>

#include "common/calculation.h"
#include "common/sheet.h"
#include "goal/goal_commands.h"
#include "steps/step_replay.h"
#include "steps/step_tableau.h"

namespace orcalc::steps {

struct GoalStepsOutcome {
  CalculationOutcome outcome;  // as goal::Calculate gives it
  // The tables; none when the program could not be read (a cell's number
  // overflows) or the calculation or the replay was stopped (outcome.stopped
  // is then set).
  std::optional<StepsDocument> steps;
};

// Any on_step of the request is told too. The replay is asked to stop by
// options.should_stop.
GoalStepsOutcome CalculateGoalSteps(const goal::GoalRequest& request, const Sheet& sheet,
                                    const ReplayOptions& options = {});

}  // namespace orcalc::steps
