#include "lp/lp_commands.h"

#include "common/report_text.h"
#include "lp/lp_report.h"
#include "lp/lp_sheet.h"
#include "lp/simplex_solver.h"

namespace orcalc::lp {

CalculationOutcome Calculate(const LpRequest& request, const Sheet& sheet,
                             std::optional<SolvedLp>* solved) {
  CalculationOutcome outcome;
  LpIntake intake = ReadLpSheet(sheet, request.variables, request.constraints, request.sense);
  if (intake.overflow) {
    // Nothing is computed from a number that does not fit a double.
    outcome.messages.push_back(OverflowMessage(intake.overflow_row, intake.overflow_col));
    return outcome;
  }
  const LpProblem& problem = intake.problem;

  if (request.progress) request.progress->SetPhase(ProgressPhase::Report);
  ReportText report(request.decimal_separator);
  // About a dozen bytes per echoed coefficient, plus the fixed lines.
  report.Reserve(512 + static_cast<std::size_t>(problem.variables + 1) *
                           static_cast<std::size_t>(problem.constraints + 2) * 14);
  WriteReportHead(report, problem);

  SimplexOptions options;
  options.iteration_limit = request.iteration_limit;
  options.progress = request.progress;
  const SimplexResult result = SolveSimplex(problem, options);
  if (result.end == SimplexEnd::Stopped) {
    outcome.stopped = true;
    return outcome;
  }
  if (request.progress) request.progress->SetPhase(ProgressPhase::Report);
  WriteReportResults(report, result);

  outcome.messages = result.messages;
  outcome.report = report.Take();
  if (solved) solved->emplace(SolvedLp{problem, result});
  return outcome;
}

}  // namespace orcalc::lp
