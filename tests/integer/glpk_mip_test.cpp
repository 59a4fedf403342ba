// Random integer programs against GLPK's branch and cut (glp_intopt): the
// same optimal S or the same verdict that no whole-number solution exists,
// and every solution checked on the rows as read.
#include <glpk.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "integer/branch_and_bound.h"
#include "integer/integer_commands.h"
#include "lp/glpk_problem.h"
#include "lp/lp_rows.h"

namespace orcalc::integer {
namespace {

// About 2 s of processor time in Release, most of it in the few 15 × 15
// problems of whole numbers that take thousands of nodes. Under the
// sanitizers, a quarter of them (every kind among them).
constexpr int kProblems = 1050;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kShare = 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr int kShare = 4;
#else
constexpr int kShare = 1;
#endif
#else
constexpr int kShare = 1;
#endif

struct RandomProgram {
  lp::LpProblem problem;  // as entered
  std::vector<VariableType> types;
};

// Up to 15 variables and 15 rows (and one row bounding the sum of the
// variables), small whole-number coefficients, a fifth of them 0, around a
// planted whole-number point (0 to 3 each) that most rows keep; one row in ten is moved
// off it, which often leaves no whole-number point. Kind 0: all integer,
// 1: mixed (some objective coefficients halves), 2: all 0-1.
RandomProgram RandomProblem(std::mt19937_64& random, int kind) {
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const int m = uniform(1, 15), n = uniform(1, 15);
  RandomProgram out;
  std::vector<double> point(static_cast<std::size_t>(m)), c(point.size());
  for (std::size_t j = 0; j < point.size(); ++j) {
    out.types.push_back(kind == 2                         ? VariableType::Binary
                        : kind == 1 && uniform(0, 1) == 0 ? VariableType::Continuous
                                                          : VariableType::Integer);
    point[j] = kind == 2 ? uniform(0, 1) : uniform(0, 3);
    c[j] = uniform(-9, 9) + (kind == 1 && uniform(0, 3) == 0 ? 0.5 : 0.0);
  }
  std::vector<std::vector<double>> rows;
  double total = 0;
  for (double p : point) total += p;
  for (int i = 0; i <= n; ++i) {
    std::vector<double> row(static_cast<std::size_t>(m) + 2, 0.0);
    double at_point = 0;
    for (std::size_t j = 0; j < point.size(); ++j) {
      row[j] = i == n ? 1 : uniform(0, 4) == 0 ? 0 : uniform(-5, 9);
      at_point += row[j] * point[j];
    }
    const int kind_of_row = i == n ? 0 : uniform(0, 19);
    const double off = uniform(0, 9) == 0 ? uniform(1, 3) : 0;
    double& sign = row[static_cast<std::size_t>(m)];
    double& rhs = row[static_cast<std::size_t>(m) + 1];
    if (i == n) {
      sign = lp::LE, rhs = total + 3;
    } else if (kind_of_row < 12) {
      sign = lp::LE, rhs = at_point + uniform(0, 6) - 2 * off;
    } else if (kind_of_row < 17) {
      sign = lp::GE, rhs = at_point - uniform(0, 6) + 2 * off;
    } else {
      sign = lp::EQ, rhs = at_point + off;
    }
    rows.push_back(row);
  }
  out.problem = lp::MakeProblem(uniform(0, 1) ? lp::kMax : lp::kMin, c, rows);
  return out;
}

struct GlpkVerdict {
  bool optimal = false;
  bool infeasible = false;
  double s = 0;
};

GlpkVerdict SolveWithGlpk(const RandomProgram& program) {
  glp_prob* mip = lp::GlpkProblem(program.problem);
  for (std::size_t j = 0; j < program.types.size(); ++j) {
    const int col = static_cast<int>(j) + 1;
    if (program.types[j] == VariableType::Integer) glp_set_col_kind(mip, col, GLP_IV);
    if (program.types[j] == VariableType::Binary) glp_set_col_kind(mip, col, GLP_BV);
  }
  // The relaxation first, as glp_intopt needs without its presolver (which
  // fails an assertion on some of these problems).
  glp_smcp simplex;
  glp_init_smcp(&simplex);
  simplex.msg_lev = GLP_MSG_OFF;
  GlpkVerdict verdict;
  if (glp_simplex(mip, &simplex) != 0 || glp_get_status(mip) != GLP_OPT) {
    verdict.infeasible = glp_get_status(mip) == GLP_NOFEAS;
    glp_delete_prob(mip);
    return verdict;
  }
  glp_iocp parm;
  glp_init_iocp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  parm.tol_obj = 1e-12;  // no node let go for a relative improvement above this
  const int ret = glp_intopt(mip, &parm);
  const int status = glp_mip_status(mip);
  verdict.optimal = ret == 0 && status == GLP_OPT;
  verdict.infeasible = ret == 0 && status == GLP_NOFEAS;
  verdict.s = glp_mip_obj_val(mip);
  glp_delete_prob(mip);
  return verdict;
}

// The point keeps every row as entered and x >= 0 within round-off, is
// whole where it must be, and S is c·x.
void ExpectSolutionHolds(const RandomProgram& program, const lp::SimplexResult& solution) {
  const lp::LpProblem& p = program.problem;
  double s = 0;
  for (int j = 0; j < p.variables; ++j) {
    const double x = solution.x[static_cast<std::size_t>(j)];
    EXPECT_GE(x, -1e-12);
    if (IsWhole(program.types[static_cast<std::size_t>(j)])) EXPECT_EQ(x, std::round(x));
    if (program.types[static_cast<std::size_t>(j)] == VariableType::Binary) EXPECT_LE(x, 1);
    s += p.objective[static_cast<std::size_t>(j)] * x;
  }
  EXPECT_NEAR(solution.objective, s, 1e-9 * std::max(1.0, std::fabs(s)));
  for (int i = 0; i < p.constraints; ++i) {
    double lhs = 0, scale = std::fabs(p.rhs[static_cast<std::size_t>(i)]);
    for (int j = 0; j < p.variables; ++j) {
      const double term = p.Coefficient(i, j) * solution.x[static_cast<std::size_t>(j)];
      lhs += term;
      scale += std::fabs(term);
    }
    const double slack = 1e-9 * std::max(1.0, scale);
    const double sign = p.signs[static_cast<std::size_t>(i)];
    const double b = p.rhs[static_cast<std::size_t>(i)];
    if (sign == lp::kLessEqual) EXPECT_LE(lhs, b + slack) << "row " << i;
    if (sign == lp::kGreaterEqual) EXPECT_GE(lhs, b - slack) << "row " << i;
    if (sign == lp::kEqual) EXPECT_NEAR(lhs, b, slack) << "row " << i;
  }
}

TEST(GlpkMip, SameOptimumOrSameVerdict) {
  std::mt19937_64 random(20261208);
  int optimal = 0, infeasible = 0;
  for (int k = 0; k < kProblems; ++k) {
    const RandomProgram program = RandomProblem(random, k % 3);
    if (k % kShare != 0) continue;
    SCOPED_TRACE("problem " + std::to_string(k));
    const GlpkVerdict glpk = SolveWithGlpk(program);
    ASSERT_TRUE(glpk.optimal || glpk.infeasible);
    const IntegerResult ours = SolveBranchAndBound(lp::Normalised(program.problem), program.types);
    EXPECT_TRUE(IntegerMessages(ours).empty() || ours.outcome == IntegerOutcome::NoWholeSolution);
    if (glpk.infeasible) {
      ++infeasible;
      EXPECT_EQ(ours.outcome, IntegerOutcome::NoWholeSolution);
      continue;
    }
    ++optimal;
    ASSERT_EQ(ours.outcome, IntegerOutcome::Optimal);
    EXPECT_NEAR(ours.incumbent->objective, glpk.s, 1e-9 * std::max(1.0, std::fabs(glpk.s)));
    ExpectSolutionHolds(program, *ours.incumbent);
  }
  // Both verdicts well represented.
  EXPECT_GT(optimal, kProblems / kShare / 2);
  EXPECT_GT(infeasible, kProblems / kShare / 20);
}

}  // namespace
}  // namespace orcalc::integer
