// The shell shared by the two sheet windows: a panel of count boxes and
// buttons across the top, the coefficient grid below, the two floating cell
// editors, and the commands. The linear-programming window (Form1) and the
// goal-programming window (Form3) differ only by their design and by what
// OK, Calculate and the statistics do with the sheet.
#pragma once

#include <QDialog>
#include <QRect>
#include <functional>
#include <string>

#include "app/calculation_runner.h"
#include "common/calculation.h"
#include "stats/stats_command.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orcalc::ui {

class CellEditing;
class SheetGrid;

// Positions and sizes in twips (left, top, width, height); the controls of
// the panel are placed relative to the panel.
struct SheetWindowDesign {
  const char* caption = "";
  int client_width = 0;
  int client_height = 0;
  QRect frame1;
  QRect label2, text2, label1, text1;
  // The objective sense and the goal-programming button (Form1 only).
  bool has_sense = false;
  QRect label3, option1_1, option1_0, command4;
  QRect command1, command2, command3, command5, command6;
  QRect grid;
  // The sign column is this many columns from the right: 2 on the
  // linear-programming sheet, 6 on the goal-programming sheet.
  int sign_column_from_right = 2;
  stats::SheetKind sheet_kind = stats::SheetKind::LinearProgramming;
};

class SheetWindow : public QDialog {
  Q_OBJECT

 public:
  SheetWindow(const SheetWindowDesign& design, QWidget* parent);
  ~SheetWindow() override;

  // Controls, named as in the window's design. Label3, Option1 and Command4
  // are null on the goal-programming window.
  QGroupBox* Frame1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* Text1 = nullptr;                     // constraints or goals
  QLineEdit* Text2 = nullptr;                     // variables
  QRadioButton* Option1[2] = {nullptr, nullptr};  // 0 最大值, 1 最小值
  QPushButton* Command1 = nullptr;                // 确定
  QPushButton* Command2 = nullptr;                // 计算
  QPushButton* Command3 = nullptr;                // 统计
  QPushButton* Command4 = nullptr;                // 目标规划
  QPushButton* Command5 = nullptr;                // 关于
  QPushButton* Command6 = nullptr;                // 退出
  SheetGrid* MSFlexGrid1 = nullptr;
  QLineEdit* Text8 = nullptr;
  QComboBox* Combo3 = nullptr;

  CellEditing& editing() const { return *editing_; }

  // The commands, as their buttons run them.
  void ok();
  void calculate();
  void statistics();
  void openGoalProgramming();
  void about();

  // The decimal separator of the user's regional settings, for the reports.
  static std::string decimalSeparator();

 protected:
  // OK: lay the sheet out for the counts read from the boxes.
  virtual void layOutSheet(int variables, int constraints) = 0;
  // Calculate with the counts read from the boxes now: everything the
  // calculation needs from the window is read here, on this thread; the job
  // returned runs on a worker thread and reads only the sheet, which cannot
  // change meanwhile.
  virtual CalculationJob prepareCalculation(int variables, int constraints) = 0;

  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void load();
  void applyResizeRule();
  // Runs one command; running out of memory ends it with a message and
  // leaves the sheet and the program as they were.
  void guarded(const std::function<void()>& command);
  // The messages one by one, then the report in the results window.
  void present(const CalculationOutcome& outcome);

  const SheetWindowDesign design_;
  CellEditing* editing_ = nullptr;
};

// The text of the message shown when a command runs out of memory.
extern const char* const kOutOfMemoryMessage;

}  // namespace orcalc::ui
