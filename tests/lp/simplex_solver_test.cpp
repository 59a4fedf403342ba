// The simplex method: its written choices, its outcomes, and the guards
// against cycling, a degenerate end of phase 1 and the iteration limit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "common/number_text.h"
#include "lp/simplex_solver.h"
#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

using testing::MakeProblem;

constexpr double kMax = 1.0;
constexpr double kMin = -1.0;
constexpr double LE = kLessEqual;
constexpr double GE = kGreaterEqual;
constexpr double EQ = kEqual;

using Messages = std::vector<std::string>;

TEST(Simplex, WrittenExamples) {
  // One pivot on column 1, row 2 (ratio 4 against 6).
  SimplexResult r = SolveSimplex(MakeProblem(kMax, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}}));
  EXPECT_EQ(r.objective, 12);
  EXPECT_EQ(r.x, (std::vector<double>{4, 0}));
  EXPECT_EQ(r.pivots, 1);
  EXPECT_EQ(r.phase1_pivots, 0);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.end, SimplexEnd::Optimal);

  // Minimising the same: no column below -epsilon.
  r = SolveSimplex(MakeProblem(kMin, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}}));
  EXPECT_EQ(r.objective, 0);
  EXPECT_EQ(r.x, (std::vector<double>{0, 0}));
  EXPECT_EQ(r.pivots, 0);

  // A >= row: phase 1, then phase 2.
  r = SolveSimplex(MakeProblem(kMin, {1, 1}, {{1, 1, GE, 2}}));
  EXPECT_EQ(r.objective, 2);
  EXPECT_EQ(r.phase1_pivots, 1);
  EXPECT_TRUE(r.messages.empty());

  // Equality rows need phase 1 too: x1 + x2 = 3, x1 - x2 = 1.
  r = SolveSimplex(MakeProblem(kMax, {1, 0}, {{1, 1, EQ, 3}, {1, -1, EQ, 1}}));
  EXPECT_DOUBLE_EQ(r.objective, 2);
  EXPECT_DOUBLE_EQ(r.x[0], 2);
  EXPECT_DOUBLE_EQ(r.x[1], 1);
  EXPECT_TRUE(r.messages.empty());
}

TEST(Simplex, FailureMessagesAndThePointReported) {
  // Contradictory rows: phase 2 never runs; the phase-1 point is reported.
  SimplexResult r = SolveSimplex(MakeProblem(kMax, {1}, {{1, LE, 1}, {1, GE, 3}}));
  EXPECT_EQ(r.messages, Messages{"无最优解！"});
  EXPECT_EQ(r.end, SimplexEnd::Phase1Stuck);
  EXPECT_EQ(r.x, std::vector<double>{1});
  EXPECT_EQ(r.objective, 1);

  // One message per row left with a positive artificial variable.
  r = SolveSimplex(MakeProblem(kMax, {1}, {{1, LE, 1}, {1, GE, 3}, {1, GE, 5}}));
  EXPECT_EQ(r.messages, (Messages{"无最优解！", "无最优解！"}));

  // Unbounded after one pivot: the point reached is still reported.
  r = SolveSimplex(MakeProblem(kMax, {1, 0}, {{1, -1, LE, 1}}));
  EXPECT_EQ(r.messages, Messages{"无解！"});
  EXPECT_EQ(r.end, SimplexEnd::Unbounded);
  EXPECT_EQ(r.x, (std::vector<double>{1, 0}));
  EXPECT_EQ(r.objective, 1);

  // No constraints: unbounded when any column improves, else all zero.
  r = SolveSimplex(MakeProblem(kMax, {0, 2}, {}));
  EXPECT_EQ(r.messages, Messages{"无解！"});
  r = SolveSimplex(MakeProblem(kMin, {0, 2}, {}));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.objective, 0);
  EXPECT_EQ(r.x, (std::vector<double>{0, 0}));

  // Nothing at all.
  r = SolveSimplex(MakeProblem(kMax, {}, {}));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.objective, 0);
}

TEST(Simplex, TieBreaks) {
  // Equal ratios: the earlier row leaves and no second pivot is needed
  // (the later row would leave x2 to enter degenerately afterwards).
  SimplexResult r = SolveSimplex(MakeProblem(kMax, {1, 0}, {{1, 1, LE, 2}, {1, -1, LE, 2}}));
  EXPECT_EQ(r.pivots, 1);
  EXPECT_EQ(r.x, (std::vector<double>{2, 0}));

  // Phase 2: columns within epsilon keep the lower column number.
  r = SolveSimplex(MakeProblem(kMax, {1, 1.00005}, {{1, 1, LE, 1}}));
  EXPECT_EQ(r.x, (std::vector<double>{1, 0}));
  EXPECT_EQ(r.objective, 1);
  // ...and a column better by more than epsilon wins.
  r = SolveSimplex(MakeProblem(kMax, {1, 1.0002}, {{1, 1, LE, 1}}));
  EXPECT_EQ(r.x, (std::vector<double>{0, 1}));

  // Phase 1: equal phase-1 entries are told apart by the objective row, so
  // x2 enters at once and phase 2 has nothing left to do.
  r = SolveSimplex(MakeProblem(kMin, {3, 1}, {{1, 1, GE, 2}}));
  EXPECT_EQ(r.pivots, 1);
  EXPECT_EQ(r.x, (std::vector<double>{0, 2}));
  EXPECT_EQ(r.objective, 2);
}

// Beale's example cycles under the most-negative rule with earlier-row ties.
LpProblem Beale() {
  return MakeProblem(kMin, {-0.75, 20, -0.5, 6},
                     {{0.25, -8, -1, 9, LE, 0}, {0.5, -12, -0.5, 3, LE, 0}, {0, 0, 1, 0, LE, 1}});
}

TEST(Simplex, CyclingEndsWithBlandsRule) {
  const SimplexResult r = SolveSimplex(Beale());
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.end, SimplexEnd::Optimal);
  // Six pivots around the cycle, back at the starting basis; then Bland's
  // rule for four degenerate pivots and one that moves; then one more.
  EXPECT_EQ(r.pivots, 12);
  EXPECT_EQ(r.bland_pivots, 5);
  EXPECT_EQ(PlainNumber(r.objective), "-1.25");
  EXPECT_NEAR(r.x[0], 1, 2e-15);
  EXPECT_EQ(r.x[1], 0);
  EXPECT_EQ(SignedNumber(r.x[2]), " 1");
  EXPECT_EQ(r.x[3], 0);

  // Without the guard the same pivots come round every 6 and the loop only
  // ends at the limit, at the starting point.
  SimplexOptions unguarded;
  unguarded.anti_cycling = false;
  unguarded.iteration_limit = 6 * 50 + 1;
  const SimplexResult cycled = SolveSimplex(Beale(), unguarded);
  EXPECT_EQ(cycled.pivots, 300);
  EXPECT_EQ(cycled.messages, Messages{"迭代次数超过限制，未求得最优解！"});
  EXPECT_EQ(cycled.objective, 0);
}

TEST(Simplex, ProblemsThatNeverRepeatABasisPivotAsWritten) {
  // Random problems with real data have no degenerate pivots to speak of:
  // the guard must stay out of the way, bit for bit.
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> coef(-3, 10);
  std::uniform_real_distribution<double> rhs(1, 50);
  std::uniform_int_distribution<int> sign(0, 5);
  for (int trial = 0; trial < 60; ++trial) {
    const int m = 2 + trial % 9;
    const int n = 2 + trial % 7;
    std::vector<double> c(m);
    for (double& v : c) v = coef(random);
    std::vector<std::vector<double>> rows(n, std::vector<double>(m + 2));
    for (auto& row : rows) {
      for (int j = 0; j < m; ++j) row[j] = coef(random);
      const int s = sign(random);
      row[m] = s < 4 ? LE : s == 4 ? GE : EQ;
      row[m + 1] = rhs(random);
    }
    const LpProblem problem = MakeProblem(trial % 2 ? kMax : kMin, c, rows);
    SimplexOptions unguarded;
    unguarded.anti_cycling = false;
    const SimplexResult guarded = SolveSimplex(problem);
    const SimplexResult plain = SolveSimplex(problem, unguarded);
    ASSERT_EQ(guarded.bland_pivots, 0) << "trial " << trial;
    EXPECT_EQ(guarded.pivots, plain.pivots);
    EXPECT_EQ(guarded.messages, plain.messages);
    EXPECT_EQ(0, std::memcmp(&guarded.objective, &plain.objective, sizeof(double)));
    ASSERT_EQ(guarded.x.size(), plain.x.size());
    EXPECT_EQ(0, std::memcmp(guarded.x.data(), plain.x.data(), m * sizeof(double)));
  }
}

TEST(Simplex, DegenerateEndOfPhase1RunsPhase2) {
  // 0 x1 >= 0 leaves its artificial variable at 0 with a positive phase-1
  // entry; the problem is feasible and phase 2 must run.
  SimplexResult r = SolveSimplex(MakeProblem(kMax, {4}, {{0, GE, 0}, {1, LE, 2}}));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.objective, 8);
  EXPECT_EQ(r.x, std::vector<double>{2});

  // -x2 = 0 pins x2 to 0: its column has a positive phase-1 entry and is
  // barred in phase 2, although its objective entry is the most negative.
  // Letting it enter would lift the artificial variable to 4.
  r = SolveSimplex(MakeProblem(kMax, {1, 2}, {{0, -1, EQ, 0}, {1, 1, LE, 4}}));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.objective, 4);
  EXPECT_EQ(r.x, (std::vector<double>{4, 0}));

  // A positive artificial variable still skips phase 2.
  r = SolveSimplex(MakeProblem(kMax, {4}, {{0, GE, 1}, {1, LE, 2}}));
  EXPECT_EQ(r.messages, Messages{"无最优解！"});
  EXPECT_EQ(r.objective, 0);
}

TEST(Simplex, IterationLimit) {
  // The worked example needs a pivot and the end of phase 2: two
  // iterations, so the counter must be allowed to reach 3.
  const LpProblem example = MakeProblem(kMax, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}});
  SimplexOptions options;
  options.iteration_limit = 3;
  EXPECT_TRUE(SolveSimplex(example, options).messages.empty());
  options.iteration_limit = 2;
  SimplexResult r = SolveSimplex(example, options);
  EXPECT_EQ(r.messages, Messages{"迭代次数超过限制，未求得最优解！"});
  EXPECT_EQ(r.end, SimplexEnd::IterationLimit);
  EXPECT_EQ(r.objective, 12);

  // The limit's message comes before the feasibility messages.
  r = SolveSimplex(MakeProblem(kMin, {1, 1}, {{1, 0, GE, 2}, {0, 1, GE, 3}}), options);
  EXPECT_EQ(r.messages, (Messages{"迭代次数超过限制，未求得最优解！", "无最优解！"}));
  EXPECT_EQ(r.x, (std::vector<double>{2, 0}));
}

TEST(Simplex, CalculateCarriesTheLimitAndTheMessages) {
  const Sheet sheet = testing::MakeSheet(
      2, {"1", "1"}, {{"1", "0", testing::kGe, "2"}, {"0", "1", testing::kGe, "3"}});
  LpRequest request;
  request.variables = 2;
  request.constraints = 2;
  request.sense = Sense::Minimise;
  CalculationOutcome outcome = Calculate(request, sheet);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_NE(outcome.report->find("目标函数值 S = 5\r\n"), std::string::npos);

  request.iteration_limit = 2;
  outcome = Calculate(request, sheet);
  EXPECT_EQ(outcome.messages, (Messages{"迭代次数超过限制，未求得最优解！", "无最优解！"}));
  ASSERT_TRUE(outcome.report.has_value());
  EXPECT_TRUE(outcome.report->ends_with("χ1 =  2\r\nχ2 =  0\r\n"));
}

}  // namespace
}  // namespace orcalc::lp
