// A child's relaxation from its parent's basis by the dual simplex method
// gives the simplex method's own verdict and S, certified.
#include "integer/dual_warm_start.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "lp/lp_rows.h"

namespace orcalc::integer {
namespace {

using lp::EQ;
using lp::GE;
using lp::kMax;
using lp::kMin;
using lp::LE;

struct WarmRow {
  std::string what;
  lp::LpProblem parent;
  // The child: the parent's rows with these right-hand sides.
  std::vector<double> child_rhs;
  friend void PrintTo(const WarmRow& row, std::ostream* os) { *os << row.what; }
};

class WarmStarts : public ::testing::TestWithParam<WarmRow> {};

TEST_P(WarmStarts, AgreeWithTheSimplexMethodFromScratch) {
  const WarmRow& c = GetParam();
  lp::LpProblem parent = c.parent;
  lp::NormaliseRightHandSides(parent);
  const lp::SimplexResult start = lp::SolveSimplex(parent);
  ASSERT_EQ(start.outcome, lp::SimplexOutcome::Optimal);
  lp::LpProblem child = c.parent;
  child.rhs = c.child_rhs;
  lp::NormaliseRightHandSides(child);
  const lp::SimplexResult scratch = lp::SolveSimplex(child);
  const std::optional<lp::SimplexResult> warm = SolveFromBasis(child, start.basis);
  ASSERT_TRUE(warm.has_value());
  EXPECT_TRUE(warm->certified);
  EXPECT_EQ(warm->outcome, scratch.outcome);
  if (scratch.outcome == lp::SimplexOutcome::Optimal) {
    EXPECT_NEAR(warm->objective, scratch.objective,
                1e-9 * std::max(1.0, std::fabs(scratch.objective)));
  }
}

// The last row of each parent is a branch's bound; the child tightens it.
INSTANTIATE_TEST_SUITE_P(
    Integer, WarmStarts,
    // clang-format off
    ::testing::Values(
        WarmRow{"bound tightened", lp::MakeProblem(kMax, {5, 4}, {{6, 4, LE, 24}, {1, 2, LE, 6}, {1, 0, LE, 10}}), {24, 6, 3}},
        WarmRow{"bound row to 0", lp::MakeProblem(kMax, {5, 4}, {{6, 4, LE, 24}, {1, 2, LE, 6}, {0, 1, LE, 10}}), {24, 6, 0}},
        WarmRow{"shifted right-hand side", lp::MakeProblem(kMin, {2, 3}, {{1, 1, GE, 4}, {1, 3, GE, 6}, {1, 0, LE, 9}}), {3, 5, 1}},
        WarmRow{"equality row", lp::MakeProblem(kMax, {1, 2, 1}, {{1, 1, 1, EQ, 5}, {0, 1, 0, LE, 4}, {1, 0, 0, LE, 10}}), {5, 4, 0.5}},
        WarmRow{"becomes infeasible", lp::MakeProblem(kMax, {1, 1}, {{1, 1, GE, 4}, {1, 0, LE, 3}, {0, 1, LE, 3}}), {4, 1, 1}}));
// clang-format on

}  // namespace
}  // namespace orcalc::integer
