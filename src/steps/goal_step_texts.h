// The words of a goal program's tables: the variables' names, the legend,
// the sentences under the tables and why the method stopped.
#pragma once

#include <string>
#include <vector>

#include "goal/goal_solver.h"
#include "steps/step_tableau.h"

namespace orcalc::steps {

// χ1…χN, then d1-…dM-, then d1+…dM+, with their levels (0 outside 1..L).
std::vector<StepColumn> GoalColumns(const goal::GoalModel& model);

std::vector<std::string> GoalLegend(const goal::GoalModel& model);

// "P2"
std::string LevelName(int level);

// "χ2 进基，d1- 出基，主元为 3/2", with the rule when it was not the usual one.
std::string GoalPivotSentence(const StepsDocument& doc, int entering, int leaving,
                              const std::string& pivot, bool smallest_index);
// "P1 级已达最优（评价行中没有大于 0 的数），删去 d1-、χ2 列，转入 P2 级".
// `next_level` 0: no level follows.
std::string LevelEndSentence(const StepsDocument& doc, int level, const std::vector<int>& removed,
                             int next_level);
// "此步的选择受舍入误差影响，精确计算应选 χ3 进基，d2- 出基" (entering -1: the
// level is optimal; leaving -1: the level's objective has no lower bound).
std::string GoalRoundOffSentence(const StepsDocument& doc, int entering, int leaving);
// The same where the level's end removed other columns than the exact table
// would.
std::string RemovalRoundOffSentence(const StepsDocument& doc, const std::vector<int>& removed);

// Why the method stopped, with the point of the last table: the decision
// variables' values and the objectives of the levels that have variables.
// `unbounded` is the column that would enter without a row to leave, -1
// when there is none.
std::string GoalEndingText(const StepsDocument& doc, goal::GoalOutcome outcome,
                           const std::vector<std::string>& values,
                           const std::vector<std::pair<int, std::string>>& achievements,
                           int unbounded);

}  // namespace orcalc::steps
