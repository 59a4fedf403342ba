#include "integer/integer_commands.h"

#include <utility>

#include "common/report_text.h"
#include "integer/integer_report.h"
#include "integer/integer_texts.h"
#include "lp/lp_report.h"

namespace orcalc::integer {

std::vector<std::string> IntegerMessages(const IntegerResult& result) {
  std::vector<std::string> messages;
  switch (result.outcome) {
    case IntegerOutcome::NoWholeSolution:
      messages.emplace_back(kNoWholeSolutionMessage);
      break;
    case IntegerOutcome::RelaxationUnbounded:
      messages.emplace_back(kRelaxationUnboundedMessage);
      break;
    case IntegerOutcome::RelaxationFailed:
      messages = lp::SimplexMessages(*result.ending_relaxation);
      break;
    case IntegerOutcome::LimitWithIncumbent:
      messages.emplace_back(kLimitWithIncumbentMessage);
      break;
    case IntegerOutcome::LimitWithoutIncumbent:
      messages.emplace_back(kLimitWithoutIncumbentMessage);
      break;
    case IntegerOutcome::Optimal:
    case IntegerOutcome::Stopped:
      break;
  }
  if (result.doubtful_relaxation) messages.emplace_back(kDoubtfulRelaxationMessage);
  return messages;
}

CalculationOutcome SolveAndReport(const IntegerRequest& request, const lp::LpIntake& intake,
                                  std::optional<SolvedInteger>* solved) {
  std::vector<VariableType> types = request.types;
  types.resize(static_cast<std::size_t>(intake.problem.variables), VariableType::Continuous);
  if (!AnyWhole(types) || intake.overflow) return lp::SolveAndReport(request.lp, intake);
  const lp::LpProblem& problem = intake.problem;

  IntegerOptions options;
  options.node_limit = request.node_limit;
  options.iteration_limit = request.lp.iteration_limit;
  options.progress = request.lp.progress;
  const IntegerResult result = SolveBranchAndBound(problem, types, options);
  CalculationOutcome outcome;
  if (result.outcome == IntegerOutcome::Stopped) {
    outcome.stopped = true;
    return outcome;
  }
  if (request.lp.progress) request.lp.progress->SetPhase(ProgressPhase::Report);
  ReportText report(request.lp.decimal_separator);
  lp::WriteReportHead(report, problem);
  if (result.incumbent) lp::WriteReportResults(report, *result.incumbent);
  WriteIntegerSection(report, types, result);
  outcome.messages = IntegerMessages(result);
  outcome.report = report.Take();
  if (solved) solved->emplace(SolvedInteger{problem, std::move(types), result});
  return outcome;
}

}  // namespace orcalc::integer
