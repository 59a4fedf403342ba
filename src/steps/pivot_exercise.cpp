#include "steps/pivot_exercise.h"

#include <algorithm>
#include <cstddef>

#include "steps/step_ending.h"

namespace orcalc::steps {
namespace {

std::size_t At(int index) { return static_cast<std::size_t>(index); }

const mpq_class& Entry(const StepsDocument& doc, const StepTableau& table, int row, int column) {
  return table.Cell(row, column, doc.columns.size()).exact.value();
}

// How much a unit of column j improves the objective in force: σ_j for a
// maximisation, −σ_j for a minimisation (positive: it improves).
mpq_class Improvement(const StepsDocument& doc, const StepTableau& table, int column) {
  const mpq_class& sigma = table.sigma[At(column)].exact.value();
  return doc.sense == lp::Sense::Maximise ? sigma : mpq_class(-sigma);
}

// The smallest ratio b_i / a_ik over the positive entries of column k, and
// its first row (-1: none is positive).
int SmallestRatioRow(const StepsDocument& doc, const StepTableau& table, int column,
                     mpq_class& smallest) {
  int best = -1;
  for (int i = 0; i < static_cast<int>(table.basis.size()); ++i) {
    const mpq_class& entry = Entry(doc, table, i, column);
    if (sgn(entry) <= 0) continue;
    const mpq_class ratio = table.rhs[At(i)].exact.value() / entry;
    if (best < 0 || ratio < smallest) {
      best = i;
      smallest = ratio;
    }
  }
  return best;
}

bool IsArtificial(const StepsDocument& doc, int column) {
  return doc.columns[At(column)].kind == VariableKind::Artificial;
}

bool IsBarred(const StepTableau& table, int column) {
  return std::find(table.barred.begin(), table.barred.end(), column) != table.barred.end();
}

// A column the method may bring into the basis of `table`.
bool MayEnter(const StepsDocument& doc, const StepTableau& table, int column) {
  return !IsArtificial(doc, column) && !IsBarred(table, column);
}

bool IsExact(const StepsDocument& doc, const StepTableau& table) {
  return doc.exact && !table.cells.empty() && table.cells.front().is_exact;
}

StepNumber Exact(const mpq_class& q) { return {q, q.get_d(), true}; }

// The costs, C_B, σ_j and the objective of `table` from its cells, b and
// basis.
void Evaluate(const StepsDocument& doc, StepTableau& table) {
  const std::size_t columns = doc.columns.size();
  std::vector<mpq_class> z(columns);
  mpq_class objective;
  table.basis_costs.clear();
  for (std::size_t i = 0; i < table.basis.size(); ++i) {
    const mpq_class& cb = table.costs[At(table.basis[i])].exact.value();
    table.basis_costs.push_back(Exact(cb));
    objective += cb * table.rhs[i].exact.value();
    for (std::size_t j = 0; j < columns; ++j)
      z[j] += cb * table.cells[i * columns + j].exact.value();
  }
  table.sigma.clear();
  for (std::size_t j = 0; j < columns; ++j)
    table.sigma.push_back(Exact(table.costs[j].exact.value() - z[j]));
  table.objective = Exact(objective);
}

// Why the method stops at an optimal `table`, with its point.
std::string OptimalText(const StepsDocument& doc, const StepTableau& table) {
  std::vector<std::string> x;
  for (std::size_t j = 0; j < doc.columns.size(); ++j) {
    if (doc.columns[j].kind != VariableKind::Decision) continue;
    mpq_class value;
    for (std::size_t i = 0; i < table.basis.size(); ++i)
      if (At(table.basis[i]) == j) value = table.rhs[i].exact.value();
    x.push_back(value.get_str());
  }
  return OptimalEnding(doc.sense, x, table.objective.exact.value().get_str());
}

bool ArtificialPositive(const StepsDocument& doc, const StepTableau& table) {
  for (std::size_t i = 0; i < table.basis.size(); ++i)
    if (IsArtificial(doc, table.basis[i]) && sgn(table.rhs[i].exact.value()) > 0) return true;
  return false;
}

std::string BarredNames(const StepsDocument& doc, const StepTableau& table) {
  std::string names;
  for (int j : table.barred) names += (names.empty() ? "" : "、") + doc.columns[At(j)].name;
  return names;
}

// The first table of phase 2 from the last one of phase 1.
StepTableau SecondPhase(const StepsDocument& doc, const StepTableau& last) {
  StepTableau next;
  next.phase = 2;
  for (int j = 0; j < static_cast<int>(doc.columns.size()); ++j) {
    if (IsArtificial(doc, j)) continue;
    next.shown.push_back(j);
    // Its entry would raise the auxiliary objective from 0: an artificial
    // variable would turn positive.
    if (sgn(Improvement(doc, last, j)) < 0) next.barred.push_back(j);
  }
  next.costs = doc.costs;
  next.basis = last.basis;
  next.rhs = last.rhs;
  next.cells = last.cells;
  next.theta.assign(last.basis.size(), std::nullopt);
  Evaluate(doc, next);
  return next;
}

}  // namespace

PivotJudgement JudgePivot(const StepsDocument& doc, const StepTableau& table, StepPivot pick) {
  if (!IsExact(doc, table))
    return {PivotVerdict::NotExact, "小数表不能自己选主元，请改用分数显示。"};
  if (sgn(Improvement(doc, table, pick.column)) <= 0 || IsArtificial(doc, pick.column))
    return {PivotVerdict::NotImproving, "该列检验数不能使目标函数改善"};
  if (IsBarred(table, pick.column))
    return {PivotVerdict::Barred, "该列进基会使仍在基中的人工变量取正值，第二阶段不能选它"};
  const mpq_class& entry = Entry(doc, table, pick.row, pick.column);
  if (sgn(entry) <= 0) return {PivotVerdict::NotPositive, "主元必须大于 0，该元素不能作主元"};
  mpq_class smallest;
  SmallestRatioRow(doc, table, pick.column, smallest);
  if (table.rhs[At(pick.row)].exact.value() / entry > smallest)
    return {PivotVerdict::RatioNotSmallest, "θ 不是最小，换基后会有负的基变量值"};
  return {};
}

std::optional<StepPivot> TextbookPivot(const StepsDocument& doc, const StepTableau& table) {
  int column = -1;
  mpq_class most;
  for (int j : table.shown) {
    if (!MayEnter(doc, table, j)) continue;
    const mpq_class improvement = Improvement(doc, table, j);
    if (sgn(improvement) > 0 && (column < 0 || improvement > most)) {
      column = j;
      most = improvement;
    }
  }
  if (column < 0) return std::nullopt;
  mpq_class smallest;
  const int row = SmallestRatioRow(doc, table, column, smallest);
  if (row < 0) return std::nullopt;
  return StepPivot{row, column};
}

StepTableau PerformPivot(const StepsDocument& doc, StepTableau& table, StepPivot pick) {
  const std::size_t columns = doc.columns.size();
  const std::size_t rows = table.basis.size();
  const mpq_class pivot = Entry(doc, table, pick.row, pick.column);
  table.theta.assign(rows, std::nullopt);
  for (std::size_t i = 0; i < rows; ++i) {
    const mpq_class& entry = table.cells[i * columns + At(pick.column)].exact.value();
    if (sgn(entry) > 0) table.theta[i] = Exact(table.rhs[i].exact.value() / entry);
  }
  table.pivot = pick;
  table.sentence = doc.columns[At(pick.column)].name + " 进基，" +
                   doc.columns[At(table.basis[At(pick.row)])].name + " 出基，主元为 " +
                   pivot.get_str();
  table.round_off.clear();

  StepTableau next;
  next.phase = table.phase;
  next.shown = table.shown;
  next.barred = table.barred;
  next.costs = table.costs;
  next.basis = table.basis;
  next.basis[At(pick.row)] = pick.column;
  next.theta.assign(rows, std::nullopt);
  const std::size_t r = At(pick.row);
  std::vector<mpq_class> pivot_row(columns);
  for (std::size_t j = 0; j < columns; ++j)
    pivot_row[j] = table.cells[r * columns + j].exact.value() / pivot;
  const mpq_class pivot_rhs = table.rhs[r].exact.value() / pivot;
  for (std::size_t i = 0; i < rows; ++i) {
    const mpq_class factor =
        i == r ? mpq_class(0) : table.cells[i * columns + At(pick.column)].exact.value();
    next.rhs.push_back(
        Exact(i == r ? pivot_rhs : mpq_class(table.rhs[i].exact.value() - factor * pivot_rhs)));
    for (std::size_t j = 0; j < columns; ++j) {
      next.cells.push_back(Exact(
          i == r ? pivot_row[j]
                 : mpq_class(table.cells[i * columns + j].exact.value() - factor * pivot_row[j])));
    }
  }
  Evaluate(doc, next);
  return next;
}

ExerciseStep TakeExerciseStep(const StepsDocument& doc, StepTableau& table, StepPivot pick) {
  ExerciseStep step;
  step.tables.push_back(PerformPivot(doc, table, pick));
  StepTableau& next = step.tables.back();
  if (next.phase == 1 && !TextbookPivot(doc, next)) {
    if (ArtificialPositive(doc, next)) {
      step.ending = InfeasibleEnding();
      return step;
    }
    next.sentence = PhaseChangeSentence(2, false);
    StepTableau second = SecondPhase(doc, next);
    if (!second.barred.empty())
      next.sentence +=
          "；" + BarredNames(doc, second) + " 进基会使仍在基中的人工变量取正值，第二阶段不再进基";
    step.tables.push_back(std::move(second));
  }
  step.ending = ExerciseEnding(doc, step.tables.back());
  return step;
}

std::string ExerciseEnding(const StepsDocument& doc, const StepTableau& table) {
  if (!IsExact(doc, table) || TextbookPivot(doc, table)) return "";
  for (int j : table.shown) {
    if (!MayEnter(doc, table, j)) continue;
    if (sgn(Improvement(doc, table, j)) > 0)
      return doc.columns[At(j)].name +
             " 的检验数可改善目标函数，但该列没有正的系数：目标函数无界。";
  }
  if (table.phase == 1)
    return ArtificialPositive(doc, table) ? InfeasibleEnding()
                                          : "所有检验数都不能再改善辅助目标函数，第一阶段结束。";
  return OptimalText(doc, table);
}

}  // namespace orcalc::steps
