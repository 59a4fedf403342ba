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

}  // namespace

void WriteCountsAndSense(ReportText& report, const LpProblem& problem) {
  report.Add("变量数m=").AddInt(problem.variables).EndLine();
  report.Add("约束方程数n=").AddInt(problem.constraints).EndLine();
  report.Add(problem.sense == Sense::Maximise ? "目标函数去极大值：p=1" : "目标函数去极小值：p=-1")
      .EndLine();
  report.Add("----------------------------------").EndLine();
}

void WriteReportHead(ReportText& report, const LpProblem& problem) {
  const int m = problem.variables;
  const int n = problem.constraints;
  report.Add("---------线性规划计算结果---------").EndLine();
  WriteCountsAndSense(report, problem);
  report.EndLine();

  // The objective as entered, zero coefficients included; every term but
  // the last is followed by " + ", the last by one blank.
  report.Add("目标函数为:").EndLine();
  report.Add(problem.sense == Sense::Minimise ? " Min z = " : " Max z = ");
  for (int j = 1; j <= m; ++j) {
    report.AddPlain(problem.objective[static_cast<std::size_t>(j - 1)]).Add("χ").AddInt(j);
    report.Add(j < m ? " + " : " ");
  }
  report.EndLine();
  report.EndLine();
  report.EndLine();

  // Each constraint: the nonzero terms before the last, the last term
  // always (signed), then the relation and the signed right-hand side.
  report.Add("约束方程如下:").EndLine();
  // "*χj + " for every term but the last, written once.
  std::string terms;
  std::vector<std::size_t> term_ends;
  term_ends.reserve(static_cast<std::size_t>(std::max(m, 0)) + 1);
  term_ends.push_back(0);
  for (int j = 1; j < m; ++j) {
    terms.append("*χ").append(std::to_string(j)).append(" + ");
    term_ends.push_back(terms.size());
  }
  const std::string_view all_terms = terms;
  // A row's text is written into one buffer and added whole: at most a
  // number and a term per coefficient, then the last term, the relation
  // and the right-hand side.
  const std::string_view separator = report.decimal_separator();
  const std::size_t row_room =
      all_terms.size() + static_cast<std::size_t>(std::max(m, 0) + 2) * kNumberTextCapacity + 64;
  auto put = [](char* at, std::string_view piece) {
    std::memcpy(at, piece.data(), piece.size());
    return piece.size();
  };
  auto write_rows = [&](ReportText& out, int begin, int end) {
    std::string row(row_room, '\0');
    for (int i = begin; i < end; ++i) {
      char* const start = row.data();
      char* at = start;
      for (int j = 1; j < m; ++j) {
        const double a = problem.Coefficient(i, j - 1);
        const auto k = static_cast<std::size_t>(j);
        if (a != 0) {
          at += WritePlainNumber(at, a, separator);
          at += put(at, all_terms.substr(term_ends[k - 1], term_ends[k] - term_ends[k - 1]));
        }
      }
      if (m >= 1) {
        at += WriteSignedNumber(at, problem.Coefficient(i, m - 1));
        at += put(at, "*χ");
        at = std::to_chars(at, at + 24, m).ptr;
      }
      const double sign = problem.signs[static_cast<std::size_t>(i)];
      at += put(at, sign == 0 ? " ═ " : sign < 0 ? " ≥ " : " ≤ ");
      at += WriteSignedNumber(at, problem.rhs[static_cast<std::size_t>(i)]);
      at += put(at, "\r\n");
      out.Add(std::string_view(start, static_cast<std::size_t>(at - start)));
    }
  };
  if (static_cast<std::size_t>(n) * static_cast<std::size_t>(std::max(m, 0)) < kParallelEchoTerms) {
    write_rows(report, 0, n);
    return;
  }
  // A large problem's rows are written in parts over the pivot pool, each
  // into its own text, then joined in order: each row's text depends on
  // nothing but the row.
  ThreadPool& pool = PivotPool();
  std::vector<ReportText> texts(pool.parts(), ReportText(report.decimal_separator()));
  pool.ForEachPart(
      static_cast<std::size_t>(n), [&](std::size_t part, std::size_t begin, std::size_t end) {
        // About a dozen bytes a coefficient, as for the whole report.
        texts[part].Reserve((end - begin) * (static_cast<std::size_t>(std::max(m, 0)) + 2) * 14);
        write_rows(texts[part], static_cast<int>(begin), static_cast<int>(end));
      });
  for (const ReportText& text : texts) report.Add(text.str());
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
