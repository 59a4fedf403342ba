// The part of the plane that the picture of the graphical method shows: the
// feasible region large enough to read, with the lines that bound it.
#pragma once

#include <vector>

#include "geometry/graph_geometry.h"

namespace orcalc::lp {

// The drawing box for `geometry`, whose region, corners and lines are set:
//  - a region with corners is framed by them (the optimum and the level
//    line's part across the region with them) and 10 % of margin; a
//    constraint's intercept with an axis beyond that is taken in only while
//    the region keeps at least 40 % of the box along that axis, so that a
//    far, redundant line is drawn clipped instead of shrinking the region to
//    a dot;
//  - an axis starts at 0 unless the region lies so far out along it that
//    the origin would leave it less than 40 % (then it starts at a tick
//    below the region);
//  - an unbounded region is framed the same way by its corners: the margin
//    shows where it goes on, and the shading runs to the box's edges;
//  - an empty region has only its lines to show, and where they cross the
//    axes is what makes it empty: every intercept is taken in, from the
//    origin.
GraphBox FrameGraph(const GraphGeometry& geometry);

// The part of the convex polygon `polygon` (counterclockwise, inside the
// box's far sides already) that lies in the box, its corners on the box
// where they were moved by rounding.
std::vector<GraphPoint> ClipToFrame(const std::vector<GraphPoint>& polygon, const GraphBox& box);

}  // namespace orcalc::lp
