// The exact view of a basis: values, columns and evaluation entries worked
// out by hand, a basis that is not one, and doubles taken exactly.
#include "goal/goal_exact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/test_support.h"
#include "goal/goal_model.h"

namespace orcalc::goal {
namespace {

using Q = std::vector<mpq_class>;

struct ExactRow {
  const char* what;
  GoalModel model;
  std::vector<int> basis;  // identifiers, row by row
  bool ok;
  Q values = {};
  int column_id = 0;  // with its tableau column
  Q column = {};
  int level = 0;  // with each variable's evaluation entry, from X1 on
  Q evaluations = {};
  friend void PrintTo(const ExactRow& row, std::ostream* os) { *os << row.what; }
};

GoalModel Model(int goals, int variables, std::vector<double> coef, std::vector<double> target,
                std::vector<double> neg_weight, std::vector<std::int16_t> neg_level,
                std::vector<double> pos_weight, std::vector<std::int16_t> pos_level) {
  GoalModel m;
  m.constraint_count = goals;
  m.variable_count = m.level_count = variables;
  m.coef = std::move(coef);
  m.target = std::move(target);
  m.neg_weight = std::move(neg_weight);
  m.neg_level = std::move(neg_level);
  m.pos_weight = std::move(pos_weight);
  m.pos_level = std::move(pos_level);
  return m;
}

class GoalExact : public ::testing::TestWithParam<ExactRow> {};

TEST_P(GoalExact, ValuesColumnsAndEvaluations) {
  const ExactRow& c = GetParam();
  const ExactBasis basis(c.model, c.basis);
  ASSERT_EQ(basis.ok(), c.ok);
  if (!c.ok) return;
  EXPECT_EQ(basis.Values(), c.values);
  if (c.column_id > 0) {
    EXPECT_EQ(basis.Column(c.column_id), c.column);
  }
  const Q duals = basis.Duals(c.level);
  for (std::size_t id = 1; id <= c.evaluations.size(); ++id)
    EXPECT_EQ(basis.Evaluation(duals, static_cast<int>(id), c.level), c.evaluations[id - 1])
        << "variable " << id;
}

// X1 + X2 = 10 (D1- weight 1 at level 1) and X1 = 4 (D2+ weight 1 at
// level 2): identifiers X1 1, X2 2, D1- 3, D2- 4, D1+ 5, D2+ 6.
const GoalModel kTwoGoals = Model(2, 2, {1, 1, 1, 0}, {10, 4}, {1, 0}, {1, 0}, {0, 1}, {0, 2});

// clang-format off
INSTANTIATE_TEST_SUITE_P(Goal, GoalExact, ::testing::Values(
    // The starting basis: D- values are the targets; entries at level 1
    // are each column's weighted entries in D1-'s row less its own cost.
    ExactRow{"starting basis", kTwoGoals, {3, 4}, true, {10, 4}, 1, {1, 1},
             1, {1, 1, 0, 0, -1, 0}},
    // The final basis of the worked example: X2 = 6 and X1 = 4 meet both
    // goals; D1- and D2+ would each worsen their own level by 1.
    ExactRow{"both goals met", kTwoGoals, {2, 1}, true, {6, 4}, 6, {1, -1},
             2, {0, 0, 0, 0, 0, -1}},
    ExactRow{"level 1 at the final basis", kTwoGoals, {2, 1}, true, {6, 4}, 3, {1, 0},
             1, {0, 0, -1, 0, 0, 0}},
    // X1 and X2 have the same coefficients: no basis.
    ExactRow{"dependent columns", Model(2, 2, {1, 1, 2, 2}, {1, 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0}),
             {1, 2}, false},
    // A negative target starts with D1+ basic (identifier 3): D1+ = 3 + X1
    // + D1-, so at weight 2 either nonbasic variable costs 2 per unit.
    ExactRow{"D+ basic", Model(1, 1, {1}, {-3}, {0}, {0}, {2}, {1}), {3}, true, {3}, 1, {-1},
             1, {-2, -2, 0}},
    // 0.1 and 0.3 are taken as the doubles they are: X1 is their exact
    // quotient, a little below 3.
    ExactRow{"doubles taken exactly", Model(1, 1, {0.1}, {0.3}, {0}, {0}, {0}, {0}), {1}, true,
             {mpq_class(0.3) / mpq_class(0.1)}}),
    RowName());
// clang-format on

// Which programs are decided exactly: by size, and by how far their
// numbers lie from 1.
TEST(GoalExact, WhichProgramsFit) {
  auto square = [](int goals, int variables, double number) {
    GoalModel m = Model(goals, variables, std::vector<double>(std::size_t(goals * variables), 1),
                        std::vector<double>(std::size_t(goals), 1),
                        std::vector<double>(std::size_t(goals), 1),
                        std::vector<std::int16_t>(std::size_t(goals), 1),
                        std::vector<double>(std::size_t(goals), 1),
                        std::vector<std::int16_t>(std::size_t(goals), 1));
    m.coef.back() = number;
    return m;
  };
  const struct {
    int goals, variables;
    double number;
    bool fits;
  } rows[] = {{60, 60, 1, true},   {61, 60, 1, false},    {60, 61, 1, false},
              {3, 3, 0, true},     {3, 3, 1e24, true},    {3, 3, 1e-24, true},
              {3, 3, 1e25, false}, {3, 3, -1e-25, false}, {3, 3, HUGE_VAL, false}};
  for (const auto& row : rows)
    EXPECT_EQ(FitsExactDecisions(square(row.goals, row.variables, row.number)), row.fits)
        << row.goals << " × " << row.variables << " with " << row.number;
}

}  // namespace
}  // namespace orcalc::goal
