// The two-phase tableau simplex method.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/progress.h"
#include "lp/lp_problem.h"

namespace orcalc::lp {

inline constexpr const char* kUnboundedMessage = "无解！";
inline constexpr const char* kNoOptimumMessage = "无最优解！";
inline constexpr const char* kIterationLimitMessage = "迭代次数超过限制，未求得最优解！";

inline constexpr double kEpsilon = 0.0001;
inline constexpr long kIterationLimit = 1000000;

struct SimplexOptions {
  // The loop stops once its counter, which starts at 1 and counts pivots and
  // phase ends alike, reaches this value.
  long iteration_limit = kIterationLimit;
  // Bland's rule while degenerate pivots revisit a basis. Only tests turn it
  // off, to show the cycling it prevents.
  bool anti_cycling = true;
  // Told the phase and the pivots made; asked before every pivot whether to
  // stop. Null runs to the end.
  Progress* progress = nullptr;
  // Called after every pivot with the whole tableau as stored (padding
  // included); tests use it to compare runs.
  std::function<void(std::span<const double>)> after_pivot = nullptr;
};

enum class SimplexEnd {
  Optimal,         // the last phase ended with no improving column
  Unbounded,       // an entering column had no entry above the tolerance
  Phase1Stuck,     // phase 1 ended with an artificial variable still positive
  IterationLimit,  // the loop ran out of iterations
  Stopped,         // the caller asked the loop to stop; no results
};

struct SimplexResult {
  // The messages to show, in order.
  std::vector<std::string> messages;
  double objective = 0.0;  // S
  std::vector<double> x;   // x_1..x_m, 0 for variables basic in no row
  SimplexEnd end = SimplexEnd::Optimal;
  long pivots = 0;
  long phase1_pivots = 0;
  long bland_pivots = 0;  // pivots chosen by Bland's rule
};

// Solves `problem`, whose right-hand sides must be normalised (>= 0).
SimplexResult SolveSimplex(const LpProblem& problem, const SimplexOptions& options = {});

}  // namespace orcalc::lp
