// Runs a calculation off the user-interface thread. The window stays
// disabled for input but repaints and can be moved; after half a second a
// progress dialog shows the phase and the pivots made, with a 取消 button.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <optional>

#include "common/calculation.h"
#include "common/progress.h"

class QWidget;

namespace orcalc::ui {

// The core calculation, run on the worker thread: it must touch no widget,
// and reports through and stops on the Progress it is given.
using CalculationJob = std::function<CalculationOutcome(Progress&)>;

// The message shown once a calculation has been cancelled.
extern const char* const kCancelledMessage;

// How long a calculation runs before the progress dialog appears, and how
// often its text is brought up to date.
inline constexpr int kProgressDelayMs = 500;
inline constexpr int kProgressRefreshMs = 200;

// A report at least this large takes a noticeable moment to load into the
// results window (about a quarter of a second): the progress dialog shows
// "正在生成报告…" meanwhile.
inline constexpr std::size_t kReportLoadNoticeBytes = std::size_t{64} << 20;

// The progress dialog's text for `state`.
QString progressText(const ProgressState& state);

// Runs `job` on a worker thread while `window` takes no input, and returns
// its outcome. When the user cancelled, shows kCancelledMessage and returns
// nothing. An exception of the job (running out of memory) is rethrown
// here.
std::optional<CalculationOutcome> runCalculationJob(QWidget* window, CalculationJob job);

// Hands a finished calculation to the user: its report is loaded into a
// results window first (a report of kReportLoadNoticeBytes or more under
// the progress dialog, with `window` taking no input), then its messages
// are shown in their order, then the results window, modally. 取消 (or Esc)
// while the report loads ends with kCancelledMessage alone: no other
// message and no results window.
void presentOutcome(QWidget* window, const CalculationOutcome& outcome);

}  // namespace orcalc::ui
