#include "geometry/graph_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <stdexcept>

#include "geometry/graph_frame.h"

namespace orcalc::lp {
namespace {

// A point lies on a line a1·χ1 + a2·χ2 = b when |a1·χ1 + a2·χ2 − b| is
// below this fraction of the line's own terms there, |a1·χ1| + |a2·χ2| +
// |b| (the tolerance follows the data where they are, so that a steep line
// near the origin, or a small feature beside large numbers elsewhere, keeps
// its shape: no other line's scale enters). 1e-9 leaves room for data
// rounded to about nine digits, far beyond the rounding of the arithmetic,
// and is the relative accuracy the answers are printed to be compared at ...
constexpr double kRelativeTolerance = 1e-9;
// ... plus what the rounding of the point's coordinates can make of the
// line's value: each coordinate of a corner carries this fraction of the
// magnitudes it was computed from (about 5000 units of rounding, for the
// few operations of a corner and their condition); two points are one when
// they lie within their coordinates' rounding of each other.
constexpr double kRoundingTolerance = 1e-12;
// A row without coefficients, 0 ≥ b or 0 ≤ b, holds when b is within this
// fraction of the data's scale (the distance of the farthest line from the
// origin) of 0: what rounding leaves of a zero.
constexpr double kScaleTolerance = 1e-15;
// Two lines whose unit normals have a cross product below this are parallel.
constexpr double kParallel = 1e-12;
// The working box that stands in for "far away", in units of the data's
// scale: it holds every corner of lines that are not nearly parallel.
constexpr double kFarFactor = 1e8;
// The drawing box shows 10 % more than the farthest point it must show.
constexpr double kMargin = 1.1;

// a1·χ1 + a2·χ2 = b, scaled by a power of two (exactly) so that the larger
// coefficient lies in [0.5, 1): the corners of lines with small whole
// coefficients come out exact. n1, n2, d: the same line with a unit normal.
struct Line {
  int id = 0;
  double a1 = 0.0, a2 = 0.0, b = 0.0;
  double n1 = 0.0, n2 = 0.0, d = 0.0;
};

Line MakeLine(int id, double a1, double a2, double b) {
  Line line;
  line.id = id;
  int exponent = 0;
  std::frexp(std::max(std::abs(a1), std::abs(a2)), &exponent);
  line.a1 = std::ldexp(a1, -exponent);
  line.a2 = std::ldexp(a2, -exponent);
  line.b = std::ldexp(b, -exponent);
  const double norm = std::hypot(line.a1, line.a2);
  if (norm > 0) {
    line.n1 = line.a1 / norm;
    line.n2 = line.a2 / norm;
    line.d = line.b / norm;
  }
  return line;
}

double Cross(const Line& a, const Line& b) { return a.n1 * b.n2 - a.n2 * b.n1; }

bool Parallel(const Line& a, const Line& b) { return std::abs(Cross(a, b)) <= kParallel; }

double Norm(GraphPoint p) { return std::abs(p.x1) + std::abs(p.x2); }

// A vertex of the polygon being clipped: the lines through it (indices into
// the line table) and the line of the edge to the next vertex; `rounding`
// bounds the rounding in each coordinate (0 for a corner of the box and a
// coordinate that comes out exactly).
struct Vertex {
  GraphPoint p;
  GraphPoint rounding;
  std::vector<int> on;
  int edge = 0;
};
using Polygon = std::vector<Vertex>;

void AddLine(std::vector<int>& lines, int line) {
  if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
}

// The half-plane orientation·(n·x − d) ≤ 0 of a line.
struct HalfPlane {
  int line = 0;
  double orientation = 1.0;
};

// Convex polygon clipping (one half-plane at a time) with a tolerance:
// points within it of a line count as on the line, new vertices are made
// only where an edge crosses a line strictly, and every vertex is the
// intersection of two lines of the table, computed from those lines (so
// rounding does not pile up from one clip to the next).
class RegionClipper {
 public:
  explicit RegionClipper(std::vector<Line> lines) : lines_(std::move(lines)) {}

  const std::vector<Line>& lines() const { return lines_; }
  int AddBoxLine(int id, double a1, double a2, double b) {
    lines_.push_back(MakeLine(id, a1, a2, b));
    return static_cast<int>(lines_.size()) - 1;
  }

  // How far from `line` the vertex may be and still lie on it: a fraction
  // of the line's own terms at the point, plus what its coordinates'
  // rounding can move the line's value (on an axis, only the latter counts:
  // its only term is the coordinate itself).
  double Slack(int line, const Vertex& v) const {
    const Line& l = lines_[static_cast<std::size_t>(line)];
    const double terms = std::abs(l.n1 * v.p.x1) + std::abs(l.n2 * v.p.x2) + std::abs(l.d);
    return kRelativeTolerance * terms + std::abs(l.n1) * v.rounding.x1 +
           std::abs(l.n2) * v.rounding.x2;
  }
  // Two vertices are one when each coordinate lies within their roundings.
  static bool Coincide(const Vertex& v, const Vertex& w) {
    return std::abs(v.p.x1 - w.p.x1) <= v.rounding.x1 + w.rounding.x1 &&
           std::abs(v.p.x2 - w.p.x2) <= v.rounding.x2 + w.rounding.x2;
  }
  double Distance(int line, GraphPoint p) const {
    const Line& l = lines_[static_cast<std::size_t>(line)];
    return l.n1 * p.x1 + l.n2 * p.x2 - l.d;
  }

  // The rectangle [0, x1_max] × [0, x2_max], counterclockwise from the
  // origin; right and top are the indices of its far sides' lines.
  Polygon Box(double x1_max, double x2_max, int right, int top) const {
    const int chi1_zero = 0, chi2_zero = 1;  // the first two lines of every table
    return {{{0, 0}, {}, {chi1_zero, chi2_zero}, chi2_zero},
            {{x1_max, 0}, {}, {chi2_zero, right}, right},
            {{x1_max, x2_max}, {}, {right, top}, top},
            {{0, x2_max}, {}, {top, chi1_zero}, chi1_zero}};
  }

  Polygon Clip(const Polygon& in, HalfPlane half) const {
    const std::size_t k = in.size();
    std::vector<int> side(k);
    for (std::size_t i = 0; i < k; ++i) {
      const double s = half.orientation * Distance(half.line, in[i].p);
      const double tol = Slack(half.line, in[i]);
      side[i] = s < -tol ? -1 : (s > tol ? 1 : 0);
    }
    Polygon out;
    out.reserve(k + 2);
    for (std::size_t i = 0; i < k; ++i) {
      const std::size_t j = (i + 1) % k;
      const Vertex& v = in[i];
      if (side[i] <= 0) {
        Vertex kept = v;
        if (side[i] == 0) AddLine(kept.on, half.line);
        if (side[j] > 0 && side[i] == 0) {
          kept.edge = half.line;  // leaves along the clipping line
          out.push_back(std::move(kept));
        } else if (side[j] > 0) {
          out.push_back(std::move(kept));
          out.push_back(Crossing(v, in[j], half, half.line));
        } else {
          out.push_back(std::move(kept));
        }
      } else if (side[j] < 0) {
        out.push_back(Crossing(v, in[j], half, v.edge));
      }
    }
    Clean(out);
    return out;
  }

  // The intersection of two lines, or false when they are parallel; its
  // rounding bound goes to at.rounding. Each coordinate is a quotient of two
  // differences of products: its rounding is bounded by the magnitudes of
  // those products over the determinant (a coordinate made of exact zeros,
  // as on an axis, has none).
  bool Intersect(int first, int second, Vertex& at) const {
    const Line& a = lines_[static_cast<std::size_t>(first)];
    const Line& b = lines_[static_cast<std::size_t>(second)];
    const double det = a.a1 * b.a2 - a.a2 * b.a1;
    if (det == 0) return false;
    at.p.x1 = (a.b * b.a2 - a.a2 * b.b) / det + 0.0;  // + 0.0: no negative zero
    at.p.x2 = (a.a1 * b.b - a.b * b.a1) / det + 0.0;
    const double det_terms = std::abs(a.a1 * b.a2) + std::abs(a.a2 * b.a1);
    const double terms1 = std::abs(a.b * b.a2) + std::abs(a.a2 * b.b);
    const double terms2 = std::abs(a.a1 * b.b) + std::abs(a.b * b.a1);
    at.rounding.x1 = kRoundingTolerance * (terms1 + std::abs(at.p.x1) * det_terms) / std::abs(det);
    at.rounding.x2 = kRoundingTolerance * (terms2 + std::abs(at.p.x2) * det_terms) / std::abs(det);
    // (Products beyond the doubles leave the point's own size to go by.)
    if (!std::isfinite(Norm(at.rounding))) {
      at.rounding.x1 = at.rounding.x2 = kRoundingTolerance * Norm(at.p);
    }
    return std::isfinite(at.p.x1) && std::isfinite(at.p.x2);
  }

  // Every line of the table within the tolerance of `v`.
  std::vector<int> LinesThrough(const Vertex& v) const {
    std::vector<int> on;
    for (int l = 0; l < static_cast<int>(lines_.size()); ++l) {
      if (std::abs(Distance(l, v.p)) <= Slack(l, v)) on.push_back(l);
    }
    return on;
  }

  // Recomputes `p` from the best-conditioned pair of the lines through it
  // whose intersection stays as near `p` as the pair passes (two lines that
  // only pass near it at a small angle may meet far away), then puts it
  // exactly on the axes it lies on.
  GraphPoint Refine(const Vertex& v, const std::vector<int>& on) const {
    const GraphPoint p = v.p;
    GraphPoint refined = p;
    double best = 0;
    for (std::size_t i = 0; i < on.size(); ++i) {
      for (std::size_t j = i + 1; j < on.size(); ++j) {
        const double cross = std::abs(Cross(lines_[static_cast<std::size_t>(on[i])],
                                            lines_[static_cast<std::size_t>(on[j])]));
        Vertex at;
        if (cross > best && Intersect(on[i], on[j], at) &&
            std::hypot(at.p.x1 - p.x1, at.p.x2 - p.x2) <=
                std::max(Slack(on[i], v), Slack(on[j], v)) + Norm(at.rounding)) {
          best = cross;
          refined = at.p;
        }
      }
    }
    if (std::find(on.begin(), on.end(), 0) != on.end()) refined.x1 = 0;
    if (std::find(on.begin(), on.end(), 1) != on.end()) refined.x2 = 0;
    // The region lies in the first quadrant: a pair of steep lines that
    // meet a hair beyond an axis (within the slack) leaves the point on it.
    refined.x1 = std::max(refined.x1, 0.0);
    refined.x2 = std::max(refined.x2, 0.0);
    return refined;
  }

 private:
  Vertex Crossing(const Vertex& v, const Vertex& w, HalfPlane half, int edge) const {
    Vertex crossing;
    crossing.on = {v.edge, half.line};
    crossing.edge = edge;
    if (!Intersect(v.edge, half.line, crossing)) {
      // Only a degenerate edge gets here: cut it where the distance changes
      // sign.
      const double sv = Distance(half.line, v.p), sw = Distance(half.line, w.p);
      const double t = sv / (sv - sw);
      crossing.p = {v.p.x1 + t * (w.p.x1 - v.p.x1), v.p.x2 + t * (w.p.x2 - v.p.x2)};
      const double rounding = kRoundingTolerance * Norm(crossing.p);
      crossing.rounding = {rounding + std::max(v.rounding.x1, w.rounding.x1),
                           rounding + std::max(v.rounding.x2, w.rounding.x2)};
    }
    return crossing;
  }

  // Merges neighbours that coincide within the tolerance and drops vertices
  // where the boundary goes straight on.
  void Clean(Polygon& poly) const {
    bool changed = true;
    while (changed && poly.size() > 1) {
      changed = false;
      for (std::size_t i = 0; i < poly.size(); ++i) {
        const std::size_t j = (i + 1) % poly.size();
        if (Coincide(poly[i], poly[j])) {
          for (int line : poly[j].on) AddLine(poly[i].on, line);
          poly[i].edge = poly[j].edge;
          poly.erase(poly.begin() + static_cast<std::ptrdiff_t>(j));
          changed = true;
          break;
        }
      }
    }
    changed = true;
    while (changed && poly.size() >= 3) {
      changed = false;
      for (std::size_t i = 0; i < poly.size(); ++i) {
        const std::size_t prev = (i + poly.size() - 1) % poly.size();
        const std::size_t next = (i + 1) % poly.size();
        const GraphPoint a = poly[prev].p, b = poly[i].p, c = poly[next].p;
        const bool straight_on = (b.x1 - a.x1) * (c.x1 - b.x1) + (b.x2 - a.x2) * (c.x2 - b.x2) > 0;
        if (straight_on && Parallel(lines_[static_cast<std::size_t>(poly[prev].edge)],
                                    lines_[static_cast<std::size_t>(poly[i].edge)])) {
          poly.erase(poly.begin() + static_cast<std::ptrdiff_t>(i));
          changed = true;
          break;
        }
      }
    }
  }

  std::vector<Line> lines_;
};

// The unit direction of `line` that points from `from` toward `toward`.
GraphPoint DirectionAlong(const Line& line, GraphPoint from, GraphPoint toward) {
  GraphPoint u{-line.n2 + 0.0, line.n1 + 0.0};
  if (u.x1 * (toward.x1 - from.x1) + u.x2 * (toward.x2 - from.x2) < 0) {
    u = {-u.x1 + 0.0, -u.x2 + 0.0};
  }
  return u;
}

// The piece of the line a1·χ1 + a2·χ2 = b inside the box, if any. Each end
// lies exactly on the side of the box where the line leaves it.
bool LineInBox(double a1, double a2, double b, const GraphBox& box, GraphPoint& from,
               GraphPoint& to) {
  const Line line = MakeLine(0, a1, a2, b);
  if (!(std::hypot(line.a1, line.a2) > 0) || !std::isfinite(line.d)) return false;
  const double p0[2] = {line.d * line.n1, line.d * line.n2};
  const double u[2] = {-line.n2, line.n1};
  const double low_side[2] = {box.x1_min, box.x2_min};
  const double high[2] = {box.x1_max, box.x2_max};
  // The parameter along the line where it leaves the box at each end, and
  // the side there: axis i at value `bound`.
  struct End {
    double t;
    int axis = -1;
    double bound = 0;
  };
  End low{-std::numeric_limits<double>::infinity()}, up{std::numeric_limits<double>::infinity()};
  for (int i = 0; i < 2; ++i) {
    if (u[i] == 0) {
      const double slack = kRelativeTolerance * high[i];
      if (p0[i] < low_side[i] - slack || p0[i] > high[i] + slack) return false;
      continue;
    }
    End at0{(low_side[i] - p0[i]) / u[i], i, low_side[i]},
        at1{(high[i] - p0[i]) / u[i], i, high[i]};
    if (at0.t > at1.t) std::swap(at0, at1);
    if (at0.t > low.t) low = at0;
    if (at1.t < up.t) up = at1;
  }
  if (!(low.t <= up.t)) return false;
  auto point = [&](const End& end) {
    GraphPoint p;
    if (end.axis == 0) {
      p = {end.bound, (line.b - line.a1 * end.bound) / line.a2};
    } else if (end.axis == 1) {
      p = {(line.b - line.a2 * end.bound) / line.a1, end.bound};
    } else {
      p = {p0[0] + end.t * u[0], p0[1] + end.t * u[1]};
    }
    p.x1 = std::clamp(p.x1, box.x1_min, box.x1_max) + 0.0;
    p.x2 = std::clamp(p.x2, box.x2_min, box.x2_max) + 0.0;
    return p;
  };
  from = point(low);
  to = point(up);
  return true;
}

// c1·χ1 + c2·χ2 without overflow on the way (the sum may still be beyond
// the doubles) and with a zero coefficient counting nothing, even at a
// corner too far away for a double.
double ObjectiveAt(double c1, double c2, GraphPoint p) {
  long double sum = 0;
  if (c1 != 0) sum += static_cast<long double>(c1) * p.x1;
  if (c2 != 0) sum += static_cast<long double>(c2) * p.x2;
  return static_cast<double>(sum);
}

// Axis order first (χ1 = 0, χ2 = 0), then constraints ascending.
int LineOrder(int id) { return id == kLineChi1Zero ? 0 : (id == kLineChi2Zero ? 1 : 1 + id); }

void FitAxis(double extent, double& max, double& step) {
  double target = extent * kMargin;
  if (!std::isfinite(target)) target = extent;
  const double raw = target / 8;
  const double decade = std::floor(std::log10(raw));
  if (!(std::abs(decade) <= 307)) {
    // Near the ends of the doubles: five plain steps.
    step = target / 5;
    max = target;
    return;
  }
  const int k = static_cast<int>(decade);
  const double power = std::pow(10.0, std::abs(k));
  const double base = k >= 0 ? power : 1 / power;
  const double f = raw / base;
  const double m = f <= 1 ? 1 : (f <= 2 ? 2 : (f <= 5 ? 5 : 10));
  step = k >= 0 ? m * power : m / power;
  max = std::ceil(target / step) * step;
  if (!std::isfinite(max)) max = target;
}

// A row without coefficients, 0·χ1 + 0·χ2 against b.
struct ZeroRow {
  int index;
  double sign, b;
};

// The constraints as the region is worked out from them: the line table
// (the two axes, then every constraint with a nonzero coefficient; a working
// box's far sides come last), the half-planes the region lies in, the rows
// without coefficients, and the data's scale (the distance of the farthest
// line from the origin).
struct LineTable {
  std::vector<Line> lines = {MakeLine(kLineChi1Zero, 1, 0, 0), MakeLine(kLineChi2Zero, 0, 1, 0)};
  std::vector<HalfPlane> halves;
  std::vector<ZeroRow> zero_rows;
  double scale = 0;
};

// The constraint's line as the picture draws it, with the side it shades.
GraphConstraintLine DrawnLine(int index, double a1, double a2, double b, double sign,
                              const Line& line) {
  GraphConstraintLine drawn;
  drawn.index = index;
  drawn.a1 = a1;
  drawn.a2 = a2;
  drawn.b = b;
  drawn.sign = sign;
  if (sign == kLessEqual) drawn.infeasible_side = {line.n1 + 0.0, line.n2 + 0.0};
  if (sign == kGreaterEqual) drawn.infeasible_side = {-line.n1 + 0.0, -line.n2 + 0.0};
  return drawn;
}

// The line table of the problem's constraints; each constraint with a line
// is also drawn, into `drawn`.
LineTable ReadLines(const LpProblem& problem, std::vector<GraphConstraintLine>& drawn) {
  LineTable table;
  for (int i = 0; i < problem.constraints; ++i) {
    const double a1 = problem.Coefficient(i, 0), a2 = problem.Coefficient(i, 1);
    const double b = problem.rhs[static_cast<std::size_t>(i)];
    const double sign = problem.signs[static_cast<std::size_t>(i)];
    const Line line = MakeLine(i + 1, a1, a2, b);
    // Coefficients so small beside b that the line lies beyond every double
    // count as zero too.
    if ((a1 == 0 && a2 == 0) || !std::isfinite(line.b) || !std::isfinite(line.d)) {
      table.zero_rows.push_back({i + 1, sign, b});
      continue;
    }
    const int index = static_cast<int>(table.lines.size());
    table.lines.push_back(line);
    table.scale = std::max(table.scale, std::abs(line.d));
    if (sign != kGreaterEqual) table.halves.push_back({index, 1.0});
    if (sign != kLessEqual) table.halves.push_back({index, -1.0});
    drawn.push_back(DrawnLine(i + 1, a1, a2, b, sign, line));
  }
  if (table.scale == 0) table.scale = 1;  // only lines through the origin, or none
  return table;
}

// The region is worked out in units of a power of two near the data's
// scale, which keeps every intermediate value far from overflow and
// underflow; the corners come back exactly multiplied.
struct Units {
  int unit = 0;

  // (A drawing box far larger than the data, in these units, is cut to a
  // size that still leaves room for arithmetic.)
  double In(double x) const { return std::min(std::ldexp(x, -unit), 1e300); }
  // A point too far for a double (only lines near the ends of the doubles
  // get there) stays at the largest one.
  GraphPoint From(GraphPoint p) const {
    constexpr double kLargest = std::numeric_limits<double>::max();
    return GraphPoint{std::min(std::ldexp(p.x1, unit), kLargest),
                      std::min(std::ldexp(p.x2, unit), kLargest)};
  }
};

// Puts the constraints' lines (not the axes) in units of the data's scale.
Units ToUnits(LineTable& table) {
  const Units units{std::ilogb(table.scale)};
  for (std::size_t l = 2; l < table.lines.size(); ++l) {
    table.lines[l].b = std::ldexp(table.lines[l].b, -units.unit);
    table.lines[l].d = std::ldexp(table.lines[l].d, -units.unit);
  }
  return units;
}

// The first row without coefficients that never holds (0·χ1 + 0·χ2 against
// b; one that always holds is left out), or 0.
int ContradictoryZeroRow(const LineTable& table) {
  const double zero_tolerance = kScaleTolerance * table.scale;
  for (const ZeroRow& row : table.zero_rows) {
    const bool holds = row.sign == kLessEqual      ? row.b >= -zero_tolerance
                       : row.sign == kGreaterEqual ? row.b <= zero_tolerance
                                                   : std::abs(row.b) <= zero_tolerance;
    if (!holds) return row.index;
  }
  return 0;
}

// The region inside the box [0, x1_max] × [0, x2_max], with the clipper
// whose table holds the box's far sides too (they come last: right, top).
std::pair<RegionClipper, Polygon> ClipToBox(const RegionClipper& clipper,
                                            const std::vector<HalfPlane>& halves, double x1_max,
                                            double x2_max) {
  RegionClipper box_clipper = clipper;
  const int right = box_clipper.AddBoxLine(0, 1, 0, x1_max);
  const int top = box_clipper.AddBoxLine(0, 0, 1, x2_max);
  Polygon poly = box_clipper.Box(x1_max, x2_max, right, top);
  for (const HalfPlane& half : halves) {
    if (poly.empty()) break;
    poly = box_clipper.Clip(poly, half);
  }
  return std::make_pair(std::move(box_clipper), std::move(poly));
}

// The region within the working box that stands in for "far away": each
// vertex with every line through it, refined, unless it is `artificial`,
// made by the box's far sides (the region goes on beyond them).
struct FarRegion {
  RegionClipper clipper;
  Polygon poly;
  std::vector<bool> artificial;
};

FarRegion ClipFar(const RegionClipper& clipper, const std::vector<HalfPlane>& halves) {
  auto [far_clipper, poly] = ClipToBox(clipper, halves, kFarFactor * 2, kFarFactor * 2);
  const int right = static_cast<int>(far_clipper.lines().size()) - 2;
  const int top = right + 1;
  std::vector<bool> artificial(poly.size());
  for (std::size_t i = 0; i < poly.size(); ++i) {
    std::vector<int> on = far_clipper.LinesThrough(poly[i]);
    for (int line : poly[i].on) AddLine(on, line);
    artificial[i] = std::find(on.begin(), on.end(), right) != on.end() ||
                    std::find(on.begin(), on.end(), top) != on.end();
    if (!artificial[i]) poly[i].p = far_clipper.Refine(poly[i], on);
    poly[i].on = std::move(on);
  }
  return {std::move(far_clipper), std::move(poly), std::move(artificial)};
}

// Where the corners start: for a bounded region the lowest (then leftmost)
// vertex; for an unbounded one the first after the far side, or the
// polygon's size when there is none.
std::size_t FirstCorner(const FarRegion& region, bool unbounded) {
  const Polygon& poly = region.poly;
  const std::size_t k = poly.size();
  if (unbounded) {
    for (std::size_t i = 0; i < k; ++i) {
      if (!region.artificial[i] && region.artificial[(i + k - 1) % k]) return i;
    }
    return k;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i < k; ++i) {
    const GraphPoint p = poly[i].p, s = poly[start].p;
    if (p.x2 < s.x2 || (p.x2 == s.x2 && p.x1 < s.x1)) start = i;
  }
  return start;
}

// A vertex of the region as the picture lists it: the point, the
// objective's value there, and the lines through it in axis-first order.
GraphCorner CornerOf(const GraphGeometry& g, const std::vector<Line>& table, const Units& units,
                     const Vertex& v) {
  GraphCorner corner;
  corner.point = units.From(v.p);
  corner.value = ObjectiveAt(g.c1, g.c2, corner.point);
  for (int line : v.on) {
    const int id = table[static_cast<std::size_t>(line)].id;
    if (id != 0 && std::find(corner.lines.begin(), corner.lines.end(), id) == corner.lines.end())
      corner.lines.push_back(id);
  }
  std::sort(corner.lines.begin(), corner.lines.end(),
            [](int a, int b) { return LineOrder(a) < LineOrder(b); });
  return corner;
}

// The kind of region and its corners in order; an unbounded region also
// gets the directions in which it goes on past its first and last corner.
void TraceRegion(GraphGeometry& g, const FarRegion& region, const Units& units) {
  const Polygon& poly = region.poly;
  const std::size_t k = poly.size();
  const bool unbounded = std::find(region.artificial.begin(), region.artificial.end(), true) !=
                         region.artificial.end();
  const std::size_t start = FirstCorner(region, unbounded);
  const auto& table = region.clipper.lines();
  if (k == 0 || (unbounded && start == k)) {
    // No corner: a region in the first quadrant always has one, unless it
    // lies beyond the working box (where only lines at an angle too small
    // to tell from parallel meet) or all that is left of it is a trace of
    // rounding on the box's far sides. Either way, nothing to show.
    g.region = GraphRegion::Empty;
    return;
  }
  if (!unbounded) {
    g.region = GraphRegion::Bounded;
    for (std::size_t n = 0; n < k; ++n)
      g.corners.push_back(CornerOf(g, table, units, poly[(start + n) % k]));
    return;
  }
  g.region = GraphRegion::Unbounded;
  std::size_t last = start;
  for (std::size_t n = 0; n < k && !region.artificial[(start + n) % k]; ++n) {
    last = (start + n) % k;
    g.corners.push_back(CornerOf(g, table, units, poly[last]));
  }
  const Vertex& before = poly[(start + k - 1) % k];
  const Vertex& after = poly[(last + 1) % k];
  g.open_first =
      DirectionAlong(table[static_cast<std::size_t>(before.edge)], poly[start].p, before.p);
  g.open_last =
      DirectionAlong(table[static_cast<std::size_t>(poly[last].edge)], poly[last].p, after.p);
}

// The objective over the region: the outcome and, when there is an
// optimum, its value and the corners (and rays) that reach it. Returns the
// best corner (0 when there is none).
std::size_t FindOptimum(GraphGeometry& g) {
  const double c_norm = std::hypot(g.c1, g.c2);
  const double p = SenseSign(g.sense);
  auto gain = [&](GraphPoint d) { return p * (g.c1 * d.x1 + g.c2 * d.x2); };
  std::size_t best = 0;
  double far_point = 0;
  for (std::size_t i = 0; i < g.corners.size(); ++i) {
    far_point = std::max(far_point, Norm(g.corners[i].point));
    if (p * g.corners[i].value > p * g.corners[best].value) best = i;
  }
  const double direction_tolerance = kRelativeTolerance * c_norm;
  if (g.region == GraphRegion::Empty) {
    g.outcome = GraphOutcome::Empty;
    return best;
  }
  if (g.region == GraphRegion::Unbounded &&
      (g.corners.empty() ||
       std::max(gain(g.open_first), gain(g.open_last)) > direction_tolerance)) {
    g.outcome = GraphOutcome::Unbounded;
    return best;
  }
  g.outcome = GraphOutcome::Optimal;
  // Values beyond the doubles tie only when equal.
  double value_tolerance = kRelativeTolerance * c_norm * far_point;
  if (!std::isfinite(value_tolerance)) value_tolerance = 0;
  g.optimum.value = g.corners[best].value;
  for (std::size_t i = 0; i < g.corners.size(); ++i) {
    if (i == best || p * g.corners[i].value >= p * g.optimum.value - value_tolerance) {
      g.optimum.corners.push_back(static_cast<int>(i));
    }
  }
  if (g.region == GraphRegion::Unbounded) {
    g.optimum.along_first_ray =
        g.optimum.corners.front() == 0 && gain(g.open_first) >= -direction_tolerance;
    g.optimum.along_last_ray = g.optimum.corners.back() == static_cast<int>(g.corners.size()) - 1 &&
                               gain(g.open_last) >= -direction_tolerance;
  }
  return best;
}

// The drawing box, the region readable in it, the lines clipped to it, and
// the objective's level line through the best corner.
void FrameDrawing(GraphGeometry& g, const RegionClipper& clipper,
                  const std::vector<HalfPlane>& halves, const Units& units, std::size_t best) {
  g.box = FrameGraph(g);
  for (GraphConstraintLine& line : g.lines) {
    line.visible = LineInBox(line.a1, line.a2, line.b, g.box, line.from, line.to);
  }
  if (g.region != GraphRegion::Empty) {
    const auto [box_clipper, shaded] =
        ClipToBox(clipper, halves, units.In(g.box.x1_max), units.In(g.box.x2_max));
    for (const Vertex& v : shaded) g.shaded.push_back(units.From(v.p));
    // Inside the box, also where rounding put a point a hair outside.
    g.shaded = ClipToFrame(g.shaded, g.box);
  }
  if (!g.corners.empty() && std::hypot(g.c1, g.c2) > 0) {
    g.level_point = g.corners[best].point;
    const double level = ObjectiveAt(g.c1, g.c2, g.level_point);
    g.has_level_line = LineInBox(g.c1, g.c2, level, g.box, g.level_from, g.level_to);
  }
}

}  // namespace

GraphBox NiceGraphBox(double e1, double e2) {
  // Extents near the smallest doubles leave no room for steps: nothing to
  // show.
  auto usable = [](double e) { return std::isfinite(e) && e >= 1e-305; };
  if (!usable(e1)) e1 = usable(e2) ? e2 : 1;
  if (!usable(e2)) e2 = e1;
  GraphBox box;
  FitAxis(e1, box.x1_max, box.x1_step);
  FitAxis(e2, box.x2_max, box.x2_step);
  return box;
}

GraphGeometry ComputeGraph(const LpProblem& problem) {
  if (problem.variables != 2) {
    throw std::invalid_argument("the graphical method needs exactly two variables");
  }
  GraphGeometry g;
  g.sense = problem.sense;
  g.c1 = problem.objective[0];
  g.c2 = problem.objective[1];
  LineTable table = ReadLines(problem, g.lines);
  const Units units = ToUnits(table);
  g.contradictory_zero_row = ContradictoryZeroRow(table);
  const RegionClipper clipper(table.lines);
  if (g.contradictory_zero_row == 0) TraceRegion(g, ClipFar(clipper, table.halves), units);
  const std::size_t best = FindOptimum(g);
  FrameDrawing(g, clipper, table.halves, units, best);
  return g;
}

}  // namespace orcalc::lp
