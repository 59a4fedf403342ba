#include "goal/goal_report.h"

#include <algorithm>

#include "common/number_text.h"

namespace orcalc::goal {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kTitleLine = "\r\n-------目标规划结果输出--------------";
constexpr std::string_view kGoalsTitleLine = "\r\n================约束方程==================";
constexpr std::string_view kPivotCountStart = "\r\n循环次数:";
constexpr std::string_view kPivotCountEnd = "次";
constexpr std::string_view kAchievementLine = "\r\nVALUE OF COAL ACHEVEMEN VECORT AGE 目标值:";
constexpr std::string_view kSolutionLine = "\r\n变量解值";
constexpr std::string_view kNegativeLine = "\r\n负偏差变量值：";
constexpr std::string_view kPositiveLine = "\r\n正偏差变量值：";
constexpr std::string_view kOptimalLine = "\r\n---------OPTIMAL SOLUSION 最优解! -------------";

// CR LF, then `before`, the index in signed number text, then `after`.
std::string IndexedLine(std::string_view before, int index, std::string_view after) {
  std::string line(kLineBreak);
  line.append(before);
  line.append(SignedNumber(index));
  line.append(after);
  return line;
}

}  // namespace

GoalReport::GoalReport(const GoalModel& model, std::string_view decimal_separator)
    : goals_(model.constraint_count),
      variables_(model.variable_count),
      levels_(model.level_count),
      text_(decimal_separator) {
  const int M = goals_;
  const int N = variables_;
  std::size_t lines_bytes = 0;
  levelLines_.reserve(static_cast<std::size_t>(std::max(levels_, 0)));
  for (int k = 1; k <= levels_; ++k) {
    levelLines_.push_back(IndexedLine("GOAL  P(", k, ")= ---- ="));
    lines_bytes += levelLines_.back().size();
  }
  variableLines_.reserve(static_cast<std::size_t>(N));
  for (int j = 1; j <= N; ++j) {
    variableLines_.push_back(IndexedLine("X(", j, ")="));
    lines_bytes += variableLines_.back().size();
  }
  negativeLines_.reserve(static_cast<std::size_t>(M));
  positiveLines_.reserve(static_cast<std::size_t>(M));
  for (int i = 1; i <= M; ++i) {
    negativeLines_.push_back(IndexedLine("D(", i, ")- ="));
    positiveLines_.push_back(IndexedLine("D(", i, ")+ ="));
    lines_bytes += negativeLines_.back().size() + positiveLines_.back().size();
  }
  levelCountLine_ = std::string(kLineBreak) + "L=:" + std::to_string(levels_);
  const std::size_t numbers = static_cast<std::size_t>(std::max(levels_, 0) + N + 2 * M);
  blockBound_ = lines_bytes + numbers * kNumberTextCapacity + kPivotCountStart.size() + 8 +
                kPivotCountEnd.size() + kAchievementLine.size() + levelCountLine_.size() +
                kSolutionLine.size() + kNegativeLine.size() + kPositiveLine.size();

  // Header and echo.
  std::size_t echo_bound =
      256 + static_cast<std::size_t>(M) *
                (64 + static_cast<std::size_t>(N + 2) * (kNumberTextCapacity + 16));
  text_.Reserve(echo_bound + 2 * blockBound_);
  text_.Add(kTitleLine);
  text_.Add("\r\n约束方程数 M=").AddInt(M);
  text_.Add("\r\n变量个数 N=").AddInt(N);
  text_.Add("\r\n优先等级数 L=").AddInt(levels_);
  text_.Add(kGoalsTitleLine);
  for (int i = 0; i < M; ++i) {
    text_.Add("\r\n约束方程").AddInt(i + 1).Add(": ");
    for (int j = 0; j < N; ++j) {
      text_.AddPlain(model.Coefficient(i, j)).Add(" * X").AddInt(j + 1).Add(" + ");
    }
    text_.Add("(D").AddInt(i + 1).Add("+) - (D").AddInt(i + 1).Add("-)").Add(" = ");
    text_.AddPlain(model.target[static_cast<std::size_t>(i)]);
  }
}

void GoalReport::ReserveBlock() {
  const std::size_t capacity = text_.str().capacity();
  const std::size_t needed = text_.size() + blockBound_;
  if (needed > capacity) text_.Reserve(std::max(needed, 2 * capacity));
}

void GoalReport::AddBlock(const GoalSnapshot& s) {
  ReserveBlock();
  text_.Add(kPivotCountStart).AddInt(s.pivots).Add(kPivotCountEnd);
  text_.Add(kAchievementLine);
  text_.Add(levelCountLine_);
  for (int k = 0; k < levels_; ++k) {
    const double achievement = s.achievement[static_cast<std::size_t>(k)];
    if (achievement != 0)
      text_.Add(levelLines_[static_cast<std::size_t>(k)]).AddSigned(achievement);
  }
  text_.Add(kSolutionLine);
  for (int j = 0; j < variables_; ++j) {
    text_.Add(variableLines_[static_cast<std::size_t>(j)])
        .AddSigned(s.solution[static_cast<std::size_t>(j)]);
  }
  // The solution lists the variables, then the goals' negative and positive
  // deviations.
  const auto negative = static_cast<std::size_t>(variables_);
  const auto positive = negative + static_cast<std::size_t>(goals_);
  text_.Add(kNegativeLine);
  for (int i = 0; i < goals_; ++i) {
    text_.Add(negativeLines_[static_cast<std::size_t>(i)])
        .AddSigned(s.solution[negative + static_cast<std::size_t>(i)]);
  }
  text_.Add(kPositiveLine);
  for (int i = 0; i < goals_; ++i) {
    text_.Add(positiveLines_[static_cast<std::size_t>(i)])
        .AddSigned(s.solution[positive + static_cast<std::size_t>(i)]);
  }
}

void GoalReport::Finish(GoalOutcome outcome, const GoalSnapshot& final) {
  if (outcome == GoalOutcome::Optimal) text_.Add(kOptimalLine);
  AddBlock(final);
}

}  // namespace orcalc::goal
