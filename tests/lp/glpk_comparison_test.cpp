// Random linear programs solved by our simplex method and by GLPK: when we
// claim an optimum, GLPK finds one with the same objective value.
#include <glpk.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <random>

#include "lp/simplex_solver.h"
#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

std::optional<double> GlpkOptimum(const LpProblem& p) {
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, p.sense > 0 ? GLP_MAX : GLP_MIN);
  if (p.constraints > 0) glp_add_rows(lp, p.constraints);
  glp_add_cols(lp, p.variables);
  std::vector<int> ia{0}, ja{0};
  std::vector<double> ar{0.0};
  for (int j = 1; j <= p.variables; ++j) {
    glp_set_col_bnds(lp, j, GLP_LO, 0.0, 0.0);
    glp_set_obj_coef(lp, j, p.objective[j - 1]);
  }
  for (int i = 1; i <= p.constraints; ++i) {
    const double b = p.rhs[i - 1], sign = p.signs[i - 1];
    glp_set_row_bnds(lp, i,
                     sign == kLessEqual      ? GLP_UP
                     : sign == kGreaterEqual ? GLP_LO
                                             : GLP_FX,
                     b, b);
    for (int j = 1; j <= p.variables; ++j) {
      ia.push_back(i);
      ja.push_back(j);
      ar.push_back(p.Coefficient(i - 1, j - 1));
    }
  }
  glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  std::optional<double> optimum;
  if (glp_simplex(lp, &parm) == 0 && glp_get_status(lp) == GLP_OPT) optimum = glp_get_obj_val(lp);
  glp_delete_prob(lp);
  return optimum;
}

enum class Family { Feasible, Infeasible, Unbounded };

// Whole-number data, so that both solvers' tolerances see the same problem.
// Feasible problems are built around a known point (with many degenerate
// rows); infeasible ones add x1 + ... <= t and >= t + 3; unbounded ones
// maximise over >= rows with nonnegative coefficients.
LpProblem RandomProblem(std::mt19937_64& random, Family family) {
  auto uniform = [&](int lo, int hi) {
    return double(std::uniform_int_distribution<int>(lo, hi)(random));
  };
  const int m = int(uniform(1, 20)), n = int(uniform(1, 20));
  std::vector<double> point(m), c(m);
  for (int j = 0; j < m; ++j) point[j] = uniform(0, 6), c[j] = uniform(-10, 10);
  std::vector<std::vector<double>> rows;
  for (int i = 0; i < n; ++i) {
    std::vector<double> row(m + 2);
    double at_point = 0;
    for (int j = 0; j < m; ++j) {
      row[j] = family == Family::Unbounded ? uniform(0, 6)
               : uniform(-2, 0) == 0       ? 0
                                           : uniform(-4, 9);
      at_point += row[j] * point[j];
    }
    const double kind = family == Family::Unbounded ? 0 : uniform(0, 9);
    row[m] = kind < 3 ? kGreaterEqual : kind < 8 ? kLessEqual : kEqual;
    row[m + 1] = at_point + (kind < 3 ? -uniform(0, 8) : kind < 8 ? uniform(0, 8) : 0);
    rows.push_back(row);
  }
  if (family == Family::Infeasible) {
    std::vector<double> low(m + 2), high(m + 2);
    for (int j = 0; j < m; ++j) low[j] = high[j] = j == 0 ? 1 : uniform(0, 1);
    low[m] = kLessEqual, high[m] = kGreaterEqual;
    low[m + 1] = uniform(0, 10), high[m + 1] = low[m + 1] + 3;
    rows.insert(rows.begin() + int(uniform(0, n)), low);
    rows.insert(rows.begin() + int(uniform(0, n + 1)), high);
  }
  const bool maximise = family == Family::Unbounded || uniform(0, 1) == 1;
  return testing::MakeProblem(maximise ? 1.0 : -1.0, c, rows);
}

bool Close(double a, double b) {
  return std::fabs(a - b) <= 1e-6 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

TEST(GlpkComparison, OptimaAgreeWheneverWeClaimOne) {
  std::mt19937_64 random(20240611);
  int claimed = 0, refused = 0;
  for (Family family : {Family::Feasible, Family::Infeasible, Family::Unbounded}) {
    for (int trial = 0; trial < (family == Family::Feasible ? 300 : 60); ++trial) {
      const LpProblem p = RandomProblem(random, family);
      const SimplexResult ours = SolveSimplex(p);
      const std::optional<double> reference = GlpkOptimum(p);
      SCOPED_TRACE(::testing::Message() << "family " << int(family) << " trial " << trial);

      // None of these repeats a basis, so the guard against cycling must
      // change nothing, bit for bit.
      const SimplexResult unguarded = SolveSimplex(p, {.anti_cycling = false});
      EXPECT_EQ(ours.bland_pivots, 0);
      EXPECT_EQ(ours.pivots, unguarded.pivots);
      EXPECT_EQ(0, std::memcmp(&ours.objective, &unguarded.objective, sizeof(double)));
      if (!ours.messages.empty()) {
        ++refused;
        EXPECT_FALSE(reference.has_value()) << "GLPK solves what we refuse: " << *reference;
        continue;
      }
      ++claimed;
      ASSERT_TRUE(reference.has_value()) << "we claim S = " << ours.objective;
      EXPECT_TRUE(Close(ours.objective, *reference)) << ours.objective << " against " << *reference;
    }
  }
  EXPECT_GT(claimed, 200);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace orcalc::lp
