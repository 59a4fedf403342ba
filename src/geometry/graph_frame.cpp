#include "geometry/graph_frame.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace orcalc::lp {
namespace {

// The region keeps at least this share of the box along an axis on which it
// has an extent (less a hair for the rounding of the shares themselves).
constexpr double kLeastShare = 0.4;
constexpr double kShareRounding = 1e-9;
// A frame that leaves out the origin has this much margin on either side,
// as a share of the region's extent.
constexpr double kMargin = 0.1;
// An extent below this share of its distance from the origin is none: the
// region is a point, or a segment across the axis, along it.
constexpr double kFlat = 1e-12;

struct Axis {
  double min = 0, max = 1, step = 0.2;
};

// [0, a little more than `extent`], as the drawing box has always been made.
Axis FromOrigin(double extent) {
  const GraphBox box = NiceGraphBox(extent, extent);
  return {0, box.x1_max, box.x1_step};
}

// [lo, hi] with the margin on both sides, its ends on whole steps of 1, 2 or
// 5 × 10^k that give about 8 intervals; nothing when that does not fit the
// doubles.
bool AwayFromOrigin(double lo, double hi, Axis& axis) {
  const double pad = kMargin * (hi - lo);
  const double raw = (hi - lo + 2 * pad) / 8;
  const double decade = std::floor(std::log10(raw));
  if (!(std::abs(decade) <= 300)) return false;
  const double base = std::pow(10.0, decade);
  const double f = raw / base;
  const double step = (f <= 1 ? 1 : (f <= 2 ? 2 : (f <= 5 ? 5 : 10))) * base;
  axis.step = step;
  axis.min = std::max(0.0, std::floor((lo - pad) / step) * step);
  axis.max = std::ceil((hi + pad) / step) * step;
  return std::isfinite(axis.max) && axis.min <= lo && axis.max >= hi;
}

bool KeepsShare(const Axis& axis, double lo, double hi) {
  return hi - lo >= (kLeastShare - kShareRounding) * (axis.max - axis.min);
}

// One axis of the frame for a region from `lo` to `hi` along it. `beyond`:
// the constraints' intercepts with this axis past `hi`, largest first.
// `flat_extent`: what to show when the region has no extent along the axis.
Axis FrameAxis(double lo, double hi, const std::vector<double>& beyond, double flat_extent) {
  if (!(hi - lo > kFlat * hi)) return FromOrigin(std::max(hi, flat_extent));
  // The lines' intercepts, farthest first, while the region keeps its share.
  for (double intercept : beyond) {
    const Axis axis = FromOrigin(intercept);
    if (KeepsShare(axis, lo, hi)) return axis;
  }
  const Axis axis = FromOrigin(hi);
  if (KeepsShare(axis, lo, hi)) return axis;
  Axis away;
  return AwayFromOrigin(lo, hi, away) ? away : axis;
}

// Where the constraint lines cross the axis χ2 = 0 (axis 0) or χ1 = 0
// (axis 1) at 0 or beyond, largest first.
std::vector<double> Intercepts(const GraphGeometry& g, int axis) {
  std::vector<double> at;
  for (const GraphConstraintLine& line : g.lines) {
    const double a = axis == 0 ? line.a1 : line.a2;
    if (a == 0) continue;
    const double x = line.b / a;
    if (std::isfinite(x) && x >= 0) at.push_back(x);
  }
  std::sort(at.begin(), at.end(), std::greater<>());
  return at;
}

// The half-plane side·(χk − bound) ≥ 0 of one box side, for clipping.
struct Side {
  int axis;
  double bound;
};

double Coordinate(GraphPoint p, int axis) { return axis == 0 ? p.x1 : p.x2; }

std::vector<GraphPoint> ClipToSide(const std::vector<GraphPoint>& in, Side side) {
  std::vector<GraphPoint> out;
  const std::size_t k = in.size();
  for (std::size_t i = 0; i < k; ++i) {
    const GraphPoint p = in[i], q = in[(i + 1) % k];
    const double sp = Coordinate(p, side.axis) - side.bound;
    const double sq = Coordinate(q, side.axis) - side.bound;
    if (sp >= 0) out.push_back(p);
    if ((sp < 0) != (sq < 0) && k > 1) {
      const double t = sp / (sp - sq);
      GraphPoint cut{p.x1 + t * (q.x1 - p.x1), p.x2 + t * (q.x2 - p.x2)};
      if (side.axis == 0) cut.x1 = side.bound;
      if (side.axis == 1) cut.x2 = side.bound;
      if (out.empty() || !(out.back() == cut)) out.push_back(cut);
    }
  }
  return out;
}

}  // namespace

GraphBox FrameGraph(const GraphGeometry& g) {
  std::vector<double> beyond[2] = {Intercepts(g, 0), Intercepts(g, 1)};
  if (g.corners.empty()) {
    const double e1 = beyond[0].empty() ? 0 : beyond[0].front();
    const double e2 = beyond[1].empty() ? 0 : beyond[1].front();
    return NiceGraphBox(e1, e2);
  }
  double lo[2] = {g.corners.front().point.x1, g.corners.front().point.x2};
  double hi[2] = {lo[0], lo[1]};
  for (const GraphCorner& corner : g.corners) {
    for (int axis = 0; axis < 2; ++axis) {
      lo[axis] = std::min(lo[axis], Coordinate(corner.point, axis));
      hi[axis] = std::max(hi[axis], Coordinate(corner.point, axis));
    }
  }
  Axis axes[2];
  for (int axis = 0; axis < 2; ++axis) {
    std::erase_if(beyond[axis], [&](double x) { return !(x > hi[axis]); });
    // Without an extent of its own the axis shows as much as the other one,
    // or else reaches the nearest line that crosses it.
    const double other = hi[1 - axis];
    const double nearest = beyond[axis].empty() ? 0 : beyond[axis].back();
    axes[axis] = FrameAxis(lo[axis], hi[axis], beyond[axis], other > 0 ? other : nearest);
  }
  GraphBox box;
  box.x1_min = axes[0].min;
  box.x1_max = axes[0].max;
  box.x1_step = axes[0].step;
  box.x2_min = axes[1].min;
  box.x2_max = axes[1].max;
  box.x2_step = axes[1].step;
  return box;
}

std::vector<GraphPoint> ClipToFrame(const std::vector<GraphPoint>& polygon, const GraphBox& box) {
  std::vector<GraphPoint> clipped = polygon;
  if (box.x1_min > 0) clipped = ClipToSide(clipped, {0, box.x1_min});
  if (box.x2_min > 0) clipped = ClipToSide(clipped, {1, box.x2_min});
  for (GraphPoint& p : clipped) {
    p.x1 = std::clamp(p.x1, box.x1_min, box.x1_max) + 0.0;
    p.x2 = std::clamp(p.x2, box.x2_min, box.x2_max) + 0.0;
  }
  return clipped;
}

}  // namespace orcalc::lp
