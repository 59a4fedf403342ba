// The largest linear program through LpWindow: counts 500 and 500, OK, a dense
// mixed sheet filled through the grid's model, Calculate to the results
// window shown (its first paint), and saving the report. The core's
// calculation alone on the same sheet is the reference. Counters: the save
// time, the report's size and the process's peak resident memory.
#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <memory>
#include <random>
#include <string>

#include "app/lp_window.h"
#include "lp/lp_commands.h"
#include "results/results_window.h"
#include "sheet/sheet_grid.h"
#include "ui_bench_support.h"

using orcalc::bench::BenchPlatform;
using orcalc::bench::PeakMegabytes;
using orcalc::bench::Seconds;
using orcalc::ui::LpWindow;
using orcalc::ui::ResultsWindow;

namespace {

constexpr int kSize = 500;

// Maximise c·x, c in 1..20, over 500 rows of coefficients in 1..10: every
// third row "≥", five "═", the rest "≤". All rows hold at a chosen point
// with coordinates in 0..3, so the problem is feasible; the "≤" rows, with
// positive coefficients, keep it bounded. Whole numbers, as a user types.
void FillMixed(orcalc::Sheet& sheet) {
  std::mt19937 random(500500);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const int m = kSize;
  const int n = kSize;
  std::vector<int> point(m);
  for (int& v : point) v = uniform(0, 3);
  for (int j = 1; j <= m; ++j) sheet.SetCell(1, j, std::to_string(uniform(1, 20)));
  int equalities = 0;
  for (int i = 1; i <= n; ++i) {
    long at_point = 0;
    for (int j = 1; j <= m; ++j) {
      const int a = uniform(1, 10);
      at_point += static_cast<long>(a) * point[j - 1];
      sheet.SetCell(i + 1, j, std::to_string(a));
    }
    std::string sign = " ≤ ";
    long rhs = at_point + uniform(0, 500);
    if (i % 3 == 0) {
      sign = " ≥ ";
      rhs = at_point - uniform(0, 500);
    } else if (i % 3 == 1 && equalities < 5) {
      ++equalities;
      sign = " ═ ";
      rhs = at_point;
    }
    sheet.SetCell(i + 1, m + 1, sign);
    sheet.SetCell(i + 1, m + 2, std::to_string(rhs));
  }
}

std::unique_ptr<LpWindow> NewForm() {
  auto form = std::make_unique<LpWindow>();
  form->show();
  QApplication::processEvents();
  form->variableCountBox()->setText(QString::number(kSize));
  form->constraintCountBox()->setText(QString::number(kSize));
  form->maximumOption()->setChecked(true);  // 最大值
  return form;
}

std::unique_ptr<LpWindow> FilledForm() {
  std::unique_ptr<LpWindow> form = NewForm();
  form->ok();
  form->grid()->modifySheet(FillMixed);
  return form;
}

void BM_Form1_Ok(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<LpWindow> form = NewForm();
    QElapsedTimer timer;
    timer.start();
    form->ok();
    form->grid()->repaint();
    state.SetIterationTime(Seconds(timer));
    if (form->grid()->cols() != kSize + 3) state.SkipWithError("sheet not laid out");
  }
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_Form1_Ok)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Calculate to the results window's first paint; then the save from it.
void BM_Form1_CalculateToShown(benchmark::State& state) {
  std::unique_ptr<LpWindow> form = FilledForm();
  orcalc::bench::CalculateToShown(state, *form, false);
}
BENCHMARK(BM_Form1_CalculateToShown)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// The core alone: reading the same sheet, solving and writing the report.
void BM_Lp_CalculateCore(benchmark::State& state) {
  std::unique_ptr<LpWindow> form = FilledForm();
  orcalc::lp::LpRequest request;
  request.variables = kSize;
  request.constraints = kSize;
  request.sense = orcalc::lp::Sense::Maximise;
  for (auto _ : state) {
    const orcalc::CalculationOutcome outcome =
        orcalc::lp::Calculate(request, form->grid()->sheet());
    if (!outcome.report || !outcome.messages.empty()) state.SkipWithError("no clean report");
    benchmark::DoNotOptimize(outcome.report->data());
  }
}
BENCHMARK(BM_Lp_CalculateCore)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return orcalc::bench::RunBenchmarks(argc, argv); }
