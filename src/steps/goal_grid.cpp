// A goal program's condensed exchange table as a grid of texts.
#include "steps/goal_step_texts.h"
#include "steps/step_grid.h"

namespace orcalc::steps {
namespace {

// "2P1", "P1", "-P1"; "0" for a variable that belongs to no level.
std::string CostText(const StepsDocument& doc, const StepNumber& weight, int variable,
                     const GridStyle& style) {
  const int level = doc.columns[static_cast<std::size_t>(variable)].level;
  const bool zero = weight.is_exact ? sgn(*weight.exact) == 0 : weight.decimal == 0;
  if (zero || level < 1) return style.number(StepNumber{mpq_class(0), 0.0, true});
  const bool one = weight.is_exact ? weight.exact == 1 : weight.decimal == 1;
  const bool minus_one = weight.is_exact ? weight.exact == -1 : weight.decimal == -1;
  std::string text = one ? std::string() : minus_one ? std::string("-") : style.number(weight);
  return text + LevelName(level);
}

}  // namespace

Grid GoalTableGrid(const StepsDocument& doc, const StepTableau& table, const GridStyle& style) {
  const std::size_t columns = doc.columns.size();
  auto heading = [](std::string text) { return GridCell{std::move(text), false, true}; };
  Grid grid;
  std::vector<GridCell> weights{heading(""), heading(""), heading(style.weight)};
  std::vector<GridCell> names{heading(style.basis_cost), heading(style.basis), heading(style.rhs)};
  for (int j : table.shown) {
    weights.push_back(heading(CostText(doc, table.costs[static_cast<std::size_t>(j)], j, style)));
    names.push_back(heading(style.name(doc.columns[static_cast<std::size_t>(j)])));
  }
  weights.push_back(heading(""));
  names.push_back(heading(table.pivot ? style.theta : ""));
  grid.push_back(std::move(weights));
  grid.push_back(std::move(names));
  for (std::size_t i = 0; i < table.basis.size(); ++i) {
    const int basic = table.basis[i];
    std::vector<GridCell> row{{CostText(doc, table.basis_costs[i], basic, style)},
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
  for (const StepEvaluation& evaluation : table.evaluations) {
    std::string label = LevelName(evaluation.level);
    if (evaluation.level == table.level) label += "*";
    std::vector<GridCell> row{heading(""), heading(label), {style.number(evaluation.achievement)}};
    for (int j : table.shown)
      row.push_back({style.number(evaluation.entries[static_cast<std::size_t>(j)])});
    row.push_back(heading(""));
    grid.push_back(std::move(row));
  }
  return grid;
}

}  // namespace orcalc::steps
