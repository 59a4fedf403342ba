// How a long calculation tells its caller how far it has come, and how the
// caller asks it to stop. The calculation runs on one thread; the caller
// reads the state and sets the stop request from another. Plain atomics, no
// locks: a pivot costs one relaxed store and one relaxed load here.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace orcalc {

enum class ProgressPhase : std::uint8_t {
  Starting,   // reading the sheet
  Phase1,     // the simplex method's first phase
  Phase2,     // the simplex method's second phase
  GoalLevel,  // minimising one priority level of a goal program
  Report,     // building the report
  Steps,      // rebuilding the tableaux of the calculation's steps
};

struct ProgressState {
  ProgressPhase phase = ProgressPhase::Starting;
  int level = 0;    // the priority level (GoalLevel only)
  long pivots = 0;  // pivots of the whole calculation so far
  // A branch-and-bound search: the nodes searched so far, the best
  // whole-number solution's S (when one is found) and the best bound.
  long nodes = 0;
  bool has_incumbent = false;
  double incumbent = 0;
  double bound = 0;
};

class Progress {
 public:
  Progress() = default;
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // --- the caller's side ---

  // Asks the calculation to stop at its next check.
  void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
  // Stops the calculation once `seconds` have passed from now (at once when
  // they are not above 0). A limit beyond half of what the clock can count
  // (about 146 years in nanoseconds), or NaN, never stops it: converting
  // such a number to the clock's count would overflow.
  void SetTimeLimit(double seconds) {
    using Clock = std::chrono::steady_clock;
    const double most = std::chrono::duration<double>(Clock::duration::max()).count() / 2;
    const Clock::time_point now = Clock::now();
    if (!(seconds < most)) {
      deadline_ = Clock::time_point::max();
    } else {
      deadline_ = now + std::chrono::duration_cast<Clock::duration>(
                            std::chrono::duration<double>(seconds > 0 ? seconds : 0.0));
    }
    has_deadline_ = true;
  }
  ProgressState State() const {
    ProgressState s;
    s.phase = static_cast<ProgressPhase>(phase_.load(std::memory_order_relaxed));
    s.level = level_.load(std::memory_order_relaxed);
    s.pivots = pivots_.load(std::memory_order_relaxed);
    s.nodes = nodes_.load(std::memory_order_relaxed);
    s.has_incumbent = has_incumbent_.load(std::memory_order_relaxed);
    s.incumbent = incumbent_.load(std::memory_order_relaxed);
    s.bound = bound_.load(std::memory_order_relaxed);
    return s;
  }

  // --- the calculation's side ---

  void SetPhase(ProgressPhase phase, int level = 0) {
    phase_.store(static_cast<std::uint8_t>(phase), std::memory_order_relaxed);
    level_.store(level, std::memory_order_relaxed);
  }
  void SetPivots(long pivots) { pivots_.store(pivots, std::memory_order_relaxed); }
  void SetSearch(long nodes, bool has_incumbent, double incumbent, double bound) {
    nodes_.store(nodes, std::memory_order_relaxed);
    has_incumbent_.store(has_incumbent, std::memory_order_relaxed);
    incumbent_.store(incumbent, std::memory_order_relaxed);
    bound_.store(bound, std::memory_order_relaxed);
  }
  // Whether a stop came from the time limit rather than a request.
  bool TimedOut() const { return timed_out_; }

  // The check made once per pivot: whether to stop now. Past the time limit
  // the stop request is set, so that every later check stops at once too.
  bool ShouldStop() {
    if (stop_.load(std::memory_order_relaxed)) return true;
    if (has_deadline_ && (++checks_ & 15) == 0 && std::chrono::steady_clock::now() >= deadline_) {
      stop_.store(true, std::memory_order_relaxed);
      timed_out_ = true;
      return true;
    }
    return false;
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<std::uint8_t> phase_{0};
  std::atomic<int> level_{0};
  std::atomic<long> pivots_{0};
  std::atomic<long> nodes_{0};
  std::atomic<bool> has_incumbent_{false};
  std::atomic<double> incumbent_{0};
  std::atomic<double> bound_{0};
  // Set before the calculation starts and read by its thread only.
  bool has_deadline_ = false;
  std::chrono::steady_clock::time_point deadline_{};
  unsigned checks_ = 0;
  bool timed_out_ = false;
};

// The check for solvers that may run without a Progress.
inline bool ShouldStop(Progress* progress) { return progress && progress->ShouldStop(); }

}  // namespace orcalc
