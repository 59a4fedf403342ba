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
  void layOutSheet(int variables, int constraints) override;
  CalculationJob prepareCalculation(int variables, int constraints) override;
};

const SheetWindowDesign& form1Design();

}  // namespace orcalc::ui
