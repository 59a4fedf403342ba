// The two sheet windows: start-up state, count boxes, OK, Calculate,
// statistics, the goal-programming window, closing and resizing.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>
#include <new>

#include "app/form1.h"
#include "app/form3.h"
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"
#include "results/form2.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "sheet/twips.h"
#include "stats/stats_command.h"
#include "support/recording_platform.h"

using namespace orcalc;
using namespace orcalc::ui;
using orcalc::ui::testing::RecordingPlatform;

namespace {

QRect twips(const QWidget* w) {
  return QRect(pixelsToTwipsX(w->x(), w), pixelsToTwipsY(w->y(), w), pixelsToTwipsX(w->width(), w),
               pixelsToTwipsY(w->height(), w));
}

// What the results window showed, captured while it is open.
struct Shown {
  QString title;
  QString label;
  std::string text;
  qsizetype messages_before = -1;  // message boxes shown before it opened
};

// Answers the modal windows: results windows are recorded and closed.
void recordResults(RecordingPlatform& platform, QList<Shown>& shown) {
  platform.onModal = [&platform, &shown](QDialog* dialog) {
    if (auto* form = qobject_cast<Form2*>(dialog)) {
      shown << Shown{form->windowTitle(), form->Label1->text(), form->reportBytes().toStdString(),
                     platform.messages.size()};
    }
  };
}

void setCells(SheetGrid* grid, const QList<QList<QString>>& rows, int first_row = 1) {
  for (int r = 0; r < rows.size(); ++r) {
    for (int c = 0; c < rows[r].size(); ++c) grid->setText(first_row + r, c + 1, rows[r][c]);
  }
}

std::unique_ptr<SheetWindow> newWindow(bool goal) {
  if (goal) return std::make_unique<Form3>();
  return std::make_unique<Form1>();
}

void showAndActivate(QWidget* window) {
  window->show();
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
}

// Maximise 3χ1 + 2χ2 under χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6.
void enterExample(Form1& form) {
  form.Text2->setText("2");
  form.Text1->setText("2");
  form.Option1[0]->setChecked(true);
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  setCells(form.MSFlexGrid1, {{"3", "2"}, {"1", "1", " ≤ ", "4"}, {"1", "3", " ≤ ", "6"}});
}

const char* const kExampleReport =
    "---------线性规划计算结果---------\r\n"
    "变量数m=2\r\n"
    "约束方程数n=2\r\n"
    "目标函数去极大值：p=1\r\n"
    "----------------------------------\r\n"
    "\r\n"
    "目标函数为:\r\n"
    " Max z = 3χ1 + 2χ2 \r\n"
    "\r\n"
    "\r\n"
    "约束方程如下:\r\n"
    "1*χ1 +  1*χ2 ≤  4\r\n"
    "1*χ1 +  3*χ2 ≤  6\r\n"
    "\r\n"
    "\r\n"
    "目标函数值 S = 12\r\n"
    "\r\n"
    "各变量最优解如下:\r\n"
    "χ1 =  4\r\n"
    "χ2 =  0\r\n";

const char* const kNoColumnMessage = "您没有选择要统计数据的列！请在要统计的数据列上单击后再统计！";

// A Form1 whose calculation is replaced, to see what surrounds it.
class ProbedForm1 : public Form1 {
 public:
  std::function<CalculationOutcome()> probe;

 protected:
  CalculationOutcome runCalculation(int variables, int constraints) override {
    return probe ? probe() : Form1::runCalculation(variables, constraints);
  }
};

}  // namespace

class SheetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpState_data();
  void startUpState();
  void controlsSitWhereDesigned_data();
  void controlsSitWhereDesigned();
  void gridHasTheFocusWhenTheWindowOpens();

  void countBoxTakesOnlyDigitsAndBackspace();
  void countBoxKeepsOnlyDigitsOfPastedDroppedAndComposedText();
  void countBoxCapsAt500OnFocusLoss();
  void countsAreReadWithinRangeEvenBeforeFocusLoss();

  void okLaysOutTheSheetAndEnablesCalculate();
  void okRebuildKeepsTextsAndCommitsAnOpenEditor();

  void calculateShowsExactlyTheCoreReport();
  void contradictoryConstraintsShowTheMessageOnceThenTheReport();
  void calculateReadsCountsNowAndCellsBeyondTheSheetAsEmpty();
  void overflowingCellShowsOnlyItsMessage();
  void runningOutOfMemoryLeavesWindowAndSheetUsable();

  void statisticsNeedAClickedColumn();
  void statisticsOfTheClickedColumnOnBothSheets();

  void goalWindowOpensFreshAndModalEachTime();
  void goalWindowLaysOutAndCalculates();
  void aboutOpensModally();
  void resizeRule_data();
  void resizeRule();

  void enterPressesOnlyTheFocusedButtonAndEscapeNeverCloses();
  void exitClosesTheMainWindow();
};

// ---------------------------------------------------------------- start-up

void SheetWindowTest::startUpState_data() {
  QTest::addColumn<bool>("goal");
  QTest::newRow("Form1") << false;
  QTest::newRow("Form3") << true;
}

void SheetWindowTest::startUpState() {
  QFETCH(bool, goal);
  std::unique_ptr<SheetWindow> form = newWindow(goal);
  QCOMPARE(form->windowTitle(),
           goal ? QStringLiteral("目标规划计算程序") : QStringLiteral("线性规划计算程序"));
  QCOMPARE(form->Text2->text(), QStringLiteral("5"));
  QCOMPARE(form->Text1->text(), QStringLiteral("6"));
  QVERIFY(!form->Command2->isEnabled());
  QCOMPARE(form->MSFlexGrid1->rows(), 2);
  QCOMPARE(form->MSFlexGrid1->cols(), 2);
  QCOMPARE(form->editing().gRow(), 0);
  QCOMPARE(form->editing().gCol(), 0);
  QVERIFY(form->Text8->isHidden());
  QVERIFY(form->Combo3->isHidden());
  QCOMPARE(form->Combo3->count(), 3);
  QCOMPARE(form->Combo3->itemText(0), QStringLiteral(" ≥ "));
  QCOMPARE(form->Combo3->itemText(1), QStringLiteral(" ≤ "));
  QCOMPARE(form->Combo3->itemText(2), QStringLiteral(" ═ "));
  QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  QVERIFY(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  QCOMPARE(form->size(), QSize(twipsToPixelsX(goal ? 10950 : 10830, form.get()),
                               twipsToPixelsY(goal ? 8715 : 8550, form.get())));
  if (goal) {
    QVERIFY(!form->Label3 && !form->Option1[0] && !form->Option1[1] && !form->Command4);
    QVERIFY(!form->findChild<QRadioButton*>());
  } else {
    QVERIFY(form->Option1[1]->isChecked());
    QVERIFY(!form->Option1[0]->isChecked());
    QCOMPARE(form->Command4->text(), QStringLiteral("目标规划"));
    QCOMPARE(static_cast<Form1*>(form.get())->sense(), lp::Sense::Minimise);
    form->Option1[0]->click();
    QVERIFY(!form->Option1[1]->isChecked());
    QCOMPARE(static_cast<Form1*>(form.get())->sense(), lp::Sense::Maximise);
  }
}

void SheetWindowTest::controlsSitWhereDesigned_data() {
  QTest::addColumn<bool>("goal");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("place");
  // The panel and grid in the window; a count box and the last button in
  // the panel, relative to it.
  QTest::newRow("Form1 Frame1") << false << "Frame1" << QRect(120, 0, 10695, 855);
  QTest::newRow("Form1 grid") << false << "MSFlexGrid1" << QRect(120, 840, 10695, 7335);
  QTest::newRow("Form1 Text1") << false << "Text1" << QRect(2520, 240, 615, 390);
  QTest::newRow("Form1 Command6") << false << "Command6" << QRect(9720, 240, 615, 375);
  QTest::newRow("Form3 Frame1") << true << "Frame1" << QRect(120, 0, 10815, 855);
  QTest::newRow("Form3 grid") << true << "MSFlexGrid1" << QRect(120, 840, 10815, 7815);
  QTest::newRow("Form3 Text1") << true << "Text1" << QRect(2640, 240, 615, 390);
  QTest::newRow("Form3 Command6") << true << "Command6" << QRect(9480, 240, 615, 375);
}

void SheetWindowTest::controlsSitWhereDesigned() {
  QFETCH(bool, goal);
  QFETCH(QString, name);
  QFETCH(QRect, place);
  std::unique_ptr<SheetWindow> form = newWindow(goal);
  // As designed, before any resize rule has run.
  auto* control = form->findChild<QWidget*>(name);
  QVERIFY(control);
  QCOMPARE(twips(control), place);
  const bool in_panel = name != "Frame1" && name != "MSFlexGrid1";
  QCOMPARE(control->parentWidget(), in_panel ? static_cast<QWidget*>(form->Frame1) : form.get());
}

void SheetWindowTest::gridHasTheFocusWhenTheWindowOpens() {
  Form1 form;
  showAndActivate(&form);
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.MSFlexGrid1));
  // Tab leaves the grid for the count boxes.
  QTest::keyClick(form.MSFlexGrid1, Qt::Key_Tab);
  QVERIFY(QApplication::focusWidget() != form.MSFlexGrid1);
}

// -------------------------------------------------------------- count boxes

void SheetWindowTest::countBoxTakesOnlyDigitsAndBackspace() {
  RecordingPlatform platform;
  Form1 form;
  showAndActivate(&form);
  for (QLineEdit* box : {form.Text1, form.Text2}) {
    box->setFocus();
    box->clear();
    platform.beeps = 0;
    QTest::keyClicks(box, "12a");
    QCOMPARE(box->text(), QStringLiteral("12"));
    QCOMPARE(platform.beeps, 1);
    // Enter, minus, point, blank, comma, Escape: each beeps, none enters.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Minus, Qt::Key_Period, Qt::Key_Space,
                        Qt::Key_Comma, Qt::Key_Escape}) {
      QTest::keyClick(box, key);
    }
    QTest::keyClicks(box, "-. ");
    QCOMPARE(platform.beeps, 1 + 7 + 3);
    QCOMPARE(box->text(), QStringLiteral("12"));
    // Backspace works without a beep, as do the editing keys.
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, '9');
    QCOMPARE(box->text(), QStringLiteral("91"));
    QCOMPARE(platform.beeps, 11);
  }
  // Enter pressed no button and laid nothing out.
  QVERIFY(!form.Command2->isEnabled());
  QCOMPARE(form.MSFlexGrid1->cols(), 2);
  QVERIFY(form.isVisible());
  QCOMPARE(platform.modalCount, 0);
}

void SheetWindowTest::countBoxKeepsOnlyDigitsOfPastedDroppedAndComposedText() {
  RecordingPlatform platform;
  Form3 form;
  QLineEdit* box = form.Text2;
  box->clear();
  QApplication::clipboard()->setText(QStringLiteral("a1 -2.5x３"));
  box->paste();
  QCOMPARE(box->text(), QStringLiteral("125"));
  box->insert(QStringLiteral("七7"));
  QCOMPARE(box->text(), QStringLiteral("1257"));
  // An input method commits text of its own.
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("４0二"));
  QApplication::sendEvent(box, &commit);
  QCOMPARE(box->text(), QStringLiteral("12570"));
  // Text set by the program meets the same rule.
  box->setText(QStringLiteral("1e3"));
  QCOMPARE(box->text(), QStringLiteral("13"));
  QCOMPARE(platform.beeps, 0);
}

void SheetWindowTest::countBoxCapsAt500OnFocusLoss() {
  RecordingPlatform platform;
  Form1 form;
  showAndActivate(&form);
  const QList<QPair<QString, QString>> cases = {
      {"600", "500"}, {"500", "500"}, {"501", "500"},  {"", ""},
      {"0", "0"},     {"007", "007"}, {"0600", "500"}, {QString(400, '9'), "500"}};
  for (QLineEdit* box : {form.Text1, form.Text2}) {
    for (const auto& [typed, kept] : cases) {
      box->setFocus();
      QTRY_VERIFY(box->hasFocus());
      box->setText(typed);
      form.MSFlexGrid1->setFocus();
      QTRY_VERIFY(!box->hasFocus());
      QCOMPARE(box->text(), kept);
    }
  }
  QCOMPARE(platform.messages, QStringList());
  QCOMPARE(platform.beeps, 0);
}

void SheetWindowTest::countsAreReadWithinRangeEvenBeforeFocusLoss() {
  Form1 form;
  form.Text2->setText("600");
  form.Text1->setText("99999");
  form.ok();
  QCOMPARE(form.MSFlexGrid1->cols(), 503);
  QCOMPARE(form.MSFlexGrid1->rows(), 502);
  form.Text2->setText("");
  form.Text1->setText("");
  form.ok();
  QCOMPARE(form.MSFlexGrid1->cols(), 3);
  QCOMPARE(form.MSFlexGrid1->rows(), 2);
}

// ----------------------------------------------------------------------- OK

void SheetWindowTest::okLaysOutTheSheetAndEnablesCalculate() {
  Form1 form;
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  SheetGrid* grid = form.MSFlexGrid1;
  QCOMPARE(grid->rows(), 8);
  QCOMPARE(grid->cols(), 8);
  QCOMPARE(grid->text(0, 1), QStringLiteral("χ1 系数"));
  QCOMPARE(grid->text(0, 6), QStringLiteral("约束符号"));
  QCOMPARE(grid->text(0, 7), QStringLiteral("常数项"));
  QCOMPARE(grid->text(1, 0), QStringLiteral("目标函数系数"));
  QCOMPARE(grid->text(7, 0), QStringLiteral("约束方程6"));
  QCOMPARE(grid->text(1, 6), QStringLiteral(" ═ "));
  QCOMPARE(grid->text(1, 7), QStringLiteral(" Min "));
  QCOMPARE(grid->text(0, 0), QString());
  QCOMPARE(grid->sheet().ColumnWidth(0), 1700);
  QCOMPARE(grid->columnWidth(0), twipsToPixelsX(1700, grid));
  QVERIFY(form.Command2->isEnabled());

  // The sense shows in the sheet as chosen at the time of OK.
  form.Option1[0]->click();
  form.ok();
  QCOMPARE(grid->text(1, 7), QStringLiteral(" Max "));
  // Nothing disables Calculate again.
  form.Text1->setText("0");
  QVERIFY(form.Command2->isEnabled());
}

void SheetWindowTest::okRebuildKeepsTextsAndCommitsAnOpenEditor() {
  Form1 form;
  showAndActivate(&form);
  form.ok();  // 5 variables, 6 constraints
  SheetGrid* grid = form.MSFlexGrid1;
  grid->setText(2, 1, "7");
  grid->setText(2, 5, "kept");
  grid->setText(3, 7, "12");

  // Type "." into cell (3, 2): the editor opens with it, OK commits it.
  grid->setFocus();
  grid->setCurrentCell(3, 2);
  QTest::keyClick(grid, '.');
  QTRY_VERIFY(form.Text8->isVisible());
  QTRY_COMPARE(form.Text8->text(), QStringLiteral("."));
  form.Text2->setText("3");
  form.Text1->setText("2");
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  QVERIFY(form.Text8->isHidden());
  QCOMPARE(grid->text(3, 2), QStringLiteral("0."));
  QCOMPARE(grid->cols(), 6);
  QCOMPARE(grid->rows(), 4);
  QCOMPARE(grid->text(2, 1), QStringLiteral("7"));
  // Old cells under the new sign and constant columns keep their texts;
  // only the headers there are rewritten.
  QCOMPARE(grid->text(0, 4), QStringLiteral("约束符号"));
  QCOMPARE(grid->text(0, 5), QStringLiteral("常数项"));
  QCOMPARE(grid->text(2, 5), QStringLiteral("kept"));

  // Growing again brings back empty cells, not the dropped texts.
  form.Text2->setText("5");
  form.Text1->setText("6");
  form.ok();
  QCOMPARE(grid->text(3, 7), QString());
  QCOMPARE(grid->text(2, 1), QStringLiteral("7"));
  QCOMPARE(grid->sheet().ColumnWidth(0), 1700);
}

// ---------------------------------------------------------------- Calculate

void SheetWindowTest::calculateShowsExactlyTheCoreReport() {
  RecordingPlatform platform;
  QList<Shown> shown;
  recordResults(platform, shown);
  Form1 form;
  enterExample(form);
  QTest::mouseClick(form.Command2, Qt::LeftButton);
  QCOMPARE(platform.messages, QStringList());
  QCOMPARE(shown.size(), 1);
  QCOMPARE(shown[0].title, QStringLiteral("线性规划计算结果"));
  QCOMPARE(shown[0].label, QStringLiteral("线性规划计算结果"));
  QCOMPARE(shown[0].text, std::string(kExampleReport));

  // The same again on a minimising run: whatever the core writes, byte for
  // byte, and the sheet is unchanged by calculating.
  const Sheet before = form.MSFlexGrid1->sheet();
  form.Option1[1]->click();
  form.calculate();
  QCOMPARE(shown.size(), 2);
  lp::LpRequest request;
  request.variables = 2;
  request.constraints = 2;
  request.sense = lp::Sense::Minimise;
  const CalculationOutcome expected = lp::Calculate(request, before);
  QVERIFY(expected.report.has_value());
  QCOMPARE(shown[1].text, *expected.report);
  QVERIFY(form.MSFlexGrid1->sheet() == before);
  QVERIFY(QApplication::overrideCursor() == nullptr);
}

void SheetWindowTest::contradictoryConstraintsShowTheMessageOnceThenTheReport() {
  RecordingPlatform platform;
  QList<Shown> shown;
  recordResults(platform, shown);
  Form1 form;
  form.Text2->setText("1");
  form.Text1->setText("2");
  form.Option1[0]->click();
  form.ok();
  // χ1 ≤ 1 and χ1 ≥ 2.
  setCells(form.MSFlexGrid1, {{"1"}, {"1", " ≤ ", "1"}, {"1", " ≥ ", "2"}});
  form.calculate();
  QCOMPARE(platform.messages, QStringList{QStringLiteral("无最优解！")});
  QCOMPARE(shown.size(), 1);
  QCOMPARE(shown[0].messages_before, 1);  // the message came first
  QVERIFY(QString::fromStdString(shown[0].text).startsWith("---------线性规划计算结果"));
}

void SheetWindowTest::calculateReadsCountsNowAndCellsBeyondTheSheetAsEmpty() {
  RecordingPlatform platform;
  QList<Shown> shown;
  recordResults(platform, shown);
  Form1 form;
  enterExample(form);
  const Sheet sheet = form.MSFlexGrid1->sheet();
  // Larger counts than the sheet laid out, typed after OK.
  form.Text2->setText("4");
  form.Text1->setText("3");
  form.calculate();
  QCOMPARE(shown.size(), 1);
  lp::LpRequest request;
  request.variables = 4;
  request.constraints = 3;
  request.sense = lp::Sense::Maximise;
  Sheet padded = sheet;
  padded.Resize(5, 7);  // the missing cells, empty
  const CalculationOutcome expected = lp::Calculate(request, padded);
  QVERIFY(expected.report.has_value());
  QCOMPARE(shown[0].text, *expected.report);
  QVERIFY(shown[0].text.find("变量数m=4\r\n约束方程数n=3\r\n") != std::string::npos);
  QStringList expected_messages;
  for (const std::string& m : expected.messages) expected_messages << QString::fromStdString(m);
  QCOMPARE(platform.messages, expected_messages);
  QVERIFY(form.MSFlexGrid1->sheet() == sheet);
}

void SheetWindowTest::overflowingCellShowsOnlyItsMessage() {
  RecordingPlatform platform;
  Form1 form;
  enterExample(form);
  form.MSFlexGrid1->setText(3, 2, "1e400");
  form.calculate();
  QCOMPARE(platform.messages, QStringList{QString::fromStdString(OverflowMessage(3, 2))});
  QCOMPARE(platform.modalCount, 0);
}

void SheetWindowTest::runningOutOfMemoryLeavesWindowAndSheetUsable() {
  RecordingPlatform platform;
  QList<Shown> shown;
  recordResults(platform, shown);
  ProbedForm1 form;
  enterExample(form);
  const Sheet sheet = form.MSFlexGrid1->sheet();
  bool busy = false;
  form.probe = [&]() -> CalculationOutcome {
    busy =
        QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    throw std::bad_alloc();
  };
  form.calculate();
  QVERIFY(busy);  // the busy cursor while computing
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(platform.messages, QStringList{QString::fromUtf8(kOutOfMemoryMessage)});
  QCOMPARE(shown.size(), 0);
  QVERIFY(form.MSFlexGrid1->sheet() == sheet);
  // The next calculation runs normally.
  form.probe = nullptr;
  form.calculate();
  QCOMPARE(shown.size(), 1);
  QCOMPARE(shown[0].text, std::string(kExampleReport));
}

// --------------------------------------------------------------- statistics

void SheetWindowTest::statisticsNeedAClickedColumn() {
  RecordingPlatform platform;
  for (bool goal : {false, true}) {
    std::unique_ptr<SheetWindow> form = newWindow(goal);
    form->ok();
    platform.messages.clear();
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    QCOMPARE(platform.messages, QStringList{QString::fromUtf8(kNoColumnMessage)});
    QCOMPARE(platform.modalCount, 0);
  }
}

void SheetWindowTest::statisticsOfTheClickedColumnOnBothSheets() {
  RecordingPlatform platform;
  QList<Shown> shown;
  recordResults(platform, shown);
  for (bool goal : {false, true}) {
    std::unique_ptr<SheetWindow> form = newWindow(goal);
    showAndActivate(form.get());
    form->Text2->setText("3");
    form->Text1->setText("4");
    form->ok();
    SheetGrid* grid = form->MSFlexGrid1;
    // Column 2 holds the samples; the objective row of the linear sheet
    // holds a decoy that must not be read.
    const int first = goal ? 1 : 2;
    if (!goal) grid->setText(1, 2, "1000");
    const QStringList samples = {"3", "1", "4", "1"};
    for (int i = 0; i < samples.size(); ++i) grid->setText(first + i, 2, samples[i]);
    grid->setText(first, 1, "99");  // a neighbouring column
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(first + 1, 2).center());
    QTRY_COMPARE(form->editing().gCol(), 2);
    QTest::mouseClick(form->Command3, Qt::LeftButton);

    QCOMPARE(shown.size(), goal ? 2 : 1);
    const Shown& result = shown.last();
    QCOMPARE(result.title, QStringLiteral("统计结果"));
    QCOMPARE(result.label, QStringLiteral("统计结果"));
    stats::StatsRequest request;
    request.column = 2;
    request.count = 4;
    request.kind = goal ? stats::SheetKind::GoalProgramming : stats::SheetKind::LinearProgramming;
    const CalculationOutcome expected = stats::Calculate(request, grid->sheet());
    QVERIFY(expected.report.has_value());
    QCOMPARE(result.text, *expected.report);
    QVERIFY(result.text.find("平均值=2.25\r\n") != std::string::npos);
    QVERIFY(result.text.find("最大值=4\r\n") != std::string::npos);
  }
}

// ------------------------------------------------- goal window, about, exit

void SheetWindowTest::goalWindowOpensFreshAndModalEachTime() {
  RecordingPlatform platform;
  Form1 form;
  QList<QPointer<Form3>> opened;
  platform.onModal = [&](QDialog* dialog) {
    auto* goal = qobject_cast<Form3*>(dialog);
    QVERIFY(goal);
    opened << goal;
    QVERIFY(goal->isModal());
    QCOMPARE(goal->parentWidget(), &form);
    QVERIFY(!goal->Command2->isEnabled());
    QCOMPARE(goal->MSFlexGrid1->rows(), 2);
    QCOMPARE(goal->MSFlexGrid1->cols(), 2);
    QCOMPARE(goal->Text1->text(), QStringLiteral("6"));
    QCOMPARE(goal->Combo3->count(), 3);
    // Change everything, then leave by 退出.
    goal->Text1->setText("9");
    goal->ok();
    goal->MSFlexGrid1->setText(1, 1, "5");
    QTest::mouseClick(goal->Command6, Qt::LeftButton);
    QVERIFY(!goal->isVisible());
  };
  QTest::mouseClick(form.Command4, Qt::LeftButton);
  QTest::mouseClick(form.Command4, Qt::LeftButton);
  QCOMPARE(platform.modalCount, 2);
  QCOMPARE(opened.size(), 2);
  // Each one is discarded when it closes.
  QVERIFY(opened[0].isNull() && opened[1].isNull());
  QVERIFY(!form.Command2->isEnabled());
}

void SheetWindowTest::goalWindowLaysOutAndCalculates() {
  RecordingPlatform platform;
  QList<Shown> shown;
  recordResults(platform, shown);
  Form3 form;
  form.Text1->setText("2");  // goals
  form.Text2->setText("3");  // variables
  form.ok();
  SheetGrid* grid = form.MSFlexGrid1;
  QCOMPARE(grid->rows(), 3);
  QCOMPARE(grid->cols(), 10);
  QCOMPARE(grid->text(2, 0), QStringLiteral("约束方程2"));
  QCOMPARE(grid->text(0, 3), QStringLiteral("χ3 系数"));
  QCOMPARE(grid->text(0, 9), QStringLiteral("正偏差优先等级"));
  QVERIFY(form.Command2->isEnabled());

  setCells(grid, {{"2", "5", "1", "", "18", "1.5", "1", "3", "1"},
                  {"5", "0", "5", "", "6", "2.5", "1", "1", "3"}});
  const Sheet sheet = grid->sheet();
  form.calculate();
  goal::GoalRequest request;
  request.goals = 2;
  request.variables = 3;
  const CalculationOutcome expected = goal::Calculate(request, sheet);
  QVERIFY(expected.report.has_value());
  QCOMPARE(shown.size(), 1);
  QCOMPARE(shown[0].title, QStringLiteral("目标规划计算结果"));
  QCOMPARE(shown[0].label, QStringLiteral("目标规划计算结果"));
  QCOMPARE(shown[0].text, *expected.report);
  QCOMPARE(qsizetype(expected.messages.size()), platform.messages.size());
}

void SheetWindowTest::aboutOpensModally() {
  RecordingPlatform platform;
  QStringList kinds;
  platform.onModal = [&](QDialog* dialog) {
    kinds << dialog->metaObject()->className();
    QVERIFY(dialog->isModal());
  };
  Form1 form;
  Form3 goal;
  QTest::mouseClick(form.Command5, Qt::LeftButton);
  QTest::mouseClick(goal.Command5, Qt::LeftButton);
  QCOMPARE(kinds, (QStringList{"orcalc::ui::frmAbout", "orcalc::ui::frmAbout"}));
}

void SheetWindowTest::enterPressesOnlyTheFocusedButtonAndEscapeNeverCloses() {
  RecordingPlatform platform;
  Form1 form;
  showAndActivate(&form);
  for (QWidget* w : {static_cast<QWidget*>(form.Option1[0]), static_cast<QWidget*>(form.Command3),
                     static_cast<QWidget*>(form.Command6)}) {
    w->setFocus();
    QTRY_VERIFY(w->hasFocus());
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(form.isVisible());
  }
  form.Option1[0]->setFocus();
  QTest::keyClick(form.Option1[0], Qt::Key_Return);
  QCOMPARE(form.MSFlexGrid1->cols(), 2);  // no button pressed
  QCOMPARE(platform.modalCount + platform.messages.size(), 0);
  form.Command1->setFocus();
  QTRY_VERIFY(form.Command1->hasFocus());
  QTest::keyClick(form.Command1, Qt::Key_Return);
  QCOMPARE(form.MSFlexGrid1->cols(), 8);
  QVERIFY(form.Command2->isEnabled());
}

void SheetWindowTest::exitClosesTheMainWindow() {
  // Runs the application's event loop, as the program does: closing Form1
  // with 退出 must end it. (Kept last: it leaves the loop.)
  QSignalSpy last_closed(qApp, &QGuiApplication::lastWindowClosed);
  Form1 form;
  form.show();
  QTimer::singleShot(0, &form, [&form] { QTest::mouseClick(form.Command6, Qt::LeftButton); });
  bool timed_out = false;
  QTimer::singleShot(10000, qApp, [&timed_out] {
    timed_out = true;
    QCoreApplication::quit();
  });
  QCoreApplication::exec();
  QVERIFY(!timed_out);
  QVERIFY(!form.isVisible());
  QCOMPARE(last_closed.count(), 1);
}

// ------------------------------------------------------------------- resize

void SheetWindowTest::resizeRule_data() {
  QTest::addColumn<bool>("goal");
  QTest::newRow("Form1") << false;
  QTest::newRow("Form3") << true;
}

void SheetWindowTest::resizeRule() {
  QFETCH(bool, goal);
  std::unique_ptr<SheetWindow> form = newWindow(goal);
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  SheetWindow* f = form.get();
  auto outer = [f] {
    return QSize(pixelsToTwipsX(f->frameGeometry().width(), f),
                 pixelsToTwipsY(f->frameGeometry().height(), f));
  };
  // Grid and panel W - 300 wide, grid H - 1800 high, from the first show.
  QCOMPARE(twips(f->MSFlexGrid1).width(), outer().width() - 300);
  QCOMPARE(twips(f->Frame1).width(), outer().width() - 300);
  QCOMPARE(twips(f->MSFlexGrid1).height(), outer().height() - 1800);

  const QRect grid0 = twips(f->MSFlexGrid1);
  const QRect frame0 = twips(f->Frame1);
  QList<QRect> buttons;
  for (QPushButton* b : f->Frame1->findChildren<QPushButton*>()) buttons << b->geometry();
  f->resize(f->width() + twipsToPixelsX(1500, f), f->height() + twipsToPixelsY(600, f));
  QTRY_COMPARE(twips(f->MSFlexGrid1).width(), grid0.width() + 1500);
  QCOMPARE(twips(f->Frame1).width(), frame0.width() + 1500);
  QCOMPARE(twips(f->MSFlexGrid1).height(), grid0.height() + 600);
  QCOMPARE(twips(f->MSFlexGrid1).topLeft(), grid0.topLeft());
  QCOMPARE(twips(f->Frame1).topLeft(), frame0.topLeft());
  QList<QRect> after;
  for (QPushButton* b : f->Frame1->findChildren<QPushButton*>()) after << b->geometry();
  QCOMPARE(after, buttons);

  // Below the margins the sizes clamp at zero and nothing fails.
  f->resize(10, 10);
  QTRY_COMPARE(f->MSFlexGrid1->height(), 0);
  QCOMPARE(f->MSFlexGrid1->width(), 0);
  QCOMPARE(f->Frame1->width(), 0);
  f->ok();
  f->resize(twipsToPixelsX(6000, f), twipsToPixelsY(6000, f));
  QTRY_VERIFY(f->MSFlexGrid1->width() > 0);
}

QTEST_MAIN(SheetWindowTest)
#include "sheet_window_test.moc"
