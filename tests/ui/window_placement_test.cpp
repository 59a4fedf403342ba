// Windows placed over their owner stay on the screen, title bar included:
// the arithmetic over a table of owners near the edges, and a window placed
// over a real owner at the top of the offscreen screen.
#include "platform/window_placement.h"

#include "support/window_helpers.h"

using namespace orcalc::ui;

class WindowPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void framesStayInsideTheAvailableArea_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("client");
    // A screen of 1024 × 768 with a panel of 32 at the top; frames with a
    // title bar of 20 and borders of 1 and 5.
    // clang-format off
    QTest::newRow("centred over an owner in the middle") << QRect(200, 200, 600, 400) << QSize(400, 200) << QRect(300, 307, 400, 200);
    QTest::newRow("an owner at the top: the title bar below the panel") << QRect(130, 32, 722, 200) << QSize(760, 620) << QRect(111, 52, 760, 620);
    QTest::newRow("an owner above the screen") << QRect(130, -300, 722, 200) << QSize(300, 200) << QRect(341, 52, 300, 200);
    QTest::newRow("an owner at the bottom right") << QRect(800, 700, 400, 300) << QSize(400, 300) << QRect(623, 463, 400, 300);
    QTest::newRow("taller than the screen: cut to it") << QRect(0, 0, 1024, 768) << QSize(500, 900) << QRect(262, 52, 500, 711);
    // clang-format on
  }
  void framesStayInsideTheAvailableArea() {
    QFETCH(QRect, owner);
    QFETCH(QSize, size);
    QFETCH(QRect, client);
    const QRect available(0, 32, 1024, 736);
    const QMargins margins(1, 20, 1, 5);
    const QRect placed = placeOver(owner, size, margins, available);
    QCOMPARE(placed, client);
    QVERIFY(available.contains(placed.marginsAdded(margins)));
  }

  void aWindowOverAnOwnerAtTheTopOfTheScreen() {
    QWidget owner;
    owner.setGeometry(QRect(QPoint(0, 0), QSize(300, 80)));
    owner.show();
    QDialog window(&owner, Qt::Window);
    window.resize(500, 400);
    placeOverOwner(&window, &owner);
    const QRect available = owner.screen()->availableGeometry();
    QVERIFY(available.contains(window.geometry()));
    QCOMPARE(window.size(), QSize(500, 400));
    // Larger than the screen: its frame as large as the screen's area.
    QDialog large(&owner, Qt::Window);
    large.resize(available.size() + QSize(200, 200));
    placeOverOwner(&large, &owner);
    const QRect frame = owner.frameGeometry(), client = owner.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    QCOMPARE(large.geometry().marginsAdded(margins), available);
  }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
