// The linear-programming sheet's two commands over a Sheet: OK lays the
// sheet out, Calculate reads, solves and reports.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/calculation.h"
#include "common/progress.h"
#include "common/result_writer.h"
#include "common/sheet.h"
#include "lp/lp_problem.h"
#include "lp/lp_sheet.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {

struct LpRequest {
  int variables = 0;    // m, 0..500
  int constraints = 0;  // n, 0..500
  Sense sense = Sense::Minimise;
  std::string decimal_separator = ".";  // for plain number text
  long iteration_limit = 1000000;       // the loop's limit (tests lower it)
  // Progress of the solve and the way to stop it; null runs to the end.
  Progress* progress = nullptr;
  // Told every pivot the solver makes (for showing the steps); may be empty.
  std::function<void(const PivotRecord&)> on_pivot = nullptr;
};

// The problem a calculation solved and what the solver returned.
struct SolvedLp {
  LpProblem problem;
  SimplexResult result;
};

// The messages a solver's result shows, in order: the loop's (unbounded,
// iteration limit), one kNoOptimumMessage per row still holding a positive
// artificial variable, then kConstraintsBrokenMessage,
// kTinyCoefficientMessage, kUnboundedUnverifiedMessage or
// kInfeasibleUnverifiedMessage and kNumericOverflowMessage, each at most
// once. A certified verdict shows only its own messages.
std::vector<std::string> SimplexMessages(const SimplexResult& result);
// The same messages, each with its keyword: "unbounded", "iteration_limit",
// "no_optimum", "constraints_broken", "tiny_coefficient",
// "unbounded_unverified", "infeasible_unverified", "numeric_overflow".
std::vector<KeyedMessage> SimplexNotices(const SimplexResult& result);

// Calculate: the report text (absent when a cell overflows) and the
// messages to show, in order. Cells beyond the sheet read as empty. When
// `solved` is given, it receives the problem and the solver's result
// whenever the solver ran to an end. Stopped through `progress`: no report,
// no messages, `stopped` set.
CalculationOutcome Calculate(const LpRequest& request, const Sheet& sheet,
                             std::optional<SolvedLp>* solved = nullptr);

// The same from a problem already read off the sheet (ReadLpSheet with the
// request's counts and sense), so that a caller can free the sheet first.
CalculationOutcome SolveAndReport(const LpRequest& request, const LpIntake& intake,
                                  std::optional<SolvedLp>* solved = nullptr);

}  // namespace orcalc::lp
