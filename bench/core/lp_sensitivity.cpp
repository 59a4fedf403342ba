// The sensitivity analysis after a solve, against the solve itself, on
// random dense problems.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "lp/lp_problem.h"
#include "sensitivity/sensitivity.h"
#include "sensitivity/sensitivity_report.h"
#include "simplex/simplex_solver.h"

namespace {

using orcalc::lp::LpProblem;

int Uniform(std::mt19937_64& random, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(random);
}

// Maximise c x, c in [1,20], over N variables and N dense rows with
// coefficients in [1,10]. Kind 0: every row ≤ with b in [50,500] (no phase
// 1; few variables end basic). Kind 1: every third row ≥ and five
// equalities, all holding at a chosen point (phase 1, then phase 2). Kind
// 2: every row an equality holding at a chosen point with every variable
// positive, so every variable ends basic: the largest basis kernel.
LpProblem Dense(int size, int kind) {
  std::mt19937_64 random(5000 + static_cast<unsigned>(size) * 2 + static_cast<unsigned>(kind));
  LpProblem problem;
  problem.Resize(size, size);
  problem.sense = orcalc::lp::Sense::Maximise;
  for (double& c : problem.objective) c = Uniform(random, 1, 20);
  std::vector<double> point(static_cast<std::size_t>(size));
  for (double& v : point) v = Uniform(random, kind == 2 ? 1 : 0, 3);
  for (int i = 0; i < size; ++i) {
    const auto row = static_cast<std::size_t>(i);
    double at_point = 0;
    for (int j = 0; j < size; ++j) {
      double& a =
          problem.coefficients[row * static_cast<std::size_t>(size) + static_cast<std::size_t>(j)];
      a = Uniform(random, 1, 10);
      at_point += a * point[static_cast<std::size_t>(j)];
    }
    if (kind == 0) {
      problem.signs[row] = orcalc::lp::kLessEqual;
      problem.rhs[row] = Uniform(random, 50, 500);
    } else if (kind == 2) {
      problem.signs[row] = orcalc::lp::kEqual;
      problem.rhs[row] = at_point;
    } else if (i % 3 == 0) {
      problem.signs[row] = orcalc::lp::kGreaterEqual;
      problem.rhs[row] = at_point - Uniform(random, 0, 500);
    } else if (i % 3 == 1 && i / 3 < 5) {
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

void Label(benchmark::State& state, const orcalc::lp::SimplexResult& result) {
  long basic = 0;
  for (int column : result.basis)
    basic += column >= 0 && column < static_cast<int>(result.x.size());
  state.counters["pivots"] = static_cast<double>(result.pivots);
  state.counters["basic_vars"] = static_cast<double>(basic);
}

void BM_Solve(benchmark::State& state) {
  const LpProblem problem =
      Dense(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  orcalc::lp::SimplexResult result;
  for (auto _ : state) {
    result = orcalc::lp::SolveSimplex(problem);
    benchmark::DoNotOptimize(result.objective);
  }
  Label(state, result);
}

void BM_Analyse(benchmark::State& state) {
  const LpProblem problem =
      Dense(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const orcalc::lp::SimplexResult result = orcalc::lp::SolveSimplex(problem);
  for (auto _ : state) {
    const orcalc::lp::SensitivityAnalysis analysis =
        orcalc::lp::AnalyseSensitivity(problem, result);
    if (analysis.status != orcalc::lp::SensitivityStatus::Done)
      state.SkipWithError("the analysis must apply");
    benchmark::DoNotOptimize(analysis.dual_objective);
  }
  Label(state, result);
}

// The analysis and the whole text report (the dual problem echoes every
// coefficient once more).
void BM_AnalyseAndReport(benchmark::State& state) {
  const LpProblem problem =
      Dense(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const orcalc::lp::SimplexResult result = orcalc::lp::SolveSimplex(problem);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string report = orcalc::lp::WriteSensitivityReport(
        problem, orcalc::lp::AnalyseSensitivity(problem, result));
    bytes = report.size();
    benchmark::DoNotOptimize(report.data());
  }
  Label(state, result);
  state.counters["report_bytes"] = static_cast<double>(bytes);
}

// {size, kind}: kind 0 all ≤, kind 1 mixed, kind 2 all equalities.
#define ORCALC_SIZES \
  ->Args({100, 0})->Args({500, 0})->Args({100, 1})->Args({500, 1})->Args({500, 2})
BENCHMARK(BM_Solve) ORCALC_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Analyse) ORCALC_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalyseAndReport) ORCALC_SIZES->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
