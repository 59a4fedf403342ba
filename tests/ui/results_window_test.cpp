// The results window: keyboard order, resizing and
// saving. Saves that fail on permissions or full and read-only disks are
// covered by save_failures_test.
#include <Qsci/qsciscintilla.h>

#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

class ResultsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theKeyboardLeavesTheReportBoxByTabAndReachesTheButtons() {
    RecordingPlatform platform;
    ResultsWindow form;
    form.setReportText(kExampleReport);
    QVERIFY(!form.reportBox()->isUndoAvailable());  // loading is no edit to undo
    showActive(&form);
    QCOMPARE(QApplication::focusWidget(), form.reportBox());
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
      QTest::keyClick(QApplication::focusWidget(), key, modifiers);
      return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "none";
    };
    // Tab and Ctrl+Tab go box → 确 定 → 保 存 → box, Shift+Tab back.
    const QStringList path = {press(Qt::Key_Tab),
                              press(Qt::Key_Tab),
                              press(Qt::Key_Tab),
                              press(Qt::Key_Backtab, Qt::ShiftModifier),
                              press(Qt::Key_Tab, Qt::ShiftModifier),
                              press(Qt::Key_Backtab, Qt::ShiftModifier),
                              press(Qt::Key_Tab, Qt::ControlModifier),
                              press(Qt::Key_Tab, Qt::ControlModifier),
                              press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier),
                              press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier)};
    QCOMPARE(path, QStringList({"Command1", "Command2", "Text1", "Command2", "Command1", "Text1",
                                "Command1", "Command2", "Command1", "Text1"}));
    QCOMPARE(form.reportBytes(), QByteArray(kExampleReport));  // no tab went in
    // Enter in the box still edits it; Enter on a button presses it.
    press(Qt::Key_Return);
    QCOMPARE(form.reportBytes(), "\r\n" + QByteArray(kExampleReport));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Return);
    QCOMPARE(platform.saveRequests.size(), 1);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Return);
    QVERIFY(!form.isVisible());
  }

  void resizeFollowsTheWindowAndSkipsBelowTheMargins() {
    ResultsWindow form;
    showActive(&form);
    // Report box and frame W − 300 wide, report box H − 1200 high (W, H:
    // the outer size); nothing else moves.
    const QSize outer(pixelsToTwipsX(form.frameGeometry().width(), &form),
                      pixelsToTwipsY(form.frameGeometry().height(), &form));
    QCOMPARE(twips(form.reportBox()).size(), outer - QSize(300, 1200));
    const QRect text0 = twips(form.reportBox()), frame0 = twips(form.panel());
    form.resize(form.width() + twipsToPixelsX(1500, &form),
                form.height() + twipsToPixelsY(600, &form));
    QTRY_COMPARE(twips(form.reportBox()), text0.adjusted(0, 0, 1500, 600));
    QCOMPARE(twips(form.panel()), frame0.adjusted(0, 0, 1500, 0));
    // Below the margins the last sizes stay.
    const QRect text1 = form.reportBox()->geometry();
    form.resize(5, 5);
    QTRY_VERIFY(form.size() == QSize(5, 5) && form.reportBox()->geometry() == text1);
  }

  void saveWritesTheBoxInGb18030UnderTheNameChosen() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString report = dir.filePath("report.TXT"), plain = dir.filePath("noext");
    ResultsWindow form;
    form.setReportText(kExampleReport);
    platform.nextSavePath = report;
    QTest::mouseClick(form.saveButton(), Qt::LeftButton);
    const QByteArray written = readFile(report);
    QCOMPARE(written, gb18030(kExampleReport));
    // By hand: 线性规划计算结果 and the last line's χ in their GBK codes,
    // nothing added.
    QVERIFY(
        written.startsWith("---------" + QByteArray::fromHex("CFDFD0D4B9E6BBAEBCC6CBE3BDE1B9FB")));
    QVERIFY(written.endsWith(QByteArray::fromHex("A6D6") + "2 =  0\r\n"));
    // No name offered the first time (the dialog's filters are checked
    // with Qt's texts).
    QCOMPARE(platform.saveRequests[0].initialPath, QString());
    // Edits are saved; a name without an extension stays as it is; the
    // characters GBK lacks keep their four-byte codes; the name chosen
    // last is offered again.
    form.setReportText("ab\r\n");
    form.reportBox()->insertAt(QStringLiteral("═😀统计"), 1, 0);
    platform.nextSavePath = plain;
    form.save();
    QCOMPARE(readFile(plain), "ab\r\n" + QByteArray::fromHex("A8549439FC36CDB3BCC6"));
    QCOMPARE(platform.saveRequests[1].initialPath, report);
    // An empty box empties the file; a cancelled dialog writes nothing.
    form.setReportText("");
    form.save();
    form.setReportText("new");
    platform.nextSavePath.clear();
    form.save();
    QCOMPARE(readFile(plain), QByteArray());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"noext", "report.TXT"}));
  }

  // A report loaded a part at a time is the report: each part ends after a
  // line end, so that no character is cut; a line longer than a part goes
  // whole; no undo afterwards.
  void aReportLoadedInPartsIsTheWholeReport_data() {
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<int>("partBytes");
    QTest::addColumn<int>("parts");
    QTest::newRow("short lines") << QByteArray("χ1 = 1\r\nχ2 = 2\r\n第3行\r\n") << 9 << 3;
    QTest::newRow("a line longer than a part")
        << QByteArray("12345678901234567890统计\r\nab\r\ncd") << 8 << 2;
    QTest::newRow("no line end") << QByteArray("统计统计统计") << 4 << 1;
    QTest::newRow("empty") << QByteArray() << 4 << 1;
    QTest::newRow("the example in one part") << QByteArray(kExampleReport) << 1 << 0;
  }
  void aReportLoadedInPartsIsTheWholeReport() {
    QFETCH(QByteArray, report);
    QFETCH(int, partBytes);
    QFETCH(int, parts);
    ResultsWindow form;
    form.setReportText("old\r\n");
    const std::string text = report.toStdString();
    form.beginReportText();
    std::size_t loaded = 0;
    int count = 1;
    while (!form.loadReportPart(text, loaded, std::size_t(partBytes))) {
      ++count;
      // Every part so far ends after a line end.
      QCOMPARE(text[loaded - 1], '\n');
      QCOMPARE(form.reportBytes(), report.left(qsizetype(loaded)));
    }
    QCOMPARE(form.reportBytes(), report);
    if (parts > 0) QCOMPARE(count, parts);
    QVERIFY(!form.reportBox()->isUndoAvailable());
  }
};

QTEST_MAIN(ResultsWindowTest)
#include "results_window_test.moc"
