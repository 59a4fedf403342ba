// 图解法 over the linear-programming sheet: the same intake as Calculate
// (the overflow message included), then the geometry of the picture.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/cell_reader.h"
#include "common/sheet.h"
#include "geometry/graph_geometry.h"
#include "geometry/graph_lattice.h"
#include "integer/variable_types.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

struct GraphRequest {
  int variables = 2;    // m, read from the count box; the picture needs 2
  int constraints = 0;  // n, 0..500
  Sense sense = Sense::Minimise;
};

struct GraphCalculation {
  // Shown one by one instead of a picture: the overflow message of the
  // first cell too large for a double, or the note that the picture needs
  // two variables.
  std::vector<std::string> messages;
  std::optional<CellPosition> overflow;   // the cell of the overflow message
  std::optional<GraphGeometry> geometry;  // absent when there are messages
};

// `types` one per variable (fewer leave the rest continuous): with a
// whole-number one the geometry gets its lattice.
GraphCalculation CalculateGraph(const GraphRequest& request, const Sheet& sheet,
                                const std::vector<integer::VariableType>& types = {});

}  // namespace orcalc::lp
