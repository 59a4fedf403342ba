// Random linear programs solved by our simplex method and by GLPK: when we
// claim an optimum, GLPK must find one with the same objective value.
#include <glpk.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "lp/simplex_solver.h"
#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

struct Reference {
  bool optimal = false;
  double objective = 0.0;
};

Reference SolveWithGlpk(const LpProblem& problem) {
  const int m = problem.variables;
  const int n = problem.constraints;
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, problem.sense > 0 ? GLP_MAX : GLP_MIN);
  if (n > 0) glp_add_rows(lp, n);
  if (m > 0) glp_add_cols(lp, m);
  for (int j = 1; j <= m; ++j) {
    glp_set_col_bnds(lp, j, GLP_LO, 0.0, 0.0);
    glp_set_obj_coef(lp, j, problem.objective[j - 1]);
  }
  std::vector<int> ia{0}, ja{0};
  std::vector<double> ar{0.0};
  for (int i = 1; i <= n; ++i) {
    const double b = problem.rhs[i - 1];
    const double sign = problem.signs[i - 1];
    if (sign == kLessEqual) {
      glp_set_row_bnds(lp, i, GLP_UP, 0.0, b);
    } else if (sign == kGreaterEqual) {
      glp_set_row_bnds(lp, i, GLP_LO, b, 0.0);
    } else {
      glp_set_row_bnds(lp, i, GLP_FX, b, b);
    }
    for (int j = 1; j <= m; ++j) {
      const double a = problem.Coefficient(i - 1, j - 1);
      if (a == 0) continue;
      ia.push_back(i);
      ja.push_back(j);
      ar.push_back(a);
    }
  }
  glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  Reference reference;
  if (glp_simplex(lp, &parm) == 0 && glp_get_status(lp) == GLP_OPT) {
    reference.optimal = true;
    reference.objective = glp_get_obj_val(lp);
  }
  glp_delete_prob(lp);
  return reference;
}

enum class Family { Feasible, Infeasible, Unbounded };

// Integer data, so that the tolerances of both solvers see the same
// problem. Feasible problems are built around a known point; infeasible
// ones add two contradictory rows; unbounded ones maximise over >= rows
// with nonnegative coefficients.
LpProblem RandomProblem(std::mt19937_64& random, Family family) {
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const int m = uniform(1, 20);
  const int n = uniform(family == Family::Infeasible ? 2 : 1, 20);
  std::vector<double> point(m);
  for (double& v : point) v = uniform(0, 6);
  std::vector<double> c(m);
  for (double& v : c) v = uniform(-10, 10);
  const bool maximise = family == Family::Unbounded || uniform(0, 1) == 1;

  std::vector<std::vector<double>> rows;
  for (int i = 0; i < n; ++i) {
    std::vector<double> row(m + 2);
    double at_point = 0;
    for (int j = 0; j < m; ++j) {
      row[j] = family == Family::Unbounded ? uniform(0, 6) : uniform(-2, 0) == 0 ? 0 : uniform(-4, 9);
      at_point += row[j] * point[j];
    }
    const int kind = uniform(0, 9);
    if (family == Family::Unbounded || kind < 3) {
      row[m] = kGreaterEqual;
      row[m + 1] = at_point - uniform(0, 8);
    } else if (kind < 8) {
      row[m] = kLessEqual;
      row[m + 1] = at_point + uniform(0, 8);
    } else {
      row[m] = kEqual;
      row[m + 1] = at_point;
    }
    rows.push_back(row);
  }
  if (family == Family::Infeasible) {
    // sum of some variables <= t and >= t + 3.
    std::vector<double> low(m + 2, 0), high(m + 2, 0);
    for (int j = 0; j < m; ++j) low[j] = high[j] = uniform(0, 1);
    low[0] = high[0] = 1;
    const int t = uniform(0, 10);
    low[m] = kLessEqual;
    low[m + 1] = t;
    high[m] = kGreaterEqual;
    high[m + 1] = t + 3;
    rows.insert(rows.begin() + uniform(0, n - 1), low);
    rows.insert(rows.begin() + uniform(0, n), high);
  }
  return testing::MakeProblem(maximise ? 1.0 : -1.0, c, rows);
}

bool Close(double a, double b) {
  return std::fabs(a - b) <= 1e-6 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

TEST(GlpkComparison, OptimaAgreeWheneverWeClaimOne) {
  std::mt19937_64 random(20240611);
  int claimed = 0;
  int refused = 0;
  int glpk_optimal_refused = 0;
  const Family families[] = {Family::Feasible, Family::Infeasible, Family::Unbounded};
  for (Family family : families) {
    const int count = family == Family::Feasible ? 300 : 60;
    for (int trial = 0; trial < count; ++trial) {
      const LpProblem problem = RandomProblem(random, family);
      const SimplexResult ours = SolveSimplex(problem);
      const Reference reference = SolveWithGlpk(problem);
      SCOPED_TRACE(::testing::Message() << "family " << static_cast<int>(family) << " trial " << trial);
      if (!ours.messages.empty()) {
        ++refused;
        if (reference.optimal) ++glpk_optimal_refused;
        continue;
      }
      ++claimed;
      ASSERT_TRUE(reference.optimal) << "we claim S = " << ours.objective;
      EXPECT_TRUE(Close(ours.objective, reference.objective))
          << ours.objective << " against " << reference.objective;

      // The reported point is feasible and gives the reported value.
      double value = 0;
      for (int j = 0; j < problem.variables; ++j) {
        EXPECT_GE(ours.x[j], -1e-9);
        value += problem.objective[j] * ours.x[j];
      }
      EXPECT_TRUE(Close(value, ours.objective));
      for (int i = 0; i < problem.constraints; ++i) {
        double lhs = 0;
        for (int j = 0; j < problem.variables; ++j) lhs += problem.Coefficient(i, j) * ours.x[j];
        const double b = problem.rhs[i];
        const double slack = 1e-7 * std::max(1.0, std::fabs(b));
        if (problem.signs[i] == kLessEqual) {
          EXPECT_LE(lhs, b + slack);
        } else if (problem.signs[i] == kGreaterEqual) {
          EXPECT_GE(lhs, b - slack);
        } else {
          EXPECT_NEAR(lhs, b, slack);
        }
      }
    }
  }
  // Every family is represented on both sides, and a problem GLPK solves
  // is not refused by us.
  EXPECT_GT(claimed, 200);
  EXPECT_GT(refused, 100);
  EXPECT_EQ(glpk_optimal_refused, 0);
}

}  // namespace
}  // namespace orcalc::lp
