#include "lp/lp_report.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/number_text.h"
#include "parallel/thread_pool.h"

namespace orcalc::lp {
namespace {

// From this many coefficients on, the echo of the constraints is written
// over the pivot pool's threads.
constexpr std::size_t kParallelEchoTerms = 32768;

// The objective as entered, zero coefficients included; every term but the
// last is followed by " + ", the last by one blank.
void WriteObjective(ReportText& report, const LpProblem& problem) {
  const int m = problem.variables;
  report.Add("目标函数为:").EndLine();
  report.Add(problem.sense == Sense::Minimise ? " Min z = " : " Max z = ");
  for (int j = 1; j <= m; ++j) {
    report.AddPlain(problem.objective[static_cast<std::size_t>(j - 1)]).Add("χ").AddInt(j);
    report.Add(j < m ? " + " : " ");
  }
  report.EndLine();
  report.EndLine();
  report.EndLine();
}

std::size_t Put(char* at, std::string_view piece) {
  std::memcpy(at, piece.data(), piece.size());
  return piece.size();
}

// The echo of the constraints, row by row. Each row: the nonzero terms
// before the last, the last term always (signed), then the relation and the
// signed right-hand side. A row's text is written into one buffer and added
// whole; it depends on nothing but the row, so parts of the rows can be
// written apart.
class ConstraintEcho {
 public:
  ConstraintEcho(const LpProblem& problem, std::string_view separator)
      : problem_(problem), m_(problem.variables), separator_(separator) {
    // "*χj + " for every term but the last, written once.
    term_ends_.reserve(static_cast<std::size_t>(std::max(m_, 0)) + 1);
    term_ends_.push_back(0);
    for (int j = 1; j < m_; ++j) {
      terms_.append("*χ").append(std::to_string(j)).append(" + ");
      term_ends_.push_back(terms_.size());
    }
    // At most a number and a term per coefficient, then the last term, the
    // relation and the right-hand side.
    row_room_ =
        terms_.size() + static_cast<std::size_t>(std::max(m_, 0) + 2) * kNumberTextCapacity + 64;
  }

  void WriteRows(ReportText& out, int begin, int end) const {
    std::string row(row_room_, '\0');
    for (int i = begin; i < end; ++i) {
      char* const start = row.data();
      const char* const at = WriteRow(start, i);
      out.Add(std::string_view(start, static_cast<std::size_t>(at - start)));
    }
  }

 private:
  // Writes row i from `at`; returns the end.
  char* WriteRow(char* at, int i) const {
    const std::string_view all_terms = terms_;
    for (int j = 1; j < m_; ++j) {
      const double a = problem_.Coefficient(i, j - 1);
      const auto k = static_cast<std::size_t>(j);
      if (a != 0) {
        at += WritePlainNumber(at, a, separator_);
        at += Put(at, all_terms.substr(term_ends_[k - 1], term_ends_[k] - term_ends_[k - 1]));
      }
    }
    if (m_ >= 1) {
      at += WriteSignedNumber(at, problem_.Coefficient(i, m_ - 1));
      at += Put(at, "*χ");
      at = std::to_chars(at, at + 24, m_).ptr;
    }
    const double sign = problem_.signs[static_cast<std::size_t>(i)];
    at += Put(at, sign == 0 ? " ═ " : sign < 0 ? " ≥ " : " ≤ ");
    at += WriteSignedNumber(at, problem_.rhs[static_cast<std::size_t>(i)]);
    at += Put(at, "\r\n");
    return at;
  }

  const LpProblem& problem_;
  const int m_;
  const std::string_view separator_;
  std::string terms_;
  std::vector<std::size_t> term_ends_;
  std::size_t row_room_ = 0;
};

void WriteConstraints(ReportText& report, const LpProblem& problem) {
  const int m = problem.variables;
  const int n = problem.constraints;
  report.Add("约束方程如下:").EndLine();
  const ConstraintEcho echo(problem, report.decimal_separator());
  if (static_cast<std::size_t>(n) * static_cast<std::size_t>(std::max(m, 0)) < kParallelEchoTerms) {
    echo.WriteRows(report, 0, n);
    return;
  }
  // A large problem's rows are written in parts over the pivot pool, each
  // into its own text, then joined in order.
  ThreadPool& pool = PivotPool();
  std::vector<ReportText> texts(pool.parts(), ReportText(report.decimal_separator()));
  pool.ForEachPart(
      static_cast<std::size_t>(n), [&](std::size_t part, std::size_t begin, std::size_t end) {
        // About a dozen bytes a coefficient, as for the whole report.
        texts[part].Reserve((end - begin) * (static_cast<std::size_t>(std::max(m, 0)) + 2) * 14);
        echo.WriteRows(texts[part], static_cast<int>(begin), static_cast<int>(end));
      });
  for (const ReportText& text : texts) report.Add(text.str());
}

}  // namespace

void WriteCountsAndSense(ReportText& report, const LpProblem& problem) {
  report.Add("变量数m=").AddInt(problem.variables).EndLine();
  report.Add("约束方程数n=").AddInt(problem.constraints).EndLine();
  report.Add(problem.sense == Sense::Maximise ? "目标函数去极大值：p=1" : "目标函数去极小值：p=-1")
      .EndLine();
  report.Add("----------------------------------").EndLine();
}

void WriteReportHead(ReportText& report, const LpProblem& problem) {
  report.Add("---------线性规划计算结果---------").EndLine();
  WriteCountsAndSense(report, problem);
  report.EndLine();
  WriteObjective(report, problem);
  WriteConstraints(report, problem);
}

void WriteReportResults(ReportText& report, const SimplexResult& result) {
  report.EndLine();
  report.EndLine();
  report.Add("目标函数值 S = ").AddPlain(result.objective).EndLine();
  report.EndLine();
  report.Add("各变量最优解如下:").EndLine();
  for (std::size_t j = 0; j < result.x.size(); ++j) {
    report.Add("χ")
        .AddInt(static_cast<long long>(j) + 1)
        .Add(" = ")
        .AddSigned(result.x[j])
        .EndLine();
  }
}

}  // namespace orcalc::lp
