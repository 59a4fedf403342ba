#include "goal/goal_exact.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace orcalc::goal {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

}  // namespace

bool FitsExactDecisions(const GoalModel& model) {
  if (model.constraint_count > kExactGoalsLimit || model.variable_count > kExactVariablesLimit) {
    return false;
  }
  auto near_one = [](const std::vector<double>& numbers) {
    for (double x : numbers) {
      if (x == 0) continue;
      if (!std::isfinite(x)) return false;
      const int exponent = std::ilogb(x);
      if (exponent > kExactExponentLimit || exponent < -kExactExponentLimit) return false;
    }
    return true;
  };
  return near_one(model.coef) && near_one(model.target) && near_one(model.neg_weight) &&
         near_one(model.pos_weight);
}

ExactBasis::ExactBasis(const GoalModel& model, const std::vector<int>& basic)
    : model_(model), basic_(basic), size_(model.constraint_count) {
  const int M = size_;
  const int N = model.variable_count;
  const std::size_t m = Index(M);
  lu_.assign(m * m, mpq_class(0));
  // Column k of B is the basic variable of row k: Xj's coefficients, or
  // ±1 in its goal's row for a deviation.
  for (int k = 0; k < M; ++k) {
    const int id = basic_[Index(k)];
    if (id <= N) {
      for (int i = 0; i < M; ++i) lu_[Index(i) * m + Index(k)] = model.Coefficient(i, id - 1);
    } else if (id <= N + M) {
      lu_[Index(id - N - 1) * m + Index(k)] = 1;
    } else {
      lu_[Index(id - N - M - 1) * m + Index(k)] = -1;
    }
  }
  swap_.assign(m, 0);
  auto at = [&](int i, int j) -> mpq_class& { return lu_[Index(i) * m + Index(j)]; };
  for (int k = 0; k < M; ++k) {
    int r = k;
    while (r < M && sgn(at(r, k)) == 0) ++r;
    if (r == M) return;  // singular: ok_ stays false
    swap_[Index(k)] = r;
    if (r != k) {
      for (int j = 0; j < M; ++j) std::swap(at(r, j), at(k, j));
    }
    for (int i = k + 1; i < M; ++i) {
      if (sgn(at(i, k)) == 0) continue;
      at(i, k) /= at(k, k);
      for (int j = k + 1; j < M; ++j) {
        if (sgn(at(k, j)) != 0) at(i, j) -= at(i, k) * at(k, j);
      }
    }
  }
  ok_ = true;
}

void ExactBasis::Solve(std::vector<mpq_class>& z) const {
  const int M = size_;
  const std::size_t m = Index(M);
  for (int k = 0; k < M; ++k) std::swap(z[Index(k)], z[Index(swap_[Index(k)])]);
  for (int i = 0; i < M; ++i) {
    for (int j = 0; j < i; ++j) {
      const mpq_class& l = lu_[Index(i) * m + Index(j)];
      if (sgn(l) != 0 && sgn(z[Index(j)]) != 0) z[Index(i)] -= l * z[Index(j)];
    }
  }
  for (int i = M - 1; i >= 0; --i) {
    for (int j = i + 1; j < M; ++j) {
      const mpq_class& u = lu_[Index(i) * m + Index(j)];
      if (sgn(u) != 0 && sgn(z[Index(j)]) != 0) z[Index(i)] -= u * z[Index(j)];
    }
    z[Index(i)] /= lu_[Index(i) * m + Index(i)];
  }
}

std::vector<mpq_class> ExactBasis::Values() const {
  std::vector<mpq_class> z(Index(size_));
  for (int i = 0; i < size_; ++i) z[Index(i)] = model_.target[Index(i)];
  Solve(z);
  return z;
}

std::vector<mpq_class> ExactBasis::Column(int id) const {
  const int M = size_;
  const int N = model_.variable_count;
  std::vector<mpq_class> z(Index(M), mpq_class(0));
  if (id <= N) {
    for (int i = 0; i < M; ++i) z[Index(i)] = model_.Coefficient(i, id - 1);
  } else if (id <= N + M) {
    z[Index(id - N - 1)] = 1;
  } else {
    z[Index(id - N - M - 1)] = -1;
  }
  Solve(z);
  return z;
}

std::vector<mpq_class> ExactBasis::Duals(int level) const {
  // Bᵀy = c_B with PB = LU: Uᵀw = c_B, then Lᵀv = w, then y = Pᵀv.
  const int M = size_;
  const std::size_t m = Index(M);
  std::vector<mpq_class> y(m);
  for (int i = 0; i < M; ++i) y[Index(i)] = Cost(basic_[Index(i)], level);
  for (int i = 0; i < M; ++i) {
    for (int j = 0; j < i; ++j) {
      const mpq_class& u = lu_[Index(j) * m + Index(i)];
      if (sgn(u) != 0 && sgn(y[Index(j)]) != 0) y[Index(i)] -= u * y[Index(j)];
    }
    y[Index(i)] /= lu_[Index(i) * m + Index(i)];
  }
  for (int i = M - 1; i >= 0; --i) {
    for (int j = i + 1; j < M; ++j) {
      const mpq_class& l = lu_[Index(j) * m + Index(i)];
      if (sgn(l) != 0 && sgn(y[Index(j)]) != 0) y[Index(i)] -= l * y[Index(j)];
    }
  }
  for (int k = M - 1; k >= 0; --k) std::swap(y[Index(k)], y[Index(swap_[Index(k)])]);
  return y;
}

mpq_class ExactBasis::Cost(int id, int level) const {
  const int M = size_;
  const int N = model_.variable_count;
  if (id <= N) return 0;
  if (id <= N + M) {
    const std::size_t g = Index(id - N - 1);
    return model_.neg_level[g] == level ? mpq_class(model_.neg_weight[g]) : mpq_class(0);
  }
  const std::size_t g = Index(id - N - M - 1);
  return model_.pos_level[g] == level ? mpq_class(model_.pos_weight[g]) : mpq_class(0);
}

mpq_class ExactBasis::Evaluation(const std::vector<mpq_class>& duals, int id, int level) const {
  const int M = size_;
  const int N = model_.variable_count;
  mpq_class sum = -Cost(id, level);
  if (id <= N) {
    for (int i = 0; i < M; ++i) {
      const double a = model_.Coefficient(i, id - 1);
      if (a != 0 && sgn(duals[Index(i)]) != 0) sum += duals[Index(i)] * mpq_class(a);
    }
  } else if (id <= N + M) {
    sum += duals[Index(id - N - 1)];
  } else {
    sum -= duals[Index(id - N - M - 1)];
  }
  return sum;
}

}  // namespace orcalc::goal
