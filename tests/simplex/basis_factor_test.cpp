// A basis factorised afresh from the problem's columns: the tableau it
// rebuilds holds the rows as set up once multiplied back by the basis, and
// a singular basis is refused.
#include "simplex/basis_factor.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/test_support.h"
#include "lp/lp_rows.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {
namespace {

struct ExpressRow {
  std::string what;
  LpProblem problem;
  std::vector<int> basis;
  bool ok;
  friend void PrintTo(const ExpressRow& row, std::ostream* os) { *os << row.what; }
};

class ExpressInBasisTest : public ::testing::TestWithParam<ExpressRow> {};

// The entry of the rows as set up, [A | D | b], in row i and column j.
double SetUpEntry(const LpProblem& p, int i, int j) {
  const int m = p.variables;
  if (j < m) return p.Coefficient(i, j);
  if (j == m + p.constraints) return p.rhs[static_cast<std::size_t>(i)];
  return j == m + i ? p.signs[static_cast<std::size_t>(i)] : 0.0;
}

// B's column for basis position q: χj's, a slack's or the artificial's.
double BasisEntry(const LpProblem& p, std::span<const int> basis, int i, int q) {
  const int column = basis[static_cast<std::size_t>(q)];
  if (column == kArtificialColumn) return i == q ? 1.0 : 0.0;
  return SetUpEntry(p, i, column);
}

TEST_P(ExpressInBasisTest, MultipliedBackGivesTheRowsAsSetUp) {
  const ExpressRow& c = GetParam();
  const LpProblem& p = c.problem;
  std::vector<double> z;
  ASSERT_EQ(ExpressInBasis(p, c.basis, z), c.ok);
  if (!c.ok) return;
  const int n = p.constraints, width = p.variables + n + 1;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < width; ++j) {
      double product = 0;
      for (int q = 0; q < n; ++q)
        product += BasisEntry(p, c.basis, i, q) * z[static_cast<std::size_t>(q * width + j)];
      EXPECT_NEAR(product, SetUpEntry(p, i, j), 1e-12 * (1 + std::fabs(SetUpEntry(p, i, j))))
          << "row " << i << ", column " << j;
    }
  }
  // The right-hand sides agree with the single solve the certificate uses.
  const BasisFactor factor(p, c.basis);
  ASSERT_TRUE(factor.ok());
  const std::vector<double> values = factor.Solve(p.rhs);
  for (int q = 0; q < n; ++q)
    EXPECT_NEAR(values[static_cast<std::size_t>(q)],
                z[static_cast<std::size_t>(q * width + width - 1)], 1e-9)
        << "position " << q;
}

const LpProblem kExample = Normalised(MakeProblem(kMax, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}}));
const LpProblem kMixed = Normalised(
    MakeProblem(kMin, {2, 3, 1}, {{1e4, 0.001, 0, GE, 7}, {0, 1, 1, EQ, 5}, {0.5, 0, 2e3, LE, 9}}));

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lp, ExpressInBasisTest, ::testing::Values(
    ExpressRow{"the slack basis", kExample, {2, 3}, true},
    ExpressRow{"the optimal basis", kExample, {0, 3}, true},
    ExpressRow{"both variables basic", kExample, {1, 0}, true},
    ExpressRow{"an artificial variable beside variables of mixed scale", kMixed, {0, kArtificialColumn, 2}, true},
    ExpressRow{"a surplus and a slack", kMixed, {3, 1, 5}, true},
    ExpressRow{"one column twice", kExample, {0, 0}, false},
    ExpressRow{"an equality row's empty slack column", kMixed, {0, 4, 2}, false}),
    RowName());
// clang-format on

}  // namespace
}  // namespace orcalc::lp
