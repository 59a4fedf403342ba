#include "steps/step_grid.h"

#include <algorithm>

#include "common/text_width.h"

namespace orcalc::steps {

Grid TableGrid(const StepsDocument& doc, const StepTableau& table, const GridStyle& style) {
  if (doc.goal) return GoalTableGrid(doc, table, style);
  const std::size_t columns = doc.columns.size();
  auto heading = [](std::string text) { return GridCell{std::move(text), false, true}; };
  Grid grid;
  std::vector<GridCell> costs{heading(""), heading(""), heading(style.cost)};
  std::vector<GridCell> names{heading(style.basis_cost), heading(style.basis), heading(style.rhs)};
  for (int j : table.shown) {
    costs.push_back(heading(style.number(table.costs[static_cast<std::size_t>(j)])));
    names.push_back(heading(style.name(doc.columns[static_cast<std::size_t>(j)])));
  }
  costs.push_back(heading(""));
  names.push_back(heading(table.pivot ? style.theta : ""));
  grid.push_back(std::move(costs));
  grid.push_back(std::move(names));
  for (std::size_t i = 0; i < table.basis.size(); ++i) {
    std::vector<GridCell> row{{style.number(table.basis_costs[i])},
                              {style.name(doc.columns[static_cast<std::size_t>(table.basis[i])])},
                              {style.number(table.rhs[i])}};
    for (int j : table.shown) {
      const bool pivot =
          table.pivot && table.pivot->row == static_cast<int>(i) && table.pivot->column == j;
      row.push_back({style.number(table.Cell(static_cast<int>(i), j, columns)), pivot});
    }
    row.push_back({table.theta[i] ? style.number(*table.theta[i]) : ""});
    grid.push_back(std::move(row));
  }
  std::vector<GridCell> sigma{heading(""), heading(style.sigma), heading("")};
  for (int j : table.shown)
    sigma.push_back({style.number(table.sigma[static_cast<std::size_t>(j)])});
  sigma.push_back(heading(""));
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
