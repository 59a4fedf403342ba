#include "lp/pivot_kernel.h"

namespace orcalc::lp::detail {
namespace {

// Four doubles as one value; element-wise arithmetic is exact IEEE
// arithmetic per lane, the same as the scalar operations. On a processor
// without 256-bit units the compiler splits it into narrower operations.
typedef double Lanes __attribute__((vector_size(32), aligned(32)));

}  // namespace

#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define ORCALC_KERNEL_CLONES __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef ORCALC_KERNEL_CLONES
#define ORCALC_KERNEL_CLONES
#endif

ORCALC_KERNEL_CLONES
void PivotTableau(double* tableau, std::size_t stride, std::size_t rows, std::size_t width,
                  std::size_t r, std::size_t k) {
  double* pivot_row = tableau + r * stride;
  const double q = pivot_row[k];
  const std::size_t blocks = width / 4;

  Lanes* pivot_lanes = reinterpret_cast<Lanes*>(__builtin_assume_aligned(pivot_row, 32));
  const Lanes divisor = {q, q, q, q};
  for (std::size_t b = 0; b < blocks; ++b) pivot_lanes[b] = pivot_lanes[b] / divisor;

  for (std::size_t i = 0; i < rows; ++i) {
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

}  // namespace orcalc::lp::detail
