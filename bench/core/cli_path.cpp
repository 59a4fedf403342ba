// The whole path of `orcalc-cli lp` on the all-≤ 500 × 500 sheet: reading
// the file's bytes, reading the problem off the sheet, solving, building the
// report and writing it; each step alone, the whole path in this process,
// and the whole program started as a separate process.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "common/number_text.h"
#include "common/numeric_reading.h"
#include "files/sheet_file.h"
#include "lp/lp_commands.h"
#include "lp/lp_sheet.h"
#include "simplex/simplex_solver.h"

extern char** environ;

namespace {

using orcalc::Sheet;
namespace lp = orcalc::lp;

constexpr int kSize = 500;

// Maximise c x subject to A x <= b: A in [1,10], b in [50,500], c in
// [1,20], all whole numbers, as the sheet file holds it.
const std::string& SheetBytes() {
  static const std::string bytes = [] {
    std::mt19937_64 random(1000 + kSize);
    auto uniform = [&](int lo, int hi) {
      return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    Sheet sheet;
    lp::LayOutSheet(sheet, kSize, kSize, lp::Sense::Maximise);
    for (int j = 1; j <= kSize; ++j) sheet.SetCell(1, j, orcalc::PlainNumber(uniform(1, 20)));
    for (int i = 2; i < kSize + 2; ++i) {
      for (int j = 1; j <= kSize; ++j) sheet.SetCell(i, j, orcalc::PlainNumber(uniform(1, 10)));
      sheet.SetCell(i, kSize + 1, " ≤ ");
      sheet.SetCell(i, kSize + 2, orcalc::PlainNumber(uniform(50, 500)));
    }
    return orcalc::WriteSheetCsv(sheet);
  }();
  return bytes;
}

lp::LpRequest Request() {
  lp::LpRequest request;
  request.variables = kSize;
  request.constraints = kSize;
  request.sense = lp::Sense::Maximise;
  return request;
}

void BM_ReadSheetFile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(orcalc::ReadSheetCsv(SheetBytes()));
  state.counters["bytes"] = static_cast<double>(SheetBytes().size());
}

void BM_ReadProblem(benchmark::State& state) {
  const Sheet sheet = orcalc::ReadSheetCsv(SheetBytes()).sheet;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lp::ReadLpSheet(sheet, kSize, kSize, lp::Sense::Maximise));
  }
}

// The in-process solve: building the tableau and pivoting to the optimum.
void BM_Solve(benchmark::State& state) {
  const Sheet sheet = orcalc::ReadSheetCsv(SheetBytes()).sheet;
  const lp::LpProblem problem = lp::ReadLpSheet(sheet, kSize, kSize, lp::Sense::Maximise).problem;
  for (auto _ : state) benchmark::DoNotOptimize(lp::SolveSimplex(problem, {}));
}

// Reading the problem, solving and building the report.
void BM_Calculate(benchmark::State& state) {
  const Sheet sheet = orcalc::ReadSheetCsv(SheetBytes()).sheet;
  std::size_t report_bytes = 0;
  for (auto _ : state) {
    const orcalc::CalculationOutcome outcome = lp::Calculate(Request(), sheet);
    report_bytes = outcome.report->size();
  }
  state.counters["report_bytes"] = static_cast<double>(report_bytes);
}

// Everything the command does in this process, the report written to
// /dev/null.
void BM_WholePath(benchmark::State& state) {
  std::FILE* sink = std::fopen("/dev/null", "wb");
  for (auto _ : state) {
    const Sheet sheet = orcalc::ReadSheetCsv(SheetBytes()).sheet;
    const orcalc::CalculationOutcome outcome = lp::Calculate(Request(), sheet);
    std::fwrite(outcome.report->data(), 1, outcome.report->size(), sink);
    std::fflush(sink);
  }
  std::fclose(sink);
}

// `orcalc-cli lp sheet.csv > /dev/null` as a batch user runs it (exit
// status 1: the solver's warning on small coefficients is part of the run).
void BM_WholeProcess(benchmark::State& state) {
  char path[] = "/tmp/orcalc-bench-XXXXXX.csv";
  const int fd = mkstemps(path, 4);
  if (fd < 0 || write(fd, SheetBytes().data(), SheetBytes().size()) < 0) {
    state.SkipWithError("cannot write the sheet file");
    return;
  }
  close(fd);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char program[] = ORCALC_CLI_PATH;
  char command[] = "lp";
  char* argv[] = {program, command, path, nullptr};
  for (auto _ : state) {
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, program, &actions, nullptr, argv, environ) != 0 ||
        waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
      state.SkipWithError("orcalc-cli failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  unlink(path);
}

}  // namespace

BENCHMARK(BM_ReadSheetFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProblem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Solve)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Calculate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholePath)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
