#include "lp/lp_commands.h"

#include "common/report_text.h"
#include "lp/lp_report.h"
#include "lp/lp_sheet.h"
#include "lp/lp_texts.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {

std::vector<std::string> SimplexMessages(const SimplexResult& result) {
  std::vector<std::string> messages;
  switch (result.outcome) {
    case SimplexOutcome::Unbounded:
      messages.emplace_back(kUnboundedMessage);
      break;
    case SimplexOutcome::IterationLimit:
      messages.emplace_back(kIterationLimitMessage);
      break;
    case SimplexOutcome::Optimal:
    case SimplexOutcome::Phase1Stuck:
    case SimplexOutcome::Overflow:
    case SimplexOutcome::Stopped:
      break;
  }
  for (int row = 0; row < result.infeasible_rows; ++row) messages.emplace_back(kNoOptimumMessage);
  if (result.constraints_broken) messages.emplace_back(kConstraintsBrokenMessage);
  if (result.tolerance_decided) messages.emplace_back(kTinyCoefficientMessage);
  if (result.checked && !result.certified) {
    if (result.outcome == SimplexOutcome::Unbounded)
      messages.emplace_back(kUnboundedUnverifiedMessage);
    if (result.outcome == SimplexOutcome::Phase1Stuck)
      messages.emplace_back(kInfeasibleUnverifiedMessage);
  }
  if (result.not_finite) messages.emplace_back(kNumericOverflowMessage);
  return messages;
}

CalculationOutcome Calculate(const LpRequest& request, const Sheet& sheet,
                             std::optional<SolvedLp>* solved) {
  return SolveAndReport(
      request, ReadLpSheet(sheet, request.variables, request.constraints, request.sense), solved);
}

CalculationOutcome SolveAndReport(const LpRequest& request, const LpIntake& intake,
                                  std::optional<SolvedLp>* solved) {
  CalculationOutcome outcome;
  if (intake.overflow) {
    // Nothing is computed from a number that does not fit a double.
    outcome.messages.push_back(OverflowMessage(*intake.overflow));
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
  options.on_pivot = request.on_pivot;
  const SimplexResult result = SolveSimplex(problem, options);
  if (result.outcome == SimplexOutcome::Stopped) {
    outcome.stopped = true;
    return outcome;
  }
  if (request.progress) request.progress->SetPhase(ProgressPhase::Report);
  WriteReportResults(report, result);

  outcome.messages = SimplexMessages(result);
  outcome.report = report.Take();
  if (solved) solved->emplace(SolvedLp{problem, result});
  return outcome;
}

}  // namespace orcalc::lp
