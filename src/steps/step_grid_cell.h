// One cell of a table's grid, made when it is asked for: a window showing a
// large table makes the texts of the cells in sight only. The grid is the
// one TableGrid makes.
#pragma once

#include "steps/step_grid.h"

namespace orcalc::steps {

struct GridSize {
  int rows = 0;
  int columns = 0;
};

GridSize TableGridSize(const StepTableau& table);

// The cell TableGrid(doc, table, style)[row][column] holds.
GridCell TableGridCell(const StepsDocument& doc, const StepTableau& table, const GridStyle& style,
                       int row, int column);

}  // namespace orcalc::steps
