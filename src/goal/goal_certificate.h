// A level's optimum checked with the level's duals, in long double, from
// the program as read and the basis the tableau's rows hold: each basic
// value at least 0 within a fraction of what it is made of, and each live
// column's evaluation entry y·a − c either clear of 0 by a fraction of its
// scale or 0 within the long double's own round-off, and of the same sign
// as the tableau judges it. Cheap (one factorisation of the basis); where
// it cannot decide, the exact arithmetic does.
#pragma once

#include "goal/goal_model.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {

// A value or an evaluation entry within this fraction of its scale is not
// decided by the certificate. The long double factorisation loses about
// the basis's condition number times 1e-19 of each; 1e-9 leaves room for
// condition numbers up to 1e10, beyond which the doubles' own tableau
// would not agree in sign either.
inline constexpr long double kCertificateRoundOff = 1e-9L;
// An evaluation entry within this fraction of its scale is 0: what the
// long double arithmetic leaves of a zero on bases whose condition number
// is up to 1e4. Between the two the exact arithmetic decides.
inline constexpr long double kCertificateZero = 1e-15L;

// Certifies the level's end: true, with t.certified_sign filled from the
// certificate (which then equals the tableau's judgement) and
// t.certified_signs set, when every basic value and every live column's
// entry is decided; false, the tableau untouched, otherwise.
bool CertifyLevelInLongDouble(const GoalModel& model, GoalTableau& t);

}  // namespace orcalc::goal
