#include "app/form3.h"

#include "goal/goal_commands.h"
#include "goal/goal_sheet_file.h"
#include "sheet/sheet_grid.h"

namespace orcalc::ui {

const SheetWindowDesign& form3Design() {
  static const SheetWindowDesign design = [] {
    SheetWindowDesign d;
    d.caption = "目标规划计算程序";
    d.client_width = 10950;
    d.client_height = 8715;
    d.frame1 = {120, 0, 10815, 855};
    d.label2 = {120, 360, 735, 255};
    d.text2 = {720, 240, 615, 375};
    d.label1 = {1560, 360, 1095, 255};
    d.text1 = {2640, 240, 615, 390};
    d.has_sense = false;
    d.command1 = {6480, 240, 735, 375};
    d.command2 = {7200, 240, 855, 375};
    d.command3 = {8040, 240, 735, 375};
    d.command5 = {8760, 240, 735, 375};
    d.command6 = {9480, 240, 615, 375};
    d.grid = {120, 840, 10815, 7815};
    d.sign_column_from_right = 6;
    d.sheet_kind = stats::SheetKind::GoalProgramming;
    return d;
  }();
  return design;
}

Form3::Form3(QWidget* parent) : SheetWindow(form3Design(), parent) {
  setObjectName(QStringLiteral("Form3"));
}

SheetWindow::SheetFit Form3::fitSheet(const Sheet& sheet) const {
  const goal::GoalSheetFit fit = goal::FitGoalSheet(sheet);
  return {fit.mismatch, fit.variables, fit.goals, false};
}

void Form3::layOutSheet(int variables, int goals) {
  MSFlexGrid1->modifySheet([&](Sheet& sheet) { goal::LayOutSheet(sheet, goals, variables); });
}

CalculationJob Form3::prepareCalculation(int variables, int goals) {
  goal::GoalRequest request;
  request.goals = goals;
  request.variables = variables;
  request.decimal_separator = decimalSeparator();
  const Sheet& sheet = MSFlexGrid1->sheet();
  return [request, &sheet](Progress& progress) mutable {
    request.progress = &progress;
    return goal::Calculate(request, sheet);
  };
}

}  // namespace orcalc::ui
