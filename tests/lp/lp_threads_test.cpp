// The simplex method with its pivots split over threads, and its progress
// and stop request: every pivot's tableau is the same bits with 1, 2 and 4
// threads; a stop request ends the run without a report. (The time limit is
// tested through orcalc-cli's --max-seconds.)
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <random>
#include <thread>

#include "common/progress.h"
#include "common/thread_runs.h"
#include "lp/lp_commands.h"
#include "lp/lp_problem.h"
#include "parallel/thread_pool.h"
#include "sensitivity/sensitivity_command.h"
#include "simplex/pivot_kernel.h"
#include "simplex/simplex_solver.h"

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

TEST(LpThreads, EveryPivotIsTheSameBitsWithAnyNumberOfThreads) {
  std::size_t pivots = 0;
  // Tableaus of (n + 2) × (m + n + 1) cells, beyond the size from which
  // pivots are split.
  ASSERT_GE(std::size_t(240 + 2) * (250 + 240 + 1), detail::kParallelPivotCells);
  for (unsigned seed = 1; seed <= 2; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    const LpProblem problem = RandomProblem(250 + int(seed) * 10, 240, seed);
    pivots += ExpectSameBitsWithAnyThreads([&] {
      std::vector<std::uint64_t> digests;
      SimplexOptions options;
      options.after_pivot = [&](std::span<const double> cells) {
        digests.push_back(BitDigest(cells));
      };
      const SimplexResult r = SolveSimplex(problem, options);
      digests.push_back(BitDigest(r.x, BitDigest({&r.objective, 1})) ^ std::uint64_t(r.outcome));
      return digests;
    });
  }
  EXPECT_GT(pivots, 400u);  // the runs did pivot, past phase 1
}

// Every chunk runs once, and the caller's own work beside them once, before
// the caller takes chunks. Each job is cut differently from the one before,
// while workers may still be looking through the last one's shares.
TEST(LpThreads, PoolCoversEveryRowOnce) {
  const std::array<std::size_t, 5> counts = {0, 1, 7, 100, 1001};
  for (int threads : {1, 2, 3, 4}) {
    ThreadPool pool(threads);
    for (std::size_t round = 0; round < 20000; ++round) {
      const std::size_t count = counts[round % counts.size()];
      std::vector<std::atomic<int>> hits(count);
      const std::thread::id caller = std::this_thread::get_id();
      int beside = 0;
      bool caller_took_chunks_first = false;
      auto chunk = [&](std::size_t begin, std::size_t end) {
        ASSERT_LE(begin, end);
        if (std::this_thread::get_id() == caller && beside == 0) caller_took_chunks_first = true;
        for (std::size_t i = begin; i < end; ++i) hits[i].fetch_add(1);
      };
      if (round % 2) {
        pool.ForEachChunk(count, chunk, 1 + round % 40);
      } else {
        pool.ForEachChunkBeside(count, chunk, [&] { ++beside; });
        ASSERT_EQ(beside, 1);
      }
      ASSERT_FALSE(caller_took_chunks_first && round % 2 == 0);
      for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(hits[i].load(), 1) << threads << " " << i;
    }
  }
}

// Parts cover the range in order; running out of memory in one part, on
// whichever thread, reaches the caller, and the pool goes on working.
TEST(LpThreads, PartsCoverTheRangeAndBringBackOutOfMemory) {
  for (int threads : {1, 2, 4}) {
    ThreadPool pool(threads);
    for (std::size_t count : {0, 5, 1000}) {
      std::vector<std::pair<std::size_t, std::size_t>> ranges(pool.parts());
      pool.ForEachPart(count, [&](std::size_t part, std::size_t begin, std::size_t end) {
        ranges[part] = {begin, end};
      });
      std::size_t next = 0;
      for (const auto& [begin, end] : ranges) {
        ASSERT_EQ(begin, next) << threads;
        next = end;
      }
      ASSERT_EQ(next, count) << threads;
    }
    EXPECT_THROW(pool.ForEachPart(100,
                                  [&](std::size_t part, std::size_t, std::size_t) {
                                    if (part == 1) throw std::bad_alloc();
                                  }),
                 std::bad_alloc)
        << threads;
    std::atomic<std::size_t> covered{0};
    pool.ForEachPart(100, [&](std::size_t, std::size_t begin, std::size_t end) {
      covered.fetch_add(end - begin);
    });
    EXPECT_EQ(covered.load(), 100u) << threads;
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

}  // namespace
}  // namespace orcalc::lp
