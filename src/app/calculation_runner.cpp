#include "app/calculation_runner.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <memory>
#include <new>

#include "platform/platform.h"
#include "results/results_window.h"

namespace orcalc::ui {

const char* const kCancelledMessage = "计算已取消。";

namespace {

// Keeps the window from closing while its calculation runs.
class CloseBlocker : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) {
      event->ignore();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

// Disables the window and blocks its closing for the lifetime of the guard;
// afterwards the window is enabled again and the focus returns where it was.
class InputPause {
 public:
  explicit InputPause(QWidget* window)
      : window_(window), focus_(QApplication::focusWidget()), blocker_(window) {
    window_->installEventFilter(&blocker_);
    window_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~InputPause() {
    QApplication::restoreOverrideCursor();
    if (!window_) return;
    window_->removeEventFilter(&blocker_);
    window_->setEnabled(true);
    if (focus_) focus_->setFocus();
  }
  InputPause(const InputPause&) = delete;
  InputPause& operator=(const InputPause&) = delete;

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
  CloseBlocker blocker_;
};

}  // namespace

QString progressText(const ProgressState& state) {
  const QString pivots = QString::number(state.pivots);
  // A branch-and-bound search: its nodes, the best whole-number S, the bound.
  if (state.nodes > 0 && state.phase != ProgressPhase::Report) {
    QString text = QStringLiteral("分支定界：已搜索 %1 个节点").arg(state.nodes);
    if (state.has_incumbent)
      text += QStringLiteral("，整数解 S = %1").arg(state.incumbent, 0, 'g', 15);
    return text + QStringLiteral("，界 = %1").arg(state.bound, 0, 'g', 15);
  }
  switch (state.phase) {
    case ProgressPhase::Starting:
      return QStringLiteral("正在读取数据…");
    case ProgressPhase::Phase1:
      return QStringLiteral("第一阶段：已迭代 %1 次").arg(pivots);
    case ProgressPhase::Phase2:
      return QStringLiteral("第二阶段：已迭代 %1 次").arg(pivots);
    case ProgressPhase::GoalLevel:
      return QStringLiteral("第%1优先级：已迭代 %2 次").arg(state.level).arg(pivots);
    case ProgressPhase::Report:
      return QStringLiteral("正在生成报告…");
    case ProgressPhase::Steps:
      return QStringLiteral("正在列出单纯形表…");
  }
  return QString();
}

std::optional<CalculationOutcome> runCalculationJob(QWidget* window, CalculationJob job) {
  Progress progress;
  CalculationOutcome outcome;
  std::exception_ptr failure;
  bool cancelled = false;

  {
    InputPause pause(window);
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] {
      try {
        outcome = job(progress);
      } catch (...) {
        failure = std::current_exception();
      }
    }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);

    std::unique_ptr<ProgressDialog> dialog;
    QTimer refresh;
    refresh.setInterval(kProgressRefreshMs);
    // The dialog is a courtesy: when there is no memory left for it, the
    // calculation goes on without it (no exception may leave a slot).
    QObject::connect(&refresh, &QTimer::timeout, [&] {
      try {
        if (dialog) dialog->setText(progressText(progress.State()));
      } catch (const std::bad_alloc&) {
      }
    });
    QTimer delay;
    delay.setSingleShot(true);
    delay.setTimerType(Qt::PreciseTimer);
    QObject::connect(&delay, &QTimer::timeout, [&] {
      if (cancelled || worker->isFinished()) return;
      try {
        dialog = Platform::current().showProgress(window, progressText(progress.State()), [&] {
          cancelled = true;
          progress.RequestStop();
        });
        refresh.start();
      } catch (const std::bad_alloc&) {
      }
    });

    worker->start();
    // A thread that could not be started (no memory for its stack) never
    // finishes: that is running out of memory.
    if (!worker->isRunning() && !worker->isFinished()) throw std::bad_alloc();
    delay.start(kProgressDelayMs);
    loop.exec();
    worker->wait();
    refresh.stop();
    dialog.reset();
  }

  if (failure) std::rethrow_exception(failure);
  if (cancelled) {
    Platform::current().showMessage(window, QString::fromUtf8(kCancelledMessage));
    return std::nullopt;
  }
  return outcome;
}

namespace {

// The results window with `outcome`'s report loaded; nothing when the user
// cancelled. A large report loads a part at a time under the progress
// dialog, the events handled between parts so that 取消 is heard.
std::unique_ptr<ResultsWindow> loadResults(QWidget* window, const CalculationOutcome& outcome) {
  const std::string& report = *outcome.report;
  if (report.size() < kReportLoadNoticeBytes) {
    return ResultsWindow::loadReport(window, outcome.title, report, [] { return true; });
  }
  InputPause pause(window);
  bool cancelled = false;
  std::unique_ptr<ProgressDialog> dialog = Platform::current().showProgress(
      window, progressText({ProgressPhase::Report}), [&] { cancelled = true; });
  QCoreApplication::processEvents();  // the dialog shows before the first part
  if (cancelled) return nullptr;
  std::unique_ptr<ResultsWindow> results =
      ResultsWindow::loadReport(window, outcome.title, report, [&] {
        QCoreApplication::processEvents();
        return !cancelled;
      });
  return cancelled ? nullptr : std::move(results);
}

void showMessages(QWidget* window, const CalculationOutcome& outcome) {
  for (const std::string& message : outcome.messages) {
    Platform::current().showMessage(window, QString::fromStdString(message));
  }
}

}  // namespace

void presentOutcome(QWidget* window, const CalculationOutcome& outcome) {
  std::unique_ptr<ResultsWindow> results;
  if (outcome.report) {
    try {
      results = loadResults(window, outcome);
    } catch (const std::bad_alloc&) {
      // The calculation's own messages before the one about the memory.
      showMessages(window, outcome);
      throw;
    }
    if (!results) {
      Platform::current().showMessage(window, QString::fromUtf8(kCancelledMessage));
      return;
    }
  }
  showMessages(window, outcome);
  if (results) ResultsWindow::showLoaded(std::move(results));
}

}  // namespace orcalc::ui
