#include "goal/goal_commands.h"

#include <algorithm>

#include "common/numeric_reading.h"
#include "goal/goal_model.h"
#include "goal/goal_report.h"
#include "goal/goal_result.h"
#include "goal/goal_solver.h"
#include "goal/goal_texts.h"

namespace orcalc::goal {
namespace {

constexpr int kWideColumn = 1700;  // twips

bool Finite(const GoalSnapshot& snapshot) {
  return AllFinite(snapshot.achievement) && AllFinite(snapshot.solution);
}

}  // namespace

void LayOutSheet(Sheet& sheet, int goals, int variables) {
  const int M = ClampCount(goals);
  const int N = ClampCount(variables);
  sheet.SetCols(N + 7);
  sheet.SetRows(M + 1);
  sheet.SetColumnWidth(0, kWideColumn);
  for (int i = 1; i <= M; ++i) sheet.SetCell(i, 0, kGoalRowLabel + std::to_string(i));
  for (int j = 1; j <= N; ++j) sheet.SetCell(0, j, "χ" + std::to_string(j) + kCoefficientLabel);
  const int cols = sheet.cols();
  for (int c = cols - 4; c < cols; ++c) sheet.SetColumnWidth(c, kWideColumn);
  int col = cols - 6;
  for (const char* header : kTrailingHeaders) sheet.SetCell(0, col++, header);
}

CalculationOutcome Calculate(const GoalRequest& request, const Sheet& sheet, GoalRun* run,
                             std::optional<SolvedGoal>* solved) {
  CalculationOutcome outcome;
  outcome.title = kGoalTitle;
  const GoalIntake intake = ReadGoalModel(sheet, request.goals, request.variables);
  if (intake.overflow) {
    outcome.messages.push_back(OverflowMessage(*intake.overflow));
    if (run) run->cell_overflow = true;
    return outcome;
  }
  if (run) {
    run->goals = intake.model.constraint_count;
    run->variables = intake.model.variable_count;
    run->levels = intake.model.level_count;
  }

  GoalReport report(intake.model, request.decimal_separator);
  SolveOptions options;
  options.pivot_limit = request.pivot_limit;
  // Whether some block of the report shows a number that is not finite.
  bool overflow = false;
  options.progress = request.progress;
  options.on_step = request.on_step;
  const GoalResult result = SolveGoals(
      intake.model,
      [&](const GoalSnapshot& snapshot) {
        report.AddBlock(snapshot);
        if (run) run->blocks.push_back(snapshot);
        overflow = overflow || !Finite(snapshot);
      },
      options);
  overflow = overflow || !Finite(result.final) || result.outcome == GoalOutcome::Overflow;
  if (run) {
    run->outcome = result.outcome;
    run->numeric_overflow = overflow;
    if (result.outcome != GoalOutcome::Stopped) run->blocks.push_back(result.final);
  }
  if (solved) solved->emplace(SolvedGoal{intake.model, result});
  switch (result.outcome) {
    case GoalOutcome::Stopped:
      outcome.stopped = true;
      return outcome;
    case GoalOutcome::Optimal:
      break;
    case GoalOutcome::PivotTooSmall:
    case GoalOutcome::RoundOff:
      outcome.messages.emplace_back(kRoundOffMessage);
      break;
    case GoalOutcome::Cycling:
      outcome.messages.emplace_back(kCyclingMessage);
      break;
    case GoalOutcome::PivotLimit:
      outcome.messages.emplace_back(kPivotLimitMessage);
      break;
    case GoalOutcome::Overflow:
      break;
  }
  if (overflow) outcome.messages.emplace_back(kNumericOverflowMessage);
  if (request.progress) request.progress->SetPhase(ProgressPhase::Report);
  report.Finish(result.outcome, result.final);
  outcome.report = report.Take();
  return outcome;
}

}  // namespace orcalc::goal
