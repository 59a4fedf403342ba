// The largest goal program through GoalWindow: M = N = 500, OK, a dense sheet
// filled through the grid's model, Calculate to the results window shown
// (its first paint), and saving the report. The core's calculation alone
// (reading the sheet, solving every level, building the report) on the same
// sheet is the reference the window path is held to. Counters: the save
// time, the report's size and the process's peak resident memory.
#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>
#include <random>
#include <string>

#include "app/goal_window.h"
#include "goal/goal_commands.h"
#include "results/results_window.h"
#include "sheet/sheet_grid.h"
#include "ui_bench_support.h"

using orcalc::bench::BenchPlatform;
using orcalc::bench::PeakMegabytes;
using orcalc::bench::Seconds;
using orcalc::ui::GoalWindow;
using orcalc::ui::ResultsWindow;

namespace {

constexpr int kSize = 500;

// Coefficients 1..10, targets 10..1000, weights 1..5 and levels 1..5 for
// both deviations, whole numbers as a user types them. The sign column is
// not read by goal programming and stays as laid out.
void FillDense(orcalc::Sheet& sheet) {
  std::mt19937 random(500501);
  auto uniform = [&](int lo, int hi) {
    return std::to_string(std::uniform_int_distribution<int>(lo, hi)(random));
  };
  const int n = kSize;
  for (int i = 1; i <= kSize; ++i) {
    for (int j = 1; j <= n; ++j) sheet.SetCell(i, j, uniform(1, 10));
    sheet.SetCell(i, n + 2, uniform(10, 1000));
    sheet.SetCell(i, n + 3, uniform(1, 5));
    sheet.SetCell(i, n + 4, uniform(1, 5));
    sheet.SetCell(i, n + 5, uniform(1, 5));
    sheet.SetCell(i, n + 6, uniform(1, 5));
  }
}

std::unique_ptr<GoalWindow> NewForm() {
  auto form = std::make_unique<GoalWindow>();
  form->show();
  QApplication::processEvents();
  form->variableCountBox()->setText(QString::number(kSize));
  form->constraintCountBox()->setText(QString::number(kSize));
  return form;
}

std::unique_ptr<GoalWindow> FilledForm() {
  std::unique_ptr<GoalWindow> form = NewForm();
  form->ok();
  form->grid()->modifySheet(FillDense);
  return form;
}

orcalc::goal::GoalRequest Request() {
  orcalc::goal::GoalRequest request;
  request.goals = kSize;
  request.variables = kSize;
  return request;
}

void BM_Form3_Ok(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<GoalWindow> form = NewForm();
    QElapsedTimer timer;
    timer.start();
    form->ok();
    form->grid()->repaint();
    state.SetIterationTime(Seconds(timer));
    if (form->grid()->cols() != kSize + 7) state.SkipWithError("sheet not laid out");
  }
}
BENCHMARK(BM_Form3_Ok)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The core alone: reading the sheet, solving and building the report.
void BM_Goal_CalculateCore(benchmark::State& state) {
  std::unique_ptr<GoalWindow> form = FilledForm();
  std::size_t bytes = 0;
  std::size_t messages = 0;
  for (auto _ : state) {
    const orcalc::CalculationOutcome outcome =
        orcalc::goal::Calculate(Request(), form->grid()->sheet());
    if (!outcome.report) state.SkipWithError("no report");
    bytes = outcome.report ? outcome.report->size() : 0;
    messages = outcome.messages.size();
  }
  state.counters["report_bytes"] = static_cast<double>(bytes);
  state.counters["messages"] = static_cast<double>(messages);
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_Goal_CalculateCore)->Unit(benchmark::kMillisecond)->Iterations(1);

// Calculate to the results window's first paint; then the save from it.
void BM_Form3_CalculateToShown(benchmark::State& state) {
  std::unique_ptr<GoalWindow> form = FilledForm();
  orcalc::bench::CalculateToShown(state, *form, true);
}
BENCHMARK(BM_Form3_CalculateToShown)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return orcalc::bench::RunBenchmarks(argc, argv); }
