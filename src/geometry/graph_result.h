// The figures of the graphical method for scripts: the corners of the
// feasible region, its open directions and the optimum.
#pragma once

#include "common/result_writer.h"
#include "geometry/graph_command.h"

namespace orcalc::lp {

// One object: "status" ("optimal", "unbounded", "infeasible", or
// "overflow" for a cell too large for a double, "not_applicable" when the
// problem is not in 2 variables), "sense", "S" (the
// optimum's value, else null), "vertices" (each with "x" [χ1, χ2], "S"
// and "lines": the constraints through it by number, -1 for χ1 = 0 and -2
// for χ2 = 0), "open_directions" (the two unit directions of an unbounded
// region, else empty), "optimum" (null without one: "vertices", the
// 1-based numbers of the optimal corners, and "rays", each with "from" and
// "direction"), then "messages" ("cell_overflow",
// "needs_two_variables").
void WriteGraphResult(ResultWriter& out, const GraphCalculation& calculation);

}  // namespace orcalc::lp
