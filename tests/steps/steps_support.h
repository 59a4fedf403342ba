// Linear-programming sheets written as texts, solved as the calculate
// command solves them, and their steps replayed.
#pragma once

#include <string>
#include <vector>

#include "common/sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_sheet.h"
#include "steps/exact_problem.h"
#include "steps/step_replay.h"

namespace orcalc::steps {

// Each row: m coefficient texts, the sign text ("<=", ">=", "="), the
// right-hand side text.
inline Sheet MakeSheet(lp::Sense sense, const std::vector<std::string>& objective,
                       const std::vector<std::vector<std::string>>& rows) {
  const int m = static_cast<int>(objective.size());
  Sheet sheet;
  lp::LayOutSheet(sheet, m, static_cast<int>(rows.size()), sense);
  for (int j = 0; j < m; ++j) sheet.SetCell(1, j + 1, objective[static_cast<std::size_t>(j)]);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i) + 2;
    for (int j = 0; j < m; ++j) sheet.SetCell(row, j + 1, rows[i][static_cast<std::size_t>(j)]);
    const std::string& sign = rows[i][static_cast<std::size_t>(m)];
    sheet.SetCell(row, m + 1, sign == "<=" ? " ≤ " : sign == ">=" ? " ≥ " : " ═ ");
    sheet.SetCell(row, m + 2, rows[i][static_cast<std::size_t>(m) + 1]);
  }
  return sheet;
}

struct StepsRun {
  CalculationOutcome outcome;
  lp::SolvedLp solved;
  std::vector<lp::PivotRecord> pivots;
  StepsDocument doc;
};

inline StepsRun RunSteps(const Sheet& sheet, int m, int n, lp::Sense sense,
                         const ReplayOptions& options = {}, long iteration_limit = 1000000) {
  StepsRun run;
  lp::LpRequest request;
  request.iteration_limit = iteration_limit;
  request.variables = m;
  request.constraints = n;
  request.sense = sense;
  request.on_pivot = [&](const lp::PivotRecord& record) { run.pivots.push_back(record); };
  std::optional<lp::SolvedLp> solved;
  run.outcome = lp::Calculate(request, sheet, &solved);
  if (!solved) return run;
  run.solved = *solved;
  const ExactProblem exact = ReadExactProblem(sheet, run.solved.problem);
  run.doc = ReplaySteps({&run.solved.problem, &exact, &run.pivots, &run.solved.result}, options);
  return run;
}

}  // namespace orcalc::steps
