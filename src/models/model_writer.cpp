#include "models/model_writer.h"

#include <charconv>
#include <cmath>

namespace orcalc::models {
namespace {

constexpr int kTermsPerLine = 8;
// The magnitude from which model files read a number as infinite.
constexpr double kLargestExportable = 1e30;

std::string Number(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::string VariableName(int j) { return std::string("x") + std::to_string(j + 1); }

// " + 3 x1 - 2 x2 ..." over the nonzero coefficients (one zero term when
// there is none, since a row needs one), or over all of them with
// `every_term`, a line break every few terms.
void AddTerms(std::string& out, const std::vector<double>& row, bool every_term = false) {
  int written = 0;
  for (std::size_t j = 0; j < row.size(); ++j) {
    const double a = row[j];
    if (a == 0 && !every_term && !(written == 0 && j + 1 == row.size())) continue;
    if (written > 0 && written % kTermsPerLine == 0) out += "\n   ";
    out += a < 0 ? " - " : " + ";
    out += Number(a < 0 ? -a : a);
    out += " ";
    out += VariableName(static_cast<int>(j));
    ++written;
  }
}

std::vector<double> RowOf(const lp::LpProblem& problem, int i) {
  std::vector<double> row(static_cast<std::size_t>(problem.variables));
  for (int j = 0; j < problem.variables; ++j)
    row[static_cast<std::size_t>(j)] = problem.Coefficient(i, j);
  return row;
}

const char* Relation(double sign) {
  return sign == lp::kLessEqual ? " <= " : sign == lp::kGreaterEqual ? " >= " : " = ";
}

const char* MpsType(double sign) {
  return sign == lp::kLessEqual ? "L" : sign == lp::kGreaterEqual ? "G" : "E";
}

}  // namespace

std::optional<std::string> ExportRefusal(const lp::LpProblem& problem) {
  if (problem.variables < 1) return "问题没有变量，无法导出为模型文件";
  // Model files (ours and every solver's) read a magnitude of 1e30 or more
  // as infinite: such a number would not come back as written.
  const auto too_large = [](const std::vector<double>& numbers) {
    for (double x : numbers)
      if (!(std::fabs(x) < kLargestExportable)) return true;
    return false;
  };
  if (too_large(problem.objective) || too_large(problem.coefficients) || too_large(problem.rhs))
    return "问题中有绝对值不小于 1e30 的数，模型文件会把它读作无穷大，无法导出为模型文件";
  return std::nullopt;
}

std::string CplexLpText(const lp::LpProblem& problem) {
  std::string out = std::string("\\ orcalc: ") + std::to_string(problem.constraints) +
                    " constraints, " + std::to_string(problem.variables) + " variables\n";
  out += problem.sense == lp::Sense::Maximise ? "Maximize\n" : "Minimize\n";
  out += " obj:";
  // Every variable in the objective, so that a reader meets them in order.
  AddTerms(out, problem.objective, true);
  out += "\nSubject To\n";
  for (int i = 0; i < problem.constraints; ++i) {
    out += std::string(" c") + std::to_string(i + 1) + ":";
    AddTerms(out, RowOf(problem, i));
    out += Relation(problem.signs[static_cast<std::size_t>(i)]);
    out += Number(problem.rhs[static_cast<std::size_t>(i)]);
    out += "\n";
  }
  out += "End\n";
  return out;
}

std::string FreeMpsText(const lp::LpProblem& problem) {
  const bool negate = problem.sense == lp::Sense::Maximise;
  std::string out = std::string("* orcalc: ") + std::to_string(problem.constraints) +
                    " constraints, " + std::to_string(problem.variables) + " variables\n";
  if (negate)
    out += "* maximise: the objective is negated here; its maximum is minus this minimum\n";
  out += "NAME orcalc\nROWS\n N obj\n";
  for (int i = 0; i < problem.constraints; ++i)
    out += std::string(" ") + MpsType(problem.signs[static_cast<std::size_t>(i)]) + " c" +
           std::to_string(i + 1) + "\n";
  out += "COLUMNS\n";
  for (int j = 0; j < problem.variables; ++j) {
    const std::string name = std::string(" ") + VariableName(j) + " ";
    const double c = problem.objective[static_cast<std::size_t>(j)];
    out += name + "obj " + Number(negate ? -c : c) + "\n";
    for (int i = 0; i < problem.constraints; ++i) {
      const double a = problem.Coefficient(i, j);
      if (a != 0) out += name + "c" + std::to_string(i + 1) + " " + Number(a) + "\n";
    }
  }
  out += "RHS\n";
  for (int i = 0; i < problem.constraints; ++i) {
    const double b = problem.rhs[static_cast<std::size_t>(i)];
    if (b != 0) out += std::string(" RHS c") + std::to_string(i + 1) + " " + Number(b) + "\n";
  }
  out += "ENDATA\n";
  return out;
}

files::WriteOutcome WriteModelFile(const std::string& path, const lp::LpProblem& problem,
                                   ModelFormat format) {
  return files::WriteFileAtomically(
      path, format == ModelFormat::Mps ? FreeMpsText(problem) : CplexLpText(problem));
}

}  // namespace orcalc::models
