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
  const int M = goals < 0 ? 0 : goals;
  const int N = variables < 0 ? 0 : variables;
  m.constraintCount = M;
  m.variableCount = N;
  m.levelCount = N;
  m.coef.resize(static_cast<std::size_t>(M) * static_cast<std::size_t>(N));
  m.target.resize(static_cast<std::size_t>(M));
  m.negWeight.resize(static_cast<std::size_t>(M));
  m.negLevel.resize(static_cast<std::size_t>(M));
  m.posWeight.resize(static_cast<std::size_t>(M));
  m.posLevel.resize(static_cast<std::size_t>(M));

  // Reads one cell; false (and the cell noted) when its number overflows.
  auto read = [&](int row, int col, double& out) {
    const NumberReading reading = ReadNumberChecked(sheet.Cell(row, col));
    if (reading.overflow) {
      intake.overflow = true;
      intake.overflowRow = row;
      intake.overflowCol = col;
      return false;
    }
    out = reading.value;
    return true;
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
    double negLevel = 0;
    double posLevel = 0;
    if (!read(row, N + 2, m.target[g]) || !read(row, N + 3, m.negWeight[g]) ||
        !read(row, N + 4, negLevel) || !read(row, N + 5, m.posWeight[g]) ||
        !read(row, N + 6, posLevel)) {
      return intake;
    }
    m.negLevel[g] = RoundLevel(negLevel);
    m.posLevel[g] = RoundLevel(posLevel);
  }
  return intake;
}

}  // namespace orcalc::goal
