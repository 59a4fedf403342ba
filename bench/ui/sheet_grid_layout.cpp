// The grid with a 500 x 500 sheet: laying it out (the OK command's path:
// the sheet's layout, the grid's refresh and the first paint) and
// repainting after a scroll.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <cstdlib>
#include <memory>

#include "lp/lp_commands.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "ui_bench_support.h"

namespace {

using orcalc::Sheet;
using orcalc::ui::CellEditing;
using orcalc::ui::SheetGrid;

// A sheet window in small, at the linear-programming window's grid size.
struct Window {
  QWidget widget;
  SheetGrid* grid;
  CellEditing* editing;
  Window() {
    widget.resize(740, 560);
    grid = new SheetGrid(&widget);
    grid->setGeometry(8, 56, 713, 489);
    auto* text8 = new QLineEdit(&widget);
    auto* combo3 = new QComboBox(&widget);
    editing = new CellEditing(&widget, grid, text8, combo3, [](int cols) { return cols - 2; });
    editing->loadItems();
    widget.show();
    QCoreApplication::processEvents();
  }
};

void layOut(SheetGrid& grid, int variables, int constraints) {
  grid.modifySheet([&](Sheet& sheet) {
    orcalc::lp::LayOutSheet(sheet, variables, constraints, orcalc::lp::Sense::Maximise);
  });
}

void BM_LayOut500x500AndFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    state.ResumeTiming();
    layOut(*window->grid, 500, 500);
    window->grid->repaint();
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LayOut500x500AndFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RelayOutOver500x500(benchmark::State& state) {
  Window window;
  layOut(*window.grid, 500, 500);
  for (auto _ : state) {
    layOut(*window.grid, 500, 500);
    window.grid->repaint();
  }
}
BENCHMARK(BM_RelayOutOver500x500)->Unit(benchmark::kMillisecond)->UseRealTime();

// One scroll step (a row, a page, a column) and the repaint it causes.
void BM_ScrollRepaint(benchmark::State& state) {
  Window window;
  layOut(*window.grid, 500, 500);
  const int step = static_cast<int>(state.range(0));
  const bool columns = state.range(1) != 0;
  int position = 1;
  for (auto _ : state) {
    position += step;
    if (position > 450) position = 1;
    if (columns)
      window.grid->setLeftCol(position);
    else
      window.grid->setTopRow(position);
    window.grid->repaint();
  }
}
BENCHMARK(BM_ScrollRepaint)
    ->Args({1, 0})
    ->Args({20, 0})
    ->Args({1, 1})
    ->ArgNames({"step", "columns"})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return orcalc::bench::RunBenchmarks(argc, argv); }
