#include "goal/goal_kernels.h"

#include <cmath>
#include <cstring>

#include "common/thread_pool.h"

// The AVX2 and baseline variants, chosen at run time; not under
// ThreadSanitizer, whose instrumented resolvers would run before the
// sanitizer has started.
#if defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define ORCALC_GOAL_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORCALC_GOAL_CLONES
#endif

namespace orcalc::goal {
namespace {

// Keeps the old value where the mask is set, takes the new one elsewhere;
// written on the bits so that the compiler turns it into a vector blend.
[[gnu::always_inline]] inline double Select(std::uint64_t keep, double old_value,
                                            double new_value) {
  std::uint64_t o;
  std::uint64_t n;
  std::memcpy(&o, &old_value, sizeof o);
  std::memcpy(&n, &new_value, sizeof n);
  const std::uint64_t bits = (o & keep) | (n & ~keep);
  double out;
  std::memcpy(&out, &bits, sizeof out);
  return out;
}

// row(j) = row(j) − pivot(j) × x / P where not kept.
[[gnu::always_inline]] inline void UpdateRow(double* __restrict row, const double* __restrict pivot,
                                             const std::uint64_t* __restrict keep,
                                             std::size_t width, double x, double P) {
  for (std::size_t j = 0; j < width; ++j) {
    const double product = pivot[j] * x;
    const double quotient = product / P;
    row[j] = Select(keep[j], row[j], row[j] - quotient);
  }
}

[[gnu::always_inline]] inline void DivideRow(double* __restrict row,
                                             const std::uint64_t* __restrict keep,
                                             std::size_t width, double P) {
  for (std::size_t j = 0; j < width; ++j) row[j] = Select(keep[j], row[j], row[j] / P);
}

// The evaluation row (when `with_eval`) and rows [begin, end) other than r,
// from the pivot row's values before the exchange.
[[gnu::always_inline]] inline void UpdateRows(const ExchangeArgs& a, bool with_eval, int begin,
                                              int end) {
  const std::size_t width = a.stride;
  const std::size_t p = static_cast<std::size_t>(a.p);
  const double* const pivot_row = a.coef + static_cast<std::size_t>(a.r) * a.stride;
  const double P = pivot_row[p];

  if (with_eval) {
    // Evaluation row; its column p is overwritten after the pass.
    const double e = a.eval[p];
    UpdateRow(a.eval, pivot_row, a.keep, width, e, P);
    a.eval[p] = -e / P;
  }

  // Every other row; column p of each is likewise overwritten after the pass.
  const double vr = a.row_value[a.r];
  for (int i = begin; i < end; ++i) {
    if (i == a.r) continue;
    double* const row = a.coef + static_cast<std::size_t>(i) * a.stride;
    const double x = row[p];
    a.row_value[i] = a.row_value[i] - (x * vr) / P;
    UpdateRow(row, pivot_row, a.keep, width, x, P);
    row[p] = -x / P;
  }
}

// The pivot row last, as the rows above read its old values.
[[gnu::always_inline]] inline void FinishPivotRow(const ExchangeArgs& a) {
  const std::size_t p = static_cast<std::size_t>(a.p);
  double* const pivot_row = a.coef + static_cast<std::size_t>(a.r) * a.stride;
  const double P = pivot_row[p];
  a.row_value[a.r] = a.row_value[a.r] / P;
  DivideRow(pivot_row, a.keep, a.stride, P);
  pivot_row[p] = 1 / P;
}

[[gnu::always_inline]] inline void Exchange(const ExchangeArgs& a) {
  UpdateRows(a, true, 0, a.rows);
  FinishPivotRow(a);
}

ORCALC_GOAL_CLONES void UpdateRowsKernel(const ExchangeArgs& a, bool with_eval, int begin,
                                         int end) {
  UpdateRows(a, with_eval, begin, end);
}

ORCALC_GOAL_CLONES void FinishPivotRowKernel(const ExchangeArgs& a) { FinishPivotRow(a); }

}  // namespace

void ExchangeTableau(const ExchangeArgs& args) {
  const std::size_t cells = static_cast<std::size_t>(args.rows) * args.stride;
  if (cells < kParallelExchangeCells) {
    UpdateRowsKernel(args, true, 0, args.rows);
  } else {
    UpdateRowsKernel(args, true, 0, 0);  // the evaluation row alone
    PivotPool().ForEachChunk(
        static_cast<std::size_t>(args.rows), [&args](std::size_t begin, std::size_t end) {
          UpdateRowsKernel(args, false, static_cast<int>(begin), static_cast<int>(end));
        });
  }
  FinishPivotRowKernel(args);
}

void ExchangeTableauBaseline(const ExchangeArgs& args) { Exchange(args); }

ORCALC_GOAL_CLONES void AddWeightedRow(double* eval, const double* row, double weight,
                                       const std::uint64_t* keep, std::size_t width) {
  for (std::size_t j = 0; j < width; ++j) {
    eval[j] = Select(keep[j], eval[j], eval[j] + row[j] * weight);
  }
}

ORCALC_GOAL_CLONES void AddWeightedMagnitudes(double* scale, const double* row, double weight,
                                              const std::uint64_t* keep, std::size_t width) {
  for (std::size_t j = 0; j < width; ++j) {
    scale[j] = Select(keep[j], scale[j], scale[j] + std::fabs(row[j] * weight));
  }
}

}  // namespace orcalc::goal
