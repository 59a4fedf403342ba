// Calculate for a linear program with variable types: the linear-
// programming calculation as it is when every variable is continuous,
// branch and bound otherwise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/calculation.h"
#include "integer/branch_and_bound.h"
#include "integer/variable_types.h"
#include "lp/lp_commands.h"

namespace orcalc::integer {

struct IntegerRequest {
  lp::LpRequest lp;                 // counts, sense, separator, limits, progress
  std::vector<VariableType> types;  // one per variable; fewer leave the rest continuous
  long node_limit = kDefaultNodeLimit;
};

// The problem a search solved, its variables' types and what it found.
struct SolvedInteger {
  lp::LpProblem problem;
  std::vector<VariableType> types;  // one per variable
  IntegerResult result;
};

// The messages of a search's outcome, in order: its own, then the warning
// of a relaxation that could not be confirmed.
std::vector<std::string> IntegerMessages(const IntegerResult& result);

// With no whole-number variable, exactly lp::SolveAndReport. Otherwise the
// report of the best whole-number solution as the linear-programming
// report writes a solution (the echo, S and χj), without results when there
// is none, followed by the integer-programming section. Stopped through the
// progress: no report, no messages, `stopped` set. When `solved` is given,
// it receives the search whenever the search ran to an end.
CalculationOutcome SolveAndReport(const IntegerRequest& request, const lp::LpIntake& intake,
                                  std::optional<SolvedInteger>* solved = nullptr);

}  // namespace orcalc::integer
