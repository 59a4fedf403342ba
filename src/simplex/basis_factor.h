// The final basis of a simplex solve, factorised afresh from the problem's
// own columns, to solve for dual values without the tableau's accumulated
// round-off.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "lp/lp_problem.h"

namespace orcalc::lp {

// The basis matrix B has one column per constraint row: a variable χj's
// column of the problem, a slack or surplus column (the row's sign code on
// its own row) or an artificial variable's unit column. Rows covered by a
// unit column need no factorising; only the square kernel of the basic
// variables χ against the other rows goes through an LU factorisation.
class BasisFactor {
 public:
  // `basis` as SimplexResult::basis hands it out.
  BasisFactor(const LpProblem& problem, std::span<const int> basis);
  ~BasisFactor();
  BasisFactor(const BasisFactor&) = delete;
  BasisFactor& operator=(const BasisFactor&) = delete;

  // False when the columns cannot form a basis or the kernel is singular.
  bool ok() const { return ok_; }

  // The y with Bᵀy = costs, costs[r] being the cost of the basic variable of
  // row r (in the order of `basis`); one step of refinement with the
  // residual summed in long double.
  std::vector<double> Duals(std::span<const double> costs) const;

  // The z with B z = column (`column` indexed by constraint row, z by basis
  // position): the column as the basis expresses it, one tableau column.
  // The same step of refinement.
  std::vector<double> Solve(std::span<const double> column) const;

 private:
  struct Kernel;

  const LpProblem& problem_;
  bool ok_ = false;
  std::vector<int> structural_;  // the basic χ, and the basis position of each
  std::vector<int> structural_at_;
  std::vector<int> kernel_rows_;   // rows not covered by a unit column
  std::vector<int> unit_at_;       // row -> basis position of its unit column, or -1
  std::vector<double> unit_sign_;  // row -> the unit column's entry, 0 for a kernel row
  std::unique_ptr<Kernel> kernel_;
};

// The constraint rows as set up, [A | D | b] (D the slack columns: each
// row's sign code on its own row), expressed in `basis` (as
// SimplexResult::basis hands it out): B⁻¹[A | D | b], by a fresh LU
// factorisation of the whole basis and one step of refinement, into
// `out` row by row (n rows of m+n+1). False, `out` unspecified, when the
// basis is singular or a result is not finite.
bool ExpressInBasis(const LpProblem& problem, std::span<const int> basis, std::vector<double>& out);

}  // namespace orcalc::lp
