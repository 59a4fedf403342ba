// The drawing box of the graphical method: a table of regions with the box
// each must get (a far redundant line, a region away from the origin, open
// and empty regions), and, over many random problems, the region's share of
// the box, and the corners, lines and shading inside it.
#include "geometry/graph_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "geometry/graph_text.h"
#include "lp/lp_rows.h"

namespace orcalc::lp {
namespace {

using Row = std::vector<double>;  // a1, a2, sign code, b

GraphGeometry Graph(Sense sense, double c1, double c2, const std::vector<Row>& rows) {
  return ComputeGraph(Normalised(MakeProblem(sense, {c1, c2}, rows)));
}

// The region's extent over the box's along each axis.
std::array<double, 2> Shares(const GraphGeometry& g) {
  double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
  for (const GraphCorner& c : g.corners) {
    lo[0] = std::min(lo[0], c.point.x1), hi[0] = std::max(hi[0], c.point.x1);
    lo[1] = std::min(lo[1], c.point.x2), hi[1] = std::max(hi[1], c.point.x2);
  }
  return {(hi[0] - lo[0]) / (g.box.x1_max - g.box.x1_min),
          (hi[1] - lo[1]) / (g.box.x2_max - g.box.x2_min)};
}

struct FrameRow {
  const char* what;
  Sense sense;
  double c1, c2;
  std::vector<Row> rows;
  GraphBox box;  // min1, min2, max1, max2, step1, step2
};

TEST(GraphFrame, BoxesOfTextbookAndAwkwardRegions) {
  const FrameRow table[] = {
      // clang-format off
      // The intercepts 6 and 4 stay in: the region keeps 4/7 and 2/5.
      {"the worked example", kMax, 3, 2, {{1, 1, LE, 4}, {1, 3, LE, 6}}, {0, 0, 7, 5, 1, 1}},
      // The line at 1,000,000 is drawn clipped (here: not at all).
      {"a far redundant line", kMax, 3, 2, {{1, 0, LE, 6}, {0, 1, LE, 2}, {1, 1, LE, 1e6}}, {0, 0, 7, 2.5, 1, 0.5}},
      {"a far line among others", kMax, 1, 1, {{1, 3, LE, 6000}, {2, 3, LE, 6500}, {1, 0, LE, 500}, {1, 0, LE, 1e9}}, {0, 0, 600, 2500, 100, 500}},
      // The origin would leave the region less than 40 %: a tick below it.
      {"away from the origin", kMin, 1, 2, {{1, 0, GE, 1000}, {1, 0, LE, 1006}, {0, 1, GE, 1000}, {1, 1, LE, 2005}}, {999, 999, 1006, 1006, 1, 1}},
      {"away along one axis", kMax, 1, 1, {{1, 0, GE, 50}, {1, 0, LE, 60}, {0, 1, LE, 10}}, {48, 0, 62, 12, 2, 2}},
      // Open: framed by the corners, the margin shows the rest.
      {"an open region", kMin, 1, 1, {{1, 1, GE, 2}}, {0, 0, 2.5, 2.5, 0.5, 0.5}},
      {"an open region and a far line", kMin, 1, 1, {{1, 1, GE, 2}, {1, 0, LE, 5}, {1, -1, LE, 1e7}}, {0, 0, 6, 2.5, 1, 0.5}},
      // Empty: the lines are all there is, every intercept is shown.
      {"an empty region", kMax, 1, 1, {{1, 1, LE, 1}, {1, 1, GE, 300}}, {0, 0, 350, 350, 50, 50}},
      // A vertical segment: the χ1 axis shows as much as the χ2 axis.
      {"a vertical segment", kMax, 0, 1, {{1, 0, EQ, 3}, {0, 1, LE, 2}, {0, 1, LE, 1e6}}, {0, 0, 3.5, 2.5, 0.5, 0.5}},
      // clang-format on
  };
  for (const FrameRow& row : table) {
    SCOPED_TRACE(row.what);
    const GraphBox box = Graph(row.sense, row.c1, row.c2, row.rows).box;
    EXPECT_NEAR(box.x1_min, row.box.x1_min, 1e-9);
    EXPECT_NEAR(box.x2_min, row.box.x2_min, 1e-9);
    EXPECT_NEAR(box.x1_max, row.box.x1_max, 1e-9);
    EXPECT_NEAR(box.x2_max, row.box.x2_max, 1e-9);
    EXPECT_NEAR(box.x1_step, row.box.x1_step, 1e-9);
    EXPECT_NEAR(box.x2_step, row.box.x2_step, 1e-9);
  }
}

TEST(GraphFrame, ShadingAwayFromTheOriginStaysInTheBox) {
  const GraphGeometry g =
      Graph(kMin, 1, 2, {{1, 0, GE, 1000}, {1, 0, LE, 1006}, {0, 1, GE, 1000}, {1, 1, LE, 2005}});
  // The triangle itself: the box cuts nothing off.
  ASSERT_EQ(g.shaded.size(), 3u);
  EXPECT_NE(std::find(g.shaded.begin(), g.shaded.end(), GraphPoint{1000, 1000}), g.shaded.end());
  // The level line χ1 + 2χ2 = 3000 leaves the box at its lower side.
  ASSERT_TRUE(g.has_level_line);
  EXPECT_NEAR(std::min(g.level_from.x2, g.level_to.x2), 999, 1e-9);
  // An open region shaded from a box that leaves the origin out.
  const GraphGeometry open = Graph(kMin, 1, 1, {{1, 0, GE, 100}, {1, 0, LE, 110}, {0, 1, GE, 5}});
  EXPECT_GT(open.box.x1_min, 0);
  for (const GraphPoint& p : open.shaded) {
    EXPECT_GE(p.x1, open.box.x1_min);
    EXPECT_LE(p.x1, open.box.x1_max);
  }
}

// Small whole coefficients; now and then a far line, a shift away from the
// origin or rows in large or small units.
std::vector<Row> RandomRows(std::mt19937_64& random) {
  auto uniform = [&](int lo, int hi) {
    return static_cast<double>(std::uniform_int_distribution<int>(lo, hi)(random));
  };
  const double unit = std::pow(10.0, uniform(-6, 6));
  std::vector<Row> rows;
  const int count = static_cast<int>(uniform(1, 6));
  for (int i = 0; i < count; ++i) {
    const double sign = uniform(0, 5) == 0 ? EQ : (uniform(0, 2) == 0 ? GE : LE);
    rows.push_back({uniform(-5, 5), uniform(-5, 5), sign, uniform(-5, 30) * unit});
  }
  if (uniform(0, 2) == 0) rows.push_back({uniform(0, 3), uniform(1, 3), LE, 1e6 * unit});
  if (uniform(0, 3) == 0) rows.push_back({1, 0, GE, uniform(20, 5000) * unit});
  if (uniform(0, 3) == 0) rows.push_back({0, 1, GE, uniform(20, 5000) * unit});
  return rows;
}

TEST(GraphFrame, TheRegionFillsAtLeastTwoFifthsOfTheBox) {
  std::mt19937_64 random(4040);
  int bounded = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    const GraphGeometry g = Graph(trial % 2 ? kMax : kMin, 1, 2, RandomRows(random));
    SCOPED_TRACE(::testing::Message() << "trial " << trial << "\n" << GraphListing(g));
    const GraphBox& box = g.box;
    ASSERT_TRUE(std::isfinite(box.x1_max) && std::isfinite(box.x2_max));
    ASSERT_TRUE(box.x1_min >= 0 && box.x1_min < box.x1_max && box.x1_step > 0);
    ASSERT_TRUE(box.x2_min >= 0 && box.x2_min < box.x2_max && box.x2_step > 0);
    const double slack1 = 1e-9 * box.x1_max, slack2 = 1e-9 * box.x2_max;
    for (const GraphCorner& c : g.corners) {
      EXPECT_TRUE(c.point.x1 >= box.x1_min - slack1 && c.point.x1 <= box.x1_max + slack1);
      EXPECT_TRUE(c.point.x2 >= box.x2_min - slack2 && c.point.x2 <= box.x2_max + slack2);
    }
    for (const GraphPoint& p : g.shaded) {
      EXPECT_TRUE(p.x1 >= box.x1_min && p.x1 <= box.x1_max && p.x2 >= box.x2_min &&
                  p.x2 <= box.x2_max);
    }
    for (const GraphConstraintLine& line : g.lines) {
      if (!line.visible) continue;
      for (const GraphPoint& p : {line.from, line.to}) {
        EXPECT_TRUE(p.x1 >= box.x1_min && p.x1 <= box.x1_max && p.x2 >= box.x2_min &&
                    p.x2 <= box.x2_max);
      }
    }
    // Bounded and not a point: at least 40 % of the width or the height.
    if (g.region != GraphRegion::Bounded || g.corners.size() < 2) continue;
    ++bounded;
    const auto [share1, share2] = Shares(g);
    EXPECT_GE(std::max(share1, share2), 0.4 - 1e-9) << share1 << " " << share2;
  }
  EXPECT_GT(bounded, 2000);
}

// The picture's numbers: 6 significant digits; the listing's stay whole.
TEST(GraphText, NumbersInThePictureHaveSixSignificantDigits) {
  const struct {
    double value;
    const char* six;
  } table[] = {
      // clang-format off
      {1833.33333333333, "1833.33"}, {2.875, "2.875"}, {500, "500"}, {0, "0"},
      {-0.000123456789, "-0.000123457"}, {1e20 / 3, "3.33333E+19"}, {999999.5, "1000000"},
      // clang-format on
  };
  for (const auto& row : table) EXPECT_EQ(GraphNumber(row.value, 6), row.six) << row.value;
  EXPECT_EQ(GraphNumber(1833.33333333333), "1833.33333333333");
  const GraphGeometry g = Graph(kMax, 1, 1, {{1, 3, LE, 6000}, {2, 3, LE, 6500}, {1, 0, LE, 500}});
  EXPECT_EQ(GraphOptimumLabel(g, 6), "最优解 (500, 1833.33)，S = 2333.33");
  EXPECT_EQ(GraphListing(g).substr(GraphListing(g).rfind("optimum")),
            "optimum 500 1833.33333333333 2333.33333333333\n");
}

}  // namespace
}  // namespace orcalc::lp
