#include "models/model_report.h"

#include "common/report_text.h"
#include "lp/lp_sheet.h"

namespace orcalc::models {

std::vector<double> ModelValues(const ModelSheet& model, const std::vector<double>& chi) {
  std::vector<double> values;
  values.reserve(model.map.size());
  for (const VariableMap& map : model.map) {
    double value = map.shift;
    for (const VariableMap::Term& t : map.terms) {
      const auto j = static_cast<std::size_t>(t.chi);
      value += t.factor * (j < chi.size() ? chi[j] : 0.0);
    }
    values.push_back(value);
  }
  return values;
}

std::string ModelComparison(const ModelSheet& model, const lp::SimplexResult* optimum,
                            std::string_view decimal_separator) {
  ReportText report(decimal_separator);
  report.EndLine();
  report.Add("---------模型对照---------").EndLine();
  if (!model.model_name.empty()) report.Add("模型: ").Add(model.model_name).EndLine();
  report.Add("表格变量:").EndLine();
  for (const std::string& meaning : model.chi_meanings) report.Add(meaning).EndLine();
  report.Add("表格约束方程:").EndLine();
  for (const std::string& meaning : model.row_meanings) report.Add(meaning).EndLine();
  for (const std::string& notice : model.notices) report.Add(notice).EndLine();
  if (optimum == nullptr) return report.Take();
  report.EndLine();
  report.Add("目标函数常数项 = ").AddPlain(model.constant).EndLine();
  report
      .Add(model.sense == lp::Sense::Maximise ? "模型目标函数最大值 = S + 常数项 = "
                                              : "模型目标函数最小值 = S + 常数项 = ")
      .AddPlain(optimum->objective + model.constant)
      .EndLine();
  report.EndLine();
  report.Add("模型各变量的值:").EndLine();
  const std::vector<double> values = ModelValues(model, optimum->x);
  for (std::size_t k = 0; k < values.size(); ++k)
    report.Add(model.variable_names[k]).Add(" = ").AddPlain(values[k]).EndLine();
  return report.Take();
}

CalculationOutcome CalculateModel(const ModelSheet& model, lp::LpRequest request,
                                  std::optional<lp::SolvedLp>* solved) {
  request.variables = model.variables;
  request.constraints = model.constraints;
  request.sense = model.sense;
  std::optional<lp::SolvedLp> own;
  std::optional<lp::SolvedLp>& search = solved ? *solved : own;
  CalculationOutcome outcome = lp::Calculate(request, model.sheet, &search);
  if (!outcome.report) return outcome;
  const bool optimal = search && search->result.outcome == lp::SimplexOutcome::Optimal;
  *outcome.report +=
      ModelComparison(model, optimal ? &search->result : nullptr, request.decimal_separator);
  return outcome;
}

CalculationOutcome CalculateIntegerModel(const ModelSheet& model, integer::IntegerRequest request,
                                         std::optional<integer::SolvedInteger>* solved) {
  request.lp.variables = model.variables;
  request.lp.constraints = model.constraints;
  request.lp.sense = model.sense;
  std::optional<integer::SolvedInteger> own;
  std::optional<integer::SolvedInteger>& search = solved ? *solved : own;
  CalculationOutcome outcome = integer::SolveAndReport(
      request, lp::ReadLpSheet(model.sheet, model.variables, model.constraints, model.sense),
      &search);
  if (!outcome.report) return outcome;
  const lp::SimplexResult* best =
      search && search->result.incumbent ? &*search->result.incumbent : nullptr;
  *outcome.report += ModelComparison(model, best, request.lp.decimal_separator);
  return outcome;
}

}  // namespace orcalc::models
