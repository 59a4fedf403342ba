// The coefficient grid: layout over the sheet, fixed header row and column,
// the current cell and its events, scrolling, colours and painting.
#include <QDialog>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <vector>

#include "lp/lp_commands.h"
#include "sheet/sheet_font.h"
#include "sheet/sheet_grid.h"
#include "sheet/twips.h"

using orcalc::Sheet;
using orcalc::ui::KeyPress;
using orcalc::ui::SheetGrid;

namespace {

// Records the current cell whenever the grid reports entering or leaving.
struct CellLog {
  std::vector<QString> events;
  explicit CellLog(SheetGrid& grid) {
    QObject::connect(&grid, &SheetGrid::leaveCell, [this, &grid] {
      events.push_back(QStringLiteral("leave %1,%2").arg(grid.currentRow()).arg(grid.currentCol()));
    });
    QObject::connect(&grid, &SheetGrid::enterCell, [this, &grid] {
      events.push_back(QStringLiteral("enter %1,%2").arg(grid.currentRow()).arg(grid.currentCol()));
    });
  }
};

void layOut(SheetGrid& grid, int variables, int constraints) {
  grid.modifySheet([&](Sheet& sheet) {
    orcalc::lp::LayOutSheet(sheet, variables, constraints, orcalc::lp::Sense::Maximise);
  });
}

QPoint centre(const SheetGrid& grid, int row, int col) { return grid.cellRect(row, col).center(); }

}  // namespace

class SheetGridTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> window_;
  SheetGrid* grid_ = nullptr;
  QLineEdit* other_ = nullptr;

 private slots:
  void init() {
    window_ = std::make_unique<QWidget>();
    window_->resize(700, 500);
    auto* layout = new QVBoxLayout(window_.get());
    grid_ = new SheetGrid(window_.get());
    other_ = new QLineEdit(window_.get());
    layout->addWidget(grid_);
    layout->addWidget(other_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    grid_->setFocus();
  }
  void cleanup() { window_.reset(); }

  void startsAsTwoByTwoWithOneDataCell() {
    QCOMPARE(grid_->rows(), 2);
    QCOMPARE(grid_->cols(), 2);
    QCOMPARE(grid_->currentRow(), 1);
    QCOMPARE(grid_->currentCol(), 1);
    QVERIFY(grid_->hasCurrentDataCell());
    QVERIFY(!grid_->isDataCell(0, 1));
    QVERIFY(!grid_->isDataCell(1, 0));
    QCOMPARE(grid_->columnWidth(1),
             orcalc::ui::twipsToPixelsX(SheetGrid::kDefaultColumnTwips, grid_));
  }

  void laysOutTheSheetWithTwipWidths() {
    layOut(*grid_, 5, 6);
    QCOMPARE(grid_->rows(), 8);
    QCOMPARE(grid_->cols(), 8);
    QCOMPARE(grid_->columnWidth(0), orcalc::ui::twipsToPixelsX(1700, grid_));
    QCOMPARE(grid_->text(0, 6), QStringLiteral("约束符号"));
    QCOMPARE(grid_->text(7, 0), QStringLiteral("约束方程6"));
    // Columns follow one another without gaps or overlaps.
    for (int c = 1; c < grid_->cols(); ++c) {
      QCOMPARE(grid_->cellRect(1, c).left(), grid_->cellRect(1, c - 1).left() + grid_->columnWidth(c - 1));
    }
    // Outside the sheet: empty reads, ignored writes.
    grid_->setText(8, 1, QStringLiteral("x"));
    grid_->setText(-1, 1, QStringLiteral("x"));
    QCOMPARE(grid_->text(8, 1), QString());
    QCOMPARE(grid_->sheet().rows(), 8);
    QVERIFY(grid_->cellRect(8, 1).isNull());
  }

  void textsSurviveARebuildAndTheCurrentCellStaysInside() {
    layOut(*grid_, 5, 6);
    grid_->setText(3, 2, QStringLiteral("42"));
    grid_->setCurrentCell(7, 7);
    grid_->setCurrentCellColors(Qt::red, Qt::green);
    CellLog log(*grid_);
    layOut(*grid_, 2, 2);  // 4 rows, 5 columns
    QCOMPARE(grid_->currentRow(), 3);
    QCOMPARE(grid_->currentCol(), 4);
    QCOMPARE(log.events, (std::vector<QString>{"leave 7,7", "enter 3,4"}));
    layOut(*grid_, 5, 6);
    QCOMPARE(grid_->text(3, 2), QStringLiteral("42"));
    // The colour of a cell that vanished does not come back with it.
    QCOMPARE(grid_->cellBackground(7, 7), QColor(Qt::white));
  }

  void settingTheCurrentCellReportsLeaveThenEnter() {
    layOut(*grid_, 3, 3);
    CellLog log(*grid_);
    grid_->setCurrentCell(2, 3);
    grid_->setCurrentCell(2, 3);  // the same cell: nothing
    grid_->setCurrentRow(4);
    grid_->setCurrentCol(1);
    QCOMPARE(log.events, (std::vector<QString>{"leave 1,1", "enter 2,3", "leave 2,3", "enter 4,3",
                                               "leave 4,3", "enter 4,1"}));
    // Fixed cells never become current.
    grid_->setCurrentCell(0, 0);
    QCOMPARE(grid_->currentRow(), 1);
    QCOMPARE(grid_->currentCol(), 1);
  }

  void arrowKeysMoveWithinTheDataCells() {
    layOut(*grid_, 2, 2);  // data cells rows 1..3, columns 1..4
    CellLog log(*grid_);
    QTest::keyClick(grid_, Qt::Key_Up);
    QTest::keyClick(grid_, Qt::Key_Left);
    QVERIFY(log.events.empty());
    QTest::keyClick(grid_, Qt::Key_Down);
    QTest::keyClick(grid_, Qt::Key_Right);
    QCOMPARE(grid_->currentRow(), 2);
    QCOMPARE(grid_->currentCol(), 2);
    QTest::keyClick(grid_, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid_->currentRow(), 3);
    QCOMPARE(grid_->currentCol(), 4);
    QTest::keyClick(grid_, Qt::Key_Home);
    QCOMPARE(grid_->currentCol(), 1);
  }

  void typedCharactersAreReportedNavigationIsNot() {
    std::vector<int> codes;
    connect(grid_, &SheetGrid::keyPressed, this, [&](KeyPress& press) { codes.push_back(press.code); });
    QTest::keyClick(grid_, Qt::Key_5);
    QTest::keyClick(grid_, Qt::Key_A);
    QTest::keyClick(grid_, Qt::Key_Return);
    QTest::keyClick(grid_, Qt::Key_Backspace);
    QTest::keyClick(grid_, Qt::Key_Escape);
    QTest::keyClick(grid_, Qt::Key_Down);
    QTest::keyClick(grid_, Qt::Key_Tab);
    QTest::keyClick(grid_, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(codes, (std::vector<int>{'5', 'a', 13, 8, 27}));
  }

  void enterAndEscapeStayInTheGridInsideADialog() {
    // A dialog closes on Escape and presses its default button on Enter
    // when the focused control lets those keys through.
    QDialog dialog;
    auto* grid = new SheetGrid(&dialog);
    auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
    button->setDefault(true);
    button->move(0, 300);
    QSignalSpy pressed(button, &QPushButton::clicked);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(pressed.count(), 0);
  }

  void mouseMovesTheCurrentCellAndReportsClicks() {
    layOut(*grid_, 3, 3);
    QSignalSpy clicked(grid_, &SheetGrid::clicked);
    QSignalSpy doubled(grid_, &SheetGrid::doubleClicked);
    QTest::mouseClick(grid_, Qt::LeftButton, {}, centre(*grid_, 3, 2));
    QCOMPARE(grid_->currentRow(), 3);
    QCOMPARE(grid_->currentCol(), 2);
    QCOMPARE(clicked.count(), 1);
    QTest::mouseDClick(grid_, Qt::LeftButton, {}, centre(*grid_, 2, 4));
    QCOMPARE(grid_->currentRow(), 2);
    QCOMPARE(grid_->currentCol(), 4);
    QCOMPARE(doubled.count(), 1);
    // Headers and the empty area beyond the last cell move nothing.
    const int clicks = clicked.count();
    QTest::mouseClick(grid_, Qt::LeftButton, {}, centre(*grid_, 0, 3));
    QTest::mouseClick(grid_, Qt::LeftButton, {}, centre(*grid_, 4, 0));
    QTest::mouseClick(grid_, Qt::LeftButton, {}, QPoint(grid_->width() - 30, grid_->height() - 30));
    QCOMPARE(grid_->currentRow(), 2);
    QCOMPARE(grid_->currentCol(), 4);
    QCOMPARE(clicked.count(), clicks);
  }

  void reportsTheLossOfFocus() {
    QSignalSpy lost(grid_, &SheetGrid::focusLost);
    other_->setFocus();
    QCOMPARE(lost.count(), 1);
  }

  void headersStayWhileTheSheetScrolls() {
    layOut(*grid_, 500, 500);
    QSignalSpy scrolled(grid_, &SheetGrid::scrolled);
    QVERIFY(grid_->verticalScrollBar()->isVisible());
    QVERIFY(grid_->horizontalScrollBar()->isVisible());
    grid_->setTopRow(100);
    grid_->setLeftCol(50);
    QCOMPARE(scrolled.count(), 2);
    QCOMPARE(grid_->cellRect(0, 60).top(), 0);
    QCOMPARE(grid_->cellRect(120, 0).left(), 0);
    QCOMPARE(grid_->cellRect(100, 50).topLeft(),
             QPoint(grid_->columnWidth(0), grid_->rowHeight()));
    // The cell under the mouse is the one the rectangles say.
    QTest::mouseClick(grid_, Qt::LeftButton, {}, centre(*grid_, 103, 52));
    QCOMPARE(grid_->currentRow(), 103);
    QCOMPARE(grid_->currentCol(), 52);
    // The scroll bars reach the last row and column in full view.
    grid_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->maximum());
    grid_->horizontalScrollBar()->setValue(grid_->horizontalScrollBar()->maximum());
    const QRect last = grid_->cellRect(501, 502);
    QVERIFY(last.bottom() < grid_->verticalScrollBar()->geometry().bottom() + 1);
    QVERIFY(last.right() < grid_->verticalScrollBar()->x());
    QVERIFY(last.bottom() < grid_->horizontalScrollBar()->y());
    QCOMPARE(grid_->topRow(), grid_->verticalScrollBar()->value());
  }

  void keyboardAndWheelScrollTheCurrentCellIntoView() {
    layOut(*grid_, 500, 500);
    QSignalSpy scrolled(grid_, &SheetGrid::scrolled);
    QTest::keyClick(grid_, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid_->currentRow(), 501);
    QCOMPARE(grid_->currentCol(), 502);
    QCOMPARE(scrolled.count(), 1);
    const QRect rect = grid_->currentCellRect();
    QVERIFY(rect.top() >= grid_->rowHeight() && rect.right() < grid_->verticalScrollBar()->x());
    QTest::keyClick(grid_, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid_->topRow(), 1);
    QCOMPARE(grid_->leftCol(), 1);
    QWheelEvent wheel(QPointF(50, 50), grid_->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid_, &wheel);
    QVERIFY(grid_->topRow() > 1);
    QCOMPARE(scrolled.count(), 3);
  }

  void coloursStayOnTheirCells() {
    layOut(*grid_, 2, 2);
    grid_->setCurrentCellColors(QColor(0, 0, 128), Qt::white);
    grid_->setCurrentCell(2, 2);
    QCOMPARE(grid_->cellBackground(1, 1), QColor(0, 0, 128));
    QCOMPARE(grid_->cellForeground(1, 1), QColor(Qt::white));
    QCOMPARE(grid_->cellBackground(2, 2), QColor(Qt::white));
    QCOMPARE(grid_->cellForeground(2, 2), QColor(Qt::black));
  }

  void paintsColoursTextAndHeaders() {
    layOut(*grid_, 2, 2);
    grid_->setText(2, 2, QStringLiteral("888888"));
    grid_->setCellColors(1, 1, QColor(0, 0, 128), Qt::white);
    const QImage image = grid_->grab().toImage();
    const QRect navy = grid_->cellRect(1, 1);
    QCOMPARE(QColor(image.pixel(navy.center())), QColor(0, 0, 128));
    const QRect header = grid_->cellRect(0, 2);
    QCOMPARE(QColor(image.pixel(header.left() + 1, header.bottom() - 2)),
             grid_->palette().color(QPalette::Button));
    // The number is drawn inside its cell, and nothing of it beyond.
    const QRect cell = grid_->cellRect(2, 2);
    bool inked = false;
    for (int x = cell.left(); x < cell.right() && !inked; ++x) {
      for (int y = cell.top(); y < cell.bottom() && !inked; ++y) inked = QColor(image.pixel(x, y)) == Qt::black;
    }
    QVERIFY(inked);
  }

  void usesTheSheetFont() {
    const QFont font = orcalc::ui::sheetFont();
    QCOMPARE(font.pointSizeF(), 11.25);
    const QString family = QFontInfo(font).family();
    QVERIFY2(family.contains(QStringLiteral("宋体")) || family.contains(QStringLiteral("SimSun")) ||
                 family.contains(QStringLiteral("Noto Serif CJK")),
             qPrintable(family));
    QCOMPARE(QFontInfo(grid_->font()).family(), family);
    // Chinese headers need a face that has their glyphs.
    QVERIFY(QFontMetrics(font).inFont(QChar(0x7EA6)));  // 约
  }
};

QTEST_MAIN(SheetGridTest)
#include "sheet_grid_test.moc"
