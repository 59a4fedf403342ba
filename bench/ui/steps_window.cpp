// The 单纯形表 window over a 500 × 500 problem in decimals: a table left out
// of the first page opened from the list (its page rebuilt and painted),
// with the whole process's peak memory: the calculation kept for the pages,
// the page held and the window.
#include "stepsview/steps_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTreeWidget>
#include <memory>
#include <random>
#include <string>

#include "common/sheet.h"
#include "lp/lp_sheet.h"
#include "steps/steps_command.h"
#include "ui_bench_support.h"

using orcalc::bench::PeakMegabytes;
using orcalc::bench::Seconds;

namespace {

constexpr int kSize = 500;

// Maximise c x subject to A x <= b: A in [1,10], b in [50,500], c in [1,20].
orcalc::Sheet LessEqualSheet() {
  std::mt19937_64 random(1500);
  auto uniform = [&](int lo, int hi) {
    return std::to_string(std::uniform_int_distribution<int>(lo, hi)(random));
  };
  orcalc::Sheet sheet;
  orcalc::lp::LayOutSheet(sheet, kSize, kSize, orcalc::lp::Sense::Maximise);
  for (int j = 1; j <= kSize; ++j) sheet.SetCell(1, j, uniform(1, 20));
  for (int i = 2; i < kSize + 2; ++i) {
    for (int j = 1; j <= kSize; ++j) sheet.SetCell(i, j, uniform(1, 10));
    sheet.SetCell(i, kSize + 1, " ≤ ");
    sheet.SetCell(i, kSize + 2, uniform(50, 500));
  }
  return sheet;
}

void BM_StepsWindowLeftOutTable500(benchmark::State& state) {
  orcalc::bench::BenchPlatform platform;
  orcalc::steps::StepsOutcome outcome =
      orcalc::steps::CalculateSteps({kSize, kSize, orcalc::lp::Sense::Maximise}, LessEqualSheet());
  state.counters["calculated_peak_MB"] = PeakMegabytes();
  if (!outcome.document || !outcome.kept) {
    state.SkipWithError("no tables left out");
    return;
  }
  orcalc::ui::StepsWindow window(std::move(*outcome.document), nullptr, outcome.kept);
  window.show();
  QApplication::processEvents();
  state.counters["shown_peak_MB"] = PeakMegabytes();
  const std::size_t tables = window.stepList()->topLevelItemCount();
  std::size_t next = tables / 3;
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    window.stepList()->setCurrentItem(window.stepList()->topLevelItem(static_cast<int>(next)));
    window.tableView()->repaint();
    state.SetIterationTime(Seconds(timer));
    if (window.currentStep() != next) state.SkipWithError("the table asked for is not shown");
    // Every time another page: a table just beyond the page held.
    next = (next + tables / 4) % (tables - 1);
  }
  state.counters["tables"] = static_cast<double>(tables);
  state.counters["messages"] = static_cast<double>(platform.messages.size());
  state.counters["peak_MB"] = PeakMegabytes();
}

BENCHMARK(BM_StepsWindowLeftOutTable500)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(8);

}  // namespace

int main(int argc, char** argv) { return orcalc::bench::RunBenchmarks(argc, argv); }
