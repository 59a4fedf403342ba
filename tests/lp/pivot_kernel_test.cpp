// The pivot kernel gives the bits of the written arithmetic, whichever
// vector unit it runs on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "lp/pivot_kernel.h"

namespace orcalc::lp::detail {
namespace {

// The pivot as written, one cell at a time.
void ReferencePivot(std::vector<double>& t, std::size_t stride, std::size_t rows, std::size_t width,
                    std::size_t r, std::size_t k) {
  const double q = t[r * stride + k];
  for (std::size_t j = 0; j < width; ++j) t[r * stride + j] = t[r * stride + j] / q;
  for (std::size_t i = 0; i < rows; ++i) {
    if (i == r) continue;
    const double f = t[i * stride + k];
    if (f == 0.0) continue;
    for (std::size_t j = 0; j < width; ++j) t[i * stride + j] = t[i * stride + j] - t[r * stride + j] * f;
  }
}

struct AlignedBlock {
  explicit AlignedBlock(std::size_t count)
      : data(static_cast<double*>(::operator new[](count * sizeof(double), std::align_val_t(kTableauAlignment)))) {}
  ~AlignedBlock() { ::operator delete[](data, std::align_val_t(kTableauAlignment)); }
  double* data;
};

TEST(PivotKernel, BitIdenticalToThePlainLoop) {
  std::mt19937_64 random(2024);
  std::uniform_real_distribution<double> value(-1e3, 1e3);
  std::uniform_int_distribution<int> kind(0, 9);
  for (int trial = 0; trial < 40; ++trial) {
    const std::size_t rows = 1 + static_cast<std::size_t>(trial * 7 % 37);
    const std::size_t width = kRowQuantum * (1 + static_cast<std::size_t>(trial % 9));
    const std::size_t stride = width + (trial % 2 ? kRowQuantum : 0);
    std::vector<double> expected(rows * stride);
    for (double& v : expected) {
      // Awkward values too: zeros of both signs, tiny and huge magnitudes,
      // numbers whose products round, so that any fused or reordered
      // operation would show.
      switch (kind(random)) {
        case 0: v = 0.0; break;
        case 1: v = -0.0; break;
        case 2: v = value(random) * 1e-300; break;
        case 3: v = value(random) * 1e300; break;
        default: v = value(random) / 3.0;
      }
    }
    std::uniform_int_distribution<std::size_t> pick_row(0, rows - 1);
    std::uniform_int_distribution<std::size_t> pick_col(0, width - 1);
    const std::size_t r = pick_row(random);
    const std::size_t k = pick_col(random);
    expected[r * stride + k] = 1.0 + value(random) * value(random);

    AlignedBlock actual(expected.size());
    std::memcpy(actual.data, expected.data(), expected.size() * sizeof(double));
    ReferencePivot(expected, stride, rows, width, r, k);
    PivotTableau(actual.data, stride, rows, width, r, k);
    ASSERT_EQ(0, std::memcmp(actual.data, expected.data(), expected.size() * sizeof(double)))
        << "trial " << trial;
  }
}

TEST(PivotKernel, PivotColumnBecomesAUnitColumn) {
  AlignedBlock t(3 * kRowQuantum);
  const double rows[3][3] = {{2, 4, 6}, {0.1, 0.7, 0.3}, {-3, 5, 1e-9}};
  for (int i = 0; i < 3; ++i) {
    for (std::size_t j = 0; j < kRowQuantum; ++j) t.data[i * kRowQuantum + j] = j < 3 ? rows[i][j] : 0;
  }
  PivotTableau(t.data, kRowQuantum, 3, kRowQuantum, 1, 1);
  EXPECT_EQ(t.data[0 * kRowQuantum + 1], 0.0);
  EXPECT_EQ(t.data[1 * kRowQuantum + 1], 1.0);
  EXPECT_EQ(t.data[2 * kRowQuantum + 1], 0.0);
}

}  // namespace
}  // namespace orcalc::lp::detail
