// The simplex method with its pivots split over threads, and its progress
// and stop request: every pivot's tableau is the same bits with 1, 2 and 4
// threads; a stop request ends the run without a report.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <random>
#include <thread>

#include "common/progress.h"
#include "common/thread_pool.h"
#include "lp/lp_commands.h"
#include "lp/lp_problem.h"
#include "lp/lp_rows.h"
#include "lp/sensitivity_command.h"
#include "lp/simplex_solver.h"

namespace orcalc::lp {
namespace {

// A dense random problem of mixed signs, large enough for the pivots to be
// split over the pool; a feasible one has positive coefficients and small
// right-hand sides on its >= rows, and no equations.
LpProblem RandomProblem(int m, int n, unsigned seed, bool feasible = false) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> coefficient(feasible ? 1 : -9, 20), sign(0, 2), rhs(0, 400);
  LpProblem problem;
  problem.Resize(m, n);
  problem.sense = seed % 2 ? Sense::Maximise : Sense::Minimise;
  for (int j = 0; j < m; ++j) problem.objective[std::size_t(j)] = coefficient(random) + 10;
  for (std::size_t c = 0; c < problem.coefficients.size(); ++c)
    problem.coefficients[c] = coefficient(random) / 4.0;
  const double signs[] = {kLessEqual, kGreaterEqual, kEqual};
  for (int i = 0; i < n; ++i) {
    problem.signs[std::size_t(i)] = signs[i % 7 == 3 && !feasible ? 2 : sign(random) == 0 ? 1 : 0];
    problem.rhs[std::size_t(i)] = rhs(random);
    if (feasible && problem.signs[std::size_t(i)] == kGreaterEqual)
      problem.rhs[std::size_t(i)] /= 100;
  }
  return problem;
}

// A digest of every pivot's tableau, bit for bit, and the result.
struct PivotTrace {
  std::vector<std::uint64_t> digests;
  SimplexResult result;
};

PivotTrace Solve(const LpProblem& problem, int threads) {
  SetPivotThreads(threads);
  PivotTrace run;
  SimplexOptions options;
  options.after_pivot = [&run](std::span<const double> cells) {
    std::uint64_t h = 1469598103934665603ull;
    for (double v : cells) {
      std::uint64_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      h = (h ^ bits) * 1099511628211ull;
    }
    run.digests.push_back(h);
  };
  run.result = SolveSimplex(problem, options);
  return run;
}

TEST(LpThreads, EveryPivotIsTheSameBitsWithAnyNumberOfThreads) {
  int pivots = 0;
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const LpProblem problem = RandomProblem(150 + int(seed) * 10, 140, seed);
    const PivotTrace one = Solve(problem, 1);
    pivots += int(one.digests.size());
    for (int threads : {2, 4}) {
      const PivotTrace many = Solve(problem, threads);
      EXPECT_EQ(many.digests, one.digests) << "seed " << seed << ", " << threads << " threads";
      EXPECT_EQ(SimplexMessages(many.result), SimplexMessages(one.result));
      EXPECT_EQ(std::memcmp(&many.result.objective, &one.result.objective, sizeof(double)), 0);
      EXPECT_EQ(many.result.x, one.result.x);
    }
  }
  EXPECT_GT(pivots, 400);  // the runs did pivot, past phase 1
  SetPivotThreads(0);
}

TEST(LpThreads, PoolCoversEveryRowOnce) {
  for (int threads : {1, 2, 3, 4}) {
    ThreadPool pool(threads);
    for (std::size_t count : {0, 1, 7, 100, 1001}) {
      for (int round = 0; round < 100; ++round) {
        std::vector<std::atomic<int>> hits(count);
        pool.ForEachChunk(count, [&](std::size_t begin, std::size_t end) {
          ASSERT_LE(begin, end);
          for (std::size_t i = begin; i < end; ++i) hits[i].fetch_add(1);
        });
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(hits[i].load(), 1) << threads << " " << i;
      }
    }
  }
}

TEST(LpProgress, ReportsPhasesAndPivotsAndStopsOnRequest) {
  const LpProblem problem = RandomProblem(60, 50, 7, true);
  const SimplexResult full = SolveSimplex(problem);
  ASSERT_EQ(full.outcome, SimplexOutcome::Optimal);
  ASSERT_GT(full.phase1_pivots, 0);
  ASSERT_GT(full.pivots, full.phase1_pivots + 5);

  // Stopped at the first check: nothing of a result.
  Progress stopped;
  stopped.RequestStop();
  SimplexOptions options;
  options.progress = &stopped;
  const SimplexResult none = SolveSimplex(problem, options);
  EXPECT_EQ(none.outcome, SimplexOutcome::Stopped);
  EXPECT_EQ(SimplexMessages(none), std::vector<std::string>{});
  EXPECT_EQ(none.pivots, 0);

  // Stopped from another thread's view after the 5th pivot: at the next check.
  Progress progress;
  std::vector<ProgressPhase> phases;
  options.progress = &progress;
  options.after_pivot = [&](std::span<const double>) {
    phases.push_back(progress.State().phase);
    if (progress.State().pivots == full.phase1_pivots + 5) progress.RequestStop();
  };
  const SimplexResult part = SolveSimplex(problem, options);
  EXPECT_EQ(part.outcome, SimplexOutcome::Stopped);
  EXPECT_EQ(part.pivots, full.phase1_pivots + 5);
  EXPECT_EQ(SimplexMessages(part), std::vector<std::string>{});  // no check after the loop ran
  EXPECT_EQ(phases.front(), ProgressPhase::Phase1);
  EXPECT_EQ(phases.back(), ProgressPhase::Phase2);

  // The command: no report and no message, however far the solve had come.
  Sheet sheet;
  Progress cancel;
  cancel.RequestStop();
  LpRequest request{2, 1, Sense::Maximise, ".", 1000000, &cancel};
  const CalculationOutcome outcome = Calculate(request, sheet);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.messages, std::vector<std::string>{});
  EXPECT_FALSE(outcome.report);
  // The sensitivity analysis neither: not even its message about no optimum.
  const CalculationOutcome analysis = CalculateSensitivity(request, sheet);
  EXPECT_TRUE(analysis.stopped);
  EXPECT_EQ(analysis.messages, std::vector<std::string>{});
  EXPECT_FALSE(analysis.report);
}

TEST(LpProgress, TimeLimitStopsARunThatWouldNotEnd) {
  // Beale's example cycles for ever without the guard against cycling.
  const LpProblem beale =
      MakeProblem(kMin, {-0.75, 20, -0.5, 6},
                  {{0.25, -8, -1, 9, LE, 0}, {0.5, -12, -0.5, 3, LE, 0}, {0, 0, 1, 0, LE, 1}});
  Progress progress;
  progress.SetTimeLimit(0.05);
  SimplexOptions options;
  options.progress = &progress;
  options.anti_cycling = false;
  options.iteration_limit = std::numeric_limits<long>::max();
  const SimplexResult result = SolveSimplex(beale, options);
  EXPECT_EQ(result.outcome, SimplexOutcome::Stopped);
  EXPECT_TRUE(progress.TimedOut());
  EXPECT_TRUE(progress.StopRequested());
  EXPECT_GT(result.pivots, 6);
}

}  // namespace
}  // namespace orcalc::lp
