#include "steps/step_grid_cell.h"

namespace orcalc::steps {
namespace {

GridCell Heading(std::string text) { return GridCell{std::move(text), false, true}; }

// The c_j row (0) and the heading row (1).
GridCell HeadCell(const StepsDocument& doc, const StepTableau& table, const GridStyle& style,
                  int row, int column) {
  const int shown = static_cast<int>(table.shown.size());
  if (row == 0) {
    if (column < 2 || column == shown + 3) return Heading("");
    if (column == 2) return Heading(style.cost);
    return Heading(style.number(
        table.costs[static_cast<std::size_t>(table.shown[static_cast<std::size_t>(column - 3)])]));
  }
  if (column == 0) return Heading(style.basis_cost);
  if (column == 1) return Heading(style.basis);
  if (column == 2) return Heading(style.rhs);
  if (column == shown + 3) return Heading(table.pivot ? style.theta : "");
  const int j = table.shown[static_cast<std::size_t>(column - 3)];
  return Heading(style.name(doc.columns[static_cast<std::size_t>(j)]));
}

GridCell SigmaCell(const StepTableau& table, const GridStyle& style, int column) {
  const int shown = static_cast<int>(table.shown.size());
  if (column == 1) return Heading(style.sigma);
  if (column < 3 || column == shown + 3) return Heading("");
  const int j = table.shown[static_cast<std::size_t>(column - 3)];
  return {style.number(table.sigma[static_cast<std::size_t>(j)])};
}

}  // namespace

GridSize TableGridSize(const StepTableau& table) {
  return {static_cast<int>(table.basis.size()) + 3, static_cast<int>(table.shown.size()) + 4};
}

GridCell TableGridCell(const StepsDocument& doc, const StepTableau& table, const GridStyle& style,
                       int row, int column) {
  const GridSize size = TableGridSize(table);
  if (row < 0 || column < 0 || row >= size.rows || column >= size.columns) return {};
  if (row < 2) return HeadCell(doc, table, style, row, column);
  if (row == size.rows - 1) return SigmaCell(table, style, column);
  const int i = row - 2;
  const std::size_t r = static_cast<std::size_t>(i);
  if (column == 0) return {style.number(table.basis_costs[r])};
  if (column == 1) return {style.name(doc.columns[static_cast<std::size_t>(table.basis[r])])};
  if (column == 2) return {style.number(table.rhs[r])};
  if (column == size.columns - 1) return {table.theta[r] ? style.number(*table.theta[r]) : ""};
  const int j = table.shown[static_cast<std::size_t>(column - 3)];
  const bool pivot = table.pivot && table.pivot->row == i && table.pivot->column == j;
  return {style.number(table.Cell(i, j, doc.columns.size())), pivot};
}

}  // namespace orcalc::steps
