// The linear-programming report: header, echo of the problem, results.
#pragma once

#include "common/report_text.h"
#include "lp/lp_problem.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {

// The counts and the sense as the header writes them, then the rule line.
void WriteCountsAndSense(ReportText& report, const LpProblem& problem);

// The header and the echo of the objective and the (normalised)
// constraints, every line ending with CR LF.
void WriteReportHead(ReportText& report, const LpProblem& problem);

// The objective value and one line per variable.
void WriteReportResults(ReportText& report, const SimplexResult& result);

}  // namespace orcalc::lp
