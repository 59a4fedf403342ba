// The 分析 menu of the linear-programming window: each command runs the
// calculation as 计算 does and is available exactly when 计算 is. What
// the analysis says when there is no optimum is the core's.
#include "app/application.h"
#include "graph/graph_window.h"
#include "sensitivity/sensitivity_command.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

QAction* menuAction(LpWindow& form, const QString& text) {
  auto* menu = form.findChild<QMenu*>(QStringLiteral("analysisMenu"));
  if (!menu) return nullptr;
  for (QAction* action : menu->actions())
    if (action->text() == text) return action;
  return nullptr;
}

}  // namespace

class AnalysisMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setUpApplication(*qApp); }

  void sensitivityAnalysisShowsItsReportOrTheMessage() {
    RecordingPlatform platform;
    QList<Shown> shown;
    recordResults(platform, shown);
    LpWindow form;
    showActive(&form);
    QAction* action = menuAction(form, QStringLiteral("灵敏度分析"));
    QVERIFY(action);
    // Before a sheet is laid out the command is off, its shortcut does nothing.
    QVERIFY(!action->isEnabled());
    QTest::keyClick(&form, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(platform.modalCount, 0);

    fillExample(form);
    QVERIFY(action->isEnabled());
    form.grid()->setText(3, 4, "");
    // The last right-hand side is still in its editor when the shortcut comes.
    form.grid()->setFocus();
    form.grid()->setCurrentCell(3, 4);
    type("6");
    QVERIFY(form.numberEditor()->isVisible());
    QTest::keyClick(form.numberEditor(), Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, QStringLiteral("灵敏度分析结果"));
    orcalc::lp::LpRequest request{2, 2, orcalc::lp::Sense::Maximise};
    const auto expected = orcalc::lp::CalculateSensitivity(request, form.grid()->sheet());
    QCOMPARE(shown[0].text, expected.report.value_or(""));
    QVERIFY(platform.messages.isEmpty());
  }

  void graphicalMethodNeedsTwoVariablesAndASheet() {
    RecordingPlatform platform;
    QList<const GraphWindow*> opened;
    QList<double> optimum;
    platform.onModal = [&](QDialog* dialog) {
      if (auto* graph = qobject_cast<GraphWindow*>(dialog)) {
        opened << graph;
        optimum << graph->geometry().optimum.value;
      }
    };
    LpWindow form;
    showActive(&form);
    QAction* action = menuAction(form, QStringLiteral("图解法"));
    QVERIFY(action);
    form.variableCountBox()->setText(QStringLiteral("2"));
    QVERIFY(!action->isEnabled());  // no sheet yet
    form.maximumOption()->setChecked(true);
    layOut(form, 3, 2);
    QVERIFY(!action->isEnabled());  // three variables
    form.variableCountBox()->setText(QStringLiteral("2"));
    QVERIFY(action->isEnabled());
    fillExample(form);
    QTest::keyClick(&form, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(optimum.value(0), 12.0);
    QVERIFY(platform.messages.isEmpty());
  }
};

QTEST_MAIN(AnalysisMenuTest)
#include "analysis_menu_test.moc"
