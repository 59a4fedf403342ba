// LpWindow's OK with 500 variables and 500 constraints: laying the sheet out
// (502 x 503 cells) and painting the grid, then scrolling it to the far
// corner and painting again.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <memory>

#include "app/lp_window.h"
#include "sheet/sheet_grid.h"
#include "ui_bench_support.h"

using orcalc::ui::LpWindow;

namespace {

std::unique_ptr<LpWindow> newForm() {
  auto form = std::make_unique<LpWindow>();
  form->show();
  QApplication::processEvents();
  form->variableCountBox()->setText("500");
  form->constraintCountBox()->setText("500");
  return form;
}

void BM_Form1_Ok500x500(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<LpWindow> form = newForm();
    state.ResumeTiming();
    form->ok();
    form->grid()->repaint();
    state.PauseTiming();
    if (form->grid()->cols() != 503) state.SkipWithError("sheet not laid out");
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Form1_Ok500x500)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Form1_ScrollRepaint500x500(benchmark::State& state) {
  std::unique_ptr<LpWindow> form = newForm();
  form->ok();
  orcalc::ui::SheetGrid* grid = form->grid();
  for (int r = 1; r < grid->rows(); ++r) {
    for (int c = 1; c < grid->cols(); c += 7) grid->setText(r, c, "123.456");
  }
  bool far = false;
  for (auto _ : state) {
    far = !far;
    grid->setTopRow(far ? 480 : 1);
    grid->setLeftCol(far ? 490 : 1);
    grid->repaint();
  }
}
BENCHMARK(BM_Form1_ScrollRepaint500x500)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return orcalc::bench::RunBenchmarks(argc, argv); }
