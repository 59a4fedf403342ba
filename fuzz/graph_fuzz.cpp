// The graphical method's geometry on two-variable problems decoded from the
// input, with numbers from 0 to the ends of the doubles: never crash, no NaN
// corner, a usable drawing box, an optimum that names its corners, and texts
// in valid UTF-8.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/sheet_file.h"
#include "geometry/graph_geometry.h"
#include "geometry/graph_text.h"

namespace {

const double kNumbers[] = {0,     1,      -1,     2,        3,   -2.5,   0.5,   4,
                           6,     10,     -10,    1e-9,     1e9, 1e-300, 1e300, -1e300,
                           1e308, -1e308, 5e-324, 2.2e-308, 1.5, 7,      -3,    100,
                           0.1,   1e15,   -1e-15, 0.3,      12,  -0.5,   8,     1e20};
constexpr std::size_t kNumberCount = sizeof kNumbers / sizeof kNumbers[0];

struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::uint8_t Next() { return at < size ? data[at++] : 0; }
  double Number() { return kNumbers[Next() % kNumberCount]; }
};

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  const int n = in.Next() % 13;
  orcalc::lp::LpProblem problem;
  problem.Resize(2, n);
  problem.sense = (in.Next() & 1) ? orcalc::lp::Sense::Maximise : orcalc::lp::Sense::Minimise;
  problem.objective = {in.Number(), in.Number()};
  for (int i = 0; i < n; ++i) {
    const auto row = static_cast<std::size_t>(i);
    problem.coefficients[2 * row] = in.Number();
    problem.coefficients[2 * row + 1] = in.Number();
    problem.signs[row] = static_cast<double>(in.Next() % 3) - 1;
    problem.rhs[row] = in.Number();
  }
  orcalc::lp::NormaliseRightHandSides(problem);

  const orcalc::lp::GraphGeometry g = orcalc::lp::ComputeGraph(problem);
  for (const orcalc::lp::GraphCorner& corner : g.corners) {
    Check(!std::isnan(corner.point.x1) && !std::isnan(corner.point.x2));
    Check(corner.point.x1 >= 0 && corner.point.x2 >= 0);
  }
  for (const orcalc::lp::GraphPoint& p : g.shaded) {
    Check(p.x1 >= g.box.x1_min && p.x1 <= g.box.x1_max * (1 + 1e-9));
    Check(p.x2 >= g.box.x2_min && p.x2 <= g.box.x2_max * (1 + 1e-9));
  }
  Check(std::isfinite(g.box.x1_max) && g.box.x1_max > 0 && g.box.x1_step > 0);
  Check(std::isfinite(g.box.x2_max) && g.box.x2_max > 0 && g.box.x2_step > 0);
  Check(g.box.x1_min >= 0 && g.box.x1_min < g.box.x1_max);
  Check(g.box.x2_min >= 0 && g.box.x2_min < g.box.x2_max);
  Check((g.region == orcalc::lp::GraphRegion::Empty) ==
        (g.outcome == orcalc::lp::GraphOutcome::Empty));
  if (g.outcome == orcalc::lp::GraphOutcome::Optimal) {
    Check(!g.optimum.corners.empty());
    for (int index : g.optimum.corners)
      Check(index >= 0 && static_cast<std::size_t>(index) < g.corners.size());
  }
  Check(orcalc::IsValidUtf8(orcalc::lp::GraphListing(g)));
  Check(orcalc::IsValidUtf8(orcalc::lp::GraphOptimumLabel(g)));
  return 0;
}
