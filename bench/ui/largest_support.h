// Shared by the largest-problem benchmarks: a platform that answers the
// modal windows and message boxes without blocking, the peak memory of the
// process, and the program's start on the offscreen platform.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <functional>

#include "platform/platform.h"

namespace orcalc::bench {

// The largest resident size the process has had, in megabytes.
inline double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Message boxes are recorded; a modal window is shown, handed to `onModal`,
// then closed; the save dialog answers `savePath`.
class BenchPlatform : public ui::Platform {
 public:
  BenchPlatform() { ui::Platform::install(this); }
  ~BenchPlatform() override { ui::Platform::install(nullptr); }

  QStringList messages;
  QString savePath;
  std::function<void(QDialog*)> onModal;

  void showMessage(QWidget*, const QString& text) override { messages << text; }
  void beep() override {}
  QString chooseSaveFile(QWidget*, const ui::SaveFileRequest&) override { return savePath; }
  void runModal(QDialog* dialog) override {
    dialog->setModal(true);
    dialog->show();
    if (onModal) onModal(dialog);
    if (dialog->isVisible()) dialog->done(QDialog::Rejected);
  }
};

inline double Seconds(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

inline int RunBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace orcalc::bench
