// The grid's layout arithmetic on its own, without a window: a header row
// and column, nine rows of 20 pixels and five columns of 100 pixels beside
// a header column of 50.
#include "sheet/grid_geometry.h"

#include <QTest>

using namespace orcalc::ui;

namespace {

GridGeometry sample(int top = 1, int left = 1) {
  GridGeometry geometry;
  geometry.setRows(10);
  geometry.setRowHeight(20);
  geometry.setColumnWidths({50, 100, 100, 100, 100, 100});
  geometry.setScroll(top, left);
  return geometry;
}

}  // namespace

class GridGeometryTest : public QObject {
  Q_OBJECT

 private slots:
  void cellAtAPoint_data() {
    QTest::addColumn<QPoint>("scroll");  // left column, top row
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QPoint>("cell");  // column, row; (-1, -1) for none
    QTest::newRow("fixed corner") << QPoint(2, 3) << QPoint(10, 10) << QPoint(0, 0);
    QTest::newRow("header row") << QPoint(2, 3) << QPoint(55, 10) << QPoint(2, 0);
    QTest::newRow("first scrolled cell") << QPoint(2, 3) << QPoint(60, 25) << QPoint(2, 3);
    QTest::newRow("last pixel of the area") << QPoint(2, 3) << QPoint(349, 109) << QPoint(4, 7);
    QTest::newRow("right of the area") << QPoint(2, 3) << QPoint(350, 5) << QPoint(-1, -1);
    QTest::newRow("below the last row") << QPoint(1, 8) << QPoint(60, 100) << QPoint(-1, -1);
  }
  void cellAtAPoint() {
    QFETCH(QPoint, scroll);
    QFETCH(QPoint, point);
    QFETCH(QPoint, cell);
    const GridGeometry geometry = sample(scroll.y(), scroll.x());
    const std::optional<GridCell> found = geometry.cellAt(point, QRect(0, 0, 350, 110));
    QCOMPARE(found ? QPoint(found->col, found->row) : QPoint(-1, -1), cell);
    // The cell found contains the point.
    if (found) QVERIFY(geometry.cellRect(found->row, found->col).contains(point));
  }

  void visibleRangeAndScrollLimits() {
    const GridGeometry geometry = sample();
    QCOMPARE(geometry.visibleRows(110), 4);
    QCOMPARE(geometry.visibleCols(350), 3);
    QCOMPARE(geometry.maxTopRow(110), 6);   // rows 6 to 9 show
    QCOMPARE(geometry.maxLeftCol(350), 3);  // columns 3 to 5 fill the 300 pixels
    QCOMPARE(geometry.maxTopRow(1000), 1);
    QCOMPARE(geometry.maxLeftCol(1000), 1);
  }

  void scrollToShow_data() {
    QTest::addColumn<QPoint>("from");  // left column, top row
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QPoint>("cell");  // column, row
    QTest::addColumn<QPoint>("to");
    const QSize area(350, 110);
    QTest::newRow("already shown") << QPoint(1, 1) << area << QPoint(2, 2) << QPoint(1, 1);
    QTest::newRow("below") << QPoint(1, 1) << area << QPoint(1, 6) << QPoint(1, 3);
    QTest::newRow("below and right") << QPoint(1, 1) << area << QPoint(5, 9) << QPoint(3, 6);
    QTest::newRow("above and left") << QPoint(4, 5) << area << QPoint(2, 2) << QPoint(2, 2);
    QTest::newRow("a header cell") << QPoint(4, 5) << area << QPoint(0, 0) << QPoint(4, 5);
    QTest::newRow("larger than the area")
        << QPoint(1, 1) << QSize(100, 30) << QPoint(3, 5) << QPoint(3, 5);
  }
  void scrollToShow() {
    QFETCH(QPoint, from);
    QFETCH(QSize, area);
    QFETCH(QPoint, cell);
    QFETCH(QPoint, to);
    const GridCell scroll = sample(from.y(), from.x()).scrollToShow(cell.y(), cell.x(), area);
    QCOMPARE(QPoint(scroll.col, scroll.row), to);
  }

  void scrollBars_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("horizontal");
    QTest::newRow("everything shows") << QSize(600, 300) << false << false;
    QTest::newRow("both") << QSize(350, 110) << true << true;
    // The columns fit only beside no vertical bar.
    QTest::newRow("vertical makes horizontal") << QSize(555, 110) << true << true;
    QTest::newRow("wide and tall") << QSize(555, 300) << false << false;
  }
  void scrollBars() {
    QFETCH(QSize, size);
    QFETCH(bool, vertical);
    QFETCH(bool, horizontal);
    const GridGeometry::Bars bars = sample().barsNeeded(size, QSize(15, 15));
    QCOMPARE(bars.vertical, vertical);
    QCOMPARE(bars.horizontal, horizontal);
  }

  void editorsLeaveTheGridLinesShowing() {
    QCOMPARE(editorRect(QRect(10, 20, 100, 20)), QRect(10, 20, 99, 19));
    QCOMPARE(editorRect(QRect(10, 20, 0, 0)), QRect(10, 20, 0, 0));
  }
};

QTEST_APPLESS_MAIN(GridGeometryTest)
#include "grid_geometry_test.moc"
