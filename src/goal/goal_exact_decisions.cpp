#include "goal/goal_exact_decisions.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "goal/goal_exact.h"

namespace orcalc::goal {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// The double nearest q (GMP's own conversion truncates).
double Nearest(const mpq_class& q) {
  const double d = q.get_d();
  const double other =
      sgn(q - mpq_class(d)) > 0 ? std::nextafter(d, HUGE_VAL) : std::nextafter(d, -HUGE_VAL);
  if (!std::isfinite(other)) return d;
  const mpq_class low = abs(q - mpq_class(d));
  const mpq_class high = abs(q - mpq_class(other));
  return high < low ? other : d;
}

}  // namespace

bool LevelHasCosts(const GoalTableau& t) {
  for (int i = 0; i < t.goals; ++i) {
    if (t.row_level[Index(i)] == t.level) return true;
  }
  for (int j = 0; j < t.columns; ++j) {
    if (!t.Removed(j) && t.col_level[Index(j)] == t.level) return true;
  }
  return false;
}

bool CertifyLevel(const GoalModel& model, GoalTableau& t) {
  const ExactBasis basis(model, t.row_var);
  if (!basis.ok()) return false;
  for (const mpq_class& value : basis.Values()) {
    if (sgn(value) < 0) return false;
  }
  const std::vector<mpq_class> duals = basis.Duals(t.level);
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j)) continue;
    const int sign = sgn(basis.Evaluation(duals, t.col_var[Index(j)], t.level));
    t.certified_sign[Index(j)] = static_cast<std::int8_t>(sign > 0 ? 1 : sign < 0 ? -1 : 0);
  }
  t.certified_signs = true;
  return true;
}

bool LeavingWithinRoundOff(const GoalTableau& t, int p, int r) {
  if (r < 0) return false;
  const double tol = t.tolerance;
  double largest = 0;
  for (int i = 0; i < t.goals; ++i) largest = std::max(largest, std::fabs(t.Coef(i, p)));
  const double floor = std::min(tol, kEntryRoundOff * largest);
  const double qr = t.row_value[Index(r)] / t.Coef(r, p);
  for (int i = 0; i < t.goals; ++i) {
    const double c = t.Coef(i, p);
    if (i == r || !(c > floor)) continue;
    const double q = t.row_value[Index(i)] / c;
    if (!(q < 1000000000) || q == qr) continue;
    if (std::fabs(q - qr) <= tol * std::max(std::fabs(q), std::fabs(qr))) return true;
  }
  return false;
}

int ExactLeaving(const GoalModel& model, const GoalTableau& t, int p, bool usable_first) {
  const ExactBasis basis(model, t.row_var);
  if (!basis.ok()) return -1;
  const std::vector<mpq_class> values = basis.Values();
  const std::vector<mpq_class> column = basis.Column(t.col_var[Index(p)]);
  const mpq_class cap(1000000000);
  int r = -1;
  mpq_class qr;
  for (int i = 0; i < t.goals; ++i) {
    const mpq_class& c = column[Index(i)];
    if (sgn(c) <= 0) continue;
    const mpq_class q = values[Index(i)] / c;
    if (q >= cap) continue;
    bool take = r < 0 || q < qr;
    const bool usable_i = t.Coef(i, p) >= kSmallestPivot;
    if (!take && q == qr && usable_first && usable_i != (t.Coef(r, p) >= kSmallestPivot)) {
      take = usable_i;
    } else if (!take && q == qr) {
      take = t.LeavesOnTie(i, r);
    }
    if (take) {
      r = i;
      qr = q;
    }
  }
  return r;
}

bool RepairNegativeValues(const GoalModel& model, GoalTableau& t) {
  const ExactBasis basis(model, t.row_var);
  if (!basis.ok()) return false;
  const std::vector<mpq_class> values = basis.Values();
  for (const mpq_class& value : values) {
    if (sgn(value) < 0) return false;
  }
  for (int i = 0; i < t.goals; ++i) {
    double& value = t.row_value[Index(i)];
    if (value < -t.tolerance) value = Nearest(values[Index(i)]);
  }
  return true;
}

bool TakeExactValues(const GoalModel& model, GoalTableau& t) {
  const ExactBasis basis(model, t.row_var);
  if (!basis.ok()) return false;
  const std::vector<mpq_class> values = basis.Values();
  for (const mpq_class& value : values) {
    if (sgn(value) < 0) return false;
  }
  for (int i = 0; i < t.goals; ++i) t.row_value[Index(i)] = Nearest(values[Index(i)]);
  return true;
}

}  // namespace orcalc::goal
