// Calculations on a worker thread: the window takes no input meanwhile but
// its event loop runs; after half a second the progress dialog shows the
// phase and the pivots; 取消 ends with the one message "计算已取消。" and
// nothing else; a quick calculation shows no dialog; messages come after
// the worker, in their order, before the results window.
#include "app/calculation_runner.h"

#include <Qsci/qsciscintilla.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/window_helpers.h"

namespace orcalc::ui::testing {

// The linear-programming window with its calculation replaced by one that
// pivots for `seconds` (one pivot a millisecond, the second phase from
// 0.65 s on) unless stopped, then answers with two messages and a report.
class SlowForm : public LpWindow {
 public:
  double seconds = 2;
  std::string report = "report\r\n";
  // Spends its time building the report, which heeds no stop request.
  bool buildingReport = false;
  std::atomic<bool> stoppedEarly{false};
  std::atomic<bool> finished{false};

 protected:
  CalculationJob prepareCalculation(int, int) override {
    return [this](Progress& progress) {
      const auto start = std::chrono::steady_clock::now();
      const auto end = start + std::chrono::duration<double>(seconds);
      progress.SetPhase(buildingReport ? ProgressPhase::Report : ProgressPhase::Phase1);
      for (long pivots = 1; std::chrono::steady_clock::now() < end; ++pivots) {
        if (!buildingReport && progress.ShouldStop()) {
          stoppedEarly = true;
          return CalculationOutcome{{}, std::nullopt, {}, true};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        progress.SetPivots(pivots);
        if (!buildingReport &&
            std::chrono::steady_clock::now() - start > std::chrono::milliseconds(650))
          progress.SetPhase(ProgressPhase::Phase2);
      }
      finished = true;
      CalculationOutcome outcome;
      outcome.messages = {"无最优解！", "无解！"};
      outcome.report = report;
      return outcome;
    };
  }
};

// A report large enough to load under the progress dialog.
std::string largeReport() {
  std::string line(78, '9');
  line += "\r\n";
  std::string report;
  report.reserve(kReportLoadNoticeBytes + line.size());
  while (report.size() < kReportLoadNoticeBytes) report += line;
  return report;
}

class CalculationRunnerTest : public QObject {
  Q_OBJECT

 private slots:
  void cancelShowsOneMessageAndChangesNothing() {
    RecordingPlatform platform;
    SlowForm form;
    showActive(&form);
    layOut(form, 2, 2);
    setCells(form.grid(), {{"3", "2"}, {"1", "1", "≤", "4"}});
    const Sheet before = form.grid()->sheet();
    bool disabledMeanwhile = false;
    int ticks = 0;  // the window's event loop runs during the calculation
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    platform.onProgress = [&] {
      disabledMeanwhile = !form.isEnabled() && !form.calculateButton()->isEnabled();
      QTimer::singleShot(500, &form, [&] {
        if (platform.pressCancel) platform.pressCancel();
      });
    };
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form.calculateButton(), Qt::LeftButton);
    QVERIFY(clock.elapsed() < 1800);  // stopped well before its end
    QVERIFY(form.stoppedEarly && !form.finished);
    QCOMPARE(platform.progressShows, 1);
    QVERIFY(disabledMeanwhile);
    QVERIFY(ticks >= 20);
    QVERIFY(!platform.progressOpen);
    QCOMPARE(platform.messages, QStringList{"计算已取消。"});
    QCOMPARE(platform.modalCount, 0);  // no results window
    QVERIFY(form.grid()->sheet() == before);
    QVERIFY(form.isEnabled() && form.calculateButton()->isEnabled());
    // The texts: the first phase, then the second, the pivots growing.
    QVERIFY(platform.progressTexts.size() >= 3);
    QVERIFY(platform.progressTexts.first().startsWith("第一阶段：已迭代 "));
    QVERIFY(platform.progressTexts.last().startsWith("第二阶段：已迭代 "));
    QVERIFY(platform.progressTexts.last().endsWith(" 次"));
  }

  // The sheet the worker reads stays as it is: the edit commands' keys do
  // nothing while the window waits for its calculation. Its messages come
  // afterwards, in their order, before the results window.
  void editKeysDoNothingAndMessagesComeInOrderAfterTheWorker() {
    RecordingPlatform platform;
    SlowForm form;
    form.seconds = 0.8;
    showActive(&form);
    layOut(form, 2, 2);
    setCells(form.grid(), {{"3", "2"}, {"1", "1", "≤", "4"}});
    const Sheet before = form.grid()->sheet();
    QWidget* grid = form.grid();
    platform.onProgress = [&] {
      QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(grid, Qt::Key_Delete);
      QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
      QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
      QTest::keyClick(&form, Qt::Key_T, Qt::ControlModifier);  // 灵敏度分析
    };
    int messagesBeforeReport = -1;
    platform.onModal = [&](QDialog*) { messagesBeforeReport = int(platform.messages.size()); };
    form.calculate();
    QVERIFY(form.finished);
    QCOMPARE(platform.progressShows, 1);
    QVERIFY(!platform.progressOpen);
    QVERIFY(form.grid()->sheet() == before);
    QCOMPARE(platform.modalCount, 1);  // 计算's results window alone
    QCOMPARE(platform.messages, (QStringList{"无最优解！", "无解！"}));
    QCOMPARE(messagesBeforeReport, 2);
  }

  // A quick calculation with a report large enough to take a moment to load
  // shows the dialog while the results window loads it, closed before the
  // window shows.
  void aLargeReportLoadsUnderTheDialog() {
    RecordingPlatform platform;
    SlowForm form;
    form.seconds = 0;
    form.report = largeReport();
    layOut(form, 2, 2);
    bool openAtShow = true;
    int messagesAtShow = -1;
    platform.onModal = [&](QDialog*) {
      openAtShow = platform.progressOpen;
      messagesAtShow = int(platform.messages.size());
    };
    form.calculate();
    QCOMPARE(platform.modalCount, 1);
    QCOMPARE(platform.progressShows, 1);
    QCOMPARE(platform.progressTexts.last(), QStringLiteral("正在生成报告…"));
    QVERIFY(!openAtShow);
    QCOMPARE(messagesAtShow, 2);  // the calculation's messages, then the window
  }

  // 取消 in every phase ends the same way: "计算已取消。" alone, no results
  // window, the window as it was; while the report loads, within 0.2 s.
  void cancelWhileTheReportLoadsOrIsBuilt_data() {
    QTest::addColumn<bool>("buildingReport");
    QTest::addColumn<bool>("whileLoading");
    QTest::newRow("while the report is built") << true << false;
    QTest::newRow("as the loading starts") << false << false;
    QTest::newRow("part-way through the loading") << false << true;
  }
  void cancelWhileTheReportLoadsOrIsBuilt() {
    QFETCH(bool, buildingReport);
    QFETCH(bool, whileLoading);
    RecordingPlatform platform;
    SlowForm form;
    form.seconds = buildingReport ? 0.8 : 0;
    form.buildingReport = buildingReport;
    form.report = largeReport();
    showActive(&form);
    layOut(form, 2, 2);
    const Sheet before = form.grid()->sheet();
    QElapsedTimer sincePress;
    QTimer watch;  // presses 取消 once some of the report is in the box
    bool disabledMeanwhile = false;
    connect(&watch, &QTimer::timeout, [&] {
      auto* results = form.findChild<ResultsWindow*>();
      if (!results || results->reportBox()->length() == 0 || !platform.pressCancel) return;
      watch.stop();
      disabledMeanwhile = !form.isEnabled();
      sincePress.start();
      platform.pressCancel();
    });
    platform.onProgress = [&] {
      if (whileLoading) {
        watch.start(1);
      } else {
        sincePress.start();
        platform.pressCancel();
      }
    };
    form.calculate();
    const qint64 latency = sincePress.elapsed();
    QVERIFY(sincePress.isValid());
    QCOMPARE(platform.messages, QStringList{"计算已取消。"});
    QCOMPARE(platform.modalCount, 0);
    QCOMPARE(platform.progressShows, 1);
    QCOMPARE(platform.progressTexts.first(), QStringLiteral("正在生成报告…"));
    QVERIFY(!platform.progressOpen);
    QVERIFY(form.findChild<ResultsWindow*>() == nullptr);
    QVERIFY(form.grid()->sheet() == before);
    QVERIFY(form.isEnabled() && form.calculateButton()->isEnabled());
    if (whileLoading) {
      QVERIFY(disabledMeanwhile);
      QVERIFY2(latency < 200, qPrintable(QString::number(latency)));
    }
  }

  void quickCalculationShowsNoDialog() {
    RecordingPlatform platform;
    LpWindow form;
    fillExample(form);
    form.calculate();
    form.statistics();  // no column chosen: its one message
    QCOMPARE(platform.progressShows, 0);
    QCOMPARE(platform.modalCount, 1);
    QCOMPARE(platform.messages.size(), 1);
  }

  void theDialogHasItsCaptionButtonAndEscapeCancels() {
    RecordingPlatform platform;
    QWidget parent;
    parent.show();
    int cancels = 0;
    std::unique_ptr<ProgressDialog> dialog = platform.Platform::showProgress(
        &parent, progressText({ProgressPhase::GoalLevel, 3, 12000}), [&] { ++cancels; });
    auto* box = parent.findChild<QProgressDialog*>("ProgressDialog");
    QVERIFY(box && box->isVisible() && box->isModal());
    QCOMPARE(box->windowTitle(), QString("正在计算"));
    QCOMPARE(box->labelText(), QString("第3优先级：已迭代 12000 次"));
    QVERIFY(QTest::qWaitForWindowExposed(box));
    auto* cancel = box->findChild<QPushButton*>();
    QVERIFY(cancel && cancel->text() == "取消");
    dialog->setText(progressText({ProgressPhase::Report, 0, 0}));
    QCOMPARE(box->labelText(), QString("正在生成报告…"));
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(cancels, 1);
    dialog.reset();
    QVERIFY(parent.findChild<QProgressDialog*>() == nullptr);
  }
};

}  // namespace orcalc::ui::testing

QTEST_MAIN(orcalc::ui::testing::CalculationRunnerTest)
#include "calculation_runner_test.moc"
