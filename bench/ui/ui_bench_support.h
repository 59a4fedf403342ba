// Shared by the window benchmarks: a platform that answers the
// modal windows and message boxes without blocking, the peak memory of the
// process, and the program's start on the offscreen platform.
#pragma once

#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "app/sheet_window.h"
#include "platform/platform.h"
#include "results/results_window.h"

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

// Calculate on a filled sheet window until the results window has painted
// its report for the first time; then the save from that window. With
// `messages_allowed` false, a message box makes the run an error.
inline void CalculateToShown(benchmark::State& state, ui::SheetWindow& form,
                             bool messages_allowed) {
  BenchPlatform platform;
  QTemporaryDir dir;
  platform.savePath = dir.filePath("report.txt");
  double shown = 0;
  double save = 0;
  double peak_shown = 0;
  qsizetype report_bytes = 0;
  QElapsedTimer timer;
  platform.onModal = [&](QDialog* dialog) {
    auto* results = qobject_cast<ui::ResultsWindow*>(dialog);
    if (!results) return;
    results->repaint();
    shown = Seconds(timer);
    peak_shown = PeakMegabytes();
    report_bytes = results->reportBox()->length();
    QElapsedTimer saving;
    saving.start();
    results->save();
    save = Seconds(saving);
  };
  for (auto _ : state) {
    platform.messages.clear();
    shown = 0;
    timer.start();
    form.calculate();
    state.SetIterationTime(shown);
    if (shown == 0 || !QFile::exists(platform.savePath) ||
        (!messages_allowed && !platform.messages.isEmpty())) {
      state.SkipWithError("no report shown and saved, or a message");
    }
    QFile::remove(platform.savePath);
  }
  state.counters["save_ms"] = save * 1000;
  state.counters["report_bytes"] = static_cast<double>(report_bytes);
  state.counters["messages"] = static_cast<double>(platform.messages.size());
  state.counters["shown_peak_MB"] = peak_shown;
  state.counters["peak_MB"] = PeakMegabytes();
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
