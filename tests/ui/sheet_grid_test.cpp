// The coefficient grid: layout over the sheet, the current cell and its
// events, scrolling under the fixed header row and column, and painting.
#include <QDialog>
#include <QFontInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <vector>

#include "lp/lp_commands.h"
#include "sheet/sheet_font.h"
#include "sheet/sheet_grid.h"
#include "sheet/twips.h"

using orcalc::Sheet;
using orcalc::ui::KeyPress;
using orcalc::ui::SheetGrid;

class SheetGridTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QDialog> window_;
  SheetGrid* grid_ = nullptr;
  std::vector<QString> events_;  // "leave r,c" / "enter r,c", as reported

  void layOut(int variables, int constraints) {
    grid_->modifySheet([&](Sheet& sheet) {
      orcalc::lp::LayOutSheet(sheet, variables, constraints, orcalc::lp::Sense::Maximise);
    });
  }
  void click(int row, int col) {
    QTest::mouseClick(grid_, Qt::LeftButton, {}, grid_->cellRect(row, col).center());
  }
  QString current() const {
    return QStringLiteral("%1,%2").arg(grid_->currentRow()).arg(grid_->currentCol());
  }

 private slots:
  void init() {
    window_ = std::make_unique<QDialog>();
    window_->resize(700, 500);
    grid_ = new SheetGrid(window_.get());
    grid_->setGeometry(0, 0, 700, 460);
    events_.clear();
    connect(grid_, &SheetGrid::leaveCell, this, [this] { events_.push_back("leave " + current()); });
    connect(grid_, &SheetGrid::enterCell, this, [this] { events_.push_back("enter " + current()); });
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    grid_->setFocus();
  }
  void cleanup() { window_.reset(); }

  void laysOutTheSheetAndKeepsTextsAcrossRebuilds() {
    QCOMPARE(grid_->rows(), 2);
    QCOMPARE(grid_->cols(), 2);
    QCOMPARE(current(), QStringLiteral("1,1"));
    layOut(5, 6);
    QCOMPARE(grid_->rows(), 8);
    QCOMPARE(grid_->cols(), 8);
    QCOMPARE(grid_->text(7, 0), QStringLiteral("约束方程6"));
    QCOMPARE(grid_->columnWidth(0), orcalc::ui::twipsToPixelsX(1700, grid_));
    QCOMPARE(grid_->columnWidth(1), orcalc::ui::twipsToPixelsX(SheetGrid::kDefaultColumnTwips, grid_));
    QCOMPARE(grid_->cellRect(1, 2).left(), grid_->columnWidth(0) + grid_->columnWidth(1));
    grid_->setText(8, 1, QStringLiteral("x"));  // outside: ignored
    QCOMPARE(grid_->sheet().rows(), 8);
    grid_->setText(3, 2, QStringLiteral("42"));
    grid_->setCurrentCell(7, 7);
    grid_->setCurrentCellColors(Qt::red, Qt::green);
    events_.clear();
    // Shrinking moves the current cell inside, as a move.
    layOut(2, 2);
    QCOMPARE(events_, (std::vector<QString>{"leave 7,7", "enter 3,4"}));
    layOut(5, 6);
    QCOMPARE(grid_->text(3, 2), QStringLiteral("42"));
    QCOMPARE(grid_->cellBackground(7, 7), QColor(Qt::white));  // gone with its cell
  }

  void movesTheCurrentCellWithLeaveBeforeEnter() {
    layOut(2, 2);  // data cells: rows 1..3, columns 1..4
    grid_->setCurrentCell(2, 3);
    grid_->setCurrentCell(2, 3);  // the same cell: nothing
    QTest::keyClick(grid_, Qt::Key_Up);
    QTest::keyClick(grid_, Qt::Key_Up);  // the fixed row is never current
    QTest::keyClick(grid_, Qt::Key_End, Qt::ControlModifier);
    click(2, 1);
    click(0, 2);  // headers move nothing
    QCOMPARE(events_, (std::vector<QString>{"leave 1,1", "enter 2,3", "leave 2,3", "enter 1,3",
                                            "leave 1,3", "enter 3,4", "leave 3,4", "enter 2,1"}));
  }

  void reportsTypedCharactersAndKeepsThemFromTheDialog() {
    std::vector<int> codes;
    connect(grid_, &SheetGrid::keyPressed, this, [&](KeyPress& press) { codes.push_back(press.code); });
    auto* button = new QPushButton(QStringLiteral("OK"), window_.get());
    button->setDefault(true);
    QSignalSpy pressed(button, &QPushButton::clicked);
    for (int key : {Qt::Key_5, Qt::Key_A, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Down}) {
      QTest::keyClick(grid_, static_cast<Qt::Key>(key));
    }
    QTest::keyClick(grid_, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(codes, (std::vector<int>{'5', 'a', 13, 8, 27}));
    // Enter and Escape neither press the default button nor close.
    QVERIFY(window_->isVisible());
    QCOMPARE(pressed.count(), 0);
  }

  void reportsClicksAndDoubleClicks() {
    layOut(3, 3);
    QSignalSpy clicked(grid_, &SheetGrid::clicked);
    QSignalSpy doubled(grid_, &SheetGrid::doubleClicked);
    click(3, 2);
    QTest::mouseDClick(grid_, Qt::LeftButton, {}, grid_->cellRect(2, 4).center());
    QCOMPARE(current(), QStringLiteral("2,4"));
    QTest::mouseClick(grid_, Qt::LeftButton, {}, QPoint(grid_->width() - 30, grid_->height() - 30));
    QCOMPARE(current(), QStringLiteral("2,4"));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(doubled.count(), 1);
  }

  void scrollsUnderTheFixedRowAndColumn() {
    layOut(500, 500);
    QSignalSpy scrolled(grid_, &SheetGrid::scrolled);
    grid_->setTopRow(100);
    grid_->setLeftCol(50);
    QCOMPARE(scrolled.count(), 2);
    QCOMPARE(grid_->cellRect(0, 60).top(), 0);
    QCOMPARE(grid_->cellRect(120, 0).left(), 0);
    QCOMPARE(grid_->cellRect(100, 50).topLeft(), QPoint(grid_->columnWidth(0), grid_->rowHeight()));
    click(103, 52);  // the cell under the mouse is the one the rectangles say
    QCOMPARE(current(), QStringLiteral("103,52"));
    // The bars reach the last row and column in full view.
    QScrollBar* vbar = grid_->verticalScrollBar();
    QScrollBar* hbar = grid_->horizontalScrollBar();
    vbar->setValue(vbar->maximum());
    hbar->setValue(hbar->maximum());
    const QRect last = grid_->cellRect(501, 502);
    QVERIFY(last.right() < vbar->x() && last.bottom() < hbar->y());
    // The keyboard scrolls the current cell into view; so does the wheel.
    QTest::keyClick(grid_, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid_->topRow(), 1);
    QCOMPARE(grid_->leftCol(), 1);
    QWheelEvent wheel(QPointF(50, 50), grid_->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid_, &wheel);
    QCOMPARE(grid_->topRow(), 4);
    QCOMPARE(vbar->value(), 4);
  }

  void paintsColoursTextAndHeadersInTheSheetFont() {
    layOut(2, 2);
    grid_->setText(2, 2, QStringLiteral("888888"));
    grid_->setCellColors(1, 1, QColor(0, 0, 128), Qt::white);
    const QImage image = grid_->grab().toImage();
    QCOMPARE(QColor(image.pixel(grid_->cellRect(1, 1).center())), QColor(0, 0, 128));
    const QRect header = grid_->cellRect(0, 2);
    QCOMPARE(QColor(image.pixel(header.left() + 1, header.bottom() - 2)),
             grid_->palette().color(QPalette::Button));
    const QRect cell = grid_->cellRect(2, 2).adjusted(0, 0, -1, -1);
    bool inked = false;
    for (int x = cell.left(); x < cell.right(); ++x) {
      for (int y = cell.top(); y < cell.bottom(); ++y) inked |= QColor(image.pixel(x, y)) == Qt::black;
    }
    QVERIFY(inked);
    const QFont font = orcalc::ui::sheetFont();
    QCOMPARE(font.pointSizeF(), 11.25);
    QCOMPARE(QFontInfo(grid_->font()).family(), QFontInfo(font).family());
    QVERIFY(QFontMetrics(font).inFont(QChar(0x7EA6)));  // 约: Chinese renders
  }
};

QTEST_MAIN(SheetGridTest)
#include "sheet_grid_test.moc"
