#include "steps/goal_step_texts.h"

#include "common/number_text.h"
#include "steps/step_number_text.h"

namespace orcalc::steps {
namespace {

std::string NameOf(const StepsDocument& doc, int variable) {
  return doc.columns[static_cast<std::size_t>(variable)].name;
}

std::string NamesOf(const StepsDocument& doc, const std::vector<int>& variables) {
  std::string names;
  for (int variable : variables) {
    if (!names.empty()) names += "、";
    names += NameOf(doc, variable);
  }
  return names;
}

// "χ1、χ2", or "χ1…χ9" for more than three.
std::string Run(const std::string& first, const std::string& last, int count) {
  if (count > 3) return first + "…" + last;
  if (count == 3) return first + "、…、" + last;
  if (count == 2) return first + "、" + last;
  return first;
}

std::string DeviationName(int goal, char sign) {
  std::string name(1, 'd');
  name += PlainNumber(goal);
  name.push_back(sign);
  return name;
}

}  // namespace

std::vector<StepColumn> GoalColumns(const goal::GoalModel& model) {
  // A level outside 1..L costs nothing: shown as none.
  auto level = [&](std::int16_t l) { return l >= 1 && l <= model.level_count ? int{l} : 0; };
  std::vector<StepColumn> columns;
  for (int j = 1; j <= model.variable_count; ++j)
    columns.push_back({VariableName(j), VariableKind::Decision, 0});
  for (int i = 0; i < model.constraint_count; ++i)
    columns.push_back({DeviationName(i + 1, '-'), VariableKind::NegativeDeviation,
                       level(model.neg_level[static_cast<std::size_t>(i)])});
  for (int i = 0; i < model.constraint_count; ++i)
    columns.push_back({DeviationName(i + 1, '+'), VariableKind::PositiveDeviation,
                       level(model.pos_level[static_cast<std::size_t>(i)])});
  return columns;
}

std::vector<std::string> GoalLegend(const goal::GoalModel& model) {
  const int N = model.variable_count, M = model.constraint_count;
  std::string kinds = N > 0 ? Run(VariableName(1), VariableName(N), N) + " 为决策变量"
                            : std::string("没有决策变量");
  if (M > 0) {
    kinds += "；" + Run(DeviationName(1, '-'), DeviationName(M, '-'), M) + " 为负偏差变量，" +
             Run(DeviationName(1, '+'), DeviationName(M, '+'), M) +
             " 为正偏差变量（目标 i：Σ aij·χj + di- − di+ = bi）";
  }
  std::vector<std::string> legend{kinds + "。"};
  legend.emplace_back(
      "压缩的交换表：每行一个基变量，每列一个非基变量；换基时主元所在行、列的变量互换。");
  legend.emplace_back(
      "权重行为各非基变量的权重与优先等级（如 2P1），C_B 列为基变量的；不属于任何等级的记为 0。");
  legend.emplace_back(
      "评价行 Pk：该列变量增加一个单位时第 k 级目标的减少量，b 列为第 k "
      "级目标的当前值；带 * 的是正在求极小的等级。");
  legend.emplace_back(
      "该级评价行中有大于 0 的数时，其中最大者所在的列进基，θ 最小的行出基（θ = b / "
      "该列中大于 0 的系数）；全部 ≤ 0 时该级已达最优，删去评价数小于 0 "
      "的列（较低的等级不能再使它变差），转入下一级。");
  return legend;
}

std::string LevelName(int level) {
  std::string name(1, 'P');  // not "P" + ...: GCC 12 warns falsely of overlap there
  return name += PlainNumber(level);
}

std::string GoalPivotSentence(const StepsDocument& doc, int entering, int leaving,
                              const std::string& pivot, bool smallest_index) {
  std::string text =
      NameOf(doc, entering) + " 进基，" + NameOf(doc, leaving) + " 出基，主元为 " + pivot;
  if (smallest_index) text += "（为防止循环，按最小下标规则选择）";
  return text;
}

std::string LevelEndSentence(const StepsDocument& doc, int level, const std::vector<int>& removed,
                             int next_level) {
  std::string text = LevelName(level) + " 级已达最优（评价行中没有大于 0 的数），";
  if (removed.empty()) {
    text += "没有要删去的列";
  } else {
    text += "删去 ";
    text += NamesOf(doc, removed) + " 列";
  }
  if (next_level > 0) {
    text += "，转入 ";
    text += LevelName(next_level) + " 级";
  }
  return text;
}

std::string GoalRoundOffSentence(const StepsDocument& doc, int entering, int leaving) {
  std::string text = "此步的选择受舍入误差影响，精确计算应选 ";
  if (entering < 0) return text + "不再换基（本级已达最优）";
  if (leaving < 0)
    return text + NameOf(doc, entering) + " 进基，但该列没有正的系数（本级目标无下界）";
  return text + NameOf(doc, entering) + " 进基，" + NameOf(doc, leaving) + " 出基";
}

std::string RemovalRoundOffSentence(const StepsDocument& doc, const std::vector<int>& removed) {
  const std::string text = "此步的选择受舍入误差影响，精确计算应";
  if (removed.empty()) return text + "不删去任何列";
  return text + "删去 " + NamesOf(doc, removed) + " 列";
}

namespace {

std::string OutcomeText(const StepsDocument& doc, goal::GoalOutcome outcome, int unbounded) {
  switch (outcome) {
    case goal::GoalOutcome::Optimal:
      return "各优先等级均已依次求得极小";
    case goal::GoalOutcome::PivotTooSmall:
      if (unbounded >= 0)
        return NameOf(doc, unbounded) +
               " 应进基，但该列没有大于 0 的系数，θ 无从计算：本级目标没有下界，计算停止";
      return "没有可用的主元（主元小于 0.00001），计算停止";
    case goal::GoalOutcome::Cycling:
      return "该级回到了已有过的基，改用最小下标规则后仍然循环，计算停止";
    case goal::GoalOutcome::PivotLimit:
      return "达到主元次数上限，计算停止；最后一张表不是最优表";
    case goal::GoalOutcome::RoundOff:
      return "舍入误差使计算无法判定该级的结论，计算停止";
    case goal::GoalOutcome::Overflow:
      return "计算中出现了无法表示的数，计算停止";
    case goal::GoalOutcome::Stopped:
      break;
  }
  return "计算被中止";
}

}  // namespace

std::string GoalEndingText(const StepsDocument& doc, goal::GoalOutcome outcome,
                           const std::vector<std::string>& values,
                           const std::vector<std::pair<int, std::string>>& achievements,
                           int unbounded) {
  std::string text = OutcomeText(doc, outcome, unbounded);
  text += outcome == goal::GoalOutcome::Optimal ? "：" : "。最后一张表：";
  std::string point;
  for (std::size_t j = 0; j < values.size(); ++j) {
    if (!point.empty()) point += "，";
    point += VariableName(static_cast<int>(j) + 1) + " = " + values[j];
  }
  std::string levels;
  for (const auto& [level, value] : achievements) {
    if (!levels.empty()) levels += "，";
    levels += LevelName(level) + " = " + value;
  }
  if (!levels.empty()) {
    point += point.empty() ? "各级目标值 " : "；各级目标值 ";
    point += levels;
  }
  if (point.empty()) point = "没有决策变量";
  return text + point + "。";
}

}  // namespace orcalc::steps
