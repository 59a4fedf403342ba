// What the sheet windows guard: a calculation on a layout the count boxes
// no longer describe, the cells the layout fills under cut, clear and
// paste, the sense cell following the option buttons, and the caption's
// mark of unsaved changes.
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

const QString kStale = QStringLiteral("变量数或约束方程数已改变，请先按“确定”。");

}  // namespace

class SheetWindowGuardsTest : public QObject {
  Q_OBJECT

 private slots:
  // A count typed without 确定: 计算, 灵敏度分析, 图解法 and 单纯形表 say so and
  // calculate nothing; 统计 goes on (its count is the box's by design).
  void staleLayoutIsRefused_data() {
    QTest::addColumn<bool>("goal");
    QTest::addColumn<QString>("variables");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("command");
    const auto row = [](const char* name, bool goal, const char* variables, const char* rows,
                        const char* command) {
      QTest::newRow(name) << goal << QString(variables) << QString(rows) << QString(command);
    };
    row("lp: one more variable, 计算", false, "3", "2", "calculate");
    row("lp: one constraint less, 计算", false, "2", "1", "calculate");
    row("lp: 灵敏度分析", false, "3", "2", "sensitivity");
    row("lp: 图解法", false, "2", "3", "graph");
    row("lp: 单纯形表", false, "3", "2", "steps");
    row("goal: one more variable, 计算", true, "3", "2", "calculate");
    row("goal: one goal less, 计算", true, "2", "1", "calculate");
  }

  void staleLayoutIsRefused() {
    QFETCH(bool, goal);
    QFETCH(QString, variables);
    QFETCH(QString, rows);
    QFETCH(QString, command);
    RecordingPlatform platform;
    LpWindow lp;
    GoalWindow goals;
    SheetWindow& form = goal ? static_cast<SheetWindow&>(goals) : lp;
    goal ? fillGoals(goals) : fillExample(lp);
    const Sheet before = form.grid()->sheet();
    form.variableCountBox()->setText(variables);
    form.constraintCountBox()->setText(rows);
    if (command == "calculate") form.calculate();
    if (command == "sensitivity") lp.sensitivityAnalysis();
    if (command == "graph") lp.graphicalMethod();
    if (command == "steps") lp.simplexSteps();
    QCOMPARE(platform.messages, QStringList{kStale});
    QCOMPARE(platform.modalCount, 0);
    QCOMPARE(form.grid()->sheet(), before);
    // 确定 lays the sheet out again; then it calculates.
    form.ok();
    platform.onModal = [](QDialog*) {};
    form.calculate();
    QCOMPARE(platform.messages, QStringList{kStale});
    QCOMPARE(platform.modalCount, 1);
  }

  void statisticsReadsTheBoxAsBefore() {
    RecordingPlatform platform;
    platform.onModal = [](QDialog*) {};
    LpWindow form;
    fillExample(form);
    form.constraintCountBox()->setText("1");
    clickCell(form.grid(), 2, 1);
    form.statistics();
    QVERIFY(!platform.messages.contains(kStale));
    QCOMPARE(platform.modalCount, 1);
  }

  // The sheet's own copy pastes back: the header cells and the objective
  // row's sign and sense cells are left alone by cut and clear, and a field
  // they can hold is skipped when pasted.
  void cutBlockPastesBack() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    fillExample(form);
    const Sheet before = form.grid()->sheet();
    clickCell(form.grid(), 1, 1);
    form.selectAllCells();
    form.cutBlock();
    QCOMPARE(form.grid()->text(1, 3), QStringLiteral(" ═ "));
    QCOMPARE(form.grid()->text(1, 4), QStringLiteral(" Max "));
    QCOMPARE(form.grid()->text(2, 1), QString());
    clickCell(form.grid(), 1, 1);
    form.pasteBlock();
    QCOMPARE(platform.messages, QStringList());
    QCOMPARE(form.grid()->sheet(), before);
    // Clear leaves them too; the other sense pasted over the sense cell
    // changes nothing.
    form.selectAllCells();
    form.clearBlock();
    QCOMPARE(form.grid()->text(1, 4), QStringLiteral(" Max "));
    QGuiApplication::clipboard()->setText(" Min ");
    clickCell(form.grid(), 1, 4);
    form.pasteBlock();
    QCOMPARE(platform.messages, QStringList());
    QCOMPARE(form.grid()->text(1, 4), QStringLiteral(" Max "));
    // Any other text is refused there as before.
    QGuiApplication::clipboard()->setText("abc");
    form.pasteBlock();
    QCOMPARE(platform.messages.size(), 1);
  }

  // The sense cell follows the options, and the caption marks changes.
  void senseCellAndCaptionFollowTheOptions() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    LpWindow form;
    fillExample(form);
    platform.nextSavePath = dir.filePath("a.csv");
    QVERIFY(form.saveSheetAs());
    QVERIFY(!form.isWindowModified());
    form.minimumOption()->setChecked(true);
    QVERIFY(form.isWindowModified());
    QCOMPARE(form.grid()->text(1, 4), QStringLiteral(" Min "));
    form.maximumOption()->setChecked(true);
    QVERIFY(!form.isWindowModified());
    QCOMPARE(form.grid()->text(1, 4), QStringLiteral(" Max "));
    clickCell(form.grid(), 2, 1);
    form.clearBlock();
    QVERIFY(form.isWindowModified());
    form.undo();
    QVERIFY(!form.isWindowModified());
  }
  // A right click on the grid offers the 编辑 menu's commands; the window
  // cannot be made so small that the panel's buttons are cut off.
  void gridMenuAndSmallestWindow() {
    RecordingPlatform platform;
    for (bool goal : {false, true}) {
      std::unique_ptr<SheetWindow> form(goal ? static_cast<SheetWindow*>(new GoalWindow)
                                             : new LpWindow);
      showActive(form.get());
      layOut(*form, 2, 2);
      emit form->grid()->customContextMenuRequested(form->grid()->cellRect(1, 1).center());
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      QCOMPARE(menu, form->menuBar()->findChild<QMenu*>("menuEdit"));
      menu->close();
      form->resize(50, 50);
      QVERIFY(form->width() >= form->exitButton()->mapTo(form.get(), QPoint(0, 0)).x() +
                                   form->exitButton()->width());
      QVERIFY(form->height() > form->grid()->mapTo(form.get(), QPoint(0, 0)).y() +
                                   form->grid()->cellRect(1, 1).bottom());
    }
  }
};

QTEST_MAIN(SheetWindowGuardsTest)
#include "sheet_window_guards_test.moc"
