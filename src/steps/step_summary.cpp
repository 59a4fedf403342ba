#include "steps/step_summary.h"

#include <algorithm>

#include "steps/step_grid.h"
#include "steps/step_number_text.h"

namespace orcalc::steps {
namespace {

// How the sentence under a table names its pivot ("主元为 3/2").
const char* const kPivotSaid = "主元为 ";

void ToDecimal(StepNumber& number) {
  if (!number.is_exact) return;
  number.is_exact = false;
  number.exact = std::nullopt;
}

void ToDecimals(std::vector<StepNumber>& numbers) {
  for (StepNumber& number : numbers) ToDecimal(number);
}

}  // namespace

std::string ShownNumber(const StepNumber& number, bool decimals) {
  if (!decimals || !number.is_exact) return NumberText(number);
  return NumberText(StepNumber{mpq_class(0), number.decimal, false});
}

StepSummary SummariseStep(const StepsDocument& doc, std::size_t index, bool decimals) {
  const StepTableau& table = doc.tableaux[index];
  StepSummary summary;
  // A linear program's phase has a column of its own; a goal table's level
  // is in its title.
  summary.title = doc.goal ? TableTitle(doc, index) : TableName(doc, index);
  const bool two_phases =
      std::any_of(doc.columns.begin(), doc.columns.end(),
                  [](const StepColumn& c) { return c.kind == VariableKind::Artificial; });
  if (two_phases) summary.phase = table.phase == 1 ? "第一阶段" : "第二阶段";
  summary.value = ShownNumber(table.objective, decimals);
  if (!table.pivot) return summary;
  const std::size_t columns = doc.columns.size();
  const int row = table.pivot->row;
  const int column = table.pivot->column;
  summary.pivot = ShownNumber(table.Cell(row, column, columns), decimals);
  summary.entering = doc.columns[static_cast<std::size_t>(column)].name;
  summary.leaving =
      doc.columns[static_cast<std::size_t>(table.basis[static_cast<std::size_t>(row)])].name;
  return summary;
}

StepSummary SummariseTable(const StepsDocument& doc, std::size_t number) {
  const TableSummary& table = doc.summaries[number];
  StepSummary summary;
  summary.title = "表 " + std::to_string(number + 1);
  const bool two_phases =
      std::any_of(doc.columns.begin(), doc.columns.end(),
                  [](const StepColumn& c) { return c.kind == VariableKind::Artificial; });
  if (two_phases) summary.phase = table.phase == 1 ? "第一阶段" : "第二阶段";
  auto decimal = [](double value) { return NumberText(StepNumber{mpq_class(0), value, false}); };
  summary.value = decimal(table.objective);
  if (table.entering < 0 || table.leaving < 0) return summary;
  summary.pivot = decimal(table.pivot);
  summary.entering = doc.columns[static_cast<std::size_t>(table.entering)].name;
  summary.leaving = doc.columns[static_cast<std::size_t>(table.leaving)].name;
  return summary;
}

std::string ShownSentence(const StepsDocument& doc, const StepTableau& table, bool decimals) {
  if (!decimals || !table.pivot) return table.sentence;
  const StepNumber& pivot = table.Cell(table.pivot->row, table.pivot->column, doc.columns.size());
  if (!pivot.is_exact) return table.sentence;
  const std::string said = std::string(kPivotSaid) + NumberText(pivot);
  const std::size_t at = table.sentence.find(said);
  if (at == std::string::npos) return table.sentence;
  std::string sentence = table.sentence;
  sentence.replace(at, said.size(), std::string(kPivotSaid) + ShownNumber(pivot, true));
  return sentence;
}

StepsDocument InDecimals(StepsDocument doc) {
  doc.exact = false;
  ToDecimals(doc.costs);
  for (StepTableau& table : doc.tableaux) {
    table.sentence = ShownSentence(doc, table, true);
    ToDecimals(table.costs);
    ToDecimals(table.basis_costs);
    ToDecimals(table.rhs);
    ToDecimals(table.cells);
    ToDecimals(table.sigma);
    ToDecimal(table.objective);
    for (std::optional<StepNumber>& theta : table.theta)
      if (theta) ToDecimal(*theta);
  }
  return doc;
}

}  // namespace orcalc::steps
