// The linear-programming sheet window, the program's main window.
#pragma once

#include "app/sheet_window.h"
#include "lp/lp_commands.h"

namespace orcalc::ui {

class Form1 : public SheetWindow {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);

  // The sense chosen by the option buttons: 最大值 maximises, else minimise.
  lp::Sense sense() const;

 protected:
  SheetFit fitSheet(const Sheet& sheet) const override;
  // The sense cell records the option buttons' choice.
  void prepareSheetForFile(Sheet& sheet) const override;
  void layOutSheet(int variables, int constraints) override;
  CalculationOutcome runCalculation(int variables, int constraints) override;
};

const SheetWindowDesign& form1Design();

}  // namespace orcalc::ui
