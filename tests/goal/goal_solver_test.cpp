#include "goal/goal_solver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "goal/goal_kernels.h"
#include "goal_test_support.h"

namespace orcalc::goal {
namespace {

using testing::Goal;
using testing::MakeModel;
using V = std::vector<double>;

GoalResult Solve(const GoalModel& m, std::vector<GoalSnapshot>* snaps = nullptr,
                 int pivot_limit = kPivotLimit) {
  return SolveGoals(
      m,
      [&](const GoalSnapshot& s) {
        if (snaps) snaps->push_back(s);
      },
      SolveOptions{pivot_limit});
}

TEST(GoalSolver, WorkedExamplePivotByPivot) {
  GoalTableau t = StartTableau(testing::WorkedExample());
  BuildEvaluationRow(t, 1);
  EXPECT_EQ(V(t.eval.begin(), t.eval.begin() + 4), (V{1, 1, -1, 0}));
  // X1 enters (ties with X2, comes first); ratios 10 and 4.
  // D2+ enters (ties with X2 at 1, larger level); only goal 1's row is positive.
  const int expected[][2] = {{0, 1}, {3, 0}};
  const V solutions[] = {{4, 0, 6, 0, 0, 0}, {10, 0, 0, 0, 0, 6}};
  const V achievements[] = {{6, 0}, {0, 6}};
  for (int k = 0; k < 2; ++k) {
    ASSERT_FALSE(LevelOptimal(t));
    const int p = ChooseEntering(t), r = ChooseLeaving(t, p);
    EXPECT_EQ(p, expected[k][0]);
    EXPECT_EQ(r, expected[k][1]);
    Exchange(t, r, p);
    const GoalSnapshot s = TakeSnapshot(t);
    EXPECT_EQ(s.solution, solutions[k]);
    EXPECT_EQ(s.achievement, achievements[k]);
  }
  ASSERT_TRUE(LevelOptimal(t));
  EXPECT_EQ(V(t.eval.begin(), t.eval.begin() + 4), (V{0, 0, 0, -1}));
  EXPECT_TRUE(EndLevel(t));
  EXPECT_EQ(t.colVar[3], 3);  // D1- removed
  EXPECT_EQ(t.colWeight[3], RemovedMark);

  BuildEvaluationRow(t, 2);
  EXPECT_EQ(V(t.eval.begin(), t.eval.begin() + 4), (V{-1, 1, -1, RemovedMark}));
  EXPECT_EQ(ChooseEntering(t), 1);
  EXPECT_EQ(ChooseLeaving(t, 1), 0);  // ratios 6 and 10
  Exchange(t, 0, 1);
  EXPECT_EQ(TakeSnapshot(t).solution, (V{4, 6, 0, 0, 0, 0}));
  EXPECT_TRUE(LevelOptimal(t));
  EXPECT_TRUE(EndLevel(t));
  EXPECT_TRUE(t.Removed(1));  // D2+, entry −1; the other two survive
  EXPECT_FALSE(t.Removed(0) || t.Removed(2));
}

TEST(GoalSolver, TieBreaks) {
  // Entering: eval, level, weight per column.
  const struct {
    V eval;
    std::vector<int> level;
    V weight;
    int expected;
  } columns[] = {
      {{2, 2}, {0, 1}, {0, 0}, 1},            // larger level wins a tie
      {{2, 2}, {1, 1}, {3, 2}, 1},            // then the smaller weight
      {{2, 2, 2}, {1, 1, 1}, {2, 2, 2}, 0},   // then the lower index
      {{2, 3}, {5, 0}, {0, 0}, 1},            // a larger entry beats any level
      {{5, 2}, {0, 0}, {RemovedMark, 0}, 1},  // removed columns are skipped
      {{1, 1 + 1e-13}, {1, 0}, {0, 0}, 0},    // round-off is a tie
      {{1, 1.000001}, {1, 0}, {0, 0}, 1},     // a real difference is not
      {{-10000, 1e-6}, {0, 0}, {0, 0}, 1},    // a tiny real entry enters
  };
  for (const auto& c : columns) {
    GoalTableau t = StartTableau(MakeModel(static_cast<int>(c.eval.size()), {}));
    for (std::size_t j = 0; j < c.eval.size(); ++j) {
      t.eval[j] = c.eval[j];
      t.colLevel[j] = static_cast<std::int16_t>(c.level[j]);
      t.colWeight[j] = c.weight[j];
    }
    EXPECT_EQ(ChooseEntering(t), c.expected) << c.eval[0] << " " << c.eval[1];
  }
  // Leaving, for column 0: value, entry, level, weight per row.
  const struct {
    V value, entry;
    std::vector<int> level;
    V weight;
    int expected;
  } rows[] = {
      {{4, 4}, {1, 1}, {2, 1}, {0, 0}, 1},              // tie: smaller level
      {{4, 4}, {1, 1}, {1, 1}, {1, 2}, 1},              // then larger weight
      {{4, 4, 4}, {1, 1, 1}, {1, 1, 1}, {2, 2, 2}, 0},  // then lower index
      {{1, 1}, {-1, 0}, {0, 0}, {0, 0}, -1},            // no positive entry
      {{2e9, 1}, {1, 0}, {0, 0}, {0, 0}, -1},           // ratio of 1e9 or more
      {{1e-6, 4}, {5e-6, 1}, {0, 0}, {0, 0}, 0},        // a small real entry counts
      {{0, 4}, {1e-9, 1}, {0, 0}, {0, 0}, 1},           // round-off does not
      {{1, 1.000001}, {1, 1}, {1, 0}, {0, 0}, 0},       // a real difference decides
      {{0.1 * 3, 0.3}, {1, 1}, {0, 1}, {0, 0}, 0},      // round-off is a tie
  };
  for (const auto& c : rows) {
    GoalTableau t = StartTableau(MakeModel(1, std::vector<Goal>(c.value.size(), Goal{{0}})));
    for (std::size_t i = 0; i < c.value.size(); ++i) {
      t.rowValue[i] = c.value[i];
      t.Coef(static_cast<int>(i), 0) = c.entry[i];
      t.rowLevel[i] = static_cast<std::int16_t>(c.level[i]);
      t.rowWeight[i] = c.weight[i];
    }
    EXPECT_EQ(ChooseLeaving(t, 0), c.expected) << c.value[0] << " " << c.value[1];
  }
}

TEST(GoalSolver, EdgeCases) {
  // No variables: no level; no goals: every level optimal at once.
  GoalResult r = Solve(MakeModel(0, {{{}, 10, 1, 1, 1, 1}, {{}, 3, 2, 0, 0, 0}}));
  EXPECT_EQ(r.final.pivots, 0);
  EXPECT_EQ(r.final.solution, (V{10, 3, 0, 0}));
  EXPECT_TRUE(r.final.achievement.empty());
  r = Solve(MakeModel(3, {}));
  EXPECT_EQ(r.outcome, GoalOutcome::Optimal);
  EXPECT_EQ(r.final.achievement, (V{0, 0, 0}));

  // D1+ weighted −1: level 1 drops without bound … unless the weight is
  // exactly the removal mark, which removes the column from the start.
  EXPECT_EQ(Solve(MakeModel(1, {{{1}, 2, 0, 0, -3.1415900001, 1}})).outcome,
            GoalOutcome::PivotTooSmall);
  r = Solve(MakeModel(1, {{{1}, 2, 0, 0, RemovedMark, 1}}));
  EXPECT_EQ(r.outcome, GoalOutcome::Optimal);
  EXPECT_EQ(r.final.pivots, 0);

  // Unbounded after one pivot: the final state is that before the failed
  // pivot, and level 2 is never worked on.
  std::vector<GoalSnapshot> snaps;
  r = Solve(MakeModel(2, {{{1, 0}, 3, 1, 1, -0.5, 1}, {{0, 1}, 5, 1, 2, 0, 0}}), &snaps);
  EXPECT_EQ(r.outcome, GoalOutcome::PivotTooSmall);
  ASSERT_EQ(snaps.size(), 1u);
  EXPECT_EQ(r.final.solution, snaps[0].solution);
  EXPECT_EQ(r.final.achievement, (V{0, 5}));

  // A D- weighted with the mark is removed once it leaves the basis, and
  // its column is never updated again.
  GoalTableau t =
      StartTableau(MakeModel(2, {{{1, 2}, 10, RemovedMark, 0, 0, 0}, {{3, 7}, 20, 1, 1, 0, 0}}));
  Exchange(t, 0, 0);
  EXPECT_TRUE(t.Removed(0));
  const double before[] = {t.Coef(0, 0), t.Coef(1, 0), t.eval[0]};
  t.eval[0] = 1e6;
  t.eval[1] = 1;
  EXPECT_EQ(ChooseEntering(t), 1);
  t.eval[0] = before[2];
  Exchange(t, 1, 1);
  const double after[] = {t.Coef(0, 0), t.Coef(1, 0), t.eval[0]};
  EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
}

TEST(GoalSolver, NegativeTargetsStartWithThePositiveDeviation) {
  // 2X1 + D1- − D1+ = −5: D1+ = 5 + 2X1 + D1- starts basic, D1- can be 0.
  EXPECT_EQ(Solve(MakeModel(1, {{{2}, -5, 1, 1, 4, 0}})).final.solution, (V{0, 0, 5}));

  // X1 + X2 ≥ 4 at level 1, X1 − X2 = −6 at level 2: both met, and no
  // deviation is ever negative on the way.
  std::vector<GoalSnapshot> snaps;
  const GoalResult r =
      Solve(MakeModel(2, {{{1, 1}, 4, 1, 1, 0, 0}, {{1, -1}, -6, 1, 2, 1, 2}}), &snaps);
  EXPECT_EQ(r.final.achievement, (V{0, 0}));
  for (const auto& s : snaps)
    for (double v : s.solution) EXPECT_GE(v, 0);
}

TEST(GoalSolver, RoundOffDecidesNothing) {
  // All-integer data on which exact comparisons end with level 3 at 84.
  GoalResult r =
      Solve(MakeModel(4, {{{2, 5, 1, 0}, 18, 1.5, 1, 3, 1}, {{5, 0, 5, 1}, 6, 2.5, 1, 1, 3}}));
  EXPECT_EQ(r.outcome, GoalOutcome::Optimal);
  EXPECT_EQ(r.final.pivots, 2);
  EXPECT_EQ(r.final.achievement, (V{0, 0, 0, 0}));

  // Small real values are not noise: a weight of 1e-6 …
  EXPECT_EQ(Solve(MakeModel(1, {{{1}, 10, 1e-6, 1, 0, 0}})).final.solution, (V{10, 0, 0}));
  // … entries 1 and 1.000001 (the larger enters) …
  EXPECT_EQ(Solve(MakeModel(2, {{{1, 1.000001}, 10, 1, 1, 0, 0}})).final.solution,
            (V{0, 10 / 1.000001, 0, 0}));
  // … and a true pivot of 5e-6 with the smallest ratio, which fails the check.
  r = Solve(MakeModel(1, {{{5e-6}, 1e-6, 0, 0, 0, 0}, {{1}, 10, 1, 1, 0, 0}}));
  EXPECT_EQ(r.outcome, GoalOutcome::PivotTooSmall);

  // Basic values within round-off of 0 become 0: 3 − 0.3 / 0.1 is 4.4e-16.
  std::vector<GoalSnapshot> snaps;
  Solve(MakeModel(1, {{{0.1}, 0.3, 0, 0, 0, 0}, {{1}, 3, 1, 1, 0, 0}}), &snaps);
  ASSERT_FALSE(snaps.empty());
  EXPECT_EQ(snaps[0].solution, (V{0.3 / 0.1, 0, 0, 0, 0}));
}

TEST(GoalSolver, EndlessPivotingStops) {
  std::vector<GoalSnapshot> snaps;
  GoalResult r = Solve(MakeModel(4, testing::CyclingGoals()), &snaps);
  EXPECT_EQ(r.outcome, GoalOutcome::Cycling);
  EXPECT_EQ(snaps.size(), 6u);  // the sixth pivot returns to the start
  EXPECT_EQ(r.final.pivots, 6);

  // The limit allows exactly that many pivots; the pivot check comes first.
  EXPECT_EQ(Solve(testing::WorkedExample(), nullptr, 3).outcome, GoalOutcome::Optimal);
  r = Solve(testing::WorkedExample(), nullptr, 1);
  EXPECT_EQ(r.outcome, GoalOutcome::PivotLimit);
  EXPECT_EQ(r.final.solution, (V{4, 0, 6, 0, 0, 0}));
  EXPECT_EQ(Solve(MakeModel(1, {{{1}, 2, 0, 0, -1, 1}}), nullptr, 0).outcome,
            GoalOutcome::PivotTooSmall);
}

TEST(GoalSolver, ExchangeKernelsAreBitIdenticalToTheWrittenSteps) {
  std::mt19937_64 rng(42);
  auto uniform = [&] { return static_cast<double>(rng() >> 11) * 0x1p-53; };
  for (int trial = 0; trial < 20; ++trial) {
    const int rows = 3 + static_cast<int>(rng() % 40), cols = 1 + static_cast<int>(rng() % 61);
    const int r = static_cast<int>(rng() % static_cast<unsigned>(rows));
    const int p = static_cast<int>(rng() % static_cast<unsigned>(cols));
    const std::size_t stride = (static_cast<std::size_t>(cols) + 3) & ~std::size_t{3};
    V coef(static_cast<std::size_t>(rows) * stride), value(static_cast<std::size_t>(rows));
    V eval(stride);
    std::vector<std::uint64_t> keep(stride, kKeepColumn);
    auto c = [&](V& m, int i, int j) -> double& {
      return m[static_cast<std::size_t>(i) * stride + j];
    };
    for (int i = 0; i < rows; ++i) {
      value[i] = uniform() * 100;
      for (int j = 0; j < cols; ++j) c(coef, i, j) = rng() % 7 ? (uniform() - 0.3) * 1e3 : -0.0;
    }
    for (int j = 0; j < cols; ++j) {
      keep[j] = j != p && rng() % 4 == 0 ? kKeepColumn : 0;
      eval[j] = keep[j] ? RemovedMark : uniform() * 3 - 1;
    }
    c(coef, r, p) = 0.5 + uniform();

    // Steps 7.1 to 7.8, one after the other, as plain loops.
    V rc = coef, rv = value, re = eval;
    const double P = c(rc, r, p);
    for (int j = 0; j < cols; ++j)
      if (j != p && !keep[j]) re[j] = re[j] - c(rc, r, j) * re[p] / P;
    re[p] = -re[p] / P;
    for (int i = 0; i < rows; ++i)
      if (i != r) rv[i] = rv[i] - c(rc, i, p) * rv[r] / P;
    rv[r] = rv[r] / P;
    for (int j = 0; j < cols; ++j)
      for (int i = 0; i < rows; ++i)
        if (j != p && !keep[j] && i != r) c(rc, i, j) = c(rc, i, j) - c(rc, r, j) * c(rc, i, p) / P;
    for (int j = 0; j < cols; ++j)
      if (j != p && !keep[j]) c(rc, r, j) = c(rc, r, j) / P;
    for (int i = 0; i < rows; ++i)
      if (i != r) c(rc, i, p) = -c(rc, i, p) / P;
    c(rc, r, p) = 1 / P;

    for (auto kernel : {&ExchangeTableau, &ExchangeTableauBaseline}) {
      V kc = coef, kv = value, ke = eval;
      kernel(ExchangeArgs{kc.data(), stride, rows, kv.data(), ke.data(), keep.data(), r, p});
      EXPECT_EQ(std::memcmp(kc.data(), rc.data(), kc.size() * sizeof(double)), 0);
      EXPECT_EQ(std::memcmp(kv.data(), rv.data(), kv.size() * sizeof(double)), 0);
      EXPECT_EQ(std::memcmp(ke.data(), re.data(), ke.size() * sizeof(double)), 0);
    }
  }
}

}  // namespace
}  // namespace orcalc::goal
