// Helpers shared by the goal-programming tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "common/sheet.h"
#include "goal/goal_commands.h"
#include "goal/goal_model.h"

namespace orcalc::goal::testing {

// One goal: coefficients, target, D- weight and level, D+ weight and level.
struct Goal {
  std::vector<double> a;
  double b = 0, negWeight = 0;
  int negLevel = 0;
  double posWeight = 0;
  int posLevel = 0;
};

inline GoalModel MakeModel(int variables, const std::vector<Goal>& goals) {
  GoalModel m;
  m.constraintCount = static_cast<int>(goals.size());
  m.variableCount = m.levelCount = variables;
  for (const Goal& g : goals) {
    m.coef.insert(m.coef.end(), g.a.begin(), g.a.begin() + variables);
    m.target.push_back(g.b);
    m.negWeight.push_back(g.negWeight);
    m.negLevel.push_back(static_cast<std::int16_t>(g.negLevel));
    m.posWeight.push_back(g.posWeight);
    m.posLevel.push_back(static_cast<std::int16_t>(g.posLevel));
  }
  return m;
}

// A laid-out sheet whose goal rows hold the texts of columns 1, 2, ….
inline Sheet GoalSheet(int goals, int variables,
                       std::initializer_list<std::vector<std::string>> rows) {
  Sheet sheet;
  LayOutSheet(sheet, goals, variables);
  int r = 1;
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) sheet.SetCell(r, static_cast<int>(c) + 1, row[c]);
    ++r;
  }
  return sheet;
}

// Each line preceded by CR LF.
inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += "\r\n" + line;
  return text;
}

// The worked example: X1 + X2 = 10 (D1- weight 1, level 1) and X1 = 4 with
// the X2 cell empty (D2+ weight 1, level 2).
inline Sheet WorkedExampleSheet() {
  return GoalSheet(
      2, 2, {{"1", "1", "", "10", "1", "1", "0", "0"}, {"1", "", "", "4", "0", "0", "1", "2"}});
}
inline GoalModel WorkedExample() {
  return MakeModel(2, {{{1, 1}, 10, 1, 1, 0, 0}, {{1, 0}, 4, 0, 0, 1, 2}});
}

// The cycling problem: maximise 10X1 − 57X2 − 9X3 − 24X4 (goal 4's D- at
// level 1) under three constraints whose D+ are priced out at level 1 and
// whose D- sit at an unused level, the first with the larger weight.
inline std::vector<Goal> CyclingGoals() {
  return {{{0.5, -5.5, -2.5, 9}, 0, 2, 9, 1e4, 1},
          {{0.5, -1.5, -0.5, 1}, 0, 1, 9, 1e4, 1},
          {{1, 0, 0, 0}, 1, 0, 9, 1e4, 1},
          {{10, -57, -9, -24}, 1e6, 1, 1, 0, 0}};
}

}  // namespace orcalc::goal::testing
