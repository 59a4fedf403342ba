// The coefficient grid, as the main window holds it: moves of the current
// cell and their events, typed characters, a 500 × 500 sheet scrolled under
// the fixed header row and column, and painting in the sheet font.
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

class SheetGridTest : public QObject {
  Q_OBJECT

  LpWindow form_;
  SheetGrid* grid_ = form_.grid();

  QString current() const {
    return QString("%1,%2").arg(grid_->currentRow()).arg(grid_->currentCol());
  }

 private slots:
  void initTestCase() { showActive(&form_); }

  void movesTheCurrentCellLeavingBeforeEnteringAndReportsTypedCharacters() {
    QStringList events;
    QObject watch;
    connect(grid_, &SheetGrid::leaveCell, &watch, [&] { events << "leave " + current(); });
    connect(grid_, &SheetGrid::enterCell, &watch, [&] { events << "enter " + current(); });
    connect(grid_, &SheetGrid::keyPressed, &watch,
            [&](KeyPress press) { events << QString::number(press.code); });
    layOut(form_, 2, 2);  // data cells: rows 1 to 3, columns 1 to 4
    grid_->setCurrentCell(2, 3);
    grid_->setCurrentCell(2, 3);  // the same cell: nothing
    grid_->setCurrentCell(0, 3);  // the fixed row is never current
    clickCell(grid_, 0, 2);       // nor is a clicked header cell
    clickCell(grid_, 2, 0);
    QTest::keyClick(grid_, Qt::Key_End, Qt::ControlModifier);
    layOut(form_, 1, 1);                        // a smaller sheet moves it inside, as a move
    QTest::keyClick(grid_, Qt::Key_Backspace);  // typed character 8
    QTest::keyClick(grid_, Qt::Key_C, Qt::ControlModifier);  // a command, not a character
    QCOMPARE(events, QStringList({"leave 1,1", "enter 2,3", "leave 2,3", "enter 1,3", "leave 1,3",
                                  "enter 3,4", "leave 3,4", "enter 2,3", "8"}));
  }

  void scrollsA500By500SheetUnderTheFixedHeaders() {
    layOut(form_, 500, 500);
    grid_->setTopRow(100);
    grid_->setLeftCol(50);
    QCOMPARE(QPoint(grid_->cellRect(120, 0).left(), grid_->cellRect(0, 60).top()), QPoint(0, 0));
    QCOMPARE(grid_->cellRect(100, 50).topLeft(), QPoint(grid_->columnWidth(0), grid_->rowHeight()));
    clickCell(grid_, 103, 52);  // the cell under the mouse is the one the rectangles say
    QCOMPARE(current(), QStringLiteral("103,52"));
    // The bars reach the last row and column in full view.
    grid_->verticalScrollBar()->setValue(INT_MAX);
    grid_->horizontalScrollBar()->setValue(INT_MAX);
    const QPoint last = grid_->cellRect(501, 502).bottomRight();
    QVERIFY(last.x() < grid_->verticalScrollBar()->x() &&
            last.y() < grid_->horizontalScrollBar()->y());
  }

  void paintsColoursAndTextInTheSheetFont() {
    layOut(form_, 2, 2);
    grid_->setText(2, 2, "888888");
    grid_->setCellColors(3, 3, Qt::red, Qt::white);
    const QImage image = grid_->grab().toImage();
    QCOMPARE(QColor(image.pixel(grid_->cellRect(3, 3).center())), QColor(Qt::red));
    QVERIFY(image.copy(grid_->cellRect(2, 2)) != image.copy(grid_->cellRect(2, 1)));  // the text
    QVERIFY(QFontMetrics(grid_->font()).inFont(QChar(0x7EA6)));  // 约: Chinese text renders
  }
};

QTEST_MAIN(SheetGridTest)
#include "sheet_grid_test.moc"
