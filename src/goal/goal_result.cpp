#include "goal/goal_result.h"

#include "common/common_texts.h"
#include "goal/goal_texts.h"

namespace orcalc::goal {
namespace {

std::vector<double> Slice(const std::vector<double>& values, int from, int count) {
  const auto first = values.begin() + from;
  return {first, first + count};
}

// Inside the object begun: the five figures of one block.
void WriteBlock(ResultWriter& out, const GoalRun& run, const GoalSnapshot* block) {
  if (!block) {
    out.Null("pivots");
    for (const char* key :
         {"achievement", "variables", "negative_deviations", "positive_deviations"}) {
      WriteNumbers(out, key, {});
    }
    return;
  }
  // The solution lists the variables, then the negative deviations, then
  // the positive ones.
  out.Number("pivots", block->pivots);
  WriteNumbers(out, "achievement", block->achievement);
  WriteNumbers(out, "variables", Slice(block->solution, 0, run.variables));
  WriteNumbers(out, "negative_deviations", Slice(block->solution, run.variables, run.goals));
  WriteNumbers(out, "positive_deviations",
               Slice(block->solution, run.variables + run.goals, run.goals));
}

}  // namespace

ResultStatus GoalStatus(GoalOutcome outcome) {
  switch (outcome) {
    case GoalOutcome::Optimal:
      return ResultStatus::Optimal;
    case GoalOutcome::PivotTooSmall:
    case GoalOutcome::RoundOff:
      return ResultStatus::RoundOff;
    case GoalOutcome::Cycling:
      return ResultStatus::Cycling;
    case GoalOutcome::PivotLimit:
      return ResultStatus::IterationLimit;
    case GoalOutcome::Overflow:
      return ResultStatus::Overflow;
    case GoalOutcome::Stopped:
      return ResultStatus::Cancelled;
  }
  return ResultStatus::Overflow;
}

std::vector<KeyedMessage> GoalNotices(const GoalRun& run, const CalculationOutcome& outcome) {
  std::vector<KeyedMessage> notices;
  if (outcome.stopped) return notices;
  if (run.cell_overflow) {
    for (const std::string& text : outcome.messages)
      notices.push_back({kCellOverflowKeyword, text});
    return notices;
  }
  switch (run.outcome) {
    case GoalOutcome::PivotTooSmall:
    case GoalOutcome::RoundOff:
      notices.push_back({"round_off", kRoundOffMessage});
      break;
    case GoalOutcome::Cycling:
      notices.push_back({"cycling", kCyclingMessage});
      break;
    case GoalOutcome::PivotLimit:
      notices.push_back({"pivot_limit", kPivotLimitMessage});
      break;
    case GoalOutcome::Optimal:
    case GoalOutcome::Overflow:
    case GoalOutcome::Stopped:
      break;
  }
  if (run.numeric_overflow) notices.push_back({kNumericOverflowKeyword, kNumericOverflowMessage});
  return notices;
}

void WriteGoalResult(ResultWriter& out, const GoalRun& run, const CalculationOutcome& outcome,
                     ResultStatus stopped_as) {
  const ResultStatus status = outcome.stopped     ? stopped_as
                              : run.cell_overflow ? ResultStatus::Overflow
                                                  : GoalStatus(run.outcome);
  out.BeginObject();
  out.Text("status", StatusKeyword(status));
  const bool has_final = !outcome.stopped && !run.blocks.empty();
  WriteBlock(out, run, has_final ? &run.blocks.back() : nullptr);
  out.BeginArray("blocks");
  if (!outcome.stopped) {
    for (const GoalSnapshot& block : run.blocks) {
      out.BeginObject();
      WriteBlock(out, run, &block);
      out.EndObject();
    }
  }
  out.EndArray();
  WriteMessages(out, GoalNotices(run, outcome));
  out.EndObject();
}

}  // namespace orcalc::goal
