#include "goal/goal_commands.h"

#include <algorithm>

#include "common/numeric_reading.h"
#include "goal/goal_model.h"
#include "goal/goal_report.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {
namespace {

constexpr int kWideColumn = 1700;  // twips

int Count(int value) { return std::clamp(value, 0, kMaxCount); }

bool Finite(const GoalSnapshot& snapshot) {
  return AllFinite(snapshot.achievement) && AllFinite(snapshot.solution);
}

}  // namespace

void LayOutSheet(Sheet& sheet, int goals, int variables) {
  const int M = Count(goals);
  const int N = Count(variables);
  sheet.SetCols(N + 7);
  sheet.SetRows(M + 1);
  sheet.SetColumnWidth(0, kWideColumn);
  for (int i = 1; i <= M; ++i) sheet.SetCell(i, 0, "约束方程" + std::to_string(i));
  for (int j = 1; j <= N; ++j) sheet.SetCell(0, j, "χ" + std::to_string(j) + " 系数");
  const int cols = sheet.cols();
  for (int c = cols - 4; c < cols; ++c) sheet.SetColumnWidth(c, kWideColumn);
  static const char* const kHeaders[] = {"约束符号",       "常数项",         "负偏差权重系数",
                                         "负偏差优先等级", "正偏差权重系数", "正偏差优先等级"};
  for (int k = 0; k < 6; ++k) sheet.SetCell(0, cols - 6 + k, kHeaders[k]);
}

CalculationOutcome Calculate(const GoalRequest& request, const Sheet& sheet) {
  CalculationOutcome outcome;
  outcome.title = "目标规划计算结果";
  const GoalIntake intake = ReadGoalModel(sheet, Count(request.goals), Count(request.variables));
  if (intake.overflow) {
    outcome.messages.push_back(OverflowMessage(intake.overflowRow, intake.overflowCol));
    return outcome;
  }

  GoalReport report(intake.model, request.decimal_separator);
  SolveOptions options;
  options.pivotLimit = request.pivot_limit;
  // Whether some block of the report shows a number that is not finite.
  bool overflow = false;
  options.progress = request.progress;
  const GoalResult result = SolveGoals(
      intake.model,
      [&](const GoalSnapshot& snapshot) {
        report.AddBlock(snapshot);
        overflow = overflow || !Finite(snapshot);
      },
      options);
  overflow = overflow || !Finite(result.final) || result.outcome == GoalOutcome::Overflow;
  switch (result.outcome) {
    case GoalOutcome::Stopped:
      outcome.stopped = true;
      return outcome;
    case GoalOutcome::Optimal:
      break;
    case GoalOutcome::PivotTooSmall:
    case GoalOutcome::RoundOff:
      outcome.messages.push_back("ROUNED ERROR IN SOLUSION");
      break;
    case GoalOutcome::Cycling:
      outcome.messages.push_back("计算出现循环，停止计算！");
      break;
    case GoalOutcome::PivotLimit:
      outcome.messages.push_back("循环次数超过32767次，停止计算！");
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
