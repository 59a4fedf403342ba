#include "app/form1.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "common/numeric_reading.h"
#include "graph/graph_window.h"
#include "lp/lp_sheet_file.h"
#include "lp/sensitivity_command.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"

namespace orcalc::ui {

const SheetWindowDesign& form1Design() {
  static const SheetWindowDesign design = [] {
    SheetWindowDesign d;
    d.caption = "线性规划计算程序";
    d.client_width = 10830;
    d.client_height = 8550;
    d.frame1 = {120, 0, 10695, 855};
    d.label2 = {120, 360, 735, 255};
    d.text2 = {720, 240, 615, 375};
    d.label1 = {1440, 360, 1095, 255};
    d.text1 = {2520, 240, 615, 390};
    d.has_sense = true;
    d.label3 = {3360, 360, 1095, 255};
    d.option1_1 = {4440, 240, 855, 375};
    d.option1_0 = {5280, 240, 855, 375};
    d.command1 = {6360, 240, 615, 375};
    d.command2 = {6960, 240, 615, 375};
    d.command3 = {7560, 240, 615, 375};
    d.command4 = {8160, 240, 975, 375};
    d.command5 = {9120, 240, 615, 375};
    d.command6 = {9720, 240, 615, 375};
    d.grid = {120, 840, 10695, 7335};
    d.sign_column_from_right = 2;
    d.sheet_kind = stats::SheetKind::LinearProgramming;
    return d;
  }();
  return design;
}

Form1::Form1(QWidget* parent) : SheetWindow(form1Design(), parent) {
  setObjectName(QStringLiteral("Form1"));
  QMenu* analysis = addMenu(QStringLiteral("分析(&A)"),
                            {{QStringLiteral("灵敏度分析"), [this] { sensitivityAnalysis(); },
                              QKeySequence(Qt::CTRL | Qt::Key_T)},
                             {QStringLiteral("图解法"), [this] { graphicalMethod(); },
                              QKeySequence(Qt::CTRL | Qt::Key_G)}});
  analysis->setObjectName(QStringLiteral("analysisMenu"));
  sensitivityAction_ = analysis->actions().value(0);
  graphAction_ = analysis->actions().value(1);
  Command2->installEventFilter(this);
  connect(Text2, &QLineEdit::textChanged, this, &Form1::updateAnalysisActions);
  updateAnalysisActions();
}

void Form1::updateAnalysisActions() {
  sensitivityAction_->setEnabled(Command2->isEnabled());
  graphAction_->setEnabled(graphMethodAvailable(Text2->text(), Command2->isEnabled()));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Command2 && event->type() == QEvent::EnabledChange) updateAnalysisActions();
  return SheetWindow::eventFilter(watched, event);
}

lp::LpRequest Form1::request(int variables, int constraints) const {
  lp::LpRequest request;
  request.variables = variables;
  request.constraints = constraints;
  request.sense = sense();
  request.decimal_separator = decimalSeparator();
  return request;
}

void Form1::sensitivityAnalysis() {
  if (!Command2->isEnabled()) return;  // no sheet laid out yet
  // A click on 计算 commits an open editor by taking the focus; the menu
  // command and its shortcut leave the focus where it is.
  editing().closeEditors();
  runCalculationCommand([this](int variables, int constraints) -> CalculationJob {
    const Sheet& sheet = MSFlexGrid1->sheet();
    return [request = request(variables, constraints), &sheet](Progress& progress) mutable {
      request.progress = &progress;
      return lp::CalculateSensitivity(request, sheet);
    };
  });
}

lp::Sense Form1::sense() const {
  return Option1[0]->isChecked() ? lp::Sense::Maximise : lp::Sense::Minimise;
}

SheetWindow::SheetFit Form1::fitSheet(const Sheet& sheet) const {
  const lp::LpSheetFit fit = lp::FitLpSheet(sheet);
  return {fit.mismatch, fit.variables, fit.constraints, fit.sense == lp::Sense::Maximise};
}

void Form1::prepareSheetForFile(Sheet& sheet) const {
  // The sense cell of the sheet as laid out: objective row, last column.
  if (sheet.rows() >= 2 && sheet.cols() >= 3) {
    sheet.SetCell(1, sheet.cols() - 1, sense() == lp::Sense::Maximise ? " Max " : " Min ");
  }
}

void Form1::layOutSheet(int variables, int constraints) {
  const lp::Sense s = sense();
  MSFlexGrid1->modifySheet(
      [&](Sheet& sheet) { lp::LayOutSheet(sheet, variables, constraints, s); });
}

void Form1::graphicalMethod() {
  if (!graphAction_->isEnabled()) return;
  // The menu command and its shortcut leave the focus in an open editor.
  guarded([this] {
    editing().closeEditors();
    showGraphWindow(this, MSFlexGrid1->sheet(), ReadCount(Text2->text().toStdString()),
                    ReadCount(Text1->text().toStdString()), sense());
  });
}

CalculationJob Form1::prepareCalculation(int variables, int constraints) {
  const Sheet& sheet = MSFlexGrid1->sheet();
  return [request = request(variables, constraints), &sheet](Progress& progress) mutable {
    request.progress = &progress;
    return lp::Calculate(request, sheet);
  };
}

}  // namespace orcalc::ui
