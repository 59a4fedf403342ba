#include "integer/integer_result.h"

#include <cmath>

#include "integer/integer_texts.h"
#include "lp/lp_result.h"

namespace orcalc::integer {
namespace {

// The best whole-number solution's figures, as the linear-programming
// figures write an optimum.
void WriteSolutionFigures(ResultWriter& out, const SolvedInteger& solved) {
  const IntegerResult& result = solved.result;
  out.Text("status", StatusKeyword(IntegerStatus(result)));
  const lp::SimplexResult* verdict =
      result.incumbent ? &*result.incumbent
                       : (result.ending_relaxation ? &*result.ending_relaxation : nullptr);
  out.Text("verdict", verdict ? lp::VerdictKeyword(*verdict) : "unchecked");
  out.Text("sense", solved.problem.sense == lp::Sense::Maximise ? "max" : "min");
  if (result.incumbent) {
    out.Number("S", result.incumbent->objective);
    WriteNumbers(out, "variables", result.incumbent->x);
  } else {
    out.Null("S");
    WriteNumbers(out, "variables", {});
  }
  out.Null("pivots");  // spread over the nodes' relaxations
}

void WriteSearchFigures(ResultWriter& out, const SolvedInteger& solved) {
  const IntegerResult& result = solved.result;
  out.BeginObject("integer");
  out.BeginArray("types");
  for (VariableType type : solved.types) out.Text({}, VariableTypeKeyword(type));
  out.EndArray();
  out.Number("nodes", static_cast<double>(result.nodes));
  if (result.best_bound) {
    out.Number("best_bound", *result.best_bound);
  } else {
    out.Null("best_bound");
  }
  if (result.incumbent && result.best_bound) {
    const double s = result.incumbent->objective;
    const double gap = std::fabs(*result.best_bound - s);
    out.Number("gap", gap);
    if (s != 0) {
      out.Number("relative_gap", gap / std::fabs(s));
    } else {
      out.Null("relative_gap");
    }
  } else {
    out.Null("gap");
    out.Null("relative_gap");
  }
  out.Flag("proven_optimal", result.outcome == IntegerOutcome::Optimal);
  out.EndObject();
}

}  // namespace

ResultStatus IntegerStatus(const IntegerResult& result) {
  switch (result.outcome) {
    case IntegerOutcome::Optimal:
      return ResultStatus::Optimal;
    case IntegerOutcome::NoWholeSolution:
      return ResultStatus::NoIntegerSolution;
    case IntegerOutcome::RelaxationUnbounded:
      return ResultStatus::RelaxationUnbounded;
    case IntegerOutcome::RelaxationFailed:
      return result.ending_relaxation ? lp::LpStatus(*result.ending_relaxation)
                                      : ResultStatus::Overflow;
    case IntegerOutcome::LimitWithIncumbent:
    case IntegerOutcome::LimitWithoutIncumbent:
      return result.time_limit ? ResultStatus::TimeLimit : ResultStatus::NodeLimit;
    case IntegerOutcome::Stopped:
      return ResultStatus::Cancelled;
  }
  return ResultStatus::Overflow;
}

std::string_view VariableTypeKeyword(VariableType type) {
  switch (type) {
    case VariableType::Continuous:
      return "continuous";
    case VariableType::Integer:
      return "integer";
    case VariableType::Binary:
      return "binary";
  }
  return "continuous";
}

std::vector<KeyedMessage> IntegerNotices(const IntegerResult& result) {
  std::vector<KeyedMessage> notices;
  switch (result.outcome) {
    case IntegerOutcome::NoWholeSolution:
      notices.push_back({"no_integer_solution", kNoWholeSolutionMessage});
      break;
    case IntegerOutcome::RelaxationUnbounded:
      notices.push_back({"relaxation_unbounded", kRelaxationUnboundedMessage});
      break;
    case IntegerOutcome::RelaxationFailed:
      if (result.ending_relaxation) notices = lp::SimplexNotices(*result.ending_relaxation);
      break;
    case IntegerOutcome::LimitWithIncumbent:
      notices.push_back({"not_proven_optimal", kLimitWithIncumbentMessage});
      break;
    case IntegerOutcome::LimitWithoutIncumbent:
      notices.push_back({"no_integer_solution_found", kLimitWithoutIncumbentMessage});
      break;
    case IntegerOutcome::Optimal:
    case IntegerOutcome::Stopped:
      break;
  }
  if (result.doubtful_relaxation)
    notices.push_back({"relaxation_unverified", kDoubtfulRelaxationMessage});
  return notices;
}

void WriteIntegerResult(ResultWriter& out, const IntegerRun& run,
                        const std::function<void(ResultWriter&)>& more) {
  if (!run.solved) {
    // Stopped, or a cell too large for a double: the linear program's figures.
    const std::optional<lp::SolvedLp> none;
    lp::WriteLpResult(out, {run.outcome, none, run.stopped_as}, more);
    return;
  }
  out.BeginObject();
  WriteSolutionFigures(out, *run.solved);
  WriteSearchFigures(out, *run.solved);
  if (more) more(out);
  WriteMessages(out, IntegerNotices(run.solved->result));
  out.EndObject();
}

}  // namespace orcalc::integer
