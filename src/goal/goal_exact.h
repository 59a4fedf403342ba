// The goal program in exact rational arithmetic at the tableau's basis.
//
// The tableau's doubles carry the round-off of every exchange since the
// start. Where a decision falls within that round-off, the quantities it
// rests on are computed afresh from the program as read (every double is
// a rational number, taken exactly) and the basis the tableau's rows hold:
// the basic values B⁻¹b, a column B⁻¹a, and the level's duals y with
// yᵀB = c_B, which give each column's evaluation entry y·a − c exactly.
#pragma once

#include <gmpxx.h>

#include <vector>

#include "goal/goal_model.h"

namespace orcalc::goal {

// The largest programs decided exactly: beyond them a decision within
// round-off stops the calculation with the round-off message.
inline constexpr int kExactGoalsLimit = 60;
inline constexpr int kExactVariablesLimit = 60;
// Every number of a program decided exactly is 0 or lies between
// 2^-kExactExponentLimit and 2^kExactExponentLimit in magnitude (about
// 1e-24 to 1e24): the rationals' sizes grow with the exponents' spread,
// and a wider one could keep the calculation busy for minutes.
inline constexpr int kExactExponentLimit = 80;

// Whether the program is small enough, and its numbers close enough to 1,
// for the exact decisions.
bool FitsExactDecisions(const GoalModel& model);

class ExactBasis {
 public:
  // `basic[i]` is the identifier of row i's basic variable (Xj is j, D(i)-
  // is N+i, D(i)+ is N+M+i, all from 1).
  ExactBasis(const GoalModel& model, const std::vector<int>& basic);

  // Whether the basic columns are independent (the tableau kept a basis).
  bool ok() const { return ok_; }

  // Row i's basic value.
  std::vector<mpq_class> Values() const;
  // The tableau column of variable `id`: its entry in row i is how much
  // row i's basic variable falls per unit of it.
  std::vector<mpq_class> Column(int id) const;
  // The duals of `level`: per goal, how much the level's objective falls
  // per unit added to that goal's target.
  std::vector<mpq_class> Duals(int level) const;
  // Variable `id`'s evaluation entry for `level`: how much one unit of it
  // would lower the level's objective, y·a − c.
  mpq_class Evaluation(const std::vector<mpq_class>& duals, int id, int level) const;

 private:
  // Variable `id`'s cost at `level`.
  mpq_class Cost(int id, int level) const;
  // Solves B z = rhs in place.
  void Solve(std::vector<mpq_class>& z) const;

  const GoalModel& model_;
  std::vector<int> basic_;
  int size_ = 0;
  bool ok_ = false;
  // PB = LU, row by row: L below the diagonal (unit diagonal), U on and
  // above it; swap_[k] is the row taken into place k at step k.
  std::vector<mpq_class> lu_;
  std::vector<int> swap_;
};

}  // namespace orcalc::goal
