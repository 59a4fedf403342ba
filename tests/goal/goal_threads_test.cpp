// The goal solver with its exchanges split over threads, and its progress
// and stop request: every exchange leaves the same bits with 1, 2 and 4
// threads; a stop request ends the run without a report.
#include <gtest/gtest.h>

#include <random>

#include "common/progress.h"
#include "common/test_support.h"
#include "common/thread_runs.h"
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

TEST(GoalThreads, EveryExchangeIsTheSameBitsWithAnyNumberOfThreads) {
  ASSERT_GE(std::size_t(225) * (225 + 225), kParallelExchangeCells);
  std::size_t exchanges = 0;
  for (unsigned seed = 1; seed <= 2; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    const GoalModel model = RandomModel(225, 225, seed);
    exchanges += ExpectSameBitsWithAnyThreads([&] {
      std::vector<std::uint64_t> digests;
      SolveOptions options;
      options.pivot_limit = 160;  // enough exchanges, in a few seconds under the sanitizers
      options.after_exchange = [&](const GoalTableau& t) {
        std::uint64_t h = BitDigest(t.row_value, BitDigest(t.eval, BitDigest(t.coef)));
        h = BitDigest(t.eval_scale, BitDigest(t.eval_bound, BitDigest(t.column_error_scale, h)));
        digests.push_back(h);
      };
      const GoalResult r = SolveGoals(model, nullptr, options);
      digests.push_back(BitDigest(r.final.solution) ^ std::uint64_t(r.outcome));
      return digests;
    });
  }
  EXPECT_GT(exchanges, 300u);
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
  const Sheet sheet = SheetFromCsv("\n,1,,,5,1,1\n");
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
