// The simplex method: its written choices and outcomes, and the guards
// against cycling, a degenerate end of phase 1 and the iteration limit.
#include "lp/simplex_solver.h"

#include <gtest/gtest.h>

#include "common/number_text.h"
#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

using testing::MakeProblem;
using Messages = std::vector<std::string>;
constexpr double kMax = 1, kMin = -1, LE = kLessEqual, GE = kGreaterEqual, EQ = kEqual;
const std::string kNoOptimum = "无最优解！", kUnbounded = "无解！",
                  kLimit = "迭代次数超过限制，未求得最优解！";

struct Case {
  const char* what;
  LpProblem problem;
  double objective;
  std::vector<double> x;
  Messages messages;
  long pivots = -1;  // -1: not checked
};

TEST(Simplex, WrittenChoicesAndOutcomes) {
  // clang-format off
  const std::vector<Case> cases = {
      {"one pivot, ratio 4 against 6", MakeProblem(kMax, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}}), 12, {4, 0}, {}, 1},
      {"nothing improves", MakeProblem(kMin, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}}), 0, {0, 0}, {}, 0},
      {"phase 1 then phase 2", MakeProblem(kMin, {1, 3}, {{1, 1, GE, 2}}), 2, {2, 0}, {}},
      {"equalities", MakeProblem(kMax, {1, 0}, {{1, 1, EQ, 3}, {1, -1, EQ, 1}}), 2, {2, 1}, {}},
      {"contradictory: phase-1 point", MakeProblem(kMax, {1}, {{1, LE, 1}, {1, GE, 3}}), 1, {1}, {kNoOptimum}},
      {"one message per row", MakeProblem(kMax, {1}, {{1, LE, 1}, {1, GE, 3}, {1, GE, 5}}), 1, {1}, {kNoOptimum, kNoOptimum}},
      {"unbounded after a pivot", MakeProblem(kMax, {1, 0}, {{1, -1, LE, 1}}), 1, {1, 0}, {kUnbounded}, 1},
      {"no constraints, unbounded", MakeProblem(kMax, {0, 2}, {}), 0, {0, 0}, {kUnbounded}},
      {"no constraints", MakeProblem(kMin, {0, 2}, {}), 0, {0, 0}, {}},
      {"nothing at all", MakeProblem(kMax, {}, {}), 0, {}, {}},
      // Equal ratios: the earlier row leaves (the later one needs a second, degenerate pivot).
      {"ratio tie", MakeProblem(kMax, {1, 0}, {{1, 1, LE, 2}, {1, -1, LE, 2}}), 2, {2, 0}, {}, 1},
      {"columns within epsilon", MakeProblem(kMax, {1, 1.00005}, {{1, 1, LE, 1}}), 1, {1, 0}, {}},
      {"column better by more", MakeProblem(kMax, {1, 1.0002}, {{1, 1, LE, 1}}), 1.0002, {0, 1}, {}},
      // Equal phase-1 entries: the objective row picks x2 at once.
      {"phase-1 tie-break", MakeProblem(kMin, {3, 1}, {{1, 1, GE, 2}}), 2, {0, 2}, {}, 1},
      // 0 x1 >= 0 leaves an artificial variable at 0 with a positive phase-1
      // entry: the problem is feasible and phase 2 must still run...
      {"degenerate end of phase 1", MakeProblem(kMax, {4}, {{0, GE, 0}, {1, LE, 2}}), 8, {2}, {}},
      // ...with x2's column barred: entering it would lift the artificial
      // variable of -x2 = 0 off 0.
      {"barred column", MakeProblem(kMax, {1, 2}, {{0, -1, EQ, 0}, {1, 1, LE, 4}}), 4, {4, 0}, {}},
      {"positive artificial skips phase 2", MakeProblem(kMax, {4}, {{0, GE, 1}, {1, LE, 2}}), 0, {0}, {kNoOptimum}},
  };
  // clang-format on
  for (const Case& c : cases) {
    const SimplexResult r = SolveSimplex(c.problem);
    EXPECT_DOUBLE_EQ(r.objective, c.objective) << c.what;
    ASSERT_EQ(r.x.size(), c.x.size()) << c.what;
    for (std::size_t j = 0; j < c.x.size(); ++j)
      EXPECT_DOUBLE_EQ(r.x[j], c.x[j]) << c.what << " x" << j + 1;
    EXPECT_EQ(r.messages, c.messages) << c.what;
    if (c.pivots >= 0) {
      EXPECT_EQ(r.pivots, c.pivots) << c.what;
    }
  }
}

LpProblem Beale() {
  return MakeProblem(kMin, {-0.75, 20, -0.5, 6},
                     {{0.25, -8, -1, 9, LE, 0}, {0.5, -12, -0.5, 3, LE, 0}, {0, 0, 1, 0, LE, 1}});
}

TEST(Simplex, CyclingEndsWithBlandsRule) {
  // Six pivots around the cycle back to the starting basis, Bland's rule
  // for four degenerate pivots and one that moves, then one more.
  const SimplexResult r = SolveSimplex(Beale());
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.pivots, 12);
  EXPECT_EQ(r.bland_pivots, 5);
  EXPECT_EQ(PlainNumber(r.objective), "-1.25");
  EXPECT_NEAR(r.x[0], 1, 2e-15);
  EXPECT_EQ(SignedNumber(r.x[2]), " 1");
  EXPECT_EQ(r.x[1] + r.x[3], 0);

  // Unguarded, it comes round every six pivots until the limit.
  const SimplexResult cycled =
      SolveSimplex(Beale(), {.iteration_limit = 301, .anti_cycling = false});
  EXPECT_EQ(cycled.pivots, 300);
  EXPECT_EQ(cycled.messages, Messages{kLimit});
  EXPECT_EQ(cycled.objective, 0);
}

TEST(Simplex, IterationLimit) {
  // A pivot and the end of phase 2 are two iterations: the counter must be
  // allowed to reach 3.
  const Sheet sheet = testing::MakeSheet(
      2, {"3", "2"}, {{"1", "1", testing::kLe, "4"}, {"1", "3", testing::kLe, "6"}});
  EXPECT_TRUE(testing::CalculateSheet(sheet, 2, 2, Sense::Maximise, 3).messages.empty());
  CalculationOutcome outcome = testing::CalculateSheet(sheet, 2, 2, Sense::Maximise, 2);
  EXPECT_EQ(outcome.messages, Messages{kLimit});
  EXPECT_TRUE(outcome.report->ends_with("χ1 =  4\r\nχ2 =  0\r\n"));

  // The limit's message comes before the feasibility messages.
  const Sheet two_ge = testing::MakeSheet(
      2, {"1", "1"}, {{"1", "0", testing::kGe, "2"}, {"0", "1", testing::kGe, "3"}});
  outcome = testing::CalculateSheet(two_ge, 2, 2, Sense::Minimise, 2);
  EXPECT_EQ(outcome.messages, (Messages{kLimit, kNoOptimum}));
  EXPECT_TRUE(outcome.report->ends_with("χ1 =  2\r\nχ2 =  0\r\n"));
  EXPECT_TRUE(testing::CalculateSheet(two_ge, 2, 2, Sense::Minimise).messages.empty());
}

}  // namespace
}  // namespace orcalc::lp
