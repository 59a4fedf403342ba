#include "simplex/pivot_kernel.h"

#include <atomic>

#include "parallel/thread_pool.h"

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

// What a pass over rows leaves out and copies out besides the update.
struct RowPass {
  std::size_t skip[2] = {kNone, kNone};  // rows updated apart
  // The column to copy; kNone while it is not chosen (or if none is).
  std::atomic<std::size_t> copy_column{kNone};
  std::size_t rhs_column = 0;
  double* column_out = nullptr;
  double* rhs_out = nullptr;
  unsigned char* copied = nullptr;  // null: copy nothing
};

// Rows [begin, end) other than r and the skipped ones, from the divided
// pivot row; then the copies of each row in the range, if the column is
// chosen by then, and a note of whether they were made.
ORCALC_KERNEL_CLONES
void UpdateRows(double* tableau, std::size_t stride, std::size_t begin, std::size_t end,
                std::size_t width, std::size_t r, std::size_t k, const RowPass& pass) {
  const Lanes* pivot_lanes =
      reinterpret_cast<const Lanes*>(__builtin_assume_aligned(tableau + r * stride, 32));
  const std::size_t blocks = width / 4;
  for (std::size_t i = begin; i < end; ++i) {
    double* row = tableau + i * stride;
    // The skipped rows are not even read: another thread may be updating
    // them.
    const bool update = i != r && i != pass.skip[0] && i != pass.skip[1];
    const double f = update ? row[k] : 0.0;
    if (f != 0.0) {
      Lanes* row_lanes = reinterpret_cast<Lanes*>(__builtin_assume_aligned(row, 32));
      const Lanes factor = {f, f, f, f};
      for (std::size_t b = 0; b < blocks; ++b) {
        row_lanes[b] = row_lanes[b] - pivot_lanes[b] * factor;
      }
    }
    if (pass.copied != nullptr) {
      const std::size_t column = pass.copy_column.load(std::memory_order_acquire);
      const bool copy = column < width;
      if (copy) {
        pass.column_out[i] = row[column];
        pass.rhs_out[i] = row[pass.rhs_column];
      }
      pass.copied[i] = copy;
    }
  }
}

}  // namespace

void PivotTableau(double* tableau, std::size_t stride, std::size_t rows, std::size_t width,
                  std::size_t r, std::size_t k) {
  PivotFollowUp none;
  PivotTableau(tableau, stride, rows, width, r, k, none);
}

void PivotTableau(double* tableau, std::size_t stride, std::size_t rows, std::size_t width,
                  std::size_t r, std::size_t k, PivotFollowUp& follow_up) {
  double* pivot_row = tableau + r * stride;
  DividePivotRow(pivot_row, width, pivot_row[k]);
  RowPass pass;
  pass.rhs_column = follow_up.rhs_column;
  pass.column_out = follow_up.column_out;
  pass.rhs_out = follow_up.rhs_out;
  pass.copied = follow_up.copied;
  for (int lead = 0; lead < 2; ++lead) {
    const std::size_t i = follow_up.lead_rows[lead];
    if (i != r && i < rows) pass.skip[lead] = i;
  }
  // The lead rows, then the choice of the column, on the calling thread
  // while the other rows are updated.
  auto lead = [&] {
    const RowPass plain;
    for (std::size_t i : pass.skip) {
      if (i != kNone) UpdateRows(tableau, stride, i, i + 1, width, r, k, plain);
    }
    const std::size_t column =
        follow_up.choose_column ? follow_up.choose_column(follow_up.context) : kNone;
    pass.copy_column.store(column < width ? column : kNone, std::memory_order_release);
  };
  auto others = [&](std::size_t begin, std::size_t end) {
    UpdateRows(tableau, stride, begin, end, width, r, k, pass);
  };
  if (rows * width < kParallelPivotCells) {
    lead();
    others(0, rows);
  } else {
    PivotPool().ForEachChunkBeside(rows, others, lead);
  }
  // The copies of the rows updated before the column was chosen.
  const std::size_t column = pass.copy_column.load(std::memory_order_relaxed);
  follow_up.copied_column = column;
  if (column == kNone) return;
  for (std::size_t i = 0; i < rows; ++i) {
    if (pass.copied[i]) continue;
    // A column is chosen only by a choose_column, which comes with the out
    // arrays; the analyzer loses that through the atomic.
    // NOLINTNEXTLINE(clang-analyzer-core.NullDereference): column_out given with a column
    follow_up.column_out[i] = tableau[i * stride + column];
    follow_up.rhs_out[i] = tableau[i * stride + follow_up.rhs_column];
  }
}

}  // namespace orcalc::lp::detail
