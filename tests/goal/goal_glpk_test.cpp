// Random goal programs against an independent solver: GLPK minimises each
// level in turn, its optimum then held as a constraint for the next.
#include <glpk.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "goal/goal_solver.h"
#include "goal_test_support.h"

namespace orcalc::goal {
namespace {

std::vector<double> PreemptiveOptima(const GoalModel& m) {
  const int M = m.constraintCount, N = m.variableCount, columns = N + 2 * M;
  glp_prob* lp = glp_create_prob();
  glp_add_cols(lp, columns);  // X1..XN, D1-..DM-, D1+..DM+, all ≥ 0
  for (int c = 1; c <= columns; ++c) glp_set_col_bnds(lp, c, GLP_LO, 0, 0);
  glp_add_rows(lp, M);
  for (int i = 0; i < M; ++i) {
    std::vector<int> index{0};
    std::vector<double> value{0};
    for (int j = 0; j < N; ++j) index.push_back(j + 1), value.push_back(m.a(i, j));
    index.insert(index.end(), {N + i + 1, N + M + i + 1});
    value.insert(value.end(), {1, -1});
    glp_set_mat_row(lp, i + 1, N + 2, index.data(), value.data());
    glp_set_row_bnds(lp, i + 1, GLP_FX, m.target[i], m.target[i]);
  }
  glp_smcp params;
  glp_init_smcp(&params);
  params.msg_lev = GLP_MSG_OFF;
  std::vector<double> optima;
  for (int level = 1; level <= m.levelCount; ++level) {
    std::vector<int> index{0};
    std::vector<double> value{0};
    for (int i = 0; i < M; ++i) {
      if (m.negLevel[i] == level) index.push_back(N + i + 1), value.push_back(m.negWeight[i]);
      if (m.posLevel[i] == level) index.push_back(N + M + i + 1), value.push_back(m.posWeight[i]);
    }
    for (int c = 1; c <= columns; ++c) glp_set_obj_coef(lp, c, 0);
    for (std::size_t k = 1; k < index.size(); ++k) glp_set_obj_coef(lp, index[k], value[k]);
    EXPECT_EQ(glp_simplex(lp, &params), 0);
    EXPECT_EQ(glp_get_status(lp), GLP_OPT);
    const double optimum = glp_get_obj_val(lp);
    optima.push_back(optimum);
    const int row = glp_add_rows(lp, 1);
    glp_set_mat_row(lp, row, static_cast<int>(index.size()) - 1, index.data(), value.data());
    glp_set_row_bnds(lp, row, GLP_UP, 0, optimum + 1e-9 * std::max(1.0, std::fabs(optimum)));
    // That bound holds only within GLPK's feasibility tolerance, which later
    // levels could borrow from; a variable with a positive reduced cost is 0
    // in every optimum of this level, so it is fixed there.
    for (int c = 1; c <= columns; ++c) {
      if (glp_get_col_dual(lp, c) > 1e-9) glp_set_col_bnds(lp, c, GLP_FX, 0, 0);
    }
  }
  glp_delete_prob(lp);
  return optima;
}

struct Shape {
  int max_goals, max_variables;
  bool whole_numbers, negative_targets;
};

void CompareWithGlpk(std::uint64_t seed, int count, const Shape& shape) {
  glp_term_out(GLP_OFF);
  std::mt19937_64 rng(seed);
  auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto uniform = [&](double hi) { return static_cast<double>(rng() >> 11) * 0x1p-53 * hi; };
  auto number = [&](int whole_below, double real_below) {
    return shape.whole_numbers ? below(whole_below) : uniform(real_below);
  };
  for (int n = 0; n < count; ++n) {
    const int M = 1 + below(shape.max_goals), N = 1 + below(shape.max_variables);
    std::vector<testing::Goal> goals(static_cast<std::size_t>(M));
    for (auto& g : goals) {
      // Real coefficients stay away from 0: a true pivot below 0.00001
      // stops the method by design, which is not what is compared here.
      for (int j = 0; j < N; ++j) {
        const double a = shape.whole_numbers ? 1 + below(9) : 0.1 + uniform(9.9);
        g.a.push_back(below(3) == 0 ? 0 : a);
      }
      g.b = number(51, 100) * (shape.negative_targets && below(2) ? -1 : 1);
      g.negWeight = number(6, 5);
      g.posWeight = number(6, 5);
      g.negLevel = below(N + 2);
      g.posLevel = below(N + 2);
    }
    const GoalModel m = testing::MakeModel(N, goals);
    const GoalResult result = SolveGoals(m, nullptr);
    ASSERT_EQ(result.outcome, GoalOutcome::Optimal) << "seed " << seed << " problem " << n;
    const std::vector<double> optima = PreemptiveOptima(m);
    for (std::size_t k = 0; k < optima.size(); ++k) {
      EXPECT_NEAR(result.final.achievement[k], optima[k],
                  1e-6 * std::max(1.0, std::fabs(optima[k])))
          << "seed " << seed << " problem " << n << " level " << k + 1;
    }
  }
}

TEST(GoalAgainstGlpk, WholeNumbers) { CompareWithGlpk(1, 500, {8, 8, true, false}); }
TEST(GoalAgainstGlpk, RealNumbers) { CompareWithGlpk(2, 500, {8, 8, false, false}); }
TEST(GoalAgainstGlpk, NegativeTargets) {
  CompareWithGlpk(3, 250, {8, 8, true, true});
  CompareWithGlpk(4, 250, {8, 8, false, true});
}
TEST(GoalAgainstGlpk, ManyLevels) { CompareWithGlpk(5, 60, {12, 30, true, false}); }

}  // namespace
}  // namespace orcalc::goal
