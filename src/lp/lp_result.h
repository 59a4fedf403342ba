// The figures of a linear program's calculation for scripts: how it ended,
// the certificate's verdict, S, every variable and every message.
#pragma once

#include <functional>
#include <optional>

#include "common/calculation.h"
#include "common/result_status.h"
#include "common/result_writer.h"
#include "lp/lp_commands.h"

namespace orcalc::lp {

// A calculation as Calculate or SolveAndReport left it.
struct LpRun {
  const CalculationOutcome& outcome;
  // The problem and the solver's result when the solver ran to an end;
  // absent with a cell that overflows and when stopped.
  const std::optional<SolvedLp>& solved;
  // How to name a stopped run: the caller knows why it stopped.
  ResultStatus stopped_as = ResultStatus::Cancelled;
};

// The status of the solver's result.
ResultStatus LpStatus(const SimplexResult& result);

// "certified" (the verdict was checked against the problem as read and
// holds), "not_certified" (checked, does not hold) or "unchecked".
std::string_view VerdictKeyword(const SimplexResult& result);

// The messages of the run with their keywords (SimplexNotices, or
// "cell_overflow" for a cell too large for a double).
std::vector<KeyedMessage> LpNotices(const LpRun& run);

// Writes, inside the object the caller has begun: "status", "verdict",
// "sense" ("max" or "min"), "S", "variables" (χ1…χm) and "pivots" (null
// without a solve).
void WriteLpFigures(ResultWriter& out, const LpRun& run);

// The whole object: WriteLpFigures, then the section `more` writes, if any
// (a model file's own names and objective go there), then "messages".
void WriteLpResult(ResultWriter& out, const LpRun& run,
                   const std::function<void(ResultWriter&)>& more = nullptr);

}  // namespace orcalc::lp
