#include "integer/integer_report.h"

#include <cmath>
#include <string>

#include "integer/integer_texts.h"

namespace orcalc::integer {
namespace {

std::string_view FateText(const SearchNode& node) {
  switch (node.fate) {
    case NodeFate::Branched:
      return "分支";
    case NodeFate::FathomedByBound:
      return node.relaxation ? "因界剪枝" : "因界剪枝（未求解）";
    case NodeFate::Infeasible:
      return "无可行解";
    case NodeFate::WholeSolution:
      return "整数解";
    case NodeFate::Failed:
      return "求解未完成";
    case NodeFate::Open:
      break;
  }
  return "未搜索";
}

void WriteSummary(ReportText& report, const IntegerResult& result) {
  report.Add("搜索节点数 = ").AddInt(result.nodes).EndLine();
  report.Add("最优界 = ");
  if (result.best_bound) {
    report.AddPlain(*result.best_bound);
  } else {
    report.Add("无");
  }
  report.EndLine();
  if (!result.incumbent || !result.best_bound) return;
  const double s = result.incumbent->objective;
  const double gap = std::fabs(*result.best_bound - s);
  report.Add("差距 = ").AddPlain(gap);
  if (s != 0) report.Add("（相对差距 ").AddPlain(100 * gap / std::fabs(s)).Add("%）");
  report.EndLine();
}

void WriteNode(ReportText& report, const std::vector<SearchNode>& tree, int id) {
  const SearchNode& node = tree[static_cast<std::size_t>(id)];
  report.Add(std::string(static_cast<std::size_t>(node.depth) * 2, ' '));
  report.Add("节点").AddInt(id + 1).Add("  ");
  if (node.variable < 0) {
    report.Add("松弛问题");
  } else {
    report.Add("χ").AddInt(node.variable + 1).Add(node.upper ? " ≤ " : " ≥ ").AddPlain(node.value);
  }
  if (node.relaxation) report.Add("  S = ").AddPlain(*node.relaxation);
  report.Add("  ").Add(FateText(node)).EndLine();
}

// Each node followed by its children's subtrees, in the order made.
void WriteTree(ReportText& report, const std::vector<SearchNode>& tree) {
  const std::size_t count = tree.size();
  std::vector<std::vector<int>> children(count);
  for (std::size_t id = 1; id < count; ++id)
    children[static_cast<std::size_t>(tree[id].parent)].push_back(static_cast<int>(id));
  report.Add("搜索树:").EndLine();
  std::vector<int> pending{0};
  int lines = 0;
  while (!pending.empty() && lines < kMostTreeLines) {
    const int id = pending.back();
    pending.pop_back();
    WriteNode(report, tree, id);
    ++lines;
    const std::vector<int>& below = children[static_cast<std::size_t>(id)];
    pending.insert(pending.end(), below.rbegin(), below.rend());
  }
  if (static_cast<std::size_t>(lines) < count) {
    report.Add("……（搜索树共").AddInt(static_cast<long long>(count)).Add("个节点，只列出前");
    report.AddInt(lines).Add("个）").EndLine();
  }
}

}  // namespace

void WriteIntegerSection(ReportText& report, const std::vector<VariableType>& types,
                         const IntegerResult& result) {
  report.EndLine();
  report.Add(kSectionTitle).EndLine();
  report.Add("变量类型:").EndLine();
  for (std::size_t j = 0; j < types.size(); ++j) {
    report.Add("χ").AddInt(static_cast<long long>(j) + 1).Add("：").Add(VariableTypeText(types[j]));
    report.EndLine();
  }
  report.EndLine();
  WriteSummary(report, result);
  report.EndLine();
  if (!result.tree.empty()) WriteTree(report, result.tree);
}

}  // namespace orcalc::integer
