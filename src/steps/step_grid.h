// One table of the steps as a grid of texts, the same for every format:
// the c_j row, the heading row (C_B, X_B, b, the variables, θ), one row
// per basic variable, and the σ_j row. A goal program's table has the
// weights' row, the heading row, one row per basic variable and one
// evaluation row per level (P1, P2, …; the level being minimised as "P2*").
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "steps/step_tableau.h"

namespace orcalc::steps {

struct GridCell {
  std::string text;
  bool pivot = false;
  bool heading = false;
};
using Grid = std::vector<std::vector<GridCell>>;

struct GridStyle {
  std::function<std::string(const StepNumber&)> number;
  std::function<std::string(const StepColumn&)> name;
  std::string cost = "cj", basis_cost = "C_B", basis = "X_B", rhs = "b", sigma = "σj", theta = "θ";
  std::string weight = "权重";
};

Grid TableGrid(const StepsDocument& doc, const StepTableau& table, const GridStyle& style);
Grid GoalTableGrid(const StepsDocument& doc, const StepTableau& table, const GridStyle& style);

// `grid` cut into parts side by side no wider than `most_width` columns of
// the fixed-pitch face (a cell's text and `padding` around it), each part
// repeating the first `leading` columns (C_B, X_B, b); a part holds one
// more column at least. `most_width` 0: the grid whole.
std::vector<Grid> SplitColumns(const Grid& grid, std::size_t leading, std::size_t most_width,
                               std::size_t padding);

// The text of a variable's cost (c_j, C_B) or weight.
using CostWriter = std::function<std::string(const StepNumber& cost, int variable)>;
// The rows both kinds of table share: the costs' row headed `cost_label`,
// the heading row and one row per basic variable.
Grid TableHeadAndBody(const StepsDocument& doc, const StepTableau& table, const GridStyle& style,
                      const std::string& cost_label, const CostWriter& cost_text);
// A heading cell.
GridCell GridHeading(std::string text);

// "表 3（第一阶段）": the title of table `index` (shown from 1; its place
// among every table of the calculation when tables were left out), with
// its phase when the problem has two.
std::string TableTitle(const StepsDocument& doc, std::size_t index);
// "表 2" alone.
std::string TableName(const StepsDocument& doc, std::size_t index);
// "目标函数值 z = 12" (w in phase 1); empty for a goal program's table,
// whose evaluation rows show the levels' objectives.
std::string ObjectiveLine(const StepTableau& table, const std::string& value);
std::string ObjectiveLine(const StepsDocument& doc, const StepTableau& table,
                          const std::string& value);

}  // namespace orcalc::steps
