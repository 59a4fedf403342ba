// Certificates of the simplex method's verdicts, checked against the
// problem as read (the intake's normalised rows, before any pivot) rather
// than the tableau, whose entries carry the round-off of every pivot:
//
// - an optimum: the point satisfies every row and x >= 0, dual values from
//   the final basis (factorised afresh from the problem's columns) have the
//   right sign for every row and leave every reduced cost on the right side
//   of 0, and the two objectives agree (no duality gap);
// - "unbounded": the point is feasible, and a ray d >= 0 built from the
//   entering column keeps every row and improves the objective;
// - "infeasible": dual values from the phase-1 basis combine the rows into
//   one that no x >= 0 can satisfy (Farkas' lemma).
//
// Each comparison is relative to the magnitudes of the terms of the sum
// being judged, so that a problem's scale, or a mix of scales across its
// rows and columns, does not decide it.
#pragma once

#include <span>
#include <vector>

#include "lp/lp_problem.h"

namespace orcalc::lp {

// The relative tolerance of every check. A sum of up to a thousand terms of
// doubles, summed in long double, or a value from a factorised basis with one
// refinement step, is off by far less than 1e-12 of its terms' magnitudes on
// data of any sensible condition; a decision that the method's fixed
// tolerance of 0.0001 made wrongly misses by far more than 1e-9 of them
// once the data are not all of one scale.
inline constexpr double kCertificateTolerance = 1e-9;
// The tolerance of a reduced cost and of the duality gap. A reduced cost
// on the wrong side by a fraction f of its terms can leave the objective
// short by f times terms that reach 10⁴ or more of |S| on mixed-scale data
// (large duals against large coefficients), so the dual side is held to
// round-off proper: dual values from the refined solve are good to about
// 1e-15 of their terms on any data the method can solve.
inline constexpr double kDualTolerance = 1e-12;

// A value of a basis's own point, solved afresh from the problem's columns
// with a step of refinement, is off by about this fraction of the largest
// value (a degenerate 0 comes out as 1e-25 or so). A basic variable below
// 0 by more is really negative: on mixed-scale data -1e-6 of a variable
// can be worth 1e-4 of S.
inline constexpr double kBasisValueNoise = 1e-15;

// A verdict as the tableau left it.
struct TableauVerdict {
  std::span<const int> basis;  // as SimplexResult::basis
  std::span<const double> x;   // χ1..χm
  double objective = 0;        // the tableau's S
  // For "unbounded": the entering column, numbered as in `basis`, and its
  // entries in the constraint rows, in order.
  int entering = -1;
  std::span<const double> entering_column;
};

struct Certificate {
  bool certified = false;
  // The point breaks a row or x >= 0 beyond its own round-off.
  bool point_broken = false;
  // c·x of the point from the problem as read, and whether the tableau's S
  // lies within the tolerance of it (relative to the sum of |c_j x_j|).
  double objective = 0;
  bool objective_agrees = true;
};

Certificate CertifyOptimum(const LpProblem& problem, const TableauVerdict& verdict);
Certificate CertifyUnbounded(const LpProblem& problem, const TableauVerdict& verdict);
Certificate CertifyInfeasible(const LpProblem& problem, const TableauVerdict& verdict);

// Whether the multipliers y of the rows prove that no x >= 0 satisfies
// them (Farkas' lemma): y_i of the sign its row's slack or surplus allows
// (s_i·y_i <= 0; others are taken for 0), Σ y_i a_ij <= 0 for every χj,
// and b·y > 0, each within the tolerance of its terms. The check of
// CertifyInfeasible, for multipliers found another way.
bool CertifyFarkasRow(const LpProblem& problem, std::vector<double> y);

}  // namespace orcalc::lp
