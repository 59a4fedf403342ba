// Goal programming: the sheet's layout and reading, the report byte for byte,
// the written choices, the guards against negative targets, endless pivoting
// and round-off, the exchange kernels' bits, and random problems against GLPK.
#include <glpk.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "common/sheet_file.h"
#include "goal/goal_commands.h"
#include "goal/goal_kernels.h"
#include "goal/goal_model.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {
namespace {

using Messages = std::vector<std::string>;
using V = std::vector<double>;
const std::string kOptimal = "---------OPTIMAL SOLUSION 最优解! -------------";
const std::string kValues = "VALUE OF COAL ACHEVEMEN VECORT AGE 目标值:";

// One goal: coefficients, target, D- weight and level, D+ weight and level.
struct Goal {
  V a;
  double b = 0, negWeight = 0;
  int negLevel = 0;
  double posWeight = 0;
  int posLevel = 0;
};

GoalModel MakeModel(int variables, const std::vector<Goal>& goals) {
  GoalModel m;
  m.constraintCount = static_cast<int>(goals.size());
  m.variableCount = m.levelCount = variables;
  for (const Goal& g : goals) {
    m.coef.insert(m.coef.end(), g.a.begin(), g.a.begin() + variables);
    m.target.push_back(g.b), m.negWeight.push_back(g.negWeight), m.posWeight.push_back(g.posWeight);
    m.negLevel.push_back(std::int16_t(g.negLevel)), m.posLevel.push_back(std::int16_t(g.posLevel));
  }
  return m;
}

GoalResult Solve(const GoalModel& m, std::vector<GoalSnapshot>* snaps = nullptr) {
  return SolveGoals(m, [&](const GoalSnapshot& s) { snaps ? snaps->push_back(s) : void(); });
}

// A sheet from CSV text: goal rows from row 1, column 1 the first coefficient.
Sheet FromCsv(std::string_view csv) { return ReadSheetCsv(csv).sheet; }

// Each line preceded by CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += "\r\n" + line;
  return text;
}

std::string Header(int m, int n) {
  return Lines({"-------目标规划结果输出--------------", "约束方程数 M=" + std::to_string(m),
                "变量个数 N=" + std::to_string(n), "优先等级数 L=" + std::to_string(n),
                "================约束方程=================="});
}

// X1 + X2 = 10 (D1- weight 1, level 1) and X1 = 4 with the X2 cell empty
// (D2+ weight 1, level 2).
const Sheet kExample = FromCsv("\n,1,1, ═ ,10,1,1,0,0\n,1,, ≥ ,4,0,0,1,2\n");

TEST(GoalSheet, LayOutRebuildAndIntake) {
  Sheet sheet;
  LayOutSheet(sheet, 2, 5);
  EXPECT_EQ(sheet.rows() * 100 + sheet.cols(), 312);
  EXPECT_EQ(sheet.Cell(2, 0), "约束方程2");
  EXPECT_EQ(sheet.Cell(0, 5), "χ5 系数");
  sheet.SetCell(1, 4, "7");

  // Rebuilt for N = 3: the old X4 number stands under a new header, and
  // columns wide in the earlier build stay wide.
  LayOutSheet(sheet, 2, 3);
  const char* headers[] = {"约束符号",       "常数项",         "负偏差权重系数",
                           "负偏差优先等级", "正偏差权重系数", "正偏差优先等级"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(sheet.Cell(0, 4 + k), headers[k]);
  EXPECT_EQ(sheet.Cell(1, 4), "7");
  const int widths[] = {1700, -1, -1, -1, -1, -1, 1700, 1700, 1700, 1700};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(sheet.ColumnWidth(c), widths[c]) << c;

  // Counts below the sheet's read its upper left with the columns the new N
  // gives (N = 1: target in column 3, D- weight in 4); above it, empty cells.
  const Sheet filled = FromCsv("\n,1.5,-2, ≥ ,10,0.5,1,2,2.5\n,x,3e1,,,,-0.4,,1.5\n");
  EXPECT_EQ(ReadGoalModel(filled, 2, 2).model.coef, (V{1.5, -2, 0, 30}));
  EXPECT_EQ(ReadGoalModel(filled, 1, 1).model.negWeight, (V{10}));
  EXPECT_EQ(ReadGoalModel(filled, 3, 2).model.target, (V{10, 0, 0}));
  // Levels: halves to the even neighbour, clamped to 16 bits.
  const std::pair<double, int> levels[] = {{1.5, 2},         {2.5, 2},     {-0.4, 0},
                                           {32767.5, 32767}, {1e6, 32767}, {-1e300, -32768}};
  for (const auto& [in, out] : levels) EXPECT_EQ(RoundLevel(in), out) << in;
}

TEST(GoalSheet, OverflowingCellStopsTheCalculation) {
  // The sign column is never read; otherwise the first cell in reading
  // order (row by row; columns 1..N, then N+2..N+6) is named.
  Sheet sheet = FromCsv("\n,1,1,1e999,10,1,1,0,0\n,1e999,1,,4,0,0,1,2\n");
  const CalculationOutcome out = Calculate({2, 2}, sheet);
  EXPECT_EQ(out.messages, Messages{"单元格(2,1)的数值超出范围！"});
  EXPECT_FALSE(out.report.has_value());
  for (int col : {8, 4, 2}) {
    sheet.SetCell(1, col, "-1e400");
    EXPECT_EQ(Calculate({2, 2}, sheet).messages, Messages{OverflowMessage(1, col)});
  }
}

TEST(GoalReport, WorkedExampleByteForByte) {
  const CalculationOutcome out = Calculate({2, 2}, kExample);
  EXPECT_TRUE(out.messages.empty());
  EXPECT_EQ(out.title, "目标规划计算结果");
  const std::string third =
      Lines({"循环次数:3次", kValues, "L=:2", "变量解值", "X( 1)= 4", "X( 2)= 6", "负偏差变量值：",
             "D( 1)- = 0", "D( 2)- = 0", "正偏差变量值：", "D( 1)+ = 0", "D( 2)+ = 0"});
  // clang-format off
  EXPECT_EQ(*out.report,
            Header(2, 2) +
                Lines({"约束方程1: 1 * X1 + 1 * X2 + (D1+) - (D1-) = 10",
                       "约束方程2: 1 * X1 + 0 * X2 + (D2+) - (D2-) = 4",
                       "循环次数:1次", kValues, "L=:2", "GOAL  P( 1)= ---- = 6", "变量解值",
                       "X( 1)= 4", "X( 2)= 0", "负偏差变量值：", "D( 1)- = 6", "D( 2)- = 0",
                       "正偏差变量值：", "D( 1)+ = 0", "D( 2)+ = 0",
                       "循环次数:2次", kValues, "L=:2", "GOAL  P( 2)= ---- = 6", "变量解值",
                       "X( 1)= 10", "X( 2)= 0", "负偏差变量值：", "D( 1)- = 0", "D( 2)- = 0",
                       "正偏差变量值：", "D( 1)+ = 0", "D( 2)+ = 6"}) +
                third + Lines({kOptimal}) + third);
  // clang-format on
}

TEST(GoalReport, EmptyCountsAndNumberTexts) {
  // N = 0: no terms, no level, no X lines. M = 0: no goal lines at all.
  EXPECT_EQ(*Calculate({1, 0}, FromCsv("\n,,10,1,1\n")).report,
            Header(1, 0) + Lines({"约束方程1: (D1+) - (D1-) = 10", kOptimal, "循环次数:0次",
                                  kValues, "L=:0", "变量解值", "负偏差变量值：", "D( 1)- = 10",
                                  "正偏差变量值：", "D( 1)+ = 0"}));
  EXPECT_EQ(*Calculate({0, 1}, Sheet{}).report,
            Header(0, 1) + Lines({kOptimal, "循环次数:0次", kValues, "L=:1", "变量解值", "X( 1)= 0",
                                  "负偏差变量值：", "正偏差变量值："}));

  // Echo in plain texts with the separator; results in signed texts, with
  // 0.1 + 0.2 at one level written " .3".
  EXPECT_EQ(*Calculate({2, 1, ","}, FromCsv("\n,-2,,0.1,1,1\n,0,,0.2,1,1\n")).report,
            Header(2, 1) + Lines({"约束方程1: -2 * X1 + (D1+) - (D1-) = 0,1",
                                  "约束方程2: 0 * X1 + (D2+) - (D2-) = 0,2", kOptimal,
                                  "循环次数:0次", kValues, "L=:1", "GOAL  P( 1)= ---- = .3",
                                  "变量解值", "X( 1)= 0", "负偏差变量值：", "D( 1)- = .1",
                                  "D( 2)- = .2", "正偏差变量值：", "D( 1)+ = 0", "D( 2)+ = 0"}));
}

TEST(GoalReport, StopsWithoutTheClosingLine) {
  // D1- weighted −2 rewards an ever larger shortfall: the first pivot check
  // fails, only the final block follows, the negative sum without a blank.
  CalculationOutcome out = Calculate({1, 1}, FromCsv("\n,1,,1,-2,1\n"));
  EXPECT_EQ(out.messages, Messages{"ROUNED ERROR IN SOLUSION"});
  EXPECT_EQ(*out.report,
            Header(1, 1) + Lines({"约束方程1: 1 * X1 + (D1+) - (D1-) = 1", "循环次数:0次", kValues,
                                  "L=:1", "GOAL  P( 1)= ---- =-2", "变量解值", "X( 1)= 0",
                                  "负偏差变量值：", "D( 1)- = 1", "正偏差变量值：", "D( 1)+ = 0"}));

  // Cycling: maximise 10X1 − 57X2 − 9X3 − 24X4 (goal 4's D- at level 1)
  // under three constraints whose D+ are priced out at level 1 and whose D-
  // sit at an unused level, the first with the larger weight. The sixth
  // pivot returns to the level's first basis: six blocks, no closing line,
  // the final block repeats the sixth.
  out = Calculate({4, 4}, FromCsv("\n,0.5,-5.5,-2.5,9,,0,2,9,1e4,1\n,0.5,-1.5,-0.5,1,,0,1,9,1e4,1\n"
                                  ",1,0,0,0,,1,0,9,1e4,1\n,10,-57,-9,-24,,1e6,1,1,0,0\n"));
  EXPECT_EQ(out.messages, Messages{"计算出现循环，停止计算！"});
  const std::string& report = *out.report;
  const auto sixth = report.find("\r\n循环次数:6次"), last = report.rfind("\r\n循环次数:6次");
  EXPECT_EQ(report.substr(sixth, last - sixth), report.substr(last));

  // The limit allows exactly that many pivots; the pivot check comes first.
  EXPECT_TRUE(Calculate({2, 2, ".", 3}, kExample).messages.empty());
  out = Calculate({2, 2, ".", 2}, kExample);
  EXPECT_EQ(out.messages, Messages{"循环次数超过32767次，停止计算！"});
  EXPECT_EQ(out.report->find(kOptimal), std::string::npos);
  EXPECT_EQ(Calculate({1, 1, ".", 0}, FromCsv("\n,1,,1,-2,1\n")).messages,
            Messages{"ROUNED ERROR IN SOLUSION"});
}

TEST(GoalSolver, TieBreaksAndRoundOffBounds) {
  // Entering: evaluation entry, level and weight of each column.
  using Column = std::tuple<double, int, double>;
  const std::pair<std::vector<Column>, int> entering[] = {
      {{{2, 0, 0}, {2, 1, 0}}, 1},            // larger level wins a tie
      {{{2, 1, 3}, {2, 1, 2}}, 1},            // then the smaller weight
      {{{5, 0, RemovedMark}, {2, 0, 0}}, 1},  // removed columns are skipped
      {{{1, 1, 0}, {1 + 1e-13, 0, 0}}, 0},    // round-off is a tie
  };
  for (const auto& [columns, expected] : entering) {
    GoalTableau t = StartTableau(MakeModel(static_cast<int>(columns.size()), {}));
    for (std::size_t j = 0; j < columns.size(); ++j)
      std::tie(t.eval[j], t.colLevel[j], t.colWeight[j]) = columns[j];
    EXPECT_EQ(ChooseEntering(t), expected) << std::get<0>(columns[1]);
  }
  // Leaving, for column 0: basic value, entry, level and weight of each row.
  using Row = std::tuple<double, double, int, double>;
  const std::pair<std::vector<Row>, int> leaving[] = {
      {{{4, 1, 2, 0}, {4, 1, 1, 0}}, 1},          // tie: smaller level
      {{{4, 1, 1, 1}, {4, 1, 1, 2}}, 1},          // then larger weight
      {{{2e9, 1, 0, 0}, {1, 0, 0, 0}}, -1},       // ratio of 1e9 or more
      {{{0, 1e-9, 0, 0}, {4, 1, 0, 0}}, 1},       // round-off does not
      {{{1, 1, 1, 0}, {1.000001, 1, 0, 0}}, 0},   // a real difference decides
      {{{0.1 * 3, 1, 0, 0}, {0.3, 1, 1, 0}}, 0},  // round-off is a tie
  };
  for (const auto& [rows, expected] : leaving) {
    GoalTableau t = StartTableau(MakeModel(1, std::vector<Goal>(rows.size(), Goal{{0}})));
    for (std::size_t i = 0; i < rows.size(); ++i)
      std::tie(t.rowValue[i], t.Coef(int(i), 0), t.rowLevel[i], t.rowWeight[i]) = rows[i];
    EXPECT_EQ(ChooseLeaving(t, 0), expected) << std::get<0>(rows[1]);
  }
}

TEST(GoalSolver, MendedFaults) {
  // A negative target starts with D+ basic, so no deviation is ever
  // negative: X1 + X2 ≥ 4 at level 1 and X1 − X2 = −6 at level 2 are met.
  std::vector<GoalSnapshot> snaps;
  GoalResult r = Solve(MakeModel(2, {{{1, 1}, 4, 1, 1, 0, 0}, {{1, -1}, -6, 1, 2, 1, 2}}), &snaps);
  EXPECT_EQ(r.final.achievement, (V{0, 0}));
  for (const auto& s : snaps)
    for (double v : s.solution) EXPECT_GE(v, 0);

  // Round-off decides nothing: all-integer data on which exact comparisons
  // end with level 3 at 84.
  r = Solve(MakeModel(4, {{{2, 5, 1, 0}, 18, 1.5, 1, 3, 1}, {{5, 0, 5, 1}, 6, 2.5, 1, 1, 3}}));
  EXPECT_EQ(r.outcome, GoalOutcome::Optimal);
  EXPECT_EQ(r.final.pivots, 2);
  EXPECT_EQ(r.final.achievement, (V{0, 0, 0, 0}));
  // Small real values are not noise: a weight of 1e-6, entries 1 and
  // 1.000001 (the larger enters), a true pivot of 5e-6 with the smallest
  // ratio (which fails the check).
  EXPECT_EQ(Solve(MakeModel(1, {{{1}, 10, 1e-6, 1, 0, 0}})).final.solution, (V{10, 0, 0}));
  EXPECT_EQ(Solve(MakeModel(2, {{{1, 1.000001}, 10, 1, 1, 0, 0}})).final.solution,
            (V{0, 10 / 1.000001, 0, 0}));
  EXPECT_EQ(Solve(MakeModel(1, {{{5e-6}, 1e-6, 0, 0, 0, 0}, {{1}, 10, 1, 1, 0, 0}})).outcome,
            GoalOutcome::PivotTooSmall);
  // Basic values within round-off of 0 become 0: 3 − 0.3 / 0.1 is 4.4e-16.
  snaps.clear();
  Solve(MakeModel(1, {{{0.1}, 0.3, 0, 0, 0, 0}, {{1}, 3, 1, 1, 0, 0}}), &snaps);
  EXPECT_EQ(snaps.at(0).solution, (V{0.3 / 0.1, 0, 0, 0, 0}));

  // A weight of exactly the removal mark removes the column from the start.
  EXPECT_EQ(Solve(MakeModel(1, {{{1}, 2, 0, 0, RemovedMark, 1}})).final.pivots, 0);
  EXPECT_EQ(Solve(MakeModel(1, {{{1}, 2, 0, 0, -3.1415900001, 1}})).outcome,
            GoalOutcome::PivotTooSmall);
}

TEST(GoalSolver, ExchangeKernelsAreBitIdenticalToTheWrittenSteps) {
  std::mt19937_64 rng(42);
  auto uniform = [&] { return static_cast<double>(rng() >> 11) * 0x1p-53; };
  auto same = [](const V& x, const V& y) { return !std::memcmp(&x[0], &y[0], x.size() * 8); };
  for (int trial = 0; trial < 20; ++trial) {
    const int rows = 3 + int(rng() % 40), cols = 1 + int(rng() % 61);
    const int r = int(rng() % unsigned(rows)), p = int(rng() % unsigned(cols));
    const std::size_t stride = (std::size_t(cols) + 3) & ~std::size_t{3};
    V coef(rows * stride), value(rows), eval(stride);
    std::vector<std::uint64_t> keep(stride, kKeepColumn);
    auto c = [&](V& m, int i, int j) -> double& { return m[std::size_t(i) * stride + j]; };
    for (int i = 0; i < rows; ++i) {
      value[i] = uniform() * 100;
      for (int j = 0; j < cols; ++j) c(coef, i, j) = rng() % 7 ? (uniform() - 0.3) * 1e3 : -0.0;
    }
    for (int j = 0; j < cols; ++j) {
      keep[j] = j != p && rng() % 4 == 0 ? kKeepColumn : 0;
      eval[j] = keep[j] ? RemovedMark : uniform() * 3 - 1;
    }
    c(coef, r, p) = 0.5 + uniform();

    // The written steps, one after the other, as plain loops: product, then
    // division by P, then subtraction; columns to keep are left alone.
    V rc = coef, rv = value, re = eval;
    const double P = c(rc, r, p);
    for (int j = 0; j < cols; ++j)
      re[j] = j == p || keep[j] ? re[j] : re[j] - c(rc, r, j) * re[p] / P;
    re[p] = -re[p] / P;
    for (int i = 0; i < rows; ++i) rv[i] = i == r ? rv[i] : rv[i] - c(rc, i, p) * rv[r] / P;
    rv[r] = rv[r] / P;
    for (int i = 0; i < rows; ++i)
      for (int j = 0; j < cols; ++j)
        if (i != r && j != p && !keep[j]) c(rc, i, j) = c(rc, i, j) - c(rc, r, j) * c(rc, i, p) / P;
    for (int j = 0; j < cols; ++j) c(rc, r, j) = j == p || keep[j] ? c(rc, r, j) : c(rc, r, j) / P;
    for (int i = 0; i < rows; ++i) c(rc, i, p) = i == r ? c(rc, i, p) : -c(rc, i, p) / P;
    c(rc, r, p) = 1 / P;

    for (auto kernel : {&ExchangeTableau, &ExchangeTableauBaseline}) {
      V kc = coef, kv = value, ke = eval;
      kernel(ExchangeArgs{kc.data(), stride, rows, kv.data(), ke.data(), keep.data(), r, p});
      EXPECT_TRUE(same(kc, rc) && same(kv, rv) && same(ke, re)) << "trial " << trial;
    }
  }
}

// GLPK minimises each level in turn, its optimum then held as a constraint
// for the next.
std::vector<double> PreemptiveOptima(const GoalModel& m) {
  const int M = m.constraintCount, N = m.variableCount, columns = N + 2 * M;
  glp_prob* lp = glp_create_prob();
  glp_add_cols(lp, columns);          // X1..XN, D1-..DM-, D1+..DM+, all ≥ 0
  std::vector<int> all(columns + 1);  // 0, 1, ..., columns
  for (int c = 1; c <= columns; ++c) glp_set_col_bnds(lp, c, GLP_LO, 0, 0), all[c] = c;
  glp_add_rows(lp, M);
  for (int i = 0; i < M; ++i) {
    std::vector<int> index{0, N + i + 1, N + M + i + 1};
    std::vector<double> value{0, 1, -1};
    for (int j = 0; j < N; ++j) index.push_back(j + 1), value.push_back(m.a(i, j));
    glp_set_mat_row(lp, i + 1, N + 2, index.data(), value.data());
    glp_set_row_bnds(lp, i + 1, GLP_FX, m.target[i], m.target[i]);
  }
  std::vector<double> optima;
  for (int level = 1; level <= m.levelCount; ++level) {
    std::vector<double> cost(columns + 1);
    for (int i = 0; i < M; ++i) {
      if (m.negLevel[i] == level) cost[N + i + 1] = m.negWeight[i];
      if (m.posLevel[i] == level) cost[N + M + i + 1] = m.posWeight[i];
    }
    for (int c = 1; c <= columns; ++c) glp_set_obj_coef(lp, c, cost[c]);
    EXPECT_TRUE(glp_simplex(lp, nullptr) == 0 && glp_get_status(lp) == GLP_OPT);
    const double optimum = optima.emplace_back(glp_get_obj_val(lp));
    const int row = glp_add_rows(lp, 1);
    glp_set_mat_row(lp, row, columns, all.data(), cost.data());
    glp_set_row_bnds(lp, row, GLP_UP, 0, optimum + 1e-9 * std::max(1.0, std::fabs(optimum)));
    // That bound holds only within GLPK's feasibility tolerance, which later
    // levels could borrow from; a variable with a positive reduced cost is 0
    // in every optimum of this level, so it is fixed there.
    for (int c = 1; c <= columns; ++c)
      if (glp_get_col_dual(lp, c) > 1e-9) glp_set_col_bnds(lp, c, GLP_FX, 0, 0);
  }
  glp_delete_prob(lp);
  return optima;
}

// Random problems with nonnegative weights and levels in 0..N+1 end Optimal,
// with GLPK's optimum at every level.
TEST(GoalAgainstGlpk, EveryLevelMatches) {
  glp_term_out(GLP_OFF);
  const struct {
    int seed, count, max_goals, max_vars;
    bool whole, negative_targets;
    // clang-format off
  } runs[] = {{1, 500, 8, 8, true, false}, {2, 500, 8, 8, false, false}, {3, 250, 8, 8, true, true},
              {4, 250, 8, 8, false, true}, {5, 60, 12, 30, true, false}};
  // clang-format on
  for (const auto& run : runs) {
    std::mt19937_64 rng(run.seed);
    auto below = [&](int n) { return int(rng() % unsigned(n)); };
    auto uniform = [&](double hi) { return static_cast<double>(rng() >> 11) * 0x1p-53 * hi; };
    auto number = [&](int whole_below, double real_below) {
      return run.whole ? below(whole_below) : uniform(real_below);
    };
    for (int n = 0; n < run.count; ++n) {
      SCOPED_TRACE(::testing::Message() << "seed " << run.seed << " problem " << n);
      const int M = 1 + below(run.max_goals), N = 1 + below(run.max_vars);
      std::vector<Goal> goals(static_cast<std::size_t>(M));
      for (auto& g : goals) {
        // Real coefficients stay away from 0: a true pivot below 0.00001
        // stops the method by design, which is not what is compared here.
        for (int j = 0; j < N; ++j)
          g.a.push_back(below(3) == 0 ? 0 : run.whole ? 1 + below(9) : 0.1 + uniform(9.9));
        g.b = number(51, 100) * (run.negative_targets && below(2) ? -1 : 1);
        g.negWeight = number(6, 5), g.posWeight = number(6, 5);
        g.negLevel = below(N + 2), g.posLevel = below(N + 2);
      }
      const GoalModel m = MakeModel(N, goals);
      const GoalResult result = Solve(m);
      ASSERT_EQ(result.outcome, GoalOutcome::Optimal);
      const std::vector<double> optima = PreemptiveOptima(m);
      ASSERT_EQ(result.final.achievement.size(), optima.size());
      for (std::size_t k = 0; k < optima.size(); ++k)
        EXPECT_NEAR(result.final.achievement[k], optima[k],
                    1e-6 * std::max(1.0, std::fabs(optima[k])))
            << "level " << k + 1;
    }
  }
}

}  // namespace
}  // namespace orcalc::goal
