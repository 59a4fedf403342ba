// The sensitivity analysis written out: the text report for the results
// window and the CSV lines of orcalc-cli.
#pragma once

#include <string>

#include "lp/lp_problem.h"
#include "sensitivity/sensitivity.h"

namespace orcalc::lp {

// The text report, every line ending with CR LF: title, counts and sense,
// S, a note when the optimum is degenerate or not unique, the table of the
// variables and the table of the constraints, the dual problem and its
// solution. Tables are aligned for a fixed-pitch face in which a Chinese
// character is two columns wide.
std::string WriteSensitivityReport(const LpProblem& problem, const SensitivityAnalysis& analysis);

// UTF-8 CSV with LF line ends: the header "kind,index,value,rate,current,
// lower,upper", then one line per variable and one per constraint; plain
// number texts with ".", unlimited bounds "inf" and "-inf". Two lines of
// index 0 close it, their value 1 or 0 and the other fields empty:
// "degenerate" (some basic variable is 0, so the shadow prices may not be
// unique) and "unique" (every nonbasic column's reduced cost is nonzero, so
// the optimal point is unique; 0: it may not be).
std::string WriteSensitivityCsv(const SensitivityAnalysis& analysis);

}  // namespace orcalc::lp
