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
  Grid grid = TableHeadAndBody(doc, table, style, style.weight,
                               [&doc, &style](const StepNumber& weight, int variable) {
                                 return CostText(doc, weight, variable, style);
                               });
  for (const StepEvaluation& evaluation : table.evaluations) {
    std::string label = LevelName(evaluation.level);
    if (evaluation.level == table.level) label += "*";
    std::vector<GridCell> row{
        GridHeading(""), GridHeading(label), {style.number(evaluation.achievement)}};
    for (int j : table.shown)
      row.push_back({style.number(evaluation.entries[static_cast<std::size_t>(j)])});
    row.push_back(GridHeading(""));
    grid.push_back(std::move(row));
  }
  return grid;
}

}  // namespace orcalc::steps
