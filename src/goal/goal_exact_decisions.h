// The goal method's decisions made in exact arithmetic where the doubles
// cannot make them: the end of a level that the long double certificate
// cannot decide (the level's optimum certified by its exact duals), a
// ratio test whose smallest ratios lie within round-off of each other or
// whose pivot fails the check, a basic value that the exchanges drove below
// 0, and final values that break a goal. Only on programs that fit
// FitsExactDecisions.
#pragma once

#include "goal/goal_model.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {

// Whether any row or live column holds a variable that costs at t.level:
// without one every evaluation entry is exactly 0 and there is nothing to
// certify.
bool LevelHasCosts(const GoalTableau& t);

// Certifies the level's end at the basis as it stands: every basic value
// is at least 0 exactly, and each live column's evaluation entry is
// computed exactly from the level's duals. Its sign goes into
// t.certified_sign (t.certified_signs set), where it decides whether the level is
// optimal, which column enters and which columns the level's end removes.
// False when the basis cannot be certified: a basic value is below 0 in
// truth, or the rows no longer hold a basis.
bool CertifyLevel(const GoalModel& model, GoalTableau& t);

// Whether the ratio test that chose row r for column p rests on round-off:
// another row's ratio lies within the round-off bound of r's without being
// the same double.
bool LeavingWithinRoundOff(const GoalTableau& t, int p, int r);

// The leaving row for column p by the ratio test on exact values: the
// smallest ratio below 1e9 over rows with a positive entry, ties to the
// smaller level, then the larger weight, then the lower index (under the
// smallest-index rule, to the smallest variable identifier); -1 when no
// row qualifies or the rows no longer hold a basis. With `usable_first`,
// a tie goes first to a row whose pivot passes the pivot check.
int ExactLeaving(const GoalModel& model, const GoalTableau& t, int p, bool usable_first = false);

// Basic values that the exchanges drove below 0 beyond round-off: when
// every basic value is at least 0 in truth, those values take their exact
// ones (rounded) and true is returned.
bool RepairNegativeValues(const GoalModel& model, GoalTableau& t);

// Every basic value takes the double nearest its exact one. False, and
// nothing changed, when a basic value is below 0 in truth or the rows no
// longer hold a basis.
bool TakeExactValues(const GoalModel& model, GoalTableau& t);

}  // namespace orcalc::goal
