#include "lp/lp_result.h"

namespace orcalc::lp {

ResultStatus LpStatus(const SimplexResult& result) {
  switch (result.outcome) {
    case SimplexOutcome::Optimal:
      return ResultStatus::Optimal;
    case SimplexOutcome::Unbounded:
      return ResultStatus::Unbounded;
    case SimplexOutcome::Phase1Stuck:
      return ResultStatus::Infeasible;
    case SimplexOutcome::IterationLimit:
      return ResultStatus::IterationLimit;
    case SimplexOutcome::Overflow:
      return ResultStatus::Overflow;
    case SimplexOutcome::Stopped:
      return ResultStatus::Cancelled;
  }
  return ResultStatus::Overflow;
}

std::string_view VerdictKeyword(const SimplexResult& result) {
  if (!result.checked) return "unchecked";
  return result.certified ? "certified" : "not_certified";
}

std::vector<KeyedMessage> LpNotices(const LpRun& run) {
  if (run.solved) return SimplexNotices(run.solved->result);
  // Without a solve, the only message is the overflowing cell's.
  std::vector<KeyedMessage> notices;
  for (const std::string& text : run.outcome.messages)
    notices.push_back({kCellOverflowKeyword, text});
  return notices;
}

void WriteLpFigures(ResultWriter& out, const LpRun& run) {
  const ResultStatus status = run.outcome.stopped ? run.stopped_as
                              : run.solved        ? LpStatus(run.solved->result)
                                                  : ResultStatus::Overflow;
  out.Text("status", StatusKeyword(status));
  if (run.solved) {
    const SimplexResult& result = run.solved->result;
    out.Text("verdict", VerdictKeyword(result));
    out.Text("sense", run.solved->problem.sense == Sense::Maximise ? "max" : "min");
    out.Number("S", result.objective);
    WriteNumbers(out, "variables", result.x);
    out.Number("pivots", static_cast<double>(result.pivots));
  } else {
    out.Text("verdict", "unchecked");
    out.Null("sense");
    out.Null("S");
    WriteNumbers(out, "variables", {});
    out.Null("pivots");
  }
}

void WriteLpResult(ResultWriter& out, const LpRun& run,
                   const std::function<void(ResultWriter&)>& more) {
  out.BeginObject();
  WriteLpFigures(out, run);
  if (more) more(out);
  WriteMessages(out, LpNotices(run));
  out.EndObject();
}

}  // namespace orcalc::lp
