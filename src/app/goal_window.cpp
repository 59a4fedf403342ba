#include "app/goal_window.h"

#include "goal/goal_commands.h"
#include "goal/goal_sheet_file.h"
#include "lp/lp_sheet_file.h"
#include "sheet/sheet_grid.h"

namespace orcalc::ui {

const SheetWindowDesign& goalWindowDesign() {
  static const SheetWindowDesign design = [] {
    SheetWindowDesign d;
    d.caption = "目标规划计算程序";
    d.client_width = 10950;
    d.client_height = 8715;
    d.panel = {120, 0, 10815, 855};
    d.variable_count_label = {120, 360, 735, 255};
    d.variable_count_box = {720, 240, 615, 375};
    d.row_count_label = {1560, 360, 1095, 255};
    d.row_count_box = {2640, 240, 615, 390};
    d.has_sense = false;
    d.ok_button = {6480, 240, 735, 375};
    d.calculate_button = {7200, 240, 855, 375};
    d.statistics_button = {8040, 240, 735, 375};
    d.about_button = {8760, 240, 735, 375};
    d.exit_button = {9480, 240, 615, 375};
    d.grid = {120, 840, 10815, 7815};
    d.sign_column_from_right = 6;
    d.sheet_kind = stats::SheetKind::GoalProgramming;
    d.layout = kGoalSheetLayout;
    d.other_kind_refusal = "这是线性规划表格，请在线性规划窗口中打开";
    return d;
  }();
  return design;
}

GoalWindow::GoalWindow(QWidget* parent) : SheetWindow(goalWindowDesign(), parent) {
  setObjectName(QStringLiteral("Form3"));
}

SheetWindow::SheetFit GoalWindow::fitSheet(const Sheet& sheet) const {
  const goal::GoalSheetFit fit = goal::FitGoalSheet(sheet);
  return {fit.mismatch, fit.variables, fit.goals, false, fit.as_laid_out};
}

SheetWindow::SheetFit GoalWindow::fitOtherKind(const Sheet& sheet) const {
  const lp::LpSheetFit fit = lp::FitLpSheet(sheet);
  return {fit.mismatch, fit.variables, fit.constraints, fit.sense == lp::Sense::Maximise,
          fit.as_laid_out};
}

void GoalWindow::layOutSheet(int variables, int goals) {
  grid_->modifySheet([&](Sheet& sheet) { goal::LayOutSheet(sheet, goals, variables); });
}

CalculationJob GoalWindow::prepareCalculation(int variables, int goals) {
  goal::GoalRequest request;
  request.goals = goals;
  request.variables = variables;
  request.decimal_separator = decimalSeparator();
  const Sheet& sheet = grid_->sheet();
  return [request, &sheet](Progress& progress) mutable {
    request.progress = &progress;
    return goal::Calculate(request, sheet);
  };
}

}  // namespace orcalc::ui
