// The sheet windows' menus and files: the menu bar above the design area,
// open and save (round trips through a fresh window and through
// orcalc-cli), the unsaved-changes question, the file of each
// state that undo brings back, recent files and drops.
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

QByteArray runCli(const QStringList& args) {
  QProcess cli;
  cli.start(QStringLiteral(ORCALC_CLI_PATH), args);
  if (!cli.waitForFinished(30000)) return "<timed out>";
  return cli.readAllStandardOutput();
}

// Pastes `text` at (row, col) of the sheet: one undo step.
void paste(SheetWindow& form, int row, int col, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  form.grid()->setCurrentCell(row, col);
  form.pasteBlock();
}

// The sheet in `path` as a window opens it.
Sheet openedSheet(const QString& path) {
  LpWindow reader;
  return reader.openSheetFile(path) ? reader.grid()->sheet() : Sheet(0, 0);
}

QList<Shown> shownBy(RecordingPlatform& platform, const std::function<void()>& command) {
  QList<Shown> shown;
  recordResults(platform, shown);
  command();
  platform.onModal = nullptr;
  return shown;
}

}  // namespace

class SheetFilesTest : public QObject {
  Q_OBJECT
  QTemporaryDir settings_;

 private slots:
  void initTestCase() {
    // Recent files go into a settings file of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
  }

  void theDesignAreaLiesBelowTheMenuBar() {
    for (bool goal : {false, true}) {
      const std::unique_ptr<SheetWindow> form =
          goal ? std::unique_ptr<SheetWindow>(new GoalWindow) : std::make_unique<LpWindow>();
      QCOMPARE(form->designArea()->y(), form->menuBar()->sizeHint().height());
      QCOMPARE(twips(form->grid()).topLeft(), QPoint(120, 840));
      QCOMPARE(twips(form->designArea()).height(), goal ? 8715 : 8550);
    }
  }

  void savedSheetsOpenAgainAndGiveTheWindowsReports() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    // The sense cell is written from the option buttons, not taken from
    // the grid.
    LpWindow form;
    fillExample(form);
    form.grid()->setText(1, 4, " Min ");
    platform.nextSavePath = dir.filePath("例题");  // ".csv" is added
    QVERIFY(form.saveSheetAs());
    const QString path = dir.filePath("例题.csv");
    QCOMPARE(form.windowTitle(), QStringLiteral("线性规划计算程序 - 例题.csv[*]"));
    const QList<Shown> lp = shownBy(platform, [&] { form.calculate(); });
    QCOMPARE(lp.size(), 1);
    QCOMPARE(runCli({"lp", path}), QByteArray::fromStdString(lp[0].text));
    LpWindow fresh;
    QVERIFY(fresh.openSheetFile(path));
    QVERIFY(fresh.maximumOption()->isChecked() && fresh.calculateButton()->isEnabled());
    QCOMPARE(shownBy(platform, [&] { fresh.calculate(); })[0].text, lp[0].text);
    QCOMPARE(platform.messages, QStringList());

    // The goal window's file, through both as well.
    GoalWindow goals;
    fillGoals(goals);
    const QString goal_path = dir.filePath("goal.csv");
    platform.nextSavePath = goal_path;
    QVERIFY(goals.saveSheet());
    QCOMPARE(runCli({"goal", goal_path}),
             QByteArray::fromStdString(shownBy(platform, [&] { goals.calculate(); })[0].text));
    GoalWindow reopened;
    QVERIFY(reopened.openSheetFile(goal_path));
    QCOMPARE(reopened.grid()->sheet(), goals.grid()->sheet());

    // Both files are remembered, newest first, per kind of sheet.
    QMenu* recent = form.findChild<QMenu*>("menuRecent");
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().size(), 1);
    QVERIFY(recent->actions().front()->text().endsWith("例题.csv"));
  }

  void unsavedChangesAreAskedAboutOnlyForFileSheets() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    QVERIFY(!LpWindow().saveSheet());  // nothing laid out: nothing to save
    QCOMPARE(platform.messages, QStringList{"表格还没有排好，请先按“确定”。"});
    {
      LpWindow form;  // never connected to a file: closes without a question
      fillExample(form);
      form.show();
      QVERIFY(form.close());
    }
    LpWindow form;
    fillExample(form);
    form.show();
    platform.nextSavePath = dir.filePath("a.csv");
    QVERIFY(form.saveSheet());
    QVERIFY(!form.hasUnsavedChanges());
    // The sense is part of the file.
    form.minimumOption()->setChecked(true);
    QVERIFY(form.hasUnsavedChanges());
    form.maximumOption()->setChecked(true);
    QVERIFY(!form.hasUnsavedChanges());
    form.grid()->setText(2, 1, "7");
    platform.nextAnswer = SaveChangesAnswer::Cancel;
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(platform.questions, QStringList{"表格“a.csv”已经改动，要保存吗？"});
    // Opening another file asks as well; 取消 keeps the sheet.
    QVERIFY(!form.openSheetFile(dir.filePath("a.csv")));
    QCOMPARE(form.grid()->text(2, 1), QStringLiteral("7"));
    platform.nextAnswer = SaveChangesAnswer::Save;
    QVERIFY(form.close());
    QVERIFY(readFile(dir.filePath("a.csv")).contains("约束方程1,7,"));
    QCOMPARE(platform.questions.size(), 3);
  }

  // A cancelled dialog saves nothing; a name with its own suffix keeps it; an
  // unchanged file sheet closes without a question; a file gone since leaves
  // the recent list when it fails to open.
  void saveAsKeepsItsSuffixAndAGoneFileLeavesTheRecentList() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath("表.txt");
    LpWindow form;
    fillExample(form);
    form.show();
    QVERIFY(!form.saveSheetAs());
    QVERIFY(form.sheetPath().isEmpty());
    platform.nextSavePath = path;
    QVERIFY(form.saveSheetAs());
    QCOMPARE(form.sheetPath(), path);
    QVERIFY(form.close());
    QCOMPARE(platform.questions, QStringList());
    QVERIFY(QFile::remove(path));
    LpWindow other;
    QMenu* recent = other.findChild<QMenu*>("menuRecent");
    const auto listed = [recent] {
      emit recent->aboutToShow();
      return std::ranges::any_of(recent->actions(),
                                 [](const QAction* a) { return a->text().endsWith("表.txt"); });
    };
    QVERIFY(listed());
    QVERIFY(!other.openSheetFile(path));
    QVERIFY(!listed());
  }

  void undoAcrossAnOpenBringsBackTheFileOfTheSheetItShows() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString a = dir.filePath("A.csv"), b = dir.filePath("B.csv");
    QVERIFY(writeFile(a, ",χ1 系数,约束符号,常数项\n目标函数系数,5, ═ , Min \n"));
    QVERIFY(writeFile(b,
                      ",χ1 系数,χ2 系数,约束符号,常数项\n目标函数系数,3,2, ═ , Max \n"
                      "约束方程1,1,1, ≤ ,4\n"));
    const QByteArray b_bytes = readFile(b);
    LpWindow form;
    showActive(&form);
    QVERIFY(form.openSheetFile(a));
    const Sheet sheet_a = form.grid()->sheet();
    QVERIFY(form.openSheetFile(b));
    const Sheet sheet_b = form.grid()->sheet();
    // Ctrl+Z shows A's sheet as A's, unchanged; Ctrl+S writes it into A.
    QTest::keyClick(form.grid(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(form.grid()->sheet(), sheet_a);
    QCOMPARE(form.windowTitle(), QStringLiteral("线性规划计算程序 - A.csv[*]"));
    QCOMPARE(form.sheetPath(), a);
    QVERIFY(!form.hasUnsavedChanges());
    QTest::keyClick(form.grid(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(readFile(b), b_bytes);
    QCOMPARE(openedSheet(a), sheet_a);
    // Redo brings back B's sheet as B's.
    QTest::keyClick(form.grid(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(form.grid()->sheet(), sheet_b);
    QCOMPARE(form.windowTitle(), QStringLiteral("线性规划计算程序 - B.csv[*]"));
    QVERIFY(!form.hasUnsavedChanges());
    // The question about unsaved changes names the file of the sheet shown,
    // and 保存 writes there.
    form.undo();
    paste(form, 1, 1, "7");
    platform.nextAnswer = SaveChangesAnswer::Save;
    QVERIFY(form.close());
    QCOMPARE(platform.questions, QStringList{"表格“A.csv”已经改动，要保存吗？"});
    QCOMPARE(openedSheet(a).Cell(1, 1), "7");
    QCOMPARE(readFile(b), b_bytes);
    // Before the first open the sheet belonged to no file.
    form.undo(), form.undo();
    QCOMPARE(form.windowTitle(), QStringLiteral("线性规划计算程序"));
    QCOMPARE(form.sheetPath(), QString());
  }

  void undoAcrossASaveAsNeverWritesIntoTheNewFile() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString a = dir.filePath("A.csv"), c = dir.filePath("C.csv");
    QVERIFY(writeFile(a, ",χ1 系数,约束符号,常数项\n目标函数系数,5, ═ , Min \n"));
    LpWindow form;
    QVERIFY(form.openSheetFile(a));
    const Sheet sheet_a = form.grid()->sheet();
    paste(form, 1, 1, "9");
    platform.nextSavePath = c;
    QVERIFY(form.saveSheetAs());
    const QByteArray c_bytes = readFile(c);
    // Undone past the Save As, the sheet is A's again; redone, C's.
    form.undo();
    QCOMPARE(form.grid()->sheet(), sheet_a);
    QCOMPARE(form.sheetPath(), a);
    QVERIFY(!form.hasUnsavedChanges());
    form.redo();
    QCOMPARE(form.sheetPath(), c);
    QVERIFY(!form.hasUnsavedChanges());
    // Saving a sheet from before the Save As writes the file it came from.
    form.undo();
    paste(form, 1, 1, "8");
    QVERIFY(form.saveSheet());
    QCOMPARE(openedSheet(a).Cell(1, 1), "8");
    QCOMPARE(readFile(c), c_bytes);

    // A sheet that came from no file asks for a name, even after it was
    // saved as one.
    LpWindow fresh;
    fillExample(fresh);
    paste(fresh, 1, 1, "4");
    const QString d = dir.filePath("D.csv");
    platform.nextSavePath = d;
    QVERIFY(fresh.saveSheetAs());
    const QByteArray d_bytes = readFile(d);
    fresh.undo();
    QCOMPARE(fresh.windowTitle(), QStringLiteral("线性规划计算程序"));
    QVERIFY(!fresh.hasUnsavedChanges());
    platform.nextSavePath.clear();  // the user cancels the dialog
    const qsizetype asked = platform.saveRequests.size();
    QVERIFY(!fresh.saveSheet());
    QCOMPARE(platform.saveRequests.size(), asked + 1);
    QCOMPARE(readFile(d), d_bytes);
    fresh.redo();
    QCOMPARE(fresh.windowTitle(), QStringLiteral("线性规划计算程序 - D.csv[*]"));
    QVERIFY(!fresh.hasUnsavedChanges());
  }

  void droppedCsvFilesOpen() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath("drop.CSV");
    QVERIFY(writeFile(path, ",χ1 系数,约束符号,常数项\n目标函数系数,5, ═ , Min \n"));
    LpWindow form;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &drop);
    QCOMPARE(form.grid()->text(1, 1), QStringLiteral("5"));
    QCOMPARE(form.variableCountBox()->text() + form.constraintCountBox()->text(),
             QStringLiteral("10"));
    // Anything but a .csv file is not taken.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(dir.filePath("x.txt"))});
    QDragEnterEvent other(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
    other.setAccepted(false);
    QApplication::sendEvent(&form, &other);
    QVERIFY(!other.isAccepted());
  }
};

QTEST_MAIN(SheetFilesTest)
#include "sheet_files_test.moc"
