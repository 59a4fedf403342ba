// Goal programming: solve plus report on random dense problems, and the
// exchange, the snapshot and the report block on their own.
#include "goal/goal_solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "goal/goal_kernels.h"
#include "goal/goal_model.h"
#include "goal/goal_report.h"
#include "parallel/thread_pool.h"

namespace {

using namespace orcalc::goal;

// M = N = size; coefficients in [1,10], targets in [10,1000], weights in
// [1,5], levels 1..5 for both deviations. Fixed seed.
GoalModel DenseProblem(int size) {
  std::mt19937_64 rng(20240601u + static_cast<unsigned>(size));
  auto uniform = [&](double lo, double hi) {
    return lo + (hi - lo) * (static_cast<double>(rng() >> 11) * 0x1p-53);
  };
  GoalModel m;
  m.constraint_count = size;
  m.variable_count = size;
  m.level_count = size;
  for (int i = 0; i < size; ++i) {
    for (int j = 0; j < size; ++j) m.coef.push_back(uniform(1, 10));
    m.target.push_back(uniform(10, 1000));
    m.neg_weight.push_back(uniform(1, 5));
    m.neg_level.push_back(static_cast<std::int16_t>(1 + rng() % 5));
    m.pos_weight.push_back(uniform(1, 5));
    m.pos_level.push_back(static_cast<std::int16_t>(1 + rng() % 5));
  }
  return m;
}

std::size_t CountLines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

void BM_SolveAndReport(benchmark::State& state) {
  const GoalModel model = DenseProblem(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  std::size_t lines = 0;
  int pivots = 0;
  for (auto _ : state) {
    GoalReport report(model);
    const GoalResult result =
        SolveGoals(model, [&report](const GoalSnapshot& s) { report.AddBlock(s); });
    report.Finish(result.outcome, result.final);
    const std::string text = report.Take();
    bytes = text.size();
    pivots = result.final.pivots;
    state.PauseTiming();
    lines = CountLines(text);
    state.ResumeTiming();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["pivots"] = pivots;
  state.counters["report_bytes"] = static_cast<double>(bytes);
  state.counters["report_lines"] = static_cast<double>(lines);
  state.counters["per_pivot"] = benchmark::Counter(
      pivots, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SolveAndReport)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// The 500×500 solve alone (no report), its exchanges split over 1, 2 and
// all threads (0: all cores); wall time.
void BM_SolveThreads(benchmark::State& state) {
  orcalc::SetPivotThreads(static_cast<int>(state.range(0)));
  const GoalModel model = DenseProblem(500);
  int pivots = 0;
  for (auto _ : state) {
    const GoalResult result = SolveGoals(model, nullptr);
    pivots = result.final.pivots;
    benchmark::DoNotOptimize(result.final.achievement.data());
  }
  state.counters["threads"] = orcalc::PivotThreads();
  state.counters["pivots"] = pivots;
  state.counters["per_pivot"] = benchmark::Counter(
      pivots, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  orcalc::SetPivotThreads(0);
}
BENCHMARK(BM_SolveThreads)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The starting tableau with its first level's evaluation row, and a pivot
// that is valid on it; pivoting twice on it leaves the tableau as it was
// up to round-off, so the loop can repeat it.
struct PivotSetup {
  GoalTableau tableau;
  int r = 0;
  int p = 0;
};

PivotSetup Setup(int size) {
  PivotSetup s{StartTableau(DenseProblem(size))};
  BuildEvaluationRow(s.tableau, 1);
  s.p = ChooseEntering(s.tableau);
  s.r = ChooseLeaving(s.tableau, s.p);
  return s;
}

// Size, threads (0: all cores).
void BM_Exchange(benchmark::State& state) {
  orcalc::SetPivotThreads(static_cast<int>(state.range(1)));
  PivotSetup s = Setup(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Exchange(s.tableau, s.r, s.p);
    benchmark::ClobberMemory();
  }
  orcalc::SetPivotThreads(0);
}
BENCHMARK(BM_Exchange)
    ->ArgsProduct({{64, 128, 192, 256, 320, 500}, {1, 2}})
    ->Args({500, 0})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The same arithmetic compiled for the baseline instruction set only.
void BM_ExchangeBaseline(benchmark::State& state) {
  PivotSetup s = Setup(static_cast<int>(state.range(0)));
  GoalTableau& t = s.tableau;
  const ExchangeArgs args{t.coef.data(), t.stride, t.goals, t.row_value.data(),   t.eval.data(),
                          t.keep.data(), s.r,      s.p,     t.pivot_column.data()};
  for (auto _ : state) {
    ExchangeTableauBaseline(args);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ExchangeBaseline)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_Snapshot(benchmark::State& state) {
  PivotSetup s = Setup(static_cast<int>(state.range(0)));
  GoalSnapshot snapshot;
  for (auto _ : state) {
    TakeSnapshot(s.tableau, snapshot);
    benchmark::DoNotOptimize(snapshot.achievement.data());
  }
}
BENCHMARK(BM_Snapshot)->Arg(500)->Unit(benchmark::kMicrosecond);

// One result block after a pivot (nonzero values throughout); the counter
// is the time per report line.
void BM_ReportBlock(benchmark::State& state) {
  const GoalModel model = DenseProblem(static_cast<int>(state.range(0)));
  PivotSetup s = Setup(static_cast<int>(state.range(0)));
  Exchange(s.tableau, s.r, s.p);
  const GoalSnapshot snapshot = TakeSnapshot(s.tableau);
  std::size_t lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    GoalReport report(model);
    const std::size_t start = report.size();
    state.ResumeTiming();
    for (int k = 0; k < 20; ++k) report.AddBlock(snapshot);
    state.PauseTiming();
    const std::string text = report.Take();
    lines = CountLines(text.substr(start));
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["per_line"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReportBlock)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
