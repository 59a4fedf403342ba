// Goal programming: the sheet's layout and reading, the report byte for byte,
// the written choices, the guards against negative targets, endless pivoting
// and round-off, the exchange kernels' bits, and random problems against GLPK.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "common/test_support.h"
#include "glpk_levels.h"
#include "goal/goal_commands.h"
#include "goal/goal_kernels.h"
#include "goal/goal_model.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {
namespace {

using Messages = std::vector<std::string>;
using V = std::vector<double>;
const std::string kOptimal = "---------OPTIMAL SOLUSION 最优解! -------------";

// One goal: coefficients, target, D- weight and level, D+ weight and level.
struct Goal {
  V a;
  double b = 0, neg_weight = 0, neg_level = 0, pos_weight = 0, pos_level = 0;
};

GoalModel MakeModel(int variables, const std::vector<Goal>& goals) {
  GoalModel m;
  m.constraint_count = static_cast<int>(goals.size());
  m.variable_count = m.level_count = variables;
  for (const Goal& g : goals) {
    m.coef.insert(m.coef.end(), g.a.begin(), g.a.begin() + variables);
    m.target.push_back(g.b), m.neg_weight.push_back(g.neg_weight),
        m.pos_weight.push_back(g.pos_weight);
    m.neg_level.push_back(std::int16_t(g.neg_level)),
        m.pos_level.push_back(std::int16_t(g.pos_level));
  }
  return m;
}

GoalResult Solve(const GoalModel& m, std::vector<GoalSnapshot>* snaps = nullptr) {
  return SolveGoals(m, [&](const GoalSnapshot& s) { snaps ? snaps->push_back(s) : void(); });
}

// X1 + X2 = 10 (D1- weight 1, level 1) and X1 = 4 with the X2 cell empty
// (D2+ weight 1, level 2).
const Sheet kExample = SheetFromCsv(TestData("goal_example.csv"));

// Rebuilt for N = 3: the old X4 number stands under a new header, and
// columns wide in the earlier build stay wide.
TEST(GoalSheet, RebuildKeepsNumbersAndWidths) {
  Sheet sheet;
  LayOutSheet(sheet, 2, 5);
  sheet.SetCell(1, 4, "7");
  LayOutSheet(sheet, 2, 3);
  EXPECT_EQ(sheet.Cell(0, 4), "约束符号");
  EXPECT_EQ(sheet.Cell(0, 9), "正偏差优先等级");
  EXPECT_EQ(sheet.Cell(1, 4), "7");
  EXPECT_EQ(sheet.ColumnWidth(9), 1700);
}

// Counts below the sheet's read its upper left with the columns the new N
// gives (N = 1: target in column 3, D- weight in 4).
TEST(GoalSheet, SmallerCountsReadTheUpperLeft) {
  const Sheet filled = SheetFromCsv("\n,1.5,-2, ≥ ,10,0.5,1,2,2.5\n,x,3e1,,,,-0.4,,1.5\n");
  EXPECT_EQ(ReadGoalModel(filled, 2, 2).model.coef, (V{1.5, -2, 0, 30}));
  EXPECT_EQ(ReadGoalModel(filled, 1, 1).model.neg_weight, (V{10}));
}

// Levels: halves to the even neighbour, clamped to 16 bits.
TEST(GoalSheet, LevelsRoundHalfToEvenWithin16Bits) {
  const struct {
    double cell;
    int level;
  } cases[] = {{1.5, 2}, {2.5, 2}, {-0.4, 0}, {32767.5, 32767}, {-1e300, -32768}};
  for (const auto& c : cases) EXPECT_EQ(RoundLevel(c.cell), c.level) << "cell " << c.cell;
}

// The sign column is never read; otherwise the first cell in reading order
// (row by row; columns 1..N, then N+2..N+6) is named.
TEST(GoalSheet, NamesTheFirstCellOutOfRange) {
  const CalculationOutcome out =
      Calculate({2, 2}, SheetFromCsv("\n,1,1,1e999,10,1,1,0,0\n,1e999,1,,4,0,0,1,2\n"));
  EXPECT_EQ(out.messages, Messages{"单元格(2,1)的数值超出范围！"});
  EXPECT_FALSE(out.report.has_value());
}

TEST(GoalReport, ByteForByte) {
  const CalculationOutcome out = Calculate({2, 2}, kExample);
  EXPECT_TRUE(out.messages.empty());
  EXPECT_EQ(*out.report, TestData("goal_example_report.txt"));

  // Echo in plain texts with the separator (a comma here); results in
  // signed texts, with 0.1 + 0.2 at one level written " .3".
  EXPECT_EQ(*Calculate({2, 1, ","}, SheetFromCsv("\n,-2,,0.1,1,1\n,0,,0.2,1,1\n")).report,
            TestData("goal_comma_report.txt"));
}

TEST(GoalReport, StopsWithoutTheClosingLine) {
  // D1- weighted −2 rewards an ever larger shortfall: the first pivot check
  // fails, only the final block follows, without the closing line.
  CalculationOutcome out = Calculate({1, 1}, SheetFromCsv("\n,1,,1,-2,1\n"));
  EXPECT_EQ(out.messages, Messages{"ROUNED ERROR IN SOLUSION"});
  EXPECT_TRUE(
      out.report->ends_with("\r\n负偏差变量值：\r\nD( 1)- = 1\r\n正偏差变量值：\r\nD( 1)+ = 0"));
  EXPECT_EQ(out.report->find(kOptimal), std::string::npos);

  // Cycling: maximise 10X1 − 57X2 − 9X3 − 24X4 (goal 4's D- at level 1)
  // under three constraints whose D+ are priced out at level 1 and whose D-
  // sit at an unused level, the first with the larger weight. The sixth
  // pivot returns to the level's first basis; from there the smallest-index
  // rule leaves the cycle and reaches the optimum, X1 = X3 = 1, in seven
  // more pivots.
  out = Calculate({4, 4},
                  SheetFromCsv("\n,0.5,-5.5,-2.5,9,,0,2,9,1e4,1\n,0.5,-1.5,-0.5,1,,0,1,9,1e4,1\n"
                               ",1,0,0,0,,1,0,9,1e4,1\n,10,-57,-9,-24,,1e6,1,1,0,0\n"));
  EXPECT_TRUE(out.messages.empty());
  EXPECT_TRUE(
      out.report->ends_with("\r\n循环次数:13次\r\nVALUE OF COAL ACHEVEMEN VECORT AGE "
                            "目标值:\r\nL=:4\r\nGOAL  P( 1)= ---- = 999999\r\n变量解值"
                            "\r\nX( 1)= 1\r\nX( 2)= 0\r\nX( 3)= 1\r\nX( 4)= 0"
                            "\r\n负偏差变量值：\r\nD( 1)- = 2\r\nD( 2)- = 0\r\nD( 3)- = 0"
                            "\r\nD( 4)- = 999999\r\n正偏差变量值：\r\nD( 1)+ = 0"
                            "\r\nD( 2)+ = 0\r\nD( 3)+ = 0\r\nD( 4)+ = 0"));
  EXPECT_NE(out.report->find(kOptimal), std::string::npos);

  // Weights of 1e308 overflow the evaluation row: no "optimal" level, and
  // the overflow message after the others.
  out = Calculate({1, 1}, SheetFromCsv("\n,1,,10,1e308,1,1e308,1\n"));
  EXPECT_EQ(out.messages, Messages{"计算过程中数值溢出，结果不可信！"});
  EXPECT_EQ(out.report->find(kOptimal), std::string::npos);
  EXPECT_NE(out.report->find("GOAL  P( 1)= ---- = inf"), std::string::npos);

  // The limit allows exactly that many pivots.
  EXPECT_TRUE(Calculate({2, 2, ".", 3}, kExample).messages.empty());
  out = Calculate({2, 2, ".", 2}, kExample);
  EXPECT_EQ(out.messages, Messages{"循环次数超过32767次，停止计算！"});
  EXPECT_EQ(out.report->find(kOptimal), std::string::npos);
}

// Leaving, for column 0: basic value, entry, level and weight of each row.
struct LeavingRow {
  const char* what;
  std::vector<std::tuple<double, double, int, double>> rows;
  int leaving;
  // Test names and failures show the row by its description.
  friend void PrintTo(const LeavingRow& row, std::ostream* os) { *os << row.what; }
};

class GoalLeaving : public ::testing::TestWithParam<LeavingRow> {};

TEST_P(GoalLeaving, Choice) {
  const LeavingRow& c = GetParam();
  GoalTableau t = StartTableau(MakeModel(1, std::vector<Goal>(c.rows.size(), Goal{{0}})));
  for (std::size_t i = 0; i < c.rows.size(); ++i)
    std::tie(t.row_value[i], t.Coef(int(i), 0), t.row_level[i], t.row_weight[i]) = c.rows[i];
  EXPECT_EQ(ChooseLeaving(t, 0), c.leaving);
}

INSTANTIATE_TEST_SUITE_P(
    Goal, GoalLeaving,
    ::testing::Values(LeavingRow{"tie goes to the smaller level", {{4, 1, 2, 0}, {4, 1, 1, 0}}, 1},
                      LeavingRow{"ratio of 1e9 or more", {{2e9, 1, 0, 0}, {1, 0, 0, 0}}, -1},
                      LeavingRow{"round-off is a tie", {{0.1 * 3, 1, 0, 0}, {0.3, 1, 1, 0}}, 0}),
    RowName());

// Whole problems: the outcome, and where given the achievement at every
// level and the values of X, D- and D+.
struct SolverRow {
  const char* what;
  GoalModel model;
  GoalOutcome outcome;
  V achievement = {};
  V solution = {};
  // Test names and failures show the row by its description.
  friend void PrintTo(const SolverRow& row, std::ostream* os) { *os << row.what; }
};

class GoalSolverOutcomes : public ::testing::TestWithParam<SolverRow> {};

TEST_P(GoalSolverOutcomes, EndAndValues) {
  const SolverRow& c = GetParam();
  std::vector<GoalSnapshot> snaps;
  const GoalResult r = Solve(c.model, &snaps);
  EXPECT_EQ(r.outcome, c.outcome);
  if (!c.achievement.empty()) {
    EXPECT_EQ(r.final.achievement, c.achievement);
  }
  if (!c.solution.empty()) {
    EXPECT_EQ(r.final.solution, c.solution);
  }
  // No deviation or variable is ever negative, in any block.
  for (const GoalSnapshot& s : snaps)
    for (double v : s.solution) EXPECT_GE(v, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Goal, GoalSolverOutcomes, ::testing::Values(
    // A negative target starts with D+ basic: X1 + X2 ≥ 4 at level 1 and
    // X1 − X2 = −6 at level 2 are met.
    SolverRow{"negative target", MakeModel(2, {{{1, 1}, 4, 1, 1, 0, 0}, {{1, -1}, -6, 1, 2, 1, 2}}), GoalOutcome::Optimal, {0, 0}},
    // All-integer data on which exact comparisons end with level 3 at 84.
    SolverRow{"round-off decides nothing", MakeModel(4, {{{2, 5, 1, 0}, 18, 1.5, 1, 3, 1}, {{5, 0, 5, 1}, 6, 2.5, 1, 1, 3}}), GoalOutcome::Optimal, {0, 0, 0, 0}},
    // Small real values are not noise: of entries 1 and 1.000001 the larger enters...
    SolverRow{"larger entry by a millionth", MakeModel(2, {{{1, 1.000001}, 10, 1, 1, 0, 0}}), GoalOutcome::Optimal, {}, {0, 10 / 1.000001, 0, 0}},
    // ...and a true pivot of 5e-6 with the smallest ratio fails the check.
    SolverRow{"true small pivot", MakeModel(1, {{{5e-6}, 1e-6, 0, 0, 0, 0}, {{1}, 10, 1, 1, 0, 0}}), GoalOutcome::PivotTooSmall},
    // Round-off is judged against the magnitudes that make up each
    // evaluation entry, so a large goal no longer swamps a small one: X1 = 5
    // at level 1, then c·X2 = 1e12 at level 2; X1 = 5 meets goal 1 whatever c is.
    SolverRow{"large goal 2e11", MakeModel(2, {{{1, 0}, 5, 1, 1, 1, 1}, {{0, 2e11}, 1e12, 1, 2, 0, 0}}), GoalOutcome::Optimal, {0, 0}},
    SolverRow{"large goal 2e10", MakeModel(2, {{{1, 0}, 5, 1, 1, 1, 1}, {{0, 2e10}, 1e12, 1, 2, 0, 0}}), GoalOutcome::Optimal, {0, 0}},
    SolverRow{"large goal 3e9 weighted 40", MakeModel(2, {{{1, 0}, 5, 1, 1, 1, 1}, {{0, 3e9}, 1e12, 40, 2, 0, 0}}), GoalOutcome::Optimal, {0, 0}},
    // Evaluation entries below the lower limit of the round-off bound are
    // judged by the round-off they carry themselves; each of these levels was
    // called optimal (or stopped with the rounding message) on a small entry
    // that is real: it now enters, and its pivot is below the check.
    // 0.038 X1 = 63842 costs 4 per unit short; meeting it needs D2+ of about
    // 9e17, free at level 1, whose entry is 2.8e-13.
    SolverRow{"real entry below the bound's lower limit", MakeModel(1, {{{0x1.37341524d251p-5}, 0x1.f2d28b27652f9p+13, 4, 1, 0x1.08207c16a3114p+0, 2},
        {{0x1.91dc36d482cd8p+37}, 0x1.9cb8af85bd58dp+29, 0x1.8ac860d1cfa01p+32, 0, 0, 1}}), GoalOutcome::PivotTooSmall},
    // The column's largest entry (0.68, in goal 2) lies outside the level:
    // D1+'s entry of 1.4e-12 comes from goal 4 alone; X1 = 3.4e-7 leaves
    // level 1 at 641 instead of 0 at X1 = 2234.
    SolverRow{"real entry from a goal outside the level", MakeModel(1, {{{0x1.863e1a0b140dbp+37}, 0x1.1779fee856216p+16, 0x1.6b4df70c3545ep-12, 1, 0, 0}, {{0x1.083ed66852edp+37}, 0x1.dcf37fb4ebcb2p+24, 0x1.a29c708a057f3p-14, 0, 0, 0}, {{0}, 0x1.e93a89b8aa3c8p+16, 2, 0, 3, 0}, {{0x1.f6ef6ec6b1d9fp-17}, 0x1.12c733f71a2p-5, 0x1.2a8dd6a2b46dap+14, 1, 0, 0}, {{0x1.35f29e132d21fp-2}, 0x1.b543850044bb6p-8, 3, 2, 0, 2}}), GoalOutcome::PivotTooSmall},
    // In the next four the doubles cannot judge a small evaluation entry,
    // which the exact arithmetic then finds positive: its column enters, and
    // no row offers a pivot above the check (the same message as before).
    // The exchanges reach an entry by cancelling large terms, so its bound
    // hides a small real value that the tableau shows when summed afresh.
    // Goal 2 (1.97e11 X1 = 8.4e8, 4 per unit short) is met exactly by
    // X1 = 3.4e10, which also meets goal 3; level 1 is 0 there, not 3.8e9.
    SolverRow{"cancellation hides a value", MakeModel(1, {{{0x1.6c8c589b0f953p+8}, 0x1.d310180821dacp-15, 0, 0, 0x1.80e9abae8b01ep+18, 2},
        {{0x1.6e626f1adb17fp+37}, 0x1.8eba1993f506dp+29, 4, 1, 0x1.ba1ce007de296p+1, 0},
        {{0x1.d15de07206adep-5}, 0x1.c7448c3ae527ep+30, 2, 1, 0x1.e97d49ff83baap+35, 1}}), GoalOutcome::PivotTooSmall},
    // Here the cancellation leaves D(2)+'s entry at exactly 0 (-4.99e10 +
    // 4.99e10) while it is 6.9e-10 in truth; level 2 was called optimal at
    // 1.3e6 (its optimum is 27.5).
    SolverRow{"cancellation to exactly 0", MakeModel(2, {{{0x1.0631cc2819eaap+3, 0}, 0x1.8b43e206c263bp-8, 0, 1, 0, 1},
        {{0x1.d9abfe48db9c1p+33, 0x1.282a48311156fp+16}, 0x1.a3bce35f418c7p+8, 0x1.73f4dddd8eddbp+35, 2, 4, 3},
        {{0, 0x1.b48a23a75f7ebp-16}, 0x1.37b950d7d6d1p+19, 2, 2, 0, 3},
        {{0x1.05e46f94c6defp+23, 0}, 0x1.5063a17f4f172p-17, 0, 3, 4, 2},
        {{0x1.e9b748bab372ep-17, 0}, 0x1.b86b40a86cae6p+3, 2, 2, 0x1.5f630446f6e86p+35, 2}}), GoalOutcome::PivotTooSmall},
    // X2's entry as kept (5.9e-6) is within round-off of what went into it,
    // so it counted as 0; summed afresh it is a small real value, and level 2
    // was called optimal at 0.16 above its optimum.
    SolverRow{"kept entry counted as 0", MakeModel(4, {{{0x1.dbdd9591b24abp-1, 0x1.097d34dbef967p-4, 0x1.6251e27af00edp+11, 0}, 0x1.75be53783170bp-15, 0x1.13006124356e7p+17, 1, 0, 0}, {{0x1.871d7952a3274p+26, 0x1.0e30aeb38309ep-10, 0x1.9b20210ac2a12p+6, 0}, 0x1.a4d1ee6983724p+29, 0x1.cad428fce7102p+19, 2, 0, 2}, {{0x1.4ce94e4e591cep-12, 0, 0x1.5466aa8a3a5e8p+0, 0x1.6c53c677f2f7ep-8}, 0x1.25f7a9a544c1cp-16, 0x1.6d094750ad663p+1, 2, 0x1.d78994d663288p+5, 2}}), GoalOutcome::PivotTooSmall},
    // The exchanges cancel X5's entry in the level's row to exactly 0
    // (-4.8e21 + 4.8e21, the 1.2e6 it held lost on the way); level 5 was
    // called optimal at 7.6e10 (X5 = 3.3e4 brings it to 0).
    SolverRow{"cancellation to exactly 0 at level 5", MakeModel(5, {{{0, 0x1.14130b50eac8fp+21, 0x1.5f0d301604ddcp+28, 0x1.717602097c03dp+22, 0x1.e713db4fd349p-15}, 0x1.e4c12255fbcc8p+14, 0x1.7117089fec643p-8, 0, 0x1.615e5064989acp-4, 2}, {{0x1.eeda8b963c743p-16, 0x1.378388d73e1f9p+3, 0x1.5382849912a97p+14, 0, 0x1.ecbf2ffb46b0bp+39}, 0x1.fdc95c429ac5bp-4, 1, 6, 0, 2}, {{0x1.b7183938c0961p-6, 0x1.45b554d18363ap+35, 0x1.81dcf66b1d96dp-7, 0x1.853b2552bb283p-10, 0x1.1ed4d531d4ab2p+20}, 0x1.20cf47d32e8bdp+35, 2, 5, 0x1.b17349e87915p+14, 6}, {{0x1.e0fbd3d2aeae2p+23, 0x1.16c69d89b0942p-10, 0, 0x1.0b5650fa80b7fp+24, 0}, 0x1.c98c41c9272e8p+4, 0, 2, 3, 4}, {{0x1.7d4153b98baedp-2, 0, 0x1.46c402fdd2c28p+6, 0x1.cb97a9aff2c6fp+8, 0x1.67cf873c4d727p+16}, 0x1.2633858e8197cp+34, 0, 3, 0, 1}, {{0x1.5e723d0e3da29p+28, 0, 0x1.03c347d1fb34ap+21, 0x1.b2c4ba7b21ff4p+18, 0}, 0x1.48c06dbf8400fp-10, 4, 6, 5, 1}}), GoalOutcome::PivotTooSmall},
    // A small basic value made of small terms is kept, not taken for
    // round-off: X2 enters on goal 2 (4.4e9 X2 = 31.9) at 7.3e-9, which then
    // decides the next ratio test. Level 1 is met exactly (it was 5.6e6 with
    // X2 set to 0).
    SolverRow{"small value of small terms", MakeModel(2, {{{0, 0x1.d85ae4720c502p+5}, 0x1.1905caccfd114p+25, 1, 3, 0x1.8p+1, 1},
        {{0x1.8972b4d9d4934p+24, 0x1.03669cd32aae6p+32}, 0x1.fdd9207effd92p+4, 0x1.624d160ae8d6ap+33, 1, 0x1.4c31fa06effe7p+40, 1},
        {{0x1.0674baf371247p+40, 0}, 0x1.1b9080e9276adp-2, 0x1.34090932ea2bdp+24, 1, 0x1.eb926a07563c4p+4, 0}}), GoalOutcome::Optimal, {0, 0}}),
    RowName());
// clang-format on

// A small entry judged negative is removed like any other: D1- (-2.5e-12
// per unit, from goal 3 alone) would otherwise stay free for level 2. And
// where the entry as kept is within its bound of 0 while the same entry
// summed afresh (-9.7e-21, from D(1)-'s row alone) is clear of its own, the
// sum decides: D(4)+ is removed at level 1 and level 2 keeps its optimum.
TEST(GoalSolver, SmallEntriesJudgedBySign) {
  // clang-format off
  const GoalResult small_negative = Solve(MakeModel( 2, {{{0x1.2acccdda3e778p+6, 0}, 0x1.1c56bef82a8a8p+37, 0x1.01440c27016f1p+17, 0, 0, 0}, {{0x1.5923d1c67c567p-2, 0x1.39e11d6d2fd1cp+23}, 0x1.a33a7b5d48859p+31, 0x1.a568c3c2d7b1cp+16, 0, 0x1.73e2679895b51p+25, 0}, {{0, 0x1.2ff2aeb434173p-10}, 0x1.ad2b1d369b65cp-9, 3, 1, 0x1.45ecc09eaa964p+33, 1}, {{0x1.473eab0878138p+9, 0x1.5073e9aa667cap+30}, 0x1.77cc88a5a9f73p+25, 0x1.6051cdc6a4883p+10, 2, 0x1.78f88cfd800f4p-13, 1}}));
  const GoalResult sum_decides = Solve(MakeModel( 3, {{{0, 0x1.0433cacf6e461p-13, 0}, 0x1.3f92491d7f22fp+36, 0x1.a9622019e3e89p+9, 1, 1, 2}, {{0x1.936c2145bcd6ap+29, 0, 0x1.c5e0417a8175p+15}, 0x1.1495abf469f1cp+36, 0x1.0b1a1a6815d43p-14, 1, 1, 4}, {{0, 0, 0x1.08a23a2789a61p+22}, 0x1.685ffef6b6e3fp+36, 4, 2, 1, 0}, {{0x1.e4464db51c1c3p-18, 0x1.6be80766264f7p+16, 0x1.a4f82949dc8c5p+3}, 0x1.c62b36183fccap+1, 0, 1, 0x1.ccc7541eb467cp+35, 1}, {{0x1.cd9aa4377b75p+4, 0x1.54f50597fdf98p+2, 0x1.bb9589daae346p-8}, 0x1.0162c936485e6p+29, 2, 0, 2, 1}}));
  // clang-format on
  EXPECT_EQ(small_negative.outcome, GoalOutcome::Optimal);
  EXPECT_NEAR(small_negative.final.achievement[0], 0.009701473338789176, 1e-15);
  EXPECT_EQ(small_negative.final.achievement[1], 0);
  EXPECT_EQ(sum_decides.outcome, GoalOutcome::Optimal);
  EXPECT_NEAR(sum_decides.final.achievement[0], 72982419378697.19, 0.1);
  EXPECT_NEAR(sum_decides.final.achievement[1], 386949692845.7226, 1e-3);
  EXPECT_EQ(sum_decides.final.achievement[2], 0);
}

// A removed column is recorded apart from the weights, so no weight value
// removes one: −3.14159 (the value once taken for the mark) weighs like
// any other.
TEST(GoalSolver, EveryWeightIsAWeight) {
  constexpr double kOldMark = -3.14159;
  // X1 = 5 at level 1; X1 = 2, its shortfall costing at level 1 too and its
  // excess weighted kOldMark at level 2, where X1 cannot move any more (X2
  // has no coefficient).
  const GoalResult kept =
      Solve(MakeModel(2, {{{1, 0}, 5, 1, 1, 1, 1}, {{1, 0}, 2, 1, 1, kOldMark, 2}}));
  EXPECT_EQ(kept.outcome, GoalOutcome::Optimal);
  EXPECT_EQ(kept.final.solution, (V{5, 0, 0, 0, 0, 3}));
  EXPECT_EQ(kept.final.achievement, (V{0, 3 * kOldMark}));
  // A negative weight on an excess at level 1 has no lower bound.
  EXPECT_EQ(Solve(MakeModel(1, {{{1}, 2, 0, 0, kOldMark, 1}})).outcome, GoalOutcome::PivotTooSmall);
}

// Basic values within round-off of 0 become 0: 3 − 0.3 / 0.1 is 4.4e-16.
TEST(GoalSolver, RoundOffInABasicValueBecomesZero) {
  std::vector<GoalSnapshot> snaps;
  Solve(MakeModel(1, {{{0.1}, 0.3, 0, 0, 0, 0}, {{1}, 3, 1, 1, 0, 0}}), &snaps);
  ASSERT_FALSE(snaps.empty());
  EXPECT_EQ(snaps[0].solution, (V{0.3 / 0.1, 0, 0, 0, 0}));
}

TEST(GoalSolver, ExchangeKernelIsBitIdenticalToTheWrittenSteps) {
  std::mt19937_64 rng(42);
  auto uniform = [&] { return static_cast<double>(rng() >> 11) * 0x1p-53; };
  auto same = [](const V& x, const V& y) { return !std::memcmp(&x[0], &y[0], x.size() * 8); };
  for (int trial = 0; trial < 20; ++trial) {
    const int rows = 3 + int(rng() % 40), cols = 1 + int(rng() % 61);
    const int r = int(rng() % unsigned(rows)), p = int(rng() % unsigned(cols));
    const std::size_t stride = (std::size_t(cols) + 3) & ~std::size_t{3};
    V coef(rows * stride), value(rows), eval(stride), column(rows);
    V bound(stride), error_scale(stride), scale(stride), weight(rows), col_weight(stride);
    std::vector<std::int16_t> level(rows), col_level(stride);
    for (int i = 0; i < rows; ++i) weight[i] = uniform() * 4, level[i] = std::int16_t(rng() % 3);
    for (std::size_t j = 0; j < stride; ++j)
      bound[j] = uniform(), error_scale[j] = uniform() * 5, scale[j] = uniform(),
      col_weight[j] = uniform() - 0.5, col_level[j] = std::int16_t(rng() % 3);
    std::vector<std::uint64_t> keep(stride, kKeepColumn);
    for (double& v : value) v = uniform() * 100;
    for (std::size_t k = 0; k < coef.size(); ++k)
      coef[k] = k % stride < std::size_t(cols) && rng() % 7 ? (uniform() - 0.3) * 1e3 : -0.0;
    for (int j = 0; j < cols; ++j)
      keep[j] = j != p && rng() % 4 == 0 ? kKeepColumn : 0,
      eval[j] = keep[j] ? -7.5 : uniform() * 3 - 1;
    coef[r * stride + p] = 0.5 + uniform();

    // The kernel against the written steps, every right side from the
    // values before the exchange, columns marked in `keep` left alone; the
    // bounds kept per column likewise.
    V rc = coef, rv = value, re = eval, rb = bound, rs = error_scale, rl = scale;
    const double P = coef[r * stride + p];
    const double w = std::fabs(eval[p] / P), pivot_bound = uniform();
    for (int j = 0; j < int(stride); ++j) {
      if (!keep[j]) rb[j] = bound[j] + std::fabs(coef[r * stride + j] * w);
      const double entry = std::fabs(coef[r * stride + j]);
      if (j < cols && j != p)
        rs[j] = std::max(error_scale[j], entry) + entry / std::fabs(P) * rs[p];
    }
    rb[p] = pivot_bound;
    rs[p] = error_scale[p] / std::fabs(P);
    for (int j = 0; j < int(stride); ++j) {
      if (keep[j] || j == p) continue;
      re[j] = eval[j] - coef[r * stride + j] * eval[p] / P;
      for (int i = 0; i < rows; ++i)
        if (i != r)
          rc[i * stride + j] =
              coef[i * stride + j] - coef[r * stride + j] * coef[i * stride + p] / P;
      rc[r * stride + j] = coef[r * stride + j] / P;
    }
    re[p] = -eval[p] / P;
    for (int i = 0; i < rows; ++i) {
      if (i == r) continue;
      rv[i] = value[i] - coef[i * stride + p] * value[r] / P;
      rc[i * stride + p] = -coef[i * stride + p] / P;
    }
    rv[r] = value[r] / P;
    rc[r * stride + p] = 1 / P;
    for (int j = 0; j < int(stride); ++j) {
      if (keep[j]) continue;
      rl[j] = 0;
      for (int i = 0; i < rows; ++i)
        if (level[i] == 2) rl[j] += std::fabs(rc[i * stride + j] * weight[i]);
      if (j < cols && col_level[j] == 2) rl[j] += std::fabs(col_weight[j]);
    }
    const V before = coef;
    const ColumnBounds bounds{bound.data(),     w,
                              pivot_bound,      error_scale.data(),
                              error_scale[p],   cols,
                              scale.data(),     weight.data(),
                              level.data(),     col_weight.data(),
                              col_level.data(), 2};
    ExchangeTableau(ExchangeArgs{coef.data(), stride, rows, value.data(), eval.data(), keep.data(),
                                 r, p, column.data()},
                    bounds);
    EXPECT_TRUE(same(coef, rc)) << "trial " << trial;
    EXPECT_TRUE(same(value, rv)) << "trial " << trial;
    EXPECT_TRUE(same(eval, re)) << "trial " << trial;
    EXPECT_TRUE(same(bound, rb) && same(error_scale, rs) && same(scale, rl)) << "trial " << trial;
    for (int i = 0; i < rows; ++i) EXPECT_EQ(column[i], before[i * stride + p]);
  }
}

// Random problems with nonnegative weights and levels in 0..N+1 end Optimal,
// with GLPK's optimum at every level.
// Seeds 1 and 3 give whole data, 2 and 4 real data; 3 and 4 negative
// targets too; 5 larger problems.
class GoalAgainstGlpk : public ::testing::TestWithParam<int> {};

TEST_P(GoalAgainstGlpk, EveryLevelMatches) {
  glp_term_out(GLP_OFF);
  const int seed = GetParam();
  const bool whole = seed % 2, negative_targets = seed == 3 || seed == 4;
  const int count = seed < 5 ? 400 : 60, max_goals = seed < 5 ? 8 : 12,
            max_vars = seed < 5 ? 8 : 30;
  std::mt19937_64 rng(seed);
  auto below = [&](int n) { return int(rng() % unsigned(n)); };
  auto uniform = [&](double hi) { return static_cast<double>(rng() >> 11) * 0x1p-53 * hi; };
  auto number = [&](int whole_below, double real) {
    return whole ? below(whole_below) : uniform(real);
  };
  for (int n = 0; n < count; ++n) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed << " problem " << n);
    const int M = 1 + below(max_goals), N = 1 + below(max_vars);
    std::vector<Goal> goals(static_cast<std::size_t>(M));
    for (auto& g : goals) {
      // Real coefficients stay away from 0: a true pivot below 0.00001
      // stops the method by design, which is not what is compared here.
      for (int j = 0; j < N; ++j)
        g.a.push_back(below(3) == 0 ? 0 : whole ? 1 + below(9) : 0.1 + uniform(9.9));
      g = {g.a,          number(51, 100) * (negative_targets && below(2) ? -1 : 1),
           number(6, 5), double(below(N + 2)),
           number(6, 5), double(below(N + 2))};
    }
    const GoalModel m = MakeModel(N, goals);
    const GoalResult result = Solve(m);
    EXPECT_EQ(result.outcome, GoalOutcome::Optimal);
    const std::vector<double> optima = LevelOptima(m, false, 1e-9);
    if (result.outcome != GoalOutcome::Optimal || result.final.achievement.size() != optima.size())
      continue;
    for (std::size_t k = 0; k < optima.size(); ++k)
      EXPECT_NEAR(result.final.achievement[k], optima[k],
                  1e-6 * std::max(1.0, std::fabs(optima[k])))
          << "level " << k + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Goal, GoalAgainstGlpk, ::testing::Range(1, 6),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Seed" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace orcalc::goal
