// The goal-programming sheet window, opened modally from LpWindow.
#pragma once

#include "app/sheet_window.h"
#include "goal/goal_commands.h"

namespace orcalc::ui {

class GoalWindow : public SheetWindow {
  Q_OBJECT

 public:
  explicit GoalWindow(QWidget* parent = nullptr);

 protected:
  SheetFit fitSheet(const Sheet& sheet) const override;
  SheetFit fitOtherKind(const Sheet& sheet) const override;
  // The constraint-count box counts the goals (M), the variable-count box
  // the variables (N).
  void layOutSheet(int variables, int goals) override;
  CalculationJob prepareCalculation(int variables, int goals) override;

 private:
  goal::GoalRequest request(int variables, int goals) const;
  // 分析 → 单纯形表…: the calculation as 计算 runs it, then its tables.
  void simplexSteps();
};

const SheetWindowDesign& goalWindowDesign();

}  // namespace orcalc::ui
