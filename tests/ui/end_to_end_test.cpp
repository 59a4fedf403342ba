// The whole road of a calculation through the program's own windows, with
// the keyboard and the mouse only: counts into the boxes, the sense, OK,
// every number and sign through the cell editors, Calculate, and saving the
// report; the saved file is compared byte for byte.
#include "app/application.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

class EndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setUpApplication(*qApp); }

  void fillsSolvesAndSavesTheExample() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    LpWindow form;
    SheetGrid* grid = form.grid();
    showActive(&form);
    for (QLineEdit* box : {form.variableCountBox(), form.constraintCountBox()}) {
      QTest::mouseClick(box, Qt::LeftButton);
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      type("2");
    }
    QTest::mouseClick(form.maximumOption(), Qt::LeftButton);
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
    QCOMPARE(QSize(grid->cols(), grid->rows()), QSize(5, 4));
    // The objective row: Enter commits and an arrow key moves on; Down
    // commits and moves to the first constraint.
    clickCell(grid, 1, 1);
    type("3\r");
    QTest::keyClick(grid, Qt::Key_Right);
    type("2");
    QTest::keyClick(form.numberEditor(), Qt::Key_Down);
    settle();
    type("1");
    // A click on another cell commits too, and a double-click opens one.
    clickCell(grid, 2, 1);
    type("1");
    clickCell(grid, 2, 4);
    type("4");
    clickCell(grid, 3, 1);
    type("1\r");
    QTest::mouseDClick(grid, Qt::LeftButton, {}, grid->cellRect(3, 2).center());
    type("3");
    for (int row : {2, 3}) {
      clickCell(grid, row, 3);
      QVERIFY(chooseFromList(form.signDropDown(), 1));
    }
    // The last number is still in its editor when Calculate is pressed.
    clickCell(grid, 3, 4);
    type("6");
    QByteArray shown;
    platform.nextSavePath = dir.filePath("报告.TXT");
    platform.onModal = [&](QDialog* dialog) {
      shown = static_cast<ResultsWindow*>(dialog)->reportBytes();
      QTest::mouseClick(static_cast<ResultsWindow*>(dialog)->saveButton(), Qt::LeftButton);
    };
    QTest::mouseClick(form.calculateButton(), Qt::LeftButton);
    QCOMPARE(platform.modalCount, 1);
    QVERIFY(platform.messages.isEmpty() && platform.beeps == 0);
    QCOMPARE(shown, QByteArray(kExampleReport));
    QCOMPARE(readFile(platform.nextSavePath), gb18030(kExampleReport));
  }
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
