#include "goal/goal_model.h"

#include <cmath>
#include <limits>

#include "common/numeric_reading.h"

namespace orcalc::goal {

std::int16_t RoundLevel(double value) {
  constexpr double kLow = std::numeric_limits<std::int16_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int16_t>::max();
  if (std::isnan(value)) return 0;
  if (value <= kLow) return static_cast<std::int16_t>(kLow);
  if (value >= kHigh) return static_cast<std::int16_t>(kHigh);
  // Within this range value − floor(value) is exact.
  double whole = std::floor(value);
  const double fraction = value - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  return static_cast<std::int16_t>(whole);
}

GoalIntake ReadGoalModel(const Sheet& sheet, int goals, int variables) {
  GoalIntake intake;
  GoalModel& m = intake.model;
  const int M = ClampCount(goals);
  const int N = ClampCount(variables);
  m.constraint_count = M;
  m.variable_count = N;
  m.level_count = N;
  m.coef.resize(static_cast<std::size_t>(M) * static_cast<std::size_t>(N));
  m.target.resize(static_cast<std::size_t>(M));
  m.neg_weight.resize(static_cast<std::size_t>(M));
  m.neg_level.resize(static_cast<std::size_t>(M));
  m.pos_weight.resize(static_cast<std::size_t>(M));
  m.pos_level.resize(static_cast<std::size_t>(M));

  // Reads one cell; false (and the cell noted) when its number overflows.
  CellReader cells(sheet);
  auto read = [&](int row, int col, double& out) {
    if (cells.Read(row, col, out)) return true;
    intake.overflow = cells.overflow();
    return false;
  };

  for (int i = 0; i < M; ++i) {
    const int row = i + 1;
    const std::size_t g = static_cast<std::size_t>(i);
    for (int j = 0; j < N; ++j) {
      if (!read(row, j + 1,
                m.coef[g * static_cast<std::size_t>(N) + static_cast<std::size_t>(j)])) {
        return intake;
      }
    }
    double neg_level = 0;
    double pos_level = 0;
    if (!read(row, N + 2, m.target[g]) || !read(row, N + 3, m.neg_weight[g]) ||
        !read(row, N + 4, neg_level) || !read(row, N + 5, m.pos_weight[g]) ||
        !read(row, N + 6, pos_level)) {
      return intake;
    }
    m.neg_level[g] = RoundLevel(neg_level);
    m.pos_level[g] = RoundLevel(pos_level);
  }
  return intake;
}

}  // namespace orcalc::goal
