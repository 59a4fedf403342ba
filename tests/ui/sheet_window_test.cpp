// The two sheet windows: start-up state, count boxes and keys, OK,
// Calculate, statistics, the windows they open modally, and resizing.
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"
#include "sheet/cell_editing.h"
#include "stats/stats_command.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

QSize gridSize(const SheetWindow& form) {
  return {form.MSFlexGrid1->cols(), form.MSFlexGrid1->rows()};
}

}  // namespace

class SheetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpStateOfBothWindows() {
    for (bool goal : {false, true}) {
      std::unique_ptr<SheetWindow> form = newWindow(goal);
      // As designed, before the first show runs the resize rule.
      QCOMPARE(twips(form->MSFlexGrid1), QRect(120, 840, goal ? 10815 : 10695, goal ? 7815 : 7335));
      QCOMPARE(form->size(),
               twipsRect(0, 0, goal ? 10950 : 10830, goal ? 8715 : 8550, form.get()).size());
      QCOMPARE(form->windowTitle(), QString(goal ? "目标规划计算程序" : "线性规划计算程序"));
      QCOMPARE(QStringList({form->Text2->text(), form->Text1->text()}), QStringList({"5", "6"}));
      QVERIFY(!form->Command2->isEnabled());
      QCOMPARE(gridSize(*form), QSize(2, 2));
      QCOMPARE(QPoint(form->editing().gCol(), form->editing().gRow()), QPoint(0, 0));
      QVERIFY(form->Text8->isHidden() && form->Combo3->isHidden());
      QStringList items;
      for (int i = 0; i < form->Combo3->count(); ++i) items << form->Combo3->itemText(i);
      QCOMPARE(items, QStringList({" ≥ ", " ≤ ", " ═ "}));
      QCOMPARE(form->Command4 == nullptr, goal);
      showActive(form.get());
      QCOMPARE(QApplication::focusWidget(), form->MSFlexGrid1);
    }
  }

  void countBoxesTakeDigitsOnlyAndKeysPressOnlyAFocusedButton() {
    RecordingPlatform platform;
    Form1 form;
    showActive(&form);
    for (QLineEdit* box : {form.Text1, form.Text2}) {
      box->setFocus();
      box->clear();
      type("12a\r-. 3\b");  // the letter, Enter, minus, point and blank beep
      QCOMPARE(box->text(), QStringLiteral("12"));
    }
    // Pasted text keeps only its digits, without a beep.
    QApplication::clipboard()->setText("a1 -2.5x３0");
    form.Text2->paste();
    QCOMPARE(form.Text2->text(), QStringLiteral("121250"));
    QCOMPARE(platform.beeps, 10);
    // A count read before its box has lost the focus is still at most 500.
    form.Text1->setText("99999");
    form.ok();
    QCOMPARE(gridSize(form), QSize(503, 502));
    // Leaving a box caps its number at 500 and changes nothing else.
    const QStringList typed = {"600", "500", "", "0600", QString(400, '9'), "007"};
    const QStringList kept = {"500", "500", "", "500", "500", "007"};
    for (int i = 0; i < typed.size(); ++i) {
      form.Text1->setFocus();
      form.Text1->setText(typed[i]);
      form.MSFlexGrid1->setFocus();
      QTRY_COMPARE(form.Text1->text(), kept[i]);
    }
    // Escape closes nothing, and Enter presses a button only when it has
    // the focus.
    form.Option1[0]->setFocus();
    QTest::keyClick(form.Option1[0], Qt::Key_Escape);
    QTest::keyClick(form.Option1[0], Qt::Key_Return);
    QVERIFY(form.isVisible());
    QCOMPARE(gridSize(form), QSize(503, 502));
    form.Command1->setFocus();
    QTest::keyClick(form.Command1, Qt::Key_Return);
    QCOMPARE(gridSize(form), QSize(503, 9));
    QTest::mouseClick(form.Command6, Qt::LeftButton);
    QVERIFY(!form.isVisible());
  }

  void okLaysOutTheSheetAndKeepsTextsOnARebuild() {
    Form1 form;
    QTest::mouseClick(form.Command1, Qt::LeftButton);  // 5 variables, 6 constraints, minimising
    SheetGrid* grid = form.MSFlexGrid1;
    QCOMPARE(gridSize(form), QSize(8, 8));
    QCOMPARE(grid->text(1, 7), QStringLiteral(" Min "));
    QCOMPARE(grid->columnWidth(0), twipsToPixelsX(1700, grid));
    QVERIFY(form.Command2->isEnabled());
    // A smaller sheet keeps the texts of the cells it still has and shows
    // the sense chosen now; growing again brings back empty cells.
    setCells(grid, {{}, {"7", "", "", "", "kept"}, {"", "", "", "", "", "", "12"}});
    form.Option1[0]->click();
    layOut(form, 3, 2);
    QCOMPARE(gridSize(form), QSize(6, 4));
    QCOMPARE(QStringList({grid->text(2, 1), grid->text(2, 5), grid->text(0, 4), grid->text(1, 5)}),
             QStringList({"7", "kept", "约束符号", " Max "}));
    layOut(form, 5, 6);
    QCOMPARE(grid->text(3, 7), QString());
  }

  void calculateShowsTheCoreReportAfterItsMessages() {
    RecordingPlatform platform;
    QList<Shown> shown;
    recordResults(platform, shown);
    Form1 form;
    SheetGrid* grid = form.MSFlexGrid1;
    form.Option1[0]->click();
    layOut(form, 2, 2);
    setCells(grid, {{"3", "2"}, {"1", "1", " ≤ ", "4"}, {"1", "3", " ≤ ", "6"}});
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(QStringList({shown[0].title, shown[0].label}), QStringList(2, "线性规划计算结果"));
    QCOMPARE(shown[0].text, std::string(kExampleReport));
    // Counts typed after OK, larger than the sheet: read now, the missing
    // cells as empty, and the sheet stays as it was.
    const Sheet sheet = grid->sheet();
    form.Text2->setText("4");
    form.Text1->setText("3");
    form.calculate();
    QCOMPARE(shown[1].text, lp::Calculate({4, 3, lp::Sense::Maximise}, sheet).report.value_or(""));
    QVERIFY(grid->sheet() == sheet);
    // χ1 ≤ 1 and χ1 ≥ 2: the message once, then the report all the same.
    layOut(form, 1, 2);
    setCells(grid, {{"1"}, {"1", " ≤ ", "1"}, {"1", " ≥ ", "2"}});
    form.calculate();
    QCOMPARE(platform.messages, QStringList{"无最优解！"});
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[2].messagesBefore, 1);
    QCOMPARE(shown[2].text,
             lp::Calculate({1, 2, lp::Sense::Maximise}, grid->sheet()).report.value_or(""));
  }

  void statisticsReadTheClickedColumnOnBothSheets() {
    RecordingPlatform platform;
    QList<Shown> shown;
    recordResults(platform, shown);
    for (auto kind : {stats::SheetKind::LinearProgramming, stats::SheetKind::GoalProgramming}) {
      std::unique_ptr<SheetWindow> form = newWindow(kind == stats::SheetKind::GoalProgramming);
      layOut(*form, 3, 4);
      QTest::mouseClick(form->Command3, Qt::LeftButton);  // before any cell was clicked
      setCells(form->MSFlexGrid1, {{"", "1"}, {"", "4"}, {"", "9"}, {"", "16"}, {"", "25"}});
      clickCell(form->MSFlexGrid1, 3, 2);
      QTest::mouseClick(form->Command3, Qt::LeftButton);
      QCOMPARE(shown.last().text,
               stats::Calculate({2, 4, kind}, form->MSFlexGrid1->sheet()).report.value_or(""));
      QCOMPARE(QStringList({shown.last().title, shown.last().label}), QStringList(2, "统计结果"));
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(platform.messages,
             QStringList(2, "您没有选择要统计数据的列！请在要统计的数据列上单击后再统计！"));
  }

  void goalAboutAndResultsWindowsOpenModallyOverTheirWindow() {
    RecordingPlatform platform;
    QList<Shown> shown;
    recordResults(platform, shown);
    const auto recordResult = platform.onModal;
    Form1 form;
    QStringList log;  // each modal window, over the window it belongs to
    platform.onModal = [&](QDialog* dialog) {
      QVERIFY(dialog->isModal());
      log << dialog->objectName() + " over " + dialog->parentWidget()->objectName();
      auto* goal = qobject_cast<Form3*>(dialog);
      if (!goal) return recordResult(dialog);
      // A fresh window each time: an empty sheet, Calculate disabled.
      QVERIFY(!goal->Command2->isEnabled());
      QCOMPARE(gridSize(*goal), QSize(2, 2));
      QTest::mouseClick(goal->Command5, Qt::LeftButton);
      layOut(*goal, 3, 2);  // three variables (Text2), two goals (Text1)
      QCOMPARE(gridSize(*goal), QSize(10, 3));
      setCells(goal->MSFlexGrid1, {{"2", "5", "1", "", "18", "1.5", "1", "3", "1"},
                                   {"5", "0", "5", "", "6", "2.5", "1", "1", "3"}});
      QTest::mouseClick(goal->Command2, Qt::LeftButton);
      QCOMPARE(shown.last().title, QStringLiteral("目标规划计算结果"));
      QCOMPARE(shown.last().text,
               goal::Calculate({2, 3}, goal->MSFlexGrid1->sheet()).report.value_or(""));
      QTest::mouseClick(goal->Command6, Qt::LeftButton);
    };
    QTest::mouseClick(form.Command5, Qt::LeftButton);
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    const QStringList goalRun = {"Form3 over Form1", "frmAbout over Form3", "Form2 over Form3"};
    QCOMPARE(log, QStringList{"frmAbout over Form1"} + goalRun + goalRun);
  }

  void resizeRule() {
    Form3 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Grid and panel W − 300 wide, grid H − 1800 high (W, H: the outer
    // size), from the first show on; nothing else moves.
    const QSize outer(pixelsToTwipsX(form.frameGeometry().width(), &form),
                      pixelsToTwipsY(form.frameGeometry().height(), &form));
    QCOMPARE(twips(form.MSFlexGrid1).size(), outer - QSize(300, 1800));
    QCOMPARE(twips(form.Frame1).width(), outer.width() - 300);
    const QRect grid0 = twips(form.MSFlexGrid1), frame0 = twips(form.Frame1),
                button0 = form.Command6->geometry();
    form.resize(form.width() + twipsToPixelsX(1500, &form),
                form.height() + twipsToPixelsY(600, &form));
    QTRY_COMPARE(twips(form.MSFlexGrid1), grid0.adjusted(0, 0, 1500, 600));
    QCOMPARE(twips(form.Frame1), frame0.adjusted(0, 0, 1500, 0));
    QCOMPARE(form.Command6->geometry(), button0);
    // Below the margins the sizes clamp at zero, and the window still works.
    form.resize(10, 10);
    QTRY_COMPARE(form.MSFlexGrid1->size(), QSize(0, 0));
    QCOMPARE(form.Frame1->width(), 0);
    form.ok();
  }
};

QTEST_MAIN(SheetWindowTest)
#include "sheet_window_test.moc"
