#include "app/goal_window.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <memory>
#include <optional>

#include "goal/goal_commands.h"
#include "goal/goal_sheet_file.h"
#include "lp/lp_sheet_file.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "steps/goal_steps_command.h"
#include "stepsview/steps_window.h"

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
  QMenu* analysis =
      addMenu(QStringLiteral("分析(&A)"), {{QStringLiteral("单纯形表…"), [this] { simplexSteps(); },
                                            QKeySequence(Qt::CTRL | Qt::Key_B)}});
  analysis->setObjectName(QStringLiteral("analysisMenu"));
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

goal::GoalRequest GoalWindow::request(int variables, int goals) const {
  goal::GoalRequest request;
  request.goals = goals;
  request.variables = variables;
  request.decimal_separator = decimalSeparator();
  return request;
}

CalculationJob GoalWindow::prepareCalculation(int variables, int goals) {
  const Sheet& sheet = grid_->sheet();
  return [request = request(variables, goals), &sheet](Progress& progress) mutable {
    request.progress = &progress;
    return goal::Calculate(request, sheet);
  };
}

void GoalWindow::simplexSteps() {
  if (!calculateButton_->isEnabled()) return;  // no sheet laid out yet
  // The menu command and its shortcut leave the focus in an open editor.
  editing().closeEditors();
  auto document = std::make_shared<std::optional<steps::StepsDocument>>();
  runCalculationCommand([this, document](int variables, int goals) -> CalculationJob {
    const Sheet& sheet = grid_->sheet();
    return [request = request(variables, goals), &sheet, document](Progress& progress) mutable {
      request.progress = &progress;
      steps::ReplayOptions replay;
      replay.should_stop = [&progress] { return progress.ShouldStop(); };
      steps::GoalStepsOutcome run = steps::CalculateGoalSteps(request, sheet, replay);
      *document = std::move(run.steps);
      // The calculation's messages are shown; the tables take its report's place.
      CalculationOutcome shown;
      shown.messages = std::move(run.outcome.messages);
      shown.stopped = run.outcome.stopped;
      return shown;
    };
  });
  if (*document) guarded([&] { showStepsWindow(this, std::move(**document)); });
}

}  // namespace orcalc::ui
