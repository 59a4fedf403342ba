#include "models/model_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "common/calculation.h"
#include "common/number_text.h"
#include "common/sheet_layout.h"
#include "lp/lp_sheet.h"
#include "lp/lp_texts.h"

namespace orcalc::models {
namespace {

// The shortest text that reads back as the same double.
std::string ExactText(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::string Chi(int column) { return "χ" + std::to_string(column + 1); }

// A finite limit of a row or a bound, as a sheet row.
struct SheetRow {
  std::vector<double> coefficients;
  double sign = lp::kLessEqual;
  double rhs = 0;
};

bool IsWholeNumber(double value) { return std::isfinite(value) && value == std::floor(value); }

// The type of each χ of an integer variable `v` mapped as `map`: an integer
// x = s ± χ needs a whole s; a free one's parts are both integer. Nothing
// when the type cannot be kept; no χ at all for a fixed variable.
std::optional<integer::VariableType> WholeType(const ModelVariable& v, const VariableMap& map) {
  if (!IsWholeNumber(map.shift)) return std::nullopt;
  if (map.terms.size() == 1 && std::isfinite(v.lower) && std::isfinite(v.upper) &&
      v.upper - v.lower == 1)
    return integer::VariableType::Binary;
  return integer::VariableType::Integer;
}

// Sets the types of the χ's of variable `v`; false when it is integer and
// its type cannot be kept.
bool TypeVariable(const ModelVariable& v, const VariableMap& map, ModelSheet& out) {
  const std::optional<integer::VariableType> type =
      v.integer ? WholeType(v, map) : integer::VariableType::Continuous;
  for (std::size_t t = 0; t < map.terms.size(); ++t)
    out.types.push_back(type.value_or(integer::VariableType::Continuous));
  return type.has_value();
}

// The χ's of every variable; false when a bound leaves one no value.
bool MapVariables(const LinearModel& model, ModelSheet& out, std::vector<int>& bounded,
                  int& relaxed) {
  int next = 0;
  for (std::size_t k = 0; k < model.variables.size(); ++k) {
    const ModelVariable& v = model.variables[k];
    VariableMap map;
    if (v.lower == kInfinity || v.upper == -kInfinity || std::isnan(v.lower) ||
        std::isnan(v.upper)) {
      out.error = std::string("变量“") + v.name + "”的边界使它无值可取";
      return false;
    }
    const std::string& x = v.name;
    if (v.lower == v.upper) {
      map.shift = v.lower;
    } else if (std::isfinite(v.lower)) {
      map.shift = v.lower;
      map.terms = {{next, 1}};
      out.chi_meanings.push_back(Chi(next) + " = " + x +
                                 (v.lower == 0  ? ""
                                  : v.lower > 0 ? std::string(" - ") + PlainNumber(v.lower)
                                                : std::string(" + ") + PlainNumber(-v.lower)));
      if (std::isfinite(v.upper)) bounded.push_back(static_cast<int>(k));
    } else if (std::isfinite(v.upper)) {
      map.shift = v.upper;
      map.terms = {{next, -1}};
      out.chi_meanings.push_back(Chi(next) + " = " + PlainNumber(v.upper) + " - " + x);
    } else {
      map.terms = {{next, 1}, {next + 1, -1}};
      std::string positive = Chi(next);
      for (const std::string_view piece :
           {std::string_view(" = "), std::string_view(x), std::string_view(" 的正部（"),
            std::string_view(x), std::string_view(" = ")})
        positive += piece;
      positive += Chi(next);
      positive += " - ";
      positive += Chi(next + 1);
      positive += "）";
      out.chi_meanings.push_back(std::move(positive));
      out.chi_meanings.push_back(Chi(next + 1) + " = " + x + " 的负部");
    }
    next += static_cast<int>(map.terms.size());
    if (!TypeVariable(v, map, out)) ++relaxed;
    out.map.push_back(map);
  }
  out.variables = next;
  return true;
}

// The finite limits of a row: the equality, or the ≥ row and the ≤ row.
std::vector<std::pair<double, double>> RowSides(const ModelRow& row) {
  const auto [low, high] = row.Limits();
  if (low == high) return {{lp::kEqual, low}};
  std::vector<std::pair<double, double>> sides;
  if (std::isfinite(low)) sides.emplace_back(lp::kGreaterEqual, low);
  if (std::isfinite(high)) sides.emplace_back(lp::kLessEqual, high);
  return sides;
}

const char* SideName(double sign, std::size_t sides) {
  if (sides < 2) return "";
  return sign == lp::kGreaterEqual ? " 的下限" : " 的上限";
}

// Types the rows into the laid-out sheet: each number as the shortest text
// that reads back as the same double, zero coefficients left empty.
void TypeRow(Sheet& sheet, int row, const SheetRow& content) {
  const int m = static_cast<int>(content.coefficients.size());
  for (int j = 0; j < m; ++j) {
    const double a = content.coefficients[static_cast<std::size_t>(j)];
    if (a != 0) sheet.SetCell(row, j + 1, ExactText(a));
  }
  sheet.SetCell(row, m + 1,
                std::string(content.sign == lp::kLessEqual      ? " ≤ "
                            : content.sign == lp::kGreaterEqual ? " ≥ "
                                                                : lp::kObjectiveSignCell));
  sheet.SetCell(row, m + 2, ExactText(content.rhs));
}

// The model's rows (each finite side) in sheet terms.
void AddModelRows(const LinearModel& model, ModelSheet& out, std::vector<SheetRow>& rows) {
  const auto m = static_cast<std::size_t>(out.variables);
  for (const ModelRow& row : model.rows) {
    const auto sides = RowSides(row);
    if (sides.empty()) continue;
    std::vector<double> coefficients(m);
    double moved = 0;
    for (const ModelTerm& term : row.terms) {
      const VariableMap& map = out.map[static_cast<std::size_t>(term.variable)];
      for (const VariableMap::Term& t : map.terms)
        coefficients[static_cast<std::size_t>(t.chi)] += term.coefficient * t.factor;
      moved += term.coefficient * map.shift;
    }
    for (const auto& [sign, limit] : sides) {
      rows.push_back({coefficients, sign, limit - moved});
      out.row_meanings.push_back(std::string(lp::kConstraintRowLabel) +
                                 std::to_string(rows.size()) + " = " + row.name +
                                 SideName(sign, sides.size()));
    }
  }
}

int SheetRowCount(const LinearModel& model, const std::vector<int>& bounded) {
  std::size_t count = bounded.size();
  for (const ModelRow& row : model.rows) count += RowSides(row).size();
  return static_cast<int>(std::min<std::size_t>(count, 1u << 30));
}

}  // namespace

std::string RelaxedIntegersNotice(int count) {
  return "模型中有 " + std::to_string(count) +
         " 个整数变量的边界不是整数，无法保持整数要求，已按连续变量计算";
}

ModelSheet ConvertModelToSheet(const LinearModel& model) {
  ModelSheet out;
  out.sense = model.sense;
  out.model_name = model.name;
  for (const ModelVariable& v : model.variables) out.variable_names.push_back(v.name);
  std::vector<int> bounded;
  int relaxed = 0;
  if (!MapVariables(model, out, bounded, relaxed)) return out;
  out.constraints = SheetRowCount(model, bounded);
  if (out.variables > kMaxCount || out.constraints > kMaxCount) {
    out.error = std::string("模型转换为表格后有 ") + std::to_string(out.constraints) +
                " 个约束方程、" + std::to_string(out.variables) +
                " 个变量，超过了 500 × 500 的上限";
    return out;
  }
  out.constant = model.constant;
  std::vector<double> objective(static_cast<std::size_t>(out.variables));
  for (std::size_t k = 0; k < out.map.size(); ++k) {
    for (const VariableMap::Term& t : out.map[k].terms)
      objective[static_cast<std::size_t>(t.chi)] += model.objective[k] * t.factor;
    out.constant += model.objective[k] * out.map[k].shift;
  }
  std::vector<SheetRow> rows;
  AddModelRows(model, out, rows);
  for (const int k : bounded) {
    const ModelVariable& v = model.variables[static_cast<std::size_t>(k)];
    const int chi = out.map[static_cast<std::size_t>(k)].terms.front().chi;
    SheetRow row{std::vector<double>(static_cast<std::size_t>(out.variables)), lp::kLessEqual,
                 v.upper - v.lower};
    row.coefficients[static_cast<std::size_t>(chi)] = 1;
    rows.push_back(std::move(row));
    out.row_meanings.push_back(std::string(lp::kConstraintRowLabel) + std::to_string(rows.size()) +
                               " = " + v.name + " 的上界");
  }
  if (!AllFinite(objective) || !std::isfinite(out.constant) ||
      !std::all_of(rows.begin(), rows.end(), [](const SheetRow& row) {
        return std::isfinite(row.rhs) && AllFinite(row.coefficients);
      })) {
    out.error = "模型中的数太大：换算成表格后超出了双精度数的范围";
    return out;
  }
  lp::LayOutSheet(out.sheet, out.variables, out.constraints, out.sense);
  for (int j = 0; j < out.variables; ++j)
    if (objective[static_cast<std::size_t>(j)] != 0)
      out.sheet.SetCell(1, j + 1, ExactText(objective[static_cast<std::size_t>(j)]));
  for (std::size_t i = 0; i < rows.size(); ++i)
    TypeRow(out.sheet, static_cast<int>(i) + 2, rows[i]);
  if (relaxed > 0) out.notices.push_back(RelaxedIntegersNotice(relaxed));
  out.ok = true;
  return out;
}

}  // namespace orcalc::models
