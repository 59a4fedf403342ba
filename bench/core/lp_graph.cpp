// The graphical method's geometry for two variables and N constraints.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "geometry/graph_geometry.h"

namespace {

using orcalc::lp::LpProblem;

// Lines tangent to a circle around (50, 50), each one a side of the region:
// the polygon has N corners and every clip cuts it.
LpProblem Tangents(int n) {
  LpProblem problem;
  problem.Resize(2, n);
  problem.sense = orcalc::lp::Sense::Maximise;
  problem.objective = {3, 2};
  for (int i = 0; i < n; ++i) {
    const double angle = 2 * M_PI * i / n;
    const double a1 = std::cos(angle), a2 = std::sin(angle);
    problem.coefficients[2 * i] = a1;
    problem.coefficients[2 * i + 1] = a2;
    problem.signs[i] = orcalc::lp::kLessEqual;
    problem.rhs[i] = 40 + 50 * a1 + 50 * a2;
  }
  orcalc::lp::NormaliseRightHandSides(problem);
  return problem;
}

// Whole-number rows a·x ≤ b with a in [1, 10] and b in [50, 500].
LpProblem Random(int n) {
  std::mt19937_64 random(17);
  std::uniform_int_distribution<int> coefficient(1, 10), rhs(50, 500);
  LpProblem problem;
  problem.Resize(2, n);
  problem.sense = orcalc::lp::Sense::Maximise;
  problem.objective = {3, 2};
  for (int i = 0; i < n; ++i) {
    problem.coefficients[2 * i] = coefficient(random);
    problem.coefficients[2 * i + 1] = coefficient(random);
    problem.signs[i] = orcalc::lp::kLessEqual;
    problem.rhs[i] = rhs(random);
  }
  return problem;
}

void BM_Tangents(benchmark::State& state) {
  const LpProblem problem = Tangents(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(orcalc::lp::ComputeGraph(problem));
  state.counters["corners"] = static_cast<double>(orcalc::lp::ComputeGraph(problem).corners.size());
}
BENCHMARK(BM_Tangents)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_Random(benchmark::State& state) {
  const LpProblem problem = Random(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(orcalc::lp::ComputeGraph(problem));
  state.counters["corners"] = static_cast<double>(orcalc::lp::ComputeGraph(problem).corners.size());
}
BENCHMARK(BM_Random)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
