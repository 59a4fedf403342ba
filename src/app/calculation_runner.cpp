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

}  // namespace orcalc::ui
