// How a calculation ended, as the fixed English keyword of the "status"
// figure, and the keywords of the messages the core areas share.
#pragma once

#include <string_view>

namespace orcalc {

enum class ResultStatus {
  Optimal,              // the optimum was found (messages may still warn)
  Infeasible,           // no point satisfies every constraint
  Unbounded,            // the objective improves without limit
  IterationLimit,       // the method ran out of pivots
  Cycling,              // the method came back to a basis it had already had
  RoundOff,             // round-off stopped the method
  Overflow,             // a cell or a figure is too large for a double
  TimeLimit,            // stopped by the time limit the caller set
  Cancelled,            // stopped at the user's request
  Done,                 // the statistics were computed
  NoColumn,             // the statistics had no column to read
  NotApplicable,        // the method does not apply to the problem given
  NoIntegerSolution,    // no point of the rows is whole where it must be
  RelaxationUnbounded,  // a relaxation of the integer program is unbounded
  NodeLimit,            // branch and bound stopped at its node limit
};

// "optimal", "infeasible", "unbounded", "iteration_limit", "cycling",
// "round_off", "overflow", "time_limit", "cancelled", "done", "no_column",
// "not_applicable", "no_integer_solution", "relaxation_unbounded",
// "node_limit".
std::string_view StatusKeyword(ResultStatus status);

// A cell whose number does not fit a double ("单元格(r,c)的数值超出范围！").
inline constexpr std::string_view kCellOverflowKeyword = "cell_overflow";
// A figure of the result that is not finite (kNumericOverflowMessage).
inline constexpr std::string_view kNumericOverflowKeyword = "numeric_overflow";

}  // namespace orcalc
