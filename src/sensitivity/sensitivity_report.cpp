#include "sensitivity/sensitivity_report.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "common/number_text.h"
#include "common/report_text.h"
#include "common/text_width.h"
#include "lp/lp_report.h"

namespace orcalc::lp {
namespace {

constexpr std::string_view kGap = "  ";

// Plain number text with ".", an unlimited bound as "+∞" or "-∞".
std::string Figure(double value) {
  if (std::isinf(value)) return value > 0 ? "+∞" : "-∞";
  return PlainNumber(value);
}

// A row's name: "χ" and 1, "约束方程" and 2.
std::string Name(std::string_view prefix, std::size_t index) {
  std::string name(prefix);
  name.append(std::to_string(index));
  return name;
}

// An aligned table: the first column (names) left-aligned, the figures
// right-aligned, two blanks between columns, no trailing blanks.
class Table {
 public:
  using Row = std::vector<std::string>;
  explicit Table(std::initializer_list<std::string_view> header) : widths_(header.size(), 0) {
    AddRow(Row(header.begin(), header.end()));
  }
  void AddRow(Row cells) {
    for (std::size_t c = 0; c < widths_.size(); ++c)
      widths_[c] = std::max(widths_[c], DisplayWidth(cells[c]));
    rows_.push_back(std::move(cells));
  }
  void WriteTo(ReportText& report) const {
    std::string line;
    for (const Row& cells : rows_) {
      line.clear();
      AppendPadRight(line, cells[0], widths_[0]);
      for (std::size_t c = 1; c < widths_.size(); ++c) {
        line.append(kGap);
        AppendPadLeft(line, cells[c], widths_[c]);
      }
      report.Add(line).EndLine();
    }
  }

 private:
  std::vector<std::size_t> widths_;
  std::vector<Row> rows_;
};

void WriteNote(ReportText& report, const SensitivityAnalysis& analysis) {
  if (analysis.degenerate && analysis.not_unique) {
    report
        .Add(
            "注意：最优解退化且有非基变量的检验数为0，影子价格和最优解都可能不唯一；"
            "以下为最终基的数值。")
        .EndLine();
  } else if (analysis.degenerate) {
    report.Add("注意：最优解退化（有基变量取值为0），影子价格可能不唯一；以下为最终基的数值。")
        .EndLine();
  } else if (analysis.not_unique) {
    report.Add("注意：有非基变量的检验数为0，最优解可能不唯一；以下为最终基的数值。").EndLine();
  }
}

void WriteVariables(ReportText& report, const SensitivityAnalysis& analysis) {
  report.Add("各变量（下限、上限：最优基不变时目标函数系数的变化范围）:").EndLine();
  Table table({"变量", "取值", "检验数", "目标系数", "下限", "上限"});
  for (std::size_t j = 0; j < analysis.variables.size(); ++j) {
    const VariableSensitivity& v = analysis.variables[j];
    table.AddRow({Name("χ", j + 1), Figure(v.value), Figure(v.reduced_cost), Figure(v.coefficient),
                  Figure(v.lower), Figure(v.upper)});
  }
  table.WriteTo(report);
}

void WriteConstraints(ReportText& report, const SensitivityAnalysis& analysis) {
  report.Add("各约束方程（下限、上限：影子价格不变时常数项的变化范围）:").EndLine();
  Table table({"约束", "左端值", "影子价格", "常数项", "下限", "上限"});
  for (std::size_t i = 0; i < analysis.constraints.size(); ++i) {
    const ConstraintSensitivity& c = analysis.constraints[i];
    table.AddRow({Name("约束方程", i + 1), Figure(c.activity), Figure(c.shadow_price),
                  Figure(c.rhs), Figure(c.lower), Figure(c.upper)});
  }
  table.WriteTo(report);
}

// The dual in the notation of the echo: maximising gives
//   min Σ b_i y_i  s.t.  Σ_i a_ij y_i ≥ c_j,  y_i ≥ 0 (≤ rows), ≤ 0 (≥ rows), free (= rows);
// minimising the mirror image.
void WriteDual(ReportText& report, const LpProblem& problem, const SensitivityAnalysis& analysis) {
  const int m = problem.variables;
  const int n = problem.constraints;
  const bool maximise = problem.sense == Sense::Maximise;
  report.Add("对偶问题:").EndLine();
  report.Add(maximise ? " Min w = " : " Max w = ");
  for (int i = 1; i <= n; ++i) {
    report.AddPlain(problem.rhs[static_cast<std::size_t>(i - 1)]).Add("y").AddInt(i);
    report.Add(i < n ? " + " : " ");
  }
  report.EndLine();
  report.Add("约束条件如下:").EndLine();
  for (int j = 0; j < m; ++j) {
    for (int i = 1; i < n; ++i) {
      const double a = problem.Coefficient(i - 1, j);
      if (a != 0) report.AddPlain(a).Add("*y").AddInt(i).Add(" + ");
    }
    if (n >= 1) report.AddSigned(problem.Coefficient(n - 1, j)).Add("*y").AddInt(n);
    report.Add(maximise ? " ≥ " : " ≤ ");
    report.AddSigned(problem.objective[static_cast<std::size_t>(j)]).EndLine();
  }
  // The sign conditions, one line for each kind that occurs.
  const double nonnegative_row = maximise ? kLessEqual : kGreaterEqual;
  const std::array<std::string_view, 3> kinds = {" ≥ 0", " ≤ 0", " 无约束"};
  for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
    bool any = false;
    for (int i = 0; i < n; ++i) {
      const double sign = problem.signs[static_cast<std::size_t>(i)];
      const std::size_t of = sign == 0 ? 2 : sign == nonnegative_row ? 0 : 1;
      if (of != kind) continue;
      report.Add(any ? ", y" : "y").AddInt(i + 1);
      any = true;
    }
    if (any) report.Add(kinds[kind]).EndLine();
  }
  report.EndLine();

  report.Add("对偶问题的最优解（即影子价格）:").EndLine();
  Table table({"对偶变量", "取值"});
  for (std::size_t i = 0; i < analysis.constraints.size(); ++i)
    table.AddRow({Name("y", i + 1), Figure(analysis.constraints[i].shadow_price)});
  table.WriteTo(report);
  report.EndLine();
  report.Add("对偶目标函数值 w = ").AddPlain(analysis.dual_objective).EndLine();
}

}  // namespace

std::string WriteSensitivityReport(const LpProblem& problem, const SensitivityAnalysis& analysis) {
  ReportText report;
  report.Reserve(1024 + analysis.variables.size() * 96 +
                 analysis.constraints.size() * (96 + analysis.variables.size() * 12));
  report.Add("-----------灵敏度分析-----------").EndLine();
  WriteCountsAndSense(report, problem);
  report.EndLine();
  report.Add("目标函数值 S = ").AddPlain(analysis.objective).EndLine();
  WriteNote(report, analysis);
  report.EndLine();
  WriteVariables(report, analysis);
  report.EndLine();
  WriteConstraints(report, analysis);
  report.EndLine();
  WriteDual(report, problem, analysis);
  return report.Take();
}

std::string WriteSensitivityCsv(const SensitivityAnalysis& analysis) {
  std::string csv = "kind,index,value,rate,current,lower,upper\n";
  auto line = [&](std::string_view kind, std::size_t index, std::array<double, 5> figures) {
    csv.append(kind).append(",").append(std::to_string(index));
    for (double figure : figures) csv.append(",").append(PlainNumber(figure));
    csv.append("\n");
  };
  for (std::size_t j = 0; j < analysis.variables.size(); ++j) {
    const VariableSensitivity& v = analysis.variables[j];
    line("variable", j + 1, {v.value, v.reduced_cost, v.coefficient, v.lower, v.upper});
  }
  for (std::size_t i = 0; i < analysis.constraints.size(); ++i) {
    const ConstraintSensitivity& c = analysis.constraints[i];
    line("constraint", i + 1, {c.activity, c.shadow_price, c.rhs, c.lower, c.upper});
  }
  // What the text report's note says, as two flags in the value field.
  csv.append("degenerate,0,").append(analysis.degenerate ? "1" : "0").append(",,,,\n");
  csv.append("unique,0,").append(analysis.not_unique ? "0" : "1").append(",,,,\n");
  return csv;
}

}  // namespace orcalc::lp
