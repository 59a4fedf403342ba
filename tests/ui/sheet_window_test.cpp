// The two sheet windows: count boxes and keys, OK, the windows they open
// modally, and resizing. What Calculate and statistics show is checked
// against the core by the monkey run.
#include "sheet/cell_editing.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

static QSize gridSize(const SheetWindow& form) {
  return {form.grid()->cols(), form.grid()->rows()};
}

class SheetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // A letter, Enter, minus, point and blank each beep and are dropped.
  void countBoxesTakeDigitsOnly() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    for (QLineEdit* box : {form.constraintCountBox(), form.variableCountBox()}) {
      box->setFocus();
      box->clear();
      type("12a\r-. 3\b");
      QCOMPARE(box->text(), QStringLiteral("12"));
    }
    QCOMPARE(platform.beeps, 10);
  }

  void pastedTextKeepsOnlyItsDigitsWithoutABeep() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    form.variableCountBox()->setText("12");
    QApplication::clipboard()->setText("a1 -2.5x３0");
    form.variableCountBox()->end(false);
    form.variableCountBox()->paste();
    QCOMPARE(form.variableCountBox()->text(), QStringLiteral("121250"));
    QCOMPARE(platform.beeps, 0);
  }

  // A count read before its box has lost the focus is still at most 500.
  void okReadsAtMost500FromAFocusedBox() {
    LpWindow form;
    showActive(&form);
    form.constraintCountBox()->setFocus();
    form.constraintCountBox()->setText("99999");
    form.ok();
    QCOMPARE(gridSize(form), QSize(8, 502));
  }

  void leavingABoxCapsItsNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("400 nines") << QString(400, '9') << "500";
    QTest::newRow("leading zeros") << QStringLiteral("007") << QStringLiteral("007");
  }

  // Leaving a box caps its number at 500 and changes nothing else.
  void leavingABoxCapsItsNumber() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    LpWindow form;
    showActive(&form);
    form.constraintCountBox()->setFocus();
    form.constraintCountBox()->setText(typed);
    form.grid()->setFocus();
    QTRY_COMPARE(form.constraintCountBox()->text(), kept);
  }

  // Escape closes nothing, and Enter presses a button only when it has the
  // focus.
  void enterPressesOnlyAFocusedButton() {
    LpWindow form;
    showActive(&form);
    form.constraintCountBox()->setText("500");
    form.ok();
    form.constraintCountBox()->setText("7");
    form.maximumOption()->setFocus();
    QTest::keyClick(form.maximumOption(), Qt::Key_Escape);
    QTest::keyClick(form.maximumOption(), Qt::Key_Return);
    QVERIFY(form.isVisible());
    QCOMPARE(gridSize(form), QSize(8, 502));
    form.okButton()->setFocus();
    QTest::keyClick(form.okButton(), Qt::Key_Return);
    QCOMPARE(gridSize(form), QSize(8, 9));
    QTest::mouseClick(form.exitButton(), Qt::LeftButton);
    QVERIFY(!form.isVisible());
  }

  void okLaysOutTheSheetAndKeepsTextsOnARebuild() {
    LpWindow form;
    QTest::mouseClick(form.okButton(), Qt::LeftButton);  // 5 variables, 6 constraints, minimising
    SheetGrid* const grid = form.grid();
    QCOMPARE(gridSize(form), QSize(8, 8));
    QCOMPARE(grid->text(1, 7), QStringLiteral(" Min "));
    // A smaller sheet keeps the texts of the cells it still has and shows
    // the sense chosen now; growing again brings back empty cells.
    setCells(grid, {{}, {"7", "", "", "", "kept"}, {"", "", "", "", "", "", "12"}});
    form.maximumOption()->click();
    layOut(form, 3, 2);
    QCOMPARE(gridSize(form), QSize(6, 4));
    QCOMPARE(QStringList({grid->text(2, 1), grid->text(2, 5), grid->text(0, 4), grid->text(1, 5)}),
             QStringList({"7", "kept", "约束符号", " Max "}));
    layOut(form, 5, 6);
    QCOMPARE(grid->text(3, 7), QString());
  }

  void goalAboutAndResultsWindowsOpenModallyOverTheirWindow() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    QCOMPARE(QApplication::focusWidget(), form.grid());
    QVERIFY(form.windowType() == Qt::Window);  // the main window belongs to nobody
    // Each modal window, over the window it belongs to: a dialog-type window
    // (only those are marked as their owner's under X11) whose transient
    // parent is its owner.
    QStringList log;
    platform.onModal = [&](QDialog* dialog) {
      QVERIFY(dialog->isModal());
      const bool owned =
          dialog->windowType() == Qt::Dialog && dialog->windowHandle() &&
          dialog->windowHandle()->transientParent() == dialog->parentWidget()->windowHandle();
      log << dialog->objectName() + (owned ? " over " : " beside ") +
                 dialog->parentWidget()->objectName();
      auto* goal = qobject_cast<GoalWindow*>(dialog);
      if (!goal) return;
      // A fresh window each time: an empty sheet, Calculate disabled.
      QVERIFY(!goal->calculateButton()->isEnabled());
      QCOMPARE(gridSize(*goal), QSize(2, 2));
      QTest::mouseClick(goal->aboutButton(), Qt::LeftButton);
      layOut(*goal, 3, 2);  // three variables (Text2), two goals (Text1)
      QCOMPARE(gridSize(*goal), QSize(10, 3));
      QTest::mouseClick(goal->calculateButton(), Qt::LeftButton);
      QTest::mouseClick(goal->exitButton(), Qt::LeftButton);
    };
    QTest::mouseClick(form.aboutButton(), Qt::LeftButton);
    QTest::mouseClick(form.goalButton(), Qt::LeftButton);
    QTest::mouseClick(form.goalButton(), Qt::LeftButton);
    const QStringList goalRun = {"Form3 over Form1", "frmAbout over Form3", "Form2 over Form3"};
    QCOMPARE(log, QStringList{"frmAbout over Form1"} + goalRun + goalRun);
  }

  void resizeRule() {
    GoalWindow form;
    showActive(&form);
    // Grid and panel W − 300 wide, grid H − 1800 high (W, H: the outer
    // size less the menu bar), from the first show on; nothing else moves.
    const QSize outer(
        pixelsToTwipsX(form.frameGeometry().width(), &form),
        pixelsToTwipsY(form.frameGeometry().height() - form.menuBar()->height(), &form));
    QCOMPARE(twips(form.grid()).size(), outer - QSize(300, 1800));
    QCOMPARE(twips(form.panel()).width(), outer.width() - 300);
    const QRect grid0 = twips(form.grid()), frame0 = twips(form.panel());
    form.resize(form.width() + twipsToPixelsX(1500, &form),
                form.height() + twipsToPixelsY(600, &form));
    QTRY_COMPARE(twips(form.grid()), grid0.adjusted(0, 0, 1500, 600));
    QCOMPARE(twips(form.panel()), frame0.adjusted(0, 0, 1500, 0));
    // The window goes no smaller than its panel's buttons need; the rule
    // holds there.
    form.resize(10, 10);
    QTRY_COMPARE(form.size(), form.minimumSize());
    QTRY_COMPARE(twips(form.panel()).width(),
                 pixelsToTwipsX(form.frameGeometry().width(), &form) - 300);
    // Below the margins (a minimised window, which the window system may
    // make smaller still) the sizes clamp at zero, and the window still
    // works.
    form.setMinimumSize(0, 0);
    form.resize(10, 10);
    QTRY_COMPARE(form.grid()->size(), QSize(0, 0));
    form.ok();
  }
};

QTEST_MAIN(SheetWindowTest)
#include "sheet_window_test.moc"
