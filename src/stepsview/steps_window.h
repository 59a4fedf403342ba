// The window 单纯形表: the tables of one calculation, a step at a time,
// in fractions or decimals, with a list of every step, the export of the
// whole as an HTML page, a LaTeX fragment or CSV, and its print and PDF.
#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "printing/print_commands.h"
#include "steps/step_tableau.h"
#include "steps/steps_command.h"

class QLabel;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QTreeWidget;

namespace orcalc::ui {

class StepsTableModel;

class StepsWindow : public QDialog {
  Q_OBJECT

 public:
  // `kept`: what a document that leaves tables out was rebuilt from; the
  // list then shows every table, and one left out is rebuilt, with the
  // page of tables from it, when it is shown.
  explicit StepsWindow(steps::StepsDocument doc, QWidget* parent = nullptr,
                       std::shared_ptr<const steps::KeptCalculation> kept = nullptr);

  // The tables held: with tables left out, the page of them shown last.
  const steps::StepsDocument& document() const { return doc_; }
  const steps::StepTableau& currentTable() const { return doc_.tableaux[current_]; }
  // The place of the table shown in the list of steps.
  std::size_t currentStep() const;
  bool showsDecimals() const { return decimals_; }

  // 第一步, 上一步, 下一步, 最后一步, and a step of the list.
  void showStep(std::size_t index);
  void firstStep() { showStep(0); }
  void previousStep();
  void nextStep();
  void lastStep();
  // 分数 / 小数: the numbers as fractions, or in decimals.
  void setDecimals(bool decimals);
  // 导出…: the save dialog, then the tables in the format its filter or
  // the name's ending gives.
  void exportSteps();
  // 打印… (Ctrl+P), 打印预览…, 导出PDF…: every table, as the numbers are
  // shown (fractions or decimals), under the 打印 button.
  const PrintActions& printActions() const { return printActions_; }

  // 自己选主元: while on, a click on a cell of the table picks the pivot.
  void setExercise(bool on);
  // The user's pick on the current table (its row, a column of the
  // document): refused with the reason under the table, or made, the
  // user's table then following the current one.
  void pickPivot(int row, int column);
  // 提示: the method's own choice on the current table.
  void hint();

  StepsTableModel* model() const { return model_; }
  QLabel* exerciseLabel() const { return exerciseLabel_; }
  QPushButton* exerciseButton() const { return exerciseButton_; }
  QPushButton* hintButton() const { return hintButton_; }
  QTableView* tableView() const { return tableView_; }
  QTreeWidget* stepList() const { return stepList_; }
  QLabel* sentenceLabel() const { return sentenceLabel_; }
  QLabel* objectiveLabel() const { return objectiveLabel_; }
  QLabel* endingLabel() const { return endingLabel_; }
  QPushButton* firstButton() const { return firstButton_; }
  QPushButton* previousButton() const { return previousButton_; }
  QPushButton* nextButton() const { return nextButton_; }
  QPushButton* lastButton() const { return lastButton_; }
  QPushButton* exportButton() const { return exportButton_; }
  QPushButton* printButton() const { return printButton_; }
  QRadioButton* fractionsOption() const { return fractionsOption_; }
  QRadioButton* decimalsOption() const { return decimalsOption_; }

 private:
  void buildControls();
  QLayout* buildButtonRow();
  QWidget* buildTablePane();
  void fillStepList();
  // The list shows every table of the calculation, some of them left out
  // of the document held.
  bool paged() const;
  std::size_t stepCount() const;
  // Holds table `number` of the calculation, rebuilding its page when it
  // was left out; false when it cannot (it has said why, and holds the
  // table shown before again).
  bool holdTable(std::size_t number);
  // Replaces the document held by the page of tables from `first` on;
  // false when memory ran out (nothing replaced).
  bool replacePage(long first);
  // In the exercise, the method's pivots of the current table and the ones
  // after it are not shown (the user's own are).
  bool hidesPivot(std::size_t index) const;
  void fillTexts();
  void fitColumns();
  void pickCell(const QModelIndex& index);
  PrintSource printSource();
  // The tables as they are shown: in decimals when the user chose them.
  steps::StepsDocument shownDocument() const;

  steps::StepsDocument doc_;
  std::shared_ptr<const steps::KeptCalculation> kept_;
  // The notes on the whole calculation, but for the tables it lists.
  std::vector<std::string> whole_notes_;
  std::size_t current_ = 0;  // into doc_.tableaux
  bool decimals_ = false;
  QString saved_path_;
  PrintActions printActions_;
  bool exercise_ = false;
  // The calculation's own tables while the user's pivots replace them.
  std::optional<steps::StepsDocument> original_;
  // The first table where the user's pivot replaced the method's.
  std::size_t diverged_at_ = 0;

  StepsTableModel* model_ = nullptr;
  QTableView* tableView_ = nullptr;
  QTreeWidget* stepList_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* objectiveLabel_ = nullptr;
  QLabel* sentenceLabel_ = nullptr;
  QLabel* roundOffLabel_ = nullptr;
  QLabel* endingLabel_ = nullptr;
  QLabel* exerciseLabel_ = nullptr;
  QPlainTextEdit* legendBox_ = nullptr;
  QPushButton* firstButton_ = nullptr;
  QPushButton* previousButton_ = nullptr;
  QPushButton* nextButton_ = nullptr;
  QPushButton* lastButton_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* exerciseButton_ = nullptr;
  QPushButton* hintButton_ = nullptr;
  QRadioButton* fractionsOption_ = nullptr;
  QRadioButton* decimalsOption_ = nullptr;
};

// Shows the steps window over `owner`, modally; it goes when closed.
void showStepsWindow(QWidget* owner, steps::StepsDocument doc,
                     std::shared_ptr<const steps::KeptCalculation> kept = nullptr);

}  // namespace orcalc::ui
