// A long calculation through GoalWindow (the dense 500 × 500 goal program): the
// time from the click on 计算 to the progress dialog, and from 取消 to the
// message "计算已取消。". The dialog is pressed 100 ms after it opened: the
// first one (while the goals are solved), or the one under which the report
// (164 MB) loads into the results window.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <memory>
#include <random>
#include <string>

#include "app/goal_window.h"
#include "sheet/sheet_grid.h"
#include "ui_bench_support.h"

namespace {

constexpr int kSize = 500;

// As in the largest goal program: coefficients 1..10, targets 10..1000,
// weights and levels 1..5.
void FillDense(orcalc::Sheet& sheet) {
  std::mt19937 random(500501);
  auto uniform = [&](int lo, int hi) {
    return std::to_string(std::uniform_int_distribution<int>(lo, hi)(random));
  };
  for (int i = 1; i <= kSize; ++i) {
    for (int j = 1; j <= kSize; ++j) sheet.SetCell(i, j, uniform(1, 10));
    sheet.SetCell(i, kSize + 2, uniform(10, 1000));
    for (int c = kSize + 3; c <= kSize + 6; ++c) sheet.SetCell(i, c, uniform(1, 5));
  }
}

// Records when the dialogs opened and the message came; presses 取消 100 ms
// after the dialog numbered `cancelled` (from 1) opened.
class CancellingPlatform : public orcalc::bench::BenchPlatform {
 public:
  explicit CancellingPlatform(int cancelled = 1) : cancelled_(cancelled) {}
  QElapsedTimer clock;
  double dialogAt = -1, cancelAt = -1, messageAt = -1;
  int dialogs = 0;

  std::unique_ptr<orcalc::ui::ProgressDialog> showProgress(
      QWidget* parent, const QString& text, std::function<void()> onCancel) override {
    if (++dialogs != cancelled_) return BenchPlatform::showProgress(parent, text, onCancel);
    dialogAt = orcalc::bench::Seconds(clock);
    QTimer::singleShot(100, [this, cancel = onCancel] {
      cancelAt = orcalc::bench::Seconds(clock);
      cancel();
    });
    return BenchPlatform::showProgress(parent, text, std::move(onCancel));
  }
  void showMessage(QWidget* parent, const QString& text) override {
    messageAt = orcalc::bench::Seconds(clock);
    BenchPlatform::showMessage(parent, text);
  }

 private:
  int cancelled_;
};

std::unique_ptr<orcalc::ui::GoalWindow> FilledForm() {
  auto form = std::make_unique<orcalc::ui::GoalWindow>();
  form->show();
  QApplication::processEvents();
  form->variableCountBox()->setText(QString::number(kSize));
  form->constraintCountBox()->setText(QString::number(kSize));
  form->ok();
  form->grid()->modifySheet(FillDense);
  return form;
}

void BM_Form3_ClickToDialogAndCancel(benchmark::State& state) {
  std::unique_ptr<orcalc::ui::GoalWindow> form = FilledForm();
  double to_dialog = 0, to_message = 0;
  for (auto _ : state) {
    CancellingPlatform platform;
    platform.clock.start();
    form->calculate();
    if (platform.messages != QStringList{"计算已取消。"} || platform.cancelAt < 0) {
      state.SkipWithError("the calculation was not cancelled");
      break;
    }
    to_dialog = platform.dialogAt;
    to_message = platform.messageAt - platform.cancelAt;
    state.SetIterationTime(platform.messageAt);
  }
  state.counters["click_to_dialog_ms"] = to_dialog * 1e3;
  state.counters["cancel_to_message_ms"] = to_message * 1e3;
}
BENCHMARK(BM_Form3_ClickToDialogAndCancel)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// The calculation runs to its end; its report's loading is cancelled. The
// dialogs: the first while the goals are solved, the second while the
// report loads.
void BM_Form3_CancelWhileTheReportLoads(benchmark::State& state) {
  std::unique_ptr<orcalc::ui::GoalWindow> form = FilledForm();
  double to_dialog = 0, to_message = 0;
  for (auto _ : state) {
    CancellingPlatform platform(2);
    int shown = 0;
    platform.onModal = [&](QDialog*) { ++shown; };
    platform.clock.start();
    form->calculate();
    if (platform.messages != QStringList{"计算已取消。"} || platform.cancelAt < 0 || shown != 0) {
      state.SkipWithError("the loading was not cancelled");
      break;
    }
    // From when 取消 was due: its timer waits for the part being loaded.
    to_dialog = platform.dialogAt;
    to_message = platform.messageAt - (platform.dialogAt + 0.1);
    state.SetIterationTime(platform.messageAt);
  }
  state.counters["click_to_loading_dialog_ms"] = to_dialog * 1e3;
  state.counters["cancel_to_message_ms"] = to_message * 1e3;
}
BENCHMARK(BM_Form3_CancelWhileTheReportLoads)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return orcalc::bench::RunBenchmarks(argc, argv); }
