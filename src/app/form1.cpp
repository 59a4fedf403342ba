#include "app/form1.h"

#include <QRadioButton>

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
}

lp::Sense Form1::sense() const {
  return Option1[0]->isChecked() ? lp::Sense::Maximise : lp::Sense::Minimise;
}

void Form1::layOutSheet(int variables, int constraints) {
  const lp::Sense s = sense();
  MSFlexGrid1->modifySheet(
      [&](Sheet& sheet) { lp::LayOutSheet(sheet, variables, constraints, s); });
}

CalculationJob Form1::prepareCalculation(int variables, int constraints) {
  lp::LpRequest request;
  request.variables = variables;
  request.constraints = constraints;
  request.sense = sense();
  request.decimal_separator = decimalSeparator();
  const Sheet& sheet = MSFlexGrid1->sheet();
  return [request, &sheet](Progress& progress) mutable {
    request.progress = &progress;
    return lp::Calculate(request, sheet);
  };
}

}  // namespace orcalc::ui
