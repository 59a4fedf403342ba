// A goal program's exchange tables: two examples worked by hand, table by
// table, and random programs whose replay must make every pivot of the
// calculation and end where its report ends, without changing the report.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "goal/goal_commands.h"
#include "steps/goal_replay.h"
#include "steps/goal_steps_command.h"
#include "steps/step_number_text.h"
#include "steps/step_render.h"

namespace orcalc::steps {
namespace {

// Each goal: N coefficient texts, the target, the weight and level of d-,
// the weight and level of d+.
Sheet GoalSheet(int variables, const std::vector<std::vector<std::string>>& goals) {
  Sheet sheet;
  goal::LayOutSheet(sheet, static_cast<int>(goals.size()), variables);
  for (std::size_t i = 0; i < goals.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    for (int j = 0; j < variables; ++j) sheet.SetCell(row, j + 1, goals[i][std::size_t(j)]);
    for (int k = 0; k < 5; ++k)
      sheet.SetCell(row, variables + 2 + k, goals[i][std::size_t(variables) + std::size_t(k)]);
  }
  return sheet;
}

goal::GoalRequest Request(int goals, int variables) {
  goal::GoalRequest request;
  request.goals = goals;
  request.variables = variables;
  return request;
}

std::vector<std::string> Texts(const std::vector<StepNumber>& numbers,
                               const std::vector<int>& at = {}) {
  std::vector<std::string> texts;
  if (at.empty()) {
    for (const StepNumber& n : numbers) texts.push_back(NumberText(n));
  } else {
    for (int j : at) texts.push_back(NumberText(numbers[std::size_t(j)]));
  }
  return texts;
}

// One table as a reader checks it: the level marked, the basis and b, the
// columns, the evaluation row of the level marked and its objective, the
// row of every basic variable, and the sentence.
struct HandTable {
  int level;
  std::vector<std::string> basis, rhs, columns, evaluation;
  std::string achievement;
  std::vector<std::vector<std::string>> rows;
  std::string sentence;
};

struct HandExample {
  const char* name;
  int variables;
  std::vector<std::vector<std::string>> goals;
  std::vector<HandTable> tables;
  std::string ending;
};

// clang-format off
const HandExample kExamples[] = {
    {"two levels, whole numbers", 2,
     {{"1", "1", "10", "1", "1", "0", "0"}, {"1", "", "4", "0", "0", "1", "2"}},
     {{1, {"d1-", "d2-"}, {"10", "4"}, {"χ1", "χ2", "d1+", "d2+"}, {"1", "1", "-1", "0"}, "10",
       {{"1", "1", "-1", "0"}, {"1", "0", "0", "-1"}}, "χ1 进基，d2- 出基，主元为 1"},
      {1, {"d1-", "χ1"}, {"6", "4"}, {"d2-", "χ2", "d1+", "d2+"}, {"-1", "1", "-1", "1"}, "6",
       {{"-1", "1", "-1", "1"}, {"1", "0", "0", "-1"}}, "d2+ 进基，d1- 出基，主元为 1"},
      {1, {"d2+", "χ1"}, {"6", "10"}, {"d2-", "χ2", "d1+", "d1-"}, {"0", "0", "0", "-1"}, "0",
       {{"-1", "1", "-1", "1"}, {"0", "1", "-1", "1"}}, "P1 级已达最优（评价行中没有大于 0 的数），删去 d1- 列，转入 P2 级"},
      {2, {"d2+", "χ1"}, {"6", "10"}, {"d2-", "χ2", "d1+"}, {"-1", "1", "-1"}, "6",
       {{"-1", "1", "-1"}, {"0", "1", "-1"}}, "χ2 进基，d2+ 出基，主元为 1"},
      {2, {"χ2", "χ1"}, {"6", "4"}, {"d2-", "d2+", "d1+"}, {"0", "-1", "0"}, "0",
       {{"-1", "1", "-1"}, {"1", "-1", "0"}}, "P2 级已达最优（评价行中没有大于 0 的数），删去 d2+ 列"}},
     "各优先等级均已依次求得极小：χ1 = 4，χ2 = 6；各级目标值 P1 = 0，P2 = 0。"},
    {"two levels, fractions", 2,
     {{"2", "1", "8", "1", "1", "0", "0"}, {"1", "3", "9", "2", "2", "0", "0"}},
     {{1, {"d1-", "d2-"}, {"8", "9"}, {"χ1", "χ2", "d1+", "d2+"}, {"2", "1", "-1", "0"}, "8",
       {{"2", "1", "-1", "0"}, {"1", "3", "0", "-1"}}, "χ1 进基，d1- 出基，主元为 2"},
      {1, {"χ1", "d2-"}, {"4", "5"}, {"d1-", "χ2", "d1+", "d2+"}, {"-1", "0", "0", "0"}, "0",
       {{"1/2", "1/2", "-1/2", "0"}, {"-1/2", "5/2", "1/2", "-1"}}, "P1 级已达最优（评价行中没有大于 0 的数），删去 d1- 列，转入 P2 级"},
      {2, {"χ1", "d2-"}, {"4", "5"}, {"χ2", "d1+", "d2+"}, {"5", "1", "-2"}, "10",
       {{"1/2", "-1/2", "0"}, {"5/2", "1/2", "-1"}}, "χ2 进基，d2- 出基，主元为 5/2"},
      {2, {"χ1", "χ2"}, {"3", "2"}, {"d2-", "d1+", "d2+"}, {"-2", "0", "0"}, "0",
       {{"-1/5", "-3/5", "1/5"}, {"2/5", "1/5", "-2/5"}}, "P2 级已达最优（评价行中没有大于 0 的数），删去 d2- 列"}},
     "各优先等级均已依次求得极小：χ1 = 3，χ2 = 2；各级目标值 P1 = 0，P2 = 0。"},
};
// clang-format on

TEST(GoalSteps, WorkedByHand) {
  for (const HandExample& example : kExamples) {
    SCOPED_TRACE(example.name);
    const Sheet sheet = GoalSheet(example.variables, example.goals);
    const GoalStepsOutcome run = CalculateGoalSteps(
        Request(static_cast<int>(example.goals.size()), example.variables), sheet);
    ASSERT_TRUE(run.steps);
    const StepsDocument& doc = *run.steps;
    EXPECT_TRUE(doc.exact);
    EXPECT_FALSE(doc.round_off_swayed);
    ASSERT_EQ(doc.tableaux.size(), example.tables.size());
    for (std::size_t t = 0; t < doc.tableaux.size(); ++t) {
      SCOPED_TRACE(t + 1);
      const StepTableau& table = doc.tableaux[t];
      const HandTable& hand = example.tables[t];
      EXPECT_EQ(table.level, hand.level);
      std::vector<std::string> basis, columns;
      for (int b : table.basis) basis.push_back(doc.columns[std::size_t(b)].name);
      for (int j : table.shown) columns.push_back(doc.columns[std::size_t(j)].name);
      EXPECT_EQ(basis, hand.basis);
      EXPECT_EQ(Texts(table.rhs), hand.rhs);
      EXPECT_EQ(columns, hand.columns);
      EXPECT_EQ(Texts(table.sigma, table.shown), hand.evaluation);
      EXPECT_EQ(NumberText(table.objective), hand.achievement);
      for (std::size_t i = 0; i < hand.rows.size(); ++i) {
        std::vector<std::string> row;
        for (int j : table.shown)
          row.push_back(NumberText(table.Cell(int(i), j, doc.columns.size())));
        EXPECT_EQ(row, hand.rows[i]);
      }
      EXPECT_EQ(table.sentence, hand.sentence);
      EXPECT_EQ(table.pivot.has_value(), hand.sentence.find("进基") != std::string::npos);
    }
    EXPECT_EQ(doc.ending, example.ending);
    // A weight of 0 (a variable of no level) is printed "0".
    const std::string text = RenderText(doc);
    EXPECT_EQ(text.find("/0"), std::string::npos);
  }
}

// Steps the exact tables would not take, as round-off may make the
// calculation take them: each table says what exact arithmetic chooses.
TEST(GoalSteps, ChoicesJudgedAgainExactly) {
  using Record = goal::GoalStepRecord;
  struct Case {
    const char* name;
    std::vector<Record> steps;
    std::vector<std::string> round_off;  // per table
  };
  const std::string swayed = "此步的选择受舍入误差影响，精确计算应";
  const Case cases[] = {
      {"the tie's other column", {{1, 0, 1, false, {}}}, {swayed + "选 χ1 进基，d2- 出基", ""}},
      {"a level ended early",
       {{1, 1, 0, false, {}}, {1, -1, -1, false, {}}},
       {"", swayed + "选 d2+ 进基，d1- 出基"}},
      {"a column kept that worsens the level",
       {{1, 1, 0, false, {}}, {1, 0, 3, false, {}}, {1, -1, -1, false, {}}},
       {"", "", swayed + "删去 d1- 列"}},
  };
  const Sheet sheet =
      GoalSheet(2, {{"1", "1", "10", "1", "1", "0", "0"}, {"1", "", "4", "0", "0", "1", "2"}});
  const goal::GoalModel model = goal::ReadGoalModel(sheet, 2, 2).model;
  const ExactGoalModel exact = ReadExactGoalModel(sheet, model);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StepsDocument doc = ReplayGoalSteps({&model, &exact, &c.steps});
    EXPECT_TRUE(doc.round_off_swayed);
    std::vector<std::string> round_off;
    for (const StepTableau& table : doc.tableaux) round_off.push_back(table.round_off);
    EXPECT_EQ(round_off, c.round_off);
  }
}

std::string RandomText(std::mt19937& random, bool decimals, int low, int high) {
  const int whole = std::uniform_int_distribution<int>(low, high)(random);
  if (!decimals || random() % 2) return std::to_string(whole);
  const int hundredths = std::uniform_int_distribution<int>(1, 99)(random);
  std::string text =
      std::to_string(std::abs(whole)) + (hundredths < 10 ? ".0" : ".") + std::to_string(hundredths);
  return whole < 0 ? "-" + text : text;
}

Sheet RandomGoals(std::mt19937& random, bool decimals, int goals, int variables) {
  std::vector<std::vector<std::string>> rows;
  auto level = [&] { return std::to_string(random() % std::uint32_t(variables + 1)); };
  for (int i = 0; i < goals; ++i) {
    std::vector<std::string> row;
    row.reserve(std::size_t(variables) + 5);
    for (int j = 0; j < variables; ++j)
      row.push_back(random() % 3 == 0 ? "0" : RandomText(random, decimals, -2, 6));
    row.push_back(RandomText(random, decimals, -3, 20));
    row.push_back(RandomText(random, decimals, 0, 4));
    row.push_back(level());
    row.push_back(RandomText(random, decimals, 0, 4));
    row.push_back(level());
    rows.push_back(std::move(row));
  }
  return GoalSheet(variables, rows);
}

bool Near(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

// Every pivot replayed; where no choice was swayed by round-off, the last
// table's achievements are the report's; the report is the one 计算 gives.
TEST(GoalSteps, RandomProgramsAgreeWithTheCalculation) {
  std::mt19937 random(20261208);
  int compared = 0, swayed = 0;
  for (int n = 0; n < 400; ++n) {
    const bool decimals = n % 2 == 1;
    const int goals = 1 + int(random() % 6), variables = 1 + int(random() % 5);
    const Sheet sheet = RandomGoals(random, decimals, goals, variables);
    SCOPED_TRACE(n);
    long pivots = 0;
    std::optional<goal::SolvedGoal> solved;
    goal::GoalRequest request = Request(goals, variables);
    const CalculationOutcome plain = goal::Calculate(request, sheet, nullptr, &solved);
    request.on_step = [&](const goal::GoalStepRecord& record) { pivots += record.row >= 0; };
    const GoalStepsOutcome run = CalculateGoalSteps(request, sheet);
    EXPECT_EQ(run.outcome.report, plain.report);
    EXPECT_EQ(run.outcome.messages, plain.messages);
    ASSERT_TRUE(run.steps && solved);
    const StepsDocument& doc = *run.steps;
    EXPECT_TRUE(doc.exact);
    EXPECT_EQ(doc.pivots, pivots);
    EXPECT_EQ(doc.pivots, solved->result.final.pivots);
    if (doc.round_off_swayed) {
      ++swayed;
      continue;
    }
    if (solved->result.outcome != goal::GoalOutcome::Optimal) continue;
    ++compared;
    const std::vector<double>& report = solved->result.final.achievement;
    ASSERT_EQ(doc.achievements.size(), report.size());
    for (std::size_t k = 0; k < report.size(); ++k)
      EXPECT_TRUE(Near(doc.achievements[k], report[k]))
          << "P" << k + 1 << ": " << doc.achievements[k] << " vs " << report[k];
  }
  EXPECT_GT(compared, 300);
  RecordProperty("swayed", swayed);
}

// Decimals when asked, or when the fractions take too long: the same steps
// and the same answer, with a note saying why.
TEST(GoalSteps, DecimalsFollowTheSameSteps) {
  struct Case {
    const char* name;
    ReplayOptions options;
    const char* note;  // a part of the last note; "" for none
  };
  ReplayOptions decimals, late;
  decimals.fractions = false;
  late.exact_seconds = 0;
  const Case cases[] = {{"asked", decimals, ""}, {"late", late, "精确分数的计算超过了 0 秒"}};
  const Sheet sheet =
      GoalSheet(2, {{"2", "1", "8", "1", "1", "0", "0"}, {"1", "3", "9", "2", "2", "0", "0"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GoalStepsOutcome run = CalculateGoalSteps(Request(2, 2), sheet, c.options);
    ASSERT_TRUE(run.steps);
    EXPECT_FALSE(run.steps->exact);
    EXPECT_EQ(run.steps->tableaux.size(), 4u);
    EXPECT_EQ(run.steps->x, (std::vector<double>{3, 2}));
    const std::string note = run.steps->notes.empty() ? "" : run.steps->notes.back();
    EXPECT_NE(note.find(c.note), std::string::npos) << note;
  }
}

}  // namespace
}  // namespace orcalc::steps
