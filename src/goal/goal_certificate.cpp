#include "goal/goal_certificate.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace orcalc::goal {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// Variable `id`'s column of the goals' equations, entry by entry.
long double Entry(const GoalModel& m, int id, int goal) {
  const int M = m.constraint_count;
  const int N = m.variable_count;
  if (id <= N) return m.Coefficient(goal, id - 1);
  if (id <= N + M) return id - N - 1 == goal ? 1 : 0;
  return id - N - M - 1 == goal ? -1 : 0;
}

// Variable `id`'s cost at `level`.
long double Cost(const GoalModel& m, int id, int level) {
  const int M = m.constraint_count;
  const int N = m.variable_count;
  if (id <= N) return 0;
  if (id <= N + M) {
    const std::size_t g = Index(id - N - 1);
    return m.neg_level[g] == level ? m.neg_weight[g] : 0;
  }
  const std::size_t g = Index(id - N - M - 1);
  return m.pos_level[g] == level ? m.pos_weight[g] : 0;
}

// The basis B (column k: row k's basic variable) factored with partial
// pivoting, PB = LU; solves with B and with Bᵀ.
class LongDoubleBasis {
 public:
  LongDoubleBasis(const GoalModel& m, const std::vector<int>& basic)
      : n_(m.constraint_count), lu_(Index(n_) * Index(n_)), swap_(Index(n_)) {
    for (int i = 0; i < n_; ++i) {
      for (int k = 0; k < n_; ++k) At(i, k) = Entry(m, basic[Index(k)], i);
    }
    for (int k = 0; k < n_; ++k) {
      int r = k;
      for (int i = k + 1; i < n_; ++i) {
        if (std::fabs(At(i, k)) > std::fabs(At(r, k))) r = i;
      }
      if (At(r, k) == 0) return;
      swap_[Index(k)] = r;
      for (int j = 0; j < n_; ++j) std::swap(At(r, j), At(k, j));
      for (int i = k + 1; i < n_; ++i) {
        if (At(i, k) == 0) continue;
        At(i, k) /= At(k, k);
        for (int j = k + 1; j < n_; ++j) At(i, j) -= At(i, k) * At(k, j);
      }
    }
    ok_ = true;
  }

  bool ok() const { return ok_; }

  void Solve(std::vector<long double>& z) const {
    for (int k = 0; k < n_; ++k) std::swap(z[Index(k)], z[Index(swap_[Index(k)])]);
    for (int i = 0; i < n_; ++i) {
      for (int j = 0; j < i; ++j) z[Index(i)] -= At(i, j) * z[Index(j)];
    }
    for (int i = n_ - 1; i >= 0; --i) {
      for (int j = i + 1; j < n_; ++j) z[Index(i)] -= At(i, j) * z[Index(j)];
      z[Index(i)] /= At(i, i);
    }
  }

  void SolveTransposed(std::vector<long double>& y) const {
    for (int i = 0; i < n_; ++i) {
      for (int j = 0; j < i; ++j) y[Index(i)] -= At(j, i) * y[Index(j)];
      y[Index(i)] /= At(i, i);
    }
    for (int i = n_ - 1; i >= 0; --i) {
      for (int j = i + 1; j < n_; ++j) y[Index(i)] -= At(j, i) * y[Index(j)];
    }
    for (int k = n_ - 1; k >= 0; --k) std::swap(y[Index(k)], y[Index(swap_[Index(k)])]);
  }

 private:
  long double& At(int i, int j) { return lu_[Index(i) * Index(n_) + Index(j)]; }
  long double At(int i, int j) const { return lu_[Index(i) * Index(n_) + Index(j)]; }

  int n_;
  bool ok_ = false;
  std::vector<long double> lu_;
  std::vector<int> swap_;
};

// Whether every basic value is at least 0 within the certificate's
// round-off of the terms that make it up.
bool ValuesHold(const GoalModel& m, const LongDoubleBasis& basis, const GoalTableau& t) {
  std::vector<long double> x(Index(t.goals));
  for (int i = 0; i < t.goals; ++i) x[Index(i)] = m.target[Index(i)];
  basis.Solve(x);
  for (int i = 0; i < t.goals; ++i) {
    const long double scale = 1 + std::fabs(static_cast<long double>(t.value_bound[Index(i)]));
    if (x[Index(i)] < -kCertificateRoundOff * scale) return false;
  }
  return true;
}

}  // namespace

bool CertifyLevelInLongDouble(const GoalModel& model, GoalTableau& t) {
  const LongDoubleBasis basis(model, t.row_var);
  if (!basis.ok() || !ValuesHold(model, basis, t)) return false;
  std::vector<long double> y(Index(t.goals));
  for (int i = 0; i < t.goals; ++i) y[Index(i)] = Cost(model, t.row_var[Index(i)], t.level);
  basis.SolveTransposed(y);
  long double largest_dual = 0;
  for (long double dual : y) largest_dual = std::max(largest_dual, std::fabs(dual));
  std::vector<std::int8_t> signs(t.certified_sign.size(), 0);
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j)) continue;
    const int id = t.col_var[Index(j)];
    const long double cost = Cost(model, id, t.level);
    // The entry, and the scale its round-off goes with: its cost and the
    // largest dual times its column's magnitudes (a dual that is 0 in
    // truth comes out as round-off of the largest one).
    long double e = -cost;
    long double scale = std::fabs(cost);
    for (int i = 0; i < t.goals; ++i) {
      const long double a = Entry(model, id, i);
      e += y[Index(i)] * a;
      scale += largest_dual * std::fabs(a);
    }
    int sign = 2;
    if (e > kCertificateRoundOff * scale) sign = 1;
    if (e < -kCertificateRoundOff * scale) sign = -1;
    if (std::fabs(e) <= kCertificateZero * scale) sign = 0;
    if (sign != TableauSign(t, j)) return false;
    signs[Index(j)] = static_cast<std::int8_t>(sign);
  }
  t.certified_sign = std::move(signs);
  t.certified_signs = true;
  return true;
}

}  // namespace orcalc::goal
