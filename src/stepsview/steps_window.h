// The window 单纯形表: the tables of one calculation, a step at a time,
// in fractions or decimals, with a list of every step and the export of
// the whole as an HTML page, a LaTeX fragment or CSV.
#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>

#include "steps/step_tableau.h"

class QLabel;
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
  explicit StepsWindow(steps::StepsDocument doc, QWidget* parent = nullptr);

  const steps::StepsDocument& document() const { return doc_; }
  std::size_t currentStep() const { return current_; }
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

  StepsTableModel* model() const { return model_; }
  QTableView* tableView() const { return tableView_; }
  QTreeWidget* stepList() const { return stepList_; }
  QLabel* sentenceLabel() const { return sentenceLabel_; }
  QPushButton* firstButton() const { return firstButton_; }
  QPushButton* previousButton() const { return previousButton_; }
  QPushButton* nextButton() const { return nextButton_; }
  QPushButton* lastButton() const { return lastButton_; }
  QPushButton* exportButton() const { return exportButton_; }
  QRadioButton* fractionsOption() const { return fractionsOption_; }
  QRadioButton* decimalsOption() const { return decimalsOption_; }

 private:
  void buildControls();
  QLayout* buildButtonRow();
  QWidget* buildTablePane();
  void fillStepList();
  void fillTexts();
  void fitColumns();

  steps::StepsDocument doc_;
  std::size_t current_ = 0;
  bool decimals_ = false;
  QString saved_path_;

  StepsTableModel* model_ = nullptr;
  QTableView* tableView_ = nullptr;
  QTreeWidget* stepList_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* objectiveLabel_ = nullptr;
  QLabel* sentenceLabel_ = nullptr;
  QLabel* roundOffLabel_ = nullptr;
  QLabel* endingLabel_ = nullptr;
  QPlainTextEdit* legendBox_ = nullptr;
  QPushButton* firstButton_ = nullptr;
  QPushButton* previousButton_ = nullptr;
  QPushButton* nextButton_ = nullptr;
  QPushButton* lastButton_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QRadioButton* fractionsOption_ = nullptr;
  QRadioButton* decimalsOption_ = nullptr;
};

// Shows the steps window over `owner`, modally; it goes when closed.
void showStepsWindow(QWidget* owner, steps::StepsDocument doc);

}  // namespace orcalc::ui
