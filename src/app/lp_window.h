// The linear-programming sheet window, the program's main window.
#pragma once

#include <vector>

#include "app/sheet_window.h"
#include "integer/variable_types.h"
#include "lp/lp_commands.h"

class QAction;

namespace orcalc::ui {

class LpWindow : public SheetWindow {
  Q_OBJECT

 public:
  explicit LpWindow(QWidget* parent = nullptr);

  // The sense chosen by the option buttons: 最大值 maximises, else minimise.
  lp::Sense sense() const;

  // 分析 → 灵敏度分析: the calculation as 计算 runs it, then the sensitivity
  // report in the results window when the optimum was found without a message.
  void sensitivityAnalysis();
  // 分析 → 图解法: the picture of a two-variable problem as the intake reads it.
  void graphicalMethod();
  // 分析 → 单纯形表…: the calculation as 计算 runs it (its messages first),
  // then its tables in the steps window.
  void simplexSteps();
  // 分析 → 变量类型…: each variable's type in a dialog; a change is one undo
  // step and belongs to the sheet.
  void editVariableTypes();
  // The types of the laid-out sheet's variables (all continuous when the
  // sheet keeps none).
  std::vector<integer::VariableType> variableTypeList() const;
  // 目标规划: a fresh goal-programming window each time, modal over this one.
  void openGoalProgramming();
  // 文件 → 导入模型…: an MPS or CPLEX LP model as the sheet a user would type
  // for it, laid out as one undo step (a sheet of no file, saved as any).
  void importModel();
  // 文件 → 导出模型…: the problem as 计算 reads it, as CPLEX LP or MPS.
  void exportModel();

 protected:
  SheetFit fitSheet(const Sheet& sheet) const override;
  SheetFit fitOtherKind(const Sheet& sheet) const override;
  // " Max " or " Min ", as the option buttons say; written into the grid.
  const char* senseCellText() const;
  void writeSenseCell();
  // The sense cell records the option buttons' choice.
  void prepareSheetForFile(Sheet& sheet) const override;
  void layOutSheet(int variables, int constraints) override;
  CalculationJob prepareCalculation(int variables, int constraints) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  lp::LpRequest request(int variables, int constraints) const;

  // Enables the 分析 menu's actions: 灵敏度分析 and 单纯形表… exactly when 计算 is,
  // 图解法 when the variable count is 2 and a sheet is laid out.
  void updateAnalysisActions();

  QAction* sensitivityAction_ = nullptr;
  QAction* graphAction_ = nullptr;
  QAction* stepsAction_ = nullptr;
  QAction* variableTypesAction_ = nullptr;
};

const SheetWindowDesign& lpWindowDesign();

}  // namespace orcalc::ui
