// The inner loops of the goal tableau, written once and compiled for the
// baseline instruction set and for AVX2 (chosen at run time). Every element
// is computed with the same operations in the same order whichever variant
// runs, so the results are identical bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orcalc::goal {

// A column mask entry: all bits set for a column that must keep its value
// (a removed column, or padding at the end of a row), 0 for a live one.
inline constexpr std::uint64_t kKeepColumn = ~std::uint64_t{0};

struct ExchangeArgs {
  double* coef = nullptr;  // rows × stride, row by row
  std::size_t stride = 0;  // doubles from one row to the next
  int rows = 0;
  double* row_value = nullptr;          // one per row
  double* eval = nullptr;               // stride long
  const std::uint64_t* keep = nullptr;  // stride long
  int r = 0;                            // pivot row
  int p = 0;                            // pivot column
  // Rows long; receives column p as it stood before the exchange.
  double* pivot_column = nullptr;
  // More work on the rows' own values, called once on the calling thread
  // after row_value is up to date, beside the work on the columns (it may
  // read pivot_column but not the tableau, the evaluation row or anything
  // ColumnBounds names). Null: none.
  void (*row_work)(void* context) = nullptr;
  void* row_work_context = nullptr;
};

// The arithmetic of one exchange on row r and column p with P = coef(r,p),
// every right side evaluated from the values before the exchange as
// product, then division by P, then subtraction; columns marked in `keep`
// are left alone:
//   eval(j)     -= coef(r,j) × eval(p) / P         (j ≠ p)
//   eval(p)      = −eval(p) / P
//   row_value(i) -= coef(i,p) × row_value(r) / P     (i ≠ r)
//   coef(i,j)   -= coef(r,j) × coef(i,p) / P       (i ≠ r, j ≠ p)
//   coef(i,p)    = −coef(i,p) / P                  (i ≠ r)
//   row_value(r) /= P;  coef(r,j) /= P (j ≠ p);  coef(r,p) = 1 / P
// Column p's entry in `keep` may already say what it will say after the
// exchange: column p is overwritten whatever it says.
//
// The tableau is walked in blocks of columns, each block through every
// row; from kParallelExchangeCells cells on, the blocks are split over the
// pivot pool's threads (blocks of whole cache lines: `coef` must start on
// a cache line and `stride` be a multiple of 8). Each element is computed
// the same way by whichever thread. Nothing is allocated.
//
// What the solver keeps per column is brought up to date in the same
// pass, on the block's columns while they are in the cache of the core
// that exchanges them (each left alone when its pointer is null):
struct ColumnBounds {
  // From the pivot row before the exchange: eval_bound(j) +=
  // |coef(r,j) × bound_weight| (columns not kept), then eval_bound(p) =
  // pivot_bound.
  double* eval_bound = nullptr;
  double bound_weight = 0;
  double pivot_bound = 0;
  // From the pivot row before the exchange, for j < columns, j ≠ p:
  // error_scale(j) = max(error_scale(j), |coef(r,j)|) + |coef(r,j)| / |P| ×
  // pivot_error_scale; then error_scale(p) = pivot_error_scale / |P|.
  double* error_scale = nullptr;
  double pivot_error_scale = 0;
  int columns = 0;
  // After the exchange, when level > 0: eval_scale(j) = Σ |coef(i,j) ×
  // row_weight(i)| over the rows i whose row_level(i) is `level`, in row
  // order, then + |col_weight(j)| if col_level(j) is `level`, for the
  // columns j < columns not kept.
  double* eval_scale = nullptr;
  const double* row_weight = nullptr;
  const std::int16_t* row_level = nullptr;
  const double* col_weight = nullptr;
  const std::int16_t* col_level = nullptr;
  int level = 0;
};

void ExchangeTableau(const ExchangeArgs& args, const ColumnBounds& bounds = {});

inline constexpr std::size_t kParallelExchangeCells = 98304;
// Columns in the smallest block one thread takes: a cache line of doubles.
inline constexpr std::size_t kExchangeBlockColumns = 8;

// The exchange alone, compiled for the baseline instruction set only.
void ExchangeTableauBaseline(const ExchangeArgs& args);

// eval(j) += row(j) × weight for every column not marked in `keep`.
void AddWeightedRow(double* eval, const double* row, double weight, const std::uint64_t* keep,
                    std::size_t width);

// scale(j) += |row(j) × weight| for every column not marked in `keep`.
void AddWeightedMagnitudes(double* scale, const double* row, double weight,
                           const std::uint64_t* keep, std::size_t width);

}  // namespace orcalc::goal
