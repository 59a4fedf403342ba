// The goal-programming sheet's two commands over a Sheet.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/calculation.h"
#include "common/progress.h"
#include "common/sheet.h"
#include "goal/goal_model.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {

// OK: M+1 rows, N+7 columns, widths 1700 twips for column 0 and the last
// four columns (widths set earlier are kept), the headers. No cell is cleared.
void LayOutSheet(Sheet& sheet, int goals, int variables);

struct GoalRequest {
  int goals = 0;      // M, 0..500
  int variables = 0;  // N, 0..500
  std::string decimal_separator = ".";
  int pivot_limit = 32767;  // most pivots (tests lower it)
  // Progress of the solve and the way to stop it; null runs to the end.
  Progress* progress = nullptr;
  // Told each step the solver takes (SolveOptions::on_step); null: none.
  std::function<void(const GoalStepRecord&)> on_step = nullptr;
};

// The program a calculation solved and how the solver ended, for the
// steps that replay it.
struct SolvedGoal {
  GoalModel model;
  GoalResult result;
};

// Calculate: the report (title "目标规划计算结果") and the messages in order:
// the solver's stop message if any ("ROUNED ERROR IN SOLUSION" also when
// round-off decided a level), then kNumericOverflowMessage when a block of
// the report shows a number that is not finite. A cell whose number
// overflows gives its message alone and no report; cells beyond the sheet
// read as empty. Stopped through `progress`: no report, no messages,
// `stopped` set. When `run` is given, it receives the figures behind the
// report; when the solver ran, `solved` (if given) receives the program and
// the solver's result.
struct GoalRun;
CalculationOutcome Calculate(const GoalRequest& request, const Sheet& sheet, GoalRun* run = nullptr,
                             std::optional<SolvedGoal>* solved = nullptr);

}  // namespace orcalc::goal
