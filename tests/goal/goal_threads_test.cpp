// The goal solver with its exchanges split over threads, and its progress
// and stop request: every exchange leaves the same bits with 1, 2 and 4
// threads; a stop request ends the run without a report.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "common/progress.h"
#include "common/thread_pool.h"
#include "goal/goal_commands.h"
#include "goal/goal_kernels.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {
namespace {

// M goals over N variables, dense, weights and levels spread so that many
// levels pivot; large enough for the exchanges to be split.
GoalModel RandomModel(int M, int N, unsigned seed) {
  std::mt19937 random(seed);
  GoalModel m;
  m.constraint_count = M;
  m.variable_count = m.level_count = N;
  for (int i = 0; i < M; ++i) {
    for (int j = 0; j < N; ++j) m.coef.push_back(random() % 3 == 0 ? 0 : 1 + random() % 9);
    m.target.push_back(double(random() % 200) - (seed % 2 ? 20 : 0));
    m.neg_weight.push_back(1 + random() % 5);
    m.neg_level.push_back(std::int16_t(1 + random() % 6));
    m.pos_weight.push_back(random() % 4);
    m.pos_level.push_back(std::int16_t(random() % 7));
  }
  return m;
}

std::uint64_t Digest(std::uint64_t h, const std::vector<double>& values) {
  for (double v : values) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    h = (h ^ bits) * 1099511628211ull;
  }
  return h;
}

struct ExchangeTrace {
  std::vector<std::uint64_t> digests;
  GoalResult result;
};

ExchangeTrace Solve(const GoalModel& model, int threads) {
  SetPivotThreads(threads);
  ExchangeTrace trace;
  SolveOptions options;
  options.after_exchange = [&trace](const GoalTableau& t) {
    std::uint64_t h = Digest(Digest(Digest(1469598103934665603ull, t.coef), t.eval), t.row_value);
    trace.digests.push_back(h);
  };
  trace.result = SolveGoals(model, nullptr, options);
  return trace;
}

TEST(GoalThreads, EveryExchangeIsTheSameBitsWithAnyNumberOfThreads) {
  ASSERT_GE(std::size_t(140) * (140 + 140), kParallelExchangeCells);
  std::size_t exchanges = 0;
  for (unsigned seed = 1; seed <= 2; ++seed) {
    const GoalModel model = RandomModel(140, 140, seed);
    const ExchangeTrace one = Solve(model, 1);
    exchanges += one.digests.size();
    for (int threads : {2, 4}) {
      const ExchangeTrace many = Solve(model, threads);
      EXPECT_EQ(many.digests, one.digests) << "seed " << seed << ", " << threads << " threads";
      EXPECT_EQ(many.result.outcome, one.result.outcome);
      EXPECT_EQ(Digest(0, many.result.final.solution), Digest(0, one.result.final.solution));
    }
  }
  EXPECT_GT(exchanges, 300u);
  SetPivotThreads(0);
}

TEST(GoalProgress, ReportsLevelsAndPivotsAndStopsOnRequest) {
  const GoalModel model = RandomModel(30, 30, 5);
  int full_pivots = 0;
  const GoalResult full = SolveGoals(model, [&](const GoalSnapshot&) { ++full_pivots; });
  ASSERT_GT(full_pivots, 10);

  Progress progress;
  SolveOptions options;
  options.progress = &progress;
  std::vector<int> levels;
  int seen = 0;
  options.after_exchange = [&](const GoalTableau& t) {
    const ProgressState state = progress.State();
    EXPECT_EQ(state.phase, ProgressPhase::GoalLevel);
    EXPECT_EQ(state.pivots, t.pivots);
    levels.push_back(state.level);
    if (++seen == 10) progress.RequestStop();
  };
  const GoalResult part = SolveGoals(model, nullptr, options);
  EXPECT_EQ(part.outcome, GoalOutcome::Stopped);
  EXPECT_EQ(part.final.pivots, 10);
  EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
  EXPECT_GE(levels.front(), 1);

  // The command: no report and no message.
  Sheet sheet;
  sheet.SetRows(3);
  sheet.SetCols(9);
  sheet.SetCell(1, 1, "1");
  sheet.SetCell(1, 4, "5");
  sheet.SetCell(1, 5, "1");
  sheet.SetCell(1, 6, "1");
  Progress cancel;
  cancel.RequestStop();
  GoalRequest request;
  request.goals = 1;
  request.variables = 2;
  request.progress = &cancel;
  const CalculationOutcome outcome = Calculate(request, sheet);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.messages, std::vector<std::string>{});
  EXPECT_FALSE(outcome.report);
  request.progress = nullptr;
  EXPECT_TRUE(Calculate(request, sheet).report.has_value());
}

}  // namespace
}  // namespace orcalc::goal
