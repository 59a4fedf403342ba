// Rebuilds the condensed exchange tables of a goal calculation from the
// program and the steps it took, in exact fractions where that is
// affordable, and judges each choice again on the exact table.
#pragma once

#include <vector>

#include "goal/goal_model.h"
#include "goal/goal_solver.h"
#include "steps/goal_exact_model.h"
#include "steps/step_replay.h"
#include "steps/step_tableau.h"

namespace orcalc::steps {

struct GoalStepsInput {
  const goal::GoalModel* model = nullptr;  // as the calculation solved it
  const ExactGoalModel* exact = nullptr;   // the same, exactly
  const std::vector<goal::GoalStepRecord>* steps = nullptr;
  goal::GoalOutcome outcome = goal::GoalOutcome::Optimal;
};

// Fractions up to kMostExactRows goals and kMostExactColumns columns
// (variables and goals), within options.exact_seconds; decimals otherwise,
// with a note saying why.
StepsDocument ReplayGoalSteps(const GoalStepsInput& input, const ReplayOptions& options = {});

}  // namespace orcalc::steps
