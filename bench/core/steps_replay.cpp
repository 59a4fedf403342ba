// The tableaux step by step of a 500 × 500 problem in decimals: the whole
// replay as the window's first page makes it, and a later page of tables,
// with the process's peak memory.
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_sheet.h"
#include "steps/exact_problem.h"
#include "steps/step_replay.h"

namespace {

using namespace orcalc;

// Maximise c x subject to A x <= b: A in [1,10], b in [50,500], c in [1,20].
Sheet LessEqualSheet(int size) {
  std::mt19937_64 random(1500);
  auto uniform = [&](int lo, int hi) {
    return std::to_string(std::uniform_int_distribution<int>(lo, hi)(random));
  };
  Sheet sheet;
  lp::LayOutSheet(sheet, size, size, lp::Sense::Maximise);
  for (int j = 1; j <= size; ++j) sheet.SetCell(1, j, uniform(1, 20));
  for (int i = 2; i < size + 2; ++i) {
    for (int j = 1; j <= size; ++j) sheet.SetCell(i, j, uniform(1, 10));
    sheet.SetCell(i, size + 1, " ≤ ");
    sheet.SetCell(i, size + 2, uniform(50, 500));
  }
  return sheet;
}

struct Solved {
  lp::SolvedLp solved;
  std::vector<lp::PivotRecord> pivots;
  steps::ExactProblem exact;
};

const Solved& LargeProblem() {
  static const Solved kSolved = [] {
    const int size = 500;
    const Sheet sheet = LessEqualSheet(size);
    Solved s;
    lp::LpRequest request;
    request.variables = size;
    request.constraints = size;
    request.sense = lp::Sense::Maximise;
    request.on_pivot = [&](const lp::PivotRecord& record) { s.pivots.push_back(record); };
    std::optional<lp::SolvedLp> solved;
    lp::Calculate(request, sheet, &solved);
    s.solved = std::move(*solved);
    s.exact = steps::ReadExactProblem(sheet, s.solved.problem);
    return s;
  }();
  return kSolved;
}

double PeakMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

void Replay(benchmark::State& state, long keep_from) {
  const Solved& s = LargeProblem();
  steps::ReplayOptions options;
  options.fractions = false;
  options.keep_from = keep_from;
  const steps::StepsInput input{&s.solved.problem, &s.exact, &s.pivots, &s.solved.result};
  for (auto _ : state) benchmark::DoNotOptimize(steps::ReplaySteps(input, options).tableaux.size());
  const long tables = static_cast<long>(steps::ReplaySteps(input, options).summaries.size());
  state.counters["tables"] = static_cast<double>(tables);
  state.counters["peak_MB"] = PeakMegabytes();
}

void BM_StepsFirstPage500(benchmark::State& state) { Replay(state, 0); }
void BM_StepsLaterPage500(benchmark::State& state) { Replay(state, 40); }

BENCHMARK(BM_StepsFirstPage500)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_StepsLaterPage500)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
