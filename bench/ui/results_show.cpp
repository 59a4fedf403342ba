// ResultsWindow showing long reports: setting the text and painting it for the
// first time, at 200,000 and 2,000,000 lines.
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "common/report_text.h"
#include "results/results_window.h"
#include "ui_bench_support.h"

using orcalc::ui::ResultsWindow;

namespace {

// Lines shaped like a goal-programming report's result blocks.
std::string makeReport(long lines) {
  orcalc::ReportText report;
  report.Reserve(static_cast<std::size_t>(lines) * 32);
  for (long i = 1; i <= lines; ++i) {
    report.EndLine().Add("第").AddInt(i % 500 + 1).Add("个变量 χ").AddInt(i % 97 + 1).Add(" = ");
    report.AddSigned(static_cast<double>(i % 1000) / 7.0);
  }
  return report.Take();
}

void BM_Form2_ShowReport(benchmark::State& state) {
  const std::string report = makeReport(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<ResultsWindow>();
    form->show();
    QApplication::processEvents();
    state.ResumeTiming();
    form->setReportText(report);
    form->repaint();
    state.PauseTiming();
    if (form->reportBox()->lines() < state.range(0)) state.SkipWithError("report not loaded");
    form.reset();
    state.ResumeTiming();
  }
  state.counters["bytes"] = static_cast<double>(report.size());
}
BENCHMARK(BM_Form2_ShowReport)
    ->Arg(200000)
    ->Arg(2000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return orcalc::bench::RunBenchmarks(argc, argv); }
