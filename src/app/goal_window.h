// The goal-programming sheet window, opened modally from LpWindow.
#pragma once

#include "app/sheet_window.h"

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
};

const SheetWindowDesign& goalWindowDesign();

}  // namespace orcalc::ui
