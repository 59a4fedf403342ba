// The texts of the graphical method: labels in the picture and the listing
// that orcalc-cli prints. Numbers are plain number texts with ".".
#pragma once

#include <string>

#include "geometry/graph_geometry.h"
#include "geometry/graph_lattice.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {

// "约束方程3" for constraint 3, "χ1=0" and "χ2=0" for the axes.
std::string GraphLineName(int id);

// Plain number text of `value` rounded to `digits` significant digits (1 to
// 15; 15 is the plain number text itself).
std::string GraphNumber(double value, int digits = 15);

// "(3, 1)", each coordinate to `digits` significant digits.
std::string GraphPointText(GraphPoint point, int digits = 15);

// "最优解 (4, 0)，S = 12" for a unique optimum, "最优解不唯一，S = 12"
// otherwise, the numbers to `digits` significant digits; empty without an
// optimum.
std::string GraphOptimumLabel(const GraphGeometry& geometry, int digits = 15);

// "Max z = 3χ1 + 2χ2" (coefficients 1 and -1 written as the sign alone,
// zero terms left out).
std::string GraphObjectiveCaption(const GraphGeometry& geometry);

// One line per fact, each ending with "\n":
//   corner χ1 χ2 S LINE...      each corner, with the lines through it
//   open d1 d2                  each open direction of an unbounded region
//   optimum χ1 χ2 S             each optimal corner
//   optimum-ray χ1 χ2 d1 d2 S   each ray of optimal points
//   unbounded                   the objective improves without limit
//   empty                       no point is feasible
std::string GraphListing(const GraphGeometry& geometry);

// The whole-number facts that follow, with integer variables:
//   integer-optimum χ1 χ2 S     the best whole-number solution
//   integer-empty               no whole-number point is feasible
//   integer-unbounded           the relaxation is unbounded
//   integer-limit               the search stopped without proving an optimum
//   lattice K                   K whole-number points marked in the picture
//   lattice too-many            more than kMostLatticePoints in the box: none marked
std::string GraphLatticeListing(const GraphLattice& lattice);

// "整数最优解 (3, 1)，S = 11", empty without one.
std::string GraphIntegerOptimumLabel(const GraphLattice& lattice, int digits = 15);

}  // namespace orcalc::lp
