// The arithmetic of one simplex pivot on a dense row-major tableau.
#pragma once

#include <cstddef>

#include "parallel/cache_aligned.h"

namespace orcalc::lp::detail {

// Rows of the tableau start at multiples of this many doubles from a base
// aligned to kTableauAlignment bytes, so a row is always whole vector lanes.
inline constexpr std::size_t kRowQuantum = 8;
inline constexpr std::size_t kTableauAlignment = kCacheLine;

// From this many cells on, the rows of a pivot are split over the pivot
// pool's threads (below it, waking them costs more than they save).
inline constexpr std::size_t kParallelPivotCells = 98304;

// Pivots the `rows` x `width` block at `tableau` (rows `stride` doubles
// apart, `width` and `stride` multiples of kRowQuantum) on entry (r, k):
// row r is divided by its entry in column k, then every other row i with
// factor f = T(i, k) != 0 gets T(i, j) <- T(i, j) - T(r, j) * f for every j.
// Each cell is computed as written (a quotient, or one product subtracted),
// so every code path gives the same bits as a plain loop; rows whose factor
// is exactly 0 are left as they are. Chooses the widest vector unit the
// processor has at run time. Large tableaus are split by rows over the
// pivot pool; each cell is computed the same way by whichever thread, so
// the bits do not depend on the number of threads. Allocates nothing.
void PivotTableau(double* tableau, std::size_t stride, std::size_t rows, std::size_t width,
                  std::size_t r, std::size_t k);

// No row, no column.
inline constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// What a pivot hands on to the next one. The simplex method reads two rows
// for its next entering column and then one column and the right-hand
// sides for its ratio test; read from the tableau after the pivot, that is
// a stride across rows that now sit in other cores' caches. Instead the
// pivot updates the `lead_rows` on the calling thread while the pool
// updates the others, then asks `choose_column` (still on the calling
// thread, beside the pool) for the column the next ratio test will read;
// from then on each row's entries in that column and in `rhs_column` are
// copied into `column_out` and `rhs_out` as the row is updated, while it is
// in the cache of the core that updated it, and the few rows updated
// before the choice are copied at the end.
struct PivotFollowUp {
  std::size_t lead_rows[2] = {kNone, kNone};
  // Returns the column to copy, or kNone for none; it may read the
  // lead rows but no other row.
  std::size_t (*choose_column)(void* context) = nullptr;
  void* context = nullptr;
  std::size_t rhs_column = 0;
  double* column_out = nullptr;     // rows long
  double* rhs_out = nullptr;        // rows long
  unsigned char* copied = nullptr;  // rows long: scratch
  // Set by the pivot: the column copied (kNone: none).
  std::size_t copied_column = kNone;
};

// PivotTableau, with the same arithmetic on every cell, ordered and
// followed up as `follow_up` asks.
void PivotTableau(double* tableau, std::size_t stride, std::size_t rows, std::size_t width,
                  std::size_t r, std::size_t k, PivotFollowUp& follow_up);

}  // namespace orcalc::lp::detail
