// The integer-programming section that follows the linear-programming
// report of the best whole-number solution.
#pragma once

#include <vector>

#include "common/report_text.h"
#include "integer/branch_and_bound.h"
#include "integer/variable_types.h"

namespace orcalc::integer {

// The variable types, the nodes searched, the best bound and the gap, then
// the search tree as indented text (at most kMostTreeLines nodes, saying
// so when there are more).
void WriteIntegerSection(ReportText& report, const std::vector<VariableType>& types,
                         const IntegerResult& result);

}  // namespace orcalc::integer
