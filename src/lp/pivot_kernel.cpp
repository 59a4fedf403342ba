#include "lp/pivot_kernel.h"

#include "common/thread_pool.h"

namespace orcalc::lp::detail {
namespace {

// Four doubles as one value; element-wise arithmetic is exact IEEE
// arithmetic per lane, the same as the scalar operations. On a processor
// without 256-bit units the compiler splits it into narrower operations.
typedef double Lanes __attribute__((vector_size(32), aligned(32)));

}  // namespace

// Not under ThreadSanitizer: its instrumented run-time resolvers would run
// before the sanitizer has started.
#if defined(__x86_64__) && defined(__has_attribute) && !defined(__SANITIZE_THREAD__)
#if __has_attribute(target_clones)
#define ORCALC_KERNEL_CLONES __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef ORCALC_KERNEL_CLONES
#define ORCALC_KERNEL_CLONES
#endif

namespace {

ORCALC_KERNEL_CLONES
void DividePivotRow(double* pivot_row, std::size_t width, double q) {
  Lanes* pivot_lanes = reinterpret_cast<Lanes*>(__builtin_assume_aligned(pivot_row, 32));
  const Lanes divisor = {q, q, q, q};
  for (std::size_t b = 0; b < width / 4; ++b) pivot_lanes[b] = pivot_lanes[b] / divisor;
}

// Rows [begin, end) other than r, from the divided pivot row.
ORCALC_KERNEL_CLONES
void UpdateRows(double* tableau, std::size_t stride, std::size_t begin, std::size_t end,
                std::size_t width, std::size_t r, std::size_t k) {
  const Lanes* pivot_lanes =
      reinterpret_cast<const Lanes*>(__builtin_assume_aligned(tableau + r * stride, 32));
  const std::size_t blocks = width / 4;
  for (std::size_t i = begin; i < end; ++i) {
    if (i == r) continue;
    double* row = tableau + i * stride;
    const double f = row[k];
    if (f == 0.0) continue;
    Lanes* row_lanes = reinterpret_cast<Lanes*>(__builtin_assume_aligned(row, 32));
    const Lanes factor = {f, f, f, f};
    for (std::size_t b = 0; b < blocks; ++b) {
      row_lanes[b] = row_lanes[b] - pivot_lanes[b] * factor;
    }
  }
}

}  // namespace

void PivotTableau(double* tableau, std::size_t stride, std::size_t rows, std::size_t width,
                  std::size_t r, std::size_t k) {
  double* pivot_row = tableau + r * stride;
  DividePivotRow(pivot_row, width, pivot_row[k]);
  if (rows * width < kParallelPivotCells) {
    UpdateRows(tableau, stride, 0, rows, width, r, k);
    return;
  }
  PivotPool().ForEachChunk(rows, [&](std::size_t begin, std::size_t end) {
    UpdateRows(tableau, stride, begin, end, width, r, k);
  });
}

}  // namespace orcalc::lp::detail
