#include "steps/goal_steps_command.h"

#include <vector>

#include "common/progress.h"
#include "steps/goal_exact_model.h"
#include "steps/goal_replay.h"

namespace orcalc::steps {

GoalStepsOutcome CalculateGoalSteps(const goal::GoalRequest& request, const Sheet& sheet,
                                    const ReplayOptions& options) {
  std::vector<goal::GoalStepRecord> records;
  goal::GoalRequest recorded = request;
  recorded.on_step = [&records, &request](const goal::GoalStepRecord& record) {
    records.push_back(record);
    if (request.on_step) request.on_step(record);
  };
  std::optional<goal::SolvedGoal> solved;
  GoalStepsOutcome run;
  run.outcome = goal::Calculate(recorded, sheet, nullptr, &solved);
  if (run.outcome.stopped || !solved) return run;

  if (request.progress) request.progress->SetPhase(ProgressPhase::Steps);
  const ExactGoalModel exact = ReadExactGoalModel(sheet, solved->model);
  StepsDocument doc =
      ReplayGoalSteps({&solved->model, &exact, &records, solved->result.outcome}, options);
  if (doc.stopped) {
    run.outcome.stopped = true;
    return run;
  }
  run.steps = std::move(doc);
  return run;
}

}  // namespace orcalc::steps
