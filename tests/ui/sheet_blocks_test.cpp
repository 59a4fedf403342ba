// Blocks of cells in the sheet windows: selecting with the keyboard and the
// mouse, copy, cut, paste and clear, and undo and redo of every change.
#include "sheet/cell_editing.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

QString clipboard() { return QGuiApplication::clipboard()->text(); }

QStringList row(SheetGrid* grid, int r) {
  QStringList texts;
  for (int c = 1; c < grid->cols(); ++c) texts << grid->text(r, c);
  return texts;
}

}  // namespace

class SheetBlocksTest : public QObject {
  Q_OBJECT
  QTemporaryDir settings_;

 private slots:
  void initTestCase() {
    // Saved sheets are remembered in a settings file of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
  }

  void selectingBlocks() {
    LpWindow form;
    layOut(form, 3, 3);  // 6 columns, 5 rows
    SheetGrid* grid = form.grid();
    showActive(&form);
    clickCell(grid, 2, 2);
    QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    // The current cell stays.
    QCOMPARE(grid->selection(), QRect(2, 2, 2, 2));
    QCOMPARE(QPoint(grid->currentCol(), grid->currentRow()), QPoint(2, 2));
    // A plain arrow key collapses the block; Shift+click and a drag select
    // from the current cell, never into the headers.
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(grid->selection(), QRect(1, 2, 1, 1));
    QTest::mouseClick(grid, Qt::LeftButton, Qt::ShiftModifier, grid->cellRect(4, 3).center());
    QCOMPARE(grid->selection(), QRect(1, 2, 3, 3));
    QTest::mousePress(grid, Qt::LeftButton, {}, grid->cellRect(3, 4).center());
    QTest::mouseMove(grid, grid->cellRect(0, 0).center());
    QMouseEvent move(QEvent::MouseMove, grid->cellRect(0, 0).center(),
                     grid->mapToGlobal(grid->cellRect(0, 0).center()), Qt::NoButton, Qt::LeftButton,
                     {});
    QApplication::sendEvent(grid, &move);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, grid->cellRect(0, 0).center());
    QCOMPARE(grid->selection(), QRect(1, 1, 4, 3));
    QVERIFY(form.signDropDown()->isHidden());  // a drag is no click on a sign cell
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(grid->selection(), QRect(1, 1, 5, 4));
    clickCell(grid, 1, 1);
    QCOMPARE(grid->selection(), QRect(1, 1, 1, 1));
  }

  void copyPasteAndClear() {
    RecordingPlatform platform;
    LpWindow form;
    layOut(form, 2, 2);  // columns χ1, χ2, sign, constants
    SheetGrid* grid = form.grid();
    showActive(&form);
    // A spreadsheet's block: tabs, CR LF, a trailing line end, blanks, plain
    // signs, numbers as the editor would complete them.
    QGuiApplication::clipboard()->setText("3\t2\r\n 1 \t.5\t<=\t4\r\n1\t3.\t>=\t-6\r\n");
    grid->setCurrentCell(1, 1);
    form.pasteBlock();
    QCOMPARE(row(grid, 1), QStringList({"3", "2", " ═ ", " Min "}));
    QCOMPARE(row(grid, 2), QStringList({"1", "0.5", " ≤ ", "4"}));
    QCOMPARE(row(grid, 3), QStringList({"1", "3.0", " ≥ ", "-6"}));
    QCOMPARE(grid->selection(), QRect(1, 1, 4, 3));
    QCOMPARE(platform.messages, QStringList());
    // Copy gives tabs and CR LF; pasting it back elsewhere gives the same
    // texts (the sense cell's own text included).
    form.copyBlock();
    QCOMPARE(clipboard(), QStringLiteral("3\t2\t ═ \t Min \r\n1\t0.5\t ≤ \t4\r\n1\t3.0\t ≥ \t-6"));
    grid->setCurrentCell(2, 1);
    grid->extendSelection(2, 2);
    form.copyBlock();
    grid->setCurrentCell(3, 1);
    form.pasteBlock();
    QCOMPARE(row(grid, 3), QStringList({"1", "0.5", " ≥ ", "-6"}));
    // A bad cell: nothing is pasted, one message names it.
    QGuiApplication::clipboard()->setText("7,8\n9,x1");
    grid->setCurrentCell(2, 1);
    form.pasteBlock();
    QCOMPARE(row(grid, 2), QStringList({"1", "0.5", " ≤ ", "4"}));
    QCOMPARE(platform.messages.size(), 1);
    // Clipped to the sheet, with one message counting what was left out.
    QGuiApplication::clipboard()->setText("5\t<=\t\t7\t8\r\n9\r\n10");
    grid->setCurrentCell(2, 2);
    form.pasteBlock();
    QCOMPARE(row(grid, 2), QStringList({"1", "5", " ≤ ", ""}));
    QCOMPARE(row(grid, 3), QStringList({"1", "9", " ≥ ", "-6"}));
    QCOMPARE(platform.messages.size(), 2);
    // Del clears the block, sign cells too; cut copies then clears.
    grid->setCurrentCell(2, 2);
    grid->extendSelection(3, 3);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(row(grid, 2) + row(grid, 3), QStringList({"1", "", "", "", "1", "", "", "-6"}));
    grid->setCurrentCell(1, 1);
    grid->extendSelection(1, 2);
    QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(clipboard(), QStringLiteral("3\t2"));
    QCOMPARE(row(grid, 1), QStringList({"", "", " ═ ", " Min "}));
  }

  void undoAndRedoEveryChange() {
    RecordingPlatform platform;
    GoalWindow form;
    SheetGrid* grid = form.grid();
    showActive(&form);
    const Sheet fresh = grid->sheet();
    layOut(form, 1, 2);  // OK
    const Sheet laidOut = grid->sheet();
    clickCell(grid, 1, 1);
    type("12\r");                                    // an edit
    QGuiApplication::clipboard()->setText("4\t<=");  // column 2 holds the signs
    grid->setCurrentCell(2, 1);
    form.pasteBlock();  // a paste
    clickCell(grid, 1, 2);
    QVERIFY(chooseFromList(form.signDropDown(), 1));  // a choice from the drop-down
    grid->setCurrentCell(1, 1);
    grid->extendSelection(2, 1);
    form.clearBlock();  // a clear
    const Sheet edited = grid->sheet();
    QStringList steps;
    for (int i = 0; i < form.undoStack().count(); ++i) steps << form.undoStack().text(i);
    QCOMPARE(steps, QStringList({"确定", "编辑", "粘贴", "编辑", "清除"}));

    form.variableCountBox()->setText("3");  // OK for a wider sheet
    form.ok();
    const Sheet wider = grid->sheet();
    form.undo();
    QCOMPARE(grid->sheet(), edited);
    QCOMPARE(form.variableCountBox()->text(), QStringLiteral("3"));  // the boxes as OK found them
    form.redo();
    QCOMPARE(grid->sheet(), wider);
    for (int i = 0; i < 5; ++i) form.undo();  // OK, the clear, the sign, the paste, the edit
    QCOMPARE(grid->sheet(), laidOut);
    form.undo();  // OK: back to the fresh 2 × 2 grid, Calculate disabled
    QCOMPARE(grid->sheet(), fresh);
    QVERIFY(!form.calculateButton()->isEnabled());
    for (int i = 0; i < 5; ++i) form.redo();
    QCOMPARE(grid->sheet(), edited);
    // Ctrl+Z and Ctrl+Y on the grid.
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(grid->text(1, 1), QStringLiteral("12"));
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(grid->sheet(), edited);
  }
};

QTEST_MAIN(SheetBlocksTest)
#include "sheet_blocks_test.moc"
