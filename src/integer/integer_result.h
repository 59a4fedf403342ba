// The figures of an integer program's calculation for scripts: the figures
// of a linear program's calculation for the best whole-number solution,
// then the search's own.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "common/calculation.h"
#include "common/result_status.h"
#include "common/result_writer.h"
#include "integer/integer_commands.h"

namespace orcalc::integer {

// A calculation as SolveAndReport left it.
struct IntegerRun {
  const CalculationOutcome& outcome;
  // Absent with a cell that overflows and when stopped.
  const std::optional<SolvedInteger>& solved;
  ResultStatus stopped_as = ResultStatus::Cancelled;
};

// "optimal", "no_integer_solution", "relaxation_unbounded", "node_limit" or
// "time_limit" (with or without a whole-number solution), or the status of
// the relaxation that failed.
ResultStatus IntegerStatus(const IntegerResult& result);

// "continuous", "integer", "binary".
std::string_view VariableTypeKeyword(VariableType type);

// The messages of the search with their keywords: "no_integer_solution",
// "relaxation_unbounded", "not_proven_optimal", "no_integer_solution_found",
// the failed relaxation's (SimplexNotices), then "relaxation_unverified".
std::vector<KeyedMessage> IntegerNotices(const IntegerResult& result);

// The whole object: "status", "verdict", "sense", "S", "variables" and
// "pivots" of the best whole-number solution (null without one), then
// "integer": {"types", "nodes", "best_bound", "gap", "relative_gap",
// "proven_optimal"}, then the section `more` writes, if any, then
// "messages".
void WriteIntegerResult(ResultWriter& out, const IntegerRun& run,
                        const std::function<void(ResultWriter&)>& more = nullptr);

}  // namespace orcalc::integer
