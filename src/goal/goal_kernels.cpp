#include "goal/goal_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "parallel/thread_pool.h"

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

// The fewest blocks of kExchangeBlockColumns in one chunk of a split
// exchange (a chunk runs its rows 512 bytes at a time or more), and the
// chunks per thread: few and long, so that the processor's prefetching
// pays off, two so that a thread that is done can take over some of a late
// one's share.
constexpr std::size_t kSmallestExchangeChunk = 8;
constexpr std::size_t kExchangeChunksPerThread = 2;

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

// sum(j) += |row(j) × weight| where not kept.
[[gnu::always_inline]] inline void AddMagnitudes(double* __restrict sum,
                                                 const double* __restrict row, double weight,
                                                 const std::uint64_t* __restrict keep,
                                                 std::size_t width) {
  for (std::size_t j = 0; j < width; ++j) {
    sum[j] = Select(keep[j], sum[j], sum[j] + std::fabs(row[j] * weight));
  }
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

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// Columns [begin, end) of the exchange and of the bounds kept with it; P
// and e are coef(r,p) and eval(p) before the exchange, and column p and the
// row values are already taken care of.
[[gnu::always_inline]] inline void ExchangeBlock(const ExchangeArgs& a, const ColumnBounds& b,
                                                 double P, double e, std::size_t begin,
                                                 std::size_t end) {
  const std::size_t p = Index(a.p);
  const bool has_p = begin <= p && p < end;
  const std::size_t width = end - begin;
  double* const pivot_row = a.coef + Index(a.r) * a.stride + begin;
  const std::uint64_t* const keep = a.keep + begin;

  // The bounds that read the pivot row as it stands.
  if (b.eval_bound != nullptr) {
    AddMagnitudes(b.eval_bound + begin, pivot_row, b.bound_weight, keep, width);
    if (has_p) b.eval_bound[p] = b.pivot_bound;
  }
  if (b.error_scale != nullptr) {
    const double magnitude = std::fabs(P);
    const std::size_t last = std::min(end, Index(b.columns));
    for (std::size_t j = begin; j < last; ++j) {
      if (j == p) continue;
      const double entry = std::fabs(pivot_row[j - begin]);
      double& scale = b.error_scale[j];
      scale = std::max(scale, entry) + entry / magnitude * b.pivot_error_scale;
    }
    if (has_p) b.error_scale[p] = b.pivot_error_scale / magnitude;
  }

  // The evaluation row and every row but the pivot row, from the pivot
  // row's values before the exchange; column p of each is overwritten
  // after its pass.
  UpdateRow(a.eval + begin, pivot_row, keep, width, e, P);
  if (has_p) a.eval[p] = -e / P;
  for (int i = 0; i < a.rows; ++i) {
    if (i == a.r) continue;
    double* const row = a.coef + Index(i) * a.stride;
    const double x = a.pivot_column[i];
    UpdateRow(row + begin, pivot_row, keep, width, x, P);
    if (has_p) row[p] = -x / P;
  }
  // The pivot row last, as the rows above read its old values.
  DivideRow(pivot_row, keep, width, P);
  if (has_p) pivot_row[p - begin] = 1 / P;

  // The evaluation row's scale from the rows as they now stand.
  if (b.eval_scale != nullptr && b.level > 0) {
    double* const scale = b.eval_scale + begin;
    for (std::size_t j = 0; j < width; ++j) {
      if (keep[j] == 0) scale[j] = 0;
    }
    for (int i = 0; i < a.rows; ++i) {
      if (b.row_level[i] != b.level) continue;
      AddMagnitudes(scale, a.coef + Index(i) * a.stride + begin, b.row_weight[i], keep, width);
    }
    const std::size_t last = std::min(end, Index(b.columns));
    for (std::size_t j = begin; j < last; ++j) {
      if (a.keep[j] == 0 && b.col_level[j] == b.level) {
        b.eval_scale[j] += std::fabs(b.col_weight[j]);
      }
    }
  }
}

// Column p, which every block reads, before the blocks change it.
void TakePivotColumn(const ExchangeArgs& a) {
  const std::size_t p = Index(a.p);
  for (int i = 0; i < a.rows; ++i) a.pivot_column[i] = a.coef[Index(i) * a.stride + p];
}

// The row values, from column p as it stood, then the caller's own work on
// the rows.
void ExchangeRowValues(const ExchangeArgs& a, double P) {
  const double vr = a.row_value[a.r];
  for (int i = 0; i < a.rows; ++i) {
    if (i != a.r) a.row_value[i] = a.row_value[i] - (a.pivot_column[i] * vr) / P;
  }
  a.row_value[a.r] = vr / P;
  if (a.row_work != nullptr) a.row_work(a.row_work_context);
}

ORCALC_GOAL_CLONES void ExchangeBlockKernel(const ExchangeArgs& a, const ColumnBounds& b, double P,
                                            double e, std::size_t begin, std::size_t end) {
  ExchangeBlock(a, b, P, e, begin, end);
}

}  // namespace

void ExchangeTableau(const ExchangeArgs& args, const ColumnBounds& bounds) {
  const double P = args.coef[Index(args.r) * args.stride + Index(args.p)];
  const double e = args.eval[args.p];
  TakePivotColumn(args);
  if (Index(args.rows) * args.stride < kParallelExchangeCells) {
    ExchangeRowValues(args, P);
    ExchangeBlockKernel(args, bounds, P, e, 0, args.stride);
    return;
  }
  const std::size_t blocks = (args.stride + kExchangeBlockColumns - 1) / kExchangeBlockColumns;
  ThreadPool& pool = PivotPool();
  const std::size_t chunks = static_cast<std::size_t>(pool.threads()) * kExchangeChunksPerThread;
  const std::size_t chunk = std::max(kSmallestExchangeChunk, (blocks + chunks - 1) / chunks);
  pool.ForEachChunkBeside(
      blocks,
      [&](std::size_t begin, std::size_t end) {
        ExchangeBlockKernel(args, bounds, P, e, begin * kExchangeBlockColumns,
                            std::min(end * kExchangeBlockColumns, args.stride));
      },
      [&] { ExchangeRowValues(args, P); }, chunk);
}

void ExchangeTableauBaseline(const ExchangeArgs& args) {
  const double P = args.coef[Index(args.r) * args.stride + Index(args.p)];
  const double e = args.eval[args.p];
  TakePivotColumn(args);
  ExchangeRowValues(args, P);
  ExchangeBlock(args, ColumnBounds{}, P, e, 0, args.stride);
}

ORCALC_GOAL_CLONES void AddWeightedRow(double* eval, const double* row, double weight,
                                       const std::uint64_t* keep, std::size_t width) {
  for (std::size_t j = 0; j < width; ++j) {
    eval[j] = Select(keep[j], eval[j], eval[j] + row[j] * weight);
  }
}

ORCALC_GOAL_CLONES void AddWeightedMagnitudes(double* scale, const double* row, double weight,
                                              const std::uint64_t* keep, std::size_t width) {
  AddMagnitudes(scale, row, weight, keep, width);
}

}  // namespace orcalc::goal
