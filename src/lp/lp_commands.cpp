#include "lp/lp_commands.h"

#include "common/report_text.h"
#include "common/result_status.h"
#include "lp/lp_report.h"
#include "lp/lp_sheet.h"
#include "lp/lp_texts.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {

std::vector<KeyedMessage> SimplexNotices(const SimplexResult& result) {
  std::vector<KeyedMessage> notices;
  auto add = [&](std::string_view keyword, const char* text) {
    notices.push_back({keyword, text});
  };
  switch (result.outcome) {
    case SimplexOutcome::Unbounded:
      add("unbounded", kUnboundedMessage);
      break;
    case SimplexOutcome::IterationLimit:
      add("iteration_limit", kIterationLimitMessage);
      break;
    case SimplexOutcome::Optimal:
    case SimplexOutcome::Phase1Stuck:
    case SimplexOutcome::Overflow:
    case SimplexOutcome::Stopped:
      break;
  }
  for (int row = 0; row < result.infeasible_rows; ++row) add("no_optimum", kNoOptimumMessage);
  if (result.constraints_broken) add("constraints_broken", kConstraintsBrokenMessage);
  if (result.tolerance_decided) add("tiny_coefficient", kTinyCoefficientMessage);
  if (result.checked && !result.certified) {
    if (result.outcome == SimplexOutcome::Unbounded)
      add("unbounded_unverified", kUnboundedUnverifiedMessage);
    if (result.outcome == SimplexOutcome::Phase1Stuck)
      add("infeasible_unverified", kInfeasibleUnverifiedMessage);
  }
  if (result.not_finite) add(kNumericOverflowKeyword, kNumericOverflowMessage);
  return notices;
}

std::vector<std::string> SimplexMessages(const SimplexResult& result) {
  std::vector<std::string> messages;
  for (KeyedMessage& notice : SimplexNotices(result)) messages.push_back(std::move(notice.text));
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
