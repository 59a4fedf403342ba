// The simplex method on random dense problems, and one pivot pass alone.
#include <benchmark/benchmark.h>

#include <cstring>
#include <new>
#include <random>
#include <vector>

#include "lp/lp_problem.h"
#include "parallel/thread_pool.h"
#include "simplex/certificate.h"
#include "simplex/pivot_kernel.h"
#include "simplex/simplex_solver.h"

namespace {

using orcalc::lp::LpProblem;

int Uniform(std::mt19937_64& random, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(random);
}

// Maximise c x subject to A x <= b: A in [1,10], b in [50,500], c in [1,20],
// all whole numbers.
LpProblem AllLessEqual(int size) {
  std::mt19937_64 random(1000 + static_cast<unsigned>(size));
  LpProblem problem;
  problem.Resize(size, size);
  problem.sense = orcalc::lp::Sense::Maximise;
  for (double& c : problem.objective) c = Uniform(random, 1, 20);
  for (double& a : problem.coefficients) a = Uniform(random, 1, 10);
  for (double& s : problem.signs) s = orcalc::lp::kLessEqual;
  for (double& b : problem.rhs) b = Uniform(random, 50, 500);
  return problem;
}

// The same kind of data with a third of the rows >= and a few equalities,
// all satisfied by a chosen point, so the problem is feasible; the <= rows
// with positive coefficients keep it bounded.
LpProblem Mixed(int size) {
  std::mt19937_64 random(2000 + static_cast<unsigned>(size));
  LpProblem problem;
  problem.Resize(size, size);
  problem.sense = orcalc::lp::Sense::Maximise;
  for (double& c : problem.objective) c = Uniform(random, 1, 20);
  std::vector<double> point(static_cast<std::size_t>(size));
  for (double& v : point) v = Uniform(random, 0, 3);
  const int equalities = 5;
  for (int i = 0; i < size; ++i) {
    double at_point = 0;
    for (int j = 0; j < size; ++j) {
      double& a =
          problem.coefficients[static_cast<std::size_t>(i) * static_cast<std::size_t>(size) +
                               static_cast<std::size_t>(j)];
      a = Uniform(random, 1, 10);
      at_point += a * point[static_cast<std::size_t>(j)];
    }
    const auto row = static_cast<std::size_t>(i);
    if (i % 3 == 0) {
      problem.signs[row] = orcalc::lp::kGreaterEqual;
      problem.rhs[row] = at_point - Uniform(random, 0, 500);
    } else if (i % 3 == 1 && i / 3 < equalities) {
      problem.signs[row] = orcalc::lp::kEqual;
      problem.rhs[row] = at_point;
    } else {
      problem.signs[row] = orcalc::lp::kLessEqual;
      problem.rhs[row] = at_point + Uniform(random, 0, 500);
    }
  }
  orcalc::lp::NormaliseRightHandSides(problem);
  return problem;
}

// Every row an equality holding at a point with every variable positive
// (in [1,3]), A in [1,10], c in [1,20], maximised: every variable ends
// basic, so the certificate factorises a 500 × 500 kernel.
LpProblem AllEqual(int size) {
  std::mt19937_64 random(4000 + static_cast<unsigned>(size));
  LpProblem problem;
  problem.Resize(size, size);
  problem.sense = orcalc::lp::Sense::Maximise;
  for (double& c : problem.objective) c = Uniform(random, 1, 20);
  std::vector<double> point(static_cast<std::size_t>(size));
  for (double& v : point) v = Uniform(random, 1, 3);
  for (int i = 0; i < size; ++i) {
    double at_point = 0;
    for (int j = 0; j < size; ++j) {
      double& a =
          problem.coefficients[static_cast<std::size_t>(i) * static_cast<std::size_t>(size) +
                               static_cast<std::size_t>(j)];
      a = Uniform(random, 1, 10);
      at_point += a * point[static_cast<std::size_t>(j)];
    }
    problem.signs[static_cast<std::size_t>(i)] = orcalc::lp::kEqual;
    problem.rhs[static_cast<std::size_t>(i)] = at_point;
  }
  return problem;
}

void Report(benchmark::State& state, long pivots_per_solve) {
  state.counters["pivots"] = static_cast<double>(pivots_per_solve);
  // Seconds per pivot: iterations x pivots over the measured time, inverted.
  state.counters["per_pivot"] = benchmark::Counter(
      static_cast<double>(pivots_per_solve) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_AllLessEqual(benchmark::State& state) {
  const LpProblem problem = AllLessEqual(static_cast<int>(state.range(0)));
  long pivots = 0;
  for (auto _ : state) {
    const orcalc::lp::SimplexResult result = orcalc::lp::SolveSimplex(problem);
    pivots = result.pivots;
    benchmark::DoNotOptimize(result.objective);
  }
  Report(state, pivots);
}
BENCHMARK(BM_AllLessEqual)->Arg(100)->Arg(300)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_Mixed(benchmark::State& state) {
  const LpProblem problem = Mixed(static_cast<int>(state.range(0)));
  long pivots = 0;
  for (auto _ : state) {
    const orcalc::lp::SimplexResult result = orcalc::lp::SolveSimplex(problem);
    pivots = result.pivots;
    if (!orcalc::lp::SolvedCleanly(result))
      state.SkipWithError("the mixed problem must solve without a message");
    benchmark::DoNotOptimize(result.objective);
  }
  Report(state, pivots);
}
BENCHMARK(BM_Mixed)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What checking the verdict costs: {kind, certify}, kind 0 all ≤, 1 mixed,
// 2 all equalities, 500 × 500, solved with the check (1) and without (0).
void BM_Certificate(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const LpProblem problem = kind == 0 ? AllLessEqual(500) : kind == 1 ? Mixed(500) : AllEqual(500);
  orcalc::lp::SimplexOptions options;
  options.certify = state.range(1) != 0;
  long pivots = 0;
  for (auto _ : state) {
    const orcalc::lp::SimplexResult result = orcalc::lp::SolveSimplex(problem, options);
    pivots = result.pivots;
    if (options.certify && !result.certified)
      state.SkipWithError("the problem's optimum must be certified");
    benchmark::DoNotOptimize(result.objective);
  }
  Report(state, pivots);
}
BENCHMARK(BM_Certificate)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// The check alone on the verdict of each kind (as BM_Certificate): what it
// adds to the solve, measured apart from the solve's own spread.
void BM_CertifyOptimum(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const LpProblem problem = kind == 0 ? AllLessEqual(500) : kind == 1 ? Mixed(500) : AllEqual(500);
  orcalc::lp::SimplexOptions options;
  options.certify = false;
  const orcalc::lp::SimplexResult result = orcalc::lp::SolveSimplex(problem, options);
  const orcalc::lp::TableauVerdict verdict{result.basis, result.x, result.objective, -1, {}};
  for (auto _ : state) {
    const orcalc::lp::Certificate certificate = orcalc::lp::CertifyOptimum(problem, verdict);
    if (!certificate.certified) state.SkipWithError("the optimum must be certified");
    benchmark::DoNotOptimize(certificate.objective);
  }
}
BENCHMARK(BM_CertifyOptimum)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The mixed 500×500 problem with its pivots split over 1, 2 and all threads
// (0: all cores); wall time, as the work is spread over threads.
void BM_MixedThreads(benchmark::State& state) {
  orcalc::SetPivotThreads(static_cast<int>(state.range(0)));
  const LpProblem problem = Mixed(500);
  long pivots = 0;
  for (auto _ : state) {
    const orcalc::lp::SimplexResult result = orcalc::lp::SolveSimplex(problem);
    pivots = result.pivots;
    benchmark::DoNotOptimize(result.objective);
  }
  state.counters["threads"] = orcalc::PivotThreads();
  Report(state, pivots);
  orcalc::SetPivotThreads(0);
}
BENCHMARK(BM_MixedThreads)
    ->Arg(1)
    ->Arg(2)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

// One pivot on the largest tableau (502 rows, 1001 columns): the floor for
// the time per pivot. The pivot column is refilled before every pass so that
// no row is skipped; pivoting on a 1 keeps the values modest.
void BM_PivotPass(benchmark::State& state) {
  orcalc::SetPivotThreads(static_cast<int>(state.range(0)));
  const std::size_t rows = 502;
  const std::size_t width = 1008;  // 1001 rounded up to whole vector lanes
  const std::size_t count = rows * width;
  auto* tableau = static_cast<double*>(::operator new[](
      count * sizeof(double), std::align_val_t(orcalc::lp::detail::kTableauAlignment)));
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> value(-1, 1);
  for (std::size_t i = 0; i < count; ++i) tableau[i] = value(random);
  for (auto _ : state) {
    for (std::size_t i = 0; i < rows; ++i) tableau[i * width + 7] = i == 5 ? 1.0 : 0.5;
    orcalc::lp::detail::PivotTableau(tableau, width, rows, width, 5, 7);
    benchmark::ClobberMemory();
  }
  ::operator delete[](tableau, std::align_val_t(orcalc::lp::detail::kTableauAlignment));
  orcalc::SetPivotThreads(0);
}
// Threads: 1, 2, all cores (0).
BENCHMARK(BM_PivotPass)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One pivot on tableaus of rows × columns with 1 and 2 threads: where
// splitting starts to gain (the threshold kParallelPivotCells).
void BM_PivotPassSize(benchmark::State& state) {
  const std::size_t rows = static_cast<std::size_t>(state.range(0));
  const std::size_t width = rows * 2;
  orcalc::SetPivotThreads(static_cast<int>(state.range(1)));
  const std::size_t count = rows * width;
  auto* tableau = static_cast<double*>(::operator new[](
      count * sizeof(double), std::align_val_t(orcalc::lp::detail::kTableauAlignment)));
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> value(-1, 1);
  for (std::size_t i = 0; i < count; ++i) tableau[i] = value(random);
  for (auto _ : state) {
    for (std::size_t i = 0; i < rows; ++i) tableau[i * width + 7] = i == 5 ? 1.0 : 0.5;
    orcalc::lp::detail::PivotTableau(tableau, width, rows, width, 5, 7);
    benchmark::ClobberMemory();
  }
  state.counters["cells"] = static_cast<double>(count);
  ::operator delete[](tableau, std::align_val_t(orcalc::lp::detail::kTableauAlignment));
  orcalc::SetPivotThreads(0);
}
BENCHMARK(BM_PivotPassSize)
    ->ArgsProduct({{64, 96, 128, 192, 256}, {1, 2}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
