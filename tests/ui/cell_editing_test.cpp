// In-place editing on the sheet windows: opening the number editor and the
// sign drop-down, the number filter on every way text arrives, the commits
// and their normalisation, the highlight, the wheel over an editor, editors
// opened on partly visible cells, and a commit before the control taking
// the focus acts.
#include "sheet/cell_editing.h"

#include <QtTest/qtestspontaneevent.h>

#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

class CellEditingTest : public QObject {
  Q_OBJECT

  RecordingPlatform platform_;
  std::unique_ptr<LpWindow> form_;

  SheetGrid* grid() const { return form_->grid(); }
  QLineEdit* text8() const { return form_->numberEditor(); }
  QComboBox* combo3() const { return form_->signDropDown(); }
  void typeAt(int row, int col, const QString& keys) {
    clickCell(grid(), row, col);
    type(keys);
  }
  void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
  QString cell(int row, int col) const { return grid()->text(row, col); }
  // The recorded cell, as (row, column).
  QPoint recorded() const {
    return {form_->editing().recordedRow(), form_->editing().recordedCol()};
  }
  // The cell's rectangle in the window, less a pixel in width and height.
  QRect placeOver(int row, int col) const {
    return grid()->cellRect(row, col).translated(grid()->pos()).adjusted(0, 0, -1, -1);
  }
  // The grid's cell area (less its scroll bars) in the window.
  QRect cellAreaInWindow() const { return grid()->cellArea().translated(grid()->pos()); }
  // One wheel notch at `at` in `widget`, delivered as the window system
  // delivers it: to the child there, passed on to its parents while ignored.
  static void wheel(QWidget* widget, QPoint at, int notches = -1) {
    QWidget* target = widget->childAt(at) ? widget->childAt(at) : widget;
    const QPointF local = target->mapFrom(widget, at);
    QWheelEvent event(local, target->mapToGlobal(local), {}, {0, 120 * notches}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(target, &event);  // sendEvent would make it a synthesized one
  }
  // Over the drop-down's text field and over its arrow.
  QList<QPoint> dropDownSpots() const {
    return {QPoint(4, combo3()->height() / 2),
            QPoint(combo3()->width() - 4, combo3()->height() / 2)};
  }
  // Sizes the grid so that from (top, left) on ten rows and five columns
  // show in full and the next row and column only in half, and scrolls
  // there.
  void showPartly(int top, int left) {
    int width = grid()->columnWidth(0) + grid()->columnWidth(left + 5) / 2 +
                grid()->verticalScrollBar()->sizeHint().width();
    for (int col = left; col < left + 5; ++col) width += grid()->columnWidth(col);
    grid()->resize(
        width, grid()->rowHeight() * 23 / 2 + grid()->horizontalScrollBar()->sizeHint().height());
    grid()->setTopRow(top);
    grid()->setLeftCol(left);
    const QRect half = grid()->cellRect(top + 10, left + 5);
    QVERIFY(!grid()->cellArea().contains(half) && grid()->cellArea().intersects(half));
  }
  // A click on the part of a cell that shows.
  void clickShownPart(int row, int col) {
    QTest::mouseClick(grid(), Qt::LeftButton, {},
                      (grid()->cellRect(row, col) & grid()->cellArea()).center());
  }

 private slots:
  // Every test starts on the linear-programming sheet for 2 variables and
  // 3 constraints: number columns 1, 2 and 4, the sign column 3.
  void init() {
    platform_.beeps = 0;
    platform_.onModal = nullptr;
    form_ = std::make_unique<LpWindow>();
    showActive(form_.get());
    layOut(*form_, 2, 3);
  }

  void keysOpenTheNumberEditor() {
    clickCell(grid(), 2, 1);
    QVERIFY(!text8()->isVisible());  // a click only highlights a number cell
    type("5");
    QVERIFY(text8()->hasFocus());
    QCOMPARE(cell(2, 1), QStringLiteral("5"));  // at once
    QCOMPARE(text8()->geometry(), placeOver(2, 1));
    enter();
    grid()->setText(3, 2, "12");
    typeAt(3, 2, "5\r");
    QCOMPARE(cell(3, 2), QStringLiteral("125"));  // after the cell's text
    // The key that opens it is in it at once: Enter right after it keeps it.
    clickCell(grid(), 1, 1);
    QTest::keyClick(grid(), Qt::Key_5);
    enter();
    QCOMPARE(cell(1, 1), QStringLiteral("5"));
    // Escape opens it too, beeps in its filter, and leaves the window open.
    typeAt(4, 4, "\x1b");
    QVERIFY(text8()->isVisible());
    QVERIFY(form_->isVisible());
    QCOMPARE(platform_.beeps, 1);
  }

  // Every way text reaches the number editor meets the same filter: digits,
  // one point and one minus in the whole text (a selected one included);
  // a second point or minus goes silently, anything else beeps.
  void numberFilter_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("beeps");
    for (const char* way : {"typed", "pasted", "input method", "one key"}) {
      const bool typed = QByteArray(way) == "typed";  // one beep a key, else one in all
      QTest::addRow("%s: digits, a point, a minus", way) << way << "5-.1.-2"
                                                         << "15-.12" << 0;
      QTest::addRow("%s: others beep", way) << way << "2/,a +"
                                            << "12" << (typed ? 5 : 1);
    }
  }
  void numberFilter() {
    QFETCH(QString, way);
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(int, beeps);
    typeAt(2, 1, "1");
    if (way == "typed") {
      type(text);
    } else if (way == "pasted") {
      QGuiApplication::clipboard()->setText(text);
      QTest::keyClick(text8(), Qt::Key_V, Qt::ControlModifier);
    } else if (way == "input method") {
      QInputMethodEvent input;
      input.setCommitString(text);
      QApplication::sendEvent(text8(), &input);
    } else {  // a key carrying several characters (a compose sequence)
      QKeyEvent burst(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
      QApplication::sendEvent(text8(), &burst);
    }
    QCOMPARE(text8()->text(), kept);
    QCOMPARE(platform_.beeps, beeps);
  }

  // The commit adds a 0 to a leading or trailing point, nothing else.
  void commitNormalises_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    for (const auto& [name, typed, stored] : {std::tuple{"point alone", ".", "0."},
                                              {"leading point", ".5", "0.5"},
                                              {"trailing point", "5.", "5.0"},
                                              {"minus point", "-.5", "-.5"},
                                              {"trailing minus", "5-", "5-"},
                                              {"erased", "9\b", ""}})
      QTest::newRow(name) << QString(typed) << QString(stored);
  }
  void commitNormalises() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    typeAt(2, 1, typed + '\r');
    QCOMPARE(cell(2, 1), stored);
  }

  void enterKeepsTheCellAndArrowsMoveAfterTheCommit() {
    typeAt(2, 2, "3");
    enter();
    QVERIFY(grid()->hasFocus());
    QVERIFY(!text8()->isVisible());
    QCOMPARE(grid()->currentRow(), 2);
    type("\r1");
    QTest::keyClick(text8(), Qt::Key_Down);
    QCOMPARE(cell(2, 2), QStringLiteral("31"));
    QCOMPARE(grid()->currentRow(), 3);
    type("8");  // the grid has the focus again: this opens a new editor
    QTest::keyClick(text8(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(cell(3, 2), QStringLiteral("8"));
    QCOMPARE(grid()->currentRow(), 2);
    QCOMPARE(recorded(), QPoint(3, 2));  // arrows do not record
  }

  void commitsComeBeforeTheControlTakingTheFocus() {
    typeAt(2, 1, ".25");
    clickCell(grid(), 3, 1);
    QCOMPARE(cell(2, 1), QStringLiteral("0.25"));
    QCOMPARE(cell(3, 1), QString());
    QCOMPARE(grid()->currentRow(), 3);
    // OK closes an open drop-down before it rebuilds the sheet.
    grid()->setText(2, 3, " ≤ ");
    clickCell(grid(), 2, 3);
    QVERIFY(combo3()->isVisible());
    QTest::mouseClick(form_->okButton(), Qt::LeftButton);
    QVERIFY(!combo3()->isVisible());
    QCOMPARE(cell(2, 3), QStringLiteral(" ≤ "));
  }

  void theDropDownOpensOnSignCellsAndCommitsAChoiceOrTypedTextOnly() {
    grid()->setText(3, 3, " ≥ ");
    clickCell(grid(), 3, 3);
    QVERIFY(combo3()->isVisible() && grid()->hasFocus() && combo3()->currentText() == " ≥ ");
    QVERIFY(chooseFromList(combo3(), 1));
    QCOMPARE(cell(3, 3), QStringLiteral(" ≤ "));
    QVERIFY(!combo3()->isVisible() && grid()->hasFocus());
    // A key opens it too, types nothing and leaves the focus in the grid.
    QTest::keyClick(grid(), Qt::Key_7);
    settle();
    QVERIFY(combo3()->isVisible() && !text8()->isVisible() && grid()->hasFocus());
    QCOMPARE(combo3()->currentText(), QStringLiteral(" ≤ "));
    // Typed text goes in unchanged, without a beep, when it loses the focus.
    QTest::mouseClick(combo3()->lineEdit(), Qt::LeftButton);
    combo3()->clearEditText();
    QTest::keyClicks(combo3(), "le q");
    QTest::mouseClick(form_->constraintCountBox(), Qt::LeftButton);
    QVERIFY(cell(3, 3) == "le q" && !combo3()->isVisible() && platform_.beeps == 0);
    // One that never had the focus follows clicks on sign cells and closes
    // without a commit on other cells.
    grid()->setText(2, 3, " ≥ ");
    grid()->setText(3, 3, " ≤ ");
    clickCell(grid(), 2, 3);
    clickCell(grid(), 4, 3);  // it moves there, with the recorded cell
    QCOMPARE(combo3()->isVisible() ? combo3()->pos() : QPoint(), placeOver(4, 3).topLeft());
    QCOMPARE(recorded(), QPoint(4, 3));
    clickCell(grid(), 3, 1);  // a number cell: it closes and writes nothing
    QVERIFY(!combo3()->isVisible() && cell(3, 1).isEmpty());
  }

  void theHighlightFollowsTheCurrentCellWhileTheGridHasTheFocus() {
    typeAt(2, 1, "\r");  // the grid loses the focus to the editor
    QCOMPARE(grid()->cellBackground(2, 1), QColor(Qt::white));
    enter();
    QTest::keyClick(grid(), Qt::Key_Right);
    QCOMPARE(grid()->cellBackground(2, 2), QColor(0, 0, 128));
    QTest::keyClick(grid(), Qt::Key_Right);
    QCOMPARE(grid()->cellBackground(2, 2), QColor(Qt::white));
  }

  void theWheelOverAnEditorScrollsTheGridAndNeverChangesTheSign() {
    // A sheet too short to scroll: the wheel changes nothing, whether the
    // drop-down has the focus or not, and whatever the cell holds.
    grid()->setText(2, 3, " ≤ ");
    grid()->setText(3, 3, "5.0");
    for (int row : {2, 3}) {
      const QString before = cell(row, 3);
      clickCell(grid(), row, 3);
      for (const QPoint& at : dropDownSpots()) wheel(combo3(), at), wheel(combo3(), at, 1);
      QVERIFY(grid()->hasFocus());
      QTest::mouseClick(combo3()->lineEdit(), Qt::LeftButton);
      QVERIFY(combo3()->hasFocus());
      for (const QPoint& at : dropDownSpots()) wheel(combo3(), at);
      QCOMPARE(combo3()->isVisible() ? combo3()->currentText() : "hidden", before);
      enter();
      QCOMPARE(cell(row, 3), before);
    }
    // On a long sheet the wheel over the drop-down scrolls the grid, which
    // hides it; a focused one writes back only what it showed.
    layOut(*form_, 2, 60);
    for (bool focused : {false, true}) {
      grid()->setTopRow(1);
      clickCell(grid(), 2, 3);
      if (focused) QTest::mouseClick(combo3()->lineEdit(), Qt::LeftButton);
      wheel(combo3(), dropDownSpots()[focused ? 0 : 1]);
      QVERIFY(grid()->topRow() > 1 && !combo3()->isVisible());
      QCOMPARE(cell(2, 3), QStringLiteral(" ≤ "));
    }
    // The wheel over the text editor scrolls too, after its commit.
    grid()->setTopRow(1);
    typeAt(2, 1, "7");
    wheel(text8(), text8()->rect().center());
    QVERIFY(grid()->topRow() > 1 && !text8()->isVisible() && grid()->hasFocus());
    QCOMPARE(cell(2, 1), QStringLiteral("7"));
  }

  void editorsOpenOnCellsBroughtFullyIntoView() {
    layOut(*form_, 30, 60);  // the sign column is 31
    const auto fullyShown = [this](int row, int col) {
      return grid()->cellArea().contains(grid()->cellRect(row, col));
    };
    // A key on a half-shown number cell scrolls it into view first: the
    // editor takes the key and covers no scroll bar.
    showPartly(1, 1);
    clickShownPart(11, 6);
    type("7");
    QVERIFY(text8()->isVisible() && fullyShown(11, 6));
    QCOMPARE(text8()->geometry(), placeOver(11, 6));
    QVERIFY(cellAreaInWindow().contains(text8()->geometry()));
    QCOMPARE(cell(11, 6), QStringLiteral("7"));
    enter();
    // A double-click on a half-shown sign cell stays on that cell, though
    // its second click lands where the view moved.
    showPartly(1, 26);
    grid()->setText(11, 31, " ≥ ");
    const QPoint at = (grid()->cellRect(11, 31) & grid()->cellArea()).center();
    QTest::mouseClick(grid(), Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, grid()->mapToGlobal(at), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QSpontaneKeyEvent::setSpontaneous(&second);
    qApp->notify(grid(), &second);
    QCOMPARE(recorded(), QPoint(11, 31));
    QCOMPARE(combo3()->geometry(), placeOver(11, 31));
  }

  void theGoalSheetsDropDownIsTheSixthColumnFromTheRight() {
    GoalWindow goal;
    showActive(&goal);
    SheetGrid* grid = goal.grid();
    layOut(goal, 3, 2);
    clickCell(grid, 2, grid->cols() - 6);
    QVERIFY(goal.signDropDown()->isVisible());
    for (int col = grid->cols() - 5; col < grid->cols(); ++col) {
      grid->scrollToCell(2, col);
      clickCell(grid, 2, col);
      type("1\r");  // typed into the text editor: a drop-down types nothing
      QCOMPARE(grid->text(2, col), QStringLiteral("1"));
    }
  }
};

QTEST_MAIN(CellEditingTest)
#include "cell_editing_test.moc"
