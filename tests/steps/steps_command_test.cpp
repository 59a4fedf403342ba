// The steps command: the calculation's own outcome first, the tables of its
// pivots after; the window's grid cell by cell as the formats' grid.
#include "steps/steps_command.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "steps/step_grid_cell.h"
#include "steps/step_render.h"
#include "steps/step_summary.h"
#include "steps_support.h"

namespace orcalc::steps {
namespace {

struct CommandCase {
  const char* what;
  lp::Sense sense;
  std::vector<std::string> objective;
  std::vector<std::vector<std::string>> rows;
  bool has_document;
  long pivots;
  const char* last_value;  // S of the last table
};

const CommandCase kCases[] = {
    // clang-format off
    {"worked example", lp::Sense::Maximise, {"3", "2"}, {{"1", "1", "<=", "4"}, {"1", "3", "<=", "6"}}, true, 1, "12"},
    {"two pivots", lp::Sense::Maximise, {"2", "3"}, {{"2", "1", "<=", "4"}, {"1", "2", "<=", "5"}}, true, 2, "8"},
    {"two phases", lp::Sense::Minimise, {"1", "1"}, {{"1", "1", ">=", "2"}, {"1", "-1", "=", "1"}}, true, 2, "2"},
    {"unbounded", lp::Sense::Maximise, {"1", "0"}, {{"1", "-1", "<=", "1"}}, true, 1, "1"},
    {"cell out of range", lp::Sense::Maximise, {"1e999", "1"}, {{"1", "1", "<=", "1"}}, false, 0, ""},
    // clang-format on
};

class CalculateStepsTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CalculateStepsTest, KeepsTheCalculationsOutcomeAndReplaysItsPivots) {
  const CommandCase& c = GetParam();
  const Sheet sheet = MakeSheet(c.sense, c.objective, c.rows);
  const int m = static_cast<int>(c.objective.size());
  const int n = static_cast<int>(c.rows.size());
  Progress progress;
  lp::LpRequest request{m, n, c.sense};
  request.progress = &progress;
  const StepsOutcome outcome = CalculateSteps(request, sheet);
  const CalculationOutcome calculation = lp::Calculate({m, n, c.sense}, sheet);
  EXPECT_EQ(outcome.calculation.messages, calculation.messages);
  EXPECT_EQ(outcome.calculation.report, calculation.report);
  ASSERT_EQ(outcome.document.has_value(), c.has_document);
  if (!outcome.document) return;
  const StepsDocument& doc = *outcome.document;
  EXPECT_EQ(progress.State().phase, ProgressPhase::Steps);
  EXPECT_EQ(doc.pivots, c.pivots);
  EXPECT_EQ(SummariseStep(doc, doc.tableaux.size() - 1, false).value, c.last_value);
  // The window's cells are the formats' grid.
  GridStyle style;
  style.number = [](const StepNumber& number) { return ShownNumber(number, false); };
  style.name = [](const StepColumn& column) { return column.name; };
  for (const StepTableau& table : doc.tableaux) {
    const Grid grid = TableGrid(doc, table, style);
    const GridSize size = TableGridSize(table);
    ASSERT_EQ(static_cast<std::size_t>(size.rows), grid.size());
    for (int r = 0; r < size.rows; ++r) {
      const auto& row = grid[static_cast<std::size_t>(r)];
      ASSERT_EQ(static_cast<std::size_t>(size.columns), row.size());
      for (int col = 0; col < size.columns; ++col) {
        const GridCell cell = TableGridCell(doc, table, style, r, col);
        const GridCell& expected = row[static_cast<std::size_t>(col)];
        EXPECT_EQ(cell.text, expected.text) << r << "," << col;
        EXPECT_EQ(cell.pivot, expected.pivot) << r << "," << col;
        EXPECT_EQ(cell.heading, expected.heading) << r << "," << col;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sheets, CalculateStepsTest, ::testing::ValuesIn(kCases), RowName());

TEST(CalculateSteps, StoppedBeforeTheTablesHasNone) {
  const Sheet sheet =
      MakeSheet(lp::Sense::Maximise, {"3", "2"}, {{"1", "1", "<=", "4"}, {"1", "3", "<=", "6"}});
  Progress progress;
  progress.RequestStop();
  lp::LpRequest request{2, 2, lp::Sense::Maximise};
  request.progress = &progress;
  const StepsOutcome outcome = CalculateSteps(request, sheet);
  EXPECT_TRUE(outcome.calculation.stopped);
  EXPECT_FALSE(outcome.document);
}

TEST(CalculateSteps, FractionsShownInDecimals) {
  const Sheet sheet =
      MakeSheet(lp::Sense::Maximise, {"2", "3"}, {{"2", "1", "<=", "4"}, {"1", "2", "<=", "5"}});
  const StepsOutcome outcome = CalculateSteps({2, 2, lp::Sense::Maximise}, sheet);
  ASSERT_TRUE(outcome.document);
  const StepsDocument& doc = *outcome.document;
  ASSERT_TRUE(doc.exact);
  EXPECT_EQ(ShownSentence(doc, doc.tableaux[1], false), "χ1 进基，χ3 出基，主元为 3/2");
  EXPECT_EQ(ShownSentence(doc, doc.tableaux[1], true), "χ1 进基，χ3 出基，主元为 1.5");
  const std::string text = RenderText(InDecimals(doc));
  EXPECT_NE(text.find("单纯形表（小数）"), std::string::npos);
  EXPECT_NE(text.find("[1.5]"), std::string::npos);
  EXPECT_EQ(text.find("3/2"), std::string::npos);
}

}  // namespace
}  // namespace orcalc::steps
