#include "steps/step_grid.h"

#include <algorithm>

#include "common/text_width.h"

namespace orcalc::steps {

GridCell GridHeading(std::string text) { return GridCell{std::move(text), false, true}; }

Grid TableHeadAndBody(const StepsDocument& doc, const StepTableau& table, const GridStyle& style,
                      const std::string& cost_label, const CostWriter& cost_text) {
  const std::size_t columns = doc.columns.size();
  Grid grid;
  std::vector<GridCell> costs{GridHeading(""), GridHeading(""), GridHeading(cost_label)};
  std::vector<GridCell> names{GridHeading(style.basis_cost), GridHeading(style.basis),
                              GridHeading(style.rhs)};
  for (int j : table.shown) {
    costs.push_back(GridHeading(cost_text(table.costs[static_cast<std::size_t>(j)], j)));
    names.push_back(GridHeading(style.name(doc.columns[static_cast<std::size_t>(j)])));
  }
  costs.push_back(GridHeading(""));
  names.push_back(GridHeading(table.pivot ? style.theta : ""));
  grid.push_back(std::move(costs));
  grid.push_back(std::move(names));
  for (std::size_t i = 0; i < table.basis.size(); ++i) {
    const int basic = table.basis[i];
    std::vector<GridCell> row{{cost_text(table.basis_costs[i], basic)},
                              {style.name(doc.columns[static_cast<std::size_t>(basic)])},
                              {style.number(table.rhs[i])}};
    for (int j : table.shown) {
      const bool pivot =
          table.pivot && table.pivot->row == static_cast<int>(i) && table.pivot->column == j;
      row.push_back({style.number(table.Cell(static_cast<int>(i), j, columns)), pivot});
    }
    row.push_back({table.theta[i] ? style.number(*table.theta[i]) : ""});
    grid.push_back(std::move(row));
  }
  return grid;
}

Grid TableGrid(const StepsDocument& doc, const StepTableau& table, const GridStyle& style) {
  if (doc.goal) return GoalTableGrid(doc, table, style);
  Grid grid =
      TableHeadAndBody(doc, table, style, style.cost,
                       [&style](const StepNumber& cost, int) { return style.number(cost); });
  std::vector<GridCell> sigma{GridHeading(""), GridHeading(style.sigma), GridHeading("")};
  for (int j : table.shown)
    sigma.push_back({style.number(table.sigma[static_cast<std::size_t>(j)])});
  sigma.push_back(GridHeading(""));
  grid.push_back(std::move(sigma));
  return grid;
}

std::vector<Grid> SplitColumns(const Grid& grid, std::size_t leading, std::size_t most_width,
                               std::size_t padding) {
  const std::size_t columns = grid.empty() ? 0 : grid.front().size();
  if (most_width == 0 || columns <= leading) return {grid};
  std::vector<std::size_t> widths(columns, 0);
  for (const auto& row : grid)
    for (std::size_t c = 0; c < row.size() && c < columns; ++c)
      widths[c] = std::max(widths[c], DisplayWidth(row[c].text) + (row[c].pivot ? 2 : 0));
  std::size_t lead = 0;
  for (std::size_t c = 0; c < leading; ++c) lead += widths[c] + padding;
  std::vector<Grid> parts;
  for (std::size_t first = leading; first < columns;) {
    std::size_t end = first + 1;
    std::size_t width = lead + widths[first] + padding;
    while (end < columns && width + widths[end] + padding <= most_width)
      width += widths[end++] + padding;
    Grid part;
    for (const auto& row : grid) {
      auto at = [&row](std::size_t c) {
        return row.begin() + static_cast<std::ptrdiff_t>(std::min(c, row.size()));
      };
      std::vector<GridCell> cells(row.begin(), at(leading));
      cells.insert(cells.end(), at(first), at(end));
      part.push_back(std::move(cells));
    }
    parts.push_back(std::move(part));
    first = end;
  }
  return parts;
}

std::string TableName(const StepsDocument& doc, std::size_t index) {
  // With tables left out, the place among every table of the calculation.
  const long number =
      doc.tables_left_out > 0 ? doc.tableaux[index].number : static_cast<long>(index);
  return "表 " + std::to_string(number + 1);
}

std::string TableTitle(const StepsDocument& doc, std::size_t index) {
  const StepTableau& table = doc.tableaux[index];
  std::string title = TableName(doc, index);
  if (doc.goal && table.level > 0)
    return title + "（求 P" + std::to_string(table.level) + " 级极小）";
  const bool two_phases =
      std::any_of(doc.columns.begin(), doc.columns.end(),
                  [](const StepColumn& c) { return c.kind == VariableKind::Artificial; });
  if (two_phases) title += table.phase == 1 ? "（第一阶段）" : "（第二阶段）";
  return title;
}

std::string ObjectiveLine(const StepsDocument& doc, const StepTableau& table,
                          const std::string& value) {
  return doc.goal ? std::string() : ObjectiveLine(table, value);
}

std::string ObjectiveLine(const StepTableau& table, const std::string& value) {
  return std::string(table.phase == 1 ? "辅助目标函数值 w = " : "目标函数值 z = ") + value;
}

}  // namespace orcalc::steps
