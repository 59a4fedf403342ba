// The steps window: opened from 分析 → 单纯形表… after the calculation's own
// messages, stepping through the tables, fractions and decimals, export.
#include "stepsview/steps_window.h"

#include "app/application.h"
#include "steps/pivot_exercise.h"
#include "steps/step_number_text.h"
#include "steps/steps_command.h"
#include "stepsview/steps_table_model.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

// Opens the window from the shortcut on `form` and runs `check` on it while
// it is shown.
int openSteps(RecordingPlatform& platform, SheetWindow& form,
              const std::function<void(StepsWindow&)>& check) {
  int opened = 0;
  platform.onModal = [&](QDialog* dialog) {
    if (auto* steps = qobject_cast<StepsWindow*>(dialog)) {
      ++opened;
      check(*steps);
    }
  };
  QTest::keyClick(&form, Qt::Key_B, Qt::ControlModifier);
  return opened;
}

QString text(const StepsTableModel* model, int row, int column) {
  return model->data(model->index(row, column)).toString();
}

// The steps of a maximisation of two variables, each row "a b ≤ c".
orcalc::steps::StepsDocument stepsOf(const QList<QStringList>& rows,
                                     orcalc::lp::Sense sense = orcalc::lp::Sense::Maximise) {
  orcalc::Sheet sheet;
  const int n = static_cast<int>(rows.size()) - 1;
  orcalc::lp::LayOutSheet(sheet, 2, n, sense);
  for (int r = 0; r <= n; ++r)
    for (int c = 0; c < rows[r].size(); ++c) sheet.SetCell(r + 1, c + 1, rows[r][c].toStdString());
  auto outcome = orcalc::steps::CalculateSteps({2, n, sense}, sheet);
  return outcome.document.value_or(orcalc::steps::StepsDocument{});
}

// The cube squashed so that the largest σj visits many corners:
// max Σ 2^(n-j) χj; Σ_{j<i} 2^(i-j+1) χj + χi ≤ 5^i.
orcalc::Sheet squashedCube(int n) {
  orcalc::Sheet sheet;
  orcalc::lp::LayOutSheet(sheet, n, n, orcalc::lp::Sense::Maximise);
  for (int j = 1; j <= n; ++j) sheet.SetCell(1, j, std::to_string(1 << (n - j)));
  long bound = 1;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j)
      sheet.SetCell(i + 1, j, j < i ? std::to_string(1 << (i - j + 1)) : j == i ? "1" : "0");
    sheet.SetCell(i + 1, n + 1, "≤");
    bound *= 5;
    sheet.SetCell(i + 1, n + 2, std::to_string(bound));
  }
  return sheet;
}

void clickCell(StepsWindow& window, int row, int column) {
  QTableView* view = window.tableView();
  const QRect cell = view->visualRect(window.model()->index(row, column));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

}  // namespace

class StepsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setUpApplication(*qApp); }

  void opensTheExampleAndSteps() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    // No sheet laid out: the shortcut does nothing.
    QCOMPARE(openSteps(platform, form, [](StepsWindow&) {}), 0);
    fillExample(form);
    const int opened = openSteps(platform, form, [](StepsWindow& window) {
      QCOMPARE(window.objectName(), QStringLiteral("frmSteps"));
      QCOMPARE(window.windowTitle(), QStringLiteral("单纯形表"));
      QCOMPARE(window.stepList()->topLevelItemCount(), 2);  // one pivot, two tables
      const StepsTableModel* model = window.model();
      // The first table: c_j row, heading row, two rows, σ_j; χ1..χ4 and θ.
      QCOMPARE(model->rowCount(), 5);
      QCOMPARE(model->columnCount(), 8);
      QCOMPARE(text(model, 1, 1), QStringLiteral("X_B"));
      QCOMPARE(text(model, 2, 3), QStringLiteral("[1]"));  // χ1 enters, χ3 leaves
      QCOMPARE(window.sentenceLabel()->text(), QStringLiteral("χ1 进基，χ3 出基，主元为 1"));
      QVERIFY(!window.previousButton()->isEnabled());
      QTest::mouseClick(window.nextButton(), Qt::LeftButton);
      QCOMPARE(window.currentStep(), std::size_t{1});
      QVERIFY(!window.nextButton()->isEnabled() && !window.lastButton()->isEnabled());
      QCOMPARE(window.stepList()->topLevelItem(1)->text(5), QStringLiteral("12"));
      QCOMPARE(text(model, 3, 4), QStringLiteral("2"));  // χ2's entry in χ4's row
      QTest::mouseClick(window.firstButton(), Qt::LeftButton);
      QCOMPARE(window.currentStep(), std::size_t{0});
      window.stepList()->setCurrentItem(window.stepList()->topLevelItem(1));
      QCOMPARE(window.currentStep(), std::size_t{1});
    });
    QCOMPARE(opened, 1);
    QVERIFY(platform.messages.isEmpty());
  }

  void goalWindowShowsTheLevelsTables() {
    RecordingPlatform platform;
    GoalWindow form;
    showActive(&form);
    // χ1 + χ2 = 10 with d1- at P1; χ1 = 4 with d2+ at P2.
    layOut(form, 2, 2);
    const QList<QStringList> goals{{"1", "1", "10", "1", "1", "0", "0"},
                                   {"1", "", "4", "0", "0", "1", "2"}};
    for (int g = 0; g < 2; ++g) {
      for (int j = 0; j < 2; ++j) form.grid()->setText(g + 1, j + 1, goals[g][j]);
      for (int k = 0; k < 5; ++k) form.grid()->setText(g + 1, k + 4, goals[g][k + 2]);
    }
    const int opened = openSteps(platform, form, [](StepsWindow& window) {
      QVERIFY(window.document().goal);
      QVERIFY(!window.exerciseButton()->isEnabled());
      QVERIFY(window.stepList()->topLevelItemCount() >= 2);
      const StepsTableModel* model = window.model();
      QStringList labels;
      for (int r = 0; r < model->rowCount(); ++r) labels << text(model, r, 1);
      // The evaluation rows of both levels, the one being minimised starred.
      QVERIFY2(labels.contains(QStringLiteral("P1*")), qPrintable(labels.join(' ')));
      QVERIFY(labels.contains(QStringLiteral("P2")));
      QVERIFY(labels.contains(QStringLiteral("d1-")));  // the deviations start basic
      QStringList names;
      for (int c = 0; c < model->columnCount(); ++c) names << text(model, 1, c);
      QVERIFY2(names.contains(QStringLiteral("d1+")), qPrintable(names.join(' ')));
      QVERIFY(window.objectiveLabel()->text().isEmpty());
      window.lastStep();
      QVERIFY(!window.document().ending.empty());
    });
    QCOMPARE(opened, 1);
    QVERIFY(platform.messages.isEmpty());
  }

  void leftOutTablesAreRebuiltAsTheWholeReplayHasThem() {
    using orcalc::steps::CalculateSteps;
    const orcalc::Sheet sheet = squashedCube(4);
    const orcalc::lp::LpRequest request{4, 4, orcalc::lp::Sense::Maximise};
    const auto whole = CalculateSteps(request, sheet, {false});
    // A table is 4 rows by 8 columns: pages of two tables.
    auto paged = CalculateSteps(request, sheet, {false, orcalc::steps::kExactSeconds, 40});
    QVERIFY(whole.document && paged.document);
    QVERIFY(!whole.kept && paged.kept);
    QVERIFY(paged.document->tables_left_out > 0);
    const auto& all = whole.document->tableaux;
    QVERIFY(all.size() > 3);
    StepsWindow window(std::move(*paged.document), nullptr, paged.kept);
    QCOMPARE(window.stepList()->topLevelItemCount(), static_cast<int>(all.size()));
    QVERIFY(!window.exerciseButton()->isEnabled());
    auto sameAsWhole = [&](std::size_t n) {
      QCOMPARE(window.currentStep(), n);
      const orcalc::steps::StepTableau& shown = window.currentTable();
      QCOMPARE(shown.number, static_cast<long>(n));
      QCOMPARE(shown.basis, all[n].basis);
      QCOMPARE(shown.cells.size(), all[n].cells.size());
      for (std::size_t k = 0; k < shown.cells.size(); ++k)
        QCOMPARE(shown.cells[k].decimal, all[n].cells[k].decimal);
      QCOMPARE(text(window.model(), 2, 2), QString::fromStdString(NumberText(all[n].rhs[0])));
      QCOMPARE(window.stepList()->topLevelItem(static_cast<int>(n))->text(0),
               QStringLiteral("表 %1").arg(n + 1));
    };
    for (std::size_t n = 0; n < all.size(); ++n) {
      window.showStep(n);
      sameAsWhole(n);
    }
    // Back through the list, and from the last table to a left-out one.
    window.previousStep();
    sameAsWhole(all.size() - 2);
    window.stepList()->setCurrentItem(window.stepList()->topLevelItem(1));
    sameAsWhole(1);
    window.firstStep();
    sameAsWhole(0);
    // What is printed or exported of a page names the tables it lists, once.
    window.showStep(2);
    const std::vector<std::string>& notes = window.document().notes;
    QCOMPARE(std::count_if(notes.begin(), notes.end(),
                           [](const std::string& note) { return note.starts_with("表太多"); }),
             1);
    QVERIFY(QString::fromStdString(notes.back())
                .startsWith(QStringLiteral("表太多，这里只列出表 3 至表 4")));
  }

  void messagesComeFirst() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    form.maximumOption()->setChecked(true);
    layOut(form, 2, 1);
    setCells(form.grid(), {{"1", "0"}, {"1", "-1", " ≤ ", "1"}});  // unbounded
    QStringList before;
    const int opened = openSteps(platform, form, [&](StepsWindow&) { before = platform.messages; });
    QCOMPARE(opened, 1);
    QVERIFY(!before.isEmpty());
    orcalc::lp::LpRequest request{2, 1, orcalc::lp::Sense::Maximise};
    const auto calculation = orcalc::lp::Calculate(request, form.grid()->sheet());
    QCOMPARE(before.size(), static_cast<qsizetype>(calculation.messages.size()));
    QCOMPARE(before[0], QString::fromStdString(calculation.messages[0]));
  }

  void switchesToDecimals() {
    // max 2χ1 + 3χ2; 2χ1 + χ2 ≤ 4; χ1 + 2χ2 ≤ 5: the second pivot is 3/2.
    StepsWindow window(stepsOf({{"2", "3"}, {"2", "1", " ≤ ", "4"}, {"1", "2", " ≤ ", "5"}}));
    window.showStep(1);
    QVERIFY(window.sentenceLabel()->text().endsWith(QStringLiteral("主元为 3/2")));
    window.decimalsOption()->setChecked(true);
    QVERIFY(window.showsDecimals());
    QVERIFY(window.sentenceLabel()->text().endsWith(QStringLiteral("主元为 1.5")));
    QCOMPARE(window.stepList()->topLevelItem(1)->text(2), QStringLiteral("1.5"));
    QCOMPARE(window.currentStep(), std::size_t{1});
    window.fractionsOption()->setChecked(true);
    QCOMPARE(window.stepList()->topLevelItem(1)->text(2), QStringLiteral("3/2"));
  }

  void exerciseJudgesThePickedPivot() {
    StepsWindow window(stepsOf({{"3", "2"}, {"1", "1", " ≤ ", "4"}, {"1", "3", " ≤ ", "6"}}));
    window.show();
    QTest::mouseClick(window.exerciseButton(), Qt::LeftButton);
    // The method's pivot is not given away.
    QCOMPARE(text(window.model(), 2, 3), QStringLiteral("1"));
    QCOMPARE(window.stepList()->topLevelItem(0)->text(3), QString());
    clickCell(window, 3, 3);  // χ1 in χ4's row: θ 6 against 4
    QCOMPARE(window.exerciseLabel()->text(), QStringLiteral("θ 不是最小，换基后会有负的基变量值"));
    clickCell(window, 2, 5);  // χ3, basic
    QCOMPARE(window.exerciseLabel()->text(), QStringLiteral("该列检验数不能使目标函数改善"));
    QTest::mouseClick(window.hintButton(), Qt::LeftButton);
    QCOMPARE(window.exerciseLabel()->text(), QStringLiteral("提示：χ1 进基，χ3 出基，主元为 1"));
    // χ2 in χ4's row, from the keyboard: sound, though not the method's; the
    // user's table follows.
    window.tableView()->setFocus();
    window.tableView()->setCurrentIndex(window.model()->index(3, 4));
    QTest::keyClick(window.tableView(), Qt::Key_Return);
    QCOMPARE(window.currentStep(), std::size_t{1});
    QCOMPARE(window.stepList()->topLevelItemCount(), 2);
    QCOMPARE(window.stepList()->topLevelItem(0)->text(3), QStringLiteral("χ2"));
    window.stepList()->setCurrentItem(window.stepList()->topLevelItem(0));
    QCOMPARE(text(window.model(), 3, 4), QStringLiteral("[3]"));  // the user's own pivot is shown
    window.lastStep();
    QCOMPARE(window.stepList()->topLevelItem(1)->text(5), QStringLiteral("4"));
    QTest::mouseClick(window.hintButton(), Qt::LeftButton);
    QCOMPARE(window.exerciseLabel()->text(), QStringLiteral("提示：χ1 进基，χ3 出基，主元为 2/3"));
    window.firstStep();
    QTest::mouseClick(window.hintButton(), Qt::LeftButton);  // still the method's
    QCOMPARE(window.exerciseLabel()->text(), QStringLiteral("提示：χ1 进基，χ3 出基，主元为 1"));
    // Off again: the calculation's own tables.
    QTest::mouseClick(window.exerciseButton(), Qt::LeftButton);
    QCOMPARE(window.stepList()->topLevelItem(0)->text(3), QStringLiteral("χ1"));
    QCOMPARE(window.stepList()->topLevelItem(1)->text(5), QStringLiteral("12"));
  }

  void exerciseCarriesTheUsersTablesIntoPhaseTwo() {
    // min 2χ1 + 3χ2; χ1 + χ2 ≥ 4; χ1 + 2χ2 = 6.
    StepsWindow window(stepsOf({{"2", "3"}, {"1", "1", " ≥ ", "4"}, {"1", "2", " ═ ", "6"}},
                               orcalc::lp::Sense::Minimise));
    window.show();
    QTest::mouseClick(window.exerciseButton(), Qt::LeftButton);
    // Neither the method's pivots nor the objective of the tables ahead.
    QVERIFY(!window.stepList()->topLevelItem(0)->text(5).isEmpty());
    for (int i = 1; i < window.stepList()->topLevelItemCount(); ++i)
      QCOMPARE(window.stepList()->topLevelItem(i)->text(5), QString());
    for (int taken = 0; taken < 10 && !window.endingLabel()->isVisible(); ++taken) {
      const auto pick = orcalc::steps::TextbookPivot(window.document(), window.currentTable());
      QVERIFY(pick);
      window.pickPivot(pick->row, pick->column);
    }
    QCOMPARE(window.currentTable().phase, 2);
    QCOMPARE(window.endingLabel()->text(),
             QStringLiteral("所有检验数 σj ≥ 0，已达最优：χ1 = 2，χ2 = 2，目标函数值 S = 10。"));
    QCOMPARE(window.objectiveLabel()->text().right(2), QStringLiteral("10"));
    const int last = window.stepList()->topLevelItemCount() - 1;
    QCOMPARE(window.stepList()->topLevelItem(last)->text(1), QStringLiteral("第二阶段"));
    QCOMPARE(window.stepList()->topLevelItem(last - 1)->text(1), QStringLiteral("第一阶段"));
  }

  void exportsThroughTheWriter_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("part");
    // clang-format off
    QTest::newRow("html by filter") << "s" << "HTML 网页 (*.html)" << "s.html" << "<td class=\"pivot\">[1]</td>";
    QTest::newRow("latex by filter") << "s" << "LaTeX 文件 (*.tex)" << "s.tex" << "\\begin{tabular}";
    QTest::newRow("csv by name") << "s.csv" << "HTML 网页 (*.html)" << "s.csv" << ",[1],";
    // clang-format on
  }

  void exportsThroughTheWriter() {
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QString, part);
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    fillExample(form);
    QTemporaryDir dir;
    platform.nextSavePath = dir.filePath(name);
    platform.nextSaveFilter = filter;
    openSteps(platform, form, [](StepsWindow& window) {
      QTest::mouseClick(window.exportButton(), Qt::LeftButton);
    });
    QFile file(dir.filePath(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(file.readAll()).contains(part));
    // The bytes go through the platform's writes: a full disk is heard.
    platform.failWritesWith = ENOSPC;
    platform.nextSavePath = dir.filePath(written);
    openSteps(platform, form, [](StepsWindow& window) { window.exportSteps(); });
    QCOMPARE(platform.messages.size(), 1);
  }
};

QTEST_MAIN(StepsWindowTest)
#include "steps_window_test.moc"
