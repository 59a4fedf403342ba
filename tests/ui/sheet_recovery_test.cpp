// The last sheet of each kind of window, kept in the user's data folder:
// written when the window closes, when a calculation starts and a while after
// the sheet changed, and brought back by 文件 → 恢复上次的表格 as one undo
// step.
#include "app/sheet_recovery.h"

#include "app/sheet_files.h"
#include "files/sheet_file.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;
using std::chrono::milliseconds;

namespace {

const QString kLp = QStringLiteral("lp");
const QString kGoal = QStringLiteral("goal");

// 恢复上次的表格, as the 文件 menu shows it.
QAction* restoreItem(SheetWindow& form) {
  auto* file = form.findChild<QMenu*>("menuFile");
  emit file->aboutToShow();
  for (QAction* item : file->actions())
    if (item->text() == QStringLiteral("恢复上次的表格")) return item;
  return nullptr;
}

// The kept sheet's cell, read as a sheet file.
QString keptCell(const QString& kind, int row, int col) {
  const SheetFileRead read = readSheetFile(recoveryFilePath(kind));
  return read.ok ? QString::fromStdString(read.sheet.Cell(row, col)) : QStringLiteral("<none>");
}

}  // namespace

class SheetRecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  // Nothing kept, and no data folder yet.
  void init() {
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
  }

  void aClosedWindowsSheetComesBackAsOneUndoStep() {
    RecordingPlatform platform;
    {
      LpWindow form;
      QVERIFY(restoreItem(form) && !restoreItem(form)->isEnabled());
      fillExample(form);
      form.grid()->setText(1, 1, "30");
      form.minimumOption()->setChecked(true);  // the sense goes with the sheet
      form.show();
      QVERIFY(form.close());
    }
    {
      LpWindow unused;  // closed before a sheet was laid out: keeps the last one
      unused.show();
      QVERIFY(unused.close());
    }
    LpWindow form;
    QAction* restore = restoreItem(form);
    QVERIFY(restore->isEnabled());
    const Sheet fresh = form.grid()->sheet();
    restore->trigger();
    QCOMPARE(form.grid()->text(1, 1), QStringLiteral("30"));
    QCOMPARE(form.grid()->text(3, 2), QStringLiteral("3"));
    QCOMPARE(form.grid()->text(1, 4), QStringLiteral(" Min "));
    QVERIFY(form.minimumOption()->isChecked() && form.calculateButton()->isEnabled());
    QCOMPARE(form.variableCountBox()->text() + form.constraintCountBox()->text(), "22");
    // It belongs to no file.
    QCOMPARE(form.sheetPath(), QString());
    QCOMPARE(form.windowTitle(), QStringLiteral("线性规划计算程序"));
    QCOMPARE(form.undoStack().count(), 1);
    form.undo();
    QCOMPARE(form.grid()->sheet(), fresh);
    QVERIFY(!form.calculateButton()->isEnabled());
    form.redo();
    QCOMPARE(form.grid()->text(1, 1), QStringLiteral("30"));
    // The goal window keeps its own.
    GoalWindow goal;
    QVERIFY(!restoreItem(goal)->isEnabled());
    QCOMPARE(platform.messages, QStringList());
  }

  void aFileSheetIsAskedAboutAndKeptWhateverTheAnswer() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    LpWindow form;
    fillExample(form);
    platform.nextSavePath = dir.filePath("a.csv");
    QVERIFY(form.saveSheet());
    form.show();
    form.grid()->setText(2, 1, "7");
    platform.nextAnswer = SaveChangesAnswer::Cancel;
    QVERIFY(!form.close());
    platform.nextAnswer = SaveChangesAnswer::Discard;
    QVERIFY(form.close());
    QCOMPARE(platform.questions.size(), 2);
    QCOMPARE(keptCell(kLp, 2, 1), QStringLiteral("7"));
    QVERIFY(!readFile(dir.filePath("a.csv")).contains("约束方程1,7,"));
    // Restoring in place of a changed file sheet asks as an open does.
    LpWindow other;
    QVERIFY(other.openSheetFile(dir.filePath("a.csv")));
    other.grid()->setText(2, 1, "5");
    platform.nextAnswer = SaveChangesAnswer::Cancel;
    restoreItem(other)->trigger();
    QCOMPARE(platform.questions.size(), 3);
    QCOMPARE(other.grid()->text(2, 1), QStringLiteral("5"));
    QCOMPARE(other.sheetPath(), dir.filePath("a.csv"));
  }

  void aChangedSheetIsKeptWithinTheDelay() {
    RecordingPlatform platform;
    LpWindow form;
    form.recovery().setWriteDelay(milliseconds(50));
    QAction* restore = restoreItem(form);
    fillExample(form);                                        // OK: a change
    QCOMPARE(keptCell(kLp, 1, 1), QStringLiteral("<none>"));  // not at once
    QTRY_COMPARE(keptCell(kLp, 1, 1), QStringLiteral("3"));
    QVERIFY(restore->isEnabled());
    // Every later change too: an edit, its undo, the sense.
    QGuiApplication::clipboard()->setText("8");
    form.grid()->setCurrentCell(1, 1);
    form.pasteBlock();
    QTRY_COMPARE(keptCell(kLp, 1, 1), QStringLiteral("8"));
    form.undo();
    QTRY_COMPARE(keptCell(kLp, 1, 1), QStringLiteral("3"));
    form.minimumOption()->setChecked(true);
    QTRY_COMPARE(keptCell(kLp, 1, 4), QStringLiteral(" Min "));
    // A sheet that never stops changing is still kept, once a delay.
    form.recovery().setWriteDelay(milliseconds(300));
    QTest::qWait(400);
    const QSignalSpy writes(&form.recovery(), &SheetRecovery::written);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; clock.elapsed() < 1500; ++i) {
      QGuiApplication::clipboard()->setText(QString::number(i));
      form.pasteBlock();
      QTest::qWait(20);
    }
    QVERIFY(writes.count() >= 1 && writes.count() <= 6);
  }

  void aCalculationKeepsTheSheet() {
    RecordingPlatform platform;
    GoalWindow form;
    fillGoals(form);
    form.calculate();
    QCOMPARE(platform.modalCount, 1);  // the results window
    QCOMPARE(readFile(recoveryFilePath(kGoal)),
             QByteArray::fromStdString(WriteSheetCsv(form.grid()->sheet())));
    LpWindow lp;
    QVERIFY(!restoreItem(lp)->isEnabled());
  }
};

QTEST_MAIN(SheetRecoveryTest)
#include "sheet_recovery_test.moc"
