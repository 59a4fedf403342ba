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
// The tableau is walked row by row and nothing is allocated. From
// kParallelExchangeCells cells on, the rows are split over the pivot pool's
// threads; each element is computed the same way by whichever thread.
void ExchangeTableau(const ExchangeArgs& args);

inline constexpr std::size_t kParallelExchangeCells = 32768;

// The same, compiled for the baseline instruction set only.
void ExchangeTableauBaseline(const ExchangeArgs& args);

// eval(j) += row(j) × weight for every column not marked in `keep`.
void AddWeightedRow(double* eval, const double* row, double weight, const std::uint64_t* keep,
                    std::size_t width);

// scale(j) += |row(j) × weight| for every column not marked in `keep`.
void AddWeightedMagnitudes(double* scale, const double* row, double weight,
                           const std::uint64_t* keep, std::size_t width);

}  // namespace orcalc::goal
