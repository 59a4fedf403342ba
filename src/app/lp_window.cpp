#include "app/lp_window.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <optional>

#include "app/goal_window.h"
#include "app/model_files.h"
#include "app/variable_types_dialog.h"
#include "common/numeric_reading.h"
#include "goal/goal_sheet_file.h"
#include "graph/graph_window.h"
#include "integer/integer_commands.h"
#include "integer/integer_texts.h"
#include "lp/lp_sheet_file.h"
#include "lp/lp_texts.h"
#include "platform/platform.h"
#include "platform/save_names.h"
#include "sensitivity/sensitivity_command.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "steps/steps_command.h"
#include "stepsview/steps_window.h"

namespace orcalc::ui {

const SheetWindowDesign& lpWindowDesign() {
  static const SheetWindowDesign design = [] {
    SheetWindowDesign d;
    d.caption = "线性规划计算程序";
    d.client_width = 10830;
    d.client_height = 8550;
    d.panel = {120, 0, 10695, 855};
    d.variable_count_label = {120, 360, 735, 255};
    d.variable_count_box = {720, 240, 615, 375};
    d.row_count_label = {1440, 360, 1095, 255};
    d.row_count_box = {2520, 240, 615, 390};
    d.has_sense = true;
    d.sense_label = {3360, 360, 1095, 255};
    d.minimum_option = {4440, 240, 855, 375};
    d.maximum_option = {5280, 240, 855, 375};
    d.ok_button = {6360, 240, 615, 375};
    d.calculate_button = {6960, 240, 615, 375};
    d.statistics_button = {7560, 240, 615, 375};
    d.goal_button = {8160, 240, 975, 375};
    d.about_button = {9120, 240, 615, 375};
    d.exit_button = {9720, 240, 615, 375};
    d.grid = {120, 840, 10695, 7335};
    d.sign_column_from_right = 2;
    d.sheet_kind = stats::SheetKind::LinearProgramming;
    d.layout = kLpSheetLayout;
    d.fixed_trailing_row = kFirstDataRow;  // the objective row
    d.other_kind_refusal = "这是目标规划表格，请在目标规划窗口中打开";
    d.has_variable_types = true;
    return d;
  }();
  return design;
}

LpWindow::LpWindow(QWidget* parent) : SheetWindow(lpWindowDesign(), parent) {
  setObjectName(QStringLiteral("Form1"));
  QMenu* analysis = addMenu(QStringLiteral("分析(&A)"),
                            {{QStringLiteral("灵敏度分析"), [this] { sensitivityAnalysis(); },
                              QKeySequence(Qt::CTRL | Qt::Key_T)},
                             {QStringLiteral("图解法"), [this] { graphicalMethod(); },
                              QKeySequence(Qt::CTRL | Qt::Key_G)},
                             {QStringLiteral("单纯形表…"), [this] { simplexSteps(); },
                              QKeySequence(Qt::CTRL | Qt::Key_B)},
                             {QStringLiteral("变量类型…"), [this] { editVariableTypes(); }}});
  analysis->setObjectName(QStringLiteral("analysisMenu"));
  sensitivityAction_ = analysis->actions().value(0);
  graphAction_ = analysis->actions().value(1);
  stepsAction_ = analysis->actions().value(2);
  variableTypesAction_ = analysis->actions().value(3);
  addFileMenuAction("actionImportModel", "导入模型…", [this] { importModel(); });
  addFileMenuAction("actionExportModel", "导出模型…", [this] { exportModel(); });
  connect(goalButton_, &QPushButton::clicked, this, &LpWindow::openGoalProgramming);
  calculateButton_->installEventFilter(this);
  connect(variableCountBox_, &QLineEdit::textChanged, this, &LpWindow::updateAnalysisActions);
  // The sense cell follows the option buttons at once.
  connect(maximumOption_, &QRadioButton::toggled, this, &LpWindow::writeSenseCell);
  updateAnalysisActions();
}

void LpWindow::openGoalProgramming() {
  // An empty sheet and Calculate disabled, whatever the last one held.
  GoalWindow goal(this);
  Platform::current().runModal(&goal);
}

void LpWindow::updateAnalysisActions() {
  sensitivityAction_->setEnabled(calculateButton_->isEnabled());
  stepsAction_->setEnabled(calculateButton_->isEnabled());
  variableTypesAction_->setEnabled(calculateButton_->isEnabled());
  graphAction_->setEnabled(
      graphMethodAvailable(variableCountBox_->text(), calculateButton_->isEnabled()));
}

bool LpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == calculateButton_ && event->type() == QEvent::EnabledChange)
    updateAnalysisActions();
  return SheetWindow::eventFilter(watched, event);
}

lp::LpRequest LpWindow::request(int variables, int constraints) const {
  lp::LpRequest request;
  request.variables = variables;
  request.constraints = constraints;
  request.sense = sense();
  request.decimal_separator = decimalSeparator();
  return request;
}

void LpWindow::sensitivityAnalysis() {
  if (!calculateButton_->isEnabled()) return;  // no sheet laid out yet
  // A click on 计算 commits an open editor by taking the focus; the menu
  // command and its shortcut leave the focus where it is.
  editing().closeEditors();
  if (integer::AnyWhole(variableTypeList())) {
    Platform::current().showMessage(this,
                                    QString::fromUtf8(integer::kSensitivityNotForIntegerMessage));
    return;
  }
  runCalculationCommand([this](int variables, int constraints) -> CalculationJob {
    const Sheet& sheet = grid_->sheet();
    return [request = request(variables, constraints), &sheet](Progress& progress) mutable {
      request.progress = &progress;
      return lp::CalculateSensitivity(request, sheet);
    };
  });
}

void LpWindow::simplexSteps() {
  if (!calculateButton_->isEnabled()) return;  // no sheet laid out yet
  // The menu command and its shortcut leave the focus in an open editor.
  editing().closeEditors();
  auto document = std::make_shared<std::optional<steps::StepsDocument>>();
  auto kept = std::make_shared<std::shared_ptr<const steps::KeptCalculation>>();
  runCalculationCommand([this, document, kept](int variables, int constraints) -> CalculationJob {
    const Sheet& sheet = grid_->sheet();
    return [request = request(variables, constraints), &sheet, document,
            kept](Progress& progress) mutable {
      request.progress = &progress;
      steps::StepsOutcome outcome = steps::CalculateSteps(std::move(request), sheet);
      *document = std::move(outcome.document);
      *kept = std::move(outcome.kept);
      // The calculation's messages are shown; the tables take its report's place.
      CalculationOutcome shown;
      shown.messages = std::move(outcome.calculation.messages);
      shown.stopped = outcome.calculation.stopped;
      return shown;
    };
  });
  if (*document) guarded([&] { showStepsWindow(this, std::move(**document), *kept); });
}

lp::Sense LpWindow::sense() const {
  return maximumOption_->isChecked() ? lp::Sense::Maximise : lp::Sense::Minimise;
}

SheetWindow::SheetFit LpWindow::fitSheet(const Sheet& sheet) const {
  const lp::LpSheetFit fit = lp::FitLpSheet(sheet);
  return {fit.mismatch, fit.variables, fit.constraints, fit.sense == lp::Sense::Maximise,
          fit.as_laid_out};
}

SheetWindow::SheetFit LpWindow::fitOtherKind(const Sheet& sheet) const {
  const goal::GoalSheetFit fit = goal::FitGoalSheet(sheet);
  return {fit.mismatch, fit.variables, fit.goals, false, fit.as_laid_out};
}

const char* LpWindow::senseCellText() const {
  return sense() == lp::Sense::Maximise ? lp::kMaximiseCell : lp::kMinimiseCell;
}

void LpWindow::writeSenseCell() {
  // The sense cell of a laid-out sheet: objective row, last column.
  if (calculateButton_->isEnabled() && grid_->rows() >= 2 && grid_->cols() >= 3)
    grid_->setText(1, grid_->cols() - 1, QString::fromUtf8(senseCellText()));
}

void LpWindow::prepareSheetForFile(Sheet& sheet) const {
  // The sense cell of the sheet as laid out: objective row, last column.
  if (sheet.rows() >= 2 && sheet.cols() >= 3) {
    sheet.SetCell(1, sheet.cols() - 1, senseCellText());
  }
}

void LpWindow::layOutSheet(int variables, int constraints) {
  const lp::Sense s = sense();
  grid_->modifySheet([&](Sheet& sheet) { lp::LayOutSheet(sheet, variables, constraints, s); });
}

void LpWindow::graphicalMethod() {
  if (!graphAction_->isEnabled()) return;
  // The menu command and its shortcut leave the focus in an open editor.
  editing().closeEditors();
  if (!countsMatchLayout()) return;
  guarded([this] {
    showGraphWindow(this, grid_->sheet(), ReadCount(variableCountBox_->text().toStdString()),
                    ReadCount(constraintCountBox_->text().toStdString()), sense(),
                    variableTypeList());
  });
}

void LpWindow::importModel() {
  editing().closeEditors();
  OpenFileRequest open;
  open.filter = modelOpenFilter();
  const QString chosen = Platform::current().chooseOpenFile(this, open);
  if (chosen.isEmpty()) return;
  guarded([this, &chosen] {
    const ImportedModel imported = importModelFile(chosen);
    const QString why = imported.error.isEmpty()
                            ? takeSheetFromElsewhere(imported.sheet, QStringLiteral("导入模型"),
                                                     imported.variable_types)
                            : imported.error;
    if (!why.isEmpty()) {
      Platform::current().showMessage(this, why);
      return;
    }
    for (const QString& notice : imported.notices) Platform::current().showMessage(this, notice);
  });
}

void LpWindow::exportModel() {
  editing().closeEditors();
  if (!calculateButton_->isEnabled()) {
    Platform::current().showMessage(this, QStringLiteral("表格还没有排好，请先按“确定”。"));
    return;
  }
  if (!countsMatchLayout()) return;
  const lp::LpIntake intake =
      lp::ReadLpSheet(grid_->sheet(), ReadCount(variableCountBox_->text().toStdString()),
                      ReadCount(constraintCountBox_->text().toStdString()), sense());
  if (intake.overflow) {
    Platform::current().showMessage(this,
                                    QString::fromStdString(OverflowMessage(*intake.overflow)));
    return;
  }
  QString filter;
  SaveFileRequest save;
  save.filter = modelSaveFilter();
  save.confirmOverwrite = true;
  save.hideFilterPatterns = false;
  save.chosenFilter = &filter;
  const QString typed = Platform::current().chooseSaveFile(this, save);
  if (typed.isEmpty()) return;
  const QString ending =
      filter.contains(QStringLiteral("*.mps")) ? QStringLiteral(".mps") : QStringLiteral(".lp");
  const QString path = QFileInfo(typed).suffix().isEmpty() ? typed + ending : typed;
  if (!mayReplaceCompletedName(this, typed, path)) return;
  guarded([this, &path, &intake] {
    const QString why = exportModelFile(path, intake.problem);
    if (!why.isEmpty()) {
      Platform::current().showMessage(
          this,
          QStringLiteral("无法导出模型文件“%1”：%2").arg(QDir::toNativeSeparators(path), why));
    }
  });
}

std::vector<integer::VariableType> LpWindow::variableTypeList() const {
  const int m = lpWindowDesign().layout.VariablesFromCols(grid_->cols());
  integer::VariableTypesRead read = integer::ReadVariableTypes(variableTypes(), m);
  if (!read.error.empty())
    read.types.assign(static_cast<std::size_t>(std::max(m, 0)), integer::VariableType::Continuous);
  return read.types;
}

void LpWindow::editVariableTypes() {
  if (!variableTypesAction_->isEnabled()) return;
  editing().closeEditors();
  guarded([this] {
    VariableTypesDialog dialog(variableTypeList(), this);
    Platform::current().runModal(&dialog);
    if (dialog.result() != QDialog::Accepted) return;
    const std::vector<integer::VariableType> types = dialog.types();
    // An all-continuous sheet keeps no record.
    setVariableTypes(
        integer::AnyWhole(types) ? integer::VariableTypeFields(types) : std::vector<std::string>{},
        QStringLiteral("变量类型"));
  });
}

CalculationJob LpWindow::prepareCalculation(int variables, int constraints) {
  const Sheet& sheet = grid_->sheet();
  // A types record the file brought that names no type is not taken for
  // continuous variables.
  const integer::VariableTypesRead read = integer::ReadVariableTypes(
      variableTypes(), lpWindowDesign().layout.VariablesFromCols(grid_->cols()));
  if (!read.error.empty()) {
    return [error = read.error](Progress&) {
      CalculationOutcome refused;
      refused.messages.push_back(error);
      return refused;
    };
  }
  std::vector<integer::VariableType> types = variableTypeList();
  if (integer::AnyWhole(types)) {
    integer::IntegerRequest request;
    request.lp = this->request(variables, constraints);
    request.types = std::move(types);
    return [request = std::move(request), &sheet](Progress& progress) mutable {
      request.lp.progress = &progress;
      return integer::SolveAndReport(
          request,
          lp::ReadLpSheet(sheet, request.lp.variables, request.lp.constraints, request.lp.sense));
    };
  }
  return [request = request(variables, constraints), &sheet](Progress& progress) mutable {
    request.progress = &progress;
    return lp::Calculate(request, sheet);
  };
}

}  // namespace orcalc::ui
